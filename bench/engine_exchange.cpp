// Time per GetStatus exchange through the engine and the real serial port against logger-sim
// on a pseudo-terminal, beside a bare blocking client's round trip on the same kind of pty.
//
// Usage: bench_engine_exchange [LOGGER_SIM [EXCHANGES]]; the simulator defaults to
// $VELTRANE_SIM, then to the build tree's src/sim/logger-sim.
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
#include <vector>

#include "link/engine.h"
#include "link/eventloopwaiter.h"
#include "link/protocol.h"
#include "link/qtserialport.h"

namespace {

constexpr int kBatch = 100;

// The application's way of running the engine: periodic QTimers calling the tick methods.
class QtTimers : public TimerControl {
  public:
    explicit QtTimers(Engine*& engine) {
        for (auto& timer : timers_) {
            timer.setTimerType(Qt::PreciseTimer);
        }
        QObject::connect(&at(TimerId::InputTimer), &QTimer::timeout,
                         [&engine] { engine->inputTick(); });
        QObject::connect(&at(TimerId::TimeOut), &QTimer::timeout,
                         [&engine] { engine->timeOutTick(); });
        QObject::connect(&at(TimerId::MouseP), &QTimer::timeout,
                         [&engine] { engine->mousePTick(); });
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

class BenchHost : public EngineHost {
  public:
    std::function<void()> onEnded;
    int failures = 0;
    void showFailure(int first, int second) override {
        ++failures;
        std::fprintf(stderr, "engine failure: messages %d and %d\n", first, second);
    }
    void setBusyPointer(bool) override {}
    void procedureEnded() override { onEnded(); }
};

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

// Plain open, write, poll and read: the least a client can spend per exchange.
double bareRoundTripUs(const QString& device, int exchanges) {
    const int fd = ::open(device.toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
    if (fd < 0) {
        return -1;
    }
    termios tio{};
    tcgetattr(fd, &tio);
    cfmakeraw(&tio);
    tcsetattr(fd, TCSANOW, &tio);
    const QByteArray frame = Protocol::frameBytes(kCommandKind, code(Command::GetStatus), 0, 0);
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < exchanges; ++i) {
        if (::write(fd, frame.constData(), frame.size()) != frame.size()) {
            ::close(fd);
            return -1;
        }
        bool terminated = false;
        while (!terminated) {
            pollfd p{fd, POLLIN, 0};
            if (::poll(&p, 1, 2000) <= 0) {
                ::close(fd);
                return -1;
            }
            unsigned char buffer[64];
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n <= 0) {
                ::close(fd);
                return -1;
            }
            terminated = buffer[n - 1] == kTerminator;
        }
    }
    const double us = static_cast<double>(clock.nsecsElapsed()) / 1000.0 / exchanges;
    ::close(fd);
    return us;
}

// The engine with the application's timers and the port's bytes-arrived callback.
double engineExchangeUs(int exchanges, int& handled) {
    QtSerialPortAdapter port;
    if (!port.open(1, QStringLiteral("57600,n,8,1"))) {
        return -1;
    }
    Engine* enginePointer = nullptr;
    QtTimers timers(enginePointer);
    BenchHost host;
    Engine engine(port, timers, host);
    enginePointer = &engine;
    engine.setHandler(Command::GetStatus, [&handled](CommandEntry&, const Reply&) {
        ++handled;
        return ReplyAction::Advance;
    });
    QEventLoop loop;
    int queued = 0;
    auto startBatch = [&] {
        engine.begin();
        for (int i = 0; i < kBatch && queued < exchanges; ++i, ++queued) {
            engine.Enqueue(Command::GetStatus, 0, 0, QString());
        }
        engine.SendCurrent();
    };
    host.onEnded = [&] {
        if (queued < exchanges && host.failures == 0) {
            // Out of Pro_End first, as an operation started from a click would be.
            QTimer::singleShot(0, startBatch);
        } else {
            loop.quit();
        }
    };
    QElapsedTimer clock;
    clock.start();
    QTimer::singleShot(0, startBatch);
    loop.exec();
    return host.failures == 0 ? static_cast<double>(clock.nsecsElapsed()) / 1000.0 / exchanges : -1;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QString program = args.value(1, qEnvironmentVariable("VELTRANE_SIM"));
    if (program.isEmpty()) {
        program = QCoreApplication::applicationDirPath() + QStringLiteral("/../src/sim/logger-sim");
    }
    const int exchanges = args.size() > 2 ? args[2].toInt() : 10000;
    if (exchanges < 10) {
        std::fprintf(stderr, "exchange count must be at least 10\n");
        return 2;
    }

    QTemporaryDir dir;
    QProcess sim;
    sim.setProgram(program);
    sim.setArguments(
        {QStringLiteral("--dir"), dir.path(), QStringLiteral("--port"), QStringLiteral("1")});
    sim.setProcessChannelMode(QProcess::ForwardedChannels);
    sim.start();
    const QString tty = dir.filePath(QStringLiteral("tty1"));
    if (!sim.waitForStarted(5000) || !waitForFile(tty, 10000)) {
        std::fprintf(stderr, "logger-sim did not start: %s\n", qPrintable(program));
        return 1;
    }
    qputenv("VELTRANE_DEVICE_DIR", dir.path().toLocal8Bit());

    // The machine may be busy with other work: alternate short rounds of both clients so a
    // load change hits both alike, and report the totals and the median round.
    constexpr int kRounds = 10;
    bareRoundTripUs(tty, 200);
    double bareTotal = 0;
    double engineTotal = 0;
    int handled = 0;
    std::vector<double> ratios;
    bool ok = true;
    for (int round = 0; round < kRounds && ok; ++round) {
        const int n = exchanges / kRounds + (round < exchanges % kRounds ? 1 : 0);
        double bare = 0;
        double engine = 0;
        if (round % 2 == 0) {
            bare = bareRoundTripUs(tty, n);
            engine = engineExchangeUs(n, handled);
        } else {
            engine = engineExchangeUs(n, handled);
            bare = bareRoundTripUs(tty, n);
        }
        ok = bare > 0 && engine > 0;
        bareTotal += bare * n;
        engineTotal += engine * n;
        ratios.push_back(engine / bare);
    }

    sim.terminate();
    sim.waitForFinished(5000);

    if (!ok || handled != exchanges) {
        std::fprintf(stderr, "measurement failed (%d of %d replies handled)\n", handled, exchanges);
        return 1;
    }
    std::sort(ratios.begin(), ratios.end());
    const double median = (ratios[kRounds / 2 - 1] + ratios[kRounds / 2]) / 2;
    const double floorUs = bareTotal / exchanges;
    const double engineUs = engineTotal / exchanges;
    std::printf("GetStatus exchanges:        %d each, in %d alternating rounds\n", exchanges,
                kRounds);
    std::printf("bare blocking client:       %.1f us per exchange\n", floorUs);
    std::printf("engine over QSerialPort:    %.1f us per exchange\n", engineUs);
    std::printf("ratio engine / floor:       %.2f overall, %.2f median round (goal <= 1.50)\n",
                engineUs / floorUs, median);
    return 0;
}
