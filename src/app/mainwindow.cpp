// The main window's construction, its wiring of clicks to the operations and the choices in
// its shell lists.
#include "app/mainwindow.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>

#include "app/connectpictures.h"
#include "app/mainframe.h"
#include "app/setupreport.h"
#include "app/shelllists.h"
#include "app/unsaveddata.h"
#include "app/windowdisplay.h"
#include "app/windowfigures.h"
#include "app/windowprint.h"
#include "app/windowsizing.h"
#include "controls/controlid.h"
#include "graph/graphpanel.h"
#include "graph/graphview.h"
#include "operations/recordingarchive.h"
#include "ui/datatable.h"
#include "ui/exportsizedialog.h"
#include "ui/progressdialog.h"
#include "ui/qtdialoghost.h"

namespace {
// The repeat of a continuous run as the unit options and the count list show it.
MeasurementRepeat chosenRepeat(const WidgetControls& controls, const QComboBox& counts) {
    const auto* minutes = controls.as<QAbstractButton>(ControlId::RepeatMinutesOption);
    const bool inMinutes = minutes != nullptr && minutes->isChecked();
    return {inMinutes ? MeasurementRepeat::Unit::Minutes : MeasurementRepeat::Unit::Seconds,
            counts.currentText().toInt()};
}

// The log pane's buttons as the refresh key and Ctrl+D. A button's own shortcut would go with
// its next caption; these press it only while it shows and is enabled, as a click would.
void giveShortcuts(QWidget* window, const WidgetControls& controls) {
    const struct {
        ControlId id;
        QKeySequence keys;
    } shortcuts[] = {{ControlId::UpdateButton, QKeySequence(Qt::Key_F5)},
                     {ControlId::DownloadButton, QKeySequence(Qt::CTRL | Qt::Key_D)}};
    for (const auto& shortcut : shortcuts) {
        QAbstractButton* button = controls.as<QAbstractButton>(shortcut.id);
        if (button == nullptr) {
            continue;
        }
        auto* keys = new QShortcut(shortcut.keys, window);
        QObject::connect(keys, &QShortcut::activated, button, [button] {
            if (button->isVisible() && button->isEnabled()) {
                button->click();
            }
        });
    }
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
    setObjectName(QLatin1String(controlName(ControlId::MainWindow)));
    // The message table in English; the download speed starts fast.
    messages_.fill(Language::English);
    session_ = std::make_unique<Session>(port_, timers_, prompter_, messages_, dataSets_);
    buildWindow();
    for (const QString& problem : controls_.registerFrom(this)) {
        qWarning("control not registered: %s", qPrintable(problem));
    }
    controls_.applyCaptions(messages_);
    giveShortcuts(this, controls_);
    setWindowTitle(messages_.text(Msg::WindowTitle));

    display_ = std::make_unique<WindowDisplay>(graphView(), tables_);
    pointer_ = std::make_unique<WindowPointer>();
    dialogHost_ = std::make_unique<QtDialogHost>(this, controls_, messages_);
    progress_ = std::make_unique<ProgressDialog>(messages_);
    controls_.add(ControlId::ProgressDialog, progress_.get());
    context_ = std::make_unique<Context>(Context{
        *session_, dependencies.waiter, controls_, *display_, *pointer_,
        dependencies.dialogs != nullptr ? *dependencies.dialogs : *dialogHost_, *progress_});
    if (dependencies.archiveLocation) {
        archive_ = std::make_unique<DatabaseArchive>(*dependencies.archiveLocation);
        context_->archive = archive_.get();
    }
    operations_ = std::make_unique<Operations>(*context_, dependencies.device);
    operations_->connection().setConnectsByItself(dependencies.connectsByItself);
    printing_ = std::make_unique<WindowPrinting>(dataSets_, graphView(), tables_, *session_,
                                                 operations_->files(), messages_);
    unsavedData_ = std::make_unique<UnsavedData>(programDirectory_, dataSets_, operations_->files(),
                                                 prompter_, messages_);
    figures_ = std::make_unique<WindowFigures>(
        *layout_.graphPanel, *session_, messages_, this,
        [this](QSize proposed) { return ExportSizeDialog::ask(proposed, messages_, this); });
    timers_.arm(TimerId::DCheck, kDeviceCheckMs);

    session_->Port_Setting_N_P = kDefaultBaud;
    fillLineLists(layout_, session_->Port_Setting_N_P, session_->state().Machine_N_P);
    controls_.setVisible({ControlId::FileLowerBoundText, ControlId::FileLowerBoundCaption,
                          ControlId::FileUpperBoundCaption, ControlId::FileUpperBoundText},
                         false);
    // Each data set starts with the window's initial graph view.
    for (int index : {LogData, RealTimeData, FileData}) {
        graphView().saveGraphView(index);
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
    statusPanels_ = std::make_unique<StatusPanels>(statusBar());
    sizing_ = new WindowSizing(*this, *frame_);
    sizing_->applySizeLimits();
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

QSize MainWindow::designedSize() const {
    return sizing_->designedSize();
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
    } displayItems[] = {
        {menu_.logGraphItem, LogData, 0},           {menu_.logDumpItem, LogData, 1},
        {menu_.realTimeGraphItem, RealTimeData, 0}, {menu_.realTimeDumpItem, RealTimeData, 1},
        {menu_.fileGraphItem, FileData, 0},         {menu_.fileDumpItem, FileData, 1}};
    for (const auto& item : displayItems) {
        connect(item.action, &QAction::triggered, this,
                [this, index = item.index, kind = item.kind] {
                    graphView().selectFromMenu(index, kind);
                });
    }

    Operations& ops = *operations_;
    connect(menu_.endItem, &QAction::triggered, this, &MainWindow::close);
    connect(menu_.openItem, &QAction::triggered, this, [this] { openCsv(); });
    connect(menu_.saveLogItem, &QAction::triggered, this, [this] { saveCsv(LogData); });
    connect(menu_.saveRealTimeItem, &QAction::triggered, this, [this] { saveCsv(RealTimeData); });
    connect(menu_.fastDownloadItem, &QAction::triggered, this,
            [&ops] { ops.connection().D_M_Fast_Click(); });
    connect(menu_.slowDownloadItem, &QAction::triggered, this,
            [&ops] { ops.connection().D_M_Slow_Click(); });
    connect(menu_.printItem, &QAction::triggered, this, [this] { showPrintDialog(); });
    connect(menu_.clockItem, &QAction::triggered, this, [&ops] { ops.tools().openClockDialog(); });
    connect(menu_.identNameItem, &QAction::triggered, this,
            [&ops] { ops.tools().openNameDialog(); });
    connect(menu_.communicationItem, &QAction::triggered, this,
            [&ops] { ops.tools().openPortDialog(); });
    connect(menu_.versionItem, &QAction::triggered, this, [&ops] { ops.tools().showVersion(); });
    connect(menu_.webPageItem, &QAction::triggered, this, [&ops] { ops.tools().openWebPage(); });
    connect(menu_.checkSetupItem, &QAction::triggered, this,
            [this, &ops] { ops.tools().showSetupCheck(setupReportHere(messages_)); });
    connect(menu_.diagnosticReportItem, &QAction::triggered, this,
            [this] { saveDiagnosticReport(); });
    connect(menu_.statisticsItem, &QAction::triggered, this,
            [this] { figures_->showStatistics(); });
    connect(menu_.dewPointItem, &QAction::toggled, this,
            [this](bool on) { figures_->setDewPointLine(on); });
    // Only the user's choice is written back; start-up restores it without a write.
    connect(menu_.dewPointItem, &QAction::triggered, this, [this] { Save(); });
    connect(menu_.exportGraphItem, &QAction::triggered, this,
            [this] { figures_->exportGraph(lastDirectory()); });

    const struct {
        ControlId id;
        std::function<void()> action;
    } buttons[] = {
        {ControlId::OpenFileButton, [this] { openCsv(); }},
        {ControlId::SaveLogButton, [this] { saveCsv(LogData); }},
        {ControlId::SaveRealTimeButton, [this] { saveCsv(RealTimeData); }},
        {ControlId::ConnectButton,
         [this, &ops] { ops.connection().Port_Set_Command({}, Portnum()); }},
        {ControlId::InitialiseButton, [&ops] { ops.connection().initialise(); }},
        {ControlId::UpdateButton, [this] { readStatus(*session_); }},
        {ControlId::DownloadButton, [&ops] { ops.download().startDownload(); }},
        {ControlId::MeasureOnceButton, [&ops] { ops.realTime().measureOnce(); }},
        {ControlId::ContinuousButton,
         [this, &ops] {
             ops.realTime().startOrStopContinuous(
                 chosenRepeat(controls_, *layout_.measurementCount));
         }},
        {ControlId::RepeatSecondsOption, [&ops] { ops.realTime().chooseSeconds(); }},
        {ControlId::RepeatMinutesOption, [&ops] { ops.realTime().chooseMinutes(); }},
        {ControlId::StartStopButton, [&ops] { ops.recording().startOrStop(); }},
        {ControlId::PrintRealTimeButton, [this] { showPrintDialog(); }},
        {ControlId::PrintLogButton, [this] { showPrintDialog(); }},
        {ControlId::PrintFileButton, [this] { showPrintDialog(); }},
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
    connect(menu_.saveFileItem, &QAction::triggered, this, [this] { saveCsv(FileData); });
    connectArchiveItems();
}

void MainWindow::connectArchiveItems() {
    Operations& ops = *operations_;
    for (QAction* item : {menu_.historyItem, menu_.addFileToArchiveItem, menu_.keepInArchiveItem}) {
        item->setVisible(archive_ != nullptr);
    }
    connect(menu_.historyItem, &QAction::triggered, this, [&ops] { ops.history().showHistory(); });
    connect(menu_.addFileToArchiveItem, &QAction::triggered, this,
            [&ops] { ops.history().addFileToArchive(); });
    connect(menu_.keepInArchiveItem, &QAction::triggered, this, [this, &ops](bool on) {
        ops.keeper().setEnabled(on);
        Save();
    });
}

void MainWindow::baudChosen(const QString& text) {
    session_->Port_Setting_N_P = text;
}

void MainWindow::modelChosen(const QString& text) {
    session_->state().Machine_N_P = text;
    setWindowTitle(messages_.text(Msg::WindowTitle) + text);
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
