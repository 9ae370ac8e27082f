// User-scale drawing over any QPainter: screen widget, image or printer.
#include "graph/graphcanvas.h"

#include <QFontMetricsF>
#include <QPen>
#include <cmath>

GraphCanvas::GraphCanvas(QPainter& painter, QSizeF deviceSize, double left, double top,
                         double right, double bottom)
    : painter_(painter),
      metrics_(painter.font(), painter.device()),
      size_(deviceSize),
      left_(left),
      top_(top),
      sx_(right != left ? deviceSize.width() / (right - left) : 0),
      sy_(bottom != top ? deviceSize.height() / (bottom - top) : 0) {}

double GraphCanvas::userX(double deviceX) const {
    return sx_ != 0 ? left_ + deviceX / sx_ : left_;
}

double GraphCanvas::unitsPerPixelX() const {
    return sx_ != 0 ? std::abs(1 / sx_) : 0;
}

double GraphCanvas::unitsPerPixelY() const {
    return sy_ != 0 ? std::abs(1 / sy_) : 0;
}

QPen GraphCanvas::pen(const QColor& color) const {
    QPen p(color);
    p.setWidthF(penWidth_ * lineScale_);
    p.setCosmetic(true);
    p.setStyle(dotted_ ? Qt::DotLine : Qt::SolidLine);
    p.setCapStyle(Qt::SquareCap);
    return p;
}

void GraphCanvas::line(double x1, double y1, double x2, double y2, const QColor& color) {
    painter_.setPen(pen(color));
    painter_.drawLine(QLineF(map(x1, y1), map(x2, y2)));
}

void GraphCanvas::fillBox(double x1, double y1, double x2, double y2, const QColor& color) {
    fillDeviceBox(map(x1, y1), map(x2, y2), color);
}

void GraphCanvas::fillDeviceBox(QPointF a, QPointF b, const QColor& color) {
    painter_.fillRect(QRectF(a, b).normalized(), color);
}

void GraphCanvas::dot(double x, double y, const QColor& color) {
    painter_.setPen(pen(color));
    painter_.drawPoint(pixel(x, y));
}

void GraphCanvas::setFont(const QFont& font) {
    painter_.setFont(font);
    metrics_ = QFontMetricsF(painter_.font(), painter_.device());
}

double GraphCanvas::textWidth(const QString& text) const {
    return metrics_.horizontalAdvance(text);
}

double GraphCanvas::textHeight() const {
    return metrics_.height();
}

void GraphCanvas::text(QPointF topLeft, const QString& text, const QColor& color) {
    painter_.setPen(color);
    painter_.drawText(QPointF(topLeft.x(), topLeft.y() + metrics_.ascent()), text);
}
