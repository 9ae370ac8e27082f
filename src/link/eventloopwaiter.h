// The application's Waiter: a nested event loop ended by a single-shot timer, so timer ticks
// and clicks run during the wait while the thread sleeps in the event dispatcher.
#pragma once

#include "link/waiter.h"

class EventLoopWaiter : public Waiter {
  public:
    void wait(int waittime) override;
};
