// The self-pipe behind SignalPipe.
#include "link/signalpipe.h"

#include <fcntl.h>
#include <unistd.h>
#include <QSocketNotifier>
#include <cerrno>

namespace {

volatile std::sig_atomic_t writeEnd = -1;

void onSignal(int signalNumber) {
    const int saved = errno;
    const int fd = writeEnd;
    if (fd >= 0) {
        // A full pipe already holds a byte that will wind the program up.
        const auto byte = static_cast<unsigned char>(signalNumber);
        [[maybe_unused]] const ssize_t written = ::write(fd, &byte, 1);
    }
    errno = saved;
}

}  // namespace

SignalPipe::SignalPipe(std::initializer_list<int> signalNumbers, Repeat repeat, QObject* parent)
    : QObject(parent) {
    if (writeEnd >= 0 || ::pipe2(fds_, O_CLOEXEC | O_NONBLOCK) != 0) {
        fds_[0] = fds_[1] = -1;
        return;
    }
    writeEnd = fds_[1];
    notifier_ = new QSocketNotifier(fds_[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &SignalPipe::drain);
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART | (repeat == Repeat::EndsProgram ? SA_RESETHAND : 0);
    for (int number : signalNumbers) {
        struct sigaction previous {};
        if (::sigaction(number, nullptr, &previous) != 0 || previous.sa_handler == SIG_IGN) {
            continue;
        }
        if (::sigaction(number, &action, nullptr) == 0) {
            handled_.push_back({number, previous});
        }
    }
}

SignalPipe::~SignalPipe() {
    if (fds_[1] < 0) {
        return;
    }
    for (const Handled& handled : handled_) {
        ::sigaction(handled.number, &handled.previous, nullptr);
    }
    writeEnd = -1;
    delete notifier_;
    ::close(fds_[0]);
    ::close(fds_[1]);
}

void SignalPipe::drain() {
    if (fds_[0] < 0) {
        return;
    }
    unsigned char byte = 0;
    while (::read(fds_[0], &byte, 1) == 1) {
        if (caught_ == 0) {
            caught_ = byte;
        }
        emit received(byte);
    }
}

QString SignalPipe::name(int signalNumber) {
    switch (signalNumber) {
        case SIGINT:
            return QStringLiteral("SIGINT");
        case SIGTERM:
            return QStringLiteral("SIGTERM");
        case SIGHUP:
            return QStringLiteral("SIGHUP");
        default:
            return QString::number(signalNumber);
    }
}
