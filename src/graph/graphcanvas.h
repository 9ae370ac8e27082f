// A picture with the graphs' user scale: x counts seconds before the right edge and grows to
// the left, y counts °C or %RH and grows upward. Lines, boxes and dots are given in user units,
// text is placed in device pixels (text measures are pixel magnitudes).
#pragma once

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPoint>
#include <QPointF>
#include <QSizeF>
#include <QString>
#include <algorithm>
#include <cmath>

class GraphCanvas {
  public:
    // (left, top) is the user point at the upper-left corner of the device area, (right,
    // bottom) the one at its lower-right corner.
    GraphCanvas(QPainter& painter, QSizeF deviceSize, double left, double top, double right,
                double bottom);

    QPainter& painter() { return painter_; }
    QSizeF deviceSize() const { return size_; }
    QPointF map(double x, double y) const { return {mapX(x), mapY(y)}; }
    double mapX(double x) const { return (x - left_) * sx_; }
    double mapY(double y) const { return (y - top_) * sy_; }
    // The device pixel holding a user point, as the picture's own drawing rounds it. Inline:
    // it runs once per plotted sample.
    QPoint pixel(double x, double y) const {
        // Far-off points are held well outside the picture so the pixel stays in integer range.
        constexpr double kFar = 1e6;
        return {static_cast<int>(std::floor(std::clamp(mapX(x), -kFar, kFar))),
                static_cast<int>(std::floor(std::clamp(mapY(y), -kFar, kFar)))};
    }
    // User x at a device column (for the cursor read-out).
    double userX(double deviceX) const;
    // User units per device pixel, as magnitudes.
    double unitsPerPixelX() const;
    double unitsPerPixelY() const;

    void setPenWidth(int width) { penWidth_ = width; }
    // Device pixels per picture pixel: pen widths are picture pixels, so a printer's finer
    // pixels get proportionally wider pens.
    void setLineScale(double scale) { lineScale_ = scale; }
    double lineScale() const { return lineScale_; }
    void setDotted(bool dotted) { dotted_ = dotted; }
    void line(double x1, double y1, double x2, double y2, const QColor& color);
    // A box between two user corners.
    void fillBox(double x1, double y1, double x2, double y2, const QColor& color);
    // A box between two device corners.
    void fillDeviceBox(QPointF a, QPointF b, const QColor& color);
    // A dot of the current pen width; leaves the pen at the dot.
    void dot(double x, double y, const QColor& color);

    void setFont(const QFont& font);
    double textWidth(const QString& text) const;
    double textHeight() const;
    // Text with its top-left corner at a device point.
    void text(QPointF topLeft, const QString& text, const QColor& color);

  private:
    QPen pen(const QColor& color) const;

    QPainter& painter_;
    // Measures of the painter's font on its device, taken once per font.
    QFontMetricsF metrics_;
    QSizeF size_;
    double left_;
    double top_;
    double sx_;
    double sy_;
    int penWidth_ = 1;
    double lineScale_ = 1;
    bool dotted_ = false;
};
