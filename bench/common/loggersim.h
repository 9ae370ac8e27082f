// What the benchmarks against logger-sim share: finding and starting the simulator on a
// pseudo-terminal, the engine's timers as the application runs them, an engine host that counts
// failures, and a bare blocking client whose round trip is the floor of one exchange.
#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <array>
#include <functional>
#include <memory>

#include "link/engine.h"
#include "link/timers.h"

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

// The application's way of running the engine: periodic precise QTimers calling tick methods.
class QtTimers : public TimerControl {
  public:
    QtTimers();
    // The engine's reply poll, reply timeout and busy pointer ticks.
    void drive(Engine& engine);
    void onTimeout(TimerId timer, std::function<void()> tick);

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

// Counts the engine's failures (each one printed) and hands the end of a procedure on.
class BenchHost : public EngineHost {
  public:
    std::function<void()> onEnded;
    int failures = 0;

    void showFailure(int first, int second) override;
    void setBusyPointer(bool) override {}
    void procedureEnded() override { onEnded(); }
};

// Plain open, write, poll and read on `device`: the least a client can spend per exchange.
// `frameFor(i)` is the command frame of exchange i; the reply ends at the terminator byte.
// Microseconds per exchange, or -1 when the device failed or a reply did not come in 2 s.
double bareRoundTripUs(const QString& device, int exchanges,
                       const std::function<QByteArray(int)>& frameFor);
