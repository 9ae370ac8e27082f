// The main window: builds and wires everything the program holds for the whole run
// (the link session, the data sets, the views and the operations), registers its controls for
// the operations, and offers the public operations and properties the dialogs use, each a
// one-line forward. Start-up and shutdown follow a fixed order.
#pragma once

#include <QMainWindow>
#include <QSize>
#include <QString>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>

#include "app/instancelock.h"
#include "app/mainlayout.h"
#include "app/settingsfile.h"
#include "app/statuspanels.h"
#include "data/datasets.h"
#include "data/messagetable.h"
#include "link/qttimerset.h"
#include "link/session.h"
#include "operations/context.h"
#include "operations/operations.h"
#include "print/printoperations.h"
#include "ui/mainmenu.h"
#include "ui/widgetcontrols.h"

class CbusDevice;
class DataTableView;
class DialogHost;
class GraphView;
class MainFrame;
class ProgressDialog;
class RecordingArchive;
class Prompter;
class SerialPort;
class UnsavedData;
class Waiter;
class WindowDisplay;
class WindowFigures;
class WindowPointer;
class WindowPrinting;
class WindowSizing;

// What the window is built from; tests pass the simulator and scripted fakes.
struct MainWindowDependencies {
    SerialPort& port;
    CbusDevice& device;
    Prompter& prompter;
    Waiter& waiter;
    QString programDirectory;
    // Where the dialogs are shown; none: as Qt dialogs over the window.
    DialogHost* dialogs = nullptr;
    // Where the scratch files live; none: in programDirectory.
    QString scratchDirectory{};
    // Where downloads and runs are kept (empty: the environment's or the user's data folder);
    // none: nothing is kept and the archive's menu items are hidden.
    std::optional<QString> archiveLocation{};
    // The window connects by itself at start and when the logger is plugged in; tests of the
    // connect button turn it off.
    bool connectsByItself = true;
};

class MainWindow : public QMainWindow {
    Q_OBJECT
  public:
    static inline const QString kDefaultBaud = QStringLiteral("57600");
    static constexpr int kDeviceCheckMs = 500;

    explicit MainWindow(const MainWindowDependencies& dependencies, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The start-up steps that touch files and the logger picture. False (and nothing touched)
    // when another copy of the program runs from the same directory, or when the program
    // cannot start there: then startFailure() says why.
    bool startUp();
    bool started() const { return started_; }
    QString startFailure() const { return startFailure_; }

    // Properties the dialogs read and write.
    QString Machine_N_P() const { return session_->state().Machine_N_P; }
    QString Port_Setting_N_P() const { return session_->Port_Setting_N_P; }
    std::int16_t Portnum() const { return session_->Portnum; }
    std::uint8_t Disp_stat() const;
    std::int16_t numberSelector() const { return selector_; }
    std::uint8_t downloadSpeedMode() const { return session_->state().Download_Mode; }
    bool closing() const { return closing_; }
    QString lastDirectory() const { return operations_->files().lastDirectory; }
    void setLastDirectory(const QString& directory) {
        operations_->files().lastDirectory = directory;
    }

    // Public operations.
    void Save();
    // File > End with no one to answer (the session ends the program): a box waiting for an
    // answer is closed, and each unsaved data set is kept as a recovery file, not asked about.
    void endUnattended();
    void refreshStatus() { operations_->status().run(); }
    // Help > Save diagnostic report…
    void saveDiagnosticReport();
    void saveCsv(DataSetIndex index) { operations_->files().save(index); }
    void openCsv() { operations_->files().open(); }
    // Disables the procedure timers and clears their intervals.
    void stopAllTimers() { timers_.stopProcedureTimers(); }

    // Selector clicks of the shell's lists.
    void baudChosen(const QString& text);
    void modelChosen(const QString& text);
    void selectorChosen(const QString& text);

    const MessageTable& messages() const { return messages_; }
    QtTimerSet& timers() { return timers_; }
    Session& session() { return *session_; }
    DataSets& dataSets() { return dataSets_; }
    Operations& operations() { return *operations_; }
    PrintOperations& printing();
    WidgetControls& controls() { return controls_; }
    const MainControls& layout() const { return layout_; }
    MainFrame* frame() const { return frame_; }
    // The window size at which the whole layout shows, the largest of the normal state.
    QSize designedSize() const;
    GraphView& graphView();
    const MainMenu& menu() const { return menu_; }
    DataTableView* table(DataSetIndex index) const { return tables_[index]; }
    WindowFigures& figures() { return *figures_; }
    QString statusText(int panel) const { return statusPanels_->text(panel); }
    void setStatusText(int panel, const QString& text) { statusPanels_->setText(panel, text); }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildWindow();
    void buildTables();
    void connectControls();
    // Print buttons and menu item: the print dialog of the view on display.
    void showPrintDialog();
    void shutDown();
    void showConnectPicture(bool on);
    // The archive's menu items: wired, checked as the setting says, hidden without an archive.
    void connectArchiveItems();

    SerialPort& port_;
    Prompter& prompter_;
    QString programDirectory_;
    QString scratchDirectory_;
    InstanceLock lock_;
    SettingsFile settings_;

    MessageTable messages_;
    DataSets dataSets_;
    QtTimerSet timers_;
    std::unique_ptr<Session> session_;

    MainControls layout_;
    MainFrame* frame_ = nullptr;
    std::array<DataTableView*, 3> tables_{};
    MainMenu menu_;
    std::unique_ptr<StatusPanels> statusPanels_;
    WindowSizing* sizing_ = nullptr;

    WidgetControls controls_;
    std::unique_ptr<WindowDisplay> display_;
    std::unique_ptr<WindowPointer> pointer_;
    std::unique_ptr<DialogHost> dialogHost_;
    std::unique_ptr<ProgressDialog> progress_;
    std::unique_ptr<RecordingArchive> archive_;
    std::unique_ptr<Context> context_;
    std::unique_ptr<Operations> operations_;
    std::unique_ptr<WindowPrinting> printing_;
    std::unique_ptr<UnsavedData> unsavedData_;
    std::unique_ptr<WindowFigures> figures_;

    std::int16_t selector_ = 1;
    bool started_ = false;
    bool shutDown_ = false;
    bool unattended_ = false;
    QString startFailure_;
    bool closing_ = false;
};
