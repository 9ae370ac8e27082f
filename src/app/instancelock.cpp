// The single-copy lock.
#include "app/instancelock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <cerrno>
#include <csignal>
#include <cstring>

#include "data/regularfile.h"

namespace {

constexpr int kMaxLockBytes = 4096;

QByteArray hostName() {
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) != 0) {
        return {};
    }
    return QByteArray(name);
}

QByteArray commandOf(qint64 pid) {
    QFile file(QStringLiteral("/proc/%1/comm").arg(pid));
    return file.open(QIODevice::ReadOnly) ? file.read(64).trimmed() : QByteArray();
}

QString errorText(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

}  // namespace

InstanceLock::InstanceLock(const QString& programDirectory)
    : path_(QDir(programDirectory).filePath(QString::fromLatin1(kFileName))) {}

InstanceLock::~InstanceLock() {
    if (held_) {
        QFile::remove(path_);
        ::close(fd_);
    }
}

QByteArray InstanceLock::format(const Owner& owner) {
    return QByteArray::number(owner.pid) + '\n' + owner.host + '\n' +
           QByteArray::number(owner.uid) + '\n';
}

std::optional<InstanceLock::Owner> InstanceLock::parse(const QByteArray& bytes) {
    const QList<QByteArray> lines = bytes.split('\n');
    if (bytes.size() > kMaxLockBytes || lines.size() != 4 || !lines[3].isEmpty()) {
        return std::nullopt;
    }
    Owner owner;
    bool pidOk = false;
    bool uidOk = false;
    owner.pid = lines[0].toLongLong(&pidOk);
    owner.host = lines[1];
    owner.uid = lines[2].toLongLong(&uidOk);
    if (!pidOk || !uidOk || owner.pid <= 0 || owner.uid < 0 || owner.host.isEmpty()) {
        return std::nullopt;
    }
    return owner;
}

InstanceLock::Owner InstanceLock::self() {
    return Owner{static_cast<qint64>(getpid()), hostName(), static_cast<qint64>(getuid())};
}

QString InstanceLock::staleReason(const std::optional<Owner>& owner, const Owner& me,
                                  bool (*alive)(qint64 pid)) {
    if (!owner) {
        return QStringLiteral("empty or garbled");
    }
    if (owner->host != me.host) {
        return QStringLiteral("written on host %1").arg(QString::fromUtf8(owner->host));
    }
    if (owner->uid != me.uid) {
        return QStringLiteral("written by user %1").arg(owner->uid);
    }
    if (!alive(owner->pid)) {
        return QStringLiteral("process %1 no longer runs").arg(owner->pid);
    }
    return {};
}

bool InstanceLock::processAlive(qint64 pid) {
    if (pid <= 0 || pid > INT32_MAX) {
        return false;
    }
    if (kill(static_cast<pid_t>(pid), 0) != 0 && errno != EPERM) {
        return false;
    }
    // A process id used again by another program after the lock's writer died.
    const QByteArray theirs = commandOf(pid);
    const QByteArray mine = commandOf(getpid());
    return theirs.isEmpty() || mine.isEmpty() || theirs == mine;
}

QString InstanceLock::create() {
    const QByteArray name = QFile::encodeName(path_);
    const int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) {
        return errorText(errno);
    }
    // Held for the whole run: a copy starting at the same moment, which may find the file
    // still empty, sees that it is in use.
    ::flock(fd, LOCK_EX | LOCK_NB);
    const QByteArray record = format(self());
    const ssize_t written = ::write(fd, record.constData(), static_cast<size_t>(record.size()));
    int error = written == record.size() ? 0 : written < 0 ? errno : ENOSPC;
    if (error == 0 && ::fsync(fd) != 0) {
        error = errno;
    }
    if (error != 0) {
        ::unlink(name.constData());
        ::close(fd);
        return errorText(error);
    }
    fd_ = fd;
    return {};
}

InstanceLock::Outcome InstanceLock::acquire() {
    if (held_) {
        return {Result::Acquired, {}};
    }
    QString failure = create();
    if (failure.isEmpty()) {
        held_ = true;
        return {Result::Acquired, {}};
    }
    if (!QFile::exists(path_) && !QFileInfo(path_).isSymLink()) {
        return {Result::Failed, failure};
    }
    QFile file;
    std::optional<Owner> owner;
    if (openRegularForReading(path_, file) == RegularOpen::Ok) {
        if (::flock(file.handle(), LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
            return {Result::HeldByOther, {}};
        }
        owner = parse(file.read(kMaxLockBytes + 1));
        file.close();
    }
    const QString stale = staleReason(owner, self(), processAlive);
    if (stale.isEmpty()) {
        return {Result::HeldByOther, {}};
    }
    qWarning("%s: taken over, the lock was %s", qPrintable(QDir::toNativeSeparators(path_)),
             qPrintable(stale));
    if (::unlink(QFile::encodeName(path_).constData()) != 0 && errno != ENOENT) {
        return {Result::Failed, errorText(errno)};
    }
    // Another copy starting at the same moment may have made the file again: it holds it.
    failure = create();
    if (failure.isEmpty()) {
        held_ = true;
        return {Result::Acquired, stale};
    }
    return {QFile::exists(path_) ? Result::HeldByOther : Result::Failed, failure};
}
