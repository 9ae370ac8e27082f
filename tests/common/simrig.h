// The simulated logger and a link session on it, shared by the link, operations, window and
// command-line tests. Each folder adds its own thin layer (its prompter, fake controls, window).
//
//   SimRig<Port>            the logger in-process: a SimLogger laid out as a named scenario, a
//                           port of type Port on it (SimPort, or a folder's own double whose
//                           constructor takes the logger first), its USB chip and a waiter on
//                           the logger's clock.
//   SessionRig<Timers, P>   a Session as the application builds one on any port: prompter P,
//                           English texts, data sets in a scratch folder, and Timers
//                           (TimerTable driven by hand, or QtTimerSet, the application's own).
//   SimSessionRig<Port, P>  both together on hand-driven timers, with pump() and
//                           runProcedure() that play the input and time-out ticks.
//   PtySimRig               the logger-sim program on a pseudo-terminal in a device folder of
//                           its own, which this process reads its ports and USB device from
//                           while the program runs.
//   waitUntil(done, ms)     runs the event loop until `done` holds, within a deadline.
#pragma once

#include <QDateTime>
#include <QDeadlineTimer>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <array>
#include <functional>
#include <utility>
#include <vector>

#include "data/datasets.h"
#include "data/messagetable.h"
#include "data/prompter.h"
#include "data/sample.h"
#include "link/cbusdevice.h"
#include "link/eventloopwaiter.h"
#include "link/serialport.h"
#include "link/session.h"
#include "link/timers.h"
#include "link/waiter.h"
#include "sim/simlogger.h"
#include "sim/simscenarios.h"

// Runs the event loop in short bounded waits until `done` holds or the time is up.
template <typename Predicate>
bool waitUntil(Predicate done, int timeoutMs) {
    EventLoopWaiter waiter;
    QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired()) {
            return false;
        }
        waiter.wait(2);
    }
    return true;
}

namespace simrig {

// The moment the scenarios are laid out before, so that the dates a test expects are fixed.
QDateTime scenarioNow();
// The samples of a data set, in order, up to the first that cannot be read.
std::vector<Sample> samples(DataSet& set);
// Code and both arguments of each command the logger received, from the `from`th on.
std::vector<std::array<int, 3>> received(const SimLogger& logger, std::size_t from = 0);
// Polls as the input timer would while bytes wait; returns at the end of the procedure or
// when none waits (a stalled or silent logger).
void pump(Engine& engine, SerialPort& port);
// Polls as the input timer would, and fires the time-out whenever it is armed and no byte
// waits; true when the procedure ended within `maxTicks`.
bool runProcedure(Engine& engine, const TimerControl& timers, SerialPort& port, int maxTicks);

}  // namespace simrig

// The USB chip in front of the simulated logger: present, removed, or present but closed to
// this user. Its pulses reach the logger's reset input.
class SimUsbDevice : public CbusDevice {
  public:
    explicit SimUsbDevice(SimLogger& logger) : logger_(logger) {}

    bool present = true;
    bool denied = false;
    std::vector<int> levels;  // every pulse that reached the logger

    Status describe(QString& description) override;
    Status pulse(std::uint8_t level) override;

  private:
    SimLogger& logger_;
};

// Waits on simulated time: the logger's clock moves on, and `duringWait` (when set) runs on
// every wait, standing in for the timer ticks and clicks a real wait lets through.
class SimTimeWaiter : public Waiter {
  public:
    explicit SimTimeWaiter(SimLogger& logger) : logger_(logger) {}

    std::vector<int> waits;
    qint64 elapsedMs = 0;
    std::function<void()> duringWait;

    void wait(int waittime) override;

  private:
    SimLogger& logger_;
};

// The English texts, filled before anything built on them.
struct EnglishMessages : MessageTable {
    EnglishMessages() { fillEnglish(); }
};

template <typename Port>
class SimRig {
  public:
    static QDateTime scenarioNow() { return simrig::scenarioNow(); }

    // Lays the logger out as `scenario` before `at` (an empty name keeps the simulator's own
    // default logger); the port is built on the logger and `portArgs`.
    template <typename... PortArgs>
    explicit SimRig(const QString& scenario, const QDateTime& at, PortArgs&&... portArgs)
        : port(logger, std::forward<PortArgs>(portArgs)...),
          scenarioApplied(scenario.isEmpty() || simscenario::apply(scenario, logger, at)) {}

    SimLogger logger;
    Port port;
    SimUsbDevice device{logger};
    SimTimeWaiter waiter{logger};
    // False when the scenario name is unknown.
    const bool scenarioApplied;
};

template <typename Timers, typename PrompterT>
class SessionRig {
  public:
    explicit SessionRig(SerialPort& port)
        : session(port, timers, prompter, messages, dataSets),
          engine(session.engine()),
          state(session.state()) {
        dataSetsOpen = dataSets.open(scratch.path());
    }
    SessionRig(const SessionRig&) = delete;
    SessionRig& operator=(const SessionRig&) = delete;

    std::vector<Sample> samples(DataSetIndex index) { return simrig::samples(dataSets[index]); }

    QTemporaryDir scratch;
    PrompterT prompter;
    EnglishMessages messages;
    Timers timers;
    DataSets dataSets;
    Session session;
    Engine& engine;
    LoggerState& state;
    bool dataSetsOpen = false;
};

template <typename Port, typename PrompterT>
class SimSessionRig : public SimRig<Port>, public SessionRig<TimerTable, PrompterT> {
  public:
    template <typename... PortArgs>
    explicit SimSessionRig(const QString& scenario, const QDateTime& at, PortArgs&&... portArgs)
        : SimRig<Port>(scenario, at, std::forward<PortArgs>(portArgs)...),
          SessionRig<TimerTable, PrompterT>(this->port) {}

    void pump() { simrig::pump(this->engine, this->port); }
    bool runProcedure(int maxTicks = 1000) {
        return simrig::runProcedure(this->engine, this->timers, this->port, maxTicks);
    }
    std::vector<std::array<int, 3>> received(std::size_t from = 0) const {
        return simrig::received(this->logger, from);
    }
};

class PtySimRig {
  public:
    PtySimRig() = default;
    ~PtySimRig();
    PtySimRig(const PtySimRig&) = delete;
    PtySimRig& operator=(const PtySimRig&) = delete;

    // The program named by ctest; empty when the test runs without it (the test skips).
    static QString program();

    // Starts the program as the logger on port 1 with `options` (stopping one that runs) and
    // waits until its USB file and tty link exist. From then on this process finds its ports
    // and USB device in the rig's device folder, until the rig is destroyed.
    bool start(const QStringList& options = {});
    // Ends the program: the logger unplugged.
    void stop();

    QString deviceDir() const { return deviceDir_.path(); }
    QString devicePath(const QString& name) const { return deviceDir_.filePath(name); }
    QProcess& process() { return process_; }

  private:
    QTemporaryDir deviceDir_;
    QProcess process_;
    bool environmentSet_ = false;
};
