// What the benchmarks against logger-sim share: finding and starting the simulator on a
// pseudo-terminal, an engine host that counts failures, and a bare blocking client whose round
// trip is the floor of one exchange.
#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

#include "link/engine.h"

// The simulator program: the first argument, else $VELTRANE_SIM, else the build tree's
// src/sim/logger-sim beside the benchmark's own folder.
QString loggerSimProgram(const QStringList& arguments);

// The pseudo-terminal logger-sim opens in `dir` for port 1.
QString loggerSimDevice(const QString& dir);

// logger-sim serving port 1 in `dir` with the extra `options`, once its pseudo-terminal exists;
// nullptr when it did not start in time.
std::unique_ptr<QProcess> startLoggerSim(const QString& program, const QString& dir,
                                         const QStringList& options);
void stopLoggerSim(QProcess& sim);

// Counts the engine's failures (each one printed) and hands the end of a procedure on.
class BenchHost : public EngineHost {
  public:
    std::function<void()> onEnded;
    int failures = 0;

    void showFailure(Msg first, Msg second) override;
    void setBusyPointer(bool) override {}
    void procedureEnded() override { onEnded(); }
};

// Plain open, write, poll and read on `device`: the least a client can spend per exchange.
// `frameFor(i)` is the command frame of exchange i; the reply ends at the terminator byte.
// Microseconds per exchange, or -1 when the device failed or a reply did not come in 2 s.
double bareRoundTripUs(const QString& device, int exchanges,
                       const std::function<QByteArray(int)>& frameFor);
