// Download of 15000 records from logger-sim over a pseudo-terminal through the real serial
// port, the engine, the logger model and the download: (a) fast mode paced at 57600 baud as
// wall time over the wire time of the bytes exchanged, (b) fast mode unpaced as records per
// second through decoding, scratch file and conversion, and normal mode unpaced as time per
// record over a bare client's ReadMemory round trip on the same pty, (c) the cost of writing
// the wire trace to a file: unpaced normal-mode downloads (the most events per record) with
// and without it, alternated, as the median of the rounds' time ratios.
//
// Usage: bench_download [LOGGER_SIM]; the simulator defaults to $VELTRANE_SIM, then to the
// build tree's src/sim/logger-sim.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <vector>

#include "common/loggersim.h"
#include "common/timing.h"
#include "data/datasets.h"
#include "data/messagetable.h"
#include "data/prompter.h"
#include "link/protocol.h"
#include "link/qtserialport.h"
#include "link/qttimerset.h"
#include "link/session.h"
#include "link/wiretrace.h"

namespace {

constexpr int kRecords = 15000;
constexpr int kPacedBaud = 57600;
constexpr int kBareExchanges = 5000;
constexpr int kNormalRounds = 4;
constexpr int kTraceRounds = 4;

// The serial port with a count of the bytes that crossed the line.
class CountingPort : public SerialPort {
  public:
    bool open(int n, const QString& s) override { return port_.open(n, s); }
    void close() override { port_.close(); }
    bool isOpen() const override { return port_.isOpen(); }
    int portNumber() const override { return port_.portNumber(); }
    int bytesWaiting() override { return port_.bytesWaiting(); }
    bool readByte(std::uint8_t& byte) override {
        const bool ok = port_.readByte(byte);
        bytes += ok ? 1 : 0;
        return ok;
    }
    bool write(const QByteArray& data) override {
        bytes += data.size();
        return port_.write(data);
    }
    void clearInput() override { port_.clearInput(); }
    void setBytesArrived(std::function<void()> callback) override {
        port_.setBytesArrived(std::move(callback));
    }

    qint64 bytes = 0;

  private:
    QtSerialPortAdapter port_;
};

class BenchWindow : public DownloadView, public Prompter {
  public:
    int finished = 0;
    int failures = 0;

