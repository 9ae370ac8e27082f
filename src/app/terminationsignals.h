// SIGTERM and SIGHUP (logout, shutdown, a closed terminal) turned into a Qt signal: the
// handler only writes the signal's number into a pipe that the event loop watches, so the
// window ends in its own time and in its own thread.
#pragma once

#include <QObject>
#include <array>
#include <csignal>

class QSocketNotifier;

class TerminationSignals : public QObject {
    Q_OBJECT
  public:
    // Takes SIGTERM and SIGHUP over for as long as the object lives (one at a time).
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    bool installed() const { return installed_; }

  signals:
    void received(int signalNumber);

  private:
    void readPipe();

    std::array<int, 2> pipe_{-1, -1};
    QSocketNotifier* notifier_ = nullptr;
    struct sigaction oldTerm_ {};
    struct sigaction oldHup_ {};
    bool installed_ = false;
};
