// One running copy per program directory: a lock file taken before any other file there is
// touched. A lock left by a copy that crashed is recognised as stale and taken over.
#pragma once

#include <QLockFile>
#include <QString>

class InstanceLock {
  public:
    static constexpr auto kFileName = "Logger.lock";

    explicit InstanceLock(const QString& programDirectory);
    // True when this copy now holds the lock; false when another running copy holds it.
    bool tryAcquire();
    bool held() const { return lock_.isLocked(); }

  private:
    QLockFile lock_;
};
