// The main window's timers as real QTimers: arming one starts it, and each timeout calls the
// tick method registered for it.
#pragma once

#include <QObject>
#include <QTimer>
#include <array>
#include <functional>

#include "link/timers.h"

class QtTimerSet : public QObject, public TimerControl {
    Q_OBJECT
  public:
    explicit QtTimerSet(QObject* parent = nullptr);

    void setTick(TimerId timer, std::function<void()> tick) override;
    // Runs the tick registered for `timer` at once, as its timeout would; tests drive the
    // window's timers by hand this way, on simulated time.
    void fire(TimerId timer) override;
    // How often `timer` was armed; each arming restarts its interval, which a clock driven by
    // hand has to follow.
    int armings(TimerId timer) const { return armings_[static_cast<int>(timer)]; }
    void arm(TimerId timer, int intervalMs) override;
    void stop(TimerId timer) override;
    bool isArmed(TimerId timer) const override;
    int interval(TimerId timer) const override;
    // Stops every timer that drives a procedure: mouse_p, continuation, InputTimer, TimeOut
    // and Download_Timer (the device check and the clock keep running).
    void stopProcedureTimers();

  private:
    std::array<QTimer, kTimerCount> timers_;
    std::array<std::function<void()>, kTimerCount> ticks_;
    std::array<int, kTimerCount> intervals_{};
    std::array<bool, kTimerCount> armed_{};
    std::array<int, kTimerCount> armings_{};
};
