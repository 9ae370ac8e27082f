// The operations the window runs, wired without a window: scratch data sets, the session on a
// port, no controls, no display and the command line's prompter and dialogs. The
// command line runs on it; so do the benchmarks that drive the real serial path.
#pragma once

#include <QDateTime>
#include <QDeadlineTimer>
#include <QTemporaryDir>
#include <functional>

#include "cli/clihost.h"
#include "cli/options.h"
#include "data/datasets.h"
#include "link/qttimerset.h"
#include "link/session.h"
#include "operations/operations.h"

class CbusDevice;
class SerialPort;
class Waiter;

class HeadlessOperations {
  public:
    HeadlessOperations(const CliOptions& options, const MessageTable& messages, SerialPort& port,
                       CbusDevice& device, Waiter& waiter, ProgressView& progress,
                       std::function<QDateTime()> now = &QDateTime::currentDateTime);
    // Closes the port and removes the scratch files.
    ~HeadlessOperations();
    HeadlessOperations(const HeadlessOperations&) = delete;
    HeadlessOperations& operator=(const HeadlessOperations&) = delete;

    // Runs the event loop until no procedure runs, then once more so the messages held back
    // until a procedure's end are shown; false when the deadline passes first.
    bool waitIdle(QDeadlineTimer deadline = QDeadlineTimer(QDeadlineTimer::Forever));

    Session& session() { return session_; }
    Operations& operations() { return operations_; }
    CliPrompter& prompter() { return prompter_; }
    const CliPrompter& prompter() const { return prompter_; }
    DataSets& dataSets() { return dataSets_; }
    NoDisplay& display() { return display_; }
    QtTimerSet& timers() { return timers_; }
    QString scratchFile(const QString& name) const { return scratch_.filePath(name); }

  private:
    QTemporaryDir scratch_;
    QtTimerSet timers_;
    DataSets dataSets_;
    CliPrompter prompter_;
    Session session_;
    NoControls controls_;
    NoDisplay display_;
    NoPointer pointer_;
    CliDialogs dialogs_;
    Context context_;
    Operations operations_;
};
