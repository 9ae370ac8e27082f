// The pseudo-terminal loop: poll() on the master side and a self-pipe for stopping, with
// pacing kept on a running schedule so long streams keep the wire rate exactly.
#include "sim/ptyserver.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <sys/prctl.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>
#include <climits>

#include "sim/simlogger.h"

namespace {

constexpr std::int64_t kNsPerSecond = 1'000'000'000;
constexpr int kChunk = 4096;

}  // namespace

PtyServer::PtyServer(SimLogger& logger, PtyOptions options)
    : logger_(logger), options_(std::move(options)), chip_(options_.dir) {
    // Made before anything else so a signal handler can stop the server from the start.
    if (::pipe2(stopPipe_, O_CLOEXEC | O_NONBLOCK) != 0) {
        stopPipe_[0] = stopPipe_[1] = -1;
    }
}

PtyServer::~PtyServer() {
    cleanUp();
    for (int& fd : stopPipe_) {
        if (fd >= 0) {
            ::close(fd);
            fd = -1;
        }
    }
}

std::int64_t PtyServer::nowNs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<std::int64_t>(ts.tv_sec) * kNsPerSecond + ts.tv_nsec;
}

QString PtyServer::linkPath() const {
    return QDir(options_.dir).filePath(QStringLiteral("tty%1").arg(options_.port));
}

bool PtyServer::start(QString& error) {
    if (!QDir().mkpath(options_.dir)) {
        error = QStringLiteral("cannot create directory %1").arg(options_.dir);
        return false;
    }
    if (stopPipe_[0] < 0) {
        error = QStringLiteral("cannot create the stop pipe");
        return false;
    }
    termios raw{};
    cfmakeraw(&raw);
    char name[128] = {};
    if (::openpty(&master_, &slave_, name, &raw, nullptr) != 0) {
        error = QStringLiteral("openpty failed: %1").arg(QString::fromLocal8Bit(strerror(errno)));
        return false;
    }
    slaveName_ = QString::fromLocal8Bit(name);
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    ::fcntl(master_, F_SETFD, FD_CLOEXEC);
    ::fcntl(slave_, F_SETFD, FD_CLOEXEC);

    // The device is plugged in before its terminal appears, as a USB-serial chip would be.
    // Pulses from before this run belong to another device.
    chip_.start();
    // Written whole and renamed into place, so a reader never sees an empty description.
    QSaveFile usb(QDir(options_.dir).filePath(QStringLiteral("usb")));
    if (!usb.open(QIODevice::WriteOnly) || usb.write(options_.usbDescription.toUtf8() + '\n') < 0 ||
        !usb.commit()) {
        error = QStringLiteral("cannot create %1").arg(usb.fileName());
        return false;
    }
    usbCreated_ = true;

    const QString link = linkPath();
    QFile::remove(link);
    if (!QFile::link(slaveName_, link)) {
        error = QStringLiteral("cannot link %1 to %2").arg(link, slaveName_);
        return false;
    }
    linked_ = true;

    byteNs_ = options_.baud > 0 ? 10 * kNsPerSecond / options_.baud : 0;
    if (byteNs_ > 0) {
        // Paced bytes are due every few hundred microseconds; the default 50 us timer slack
        // would show up in every reply.
        ::prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
    }
    startNs_ = nowNs();
    return true;
}

void PtyServer::stop() {
    if (stopPipe_[1] >= 0) {
        const char byte = 1;
        [[maybe_unused]] const auto written = ::write(stopPipe_[1], &byte, 1);
    }
}

void PtyServer::pollCbus() {
    for (const std::uint8_t level : chip_.takeLevels()) {
        if (logger_.cbusLevel(level)) {
            // The logger's interface was reset: what it had not sent yet is gone, only what
            // the chip holds still reaches the host.
            pending_.truncate(std::min<qsizetype>(pending_.size(), SimChip::kBufferedBytes));
            holdDueNs_ = 0;
        }
    }
}

