// Dew-point line: the samples are read as the plotting reads them, one at a time from the
// scratch file's map.
#include "graph/dewpointline.h"

#include <QPolygonF>
#include <algorithm>
#include <array>
#include <cmath>

#include "analysis/analysis.h"
#include "graph/plotting.h"

namespace {

constexpr double kWiden = 1.1;
constexpr double kNarrowestHalfSpan = 2.5;
constexpr int kMostLabels = 5;

std::optional<double> dewPointOf(const Sample& sample) {
    return analysis::dewPoint(sample.temperature, sample.humidity);
}

}  // namespace

std::optional<DewPointScale> dewPointScaleOf(DataSet& set) {
    const SampleReader read = readerOf(set);
    Sample sample;
    double low = 0;
    double high = 0;
    bool any = false;
    for (int record = 1; record <= set.count; ++record) {
        if (!read(record, sample)) {
            continue;
        }
        const std::optional<double> dew = dewPointOf(sample);
        if (!dew) {
            continue;
        }
        low = any ? std::min(low, *dew) : *dew;
        high = any ? std::max(high, *dew) : *dew;
        any = true;
    }
    if (!any) {
        return std::nullopt;
    }
    const double centre = (high + low) / 2;
    const double half = std::max((high - low) / 2, kNarrowestHalfSpan) * kWiden;
    return DewPointScale{centre - half, centre + half};
}

double dewPointY(double dewPoint, const DewPointScale& scale, const GraphWindow& window) {
    return window.bottom +
           (dewPoint - scale.bottom) / (scale.top - scale.bottom) * (window.top - window.bottom);
}

double dewPointLabelStep(const DewPointScale& scale) {
    constexpr std::array<double, 7> kSteps = {0.5, 1, 2, 5, 10, 20, 50};
    for (const double step : kSteps) {
        if ((scale.top - scale.bottom) / step <= kMostLabels) {
            return step;
        }
    }
    return kSteps.back();
}

void drawDewPointLine(GraphCanvas& canvas, const GraphWindow& window, DataSet& set,
                      const GraphTexts& texts, const QColor& color) {
    const std::optional<DewPointScale> scale = dewPointScaleOf(set);
    Sample last;
    if (!scale || set.read(set.count, last) != DataError::None) {
        return;
    }
    const double endTime = last.dateTime;
    const int first = findSampleByTime(endTime - (window.width + window.offset) / 86400.0, set) - 1;
    const int lastRecord = findSampleByTime(endTime - window.offset / 86400.0, set) + 1;

    QPainter& painter = canvas.painter();
    QPen pen(color);
    pen.setCosmetic(true);
    pen.setWidthF(2 * canvas.lineScale());
    painter.setPen(pen);
    QPolygonF line;
    auto flush = [&] {
        if (line.size() > 1) {
            painter.drawPolyline(line);
        }
        line.clear();
    };
    const SampleReader read = readerOf(set);
    Sample sample;
    float series = 0;
    for (int i = std::max(first, 1); i <= std::min(lastRecord, static_cast<int>(set.count)); ++i) {
        if (!read(i, sample)) {
            continue;
        }
        const std::optional<double> dew = dewPointOf(sample);
        if (!dew || sample.series != series) {
            flush();
            series = sample.series;
        }
        if (dew) {
            const double x = xOfTime(sample.dateTime, endTime, window.offset);
            line.append(canvas.map(x, dewPointY(*dew, *scale, window)));
        }
    }
    flush();

    // The scale's labels sit just inside the plot's left edge, clear of the humidity labels on
    // the right; the legend above them names the line.
    const double left =
        canvas.mapX(static_cast<double>(window.width)) + canvas.textWidth(QStringLiteral("0"));
    const double halfHeight = canvas.textHeight() / 2;
    const double step = dewPointLabelStep(*scale);
    const double topLine = canvas.mapY(window.top);
    const double bottomLine = canvas.mapY(window.bottom);
    for (double value = std::ceil(scale->bottom / step) * step; value <= scale->top;
         value += step) {
        const double y = canvas.mapY(dewPointY(value, *scale, window));
        // Labels that would cross the frame's top or bottom line are left out.
        if (y - halfHeight < topLine + canvas.textHeight() || y + halfHeight > bottomLine) {
            continue;
        }
        canvas.text(QPointF(left, y - halfHeight),
                    QString::number(value, 'f', step < 1 ? 1 : 0) + texts.dewPointUnit, color);
    }
    canvas.text(QPointF(left, topLine), texts.dewPointLegend, color);
}
