// The main window's periodic timers as the link and the operations see them: armed with an
// interval or stopped. The application backs them with QTimers; tests with a plain table and
// call the tick methods themselves.
#pragma once

enum class TimerId {
    InputTimer,     // 1 ms reply poll
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
};

// A TimerControl that only records state; tests and headless tools drive the ticks by hand.
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

  private:
    bool armed_[kTimerCount] = {};
    int interval_[kTimerCount] = {};
};
