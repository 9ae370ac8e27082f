// The command line's signal handling; see signals.h.
#include "cli/signals.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

volatile std::sig_atomic_t writeFd = -1;

void onSignal(int signal) {
    const int savedErrno = errno;
    const int fd = writeFd;
    if (fd >= 0) {
        const char byte = static_cast<char>(signal);
        [[maybe_unused]] const ssize_t written = ::write(fd, &byte, 1);
    }
    errno = savedErrno;
}

}  // namespace

SignalWatcher::SignalWatcher() {
    pipeAction_ = std::signal(SIGPIPE, SIG_IGN);
    if (::pipe2(fds_, O_CLOEXEC | O_NONBLOCK) != 0) {
        fds_[0] = fds_[1] = -1;
        return;
    }
    writeFd = fds_[1];
    notifier_ = std::make_unique<QSocketNotifier>(fds_[0], QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, this, [this] { drain(); });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    // The second signal of a kind takes the default action: the user insists.
    action.sa_flags = SA_RESETHAND | SA_RESTART;
    for (int signal : kSignals) {
        // A signal ignored by whoever started the program (nohup, a background job) stays so.
        struct sigaction previous {};
        if (sigaction(signal, nullptr, &previous) == 0 && previous.sa_handler == SIG_IGN) {
            continue;
        }
        sigaction(signal, &action, nullptr);
        handled_.push_back(signal);
    }
}

SignalWatcher::~SignalWatcher() {
    for (int signal : handled_) {
        std::signal(signal, SIG_DFL);
    }
    std::signal(SIGPIPE, pipeAction_);
    writeFd = -1;
    notifier_.reset();
    for (int fd : fds_) {
        if (fd >= 0) {
            ::close(fd);
        }
    }
}

void SignalWatcher::drain() {
    char byte = 0;
    while (::read(fds_[0], &byte, 1) == 1) {
        if (caught_ == 0) {
            caught_ = static_cast<unsigned char>(byte);
        }
    }
}

QString SignalWatcher::name(int signal) {
    switch (signal) {
        case SIGINT:
            return QStringLiteral("SIGINT");
        case SIGTERM:
            return QStringLiteral("SIGTERM");
        case SIGHUP:
            return QStringLiteral("SIGHUP");
        default:
            return QString::number(signal);
    }
}
