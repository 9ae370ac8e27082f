// The main window's construction, its wiring of clicks to the operations, its shell lists and
// its status bar.
#include "app/mainwindow.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QFont>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>

#include "app/connectpictures.h"
#include "app/mainframe.h"
#include "app/windowdisplay.h"
#include "app/windowprint.h"
#include "data/controlid.h"
#include "data/prompter.h"
#include "data/twips.h"
#include "graph/graphpanel.h"
#include "graph/graphview.h"
#include "link/waiter.h"
#include "ui/datatable.h"
#include "ui/progressdialog.h"
#include "ui/qtdialoghost.h"

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

// The repeat of a continuous run as the unit options and the count list show it.
MeasurementRepeat chosenRepeat(const WidgetControls& controls, const QComboBox& counts) {
    const auto* minutes = controls.as<QAbstractButton>(ControlId::Option4);
    const bool inMinutes = minutes != nullptr && minutes->isChecked();
    return {inMinutes ? MeasurementRepeat::Unit::Minutes : MeasurementRepeat::Unit::Seconds,
            counts.currentText().toInt()};
}

}  // namespace

MainWindow::MainWindow(const MainWindowDependencies& dependencies, QWidget* parent)
    : QMainWindow(parent),
      port_(dependencies.port),
      prompter_(dependencies.prompter),
      programDirectory_(dependencies.programDirectory),
      scratchDirectory_(dependencies.scratchDirectory.isEmpty() ? dependencies.programDirectory
                                                                : dependencies.scratchDirectory),
      lock_(dependencies.programDirectory),
      settings_(dependencies.programDirectory),
      timers_(this) {
    setObjectName(QLatin1String(controlName(ControlId::Form1)));
    // The message table in English; the download speed starts fast.
    messages_.fill(Language::English);
    session_ = std::make_unique<Session>(port_, timers_, prompter_, messages_, dataSets_);
    buildWindow();
    for (const QString& problem : controls_.registerFrom(this)) {
        qWarning("control not registered: %s", qPrintable(problem));
    }
    controls_.applyCaptions(messages_);
    setWindowTitle(messages_.text(kTitleMessage));

    display_ = std::make_unique<WindowDisplay>(graphView(), tables_);
    pointer_ = std::make_unique<WindowPointer>();
    dialogHost_ = std::make_unique<QtDialogHost>(this, controls_, messages_);
    progress_ = std::make_unique<ProgressDialog>(messages_);
    controls_.add(ControlId::Form3, progress_.get());
    context_ = std::make_unique<Context>(Context{
        *session_, dependencies.waiter, controls_, *display_, *pointer_,
        dependencies.dialogs != nullptr ? *dependencies.dialogs : *dialogHost_, *progress_});
    operations_ = std::make_unique<Operations>(*context_, dependencies.device);
    printing_ = std::make_unique<WindowPrinting>(dataSets_, graphView(), tables_, *session_,
                                                 operations_->files(), messages_);
    timers_.arm(TimerId::DCheck, kDeviceCheckMs);

    fillShellLists();
    controls_.setVisible(
        {ControlId::Label51, ControlId::Label52, ControlId::Label53, ControlId::Label54}, false);
    // Each data set starts with the window's initial graph view.
    for (int index : {LogData, RealTimeData, FileData}) {
        graphView().SaveGraphView(index);
    }
    connectControls();
}

MainWindow::~MainWindow() = default;

void MainWindow::buildWindow() {
    layout_ = buildMainContent(messages_);
    graphView().setDataSets(&dataSets_[LogData], &dataSets_[RealTimeData], &dataSets_[FileData]);
    graphView().setMessages(&messages_);
    buildTables();
    frame_ = new MainFrame(layout_.content, this);
    setCentralWidget(frame_);
    menu_ = buildMainMenu(menuBar(), messages_);
    buildStatusBar();
    applySizeLimits();
}

void MainWindow::buildTables() {
    for (int i = 0; i < 3; ++i) {
        auto* table = new DataTableView(i, dataSets_[static_cast<DataSetIndex>(i)], messages_);
        replacePlaceholder(layout_.content, controlName(tablePaneOf(i)), table);
        layout_.tablePanes[i] = table;
        tables_[i] = table;
        connect(table, &DataTableView::statusTextChanged, this,
                [this](const QString& text) { setStatusText(2, text); });
    }
}

