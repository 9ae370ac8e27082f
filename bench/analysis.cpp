// All figures of a full data set (32767 samples) beside a bare pass over the same samples: the
// bulk read of the scratch file with a sum of the temperatures, then the same in memory.
// Floors: the figures under 5 ms, read and figures at most 3 times the bare read and sum.
#include <QCoreApplication>
#include <QTemporaryDir>
#include <cmath>
#include <cstdio>
#include <functional>

#include "analysis/analysis.h"
#include "common/timing.h"

namespace {

constexpr int kRuns = 20;
constexpr double kFloorMs = 5;
constexpr double kFloorRatio = 3;

// A day's swing about 20 °C and 55 %RH at one-minute steps, a new series every 5000 samples.
Sample sampleAt(int k) {
    Sample s;
    const double phase = k * 2 * M_PI / 1440;
    s.temperature = static_cast<float>(20 + 8 * std::sin(phase));
    s.humidity = static_cast<float>(55 - 15 * std::sin(phase));
    s.dateTime = 46000 + (k + (k / 5000) * 120) / 1440.0;
    s.series = static_cast<float>(1 + k / 5000);
    return s;
}

// Keeps a result alive so the compiler cannot drop the work.
volatile double sink = 0;

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    DataSet set;
    if (!dir.isValid() || !set.file.open(dir.filePath("log.rand"))) {
        std::fprintf(stderr, "cannot create the scratch file\n");
        return 1;
    }
    set.interval = 60;
    for (int k = 0; k < DataSet::kMaxCount; ++k) {
        Sample s = sampleAt(k);
        if (set.append(s) != DataError::None) {
            std::fprintf(stderr, "cannot fill the scratch file\n");
            return 1;
        }
    }
    const analysis::Bounds bounds{25.0, 14.0};

    const Timing bareRead = best(kRuns, [&] {
        QByteArray bytes;
        if (set.file.readRecords(1, set.count, bytes) != DataError::None) {
            return false;
        }
        double sum = 0;
        for (int k = 0; k < set.count; ++k) {
            sum +=
                ScratchFile::fieldsOf(bytes.constData() + k * ScratchFile::kRecordSize).temperature;
        }
        sink = sum;
        return true;
    });
    const Timing readFigures = best(kRuns, [&] {
        const auto readings = analysis::readReadings(set);
        if (!readings) {
            return false;
        }
        sink = analysis::figuresOf(*readings, set.interval, bounds).summary.temperature.mean;
        return true;
    });

    const std::vector<analysis::Reading> readings = *analysis::readReadings(set);
    const Timing bare = best(kRuns, [&] {
        double sum = 0;
        for (const analysis::Reading& r : readings) {
            sum += r.temperature;
        }
        sink = sum;
        return true;
    });
    const Timing figures = best(kRuns, [&] {
        const analysis::Figures f = analysis::figuresOf(readings, set.interval, bounds);
        sink = f.summary.temperature.mean + *f.meanKineticTemperature;
        return f.summary.count == DataSet::kMaxCount;
    });

    const auto part = [&](const char* what, const std::function<double()>& step) {
        printAgainstFloor(what,
                          best(kRuns,
                               [&] {
                                   sink = step();
                                   return true;
                               }),
                          bare);
    };
    part("  summary", [&] { return analysis::summarize(readings, 60).temperature.mean; });
    part("  mean kinetic temperature",
         [&] { return *analysis::meanKineticTemperature(readings, 60); });
    part("  dew points", [&] { return analysis::dewPointFigures(readings).mean; });
    part("  absolute humidities", [&] { return analysis::absoluteHumidityFigures(readings).mean; });
    part("  excursions", [&] { return analysis::findExcursions(readings, 60, bounds).timeAbove; });
    part("  reading the scratch file", [&] { return analysis::readReadings(set)->back().time; });
    std::printf("%d samples, %zu excursions\n", DataSet::kMaxCount,
                analysis::findExcursions(readings, set.interval, bounds).list.size());
    printAgainstFloor("read and all figures", readFigures, bareRead);
    printAgainstFloor("all figures in memory", figures, bare);
    const double ratio = readFigures.cpuMs / bareRead.cpuMs;
    std::printf(
        "floors: figures under %.0f ms (%s), read and figures at most %.0fx the bare read "
        "and sum (%.2fx, %s)\n",
        kFloorMs, readFigures.cpuMs < kFloorMs ? "met" : "MISSED", kFloorRatio, ratio,
        ratio <= kFloorRatio ? "met" : "MISSED");
    return 0;
}
