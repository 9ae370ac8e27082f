// Display selection, the data panes, the CSV files and the menu items of the main window.
#include <QAbstractButton>
#include <QButtonGroup>
#include <QLabel>
#include <QPushButton>

#include "app/connectpictures.h"
#include "app/mainwindow.h"
#include "data/csvflow.h"
#include "graph/graphpanel.h"
#include "graph/graphview.h"
#include "ui/datatable.h"

void MainWindow::connectView() {
    GraphView& view = graphView();
    connect(controls_.dataSetChoice, &QButtonGroup::idClicked, &view, &GraphView::chooseDataSet);
    connect(controls_.viewChoice, &QButtonGroup::idClicked, &view, &GraphView::chooseViewKind);
    connect(&view, &GraphView::displayChanged, this, &MainWindow::displayChanged);
    connect(&view, &GraphView::readoutChanged, this,
            [this](const QString& text) { setStatusText(2, text); });

    const struct {
        QAction* action;
        int index;
        int kind;
    } displayItems[] = {{menu_.m211, LogData, 0},      {menu_.m212, LogData, 1},
                        {menu_.m221, RealTimeData, 0}, {menu_.m222, RealTimeData, 1},
                        {menu_.m231, FileData, 0},     {menu_.m232, FileData, 1}};
    for (const auto& item : displayItems) {
        connect(item.action, &QAction::triggered, this,
                [this, index = item.index, kind = item.kind] {
                    graphView().selectFromMenu(index, kind);
                });
    }
    connect(menu_.m14, &QAction::triggered, this, &MainWindow::End);
    connect(menu_.m11, &QAction::triggered, this, &MainWindow::openCsv);
    connect(menu_.m122, &QAction::triggered, this, [this] { saveCsv(LogData); });
    connect(menu_.m121, &QAction::triggered, this, [this] { saveCsv(RealTimeData); });
    connect(menu_.D_M_Fast, &QAction::triggered, this, [this] { connection_->D_M_Fast_Click(); });
    connect(menu_.D_M_Slow, &QAction::triggered, this, [this] { connection_->D_M_Slow_Click(); });

    const struct {
        const char* name;
        std::function<void()> action;
    } buttons[] = {{"Command14", [this] { openCsv(); }},
                   {"Command21", [this] { saveCsv(LogData); }},
                   {"Command22", [this] { saveCsv(RealTimeData); }},
                   {"Command20", [this] { Port_Set_Command(QString(), Portnum()); }},
                   {"Command27", [this] { connection_->Command27_Click(); }},
                   {"Command11", [this] { Command11_Click(*engine_); }},
                   {"Command5", [this] { download_->Command5_Click(); }}};
    for (const auto& button : buttons) {
        if (auto* widget = findChild<QPushButton*>(QString::fromLatin1(button.name))) {
            connect(widget, &QPushButton::clicked, this, button.action);
        }
    }
}

void MainWindow::displayChanged(int index, int kind) {
    dispStat_ = static_cast<std::uint8_t>(index);
    viewKind_ = kind;
    if (QAbstractButton* option = controls_.dataSetChoice->button(index)) {
        option->setChecked(true);
    }
    if (QAbstractButton* option = controls_.viewChoice->button(kind)) {
        option->setChecked(true);
    }
    refreshStatus();
}

void MainWindow::saveCsv(DataSetIndex index) {
    if (index != LogData && index != RealTimeData) {
        return;
    }
    saveCsvInteractive(prompter_, messages_,
                       CsvSaveRequest{dataSets_[index], state_.Machine_N_P, state_.VT_Name},
                       lastDirectory_);
}

void MainWindow::openCsv() {
    const CsvOpenResult result = openCsvInteractive(prompter_, messages_, dataSets_[FileData],
                                                    state_.Machine_N_P, lastDirectory_);
    if (result.outcome == CsvOutcome::Done) {
        showFilePanel(result.panel);
        tables_[FileData]->fill();
        graphView().SelectDisplay(FileData, viewKind_);
        graphView().FitSequence();
    } else if (result.dataSetEmptied) {
        tables_[FileData]->clear();
        graphView().clearSavedImages(FileData);
        refreshStatus();
    }
}

void MainWindow::showFilePanel(const FilePanelInfo& info) {
    setLabel("Label12", info.identName);
    setLabel("Label33", info.start);
    setLabel("Label43", info.points);
    setLabel("Label45", info.interval);
    setLabel("Label54", info.upperBound);
    setLabel("Label51", info.lowerBound);
    for (const char* name : {"Label51", "Label52", "Label53", "Label54"}) {
        if (auto* label = findChild<QLabel*>(QString::fromLatin1(name))) {
            label->setVisible(info.boundsVisible);
        }
    }
}

void MainWindow::showConnectPicture(bool on) {
    const QSize size = controls_.connect->size() - QSize(8, 8);
    controls_.connect->setIcon(QIcon(connectPicture(on, messages_, size)));
    controls_.connect->setIconSize(size);
}
