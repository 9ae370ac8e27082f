// Start-up after the window is built, the settings file, and the orderly shutdown when the
// window closes.
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QDir>
#include <QTimer>
#include <cstdio>

#include "app/diagnosticreport.h"
#include "app/mainwindow.h"
#include "app/shelllists.h"
#include "app/unsaveddata.h"
#include "app/windowsizing.h"
#include "graph/graphview.h"
#include "link/wiretrace.h"
#include "ui/datatable.h"

bool MainWindow::startUp() {
    if (started_) {
        return true;
    }
    // A second copy ends here, before any file of the first is touched.
    const InstanceLock::Outcome lock = lock_.acquire();
    if (lock.result == InstanceLock::Result::Failed) {
        startFailure_ = messages_.text(Msg::CannotStart) + MessageTable::kPartBreak +
                        messages_.text(Msg::LockFileNotWritable)
                            .arg(QDir::toNativeSeparators(lock_.path()), lock.reason);
    }
    if (lock.result != InstanceLock::Result::Acquired) {
        return false;
    }
    started_ = true;

    dataSets_.open(scratchDirectory_);
    fillCountLists(layout_);
    stopAllTimers();

    SettingsFile::LoadResult loaded{};
    const LoggerSettings settings = settings_.load(&loaded);
    if (loaded == SettingsFile::LoadResult::Reset) {
        prompter_.message(Machine_N_P(), messages_.text(Msg::SettingsUnreadable)
                                             .arg(QDir::toNativeSeparators(settings_.badPath())));
    }
    session_->Portnum = settings.portnum;
    selector_ = settings.selector;
    setLastDirectory(settings.directory);
    menu_.keepInArchiveItem->setChecked(settings.keepInArchive);
    operations_->keeper().setEnabled(settings.keepInArchive);
    menu_.dewPointItem->setChecked(settings.dewPointLine);

    layout_.selector->setCurrentText(QString::number(selector_));
    for (DataTableView* table : tables_) {
        table->clear();
        table->showSortIndicator();
    }
    session_->applyLineSettings();
    refreshStatus();
    showConnectPicture(layout_.connect->isChecked());
    graphView().selectDisplay(LogData, 0);

    sizing_->applySizeLimits();
    sizing_->fitToScreen();
    unsavedData_->offerRecovered(session_->state().Machine_N_P, [this] { return unattended_; });
    // From the event loop, once the window shows: the connect's waits keep it painting.
    QTimer::singleShot(0, this, [this] { operations_->connection().connectAtStart(); });
    return true;
}

void MainWindow::Save() {
    settings_.save(LoggerSettings{session_->Portnum, selector_, lastDirectory(),
                                  operations_->keeper().enabled(),
                                  menu_.dewPointItem->isChecked()});
}

void MainWindow::endUnattended() {
    unattended_ = true;
    // A box waiting for an answer is closed as unanswered (No); the close itself is queued
    // behind it, so it runs from the event loop rather than inside the box's caller.
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<QDialog*>(widget);
        if (dialog != nullptr && dialog->isModal() && dialog->isVisible()) {
            dialog->reject();
        }
    }
    QTimer::singleShot(0, this, &MainWindow::close);
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
    // be left in it: in a box, or on standard error when the session ends with no one to answer.
    const QString partlySet = session_->abandon();
    if (!partlySet.isEmpty()) {
        if (unattended_) {
            std::fprintf(stderr, "%s\n", qPrintable(partlySet));
        } else {
            prompter_.message(Machine_N_P(), partlySet);
        }
    }
    CsvFiles& files = operations_->files();
    // A signal may arrive while the first question is open: the second is then not asked, and
    // what was not saved is kept for the next start.
    if (!unattended_) {
        files.offerSave(LogData, messages_.text(Msg::AskSaveLogDataOnExit));
    }
    if (!unattended_) {
        files.offerSave(RealTimeData, messages_.text(Msg::AskSaveRealTimeDataOnExit));
    }
    if (unattended_) {
        unsavedData_->keep();
    }
    if (port_.isOpen()) {
        port_.close();
    }
    dataSets_.close();
    Save();
    dataSets_.removeFiles();
}

void MainWindow::saveDiagnosticReport() {
    // Like every logger operation it waits for the procedure to end, so the box it may show
    // never runs inside one.
    if (session_->busy()) {
        return;
    }
    DiagnosticSources sources;
    sources.settingsPath = settings_.path();
    if (session_->port().isOpen()) {
        sources.status = operations_->status().view();
    }
    sources.findings = SetupCheck(QStringLiteral("/"), SetupIdentity::current()).run();
    sources.trace = wireTrace().jsonLines();
    ::saveDiagnosticReport(prompter_, messages_, Machine_N_P(), lastDirectory(), sources);
}
