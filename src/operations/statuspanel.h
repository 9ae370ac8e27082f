// The logger status panel of the main window: the state frame (the log pane) with its read-outs,
// captions and buttons, the identification-name frame and the communication read-out with its
// lamp. The status refresh fills them by object name, so the names below are the contract
// between these widgets, the refresh and the main window.
#pragma once

#include <QGroupBox>
#include <QPushButton>

class MessageTable;
class QLabel;

namespace StatusNames {
// Read-outs without a name of their own in the original layout.
inline constexpr char Operation[] = "operationText";
inline constexpr char Battery[] = "batteryText";
inline constexpr char StopNote[] = "stopNoteText";
inline constexpr char Beginning[] = "beginningText";
inline constexpr char Points[] = "pointsText";
inline constexpr char IntervalSeconds[] = "intervalSecondsText";
inline constexpr char Interval[] = "intervalText";
inline constexpr char Mode[] = "modeText";
inline constexpr char Upper[] = "upperText";
inline constexpr char Lower[] = "lowerText";
inline constexpr char IdentName[] = "identNameText";
inline constexpr char CommunicationFrame[] = "communicationFrame";
inline constexpr char Communication[] = "communicationText";
inline constexpr char Lamp[] = "connectionLamp";
// Placed by the main window: the first status bar panel, the label above the data area, the
// three data panes and the graph area.
inline constexpr char StatusPanel1[] = "StatusBar1Panel1";
inline constexpr char DataSetLabel[] = "dataSetLabel";
inline constexpr char LogPane[] = "Frame13";
inline constexpr char RealTimePane[] = "Frame6";
inline constexpr char FilePane[] = "Frame12";
inline constexpr char GraphArea[] = "graphArea";
// Table panes, one per data set (the containers of the three tables).
inline constexpr const char* TablePanes[3] = {"Picture3_0", "Picture3_1", "Picture3_2"};
}  // namespace StatusNames

// The log pane (Frame13): state read-outs, the Update, Download and recording buttons, and the
// save and print buttons of the log data.
class StatusPanel : public QGroupBox {
    Q_OBJECT
  public:
    explicit StatusPanel(QWidget* parent = nullptr);

    // Captions from the message table, for the language in use.
    void applyCaptions(const MessageTable& messages);

    QPushButton* updateButton() const { return update_; }        // Command11
    QPushButton* downloadButton() const { return download_; }    // Command5
    QPushButton* recordingButton() const { return recording_; }  // Command4
    QPushButton* saveLogButton() const { return saveLog_; }      // Command21
    QPushButton* printLogButton() const { return printLog_; }    // Command24

  private:
    QLabel* caption(const char* name);
    QLabel* readOut(const char* name);

    QPushButton* update_ = nullptr;
    QPushButton* download_ = nullptr;
    QPushButton* recording_ = nullptr;
    QPushButton* saveLog_ = nullptr;
    QPushButton* printLog_ = nullptr;
};

// The identification-name frame (Frame11) with its read-out; it stays visible whichever data
// pane is shown.
class IdentNameFrame : public QGroupBox {
    Q_OBJECT
  public:
    explicit IdentNameFrame(QWidget* parent = nullptr);
    void applyCaptions(const MessageTable& messages);
};

// The communication read-out with the connection lamp.
class CommunicationFrame : public QGroupBox {
    Q_OBJECT
  public:
    explicit CommunicationFrame(QWidget* parent = nullptr);
    void applyCaptions(const MessageTable& messages);
};
