// Start-up after the window is built, the settings file, and the orderly shutdown when the
// window closes.
#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QPushButton>

#include "app/mainwindow.h"
#include "graph/graphview.h"
#include "link/waiter.h"
#include "ui/datatable.h"

namespace {
constexpr int kAskSaveLog = 1103;
constexpr int kAskSaveRealTime = 1104;
}  // namespace

bool MainWindow::startUp() {
    if (started_) {
        return true;
    }
    // A second copy ends here, before any file of the first is touched.
    if (!lock_.tryAcquire()) {
        return false;
    }
    started_ = true;

    dataSets_.open(programDirectory_);
    fillIntervalLists();
    stopAllTimers();

    const LoggerSettings settings = settings_.load();
    session_->Portnum = settings.portnum;
    selector_ = settings.selector;
    setLastDirectory(settings.directory);

    layout_.selector->setCurrentText(QString::number(selector_));
    for (DataTableView* table : tables_) {
        table->clear();
        table->showSortIndicator();
    }
    session_->applyLineSettings();
    refreshStatus();
    showConnectPicture(layout_.connect->isChecked());
    graphView().SelectDisplay(LogData, 0);

    applySizeLimits();
    fitToScreen();
    return true;
}

void MainWindow::Save() {
    settings_.save(LoggerSettings{session_->Portnum, selector_, lastDirectory()});
}

void MainWindow::Wait(int waittime) {
    context_->waiter.wait(waittime);
}

void MainWindow::End() {
    close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Closing is never refused.
    event->accept();
    if (started_ && !shutDown_) {
        shutDown();
    }
    closing_ = true;
    for (QDialog* dialog : findChildren<QDialog*>()) {
        dialog->close();
    }
}

void MainWindow::shutDown() {
    shutDown_ = true;
    // A running procedure ends here rather than when its watchdog fires: a download in flight
    // is given up (its records stay in the logger, which is not marked downloaded) and its
    // progress dialog closes with it. One that had sent a change to the logger says what may
    // be left in it.
    session_->abandon();
    CsvFiles& files = operations_->files();
    files.offerSave(LogData, messages_.text(kAskSaveLog));
    files.offerSave(RealTimeData, messages_.text(kAskSaveRealTime));
    if (port_.isOpen()) {
        port_.close();
    }
    dataSets_.close();
    Save();
    dataSets_.removeFiles();
}
