// The main window's controls by typed id: one table gives each id its object name, its kind, the
// frame it sits in when its name alone is not unique, and its caption's message. Builders
// name their widgets from it, the window registers them once, and operations address them by id.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <span>

#include "data/msg.h"

enum class ControlKind : std::uint8_t {
    Window,     // the main window itself
    Frame,      // a captioned group box
    Pane,       // an uncaptioned container
    Label,      // a caption or a read-out
    Button,     // a push button
    Option,     // a radio button
    Combo,      // a list box
    ScrollBar,  // a graph scroll bar
    Graph,      // a graph box
    Menu,       // a menu (its menu-bar or submenu entry)
    Action,     // a menu item
    Dialog,     // a dialog, registered while it exists
};

enum class ControlId : std::uint16_t {
    MainWindow,
    // Display selection.
    DisplayFrame,
    LogDataOption,
    RealTimeDataOption,
    FileDataOption,
    GraphViewOption,
    DumpViewOption,
    DataSetLabel,
    // Identification name and communication read-outs.
    IdentNameFrame,
    IdentNameText,
    CommunicationFrame,
    ConnectionLamp,
    CommunicationText,
    // Connection box.
    ConnectButton,
    BaudRateList,
    ModelList,
    InitialiseButton,
    NumberList,
    // Log pane: the logger status panel.
    LogPane,
    OperationCaption,
    OperationText,
    BatteryCaption,
    BatteryText,
    StopNoteText,
    BeginningCaption,
    BeginningText,
    PointsCaption,
    PointsText,
    IntervalCaption,
    IntervalText,
    ModeCaption,
    ModeText,
    UpperBoundCaption,
    UpperBoundText,
    LowerBoundCaption,
    LowerBoundText,
    UpdateButton,
    DownloadButton,
    RecordingFrame,
    StartStopButton,
    IntervalSecondsText,
    LogDataFrame,
    SaveLogButton,
    PrintLogButton,
    // Real-time measurement pane.
    RealTimePane,
    MeasureOnceButton,
    ContinuousButton,
    RepeatFrame,
    RepeatSecondsOption,
    RepeatMinutesOption,
    RepeatCountList,
    RepeatUnitLabel,
    MeasurementsFrame,
    MeasuredTimeCaption,
    MeasuredTimeReadout,
    MeasuredTemperatureCaption,
    MeasuredTemperatureReadout,
    MeasuredHumidityCaption,
    MeasuredHumidityReadout,
    RealTimeDataFrame,
    SaveRealTimeButton,
    PrintRealTimeButton,
    // File pane.
    FilePane,
    FileBeginningCaption,
    FileBeginningText,
    FilePointsCaption,
    FilePointsText,
    FileIntervalCaption,
    FileIntervalText,
    FileNameCaption,
    FileNameText,
    FileUpperBoundCaption,
    FileUpperBoundText,
    FileLowerBoundCaption,
    FileLowerBoundText,
    FileDataFrame,
    OpenFileButton,
    PrintFileButton,
    // Controls without a visible place, kept in the hidden frame.
    HiddenFrame,
    IntervalUnitSecondsOption,
    IntervalUnitMinutesOption,
    IntervalCountList,
    ReservationButton,
    AlarmButton,
    MemoryModeButton,
    ClockSetButton,
    ClockReadButton,
    LedButton,
    PictureButton,
    BatteryStateLabel,
    LoggerClockLabel,
    // Graph area, its graphs, scroll bars, zoom and fit buttons and range labels.
    GraphArea,
    TemperatureGraph,
    HumidityGraph,
    TimeWidthBar,
    TimePositionBar,
    HumidityTimeWidthBar,
    HumidityTimePositionBar,
    TemperatureSpanBar,
    TemperatureCentreBar,
    HumiditySpanBar,
    HumidityCentreBar,
    TemperatureWiderButton,
    TemperatureNarrowerButton,
    HumidityWiderButton,
    HumidityNarrowerButton,
    TimeWiderButton,
    TimeNarrowerButton,
    FitButton,
    TemperatureTopLabel,
    TemperatureBottomLabel,
    HumidityTopLabel,
    HumidityBottomLabel,
    LeftTimeLabel,
    RightTimeLabel,
    // Table panes, one per data set.
    LogTablePane,
    RealTimeTablePane,
    FileTablePane,
    // Status bar panels.
    ConnectionStatusPanel,
    CursorReadoutPanel,
    ClockPanel,
    // Menus and menu items.
    FileMenu,
    OpenItem,
    SaveMenu,
    SaveLogItem,
    SaveRealTimeItem,
    PrintItem,
    EndItem,
    DisplayMenu,
    LogDisplayMenu,
    LogGraphItem,
    LogDumpItem,
    RealTimeDisplayMenu,
    RealTimeGraphItem,
    RealTimeDumpItem,
    FileDisplayMenu,
    FileGraphItem,
    FileDumpItem,
    ToolMenu,
    CommunicationItem,
    CommunicationStartItem,
    CommunicationSettingItem,
    ClockItem,
    ClockReadItem,
    ClockSetItem,
    IdentNameItem,
    DownloadSpeedMenu,
    FastDownloadItem,
    SlowDownloadItem,
    HelpMenu,
    WebPageItem,
    VersionItem,
    DiagnosticReportItem,
    // Dialogs, registered by whoever opens them.
    NameDialog,
    ProgressDialog,
    PortDialog,
    ClockDialog,
    RecordingDialog,
    // Archive and history.
    HistoryItem,
    KeepInArchiveItem,
    AddFileToArchiveItem,
    SaveFileItem,
    CheckSetupItem,
    // Statistics, dew point and graph export.
    StatisticsItem,
    DewPointItem,
    ExportGraphItem,
    Count,
};

inline constexpr int kControlCount = static_cast<int>(ControlId::Count);

struct ControlInfo {
    ControlId id;
    const char* name;  // object name
    ControlKind kind;
    const char* scope;           // object name of an enclosing widget, or nullptr
    std::optional<Msg> caption;  // none for a read-out the program fills
};

// Every control, in id order.
std::span<const ControlInfo> controlTable();
const ControlInfo& controlInfo(ControlId id);
// The object name as Qt text.
const char* controlName(ControlId id);

// The table pane of data set 0, 1 or 2 (log, real-time, file).
constexpr ControlId tablePaneOf(int dataSet) {
    return static_cast<ControlId>(static_cast<int>(ControlId::LogTablePane) + dataSet);
}

// The entry of the control of that object name; nullptr when none has it, and the first of two
// that share it.
const ControlInfo* findControl(const QString& name);
