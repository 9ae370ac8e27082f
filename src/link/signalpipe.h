// Process signals turned into event-loop events: the handler only writes the signal's number
// into a pipe (async-signal-safe), and a socket notifier on the pipe's other end reports it, so
// the program winds up in its own time and thread. A signal ignored by whoever started the
// program (nohup, a background job) stays ignored. One pipe at a time per process.
#pragma once

#include <QObject>
#include <QString>
#include <csignal>
#include <initializer_list>
#include <vector>

class QSocketNotifier;

class SignalPipe : public QObject {
    Q_OBJECT
  public:
    // What a second signal of the same kind does.
    enum class Repeat {
        Reported,     // reported again, like the first
        EndsProgram,  // takes the default action: the way out when winding up hangs
    };

    SignalPipe(std::initializer_list<int> signalNumbers, Repeat repeat, QObject* parent = nullptr);
    // Restores the actions the signals had before.
    ~SignalPipe() override;
    SignalPipe(const SignalPipe&) = delete;
    SignalPipe& operator=(const SignalPipe&) = delete;

    // False when no pipe could be made or another one is in place.
    bool installed() const { return fds_[1] >= 0; }
    // The first signal caught, read from the pipe at once (no event loop needed); 0 while none.
    int caught() {
        drain();
        return caught_;
    }
    // "SIGINT", "SIGTERM", "SIGHUP", else the number.
    static QString name(int signalNumber);

  signals:
    void received(int signalNumber);

  private:
    void drain();

    int fds_[2] = {-1, -1};
    struct Handled {
        int number;
        struct sigaction previous;
    };
    std::vector<Handled> handled_;
    QSocketNotifier* notifier_ = nullptr;
    int caught_ = 0;
};