GraphView& MainWindow::graphView() {
    return layout_.graphPanel->view();
}

void MainWindow::showPrintDialog() {
    printing_->showDialog(display_->shown(), display_->viewKind(), this);
}

PrintOperations& MainWindow::printing() {
    return printing_->operations();
}

std::uint8_t MainWindow::Disp_stat() const {
    return display_->shown();
}

void MainWindow::buildStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setFixedHeight(twips(kStatusBarHeight));
    bar->setSizeGripEnabled(true);
    const ControlId names[] = {ControlId::StatusBar1Panel1, ControlId::StatusBar1Panel2,
                               ControlId::StatusBar1Panel3};
    for (int i = 0; i < 3; ++i) {
        auto* panel = new QLabel(bar);
        panel->setObjectName(QLatin1String(controlName(names[i])));
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
    bar->addPermanentWidget(statusPanels_[2]);
}

QString MainWindow::statusText(int panel) const {
    return panel >= 1 && panel <= 3 ? statusPanels_[panel - 1]->text() : QString();
}

void MainWindow::setStatusText(int panel, const QString& text) {
    if (panel >= 1 && panel <= 3) {
        statusPanels_[panel - 1]->setText(text);
    }
}

void MainWindow::connectControls() {
    GraphView& view = graphView();
    // The option's state, not a mouse click: a screen reader checks an option without one.
    connect(layout_.dataSetChoice, &QButtonGroup::idToggled, &view, [&view](int id, bool on) {
        if (on) {
            view.chooseDataSet(id);
        }
    });
    connect(layout_.viewChoice, &QButtonGroup::idToggled, &view, [&view](int id, bool on) {
        if (on) {
            view.chooseViewKind(id);
        }
    });
    connect(&view, &GraphView::displayChanged, this, [this] { refreshStatus(); });
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

    Operations& ops = *operations_;
    connect(menu_.m14, &QAction::triggered, this, &MainWindow::End);
    connect(menu_.m11, &QAction::triggered, this, [this] { openCsv(); });
    connect(menu_.m122, &QAction::triggered, this, [this] { saveCsv(LogData); });
    connect(menu_.m121, &QAction::triggered, this, [this] { saveCsv(RealTimeData); });
    connect(menu_.D_M_Fast, &QAction::triggered, this,
            [&ops] { ops.connection().D_M_Fast_Click(); });
    connect(menu_.D_M_Slow, &QAction::triggered, this,
            [&ops] { ops.connection().D_M_Slow_Click(); });
    connect(menu_.m13, &QAction::triggered, this, [this] { showPrintDialog(); });
    connect(menu_.m33, &QAction::triggered, this, [&ops] { ops.tools().m33_Click(); });
    connect(menu_.m34, &QAction::triggered, this, [&ops] { ops.tools().m34_Click(); });
    connect(menu_.m35, &QAction::triggered, this, [&ops] { ops.tools().m35_Click(); });
    connect(menu_.m41, &QAction::triggered, this, [&ops] { ops.tools().m41_Click(); });
    connect(menu_.m42, &QAction::triggered, this, [&ops] { ops.tools().m42_Click(); });

    const struct {
        ControlId id;
        std::function<void()> action;
    } buttons[] = {
        {ControlId::Command14, [this] { openCsv(); }},
        {ControlId::Command21, [this] { saveCsv(LogData); }},
        {ControlId::Command22, [this] { saveCsv(RealTimeData); }},
        {ControlId::Command20, [this] { Port_Set_Command(QString(), Portnum()); }},
        {ControlId::Command27, [&ops] { ops.connection().Command27_Click(); }},
        {ControlId::Command11, [this] { Command11_Click(*session_); }},
        {ControlId::Command5, [&ops] { ops.download().Command5_Click(); }},
        {ControlId::Command1, [&ops] { ops.realTime().Command1_Click(); }},
        {ControlId::Command2,
         [this, &ops] {
             ops.realTime().Command2_Click(chosenRepeat(controls_, *layout_.measurementCount));
         }},
        {ControlId::Option3, [&ops] { ops.realTime().Option3_Click(); }},
        {ControlId::Option4, [&ops] { ops.realTime().Option4_Click(); }},
        {ControlId::Command4, [&ops] { ops.recording().Command4_Click(); }},
        {ControlId::Command23, [this] { showPrintDialog(); }},
        {ControlId::Command24, [this] { showPrintDialog(); }},
        {ControlId::Command25, [this] { showPrintDialog(); }},
    };
    for (const auto& button : buttons) {
        if (auto* widget = controls_.as<QAbstractButton>(button.id)) {
            connect(widget, &QAbstractButton::clicked, this, button.action);
        }
    }
    connect(layout_.connect, &QPushButton::toggled, this, &MainWindow::showConnectPicture);
    connect(layout_.baud, &QComboBox::textActivated, this, &MainWindow::baudChosen);
    connect(layout_.model, &QComboBox::textActivated, this, &MainWindow::modelChosen);
    connect(layout_.selector, &QComboBox::textActivated, this, &MainWindow::selectorChosen);
}