void PtyServer::readInput() {
    char buffer[512];
    for (;;) {
        const ssize_t n = ::read(master_, buffer, sizeof buffer);
        if (n <= 0) {
            return;
        }
        const std::int64_t now = nowNs();
        // The logger clock follows the wall clock since the start, scaled; counting from the
        // start keeps rounding from adding up over many reads.
        const auto loggerMs =
            static_cast<qint64>(static_cast<double>(now - startNs_) / 1e6 * options_.timeScale);
        logger_.advanceTime(loggerMs - loggerMsGiven_);
        loggerMsGiven_ = loggerMs;
        inputDoneNs_ = std::max(now, inputDoneNs_) + n * byteNs_;
        // A pulse the host gave before this command acts first.
        if (chip_.changed() ||
            (chip_.fd() < 0 && logger_.requiresReset() && !logger_.resetSeen())) {
            pollCbus();
        }
        logger_.receive(QByteArray(buffer, static_cast<qsizetype>(n)));
    }
}

std::int64_t PtyServer::nextSendNs() const {
    return paceOriginNs_ + (pacedSent_ + 1) * byteNs_;
}

void PtyServer::refill(std::int64_t now) {
    const bool cutOff = options_.unplugAfterRecords >= 0 &&
                        logger_.streamedRecords() >= options_.unplugAfterRecords;
    if (pending_.isEmpty() && !logger_.hasOutput()) {
        replying_ = false;
    }
    if (!pending_.isEmpty() || !logger_.hasOutput() || cutOff) {
        return;
    }
    // A reply made late on purpose is held from the moment the output reaches it.
    while (const int hold = logger_.heldMs()) {
        if (holdDueNs_ == 0) {
            holdDueNs_ = std::max(now, inputDoneNs_) + hold * 1'000'000LL;
        }
        if (now < holdDueNs_) {
            return;
        }
        holdDueNs_ = 0;
        logger_.releaseHold();
    }
    if (options_.replyDelayMs > 0 && !replying_) {
        if (replyDueNs_ == 0) {
            replyDueNs_ = std::max(now, inputDoneNs_) + options_.replyDelayMs * 1'000'000LL;
        }
        if (now < replyDueNs_) {
            return;
        }
        replyDueNs_ = 0;
        replying_ = true;
    }
    // After a pause the schedule starts again, no earlier than the moment the command that
    // caused this output has fully arrived on the wire.
    if (paceOriginNs_ + (pacedSent_ + 1) * byteNs_ < now) {
        paceOriginNs_ = std::max(now, inputDoneNs_);
        pacedSent_ = 0;
    }
    // One record at a time when unplugging after a record count, so the count is exact.
    const qsizetype chunk = options_.unplugAfterRecords >= 0 ? 9 : kChunk;
    pending_ = logger_.takeOutput(static_cast<int>(std::min(chunk, logger_.bytesBeforeHold())));
    unplugAfterReply_ = logger_.takeUnplugRequest() || unplugAfterReply_;
}

bool PtyServer::sendOutput(std::int64_t now) {
    qsizetype allowed = pending_.size();
    if (byteNs_ > 0) {
        const std::int64_t due = (now - paceOriginNs_) / byteNs_ - pacedSent_;
        allowed = static_cast<qsizetype>(std::clamp<std::int64_t>(due, 0, pending_.size()));
    }
    if (allowed == 0) {
        return false;
    }
    const ssize_t n = ::write(master_, pending_.constData(), static_cast<size_t>(allowed));
    if (n < 0) {
        return errno == EAGAIN;
    }
    pending_.remove(0, n);
    pacedSent_ += n;
    return false;
}

bool PtyServer::unplugDue(std::int64_t now) const {
    if (options_.unplugAfterMs >= 0 && now - startNs_ >= options_.unplugAfterMs * 1'000'000) {
        return true;
    }
    if (unplugAfterReply_ && pending_.isEmpty() && !logger_.hasOutput()) {
        return true;
    }
    return options_.unplugAfterRecords >= 0 && pending_.isEmpty() &&
           logger_.streamedRecords() >= options_.unplugAfterRecords;
}

