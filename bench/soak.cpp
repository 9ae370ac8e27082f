// Soak run of the real serial path against logger-sim on a pseudo-terminal, on the operations
// the window and the command line share: cycles of connect (with its status read), the Update
// status read, download with the save of the CSV file, and disconnect; then one continuous
// real-time measurement whose ticks are fired on a clock stepped by hand. Resident memory, open
// file descriptors and armed timers are printed before the first cycle, after the first cycle
// (the baseline: caches and the scratch files are in place by then) and at the end.
//
// Usage: bench_soak [LOGGER_SIM [CYCLES [SAMPLES]]]; defaults 500 cycles and 5000 samples. The
// simulator defaults to $VELTRANE_SIM, then to the build tree's src/sim/logger-sim.
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <memory>

#include "cli/headless.h"
#include "common/loggersim.h"
#include "data/datetime.h"
#include "link/cbusdevice.h"
#include "link/eventloopwaiter.h"
#include "link/qtserialport.h"
#include "link/qttimerset.h"

namespace {

// A steady clock the soak moves on by hand, so each continuation tick finds a measurement due.
class SteppedClock : public Clock {
  public:
    qint64 steadyMs() const override { return ms_; }
    double now() const override { return start_ + static_cast<double>(ms_) / 86400000.0; }
    void advance(qint64 ms) { ms_ += ms; }

  private:
    double start_ = datetime::fromDateAndTime(QDate(2026, 3, 1), QTime(12, 0));
    qint64 ms_ = 0;
};

struct Footprint {
    long residentKiB = 0;
    int descriptors = 0;
    int armedTimers = 0;
};

long residentKiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
        if (line.startsWith("VmRSS:")) {
            return line.mid(6).trimmed().split(' ').value(0).toLong();
        }
    }
    return -1;
}

Footprint footprint(const QtTimerSet& timers) {
    Footprint u;
    u.residentKiB = residentKiB();
    // The listing's own descriptor is not counted.
    u.descriptors = static_cast<int>(
        QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files | QDir::System).size() - 1);
    for (int t = 0; t < kTimerCount; ++t) {
        u.armedTimers += timers.isArmed(static_cast<TimerId>(t)) ? 1 : 0;
    }
    return u;
}

void print(const char* when, const Footprint& u) {
    std::printf("%-22s resident %7ld KiB   descriptors %3d   armed timers %d\n", when,
                u.residentKiB, u.descriptors, u.armedTimers);
}

// Everything the command line builds for one run, kept for the whole soak.
class Rig {
  public:
    explicit Rig(const MessageTable& messages)
        : device_(makeCbusDevice()),
          headless_(options_, messages, port_, *device_, waiter_, progress_) {
        headless_.prompter().answer = true;
        headless_.operations().realTime().setClock(clock_);
    }

    // False when a procedure still runs after 60 s.
    bool waitIdle() { return headless_.waitIdle(QDeadlineTimer(60000)); }

    bool cycle() {
        headless_.prompter().messages.clear();
        headless_.operations().connection().Port_Set_Command(QStringLiteral("Once"), 1);
        if (!port_.isOpen() || !waitIdle() || !readStatus(headless_.session()) || !waitIdle()) {
            return fail("connect and status read");
        }
        headless_.prompter().savePath = headless_.scratchFile(QStringLiteral("log.csv"));
        headless_.operations().download().startDownload();
        if (!waitIdle() || headless_.dataSets()[LogData].count == 0 || !port_.isOpen()) {
            return fail("download");
        }
        // The next download's question saves the data, as a user keeping every download would.
        headless_.operations().connection().Port_Set_Command(QStringLiteral("Once"), 1);
        return port_.isOpen() ? fail("disconnect") : true;
    }

    bool measure(int samples) {
        headless_.operations().connection().Port_Set_Command(QStringLiteral("Once"), 1);
        if (!port_.isOpen() || !waitIdle()) {
            return fail("connect for the measurement");
        }
        RealTimeMeasurement& realTime = headless_.operations().realTime();
        const MeasurementRepeat everyTwoSeconds{MeasurementRepeat::Unit::Seconds, 2};
        realTime.startOrStopContinuous(everyTwoSeconds);
        const DataSet& set = headless_.dataSets()[RealTimeData];
        while (set.count < samples) {
            if (!realTime.running() || !waitIdle()) {
                return fail("measurement");
            }
            clock_.advance(2000);
            headless_.timers().fire(TimerId::Continuation);
        }
        if (!waitIdle()) {
            return fail("measurement");
        }
        headless_.prompter().savePath = headless_.scratchFile(QStringLiteral("realtime.csv"));
        realTime.startOrStopContinuous(everyTwoSeconds);
        waitIdle();
        headless_.operations().connection().Port_Set_Command(QStringLiteral("Once"), 1);
        return port_.isOpen() ? fail("disconnect") : true;
    }

    const QtTimerSet& timers() { return headless_.timers(); }
    int realTimeCount() { return headless_.dataSets()[RealTimeData].count; }

  private:
    bool fail(const char* what) {
        std::fprintf(stderr, "soak: %s failed\n", what);
        for (const QString& text : headless_.prompter().messages) {
            std::fprintf(stderr, "  %s\n", qPrintable(text));
        }
        return false;
    }

    CliOptions options_;
    QtSerialPortAdapter port_;
    std::unique_ptr<CbusDevice> device_;
    EventLoopWaiter waiter_;
    TerminalProgress progress_{false};
    SteppedClock clock_;
    HeadlessOperations headless_;
};

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const QString program = loggerSimProgram(arguments);
    const int cycles = arguments.value(2, QStringLiteral("500")).toInt();
    const int samples = arguments.value(3, QStringLiteral("5000")).toInt();
    QTemporaryDir dir;
    auto sim =
        startLoggerSim(program, dir.path(), {QStringLiteral("--scenario"), QStringLiteral("runs")});
    if (!sim) {
        std::fprintf(stderr, "soak: logger-sim did not start (%s)\n", qPrintable(program));
        return 1;
    }
    qputenv("VELTRANE_DEVICE_DIR", dir.path().toLocal8Bit());
    MessageTable messages;
    messages.fillEnglish();
    int status = 0;
    {
        Rig rig(messages);
        print("before the first cycle", footprint(rig.timers()));
        bool ok = rig.cycle();
        const Footprint baseline = footprint(rig.timers());
        print("after the first cycle", baseline);
        for (int i = 1; ok && i < cycles; ++i) {
            ok = rig.cycle();
        }
        const Footprint afterCycles = footprint(rig.timers());
        print("after the cycles", afterCycles);
        ok = ok && rig.measure(samples);
        const Footprint end = footprint(rig.timers());
        print("after the measurement", end);
        std::printf("%d cycles, %d real-time samples: resident %+ld KiB, descriptors %+d\n", cycles,
                    rig.realTimeCount(), end.residentKiB - baseline.residentKiB,
                    end.descriptors - baseline.descriptors);
        status = ok ? 0 : 1;
    }
    stopLoggerSim(*sim);
    return status;
}
