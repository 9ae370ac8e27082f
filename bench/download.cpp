// Download of 15000 records from logger-sim over a pseudo-terminal through the real serial
// port, the engine, the logger model and the download: (a) fast mode paced at 57600 baud as
// wall time over the wire time of the bytes exchanged, (b) fast mode unpaced as records per
// second through decoding, scratch file and conversion, and normal mode unpaced as time per
// record over a bare client's ReadMemory round trip on the same pty.
//
// Usage: bench_download [LOGGER_SIM]; the simulator defaults to $VELTRANE_SIM, then to the
// build tree's src/sim/logger-sim.
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>
#include <vector>

#include "data/dataset.h"
#include "data/messagetable.h"
#include "data/prompter.h"
#include "link/download.h"
#include "link/engine.h"
#include "link/eventloopwaiter.h"
#include "link/loggermodel.h"
#include "link/protocol.h"
#include "link/qtserialport.h"

namespace {

constexpr int kRecords = 15000;
constexpr int kPacedBaud = 57600;
constexpr int kBareExchanges = 5000;
constexpr int kNormalRounds = 4;

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

// The application's way of running the engine: periodic QTimers calling the tick methods.
class QtTimers : public TimerControl {
  public:
    QtTimers(Engine*& engine, Download*& download) {
        for (auto& timer : timers_) {
            timer.setTimerType(Qt::PreciseTimer);
        }
        QObject::connect(&at(TimerId::InputTimer), &QTimer::timeout,
                         [&engine] { engine->inputTick(); });
        QObject::connect(&at(TimerId::TimeOut), &QTimer::timeout,
                         [&engine] { engine->timeOutTick(); });
        QObject::connect(&at(TimerId::MouseP), &QTimer::timeout,
                         [&engine] { engine->mousePTick(); });
        QObject::connect(&at(TimerId::DownloadTimer), &QTimer::timeout,
                         [&download] { download->downloadTick(); });
    }
    void arm(TimerId timer, int intervalMs) override { at(timer).start(intervalMs); }
    void stop(TimerId timer) override { at(timer).stop(); }
    bool isArmed(TimerId timer) const override { return at(timer).isActive(); }
    int interval(TimerId timer) const override {
        return at(timer).isActive() ? at(timer).interval() : 0;
    }

  private:
    QTimer& at(TimerId id) { return timers_[static_cast<std::size_t>(id)]; }
    const QTimer& at(TimerId id) const { return timers_[static_cast<std::size_t>(id)]; }
    std::array<QTimer, kTimerCount> timers_;
};

class BenchWindow : public EngineHost, public LoggerView, public DownloadView, public Prompter {
  public:
    std::function<void()> onEnded;
    int failures = 0;
    int finished = 0;

    void showFailure(int first, int second) override {
        ++failures;
        std::fprintf(stderr, "engine failure: messages %d and %d\n", first, second);
    }
    void setBusyPointer(bool) override {}
    void procedureEnded() override { onEnded(); }
    void batteryLabel(const QString&, bool) override {}
    void clockLabel(const QString&) override {}
    void realTimeReadout(const RealTimeReadout&) override {}
    void realTimeSampleAdded() override {}
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
    Engine* enginePointer = nullptr;
    Download* downloadPointer = nullptr;
    QtTimers timers(enginePointer, downloadPointer);
    Engine engine(port, timers, window);
    enginePointer = &engine;
    MessageTable messages;
    messages.fillEnglish();
    LoggerState state;
    state.Machine_N_P = QStringLiteral("QM320-HX");
    state.Download_Mode = static_cast<std::uint8_t>(mode);
    DataSet logData;
    DataSet realTimeData;
    Sample buffer;
    logData.file.open(scratchDir + QStringLiteral("/log.rand"));
    LoggerModel model(state, logData, realTimeData, buffer, window, messages, window);
    model.registerHandlers(engine);
    Download download(engine, state, logData, window, messages, window);
    downloadPointer = &download;
    download.registerHandlers();

