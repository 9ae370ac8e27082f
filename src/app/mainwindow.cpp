// The main window's construction, its shell lists and its public operations.
#include "app/mainwindow.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QFont>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>

#include "app/mainframe.h"
#include "data/prompter.h"
#include "graph/graphpanel.h"
#include "graph/graphview.h"
#include "link/waiter.h"
#include "operations/statuspanel.h"
#include "ui/datatable.h"

namespace {

constexpr int kTitleMessage = 1009;
constexpr int kStatusBarHeight = 300;
constexpr int kStatusBarTopGap = 4;
constexpr int kStatusFontPoints = 8;
constexpr int kStatusPanel1Width = 3300;

const QStringList kBaudRates = {"9600", "14400", "19200", "38400", "57600", "115200"};
const QStringList kModels = {kModelQM300, kModelQM320, kModelQM400};

QStringList numbers(int first, int last) {
    QStringList list;
    for (int i = first; i <= last; ++i) {
        list.append(QString::number(i));
    }
    return list;
}

// Shows `text` in a list; a text that is not one of the items is shown as the list's
// placeholder, as a list with free text would show it.
void setComboText(QComboBox* combo, const QString& text) {
    const int index = combo->findText(text);
    combo->setCurrentIndex(index);
    if (index < 0) {
        combo->setPlaceholderText(text);
    }
}

}  // namespace

MainWindow::MainWindow(const MainWindowDependencies& dependencies, QWidget* parent)
    : QMainWindow(parent),
      port_(dependencies.port),
      device_(dependencies.device),
      prompter_(dependencies.prompter),
      waiter_(dependencies.waiter),
      programDirectory_(dependencies.programDirectory),
      lock_(dependencies.programDirectory),
      settings_(dependencies.programDirectory),
      timers_(this) {
    setObjectName(QStringLiteral("Form1"));
    // Message table in English, download speed fast.
    language_ = kLanguageEnglish;
    messages_.fill(Language::English);
    state_.Download_Mode = 0;
    buildWindow();
    connectLink();
    setWindowTitle(messages_.text(kTitleMessage));
    timers_.arm(TimerId::DCheck, kDeviceCheckMs);

    connection_->Port_Setting_N_P = kDefaultBaud;
    fillShellLists();
    for (const char* name : {"Label51", "Label52", "Label53", "Label54"}) {
        if (auto* label = controls_.content->findChild<QWidget*>(QString::fromLatin1(name))) {
            label->hide();
        }
    }
    controls_.frame5->hide();
    // Each data set starts with the window's initial graph view.
    for (int index : {LogData, RealTimeData, FileData}) {
        graphView().SaveGraphView(index);
    }
    dispStat_ = LogData;
    connectControls();
    connectView();
}

MainWindow::~MainWindow() = default;

void MainWindow::buildWindow() {
    controls_ = buildMainContent(messages_);
    replaceStatusPlaceholders();
    graphPanel_ = controls_.graphPanel;
    graphView().setDataSets(&dataSets_[LogData], &dataSets_[RealTimeData], &dataSets_[FileData]);
    graphView().setMessages(&messages_);
    buildTables();
    frame_ = new MainFrame(controls_.content, this);
    setCentralWidget(frame_);
    menuBar()->setObjectName(QStringLiteral("menuBar"));
    menu_ = buildMainMenu(menuBar(), messages_);
    buildStatusBar();
    applySizeLimits();
}

void MainWindow::buildTables() {
    for (int i = 0; i < 3; ++i) {
        auto* table = new DataTableView(i, dataSets_[static_cast<DataSetIndex>(i)], messages_);
        replacePlaceholder(controls_.content, table->objectName().toLatin1().constData(), table);
        controls_.tablePanes[i] = table;
        tables_[i] = table;
        connect(table, &DataTableView::statusTextChanged, this,
                [this](const QString& text) { setStatusText(2, text); });
    }
}

void MainWindow::replaceStatusPlaceholders() {
    auto* panel = new StatusPanel;
    auto* name = new IdentNameFrame;
    auto* communication = new CommunicationFrame;
    panel->applyCaptions(messages_);
    name->applyCaptions(messages_);
    communication->applyCaptions(messages_);
    replacePlaceholder(controls_.content, "Frame13", panel);
    placeLogPane(panel);
    // The status caption Label31 shares its name with a range label of the graph panel; the
    // refresh finds controls by name, so the log pane comes first among the content's children.
    panel->lower();
    replacePlaceholder(controls_.content, "Frame11", name);
    replacePlaceholder(controls_.content, StatusNames::CommunicationFrame, communication);
    controls_.logPane = panel;
}

