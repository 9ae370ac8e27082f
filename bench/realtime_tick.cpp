// Figures for the work a continuous measurement does when a sample arrives with the real-time
// data set nearly full (32760 and more samples at 2 s) on display: the sample written with its
// statistics, the table row appended with the extremes marked again, both graphs redrawn, and
// the tick that follows. Beside it, in the same run, the bare redraw floor of the graph
// benchmark: one in-memory polyline per graph over the data set's points, over the whole span
// and over the visible window alone.
#include <QApplication>
#include <QImage>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <cmath>
#include <cstdio>

#include "app/windowdisplay.h"
#include "common/graphfloor.h"
#include "common/timing.h"
#include "data/dataset.h"
#include "data/messagetable.h"
#include "graph/graphpanel.h"
#include "graph/graphview.h"
#include "link/commandqueue.h"
#include "link/sampledecode.h"
#include "ui/datatable.h"

namespace {

constexpr int kRuns = DataSet::kMaxCount - 32760;
constexpr int kInterval = 2;
constexpr double kStart = 45413.5;  // 2024-05-01 12:00
// Raw readings of a room at about 24 °C and 50 %RH, taken with the fast sampling's resolution.
constexpr int kRawTemperature = 1600;
constexpr int kRawHumidity = 80;

double timeOf(int record) {
    return kStart + static_cast<double>(record - 1) * kInterval / 86400.0;
}

// Readings that wander a little, so the extremes keep moving.
std::uint16_t rawTemperatureOf(int record) {
    return static_cast<std::uint16_t>(kRawTemperature + std::lround(40 * std::sin(record / 900.0)) +
                                      record % 7);
}
std::uint16_t rawHumidityOf(int record) {
    return static_cast<std::uint16_t>(kRawHumidity + std::lround(6 * std::cos(record / 1300.0)) +
                                      record % 3);
}

// The two real-time replies of one measurement, as the logger model handles them.
bool measure(DataSet& set, Sample& buffer, const MessageTable& messages) {
    const int record = set.count + 1;
    buffer = Sample();
    buffer.dateTime = timeOf(record);
    const std::uint16_t t = rawTemperatureOf(record);
    const std::uint16_t h = rawHumidityOf(record);
    RealTimeReadout readout;
    return realTimeTemperature(buffer, set, ProcedureKind::ContinuousMeasurement, t >> 8,
                               t & 0xFF) == DataError::None &&
           realTimeHumidity(buffer, set, ProcedureKind::ContinuousMeasurement, h >> 8, h & 0xFF,
                            messages, readout) == DataError::None;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QTemporaryDir dir;
    DataSet log;
    DataSet realTime;
    DataSet file;
    if (!dir.isValid() || !realTime.file.open(dir.filePath(QStringLiteral("real.rand")))) {
        std::fprintf(stderr, "cannot create the scratch file\n");
        return 1;
    }
    realTime.interval = kInterval;
    realTime.stats.reset();
    MessageTable messages;
    messages.fillEnglish();

    // The window's two views of the data set: the graph panel and the real-time table.
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* panel = new GraphPanel(&window);
    auto* table = new DataTableView(RealTimeData, realTime, messages, &window);
    table->setMinimumHeight(300);
    layout->addWidget(panel);
    layout->addWidget(table);
    GraphView& view = panel->view();
    view.setDataSets(&log, &realTime, &file);
    view.setMessages(&messages);
    WindowDisplay display(view, {nullptr, table, nullptr});
    window.show();
    QApplication::processEvents();

    // A run that went on for about 18 hours: the time window took its width while the span was
    // short, as it does in a run.
    display.setContinuous(true);
    view.selectDisplay(RealTimeData, GraphView::GraphKindView);
    Sample buffer;
    while (realTime.count < DataSet::kMaxCount - kRuns) {
        if (!measure(realTime, buffer, messages)) {
            std::fprintf(stderr, "cannot write the scratch file\n");
            return 1;
        }
        if (realTime.count == 1000) {
            view.updateScrollRanges(realTime);
        }
    }
    table->fill();
    display.redrawIfGrown();
    QApplication::processEvents();

    const Timing work = best(kRuns, [&] {
        if (!measure(realTime, buffer, messages)) {
            return false;
        }
        display.appendNewest(RealTimeData);
        display.redrawIfGrown();
        return realTime.drawnCount == realTime.count;
    });

    // The parts on their own, on the full data set.
    const Timing redraw = best(kRuns, [&] {
        view.refreshAfterNewSample();
        return true;
    });
    const Timing tableAppend =
        best(kRuns, [&] { return table->appendNewest(true) == DataError::None; });

    FloorPoints points;
    Sample sample;
    for (int k = 1; k <= realTime.count; ++k) {
        if (realTime.read(k, sample) != DataError::None) {
            return 1;
        }
        points.x.push_back(
            static_cast<double>(secondsBetween(sample.dateTime, timeOf(realTime.count))));
        points.temperature.push_back(sample.temperature);
        points.humidity.push_back(sample.humidity);
    }
    const GraphWindow tw = temperatureWindow(view.bars(), view.stepUnit());
    const GraphWindow hw = humidityWindow(view.bars(), view.stepUnit());
    QImage t(panel->temperatureGraph()->size(), QImage::Format_RGB32);
    QImage h(panel->humidityGraph()->size(), QImage::Format_RGB32);
    const Timing floor = best(kRuns, [&] {
        polylineBoth(points, tw, hw, kInterval, t, h);
        return true;
    });
    // The floor of the whole span, as the graph benchmark draws it.
    GraphWindow wholeT = tw;
    GraphWindow wholeH = hw;
    wholeT.width = wholeH.width = static_cast<std::int64_t>(points.x.front()) + 1;
    wholeT.offset = wholeH.offset = 0;
    const Timing wholeFloor = best(kRuns, [&] {
        polylineBoth(points, wholeT, wholeH, kInterval, t, h);
        return true;
    });

    std::printf("%d samples at %d s, window %lld s of %lld s, graphs %dx%d, best of %d\n",
                realTime.count, kInterval, static_cast<long long>(tw.width),
                static_cast<long long>(points.x.front()), t.width(), t.height(), kRuns);
    // The goal: a sample costs at most 1.5 times the bare redraw of the data set on display.
    printAgainstFloor("sample arrives | whole span", work, wholeFloor);
    // Where the time goes, against the bare redraw of the visible window alone.
    printAgainstFloor("sample arrives | window", work, floor);
    printAgainstFloor("  both graphs redrawn", redraw, floor);
    printAgainstFloor("  table row appended", tableAppend, floor);
    return 0;
}
