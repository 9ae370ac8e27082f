// The self-pipe behind TerminationSignals.
#include "app/terminationsignals.h"

#include <fcntl.h>
#include <unistd.h>
#include <QSocketNotifier>
#include <cerrno>

namespace {

volatile sig_atomic_t writeEnd = -1;

void onSignal(int signalNumber) {
    const int saved = errno;
    const unsigned char byte = static_cast<unsigned char>(signalNumber);
    if (writeEnd >= 0) {
        // A full pipe already holds a byte that will end the window.
        [[maybe_unused]] const ssize_t ignored = ::write(writeEnd, &byte, 1);
    }
    errno = saved;
}

}  // namespace

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent) {
    if (writeEnd >= 0 || ::pipe2(pipe_.data(), O_CLOEXEC | O_NONBLOCK) != 0) {
        return;
    }
    writeEnd = pipe_[1];
    notifier_ = new QSocketNotifier(pipe_[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TerminationSignals::readPipe);
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    installed_ = ::sigaction(SIGTERM, &action, &oldTerm_) == 0 &&
                 ::sigaction(SIGHUP, &action, &oldHup_) == 0;
}

TerminationSignals::~TerminationSignals() {
    if (pipe_[1] < 0) {
        return;
    }
    ::sigaction(SIGTERM, &oldTerm_, nullptr);
    ::sigaction(SIGHUP, &oldHup_, nullptr);
    writeEnd = -1;
    delete notifier_;
    ::close(pipe_[0]);
    ::close(pipe_[1]);
}

void TerminationSignals::readPipe() {
    unsigned char byte = 0;
    while (::read(pipe_[0], &byte, 1) == 1) {
        emit received(byte);
    }
}