int PtyServer::run() {
    bool blocked = false;  // the pty buffer is full until POLLOUT
    for (;;) {
        std::int64_t now = nowNs();
        refill(now);
        if (!pending_.isEmpty() && !blocked) {
            blocked = sendOutput(now);
            refill(now);
        }

        now = nowNs();
        if (unplugDue(now)) {
            break;
        }
        std::int64_t waitNs = -1;
        if (!pending_.isEmpty() && !blocked) {
            waitNs = byteNs_ > 0 ? std::max<std::int64_t>(0, nextSendNs() - now) : 0;
        } else {
            for (const std::int64_t due : {replyDueNs_, holdDueNs_}) {
                if (due > 0) {
                    const std::int64_t left = std::max<std::int64_t>(0, due - now);
                    waitNs = waitNs < 0 ? left : std::min(waitNs, left);
                }
            }
        }
        if (options_.unplugAfterMs >= 0) {
            const std::int64_t left =
                std::max<std::int64_t>(0, startNs_ + options_.unplugAfterMs * 1'000'000 - now);
            waitNs = waitNs < 0 ? left : std::min(waitNs, left);
        }
        pollfd fds[3] = {{master_, static_cast<short>(POLLIN | (blocked ? POLLOUT : 0)), 0},
                         {stopPipe_[0], POLLIN, 0},
                         {chip_.fd(), POLLIN, 0}};
        timespec timeout{};
        if (waitNs >= 0) {
            timeout.tv_sec = static_cast<time_t>(waitNs / kNsPerSecond);
            timeout.tv_nsec = static_cast<long>(waitNs % kNsPerSecond);
        }
        const int ready = ::ppoll(fds, 3, waitNs >= 0 ? &timeout : nullptr, nullptr);
        if (ready < 0 && errno != EINTR) {
            break;
        }
        if (ready <= 0) {
            continue;
        }
        if ((fds[1].revents & POLLIN) != 0) {
            break;
        }
        if ((fds[2].revents & POLLIN) != 0 && chip_.changed()) {
            pollCbus();
        }
        if ((fds[0].revents & POLLOUT) != 0) {
            blocked = false;
        }
        if ((fds[0].revents & POLLIN) != 0) {
            readInput();
        }
    }
    cleanUp();
    return 0;
}

void PtyServer::drain() {
    // Bytes already on the wire reach the host before the line goes down: a hangup would
    // flush what the host has not read yet. The terminal moves written bytes to the reader
    // asynchronously, so the queue must stay empty for a while before it counts as drained.
    constexpr std::int64_t kQuietNs = 50'000'000;
    const std::int64_t deadline = nowNs() + 1'000'000'000;
    std::int64_t quietSince = nowNs();
    for (std::int64_t now = nowNs(); slave_ >= 0 && now < deadline; now = nowNs()) {
        int queued = 0;
        if (::ioctl(slave_, FIONREAD, &queued) != 0) {
            return;
        }
        if (queued > 0) {
            quietSince = now;
        } else if (now - quietSince >= kQuietNs) {
            return;
        }
        pollfd stopFd{stopPipe_[0], POLLIN, 0};
        if (::poll(&stopFd, 1, 2) > 0) {
            return;
        }
    }
}

void PtyServer::cleanUp() {
    if (usbCreated_) {
        QFile::remove(QDir(options_.dir).filePath(QStringLiteral("usb")));
        usbCreated_ = false;
    }
    if (linked_) {
        QFile::remove(linkPath());
        linked_ = false;
    }
    drain();
    if (master_ >= 0) {
        ::close(master_);
        master_ = -1;
    }
    if (slave_ >= 0) {
        ::close(slave_);
        slave_ = -1;
    }
}
