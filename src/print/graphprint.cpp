// Graph page: the renderer draws straight onto the printer at its own resolution, with room
// for the value labels on the frame's edges.
#include "print/graphprint.h"

#include <QFontMetricsF>
#include <algorithm>

#include "controls/twips.h"
#include "graph/graphpanel.h"

namespace {

constexpr double kTwipsPerInch = 1440;
// Twips per picture pixel: the graph boxes are laid out at 15 twips to a pixel.
constexpr double kTwipsPerPicturePixel = kTwipsPerPixel;

// The value labels sit centred on their lines, and the end marks cover the picture's lower
// right from a tenth of a label above the bottom line. In label heights, the room kept above
// the window's top line and below its bottom line so the labels on those lines print whole.
constexpr double kRoomAbove = 0.6;
constexpr double kRoomBelow = 0.7;
// The canvas spreads the value range and a tenth more below it over the picture's height.
constexpr double kCanvasShare = 1.1;

}  // namespace

GraphWindow withLabelRoom(GraphWindow window, double labelHeight, double pictureHeight) {
    if (pictureHeight <= 0) {
        return window;
    }
    const double share = kCanvasShare * (kRoomAbove + kRoomBelow) * labelHeight / pictureHeight;
    if (share >= 0.5) {
        return window;
    }
    const double span = (window.top - window.bottom) / (1 - share);
    const double perPixel = kCanvasShare * span / pictureHeight;
    window.top += kRoomAbove * labelHeight * perPixel;
    window.bottom -= kRoomBelow * labelHeight * perPixel;
    return window;
}

void printGraphPage(PrintPage& page, const PrintHeaderFacts& facts, DataSet& set, const Bars& bars,
                    const GraphRenderer& renderer, const MessageTable& messages) {
    QPainter& painter = page.painter();
    const double dpiX = painter.device()->logicalDpiX();
    const double dpiY = painter.device()->logicalDpiY();
    // The print picture is as wide as the box and twice as tall, drawn at two thirds of that.
    const double width = GraphPanel::kGraphWidthTwips / kTwipsPerInch * dpiX;
    const double height = 2.0 * GraphPanel::kGraphHeightTwips / kTwipsPerInch * dpiY * 2 / 3;
    const double left = PrintPage::kGraphMargin;
    const double third = PrintPage::kScale / 3;
    const double scale =
        std::min({1.0, page.x(PrintPage::kScale - left) / width, page.y(third) / height});
    const QSizeF size(width * scale, height * scale);

    Sample first;
    Sample last;
    if (set.count > 0 && set.read(1, first) == DataError::None &&
        set.read(set.count, last) == DataError::None) {
        const double step = timeBaseOf(first.dateTime, last.dateTime).stepUnit;
        GraphRenderer printing(renderer);
        printing.setLineScale(dpiX * kTwipsPerPicturePixel / kTwipsPerInch * scale);
        const GraphPalette palette = GraphPalette::print();
        const double labelHeight = QFontMetricsF(renderer.labelFont(), painter.device()).height();
        set.drawnCount = set.count;
        for (const GraphKind kind : {GraphKind::Temperature, GraphKind::Humidity}) {
            const bool temperature = kind == GraphKind::Temperature;
            const GraphWindow window = withLabelRoom(
                temperature ? temperatureWindow(bars, step) : humidityWindow(bars, step),
                labelHeight, size.height());
            painter.save();
            painter.translate(page.x(left), page.y(temperature ? third : 2 * third));
            painter.setClipRect(QRectF(QPointF(0, 0), size));
            printing.draw(painter, size, kind, window, set, GraphTexts::of(kind, messages),
                          palette);
            painter.restore();
        }
    }
    printPageHeader(page, facts, set, messages);
}
