// Start-up after the window is built, and the orderly shutdown when it closes.
#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QRadioButton>

#include "app/mainwindow.h"
#include "graph/graphview.h"
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
    connection_->Portnum = settings.portnum;
    selector_ = settings.selector;
    lastDirectory_ = settings.directory;

    controls_.selector->setCurrentText(QString::number(selector_));
    for (DataTableView* table : tables_) {
        table->clear();
        table->showSortIndicator();
    }
    engine_->setLineSettings(connection_->lineSettings(), connection_->Portnum);
    refreshStatus();
    graphView().SelectDisplay(LogData, 0);

    applySizeLimits();
    fitToScreen();
    return true;
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
    offerToSave(LogData, kAskSaveLog);
    offerToSave(RealTimeData, kAskSaveRealTime);
    if (port_.isOpen()) {
        port_.close();
    }
    dataSets_.close();
    Save();
    dataSets_.removeFiles();
}
