// The main window's periodic timers as the link and the operations see them: armed with an
// interval or stopped, each with the tick its owner registered. The application backs them with
// QTimers; tests with a plain table whose ticks they fire by hand.
#pragma once

#include <array>
#include <functional>

enum class TimerId {
    InputTimer,     // reply poll behind the port's notification
    TimeOut,        // 500 ms reply timeout and resend
    MouseP,         // 700 ms busy pointer
    DownloadTimer,  // 100 ms download watchdog
    Continuation,   // continuous real-time measurement
    DCheck,         // 500 ms USB device check
    Tokei,          // 200 ms clock read-out
};
inline constexpr int kTimerCount = 7;

class TimerControl {
  public:
    virtual ~TimerControl() = default;
    virtual void arm(TimerId timer, int intervalMs) = 0;
    // Stopping means disabled with interval 0.
    virtual void stop(TimerId timer) = 0;
    virtual bool isArmed(TimerId timer) const = 0;
    virtual int interval(TimerId timer) const = 0;
    // The work a timeout does; the owner of the timer's job registers it once.
    virtual void setTick(TimerId timer, std::function<void()> tick) = 0;
    // Runs the registered tick at once, as a timeout would.
    virtual void fire(TimerId timer) = 0;
};

// A TimerControl that only records state; tests and headless tools fire the ticks by hand.
class TimerTable : public TimerControl {
  public:
    void arm(TimerId timer, int intervalMs) override {
        armed_[static_cast<int>(timer)] = true;
        interval_[static_cast<int>(timer)] = intervalMs;
    }
    void stop(TimerId timer) override {
        armed_[static_cast<int>(timer)] = false;
        interval_[static_cast<int>(timer)] = 0;
    }
    bool isArmed(TimerId timer) const override { return armed_[static_cast<int>(timer)]; }
    int interval(TimerId timer) const override { return interval_[static_cast<int>(timer)]; }
    void setTick(TimerId timer, std::function<void()> tick) override {
        ticks_[static_cast<std::size_t>(timer)] = std::move(tick);
    }
    void fire(TimerId timer) override {
        if (const auto& tick = ticks_[static_cast<std::size_t>(timer)]) {
            tick();
        }
    }

  private:
    bool armed_[kTimerCount] = {};
    int interval_[kTimerCount] = {};
    std::array<std::function<void()>, kTimerCount> ticks_{};
};
