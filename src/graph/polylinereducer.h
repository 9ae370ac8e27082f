// Reduces a polyline on whole device pixels without changing the pixels it covers: within a
// run of consecutive points in one pixel column only the first, lowest, highest and last points
// matter, because the vertical segments between them cover the same span of that column. The
// segments are drawn one by one with both end pixels, so no join rule of the painter can make
// the full and the reduced line differ.
#pragma once

#include <QPainter>
#include <QPoint>
#include <QPolygon>

class PolylineReducer {
  public:
    void add(QPoint point);
    // The reduced polyline; the reducer starts empty again.
    QPolygon take();
    bool isEmpty() const { return out_.isEmpty() && !inRun_; }

  private:
    void closeRun();
    void push(QPoint point);

    QPolygon out_;
    bool inRun_ = false;
    QPoint first_;
    QPoint low_;
    QPoint high_;
    QPoint last_;
    bool lowBeforeHigh_ = true;
};

// Draws the polyline's segments with the painter's pen, each including both end pixels.
void drawSegments(QPainter& painter, const QPolygon& line);
