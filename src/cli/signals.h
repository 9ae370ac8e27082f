// SIGINT, SIGTERM and SIGHUP turned into an event-loop event: the handler only writes the
// signal's number into a pipe (async-signal-safe), and a socket notifier on the pipe's other
// end records it for the command line to wind up. A second signal of the same kind ends the
// program at once, the way out when winding up hangs; one ignored at the start (nohup, a
// background job) stays ignored. SIGPIPE is ignored so a closed standard output is a write
// error with a message rather than a silent end.
#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <csignal>
#include <memory>
#include <vector>

class SignalWatcher : public QObject {
  public:
    SignalWatcher();
    // Restores the default actions of the signals it handled and closes the pipe.
    ~SignalWatcher() override;
    SignalWatcher(const SignalWatcher&) = delete;
    SignalWatcher& operator=(const SignalWatcher&) = delete;

    // The first signal caught, read from the pipe at once (no event loop needed); 0 while none.
    int caught() {
        drain();
        return caught_;
    }
    // "SIGINT", "SIGTERM" or "SIGHUP".
    static QString name(int signal);

  private:
    void drain();

    int fds_[2] = {-1, -1};
    std::vector<int> handled_;
    void (*pipeAction_)(int) = SIG_DFL;
    std::unique_ptr<QSocketNotifier> notifier_;
    int caught_ = 0;
};
