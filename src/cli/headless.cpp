// Wiring of the window's operations without a window.
#include "cli/headless.h"

#include <QCoreApplication>
#include <utility>

#include "link/serialport.h"

HeadlessOperations::HeadlessOperations(const CliOptions& options, const MessageTable& messages,
                                       SerialPort& port, CbusDevice& device, Waiter& waiter,
                                       ProgressView& progress, std::function<QDateTime()> now)
    : session_(port, timers_, prompter_, messages, dataSets_),
      dialogs_(options, messages, session_.prompter(), std::move(now)),
      context_{session_, waiter, controls_, display_, pointer_, dialogs_, progress},
      operations_(context_, device) {
    prompter_.table = &messages;
    dataSets_.open(scratch_.path());
    session_.applyLineSettings();
    // A failed connect points at the terminal command here, not at the window's Help menu.
    operations_.connection().setSetupHint(Msg::RunCheckCommandHint);
}

HeadlessOperations::~HeadlessOperations() {
    if (session_.port().isOpen()) {
        session_.port().close();
    }
    dataSets_.close();
    dataSets_.removeFiles();
}

bool HeadlessOperations::waitIdle(QDeadlineTimer deadline) {
    while (session_.engine().busy()) {
        if (deadline.hasExpired()) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    QCoreApplication::processEvents();
    return true;
}
