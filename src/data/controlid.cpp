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
    {I::Form1, "Form1", K::Window, nullptr, 1009},
    {I::Frame8, "Frame8", K::Frame, nullptr, 51},
    {I::Option5, "Option5", K::Option, nullptr, 52},
    {I::Option6, "Option6", K::Option, nullptr, 53},
    {I::Option7, "Option7", K::Option, nullptr, 54},
    {I::Option8, "Option8", K::Option, nullptr, 55},
    {I::Option9, "Option9", K::Option, nullptr, 56},
    {I::DataSetLabel, "dataSetLabel", K::Label, nullptr, -1},
    {I::Frame11, "Frame11", K::Frame, nullptr, 50},
    {I::IdentNameText, "identNameText", K::Label, nullptr, -1},
    {I::CommunicationFrame, "communicationFrame", K::Frame, nullptr, 273},
    {I::ConnectionLamp, "connectionLamp", K::Pane, nullptr, -1},
    {I::CommunicationText, "communicationText", K::Label, nullptr, -1},
    {I::Command20, "Command20", K::Button, nullptr, -1},
    {I::Combo1, "Combo1", K::Combo, nullptr, -1},
    {I::Combo3, "Combo3", K::Combo, nullptr, -1},
    {I::Command27, "Command27", K::Button, nullptr, -1},
    {I::Combo4, "Combo4", K::Combo, nullptr, -1},
    {I::Frame13, "Frame13", K::Frame, nullptr, 100},
    {I::Label9, "Label9", K::Label, nullptr, 101},
    {I::OperationText, "operationText", K::Label, nullptr, -1},
    {I::Label11, "Label11", K::Label, nullptr, 102},
    {I::BatteryText, "batteryText", K::Label, nullptr, -1},
    {I::StopNoteText, "stopNoteText", K::Label, nullptr, -1},
    {I::Label18, "Label18", K::Label, nullptr, 103},
    {I::BeginningText, "beginningText", K::Label, nullptr, -1},
    {I::Label22, "Label22", K::Label, nullptr, 104},
    {I::PointsText, "pointsText", K::Label, nullptr, -1},
    {I::Label20, "Label20", K::Label, nullptr, 105},
    {I::IntervalText, "intervalText", K::Label, nullptr, -1},
    {I::Label47, "Label47", K::Label, nullptr, 106},
    {I::ModeText, "modeText", K::Label, nullptr, -1},
    {I::Label31, "Label31", K::Label, kLogPane, 107},
    {I::UpperText, "upperText", K::Label, nullptr, -1},
    {I::Label32, "Label32", K::Label, nullptr, 108},
    {I::LowerText, "lowerText", K::Label, nullptr, -1},
    {I::Command11, "Command11", K::Button, nullptr, 109},
    {I::Command5, "Command5", K::Button, nullptr, 110},
    {I::Frame14, "Frame14", K::Frame, nullptr, 111},
    {I::Command4, "Command4", K::Button, nullptr, 112},
    {I::IntervalSecondsText, "intervalSecondsText", K::Label, nullptr, -1},
    {I::Frame15, "Frame15", K::Frame, nullptr, 113},
    {I::Command21, "Command21", K::Button, nullptr, 114},
    {I::Command24, "Command24", K::Button, nullptr, 115},
    {I::Frame6, "Frame6", K::Frame, nullptr, 150},
    {I::Command1, "Command1", K::Button, nullptr, 151},
    {I::Command2, "Command2", K::Button, nullptr, 152},
    {I::Frame9, "Frame9", K::Frame, nullptr, 153},
    {I::Option3, "Option3", K::Option, nullptr, 155},
    {I::Option4, "Option4", K::Option, nullptr, 154},
    {I::Combo5, "Combo5", K::Combo, nullptr, -1},
    {I::Label28, "Label28", K::Label, nullptr, 156},
    {I::Frame1, "Frame1", K::Frame, nullptr, 157},
    {I::Label13, "Label13", K::Label, nullptr, 158},
    {I::Label10, "Label10", K::Label, nullptr, -1},
    {I::Label1, "Label1", K::Label, nullptr, 159},
    {I::Label2, "Label2", K::Label, nullptr, -1},
    {I::Label5, "Label5", K::Label, nullptr, 160},
    {I::Label4, "Label4", K::Label, nullptr, -1},
    {I::Frame16, "Frame16", K::Frame, nullptr, 161},
    {I::Command22, "Command22", K::Button, nullptr, 162},
    {I::Command23, "Command23", K::Button, nullptr, 163},
    {I::Frame12, "Frame12", K::Frame, nullptr, 200},
    {I::Label38, "Label38", K::Label, nullptr, 201},
    {I::Label33, "Label33", K::Label, nullptr, -1},
    {I::Label42, "Label42", K::Label, nullptr, 202},
    {I::Label43, "Label43", K::Label, nullptr, -1},
    {I::Label44, "Label44", K::Label, nullptr, 203},
    {I::Label45, "Label45", K::Label, nullptr, -1},
    {I::Label25, "Label25", K::Label, nullptr, 204},
    {I::Label12, "Label12", K::Label, nullptr, -1},
    {I::Label53, "Label53", K::Label, nullptr, 205},
    {I::Label54, "Label54", K::Label, nullptr, -1},
    {I::Label52, "Label52", K::Label, nullptr, 206},
    {I::Label51, "Label51", K::Label, nullptr, -1},
    {I::Frame17, "Frame17", K::Frame, nullptr, 207},
    {I::Command14, "Command14", K::Button, nullptr, 208},
    {I::Command25, "Command25", K::Button, nullptr, 209},
    {I::Frame5, "Frame5", K::Frame, nullptr, -1},
    {I::Option1, "Option1", K::Option, nullptr, 327},
    {I::Option2, "Option2", K::Option, nullptr, 326},
    {I::Combo2, "Combo2", K::Combo, nullptr, -1},
    {I::Command19, "Command19", K::Button, nullptr, -1},
    {I::Command26, "Command26", K::Button, nullptr, -1},
    {I::Command28, "Command28", K::Button, nullptr, -1},
    {I::Command6, "Command6", K::Button, nullptr, -1},
    {I::Command7, "Command7", K::Button, nullptr, -1},
    {I::Command13, "Command13", K::Button, nullptr, -1},
    {I::Command9, "Command9", K::Button, nullptr, -1},
    {I::Label39, "Label39", K::Label, nullptr, -1},
    {I::Label24, "Label24", K::Label, nullptr, -1},
    {I::GraphArea, "graphArea", K::Pane, nullptr, -1},
    {I::ondo, "ondo", K::Graph, nullptr, -1},
    {I::situdo, "situdo", K::Graph, nullptr, -1},
    {I::HScroll1, "HScroll1", K::ScrollBar, nullptr, -1},
    {I::HScroll2, "HScroll2", K::ScrollBar, nullptr, -1},
    {I::HScroll3, "HScroll3", K::ScrollBar, nullptr, -1},
    {I::HScroll4, "HScroll4", K::ScrollBar, nullptr, -1},
    {I::VScroll1, "VScroll1", K::ScrollBar, nullptr, -1},
    {I::VScroll2, "VScroll2", K::ScrollBar, nullptr, -1},
    {I::VScroll3, "VScroll3", K::ScrollBar, nullptr, -1},
    {I::VScroll4, "VScroll4", K::ScrollBar, nullptr, -1},
    {I::Command10, "Command10", K::Button, nullptr, -1},
    {I::Command3, "Command3", K::Button, nullptr, -1},
    {I::Command15, "Command15", K::Button, nullptr, -1},
    {I::Command16, "Command16", K::Button, nullptr, -1},
    {I::Command18, "Command18", K::Button, nullptr, -1},
    {I::Command17, "Command17", K::Button, nullptr, -1},
    {I::Command12, "Command12", K::Button, nullptr, -1},
    {I::GraphLabel30, "Label30", K::Label, kGraphPanel, -1},
    {I::GraphLabel31, "Label31", K::Label, kGraphPanel, -1},
    {I::GraphLabel34, "Label34", K::Label, kGraphPanel, -1},
    {I::GraphLabel35, "Label35", K::Label, kGraphPanel, -1},
    {I::GraphLabel36, "Label36", K::Label, kGraphPanel, -1},
    {I::GraphLabel37, "Label37", K::Label, kGraphPanel, -1},
    {I::Picture3_0, "Picture3_0", K::Pane, nullptr, -1},
    {I::Picture3_1, "Picture3_1", K::Pane, nullptr, -1},
    {I::Picture3_2, "Picture3_2", K::Pane, nullptr, -1},
    {I::StatusBar1Panel1, "StatusBar1Panel1", K::Label, nullptr, -1},
    {I::StatusBar1Panel2, "StatusBar1Panel2", K::Label, nullptr, -1},
    {I::StatusBar1Panel3, "StatusBar1Panel3", K::Label, nullptr, -1},
    {I::m1, "m1", K::Menu, nullptr, 0},
    {I::m11, "m11", K::Action, nullptr, 1},
    {I::m12, "m12", K::Menu, nullptr, 2},
    {I::m122, "m122", K::Action, nullptr, 3},
    {I::m121, "m121", K::Action, nullptr, 4},
    {I::m13, "m13", K::Action, nullptr, 5},
    {I::m14, "m14", K::Action, nullptr, 6},
    {I::m2, "m2", K::Menu, nullptr, 7},
    {I::m21, "m21", K::Menu, nullptr, 8},
    {I::m211, "m211", K::Action, nullptr, 9},
    {I::m212, "m212", K::Action, nullptr, 10},
    {I::m22, "m22", K::Menu, nullptr, 11},
    {I::m221, "m221", K::Action, nullptr, 12},
    {I::m222, "m222", K::Action, nullptr, 13},
    {I::m23, "m23", K::Menu, nullptr, 14},
    {I::m231, "m231", K::Action, nullptr, 15},
    {I::m232, "m232", K::Action, nullptr, 16},
    {I::m3, "m3", K::Menu, nullptr, 17},
    {I::m35, "m35", K::Action, nullptr, 18},
    {I::m31, "m31", K::Action, nullptr, 19},
    {I::m32, "m32", K::Action, nullptr, 20},
    {I::m33, "m33", K::Action, nullptr, 21},
    {I::m332, "m332", K::Action, nullptr, 22},
    {I::m331, "m331", K::Action, nullptr, 23},
    {I::m34, "m34", K::Action, nullptr, 24},
    {I::D_M, "D_M", K::Menu, nullptr, 31},
    {I::D_M_Fast, "D_M_Fast", K::Action, nullptr, 32},
    {I::D_M_Slow, "D_M_Slow", K::Action, nullptr, 33},
    {I::m4, "m4", K::Menu, nullptr, 25},
    {I::m42, "m42", K::Action, nullptr, 26},
    {I::m41, "m41", K::Action, nullptr, 27},
    {I::Form2, "Form2", K::Dialog, nullptr, -1},
    {I::Form3, "Form3", K::Dialog, nullptr, -1},
    {I::Form5, "Form5", K::Dialog, nullptr, -1},
    {I::Form6, "Form6", K::Dialog, nullptr, -1},
    {I::Form12, "Form12", K::Dialog, nullptr, -1},
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
