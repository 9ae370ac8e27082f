// The main window (Form1): owns everything the program holds for the whole run (port, timers,
// logger model, data sets, message table, views) and offers the public operations and
// properties the dialogs and operations use. Start-up and shutdown follow a fixed order.
#pragma once

#include <QMainWindow>
#include <QString>
#include <array>
#include <cstdint>
#include <memory>

#include "app/instancelock.h"
#include "app/mainlayout.h"
#include "app/qttimerset.h"
#include "app/settingsfile.h"
#include "data/csv.h"
#include "data/dataset.h"
#include "data/datasets.h"
#include "data/messagetable.h"
#include "data/sample.h"
#include "link/engine.h"
#include "link/loggermodel.h"
#include "link/loggerstate.h"
#include "operations/connect.h"
#include "operations/downloadop.h"
#include "operations/statusrefresh.h"
#include "ui/mainmenu.h"

class CbusDevice;
class DataTableView;
class GraphPanel;
class GraphView;
class MainFrame;
class Prompter;
class QLabel;
class SerialPort;
class Waiter;

// What the window is built from; tests pass the simulator and scripted fakes.
struct MainWindowDependencies {
    SerialPort& port;
    CbusDevice& device;
    Prompter& prompter;
    Waiter& waiter;
    QString programDirectory;
};

class MainWindow : public QMainWindow,
                   public EngineHost,
                   public LoggerView,
                   public ConnectHost,
                   public DownloadHost {
    Q_OBJECT
  public:
    static constexpr std::uint8_t kLanguageEnglish = 1;
    static inline const QString kDefaultBaud = QStringLiteral("57600");
    static constexpr int kDeviceCheckMs = 500;

    explicit MainWindow(const MainWindowDependencies& dependencies, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The start-up steps that touch files and the logger picture. False (and nothing touched)
    // when another copy of the program runs from the same directory.
    bool startUp();
    bool started() const { return started_; }

    // Properties the dialogs read and write.
    QString Machine_N_P() const { return state_.Machine_N_P; }
    QString Port_Setting_N_P() const { return connection_->Port_Setting_N_P; }
    QString VT_Name() const { return state_.VT_Name; }
    QString F_W_Ver() const { return state_.F_W_Ver; }
    std::int16_t Portnum() const { return connection_->Portnum; }
    std::uint8_t Disp_stat() const { return dispStat_; }
    std::int16_t numberSelector() const { return selector_; }
    std::uint8_t languageSelector() const { return language_; }
    std::uint8_t downloadSpeedMode() const { return state_.Download_Mode; }
    bool closing() const { return closing_; }
    // The directory the file dialogs last changed to; stored by Save.
    QString lastDirectory() const { return lastDirectory_; }
    void setLastDirectory(const QString& directory) { lastDirectory_ = directory; }

    // Rewrites Logger.ini with Portnum, the number selector and the last directory.
    void Save();
    // Waits while timer ticks and clicks keep running.
    void Wait(int waittime);
    // Disables the procedure timers and clears their intervals.
    void stopAllTimers();
    // Save-before-communication check: asks `message` when the data set is unsaved and runs
    // its CSV save on Yes.
    void offerToSave(DataSetIndex index, int message);
    // File > End: closes the main window, which runs the shutdown.
    void End();
    // Ends the running procedure: stops its timers and refreshes the status panel.
    void Pro_End();
    // The connect/disconnect toggle ("Once": only Portnumber, else ports 1..16) and the
    // attempt on one port.
    void Port_Set_Command(const QString& Mode, int Portnumber);
    void Port_Set_Once(int Portnumber);
    // Ends a running download after the record in flight.
    void Download_Cancel();
    // The status refresh with the window's display choices.
    void refreshStatus();
    // CSV save of the log or real-time data set (menu items, Save buttons, save questions).
    void saveCsv(DataSetIndex index) override;
    // CSV open into the file data set, which is then displayed and fitted.
    void openCsv();
    // The connect button's on or off picture for the language in use.
    void showConnectPicture(bool on);

    // Selector clicks of the shell's lists.
    void baudChosen(const QString& text);
    void modelChosen(const QString& text);
    void selectorChosen(const QString& text);

    const MessageTable& messages() const { return messages_; }
    Prompter& prompter() { return prompter_; }
    QtTimerSet& timers() { return timers_; }
    const MainControls& controls() const { return controls_; }
    MainFrame* frame() const { return frame_; }
    LoggerState& loggerState() { return state_; }
    DataSets& dataSets() { return dataSets_; }
    Engine& engine() { return *engine_; }
    Connection& connection() { return *connection_; }
    StatusRefresh& statusRefresh() { return *refresh_; }
    DownloadOperation& download() { return *download_; }
    GraphPanel* graphPanel() const { return graphPanel_; }
    GraphView& graphView();
    const MainMenu& menu() const { return menu_; }
    DataTableView* table(DataSetIndex index) const { return tables_[index]; }
    QString programDirectory() const { return programDirectory_; }
    QString statusText(int panel) const;
    void setStatusText(int panel, const QString& text);

    // EngineHost.
    void showFailure(int firstMessage, int secondMessage) override;
    void setBusyPointer(bool busy) override;
    void procedureEnded() override;
    void portLost() override;

    // ConnectHost.
    bool isUnsaved(DataSetIndex index) override;
    void clearDataSets() override;

    // DownloadHost.
    void saveLogData() override;
    void downloadStarting() override;
    void showLogData() override;

    // LoggerView.
    void batteryLabel(const QString& text, bool low) override;
    void clockLabel(const QString& text) override;
    void realTimeReadout(const RealTimeReadout& readout) override;
    void realTimeSampleAdded() override;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void buildWindow();
    void buildStatusBar();
    void connectControls();
    void fillShellLists();
    void fillIntervalLists();
    void applySizeLimits();
    void fitToScreen();
    void shutDown();
    void buildTables();
    void buildMenu();
    void connectLink();
    void connectView();
    // The display changed (options, menu, data arrival): panes, label and option buttons.
    void displayChanged(int index, int kind);
    void replaceStatusPlaceholders();
    void showFilePanel(const FilePanelInfo& info);
    void setLabel(const char* name, const QString& text);

    SerialPort& port_;
    CbusDevice& device_;
    Prompter& prompter_;
    Waiter& waiter_;
    QString programDirectory_;
    InstanceLock lock_;
    SettingsFile settings_;

    MessageTable messages_;
    std::uint8_t language_ = kLanguageEnglish;
    LoggerState state_;
    DataSets dataSets_;
    Sample sampleBuffer_;
    QtTimerSet timers_;
    std::unique_ptr<Engine> engine_;
    std::unique_ptr<LoggerModel> model_;
    std::unique_ptr<Connection> connection_;
    std::unique_ptr<StatusRefresh> refresh_;
    std::unique_ptr<DownloadOperation> download_;
    bool busyPointer_ = false;

    std::int16_t selector_ = 1;
    std::uint8_t dispStat_ = 0;
    int viewKind_ = 0;
    QString lastDirectory_;
    bool started_ = false;
    bool shutDown_ = false;
    bool closing_ = false;

    MainControls controls_;
    MainFrame* frame_ = nullptr;
    GraphPanel* graphPanel_ = nullptr;
    std::array<DataTableView*, 3> tables_{};
    MainMenu menu_;
    std::array<QLabel*, 2> statusPanels_{};
};
