// Test support for the logger-sim program: started on a pseudo-terminal in a device directory,
// waited for until its links exist, and stopped; plus a bounded wait that keeps the event loop
// running.
#pragma once

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QString>
#include <QStringList>

#include "link/eventloopwaiter.h"

// Runs the event loop in short bounded waits until `done` holds or the time is up.
template <typename Predicate>
bool waitUntil(Predicate done, int timeoutMs) {
    EventLoopWaiter waiter;
    QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired()) {
            return false;
        }
        waiter.wait(2);
    }
    return true;
}

class LoggerSimProcess {
  public:
    ~LoggerSimProcess() { stop(); }

    // The program named by ctest; empty when the test runs without it.
    static QString program() { return qEnvironmentVariable("VELTRANE_SIM"); }

    // Starts the simulator on port 1 in `dir` and waits until its USB file and tty link exist.
    bool start(const QString& program, const QString& dir, const QStringList& options = {}) {
        if (!QFileInfo(program).isExecutable()) {
            return false;
        }
        process_.setProgram(program);
        process_.setArguments(QStringList{QStringLiteral("--dir"), dir, QStringLiteral("--port"),
                                          QStringLiteral("1")} +
                              options);
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start();
        if (!process_.waitForStarted(5000)) {
            return false;
        }
        return waitUntil(
            [&] {
                return QFile::exists(dir + QStringLiteral("/tty1")) &&
                       QFile::exists(dir + QStringLiteral("/usb"));
            },
            10000);
    }

    void stop() {
        if (process_.state() != QProcess::NotRunning) {
            process_.terminate();
            if (!process_.waitForFinished(5000)) {
                process_.kill();
                process_.waitForFinished(5000);
            }
        }
    }

    QProcess& process() { return process_; }

  private:
    QProcess process_;
};
