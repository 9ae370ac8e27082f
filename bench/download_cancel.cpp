// Cancel of a fast download against logger-sim paced at 57600 baud over a pseudo-terminal,
// through the serial port, the engine, the download and its operation as the window wires
// them: the Cancel comes from the event loop once record 1000 has arrived. Prints the time from
// the Cancel until the procedure is over, the records kept, and whether the status read that
// follows (the Update button) reads the logger's status correctly.
//
// Usage: bench_download_cancel [LOGGER_SIM [RUNS]]; 3 runs by default. The simulator defaults to
// $VELTRANE_SIM, then to the build tree's src/sim/logger-sim.
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <memory>
#include <vector>

#include "cli/headless.h"
#include "common/loggersim.h"
#include "common/timing.h"
#include "link/cbusdevice.h"
#include "link/eventloopwaiter.h"
#include "link/qtserialport.h"

namespace {

constexpr int kCancelAt = 1000;
constexpr int kStreamRecords = 15000;

// The progress dialog's part: the user presses Cancel once record 1000 is shown.
class CancellingProgress : public ProgressView {
  public:
    void open(std::function<void()> onCancel) override {
        onCancel_ = std::move(onCancel);
        open_ = true;
    }
    void setProgress(int value, int, const QString&) override {
        lastValue = value;
        if (value >= kCancelAt && !pressed_) {
            pressed_ = true;
            // A click comes from the event loop, between two polls of the port.
            QTimer::singleShot(0, [this] {
                cancelledAt = lastValue;
                clock.start();
                onCancel_();
            });
        }
    }
    void closeByProgram() override {
        if (open_ && clock.isValid()) {
            closedNs = clock.nsecsElapsed();
        }
        open_ = false;
    }

    QElapsedTimer clock;
    qint64 closedNs = -1;
    int lastValue = 0;
    int cancelledAt = 0;

  private:
    std::function<void()> onCancel_;
    bool open_ = false;
    bool pressed_ = false;
};

struct Result {
    double controlSeconds = -1;
    int cancelledAt = 0;
    int kept = 0;
    bool statusRead = false;
    QString why;
};

class Rig {
  public:
    explicit Rig(const MessageTable& messages)
        : device_(makeCbusDevice()),
          headless_(options_, messages, port_, *device_, waiter_, progress_) {
        headless_.prompter().answer = false;
    }

    Result run() {
        Result r;
        headless_.operations().connection().Port_Set_Command(QStringLiteral("Once"), 1);
        if (!port_.isOpen() || !waitIdle()) {
            r.why = QStringLiteral("connect failed");
            return r;
        }
        headless_.session().state().Download_Mode = 0;
        headless_.operations().download().startDownload();
        if (!waitIdle() || !progress_.clock.isValid()) {
            r.why = QStringLiteral("the download did not reach the cancel");
            return r;
        }
        // Control is back when the procedure is over and the dialog closed.
        r.controlSeconds = static_cast<double>(std::max(progress_.closedNs, idleNs_)) / 1e9;
        r.cancelledAt = progress_.cancelledAt;
        r.kept = headless_.dataSets()[LogData].count;

        LoggerState& state = headless_.session().state();
        state.VT_Name.clear();
        state.Record_Pointer = 0;
        headless_.prompter().messages.clear();
        if (!readStatus(headless_.session()) || !waitIdle()) {
            r.why = QStringLiteral("the status read did not run");
            return r;
        }
        r.statusRead = port_.isOpen() && headless_.prompter().messages.isEmpty() &&
                       state.VT_Name == QStringLiteral("FULL") &&
                       state.Record_Pointer == kStreamRecords * kRecordBytes;
        if (!r.statusRead) {
            r.why = QStringLiteral("name '%1', record pointer %2, messages: %3")
                        .arg(state.VT_Name)
                        .arg(state.Record_Pointer)
                        .arg(headless_.prompter().messages.join(QStringLiteral(" / ")));
        }
        headless_.operations().connection().Port_Set_Command(QStringLiteral("Once"), 1);
        return r;
    }

  private:
    // Polls the event loop finely, so the moment the procedure ends is not rounded up.
    bool waitIdle() {
        QDeadlineTimer deadline(60000);
        while (headless_.session().engine().busy()) {
            if (deadline.hasExpired()) {
                return false;
            }
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 1);
        }
        if (progress_.clock.isValid()) {
            idleNs_ = progress_.clock.nsecsElapsed();
        }
        QCoreApplication::processEvents();
        return true;
    }

    CliOptions options_;
    QtSerialPortAdapter port_;
    std::unique_ptr<CbusDevice> device_;
    EventLoopWaiter waiter_;
    CancellingProgress progress_;
    HeadlessOperations headless_;
    qint64 idleNs_ = -1;
};

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const QString program = loggerSimProgram(arguments);
    const int runs = std::max(1, arguments.value(2, QStringLiteral("3")).toInt());
    MessageTable messages;
    messages.fillEnglish();

    std::printf(
        "fast download of %d records, logger-sim paced at 57600 baud, Cancel at record %d\n",
        kStreamRecords, kCancelAt);
    std::vector<double> times;
    bool allRead = true;
    for (int i = 0; i < runs; ++i) {
        // A fresh logger each run: a stream left running by one run cannot help the next.
        QTemporaryDir dir;
        auto sim = startLoggerSim(program, dir.path(),
                                  {QStringLiteral("--scenario"), QStringLiteral("full"),
                                   QStringLiteral("--baud"), QStringLiteral("57600")});
        if (!sim) {
            std::fprintf(stderr, "logger-sim did not start (%s)\n", qPrintable(program));
            return 1;
        }
        qputenv("VELTRANE_DEVICE_DIR", dir.path().toLocal8Bit());
        Result r;
        {
            Rig rig(messages);
            r = rig.run();
        }
        stopLoggerSim(*sim);
        if (r.controlSeconds < 0) {
            std::fprintf(stderr, "run %d: %s\n", i + 1, qPrintable(r.why));
            return 1;
        }
        times.push_back(r.controlSeconds);
        allRead = allRead && r.statusRead;
        std::printf(
            "run %d: Cancel at record %d, control back after %.3f s, %d records kept, "
            "status read after it %s\n",
            i + 1, r.cancelledAt, r.controlSeconds, r.kept,
            r.statusRead ? "correct" : qPrintable(QStringLiteral("WRONG (%1)").arg(r.why)));
    }
    std::printf("time from Cancel to control: median %.3f s over %d runs (goal < 1 s)\n",
                median(times), runs);
    std::printf("status read after the cancel: %s\n", allRead ? "correct every time" : "WRONG");
    return allRead ? 0 : 1;
}