    void progress(int, int, const QString&) override {}
    void downloadFinished() override { ++finished; }
    void downloadFailed() override { ++failures; }
    void message(const QString&, const QString& text) override {
        ++failures;
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
    }
    bool question(const QString&, const QString&) override { return false; }
    QString saveFileName(const QString&, const QString&, const QString&, const QString&) override {
        return {};
    }
    QString openFileName(const QString&, const QString&, const QString&) override { return {}; }
};

struct Run {
    double seconds = -1;
    qint64 bytes = 0;
    int records = 0;
};

Run downloadOnce(int mode, const QString& scratchDir) {
    BenchWindow window;
    CountingPort port;
    if (!port.open(1, QStringLiteral("57600,n,8,1"))) {
        return {};
    }
    QtTimerSet timers;
    MessageTable messages;
    messages.fillEnglish();
    DataSets dataSets;
    dataSets.open(scratchDir);
    Session session(port, timers, window, messages, dataSets);
    session.setDownloadView(&window);
    session.state().Machine_N_P = QStringLiteral("QM320-HX");
    session.state().Download_Mode = static_cast<std::uint8_t>(mode);

    QEventLoop loop;
    session.onProcedureEnded([&loop] { QTimer::singleShot(0, &loop, &QEventLoop::quit); });
    QElapsedTimer clock;
    clock.start();
    QTimer::singleShot(0, [&session] { session.download().start(); });
    loop.exec();
    Run run;
    run.seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
    run.bytes = port.bytes;
    run.records = session.dataSet(LogData).count;
    dataSets.close();
    dataSets.removeFiles();
    if (window.failures != 0 || window.finished != 1) {
        run.seconds = -1;
    }
    return run;
}

// The bare client's exchange i: ReadMemory of record i, as a download asks for it.
double bareReadMemoryUs(const QString& device, int exchanges) {
    return bareRoundTripUs(device, exchanges, [](int i) {
        const int address = (i % kRecords) * kRecordBytes;
        return Protocol::frameBytes(kCommandKind, code(Command::ReadMemory),
                                    static_cast<std::uint8_t>(address / 256),
                                    static_cast<std::uint8_t>(address % 256));
    });
}

// logger-sim with the full one-time memory, paced at `baud` (0 unpaced).
std::unique_ptr<QProcess> startSim(const QString& program, const QString& dir, int baud) {
    return startLoggerSim(program, dir,
                          {QStringLiteral("--scenario"), QStringLiteral("full"),
                           QStringLiteral("--baud"), QString::number(baud)});
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QString program = loggerSimProgram(app.arguments());
    QTemporaryDir scratch;

    QTemporaryDir pacedDir;
    auto paced = startSim(program, pacedDir.path(), kPacedBaud);
    if (!paced) {
        std::fprintf(stderr, "logger-sim did not start: %s\n", qPrintable(program));
        return 1;
    }
    qputenv("VELTRANE_DEVICE_DIR", pacedDir.path().toLocal8Bit());
    const Run pacedRun = downloadOnce(0, scratch.path());
    stopLoggerSim(*paced);

    QTemporaryDir freeDir;
    auto unpaced = startSim(program, freeDir.path(), 0);
    if (!unpaced) {
        std::fprintf(stderr, "logger-sim did not start: %s\n", qPrintable(program));
        return 1;
    }
    qputenv("VELTRANE_DEVICE_DIR", freeDir.path().toLocal8Bit());
    const Run fastRun = downloadOnce(0, scratch.path());
    // The machine may be busy with other work: alternate normal-mode downloads with rounds of
    // the bare client so a load change hits both alike; report totals and the median round.
    const QString tty = loggerSimDevice(freeDir.path());
    std::vector<double> ratios;
    double normalSeconds = 0;
    double bareUsTotal = 0;
    bool normalOk = true;
    for (int round = 0; round < kNormalRounds && normalOk; ++round) {
        double bare = 0;
        Run normal;
        if (round % 2 == 0) {
            bare = bareReadMemoryUs(tty, kBareExchanges);
            normal = downloadOnce(1, scratch.path());
        } else {
            normal = downloadOnce(1, scratch.path());
            bare = bareReadMemoryUs(tty, kBareExchanges);
        }
        normalOk = bare > 0 && normal.seconds > 0 && normal.records == kRecords;
        normalSeconds += normal.seconds;
        bareUsTotal += bare;
        ratios.push_back(normal.seconds * 1e6 / kRecords / bare);
    }
    // (c) The trace's file beside the ring that is always on.
    std::vector<double> traceRatios;
    qint64 traceBytes = 0;
    for (int round = 0; round < kTraceRounds && normalOk; ++round) {
        Run plain;
        Run traced;
        const auto tracedRun = [&] {
            QString error;
            const QString file = scratch.filePath(QStringLiteral("trace.jsonl"));
            normalOk = wireTrace().writeTo(file, error);
            traced = downloadOnce(1, scratch.path());
            wireTrace().stopWriting();
            traceBytes = QFileInfo(file).size();
        };
        if (round % 2 == 0) {
            tracedRun();
            plain = downloadOnce(1, scratch.path());
        } else {
            plain = downloadOnce(1, scratch.path());
            tracedRun();
        }
        normalOk = normalOk && plain.records == kRecords && traced.records == kRecords;
        traceRatios.push_back(traced.seconds / plain.seconds);
    }
    stopLoggerSim(*unpaced);

    if (pacedRun.seconds < 0 || fastRun.seconds < 0 || !normalOk || pacedRun.records != kRecords ||
        fastRun.records != kRecords) {
        std::fprintf(stderr, "measurement failed (records %d, %d)\n", pacedRun.records,
                     fastRun.records);
        return 1;
    }
    const double wireSeconds = static_cast<double>(pacedRun.bytes) * 10 / kPacedBaud;
    const double bareUs = bareUsTotal / kNormalRounds;
    const double normalUs = normalSeconds * 1e6 / kRecords / kNormalRounds;
    std::printf("records per download:             %d\n", kRecords);
    std::printf("(a) fast, paced at %d baud:    %.2f s wall, %lld bytes = %.2f s on the wire\n",
                kPacedBaud, pacedRun.seconds, static_cast<long long>(pacedRun.bytes), wireSeconds);
    std::printf("    ratio wall / wire:            %.3f (goal <= 1.02)\n",
                pacedRun.seconds / wireSeconds);
    std::printf(
        "(b) fast, unpaced:                %.3f s, %.0f records/s (decode, scratch "
        "file, conversion)\n",
        fastRun.seconds, kRecords / fastRun.seconds);
    std::printf("    normal, unpaced:              %.3f s per download, %.1f us per record\n",
                normalSeconds / kNormalRounds, normalUs);
    std::printf("    bare ReadMemory round trip:   %.1f us\n", bareUs);
    std::printf(
        "    ratio normal / bare:          %.2f overall, %.2f median of %d rounds "
        "(goal <= 1.20)\n",
        normalUs / bareUs, median(ratios), kNormalRounds);
    std::printf(
        "(c) trace to a file, normal:      %+.1f %% time, median of %d rounds (goal <= +2 %%), "
        "%lld bytes of trace\n",
        (median(traceRatios) - 1) * 100, kTraceRounds, static_cast<long long>(traceBytes));
    return 0;
}