void MainWindow::fillShellLists() {
    session_->Port_Setting_N_P = kDefaultBaud;
    layout_.baud->addItems(kBaudRates);
    setComboText(layout_.baud, session_->Port_Setting_N_P);
    layout_.model->addItems(kModels);
    setComboText(layout_.model, session_->state().Machine_N_P);
}

void MainWindow::fillIntervalLists() {
    layout_.intervalCount->clear();
    layout_.intervalCount->addItems(numbers(2, 59));
    setComboText(layout_.intervalCount, QStringLiteral("5"));
    layout_.selector->clear();
    layout_.selector->addItems(numbers(1, 255));
    layout_.measurementCount->clear();
    layout_.measurementCount->addItems(numbers(2, 60));
    setComboText(layout_.measurementCount, QStringLiteral("5"));
}

void MainWindow::baudChosen(const QString& text) {
    session_->Port_Setting_N_P = text;
}

void MainWindow::modelChosen(const QString& text) {
    session_->state().Machine_N_P = text;
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

void MainWindow::showConnectPicture(bool on) {
    const QSize size = layout_.connect->size() - QSize(8, 8);
    layout_.connect->setIcon(QIcon(connectPicture(on, messages_, size)));
    layout_.connect->setIconSize(size);
}

void MainWindow::applySizeLimits() {
    const int chrome = menuBar()->sizeHint().height() + twips(kStatusBarHeight);
    setMinimumSize(MainFrame::minimumWindowSize());
    // No maximum size hint: with one, the window manager would not let a maximised window fill
    // the screen. The normal state is held to the layout in resizeEvent instead.
    designedSize_ = frame_->maximumWindowSize(chrome);
}

bool MainWindow::normalState() const {
    return (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized)) ==
           0;
}

QMargins MainWindow::frameMargins() const {
    const QRect outer = frameGeometry();
    const QRect inner = geometry();
    const QMargins known(inner.left() - outer.left(), inner.top() - outer.top(),
                         outer.right() - inner.right(), outer.bottom() - inner.bottom());
    if (!known.isNull() || isVisible()) {
        return known;
    }
    // Before the window is shown its frame is unknown; a title bar is expected.
    return QMargins(0, style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this), 0, 0);
}

void MainWindow::fitToScreen() {
    const QScreen* screen = this->screen() ? this->screen() : QApplication::primaryScreen();
    if (screen == nullptr || !normalState()) {
        return;
    }
    const QRect fitted = MainFrame::fittedGeometry(
        geometry(), frameMargins(), screen->availableGeometry(), designedSize_, minimumSize());
    if (!isVisible()) {
        // The window manager places a window that was never moved.
        resize(fitted.size());
    } else if (fitted != geometry()) {
        setGeometry(fitted);
    }
}

void MainWindow::showEvent(QShowEvent* event) {
    applySizeLimits();
    QMainWindow::showEvent(event);
    if (!shownOnce_) {
        shownOnce_ = true;
        // The frame the window manager adds is known only once the window is on the screen.
        QTimer::singleShot(0, this, &MainWindow::fitToScreen);
    }
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    const QSize size = event->size();
    if (normalState() && !clampPending_ &&
        (size.width() > designedSize_.width() || size.height() > designedSize_.height())) {
        // Held back until the state settles: a maximise may report its size before its state.
        clampPending_ = true;
        QTimer::singleShot(0, this, [this] {
            clampPending_ = false;
            if (normalState()) {
                resize(this->size().boundedTo(designedSize_));
            }
        });
    }
}
