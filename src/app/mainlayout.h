// The fixed layout of the main window's content, measured in twips: the graph
// area and the table panes on top, the data pane of the displayed data set below them, and
// the display selection and connection controls on the right. Every control carries the
// object name of its id, so the window registers it for the operations.
#pragma once

#include <QSize>
#include <QWidget>
#include <array>

class GraphPanel;
class MessageTable;
class QButtonGroup;
class QComboBox;
class QLabel;
class QPushButton;

namespace Layout {
// The whole designed layout; the window's size limits are derived from it.
inline constexpr int kContentWidth = 11325;
inline constexpr int kContentHeight = 10560;
inline constexpr int kGraphLeft = 120;
inline constexpr int kOndoTop = 120;
inline constexpr int kSitudoTop = 3360;
inline constexpr int kGraphWidth = 10575;
inline constexpr int kGraphHeight = 3135;
// The graph panel (graphs, their scroll bars and buttons) and, in table view, the tables
// share this area.
inline constexpr int kViewAreaHeight = 7620;
// The data pane of the displayed data set and the column beside it.
inline constexpr int kPaneLeft = 120;
inline constexpr int kPaneTop = 7920;
inline constexpr int kPaneWidth = 7830;
inline constexpr int kPaneHeight = 2520;
inline constexpr int kSideLeft = 8070;
inline constexpr int kSideWidth = 3135;
}  // namespace Layout

// The controls of the content the main window itself builds on or connects.
struct MainControls {
    QWidget* content = nullptr;    // the fixed-size content
    QWidget* graphArea = nullptr;  // the graph panel's container
    GraphPanel* graphPanel = nullptr;
    std::array<QWidget*, 3> tablePanes{};  // the table panes 0..2, replaced by the data tables
    QLabel* dataSetLabel = nullptr;
    QWidget* logPane = nullptr;             // LogPane
    QWidget* realTimePane = nullptr;        // RealTimePane
    QWidget* filePane = nullptr;            // FilePane
    QPushButton* connect = nullptr;         // ConnectButton
    QPushButton* initialise = nullptr;      // InitialiseButton
    QComboBox* baud = nullptr;              // BaudRateList
    QComboBox* model = nullptr;             // ModelList
    QComboBox* selector = nullptr;          // NumberList
    QComboBox* intervalCount = nullptr;     // IntervalCountList
    QComboBox* measurementCount = nullptr;  // RepeatCountList
    QButtonGroup* dataSetChoice = nullptr;  // the data set options, ids 0..2
    QButtonGroup* viewChoice = nullptr;     // the graph and dump options, ids 0..1
};

// Builds the content widget (fixed size) with every panel; the window captions it.
MainControls buildMainContent(const MessageTable& messages);

// Replaces the placeholder child `name` of the content with `widget`, which takes its place
// and size. Returns false when no such placeholder exists.
bool replacePlaceholder(QWidget* content, const char* name, QWidget* widget);
