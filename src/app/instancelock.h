// One running copy per program folder: a lock file taken before any other file there is
// touched. Only a live copy of this user on this host holds the lock; a lock left by a copy
// that died, an empty or garbled one, or one written on another host or by another user (a
// shared home) is taken over with a line in the log. The holder also keeps the file flock()ed,
// so a copy starting at the same moment never takes a lock still being written for stale.
#pragma once

#include <sys/types.h>
#include <QByteArray>
#include <QString>
#include <optional>

class InstanceLock {
  public:
    static constexpr auto kFileName = "Logger.lock";

    // Who wrote a lock file: its process, host and user.
    struct Owner {
        qint64 pid = 0;
        QByteArray host;
        qint64 uid = -1;

        bool operator==(const Owner&) const = default;
    };

    enum class Result { Acquired, HeldByOther, Failed };
    struct Outcome {
        Result result = Result::Failed;
        QString reason;  // why the lock could not be written (Failed) or was taken over
    };

    explicit InstanceLock(const QString& programDirectory);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    Outcome acquire();
    // True when this copy now holds the lock.
    bool tryAcquire() { return acquire().result == Result::Acquired; }
    bool held() const { return held_; }
    QString path() const { return path_; }

    static QByteArray format(const Owner& owner);
    // The owner a lock file names; nothing when it is empty or garbled.
    static std::optional<Owner> parse(const QByteArray& bytes);
    // This process.
    static Owner self();
    // Why `owner`'s lock does not hold against `me`, or empty when it does: a process of this
    // user on this host that still runs, as `alive` tells.
    static QString staleReason(const std::optional<Owner>& owner, const Owner& me,
                               bool (*alive)(qint64 pid));
    // kill(pid, 0): the process exists (even if it is another user's).
    static bool processAlive(qint64 pid);

  private:
    // Creates the file exclusively with this process's record; errno-style failure text.
    QString create();

    QString path_;
    int fd_ = -1;  // open and flock()ed while held
    bool held_ = false;
};
