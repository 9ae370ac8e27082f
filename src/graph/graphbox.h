// One graph picture box (temperature or humidity): shows the last drawn image and reports the mouse
// position in the graph's user scale.
#pragma once

#include <QImage>
#include <QWidget>

#include "graph/viewmath.h"

class GraphBox : public QWidget {
    Q_OBJECT
  public:
    explicit GraphBox(QWidget* parent = nullptr);

    const QImage& image() const { return image_; }
    // Shows an image; an empty one clears the box to its black background.
    void setImage(const QImage& image);
    // The window the shown image was drawn with and the width of its plot in pixels, for
    // mapping the mouse to seconds.
    void setWindow(const GraphWindow& window, double plotWidth) {
        window_ = window;
        plotWidth_ = plotWidth;
    }
    const GraphWindow& window() const { return window_; }

  signals:
    // x in seconds before the right edge of the window (grows to the left).
    void mouseMovedTo(double x);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

  private:
    QImage image_;
    GraphWindow window_;
    double plotWidth_ = 0;
};
