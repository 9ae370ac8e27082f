// Waiting while the user interface keeps running: the application waits in a nested event
// loop; tests substitute a waiter that advances simulated time.
#pragma once

class Waiter {
  public:
    virtual ~Waiter() = default;
    // Returns after at least `waittime` milliseconds; timer ticks and clicks run meanwhile.
    virtual void wait(int waittime) = 0;
};