GraphView& MainWindow::graphView() {
    return graphPanel_->view();
}

void MainWindow::buildStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setFixedHeight(twips(kStatusBarHeight));
    bar->setSizeGripEnabled(true);
    for (int i = 0; i < 2; ++i) {
        auto* panel = new QLabel(bar);
        panel->setObjectName(QStringLiteral("StatusBar1Panel%1").arg(i + 1));
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        // The bar keeps a few pixels above its items; a panel sized by the default font would
        // overhang the bar's fixed height and lose its bottom edge and descenders.
        panel->setFixedHeight(twips(kStatusBarHeight) - kStatusBarTopGap);
        QFont font = panel->font();
        font.setPointSize(kStatusFontPoints);
        panel->setFont(font);
        statusPanels_[i] = panel;
    }
    statusPanels_[0]->setFixedWidth(twips(kStatusPanel1Width));
    bar->addWidget(statusPanels_[0]);
    bar->addWidget(statusPanels_[1], 1);
}

QString MainWindow::statusText(int panel) const {
    return panel >= 1 && panel <= 2 ? statusPanels_[panel - 1]->text() : QString();
}

void MainWindow::setStatusText(int panel, const QString& text) {
    if (panel >= 1 && panel <= 2) {
        statusPanels_[panel - 1]->setText(text);
    }
}

void MainWindow::fillShellLists() {
    controls_.baud->addItems(kBaudRates);
    setComboText(controls_.baud, connection_->Port_Setting_N_P);
    controls_.model->addItems(kModels);
    setComboText(controls_.model, state_.Machine_N_P);
}

void MainWindow::fillIntervalLists() {
    controls_.intervalCount->clear();
    controls_.intervalCount->addItems(numbers(2, 59));
    setComboText(controls_.intervalCount, QStringLiteral("5"));
    controls_.selector->clear();
    controls_.selector->addItems(numbers(1, 255));
    controls_.measurementCount->clear();
    controls_.measurementCount->addItems(numbers(2, 60));
    setComboText(controls_.measurementCount, QStringLiteral("5"));
}

void MainWindow::connectControls() {
    connect(controls_.baud, &QComboBox::textActivated, this, &MainWindow::baudChosen);
    connect(controls_.model, &QComboBox::textActivated, this, &MainWindow::modelChosen);
    connect(controls_.selector, &QComboBox::textActivated, this, &MainWindow::selectorChosen);
}

void MainWindow::baudChosen(const QString& text) {
    connection_->Port_Setting_N_P = text;
}

void MainWindow::modelChosen(const QString& text) {
    state_.Machine_N_P = text;
    setWindowTitle(messages_.text(kTitleMessage) + text);
}

void MainWindow::selectorChosen(const QString& text) {
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < 1 || value > 255) {
        return;
    }
    selector_ = static_cast<std::int16_t>(value);
    Save();
}

void MainWindow::Save() {
    settings_.save(LoggerSettings{connection_->Portnum, selector_, lastDirectory_});
}

void MainWindow::Wait(int waittime) {
    waiter_.wait(waittime);
}

void MainWindow::stopAllTimers() {
    timers_.stopProcedureTimers();
}

void MainWindow::offerToSave(DataSetIndex index, int message) {
    if (!dataSets_[index].unsaved) {
        return;
    }
    if (prompter_.question(state_.Machine_N_P, messages_.text(message))) {
        saveCsv(index);
    }
}

void MainWindow::End() {
    close();
}

void MainWindow::applySizeLimits() {
    const int chrome = menuBar()->sizeHint().height() + twips(kStatusBarHeight);
    setMinimumSize(MainFrame::minimumWindowSize());
    setMaximumSize(frame_->maximumWindowSize(chrome));
}

void MainWindow::fitToScreen() {
    const QScreen* screen = this->screen() ? this->screen() : QApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    resize(screen->availableGeometry().size().boundedTo(maximumSize()));
}

void MainWindow::showEvent(QShowEvent* event) {
    applySizeLimits();
    QMainWindow::showEvent(event);
}
