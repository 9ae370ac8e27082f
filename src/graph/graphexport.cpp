// Export drawing: the renderer draws each graph into its own half of the area, clipped to it.
#include "graph/graphexport.h"

std::optional<GraphExportView> fittedView(DataSet& set) {
    Sample first;
    Sample last;
    if (set.count < 1 || set.read(1, first) != DataError::None ||
        set.read(set.count, last) != DataError::None) {
        return std::nullopt;
    }
    GraphExportView view{initialBars(), 1};
    const TimeBase base = timeBaseOf(first.dateTime, last.dateTime);
    view.stepUnit = base.stepUnit;
    const ValueExtremes extremes{set.stats.maxTemperature, set.stats.minTemperature,
                                 set.stats.maxHumidity, set.stats.minHumidity};
    // The Fit button's order: the ranges follow the widest time bar, then fit once more.
    fitGraphToData(view.bars, extremes);
    updateScrollRanges(view.bars, base, false);
    for (int i = TimeWidthBar; i <= HumidityTimePositionBar; ++i) {
        view.bars[i].setValue(view.bars[i].first);
    }
    fitGraphToData(view.bars, extremes);
    updateScrollRanges(view.bars, base, false);
    return view;
}

bool drawGraphs(QPainter& painter, QSizeF size, DataSet& set, const GraphExportView& view,
                const GraphRenderer& renderer, const MessageTable& messages,
                const GraphPalette& palette) {
    if (set.count < 1 || size.isEmpty()) {
        return false;
    }
    const QSizeF half(size.width(), size.height() / 2);
    bool drawn = false;
    for (const GraphKind kind : {GraphKind::Temperature, GraphKind::Humidity}) {
        const bool temperature = kind == GraphKind::Temperature;
        const GraphWindow window = temperature ? temperatureWindow(view.bars, view.stepUnit)
                                               : humidityWindow(view.bars, view.stepUnit);
        painter.save();
        painter.translate(0, temperature ? 0 : half.height());
        painter.setClipRect(QRectF(QPointF(0, 0), half));
        drawn = renderer.draw(painter, half, kind, window, set, GraphTexts::of(kind, messages),
                              palette) > 0 ||
                drawn;
        painter.restore();
    }
    set.drawnCount = set.count;
    return drawn;
}

bool drawGraphs(QPainter& painter, QSizeF size, DataSet& set, const GraphRenderer& renderer,
                const MessageTable& messages, const GraphPalette& palette) {
    const std::optional<GraphExportView> view = fittedView(set);
    return view && drawGraphs(painter, size, set, *view, renderer, messages, palette);
}
