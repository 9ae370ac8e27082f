// The one table of the main window's controls; see controlid.h.
#include "controls/controlid.h"

#include <array>

namespace {

using K = ControlKind;
using I = ControlId;

// The status caption Label31 and the graph's range label Label31 share their object name; each
// is found inside its own frame.
constexpr char kLogPane[] = "Frame13";
constexpr char kGraphPanel[] = "graphPanel";

constexpr std::array<ControlInfo, kControlCount> kTable{{
    {I::MainWindow, "Form1", K::Window, nullptr, Msg::WindowTitle},
    {I::DisplayFrame, "Frame8", K::Frame, nullptr, Msg::DisplayCaption},
    {I::LogDataOption, "Option5", K::Option, nullptr, Msg::LogOption},
    {I::RealTimeDataOption, "Option6", K::Option, nullptr, Msg::RealTimeOption},
    {I::FileDataOption, "Option7", K::Option, nullptr, Msg::FileOption},
    {I::GraphViewOption, "Option8", K::Option, nullptr, Msg::GraphOption},
    {I::DumpViewOption, "Option9", K::Option, nullptr, Msg::DumpOption},
    {I::DataSetLabel, "dataSetLabel", K::Label, nullptr, std::nullopt},
    {I::IdentNameFrame, "Frame11", K::Frame, nullptr, Msg::IdentNameCaption},
    {I::IdentNameText, "identNameText", K::Label, nullptr, std::nullopt},
    {I::CommunicationFrame, "communicationFrame", K::Frame, nullptr, Msg::CommunicationCaption},
    {I::ConnectionLamp, "connectionLamp", K::Pane, nullptr, std::nullopt},
    {I::CommunicationText, "communicationText", K::Label, nullptr, std::nullopt},
    {I::ConnectButton, "Command20", K::Button, nullptr, std::nullopt},
    {I::BaudRateList, "Combo1", K::Combo, nullptr, std::nullopt},
    {I::ModelList, "Combo3", K::Combo, nullptr, std::nullopt},
    {I::InitialiseButton, "Command27", K::Button, nullptr, std::nullopt},
    {I::NumberList, "Combo4", K::Combo, nullptr, std::nullopt},
    {I::LogPane, "Frame13", K::Frame, nullptr, Msg::StateCaption},
    {I::OperationCaption, "Label9", K::Label, nullptr, Msg::OperationCaption},
    {I::OperationText, "operationText", K::Label, nullptr, std::nullopt},
    {I::BatteryCaption, "Label11", K::Label, nullptr, Msg::BatteryCaption},
    {I::BatteryText, "batteryText", K::Label, nullptr, std::nullopt},
    {I::StopNoteText, "stopNoteText", K::Label, nullptr, std::nullopt},
    {I::BeginningCaption, "Label18", K::Label, nullptr, Msg::BeginningDateCaption},
    {I::BeginningText, "beginningText", K::Label, nullptr, std::nullopt},
    {I::PointsCaption, "Label22", K::Label, nullptr, Msg::RecordingPointsCaption},
    {I::PointsText, "pointsText", K::Label, nullptr, std::nullopt},
    {I::IntervalCaption, "Label20", K::Label, nullptr, Msg::RecordIntervalCaption},
    {I::IntervalText, "intervalText", K::Label, nullptr, std::nullopt},
    {I::ModeCaption, "Label47", K::Label, nullptr, Msg::RecordModeCaption},
    {I::ModeText, "modeText", K::Label, nullptr, std::nullopt},
    {I::UpperBoundCaption, "Label31", K::Label, kLogPane, Msg::UpperBoundCaption},
    {I::UpperBoundText, "upperText", K::Label, nullptr, std::nullopt},
    {I::LowerBoundCaption, "Label32", K::Label, nullptr, Msg::LowerBoundCaption},
    {I::LowerBoundText, "lowerText", K::Label, nullptr, std::nullopt},
    {I::UpdateButton, "Command11", K::Button, nullptr, Msg::UpdateButton},
    {I::DownloadButton, "Command5", K::Button, nullptr, Msg::DownloadButton},
    {I::RecordingFrame, "Frame14", K::Frame, nullptr, Msg::RecordingCaption},
    {I::StartStopButton, "Command4", K::Button, nullptr, Msg::StartButton},
    {I::IntervalSecondsText, "intervalSecondsText", K::Label, nullptr, std::nullopt},
    {I::LogDataFrame, "Frame15", K::Frame, nullptr, Msg::LogActionsCaption},
    {I::SaveLogButton, "Command21", K::Button, nullptr, Msg::SaveLogButton},
    {I::PrintLogButton, "Command24", K::Button, nullptr, Msg::PrintLogButton},
    {I::RealTimePane, "Frame6", K::Frame, nullptr, Msg::MeasurementCaption},
    {I::MeasureOnceButton, "Command1", K::Button, nullptr, Msg::OneTimeButton},
    {I::ContinuousButton, "Command2", K::Button, nullptr, Msg::ContinuousMeasurementButton},
    {I::RepeatFrame, "Frame9", K::Frame, nullptr, Msg::IntervalSettingCaption},
    {I::RepeatSecondsOption, "Option3", K::Option, nullptr, Msg::SecondsOption},
    {I::RepeatMinutesOption, "Option4", K::Option, nullptr, Msg::MinutesOption},
    {I::RepeatCountList, "Combo5", K::Combo, nullptr, std::nullopt},
    {I::RepeatUnitLabel, "Label28", K::Label, nullptr, Msg::SecondsLabel},
    {I::MeasurementsFrame, "Frame1", K::Frame, nullptr, Msg::MeasurementsCaption},
    {I::MeasuredTimeCaption, "Label13", K::Label, nullptr, Msg::MeasuredDateCaption},
    {I::MeasuredTimeReadout, "Label10", K::Label, nullptr, std::nullopt},
    {I::MeasuredTemperatureCaption, "Label1", K::Label, nullptr, Msg::MeasuredTemperatureCaption},
    {I::MeasuredTemperatureReadout, "Label2", K::Label, nullptr, std::nullopt},
    {I::MeasuredHumidityCaption, "Label5", K::Label, nullptr, Msg::MeasuredHumidityCaption},
    {I::MeasuredHumidityReadout, "Label4", K::Label, nullptr, std::nullopt},
    {I::RealTimeDataFrame, "Frame16", K::Frame, nullptr, Msg::RealTimeActionsCaption},
    {I::SaveRealTimeButton, "Command22", K::Button, nullptr, Msg::SaveRealTimeButton},
    {I::PrintRealTimeButton, "Command23", K::Button, nullptr, Msg::PrintRealTimeButton},
    {I::FilePane, "Frame12", K::Frame, nullptr, Msg::FileDataCaption},
    {I::FileBeginningCaption, "Label38", K::Label, nullptr, Msg::FileBeginningDateCaption},
    {I::FileBeginningText, "Label33", K::Label, nullptr, std::nullopt},
    {I::FilePointsCaption, "Label42", K::Label, nullptr, Msg::FileRecordingPointsCaption},
    {I::FilePointsText, "Label43", K::Label, nullptr, std::nullopt},
    {I::FileIntervalCaption, "Label44", K::Label, nullptr, Msg::FileRecordIntervalCaption},
    {I::FileIntervalText, "Label45", K::Label, nullptr, std::nullopt},
    {I::FileNameCaption, "Label25", K::Label, nullptr, Msg::FileIdentNameCaption},
    {I::FileNameText, "Label12", K::Label, nullptr, std::nullopt},
    {I::FileUpperBoundCaption, "Label53", K::Label, nullptr, Msg::FileUpperBoundCaption},
    {I::FileUpperBoundText, "Label54", K::Label, nullptr, std::nullopt},
    {I::FileLowerBoundCaption, "Label52", K::Label, nullptr, Msg::FileLowerBoundCaption},
    {I::FileLowerBoundText, "Label51", K::Label, nullptr, std::nullopt},
    {I::FileDataFrame, "Frame17", K::Frame, nullptr, Msg::FileActionsCaption},
    {I::OpenFileButton, "Command14", K::Button, nullptr, Msg::OpenFileButton},
    {I::PrintFileButton, "Command25", K::Button, nullptr, Msg::PrintFileButton},
    {I::HiddenFrame, "Frame5", K::Frame, nullptr, std::nullopt},
    {I::IntervalUnitSecondsOption, "Option1", K::Option, nullptr, Msg::IntervalSecondsOption},
    {I::IntervalUnitMinutesOption, "Option2", K::Option, nullptr, Msg::IntervalMinutesOption},
    {I::IntervalCountList, "Combo2", K::Combo, nullptr, std::nullopt},
    {I::ReservationButton, "Command19", K::Button, nullptr, std::nullopt},
    {I::AlarmButton, "Command26", K::Button, nullptr, std::nullopt},
    {I::MemoryModeButton, "Command28", K::Button, nullptr, std::nullopt},
    {I::ClockSetButton, "Command6", K::Button, nullptr, std::nullopt},
    {I::ClockReadButton, "Command7", K::Button, nullptr, std::nullopt},
    {I::LedButton, "Command13", K::Button, nullptr, std::nullopt},
    {I::PictureButton, "Command9", K::Button, nullptr, std::nullopt},
    {I::BatteryStateLabel, "Label39", K::Label, nullptr, std::nullopt},
    {I::LoggerClockLabel, "Label24", K::Label, nullptr, std::nullopt},
    {I::GraphArea, "graphArea", K::Pane, nullptr, std::nullopt},
    {I::TemperatureGraph, "ondo", K::Graph, nullptr, std::nullopt},
    {I::HumidityGraph, "situdo", K::Graph, nullptr, std::nullopt},
    {I::TimeWidthBar, "HScroll1", K::ScrollBar, nullptr, std::nullopt},
    {I::TimePositionBar, "HScroll2", K::ScrollBar, nullptr, std::nullopt},
    {I::HumidityTimeWidthBar, "HScroll3", K::ScrollBar, nullptr, std::nullopt},
    {I::HumidityTimePositionBar, "HScroll4", K::ScrollBar, nullptr, std::nullopt},
    {I::TemperatureSpanBar, "VScroll1", K::ScrollBar, nullptr, std::nullopt},
    {I::TemperatureCentreBar, "VScroll2", K::ScrollBar, nullptr, std::nullopt},
    {I::HumiditySpanBar, "VScroll3", K::ScrollBar, nullptr, std::nullopt},
    {I::HumidityCentreBar, "VScroll4", K::ScrollBar, nullptr, std::nullopt},
    {I::TemperatureWiderButton, "Command10", K::Button, nullptr, std::nullopt},
    {I::TemperatureNarrowerButton, "Command3", K::Button, nullptr, std::nullopt},
    {I::HumidityWiderButton, "Command15", K::Button, nullptr, std::nullopt},
    {I::HumidityNarrowerButton, "Command16", K::Button, nullptr, std::nullopt},
    {I::TimeWiderButton, "Command18", K::Button, nullptr, std::nullopt},
    {I::TimeNarrowerButton, "Command17", K::Button, nullptr, std::nullopt},
    {I::FitButton, "Command12", K::Button, nullptr, std::nullopt},
    {I::TemperatureTopLabel, "Label30", K::Label, kGraphPanel, std::nullopt},
    {I::TemperatureBottomLabel, "Label31", K::Label, kGraphPanel, std::nullopt},
    {I::HumidityTopLabel, "Label34", K::Label, kGraphPanel, std::nullopt},
    {I::HumidityBottomLabel, "Label35", K::Label, kGraphPanel, std::nullopt},
    {I::LeftTimeLabel, "Label36", K::Label, kGraphPanel, std::nullopt},
    {I::RightTimeLabel, "Label37", K::Label, kGraphPanel, std::nullopt},
    {I::LogTablePane, "Picture3_0", K::Pane, nullptr, std::nullopt},
    {I::RealTimeTablePane, "Picture3_1", K::Pane, nullptr, std::nullopt},
    {I::FileTablePane, "Picture3_2", K::Pane, nullptr, std::nullopt},
    {I::ConnectionStatusPanel, "StatusBar1Panel1", K::Label, nullptr, std::nullopt},
    {I::CursorReadoutPanel, "StatusBar1Panel2", K::Label, nullptr, std::nullopt},
    {I::ClockPanel, "StatusBar1Panel3", K::Label, nullptr, std::nullopt},
    {I::FileMenu, "m1", K::Menu, nullptr, Msg::FileMenu},
    {I::OpenItem, "m11", K::Action, nullptr, Msg::OpenItem},
    {I::SaveMenu, "m12", K::Menu, nullptr, Msg::SaveMenu},
    {I::SaveLogItem, "m122", K::Action, nullptr, Msg::SaveLogDataItem},
    {I::SaveRealTimeItem, "m121", K::Action, nullptr, Msg::SaveRealTimeDataItem},
    {I::PrintItem, "m13", K::Action, nullptr, Msg::PrintItem},
    {I::EndItem, "m14", K::Action, nullptr, Msg::EndItem},
    {I::DisplayMenu, "m2", K::Menu, nullptr, Msg::DisplayMenu},
    {I::LogDisplayMenu, "m21", K::Menu, nullptr, Msg::DisplayLogMenu},
    {I::LogGraphItem, "m211", K::Action, nullptr, Msg::LogGraphItem},
    {I::LogDumpItem, "m212", K::Action, nullptr, Msg::LogDumpItem},
    {I::RealTimeDisplayMenu, "m22", K::Menu, nullptr, Msg::DisplayRealTimeMenu},
    {I::RealTimeGraphItem, "m221", K::Action, nullptr, Msg::RealTimeGraphItem},
    {I::RealTimeDumpItem, "m222", K::Action, nullptr, Msg::RealTimeDumpItem},
    {I::FileDisplayMenu, "m23", K::Menu, nullptr, Msg::DisplayFileMenu},
    {I::FileGraphItem, "m231", K::Action, nullptr, Msg::FileGraphItem},
    {I::FileDumpItem, "m232", K::Action, nullptr, Msg::FileDumpItem},
    {I::ToolMenu, "m3", K::Menu, nullptr, Msg::ToolMenu},
    {I::CommunicationItem, "m35", K::Action, nullptr, Msg::CommunicationItem},
    {I::CommunicationStartItem, "m31", K::Action, nullptr, Msg::CommunicationStartItem},
    {I::CommunicationSettingItem, "m32", K::Action, nullptr, Msg::CommunicationSettingItem},
    {I::ClockItem, "m33", K::Action, nullptr, Msg::ClockSettingItem},
    {I::ClockReadItem, "m332", K::Action, nullptr, Msg::ClockReadItem},
    {I::ClockSetItem, "m331", K::Action, nullptr, Msg::ClockSetItem},
    {I::IdentNameItem, "m34", K::Action, nullptr, Msg::IdentNameSettingItem},
    {I::DownloadSpeedMenu, "D_M", K::Menu, nullptr, Msg::DownloadModeMenu},
    {I::FastDownloadItem, "D_M_Fast", K::Action, nullptr, Msg::HighSpeedItem},
    {I::SlowDownloadItem, "D_M_Slow", K::Action, nullptr, Msg::LowSpeedItem},
    {I::HelpMenu, "m4", K::Menu, nullptr, Msg::HelpMenu},
    {I::WebPageItem, "m42", K::Action, nullptr, Msg::WebPageItem},
    {I::VersionItem, "m41", K::Action, nullptr, Msg::VersionItem},
    {I::DiagnosticReportItem, "diagnosticReportItem", K::Action, nullptr,
     Msg::SaveDiagnosticReportItem},
    {I::NameDialog, "Form2", K::Dialog, nullptr, std::nullopt},
    {I::ProgressDialog, "Form3", K::Dialog, nullptr, std::nullopt},
    {I::PortDialog, "Form5", K::Dialog, nullptr, std::nullopt},
    {I::ClockDialog, "Form6", K::Dialog, nullptr, std::nullopt},
    {I::RecordingDialog, "Form12", K::Dialog, nullptr, std::nullopt},
    {I::HistoryItem, "historyItem", K::Action, nullptr, Msg::HistoryItem},
    {I::KeepInArchiveItem, "keepInArchiveItem", K::Action, nullptr, Msg::KeepInArchiveItem},
    {I::AddFileToArchiveItem, "addFileToArchiveItem", K::Action, nullptr,
     Msg::AddFileToArchiveItem},
    {I::SaveFileItem, "saveFileItem", K::Action, nullptr, Msg::SaveFileDataItem},
    {I::CheckSetupItem, "checkSetupItem", K::Action, nullptr, Msg::CheckSetupItem},
    {I::StatisticsItem, "statisticsItem", K::Action, nullptr, Msg::StatisticsItem},
    {I::DewPointItem, "dewPointItem", K::Action, nullptr, Msg::DewPointItem},
    {I::ExportGraphItem, "exportGraphItem", K::Action, nullptr, Msg::ExportGraphItem},
}};

constexpr bool inIdOrder() {
    for (int i = 0; i < kControlCount; ++i) {
        if (static_cast<int>(kTable[static_cast<std::size_t>(i)].id) != i) {
            return false;
        }
    }
    return true;
}
static_assert(inIdOrder(), "the control table lists every id once, in id order");

}  // namespace

std::span<const ControlInfo> controlTable() {
    return kTable;
}

const ControlInfo& controlInfo(ControlId id) {
    return kTable[static_cast<std::size_t>(id)];
}

const char* controlName(ControlId id) {
    return controlInfo(id).name;
}

const ControlInfo* findControl(const QString& name) {
    for (const ControlInfo& info : kTable) {
        if (name == QLatin1String(info.name)) {
            return &info;
        }
    }
    return nullptr;
}
