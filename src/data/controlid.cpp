// The one table of the main window's controls; see controlid.h.
#include "data/controlid.h"

#include <array>

namespace {

using K = ControlKind;
using I = ControlId;

// The status caption Label31 and the graph's range label Label31 share their object name; each
// is found inside its own frame.
constexpr char kLogPane[] = "Frame13";
constexpr char kGraphPanel[] = "graphPanel";

constexpr std::array<ControlInfo, kControlCount> kTable{{
    {I::Form1, "Form1", K::Window, nullptr, Msg::WindowTitle},
    {I::Frame8, "Frame8", K::Frame, nullptr, Msg::DisplayCaption},
    {I::Option5, "Option5", K::Option, nullptr, Msg::LogOption},
    {I::Option6, "Option6", K::Option, nullptr, Msg::RealTimeOption},
    {I::Option7, "Option7", K::Option, nullptr, Msg::FileOption},
    {I::Option8, "Option8", K::Option, nullptr, Msg::GraphOption},
    {I::Option9, "Option9", K::Option, nullptr, Msg::DumpOption},
    {I::DataSetLabel, "dataSetLabel", K::Label, nullptr, std::nullopt},
    {I::Frame11, "Frame11", K::Frame, nullptr, Msg::IdentNameCaption},
    {I::IdentNameText, "identNameText", K::Label, nullptr, std::nullopt},
    {I::CommunicationFrame, "communicationFrame", K::Frame, nullptr, Msg::CommunicationCaption},
    {I::ConnectionLamp, "connectionLamp", K::Pane, nullptr, std::nullopt},
    {I::CommunicationText, "communicationText", K::Label, nullptr, std::nullopt},
    {I::Command20, "Command20", K::Button, nullptr, std::nullopt},
    {I::Combo1, "Combo1", K::Combo, nullptr, std::nullopt},
    {I::Combo3, "Combo3", K::Combo, nullptr, std::nullopt},
    {I::Command27, "Command27", K::Button, nullptr, std::nullopt},
    {I::Combo4, "Combo4", K::Combo, nullptr, std::nullopt},
    {I::Frame13, "Frame13", K::Frame, nullptr, Msg::StateCaption},
    {I::Label9, "Label9", K::Label, nullptr, Msg::OperationCaption},
    {I::OperationText, "operationText", K::Label, nullptr, std::nullopt},
    {I::Label11, "Label11", K::Label, nullptr, Msg::BatteryCaption},
    {I::BatteryText, "batteryText", K::Label, nullptr, std::nullopt},
    {I::StopNoteText, "stopNoteText", K::Label, nullptr, std::nullopt},
    {I::Label18, "Label18", K::Label, nullptr, Msg::BeginningDateCaption},
    {I::BeginningText, "beginningText", K::Label, nullptr, std::nullopt},
    {I::Label22, "Label22", K::Label, nullptr, Msg::RecordingPointsCaption},
    {I::PointsText, "pointsText", K::Label, nullptr, std::nullopt},
    {I::Label20, "Label20", K::Label, nullptr, Msg::RecordIntervalCaption},
    {I::IntervalText, "intervalText", K::Label, nullptr, std::nullopt},
    {I::Label47, "Label47", K::Label, nullptr, Msg::RecordModeCaption},
    {I::ModeText, "modeText", K::Label, nullptr, std::nullopt},
    {I::Label31, "Label31", K::Label, kLogPane, Msg::UpperBoundCaption},
    {I::UpperText, "upperText", K::Label, nullptr, std::nullopt},
    {I::Label32, "Label32", K::Label, nullptr, Msg::LowerBoundCaption},
    {I::LowerText, "lowerText", K::Label, nullptr, std::nullopt},
    {I::Command11, "Command11", K::Button, nullptr, Msg::UpdateButton},
    {I::Command5, "Command5", K::Button, nullptr, Msg::DownloadButton},
    {I::Frame14, "Frame14", K::Frame, nullptr, Msg::RecordingCaption},
    {I::Command4, "Command4", K::Button, nullptr, Msg::StartButton},
    {I::IntervalSecondsText, "intervalSecondsText", K::Label, nullptr, std::nullopt},
    {I::Frame15, "Frame15", K::Frame, nullptr, Msg::LogActionsCaption},
    {I::Command21, "Command21", K::Button, nullptr, Msg::SaveLogButton},
    {I::Command24, "Command24", K::Button, nullptr, Msg::PrintLogButton},
    {I::Frame6, "Frame6", K::Frame, nullptr, Msg::MeasurementCaption},
    {I::Command1, "Command1", K::Button, nullptr, Msg::OneTimeButton},
    {I::Command2, "Command2", K::Button, nullptr, Msg::ContinuousMeasurementButton},
    {I::Frame9, "Frame9", K::Frame, nullptr, Msg::IntervalSettingCaption},
    {I::Option3, "Option3", K::Option, nullptr, Msg::SecondsOption},
    {I::Option4, "Option4", K::Option, nullptr, Msg::MinutesOption},
    {I::Combo5, "Combo5", K::Combo, nullptr, std::nullopt},
    {I::Label28, "Label28", K::Label, nullptr, Msg::SecondsLabel},
    {I::Frame1, "Frame1", K::Frame, nullptr, Msg::MeasurementsCaption},
    {I::Label13, "Label13", K::Label, nullptr, Msg::MeasuredDateCaption},
    {I::Label10, "Label10", K::Label, nullptr, std::nullopt},
    {I::Label1, "Label1", K::Label, nullptr, Msg::MeasuredTemperatureCaption},
    {I::Label2, "Label2", K::Label, nullptr, std::nullopt},
    {I::Label5, "Label5", K::Label, nullptr, Msg::MeasuredHumidityCaption},
    {I::Label4, "Label4", K::Label, nullptr, std::nullopt},
    {I::Frame16, "Frame16", K::Frame, nullptr, Msg::RealTimeActionsCaption},
    {I::Command22, "Command22", K::Button, nullptr, Msg::SaveRealTimeButton},
    {I::Command23, "Command23", K::Button, nullptr, Msg::PrintRealTimeButton},
    {I::Frame12, "Frame12", K::Frame, nullptr, Msg::FileDataCaption},
    {I::Label38, "Label38", K::Label, nullptr, Msg::FileBeginningDateCaption},
    {I::Label33, "Label33", K::Label, nullptr, std::nullopt},
    {I::Label42, "Label42", K::Label, nullptr, Msg::FileRecordingPointsCaption},
    {I::Label43, "Label43", K::Label, nullptr, std::nullopt},
    {I::Label44, "Label44", K::Label, nullptr, Msg::FileRecordIntervalCaption},
    {I::Label45, "Label45", K::Label, nullptr, std::nullopt},
    {I::Label25, "Label25", K::Label, nullptr, Msg::FileIdentNameCaption},
    {I::Label12, "Label12", K::Label, nullptr, std::nullopt},
    {I::Label53, "Label53", K::Label, nullptr, Msg::FileUpperBoundCaption},
    {I::Label54, "Label54", K::Label, nullptr, std::nullopt},
    {I::Label52, "Label52", K::Label, nullptr, Msg::FileLowerBoundCaption},
    {I::Label51, "Label51", K::Label, nullptr, std::nullopt},
    {I::Frame17, "Frame17", K::Frame, nullptr, Msg::FileActionsCaption},
    {I::Command14, "Command14", K::Button, nullptr, Msg::OpenFileButton},
    {I::Command25, "Command25", K::Button, nullptr, Msg::PrintFileButton},
    {I::Frame5, "Frame5", K::Frame, nullptr, std::nullopt},
    {I::Option1, "Option1", K::Option, nullptr, Msg::IntervalSecondsOption},
    {I::Option2, "Option2", K::Option, nullptr, Msg::IntervalMinutesOption},
    {I::Combo2, "Combo2", K::Combo, nullptr, std::nullopt},
    {I::Command19, "Command19", K::Button, nullptr, std::nullopt},
    {I::Command26, "Command26", K::Button, nullptr, std::nullopt},
    {I::Command28, "Command28", K::Button, nullptr, std::nullopt},
    {I::Command6, "Command6", K::Button, nullptr, std::nullopt},
    {I::Command7, "Command7", K::Button, nullptr, std::nullopt},
    {I::Command13, "Command13", K::Button, nullptr, std::nullopt},
    {I::Command9, "Command9", K::Button, nullptr, std::nullopt},
    {I::Label39, "Label39", K::Label, nullptr, std::nullopt},
    {I::Label24, "Label24", K::Label, nullptr, std::nullopt},
    {I::GraphArea, "graphArea", K::Pane, nullptr, std::nullopt},
    {I::ondo, "ondo", K::Graph, nullptr, std::nullopt},
    {I::situdo, "situdo", K::Graph, nullptr, std::nullopt},
    {I::HScroll1, "HScroll1", K::ScrollBar, nullptr, std::nullopt},
    {I::HScroll2, "HScroll2", K::ScrollBar, nullptr, std::nullopt},
    {I::HScroll3, "HScroll3", K::ScrollBar, nullptr, std::nullopt},
    {I::HScroll4, "HScroll4", K::ScrollBar, nullptr, std::nullopt},
    {I::VScroll1, "VScroll1", K::ScrollBar, nullptr, std::nullopt},
    {I::VScroll2, "VScroll2", K::ScrollBar, nullptr, std::nullopt},
    {I::VScroll3, "VScroll3", K::ScrollBar, nullptr, std::nullopt},
    {I::VScroll4, "VScroll4", K::ScrollBar, nullptr, std::nullopt},
    {I::Command10, "Command10", K::Button, nullptr, std::nullopt},
    {I::Command3, "Command3", K::Button, nullptr, std::nullopt},
    {I::Command15, "Command15", K::Button, nullptr, std::nullopt},
    {I::Command16, "Command16", K::Button, nullptr, std::nullopt},
    {I::Command18, "Command18", K::Button, nullptr, std::nullopt},
    {I::Command17, "Command17", K::Button, nullptr, std::nullopt},
    {I::Command12, "Command12", K::Button, nullptr, std::nullopt},
    {I::GraphLabel30, "Label30", K::Label, kGraphPanel, std::nullopt},
    {I::GraphLabel31, "Label31", K::Label, kGraphPanel, std::nullopt},
    {I::GraphLabel34, "Label34", K::Label, kGraphPanel, std::nullopt},
    {I::GraphLabel35, "Label35", K::Label, kGraphPanel, std::nullopt},
    {I::GraphLabel36, "Label36", K::Label, kGraphPanel, std::nullopt},
    {I::GraphLabel37, "Label37", K::Label, kGraphPanel, std::nullopt},
    {I::Picture3_0, "Picture3_0", K::Pane, nullptr, std::nullopt},
    {I::Picture3_1, "Picture3_1", K::Pane, nullptr, std::nullopt},
    {I::Picture3_2, "Picture3_2", K::Pane, nullptr, std::nullopt},
    {I::StatusBar1Panel1, "StatusBar1Panel1", K::Label, nullptr, std::nullopt},
    {I::StatusBar1Panel2, "StatusBar1Panel2", K::Label, nullptr, std::nullopt},
    {I::StatusBar1Panel3, "StatusBar1Panel3", K::Label, nullptr, std::nullopt},
    {I::m1, "m1", K::Menu, nullptr, Msg::FileMenu},
    {I::m11, "m11", K::Action, nullptr, Msg::OpenItem},
    {I::m12, "m12", K::Menu, nullptr, Msg::SaveMenu},
    {I::m122, "m122", K::Action, nullptr, Msg::SaveLogDataItem},
    {I::m121, "m121", K::Action, nullptr, Msg::SaveRealTimeDataItem},
    {I::m13, "m13", K::Action, nullptr, Msg::PrintItem},
    {I::m14, "m14", K::Action, nullptr, Msg::EndItem},
    {I::m2, "m2", K::Menu, nullptr, Msg::DisplayMenu},
    {I::m21, "m21", K::Menu, nullptr, Msg::DisplayLogMenu},
    {I::m211, "m211", K::Action, nullptr, Msg::LogGraphItem},
    {I::m212, "m212", K::Action, nullptr, Msg::LogDumpItem},
    {I::m22, "m22", K::Menu, nullptr, Msg::DisplayRealTimeMenu},
    {I::m221, "m221", K::Action, nullptr, Msg::RealTimeGraphItem},
    {I::m222, "m222", K::Action, nullptr, Msg::RealTimeDumpItem},
    {I::m23, "m23", K::Menu, nullptr, Msg::DisplayFileMenu},
    {I::m231, "m231", K::Action, nullptr, Msg::FileGraphItem},
    {I::m232, "m232", K::Action, nullptr, Msg::FileDumpItem},
    {I::m3, "m3", K::Menu, nullptr, Msg::ToolMenu},
    {I::m35, "m35", K::Action, nullptr, Msg::CommunicationItem},
    {I::m31, "m31", K::Action, nullptr, Msg::CommunicationStartItem},
    {I::m32, "m32", K::Action, nullptr, Msg::CommunicationSettingItem},
    {I::m33, "m33", K::Action, nullptr, Msg::ClockSettingItem},
    {I::m332, "m332", K::Action, nullptr, Msg::ClockReadItem},
    {I::m331, "m331", K::Action, nullptr, Msg::ClockSetItem},
    {I::m34, "m34", K::Action, nullptr, Msg::IdentNameSettingItem},
    {I::D_M, "D_M", K::Menu, nullptr, Msg::DownloadModeMenu},
    {I::D_M_Fast, "D_M_Fast", K::Action, nullptr, Msg::HighSpeedItem},
    {I::D_M_Slow, "D_M_Slow", K::Action, nullptr, Msg::LowSpeedItem},
    {I::m4, "m4", K::Menu, nullptr, Msg::HelpMenu},
    {I::m42, "m42", K::Action, nullptr, Msg::WebPageItem},
    {I::m41, "m41", K::Action, nullptr, Msg::VersionItem},
    {I::Form2, "Form2", K::Dialog, nullptr, std::nullopt},
    {I::Form3, "Form3", K::Dialog, nullptr, std::nullopt},
    {I::Form5, "Form5", K::Dialog, nullptr, std::nullopt},
    {I::Form6, "Form6", K::Dialog, nullptr, std::nullopt},
    {I::Form12, "Form12", K::Dialog, nullptr, std::nullopt},
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
