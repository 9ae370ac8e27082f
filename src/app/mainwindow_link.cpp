// The main window as the engine's host and the logger model's view: failure messages, the
// busy pointer, the end of a procedure, and the labels replies fill.
#include <QApplication>
#include <QLabel>

#include "app/mainwindow.h"
#include "data/prompter.h"
#include "graph/graphpanel.h"
#include "graph/graphview.h"
#include "ui/datatable.h"

void MainWindow::connectLink() {
    engine_ = std::make_unique<Engine>(port_, timers_, *this);
    model_ = std::make_unique<LoggerModel>(state_, dataSets_[LogData], dataSets_[RealTimeData],
                                           sampleBuffer_, prompter_, messages_, *this);
    model_->registerHandlers(*engine_);
    timers_.setTick(TimerId::InputTimer, [this] { engine_->inputTick(); });
    timers_.setTick(TimerId::TimeOut, [this] { engine_->timeOutTick(); });
    timers_.setTick(TimerId::MouseP, [this] { engine_->mousePTick(); });
}

void MainWindow::Pro_End() {
    engine_->Pro_End();
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
    showConnectPicture(port_.isOpen());
    showDisplayedPanes();
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
