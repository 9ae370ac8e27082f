// QTimer-backed timer table.
#include "link/qttimerset.h"

namespace {
int slot(TimerId timer) {
    return static_cast<int>(timer);
}
}  // namespace

QtTimerSet::QtTimerSet(QObject* parent) : QObject(parent) {
    for (int i = 0; i < kTimerCount; ++i) {
        timers_[i].setTimerType(Qt::PreciseTimer);
        connect(&timers_[i], &QTimer::timeout, this, [this, i] {
            if (ticks_[i]) {
                ticks_[i]();
            }
        });
    }
}

void QtTimerSet::setTick(TimerId timer, std::function<void()> tick) {
    ticks_[slot(timer)] = std::move(tick);
}

void QtTimerSet::fire(TimerId timer) {
    if (ticks_[slot(timer)]) {
        ticks_[slot(timer)]();
    }
}

void QtTimerSet::arm(TimerId timer, int intervalMs) {
    intervals_[slot(timer)] = intervalMs;
    armed_[slot(timer)] = true;
    ++armings_[slot(timer)];
    // A zero interval arms the timer without ever firing it, as a disabled-interval timer does.
    if (intervalMs > 0) {
        timers_[slot(timer)].start(intervalMs);
    } else {
        timers_[slot(timer)].stop();
    }
}

void QtTimerSet::stop(TimerId timer) {
    intervals_[slot(timer)] = 0;
    armed_[slot(timer)] = false;
    timers_[slot(timer)].stop();
}

bool QtTimerSet::isArmed(TimerId timer) const {
    return armed_[slot(timer)];
}

int QtTimerSet::interval(TimerId timer) const {
    return intervals_[slot(timer)];
}

void QtTimerSet::stopProcedureTimers() {
    for (TimerId timer : {TimerId::MouseP, TimerId::Continuation, TimerId::InputTimer,
                          TimerId::TimeOut, TimerId::DownloadTimer}) {
        stop(timer);
    }
}
