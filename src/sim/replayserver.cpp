// The replay's pseudo-terminal loop: poll() on the master side, the stop pipe and the time the
// next recorded chunk is due.
#include "sim/replayserver.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <cerrno>

namespace {

qint64 nowUs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<qint64>(ts.tv_sec) * 1'000'000 + ts.tv_nsec / 1000;
}

}  // namespace

ReplayServer::ReplayServer(ReplayScript& script, QString dir, int port, QString usbDescription)
    : script_(script),
      dir_(std::move(dir)),
      port_(port),
      usbDescription_(std::move(usbDescription)) {
    if (::pipe2(stopPipe_, O_CLOEXEC | O_NONBLOCK) != 0) {
        stopPipe_[0] = stopPipe_[1] = -1;
    }
}

ReplayServer::~ReplayServer() {
    cleanUp();
    for (int& fd : stopPipe_) {
        if (fd >= 0) {
            ::close(fd);
            fd = -1;
        }
    }
}

QString ReplayServer::linkPath() const {
    return QDir(dir_).filePath(QStringLiteral("tty%1").arg(port_));
}

bool ReplayServer::start(QString& error) {
    if (!QDir().mkpath(dir_) || stopPipe_[0] < 0) {
        error = QStringLiteral("cannot create directory %1").arg(dir_);
        return false;
    }
    termios raw{};
    cfmakeraw(&raw);
    char name[128] = {};
    if (::openpty(&master_, &slave_, name, &raw, nullptr) != 0) {
        error = QStringLiteral("openpty failed: %1").arg(QString::fromLocal8Bit(strerror(errno)));
        return false;
    }
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    ::fcntl(master_, F_SETFD, FD_CLOEXEC);
    ::fcntl(slave_, F_SETFD, FD_CLOEXEC);
    QSaveFile usb(QDir(dir_).filePath(QStringLiteral("usb")));
    if (!usb.open(QIODevice::WriteOnly) || usb.write(usbDescription_.toUtf8() + '\n') < 0 ||
        !usb.commit()) {
        error = QStringLiteral("cannot create %1").arg(usb.fileName());
        return false;
    }
    usbCreated_ = true;
    const QString link = linkPath();
    QFile::remove(link);
    if (!QFile::link(QString::fromLocal8Bit(name), link)) {
        error = QStringLiteral("cannot link %1").arg(link);
        return false;
    }
    linked_ = true;
    return true;
}

int ReplayServer::run() {
    int code = 0;
    bool blocked = false;
    for (;;) {
        const qint64 now = nowUs();
        pending_ += script_.takeDue(now);
        if (!pending_.isEmpty() && !blocked) {
            const ssize_t n =
                ::write(master_, pending_.constData(), static_cast<size_t>(pending_.size()));
            if (n > 0) {
                pending_.remove(0, n);
            }
            blocked = pending_.size() > 0;
        }
        int timeoutMs = -1;
        if (const qint64 due = script_.nextDueUs(); due >= 0) {
            timeoutMs = static_cast<int>(std::max<qint64>(0, (due - nowUs() + 999) / 1000));
        }
        pollfd fds[2] = {{master_, static_cast<short>(POLLIN | (blocked ? POLLOUT : 0)), 0},
                         {stopPipe_[0], POLLIN, 0}};
        const int ready = ::poll(fds, 2, timeoutMs);
        if (ready < 0 && errno != EINTR) {
            break;
        }
        if (ready <= 0) {
            continue;
        }
        if ((fds[1].revents & POLLIN) != 0) {
            break;
        }
        if ((fds[0].revents & POLLOUT) != 0) {
            blocked = false;
        }
        if ((fds[0].revents & POLLIN) != 0) {
            char buffer[512];
            const ssize_t n = ::read(master_, buffer, sizeof buffer);
            if (n > 0 && !script_.receive(QByteArray(buffer, n), nowUs())) {
                code = kExitNotInTrace;
                break;
            }
        }
    }
    cleanUp();
    return code;
}

void ReplayServer::cleanUp() {
    if (usbCreated_) {
        QFile::remove(QDir(dir_).filePath(QStringLiteral("usb")));
        usbCreated_ = false;
    }
    if (linked_) {
        QFile::remove(linkPath());
        linked_ = false;
    }
    if (master_ >= 0) {
        ::close(master_);
        master_ = -1;
    }
    if (slave_ >= 0) {
        ::close(slave_);
        slave_ = -1;
    }
}
