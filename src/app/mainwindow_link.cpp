// The main window as the engine's host and the logger model's view: failure messages, the
// busy pointer, the end of a procedure, and the labels replies fill.
#include <QApplication>
#include <QLabel>

#include "app/mainwindow.h"
#include "data/prompter.h"
#include "graph/graphpanel.h"
#include "graph/graphview.h"
#include "ui/datatable.h"

namespace {
constexpr int kDownloadFailedMessage = 1089;
}  // namespace

void MainWindow::connectLink() {
    engine_ = std::make_unique<Engine>(port_, timers_, *this);
    model_ = std::make_unique<LoggerModel>(state_, dataSets_[LogData], dataSets_[RealTimeData],
                                           sampleBuffer_, prompter_, messages_, *this);
    model_->registerHandlers(*engine_);
    connection_ = std::make_unique<Connection>(this, *engine_, device_, waiter_, prompter_,
                                               messages_, state_, *this);
    refresh_ = std::make_unique<StatusRefresh>(this, *engine_, state_, dataSets_, messages_);
    refresh_->setPointerHook([this](bool busy) { setBusyPointer(busy); });
    refresh_->setConnectImageHook([this](bool on) { showConnectPicture(on); });
    download_ = std::make_unique<DownloadOperation>(*engine_, state_, dataSets_[LogData], prompter_,
                                                    messages_, *this);
    download_->registerHandlers();

    timers_.setTick(TimerId::InputTimer, [this] { engine_->inputTick(); });
    timers_.setTick(TimerId::TimeOut, [this] { engine_->timeOutTick(); });
    timers_.setTick(TimerId::MouseP, [this] { engine_->mousePTick(); });
    timers_.setTick(TimerId::DownloadTimer, [this] { download_->downloadTick(); });
    timers_.setTick(TimerId::DCheck, [this] { connection_->dCheckTick(); });
}

void MainWindow::Pro_End() {
    engine_->Pro_End();
}

void MainWindow::Port_Set_Command(const QString& Mode, int Portnumber) {
    connection_->Port_Set_Command(Mode, Portnumber);
}

void MainWindow::Port_Set_Once(int Portnumber) {
    connection_->Port_Set_Once(Portnumber);
}

void MainWindow::Download_Cancel() {
    download_->Download_Cancel();
}

void MainWindow::refreshStatus() {
    refresh_->run(StatusView{connection_->Portnum, dispStat_, viewKind_});
}

bool MainWindow::isUnsaved(DataSetIndex index) {
    return dataSets_[index].unsaved;
}

void MainWindow::clearDataSets() {
    dataSets_.clearForCommunication();
    for (DataSetIndex index : {LogData, RealTimeData}) {
        tables_[index]->clear();
        graphView().clearSavedImages(index);
    }
}

void MainWindow::saveLogData() {
    saveCsv(LogData);
}

void MainWindow::downloadStarting() {
    tables_[LogData]->clear();
    for (const char* name : {"Label2", "Label4", "Label10"}) {
        setLabel(name, QString());
    }
    refreshStatus();
    refresh_->disableOperationControls();
}

void MainWindow::showLogData() {
    graphView().SelectDisplay(LogData, viewKind_);
    tables_[LogData]->fill();
    graphView().FitSequence();
    graphView().UpdateScrollRanges(dataSets_[LogData]);
}

void MainWindow::showFailure(int firstMessage, int secondMessage) {
    prompter_.message(state_.Machine_N_P, messages_.pair(firstMessage, secondMessage));
}

void MainWindow::setBusyPointer(bool busy) {
    if (busy == busyPointer_) {
        return;
    }
    busyPointer_ = busy;
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

void MainWindow::procedureEnded() {
    setEnabled(true);
    setBusyPointer(false);
    refreshStatus();
}

void MainWindow::portLost() {
    // The port is gone (a removed device): the logger's recording state is unknown.
    state_.Record_State.clear();
    // The download drops what it received; without a word the user would take the closed
    // progress dialog for a finished download.
    const Download::Phase phase = download_->download().phase();
    if (phase == Download::Phase::Table || phase == Download::Phase::Transfer) {
        prompter_.message(state_.Machine_N_P, messages_.text(kDownloadFailedMessage));
    }
}

void MainWindow::setLabel(const char* name, const QString& text) {
    if (auto* label = findChild<QLabel*>(QString::fromLatin1(name))) {
        label->setText(text);
    }
}

void MainWindow::batteryLabel(const QString& text, bool low) {
    setLabel("Label39", text);
    if (auto* label = findChild<QLabel*>(QStringLiteral("Label39"))) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, low ? QColor(255, 0, 0) : QColor(0, 0, 0));
        label->setPalette(palette);
    }
}

void MainWindow::clockLabel(const QString& text) {
    setLabel("Label24", text);
}

void MainWindow::realTimeReadout(const RealTimeReadout& readout) {
    setLabel("Label2", readout.temperature);
    setLabel("Label4", readout.humidity);
    setLabel("Label10", readout.time);
}

void MainWindow::realTimeSampleAdded() {
    if (dispStat_ != RealTimeData) {
        graphView().SelectDisplay(RealTimeData, viewKind_);
    }
    tables_[RealTimeData]->appendNewest(true);
    graphView().refreshAfterNewSample();
}
