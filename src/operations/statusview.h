// The status panel as a value: the logger's status as the port, the logger model and the data
// sets give it, typed, and the change the panel makes to each control to show it. Built without
// any control, so the rules can be checked alone; the window and the command line render the
// same value, and the command line prints its typed fields.
#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "controls/controlid.h"
#include "data/dataset.h"
#include "data/messagetable.h"
#include "link/loggerstate.h"
#include "operations/controls.h"

// Texts of the read-outs, kept apart from the widgets so their rules can be checked alone.
namespace StatusText {
inline const QString kNoValue = QStringLiteral("----");
inline const QString kNoDate = QStringLiteral("----/--/-- --:--:--");
inline const QString kOff = QStringLiteral("OFF");

// "yyyy/mm/dd hh:nn:ss" of a day count from 1899-12-30; empty when it cannot be formatted.
QString formatDateTime(double days);
// Year of a day count, or 0 when it cannot be formatted.
int yearOf(double days);
// Minutes and seconds: 90 gives "1 Min30 Sec", 60 "1 Min", 0 empty.
QString interval(std::int32_t seconds, const MessageTable& messages);
// The leading number of a text as the old numeric conversion reads it (0 when there is none).
double leadingNumber(const QString& text);
bool batteryGood(const LoggerState& state);
// The volts as the logger reports them with the unit, after "NG" when not good.
QString battery(const QString& volts, bool good, const MessageTable& messages);
// Reserved start: day, hour, minute, as "05Day09:30 Record beginning".
QString reservation(int day, int hour, int minute, const MessageTable& messages);
QString points(double points, const MessageTable& messages);
QString bound(bool on, int degrees, const MessageTable& messages);
}  // namespace StatusText

// The controls a procedure disables while it runs and the refresh enables by state.
inline constexpr std::array kOperationControls = {ControlId::IntervalUnitSecondsOption,
                                                  ControlId::IntervalUnitMinutesOption,
                                                  ControlId::RepeatSecondsOption,
                                                  ControlId::RepeatMinutesOption,
                                                  ControlId::IntervalCountList,
                                                  ControlId::RepeatCountList,
                                                  ControlId::NumberList,
                                                  ControlId::MeasureOnceButton,
                                                  ControlId::ContinuousButton,
                                                  ControlId::StartStopButton,
                                                  ControlId::DownloadButton,
                                                  ControlId::ReservationButton,
                                                  ControlId::AlarmButton,
                                                  ControlId::MemoryModeButton,
                                                  ControlId::ClockSetButton,
                                                  ControlId::ClockReadButton,
                                                  ControlId::UpdateButton,
                                                  ControlId::LedButton,
                                                  ControlId::FileMenu,
                                                  ControlId::DisplayMenu,
                                                  ControlId::ToolMenu,
                                                  ControlId::OpenItem,
                                                  ControlId::SaveMenu,
                                                  ControlId::LogDisplayMenu,
                                                  ControlId::RealTimeDisplayMenu,
                                                  ControlId::FileDisplayMenu,
                                                  ControlId::CommunicationStartItem,
                                                  ControlId::CommunicationSettingItem,
                                                  ControlId::ClockItem,
                                                  ControlId::IdentNameItem};
inline constexpr std::array kDisplayOptions = {
    ControlId::LogDataOption, ControlId::RealTimeDataOption, ControlId::FileDataOption,
    ControlId::GraphViewOption, ControlId::DumpViewOption};

// What the panel sets on one control; a property left empty is left as it is.
struct ControlChange {
    std::optional<QString> text;
    std::optional<QString> description;
    std::optional<bool> enabled;
    std::optional<bool> visible;
    std::optional<bool> checked;
    std::optional<Shade> backColour;
};

// An alarm bound of the log header, in whole degrees Celsius.
struct AlarmBound {
    bool on = false;
    int degrees = 0;
};

// The reserved start as the logger keeps it.
struct ReservedStart {
    int day = 0;
    int hour = 0;
    int minute = 0;
};

// Where the recording begins: no recording to describe, a start time, a reserved start, or
// records under a start the logger cannot date.
enum class StartKind { None, Time, Reservation, Unreadable };

// The read-outs of the panel, each a value label.
enum class StatusReadOut {
    IdentName,
    Operation,
    Battery,
    StopNote,
    Beginning,
    Points,
    Interval,
    Mode,
    Upper,
    Lower
};

struct StatusView {
    bool connected = false;
    int port = 0;   // when connected
    QString model;  // the product name when not connected
    QString identName;
    RecordState recordState = RecordState::Stopped;
    QString batteryVolts;  // as the logger reports them
    bool batteryGood = false;
    // The recording ended on low voltage.
    bool voltageStop = false;
    StartKind start = StartKind::None;
    double startTime = 0;         // days since 1899-12-30, with StartKind::Time
    ReservedStart reservedStart;  // with StartKind::Reservation
    // Record points, record interval, memory mode and bounds; none when there is nothing to
    // describe (or no logger).
    std::optional<double> points;
    std::optional<int> intervalSeconds;
    std::optional<bool> loop;
    std::optional<AlarmBound> upper;
    std::optional<AlarmBound> lower;
    // Only the model with alarm bounds shows them.
    bool boundsShown = false;
    // The logger holds data never downloaded.
    bool neverDownloaded = false;

    // Dialogs that could show stale values, closed first.
    std::vector<ControlId> closed;
    std::array<ControlChange, kControlCount> changes{};

    ControlChange& change(ControlId id) { return changes[static_cast<std::size_t>(id)]; }
    const ControlChange& change(ControlId id) const {
        return changes[static_cast<std::size_t>(id)];
    }
};

// What the panel is built from.
struct StatusInputs {
    const LoggerState& state;
    // The log data set: its header gives the interval and the bounds.
    const DataSet& log;
    std::array<bool, 3> hasData{};
    bool portOpen = false;
    int portNumber = 0;
    DataSetIndex shown = LogData;
    bool tableView = false;
};

StatusView buildStatusView(const StatusInputs& inputs, const MessageTable& messages);
// The text of a read-out; none where the panel leaves it as it is (the operation during a
// continuous measurement).
std::optional<QString> statusReadOut(const StatusView& view, StatusReadOut readOut,
                                     const MessageTable& messages);
// Closes the dialogs, then sets every change on the controls.
void renderStatusView(const StatusView& view, Controls& controls);
