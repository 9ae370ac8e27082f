// Graph page: the renderer draws straight onto the printer at its own resolution.
#include "print/graphprint.h"

#include <algorithm>

#include "data/twips.h"
#include "graph/graphpanel.h"

namespace {

constexpr double kTwipsPerInch = 1440;
// Twips per picture pixel: the graph boxes are laid out at 15 twips to a pixel.
constexpr double kTwipsPerPicturePixel = kTwipsPerPixel;

}  // namespace

void PrintGraphPage(PrintPage& page, const PrintHeaderFacts& facts, DataSet& set, const Bars& bars,
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
        set.drawnCount = set.count;
        for (const GraphKind kind : {GraphKind::Temperature, GraphKind::Humidity}) {
            const bool temperature = kind == GraphKind::Temperature;
            const GraphWindow window =
                temperature ? temperatureWindow(bars, step) : humidityWindow(bars, step);
            painter.save();
            painter.translate(page.x(left), page.y(temperature ? third : 2 * third));
            painter.setClipRect(QRectF(QPointF(0, 0), size));
            printing.draw(painter, size, kind, window, set, GraphTexts::of(kind, messages),
                          palette);
            painter.restore();
        }
    }
    PrintPageHeader(page, facts, set, messages);
}
