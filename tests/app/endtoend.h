// The main window built in-process on the shared rig's simulated logger (its USB device present
// or removed, its waiter on simulated time), with the window's timers fired by hand on a
// simulated millisecond clock.
#pragma once

#include <QDateTime>
#include <QTemporaryDir>
#include <array>
#include <memory>
#include <vector>

#include "app/mainwindow.h"
#include "data/datetime.h"
#include "fakes.h"
#include "operations/clock.h"
#include "scripteddialogs.h"
#include "sim/simport.h"
#include "simrig.h"

namespace e2e {

inline const QString kIdeographicSpace = QString(QChar(0x3000));
inline constexpr double kSecond = 1.0 / 86400;

inline double at(const QDateTime& t) {
    return datetime::fromDateTime(t);
}

// The window's real-time clock on simulated time, from Rig::scenarioNow().
class SimClock : public Clock {
  public:
    qint64 ms = 0;
    qint64 steadyMs() const override { return ms; }
    double now() const override;
};

class Rig;
// Connects by the connect button and runs the status read that follows (gtest assertions).
void connectLogger(Rig& rig);

class Rig : public SimRig<SimPort> {
  public:
    static constexpr int kLoggerPort = 3;

    static constexpr bool QtDialogs = true;

    static constexpr bool WithArchive = true;

    // The logger answers as `scenario` on port 3 only; the window is built and started. Its
    // dialogs are answered from `dialogs`, or with `qtDialogs` shown as the window's own. With
    // `archive` it keeps its recordings in archive.sqlite of `dir`. It connects only by its
    // button.
    explicit Rig(const QString& scenario, bool qtDialogs = false, bool archive = false);
    ~Rig();

    bool started() const { return window != nullptr && window->started(); }
    // Moves the simulated clock on by `ms`, firing every armed timer whose interval elapsed.
    void advance(int ms);
    // From now on the logger's replies travel at `bytesPerMs` (57600 baud is about 6), so a
    // procedure spans many timer ticks; 0 delivers every reply at once.
    void paceLine(int bytesPerMs);
    // Runs the clock until no procedure runs; false when it still runs after `limitMs`.
    bool runProcedure(int limitMs = 600000);
    // Clicks a button or option of the window; false when there is none or it is hidden or
    // disabled.
    bool click(ControlId id);
    // The text of a control of the window.
    QString text(ControlId id) const;
    std::vector<Sample> samples(DataSetIndex index);

    QTemporaryDir dir;
    ScriptedPrompter prompter;
    SimClock clock;
    ScriptedDialogs dialogs;
    std::unique_ptr<MainWindow> window;

  private:
    std::array<int, kTimerCount> sinceArmed_{};
    std::array<int, kTimerCount> armings_{};
    int bytesPerMs_ = 0;
};

// Triggers a menu item as a user can: false when it or a menu holding it is hidden or disabled.
bool pressMenuItem(QAction* item);

// Saved to CSV by the data set's Save button and opened back as the file data set, the samples
// come back with the same values to two decimals, the same seconds and the same series.
void expectCsvRoundTrip(Rig& rig, DataSetIndex index, const std::vector<Sample>& samples);

}  // namespace e2e
