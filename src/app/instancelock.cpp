// The single-copy lock.
#include "app/instancelock.h"

#include <QDir>

InstanceLock::InstanceLock(const QString& programDirectory)
    : lock_(QDir(programDirectory).filePath(QString::fromLatin1(kFileName))) {
    // Never treat a live copy's lock as stale however long it has been running.
    lock_.setStaleLockTime(0);
}

bool InstanceLock::tryAcquire() {
    return lock_.isLocked() || lock_.tryLock(0);
}
