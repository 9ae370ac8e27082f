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
    Form1,
    // Display selection.
    Frame8,
    Option5,
    Option6,
    Option7,
    Option8,
    Option9,
    DataSetLabel,
    // Identification name and communication read-outs.
    Frame11,
    IdentNameText,
    CommunicationFrame,
    ConnectionLamp,
    CommunicationText,
    // Connection box.
    Command20,
    Combo1,
    Combo3,
    Command27,
    Combo4,
    // Log pane: the logger status panel.
    Frame13,
    Label9,
    OperationText,
    Label11,
    BatteryText,
    StopNoteText,
    Label18,
    BeginningText,
    Label22,
    PointsText,
    Label20,
    IntervalText,
    Label47,
    ModeText,
    Label31,
    UpperText,
    Label32,
    LowerText,
    Command11,
    Command5,
    Frame14,
    Command4,
    IntervalSecondsText,
    Frame15,
    Command21,
    Command24,
    // Real-time measurement pane.
    Frame6,
    Command1,
    Command2,
    Frame9,
    Option3,
    Option4,
    Combo5,
    Label28,
    Frame1,
    Label13,
    Label10,
    Label1,
    Label2,
    Label5,
    Label4,
    Frame16,
    Command22,
    Command23,
    // File pane.
    Frame12,
    Label38,
    Label33,
    Label42,
    Label43,
    Label44,
    Label45,
    Label25,
    Label12,
    Label53,
    Label54,
    Label52,
    Label51,
    Frame17,
    Command14,
    Command25,
    // Controls without a visible place, kept in the hidden Frame5.
    Frame5,
    Option1,
    Option2,
    Combo2,
    Command19,
    Command26,
    Command28,
    Command6,
    Command7,
    Command13,
    Command9,
    Label39,
    Label24,
    // Graph area, its graphs, scroll bars, zoom and fit buttons and range labels.
    GraphArea,
    ondo,
    situdo,
    HScroll1,
    HScroll2,
    HScroll3,
    HScroll4,
    VScroll1,
    VScroll2,
    VScroll3,
    VScroll4,
    Command10,
    Command3,
    Command15,
    Command16,
    Command18,
    Command17,
    Command12,
    GraphLabel30,
    GraphLabel31,
    GraphLabel34,
    GraphLabel35,
    GraphLabel36,
    GraphLabel37,
    // Table panes, one per data set.
    Picture3_0,
    Picture3_1,
    Picture3_2,
    // Status bar panels.
    StatusBar1Panel1,
    StatusBar1Panel2,
    StatusBar1Panel3,
    // Menus and menu items.
    m1,
    m11,
    m12,
    m122,
    m121,
    m13,
    m14,
    m2,
    m21,
    m211,
    m212,
    m22,
    m221,
    m222,
    m23,
    m231,
    m232,
    m3,
    m35,
    m31,
    m32,
    m33,
    m332,
    m331,
    m34,
    D_M,
    D_M_Fast,
    D_M_Slow,
    m4,
    m42,
    m41,
    // Dialogs, registered by whoever opens them.
    Form2,
    Form3,
    Form5,
    Form6,
    Form12,
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
    return static_cast<ControlId>(static_cast<int>(ControlId::Picture3_0) + dataSet);
}

// The entry of the control of that object name; nullptr when none has it, and the first of two
// that share it.
const ControlInfo* findControl(const QString& name);
