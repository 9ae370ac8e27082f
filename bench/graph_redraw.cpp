// Figures for redrawing both graphs of a full data set (32767 samples read from the scratch
// file), over the whole span and over a narrow window, beside the floor: one in-memory QPainter
// polyline per graph over the same points on the same picture size.
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <cmath>
#include <cstdio>
#include <vector>

#include "common/graphfloor.h"
#include "common/timing.h"
#include "data/dataset.h"
#include "data/messagetable.h"
#include "graph/renderer.h"
#include "graph/viewmath.h"

namespace {

constexpr int kRuns = 15;
constexpr int kSamples = DataSet::kMaxCount;
constexpr int kInterval = 60;
const QSize kGraphSize(705, 209);

// Both graphs drawn by the renderer, samples read from the scratch file.
void drawBoth(DataSet& set, const Bars& bars, double step, const MessageTable& messages, QImage& t,
              QImage& h) {
    GraphRenderer renderer;
    for (auto [kind, image] :
         {std::pair{GraphKind::Temperature, &t}, std::pair{GraphKind::Humidity, &h}}) {
        QPainter painter(image);
        const GraphWindow w = kind == GraphKind::Temperature ? temperatureWindow(bars, step)
                                                             : humidityWindow(bars, step);
        renderer.draw(painter, QSizeF(kGraphSize), kind, w, set, GraphTexts::of(kind, messages),
                      GraphPalette::screen());
    }
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QTemporaryDir dir;
    DataSet set;
    if (!dir.isValid() || !set.file.open(dir.filePath(QStringLiteral("log.rand")))) {
        std::fprintf(stderr, "cannot create the scratch file\n");
        return 1;
    }
    set.stats.reset();
    FloorPoints points;
    const double start = 45413.5;  // 2024-05-01 12:00
    for (int i = 0; i < kSamples; ++i) {
        Sample s;
        s.dateTime = start + static_cast<double>(i) * kInterval / 86400.0;
        s.temperature = static_cast<float>(22 + 6 * std::sin(i / 700.0) + std::sin(i / 9.0));
        s.humidity = static_cast<float>(55 + 20 * std::cos(i / 1100.0) + 2 * std::sin(i / 5.0));
        s.series = static_cast<float>(1 + i / 5000);
        if (set.append(s) != DataError::None) {
            std::fprintf(stderr, "cannot write the scratch file\n");
            return 1;
        }
        set.stats.update(s);
        points.temperature.push_back(s.temperature);
        points.humidity.push_back(s.humidity);
    }
    const double end = start + static_cast<double>(kSamples - 1) * kInterval / 86400.0;
    for (int i = 0; i < kSamples; ++i) {
        points.x.push_back(static_cast<double>(
            secondsBetween(start + static_cast<double>(i) * kInterval / 86400.0, end)));
    }

    MessageTable messages;
    messages.fillEnglish();
    const TimeBase base = timeBaseOf(start, end);
    Bars bars = initialBars();
    fitGraphToData(bars, {set.stats.maxTemperature, set.stats.minTemperature, set.stats.maxHumidity,
                          set.stats.minHumidity});
    updateScrollRanges(bars, base, false);
    bars[TimeWidthBar].setValue(bars[TimeWidthBar].first);
    bars[HumidityTimeWidthBar].setValue(bars[HumidityTimeWidthBar].first);

    QImage t(kGraphSize, QImage::Format_RGB32);
    QImage h(kGraphSize, QImage::Format_RGB32);
    std::printf("%d samples, span %lld s, step unit %.3f s, picture %dx%d\n", kSamples,
                static_cast<long long>(base.span), base.stepUnit, kGraphSize.width(),
                kGraphSize.height());

    auto measure = [&](const char* name) {
        const GraphWindow tw = temperatureWindow(bars, base.stepUnit);
        const GraphWindow hw = humidityWindow(bars, base.stepUnit);
        const Timing drawn = best(kRuns, [&] {
            drawBoth(set, bars, base.stepUnit, messages, t, h);
            return true;
        });
        const Timing floor = best(kRuns, [&] {
            polylineBoth(points, tw, hw, kInterval, t, h);
            return true;
        });
        printAgainstFloor(name, drawn, floor);
    };
    measure("whole span redraw");
    // The share of the scratch file: both graphs read every record of the whole span once.
    const Timing reads = best(kRuns, [&] {
        Sample s;
        for (int pass = 0; pass < 2; ++pass) {
            for (int i = 1; i <= kSamples; ++i) {
                if (set.read(i, s) != DataError::None) {
                    return false;
                }
            }
        }
        return true;
    });
    std::printf("%-29s %8.2f ms wall %8.2f ms cpu (part of the whole-span redraw)\n",
                "scratch records x 2", reads.wallMs, reads.cpuMs);

    // A two-hour window in the middle of the data.
    for (BarIndex width : {TimeWidthBar, HumidityTimeWidthBar}) {
        bars[width].setValue(static_cast<int>(std::lround(7200 / base.stepUnit)));
    }
    updateScrollRanges(bars, base, false);
    for (BarIndex offset : {TimePositionBar, HumidityTimePositionBar}) {
        bars[offset].setValue(bars[TimePositionBar].first / 2);
    }
    measure("narrow window (2 h) redraw");
    return 0;
}
