// Page units, measures and the drawing primitives of a print job.
#include "print/printpage.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPen>
#include <algorithm>

namespace {

// One printer draw width as a physical width: a thin rule, three of them a thick one.
constexpr double kDrawWidthMillimetres = 0.1;
constexpr double kMillimetresPerInch = 25.4;
// Size steps of a text made smaller to fit, as a share of its size.
constexpr double kFitStep = 0.02;

}  // namespace

PrintPage::PrintPage(QPainter& painter, QPagedPaintDevice& device, const QFont& font,
                     const QString& unitText, double leftMargin)
    : painter_(painter),
      device_(device),
      font_(font),
      width_(painter.device()->width()),
      height_(painter.device()->height()) {
    font_.setPointSizeF(kPointSize);
    font_.setBold(false);
    painter_.setFont(font_);
    const QFontMetricsF metrics(font_, painter_.device());
    u_ = 1.5 * metrics.horizontalAdvance(unitText) * unitsPerPixelX();
    lh_ = metrics.height() * unitsPerPixelY();
    const double l = leftMargin;
    columns_.p = {l, l + 6 * u_, l + 18 * u_, l + 24 * u_, l + 30 * u_, l + 44 * u_,
                  0, 0,          0,           l + 16 * u_, l + 16 * u_};
}

QRectF PrintPage::deviceRect(double left, double top, double right, double bottom) const {
    return QRectF(QPointF(x(left), y(top)), QPointF(x(right), y(bottom)));
}

void PrintPage::setBold(bool bold) {
    font_.setBold(bold);
    painter_.setFont(font_);
}

double PrintPage::textWidth(const QString& text) const {
    return QFontMetricsF(font_, painter_.device()).horizontalAdvance(text) * unitsPerPixelX();
}

void PrintPage::text(double x, double y, const QString& text) {
    const QFontMetricsF metrics(font_, painter_.device());
    painter_.setPen(Qt::black);
    painter_.drawText(QPointF(this->x(x), this->y(y) + metrics.ascent()), text);
}

QString PrintPage::fitting(double x, double right, const QString& text) const {
    const QFontMetricsF metrics(font_, painter_.device());
    const double room = (right - x) / unitsPerPixelX();
    double used = 0;
    qsizetype length = 0;
    for (const QChar c : text) {
        used += metrics.horizontalAdvance(c);
        if (used > room) {
            break;
        }
        ++length;
    }
    return text.left(length);
}

void PrintPage::fittedText(double x, double right, double y, const QString& text) {
    const double room = right - x;
    const double width = textWidth(text);
    if (width <= room) {
        this->text(x, y, text);
        return;
    }
    const QFont normal = font_;
    const double ascent = QFontMetricsF(font_, painter_.device()).ascent();
    // Glyph widths do not scale quite in proportion: smaller steps until the text fits.
    double scale = std::max(kSmallestFit, room / width);
    for (;;) {
        font_.setPointSizeF(normal.pointSizeF() * scale);
        if (scale <= kSmallestFit || textWidth(text) <= room) {
            break;
        }
        scale = std::max(kSmallestFit, scale - kFitStep);
    }
    painter_.setFont(font_);
    const double drop =
        (ascent - QFontMetricsF(font_, painter_.device()).ascent()) * unitsPerPixelY();
    this->text(x, y + drop, fitting(x, right, text));
    font_ = normal;
    painter_.setFont(font_);
}

void PrintPage::line(double x1, double y1, double x2, double y2, int drawWidth) {
    const double dpi = painter_.device()->logicalDpiX();
    QPen pen(Qt::black);
    pen.setWidthF(drawWidth * kDrawWidthMillimetres / kMillimetresPerInch * dpi);
    pen.setCapStyle(Qt::FlatCap);
    painter_.setPen(pen);
    painter_.drawLine(QPointF(x(x1), y(y1)), QPointF(x(x2), y(y2)));
}

bool PrintPage::newPage() {
    if (!device_.newPage()) {
        return false;
    }
    ++pageNumber_;
    return true;
}
