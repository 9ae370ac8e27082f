// Summary report page: layout in page units, then text through the page and graphs through the
// one renderer with the graph export's fitted view.
#include "print/reportprint.h"

#include <QFontMetricsF>
#include <algorithm>

#include "analysis/analysis.h"
#include "controls/twips.h"
#include "graph/figuretexts.h"
#include "graph/graphexport.h"
#include "graph/graphpanel.h"
#include "print/graphprint.h"

namespace {

constexpr double kRight = PrintPage::kScale - PrintPage::kGraphMargin;
constexpr double kLeft = PrintPage::kGraphMargin;
// Between the label and value columns and between the header and the figures, in page units.
constexpr double kColumnGap = 150;
// Pixels of the graph box on screen: the line widths scale from it.
constexpr double kScreenGraphPixels = GraphPanel::kGraphWidthTwips / kTwipsPerPixel;

double widest(const QStringList& texts, const ReportTextWidth& width, bool bold) {
    double most = 0;
    for (const QString& text : texts) {
        most = std::max(most, width(text, bold));
    }
    return most;
}

// A text's rect, held inside the right margin (what is wider is drawn smaller to fit).
ReportText textAt(double x, double y, double lh, const QString& text, double width, bool bold) {
    return {QRectF(x, y, std::min(width, kRight - x), lh), text, bold};
}

}  // namespace

ReportLayout layOutReport(const ReportContent& content, const ReportTextWidth& width, double lh) {
    ReportLayout layout;
    double y = lh;
    layout.texts.push_back(textAt(kLeft, y, lh, content.title, width(content.title, true), true));
    y += 1.5 * lh;

    const double top = y;
    for (const QString& line : content.header) {
        layout.texts.push_back(textAt(kLeft, y, lh, line, width(line, false), false));
        y += lh;
    }
    const double headerBottom = y;

    QStringList labels;
    QStringList values;
    for (const auto& [label, value] : content.figures) {
        labels.append(label);
        values.append(value);
    }
    const double labelWidth = widest(labels, width, false);
    const double valueWidth = widest(values, width, false);
    double figureX = kLeft + widest(content.header, width, false) + 2 * kColumnGap;
    double figureY = top;
    if (figureX + labelWidth + kColumnGap + valueWidth > kRight) {
        figureX = kLeft;
        figureY = headerBottom + 0.5 * lh;
    }
    // Labels take at most half the figures' width; a longer one, like a value wider than its
    // room, is drawn smaller to fit.
    const double labelColumn = std::min(labelWidth, (kRight - figureX) / 2 - kColumnGap);
    const double valueX = figureX + labelColumn + kColumnGap;
    for (std::size_t i = 0; i < content.figures.size(); ++i) {
        const double row = figureY + static_cast<double>(i) * lh;
        layout.texts.push_back(textAt(figureX, row, lh, labels[i],
                                      std::min(width(labels[i], false), labelColumn), false));
        layout.texts.push_back(textAt(valueX, row, lh, values[i], width(values[i], false), false));
    }
    y = std::max(headerBottom, figureY + static_cast<double>(content.figures.size()) * lh);

    y += 0.5 * lh;
    layout.texts.push_back(textAt(kLeft, y, lh, content.excursionHeading,
                                  width(content.excursionHeading, true), true));
    y += lh;
    const double bottom = PrintPage::kScale - lh;
    const double graphsNeed = kReportGraphShare * PrintPage::kScale;
    const int room = std::max(1, static_cast<int>((bottom - graphsNeed - y - 0.5 * lh) / lh));
    const QStringList lines = content.excursions ? content.excursions(room) : QStringList{};
    for (const QString& line : lines) {
        layout.texts.push_back(textAt(kLeft, y, lh, line, width(line, false), false));
        y += lh;
    }

    const double graphsTop = y + 0.5 * lh;
    const double gap = 0.5 * lh;
    const double graphHeight = std::max(0.0, (bottom - graphsTop - gap) / 2);
    layout.temperatureGraph = QRectF(kLeft, graphsTop, kRight - kLeft, graphHeight);
    layout.humidityGraph =
        QRectF(kLeft, graphsTop + graphHeight + gap, kRight - kLeft, graphHeight);
    return layout;
}

ReportContent reportContent(const PrintHeaderFacts& facts, DataSet& set,
                            const MessageTable& messages) {
    const std::vector<analysis::Reading> readings =
        analysis::readReadings(set).value_or(std::vector<analysis::Reading>{});
    const analysis::Figures figures =
        analysis::figuresOf(readings, set.interval, analysis::boundsOf(set));
    ReportContent content;
    content.title = messages.text(Msg::SummaryReportTitle);
    content.header.append(messages.text(Msg::CliModel) + QStringLiteral("  ") + set.model);
    content.header.append(headerFactLines(facts, set, messages));
    for (const FigureRow& row : figureRows(figures, messages)) {
        content.figures.emplace_back(messages.text(row.label), row.value);
    }
    content.excursionHeading = messages.text(Msg::StatsExcursions);
    content.excursions = [figures, &messages](int most) {
        return excursionLines(figures, most, messages);
    };
    return content;
}

void printReportPage(PrintPage& page, const PrintHeaderFacts& facts, DataSet& set,
                     const GraphRenderer& renderer, const MessageTable& messages) {
    const ReportContent content = reportContent(facts, set, messages);
    const ReportLayout layout = layOutReport(
        content,
        [&page](const QString& text, bool bold) {
            page.setBold(bold);
            const double w = page.textWidth(text);
            page.setBold(false);
            return w;
        },
        page.lh());
    for (const ReportText& text : layout.texts) {
        page.setBold(text.bold);
        page.fittedText(text.rect.left(), text.rect.right(), text.rect.top(), text.text);
    }
    page.setBold(false);

    const std::optional<GraphExportView> view = fittedView(set);
    if (!view) {
        return;
    }
    QPainter& painter = page.painter();
    const SampleStats kept = set.windowStats;
    const double labelHeight = QFontMetricsF(renderer.labelFont(), painter.device()).height();
    for (const GraphKind kind : {GraphKind::Temperature, GraphKind::Humidity}) {
        const bool temperature = kind == GraphKind::Temperature;
        const QRectF area = page.deviceRect(
            0, 0, (temperature ? layout.temperatureGraph : layout.humidityGraph).width(),
            (temperature ? layout.temperatureGraph : layout.humidityGraph).height());
        const QRectF& units = temperature ? layout.temperatureGraph : layout.humidityGraph;
        GraphRenderer printing(renderer);
        printing.setLineScale(area.width() / kScreenGraphPixels);
        const GraphWindow window =
            withLabelRoom(temperature ? temperatureWindow(view->bars, view->stepUnit)
                                      : humidityWindow(view->bars, view->stepUnit),
                          labelHeight, area.height());
        painter.save();
        painter.translate(page.x(units.left()), page.y(units.top()));
        painter.setClipRect(QRectF(QPointF(0, 0), area.size()));
        printing.draw(painter, area.size(), kind, window, set, GraphTexts::of(kind, messages),
                      GraphPalette::print());
        painter.restore();
    }
    set.windowStats = kept;
}
