// Time per GetStatus exchange through the engine and the real serial port against logger-sim
// on a pseudo-terminal, beside a bare blocking client's round trip on the same kind of pty.
//
// Usage: bench_engine_exchange [LOGGER_SIM [EXCHANGES]]; the simulator defaults to
// $VELTRANE_SIM, then to the build tree's src/sim/logger-sim.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <vector>

#include "common/loggersim.h"
#include "common/timing.h"
#include "link/engine.h"
#include "link/protocol.h"
#include "link/qtserialport.h"
#include "link/qttimerset.h"

namespace {

constexpr int kBatch = 100;

// The bare client's exchange: the same GetStatus frame each time.
double bareGetStatusUs(const QString& device, int exchanges) {
    const QByteArray frame = Protocol::frameBytes(kCommandKind, code(Command::GetStatus), 0, 0);
    return bareRoundTripUs(device, exchanges, [&frame](int) { return frame; });
}

// The engine with the application's timers and the port's bytes-arrived callback.
double engineExchangeUs(int exchanges, int& handled) {
    QtSerialPortAdapter port;
    if (!port.open(1, QStringLiteral("57600,n,8,1"))) {
        return -1;
    }
    QtTimerSet timers;
    BenchHost host;
    Engine engine(port, timers, host);
    timers.setTick(TimerId::InputTimer, [&engine] { engine.inputTick(); });
    timers.setTick(TimerId::TimeOut, [&engine] { engine.timeOutTick(); });
    timers.setTick(TimerId::MouseP, [&engine] { engine.mousePTick(); });
    engine.setHandler(Command::GetStatus, [&handled](CommandEntry&, const Reply&) {
        ++handled;
        return ReplyAction::Advance;
    });
    QEventLoop loop;
    int queued = 0;
    auto startBatch = [&] {
        engine.begin();
        for (int i = 0; i < kBatch && queued < exchanges; ++i, ++queued) {
            engine.Enqueue(Command::GetStatus, 0, 0, ProcedureKind::None);
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
    const QString program = loggerSimProgram(args);
    const int exchanges = args.size() > 2 ? args[2].toInt() : 10000;
    if (exchanges < 10) {
        std::fprintf(stderr, "exchange count must be at least 10\n");
        return 2;
    }

    QTemporaryDir dir;
    auto sim = startLoggerSim(program, dir.path(), {});
    if (!sim) {
        std::fprintf(stderr, "logger-sim did not start: %s\n", qPrintable(program));
        return 1;
    }
    qputenv("VELTRANE_DEVICE_DIR", dir.path().toLocal8Bit());
    const QString tty = loggerSimDevice(dir.path());

    // The machine may be busy with other work: alternate short rounds of both clients so a
    // load change hits both alike, and report the totals and the median round.
    constexpr int kRounds = 10;
    bareGetStatusUs(tty, 200);
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
            bare = bareGetStatusUs(tty, n);
            engine = engineExchangeUs(n, handled);
        } else {
            engine = engineExchangeUs(n, handled);
            bare = bareGetStatusUs(tty, n);
        }
        ok = bare > 0 && engine > 0;
        bareTotal += bare * n;
        engineTotal += engine * n;
        ratios.push_back(engine / bare);
    }

    stopLoggerSim(*sim);

    if (!ok || handled != exchanges) {
        std::fprintf(stderr, "measurement failed (%d of %d replies handled)\n", handled, exchanges);
        return 1;
    }
    const double floorUs = bareTotal / exchanges;
    const double engineUs = engineTotal / exchanges;
    std::printf("GetStatus exchanges:        %d each, in %d alternating rounds\n", exchanges,
                kRounds);
    std::printf("bare blocking client:       %.1f us per exchange\n", floorUs);
    std::printf("engine over QSerialPort:    %.1f us per exchange\n", engineUs);
    std::printf("ratio engine / floor:       %.2f overall, %.2f median round (goal <= 1.20)\n",
                engineUs / floorUs, median(ratios));
    return 0;
}