    QEventLoop loop;
    window.onEnded = [&loop] { QTimer::singleShot(0, &loop, &QEventLoop::quit); };
    QElapsedTimer clock;
    clock.start();
    QTimer::singleShot(0, [&download] { download.start(); });
    loop.exec();
    Run run;
    run.seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
    run.bytes = port.bytes;
    run.records = logData.count;
    logData.file.remove();
    if (window.failures != 0 || window.finished != 1) {
        run.seconds = -1;
    }
    return run;
}

// Plain open, write, poll and read of ReadMemory: the least a client spends per record.
double bareRoundTripUs(const QString& device, int exchanges) {
    const int fd = ::open(device.toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
    if (fd < 0) {
        return -1;
    }
    termios tio{};
    tcgetattr(fd, &tio);
    cfmakeraw(&tio);
    tcsetattr(fd, TCSANOW, &tio);
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < exchanges; ++i) {
        const int address = (i % kRecords) * kRecordBytes;
        const QByteArray frame = Protocol::frameBytes(kCommandKind, code(Command::ReadMemory),
                                                      static_cast<std::uint8_t>(address / 256),
                                                      static_cast<std::uint8_t>(address % 256));
        if (::write(fd, frame.constData(), frame.size()) != frame.size()) {
            ::close(fd);
            return -1;
        }
        bool terminated = false;
        while (!terminated) {
            pollfd p{fd, POLLIN, 0};
            unsigned char bytes[64];
            const ssize_t n = ::poll(&p, 1, 2000) > 0 ? ::read(fd, bytes, sizeof bytes) : -1;
            if (n <= 0) {
                ::close(fd);
                return -1;
            }
            terminated = bytes[n - 1] == kTerminator;
        }
    }
    ::close(fd);
    return static_cast<double>(clock.nsecsElapsed()) / 1000.0 / exchanges;
}

bool waitForFile(const QString& path, int timeoutMs) {
    EventLoopWaiter waiter;
    QDeadlineTimer deadline(timeoutMs);
    while (!QFile::exists(path)) {
        if (deadline.hasExpired()) {
            return false;
        }
        waiter.wait(5);
    }
    return true;
}

// logger-sim with the full one-time memory, paced at `baud` (0 unpaced).
std::unique_ptr<QProcess> startSim(const QString& program, const QString& dir, int baud) {
    auto sim = std::make_unique<QProcess>();
    sim->setProgram(program);
    sim->setArguments({QStringLiteral("--dir"), dir, QStringLiteral("--port"), QStringLiteral("1"),
                       QStringLiteral("--scenario"), QStringLiteral("full"),
                       QStringLiteral("--baud"), QString::number(baud)});
    sim->setProcessChannelMode(QProcess::ForwardedChannels);
    sim->start();
    if (!sim->waitForStarted(5000) || !waitForFile(dir + QStringLiteral("/tty1"), 10000)) {
        return nullptr;
    }
    return sim;
}

void stopSim(std::unique_ptr<QProcess>& sim) {
    sim->terminate();
    sim->waitForFinished(5000);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QString program = app.arguments().value(1, qEnvironmentVariable("VELTRANE_SIM"));
    if (program.isEmpty()) {
        program = QCoreApplication::applicationDirPath() + QStringLiteral("/../src/sim/logger-sim");
    }
    QTemporaryDir scratch;

    QTemporaryDir pacedDir;
    auto paced = startSim(program, pacedDir.path(), kPacedBaud);
    if (!paced) {
        std::fprintf(stderr, "logger-sim did not start: %s\n", qPrintable(program));
        return 1;
    }
    qputenv("VELTRANE_DEVICE_DIR", pacedDir.path().toLocal8Bit());
    const Run pacedRun = downloadOnce(0, scratch.path());
    stopSim(paced);

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
    const QString tty = freeDir.path() + QStringLiteral("/tty1");
    std::vector<double> ratios;
    double normalSeconds = 0;
    double bareUsTotal = 0;
    bool normalOk = true;
    for (int round = 0; round < kNormalRounds && normalOk; ++round) {
        double bare = 0;
        Run normal;
        if (round % 2 == 0) {
            bare = bareRoundTripUs(tty, kBareExchanges);
            normal = downloadOnce(1, scratch.path());
        } else {
            normal = downloadOnce(1, scratch.path());
            bare = bareRoundTripUs(tty, kBareExchanges);
        }
        normalOk = bare > 0 && normal.seconds > 0 && normal.records == kRecords;
        normalSeconds += normal.seconds;
        bareUsTotal += bare;
        ratios.push_back(normal.seconds * 1e6 / kRecords / bare);
    }
    stopSim(unpaced);

    if (pacedRun.seconds < 0 || fastRun.seconds < 0 || !normalOk || pacedRun.records != kRecords ||
        fastRun.records != kRecords) {
        std::fprintf(stderr, "measurement failed (records %d, %d)\n", pacedRun.records,
                     fastRun.records);
        return 1;
    }
    std::sort(ratios.begin(), ratios.end());
    const double median = (ratios[kNormalRounds / 2 - 1] + ratios[kNormalRounds / 2]) / 2;
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
        "(goal <= 1.50)\n",
        normalUs / bareUs, median, kNormalRounds);
    return 0;
}
