// The status panel's value built from chosen logger states, checked on its typed fields and on
// the controls each state sets or leaves alone.
#include <gtest/gtest.h>

#include <functional>

#include "data/datetime.h"
#include "operations/statusview.h"

namespace {

using I = ControlId;

struct ViewCase {
    const char* name;
    bool connected;
    std::function<void(LoggerState&)> setup;
    QString model;
    RecordState recordState;
    StartKind start;
    std::optional<double> points;
    std::optional<int> intervalSeconds;
    std::optional<bool> loop;
    bool described;  // mode and bounds known
    bool boundsShown;
    std::optional<QString> operation;  // none: the read-out is left as it is
    // Controls the state must set, and how.
    std::vector<std::pair<ControlId, bool>> enabled;
};

class StatusViewStates : public ::testing::TestWithParam<ViewCase> {};

TEST_P(StatusViewStates, DescribeTheLoggerAndSetTheControls) {
    const ViewCase& c = GetParam();
    MessageTable messages;
    messages.fillEnglish();
    // A stopped QM320-HX on port 3 with 100 points at 10 min since 2025-03-14 09:30.
    LoggerState state;
    state.Machine_N_P = kModelQM320;
    state.Start_Time = datetime::fromDateAndTime(QDate(2025, 3, 14), QTime(9, 30));
    state.Battery_Volts = QStringLiteral("3.00");
    state.VT_Name = QStringLiteral("AB  ");
    state.Record_Pointer = 400;
    state.Current_Interval_Sec = 90;
    state.Reserve_Day = 5;
    state.Reserve_Hour = 9;
    state.Reserve_Minute = 30;
    if (c.setup) {
        c.setup(state);
    }
    DataSet log;
    log.interval = 600;
    log.upperOn = 1;
    log.upperBound = 30;
    log.lowerBound = 10;
    const StatusView view = buildStatusView({.state = state,
                                             .log = log,
                                             .hasData = {true, false, false},
                                             .portOpen = c.connected,
                                             .portNumber = 3},
                                            messages);

    EXPECT_EQ(view.connected, c.connected);
    EXPECT_EQ(view.port, c.connected ? 3 : 0);
    EXPECT_EQ(view.model, c.model);
    EXPECT_EQ(view.recordState, c.recordState);
    EXPECT_EQ(view.start, c.start);
    EXPECT_EQ(view.points, c.points);
    EXPECT_EQ(view.intervalSeconds, c.intervalSeconds);
    EXPECT_EQ(view.loop, c.loop);
    EXPECT_EQ(view.upper.has_value(), c.described);
    if (c.described) {
        EXPECT_TRUE(view.upper->on);
        EXPECT_EQ(view.upper->degrees, 30);
        EXPECT_FALSE(view.lower->on);
    }
    EXPECT_EQ(view.boundsShown, c.boundsShown);
    EXPECT_EQ(view.change(I::UpperBoundText).visible, c.boundsShown);
    EXPECT_EQ(statusReadOut(view, StatusReadOut::Operation, messages), c.operation);
    EXPECT_EQ(view.change(I::OperationText).text, c.operation);
    for (const auto& [id, on] : c.enabled) {
        EXPECT_EQ(view.change(id).enabled, on) << controlName(id);
    }
}

const auto kStopped = [](LoggerState&) {};
const std::optional<QString> kLeftAlone;

INSTANTIATE_TEST_SUITE_P(
    States, StatusViewStates,
    ::testing::Values(ViewCase{"NotConnected",
                               false,
                               kStopped,
                               QStringLiteral("Veltrane"),
                               RecordState::Stopped,
                               StartKind::None,
                               std::nullopt,
                               std::nullopt,
                               std::nullopt,
                               false,
                               false,
                               QStringLiteral("----"),
                               {{I::NumberList, true},
                                {I::StartStopButton, false},
                                {I::ClockItem, false},
                                {I::InitialiseButton, false}}},
                      ViewCase{"Stopped",
                               true,
                               kStopped,
                               kModelQM320,
                               RecordState::Stopped,
                               StartKind::Time,
                               100,
                               600,
                               false,
                               true,
                               true,
                               QStringLiteral("Record stop"),
                               {{I::NumberList, false},
                                {I::DownloadButton, true},
                                {I::ClockItem, true},
                                {I::InitialiseButton, true}}},
                      ViewCase{"Recording",
                               true,
                               [](LoggerState& s) { s.recordState = RecordState::Recording; },
                               kModelQM320,
                               RecordState::Recording,
                               StartKind::Time,
                               100,
                               600,
                               false,
                               true,
                               true,
                               QStringLiteral("Recording"),
                               {{I::StartStopButton, true},
                                {I::DownloadButton, false},
                                {I::RealTimeDataOption, false}}},
                      ViewCase{"Reserved",
                               true,
                               [](LoggerState& s) { s.recordState = RecordState::Reserved; },
                               kModelQM320,
                               RecordState::Reserved,
                               StartKind::Reservation,
                               0,
                               90,
                               false,
                               true,
                               true,
                               QStringLiteral("Reserving"),
                               {{I::StartStopButton, true},
                                {I::RealTimeDisplayMenu, false},
                                {I::MeasureOnceButton, false}}},
                      ViewCase{"Continuous",
                               true,
                               [](LoggerState& s) { s.recordState = RecordState::Continuous; },
                               kModelQM320,
                               RecordState::Continuous,
                               StartKind::Time,
                               100,
                               600,
                               false,
                               true,
                               true,
                               kLeftAlone,
                               {{I::ContinuousButton, true},
                                {I::StartStopButton, false},
                                {I::LogDataOption, false}}},
                      ViewCase{"Qm300HidesTheBounds",
                               true,
                               [](LoggerState& s) { s.Machine_N_P = kModelQM300; },
                               kModelQM300,
                               RecordState::Stopped,
                               StartKind::Time,
                               100,
                               600,
                               false,
                               true,
                               false,
                               QStringLiteral("Record stop"),
                               {}},
                      ViewCase{"UnreadableStartOverAnEmptyMemory",
                               true,
                               [](LoggerState& s) {
                                   s.Start_Time =
                                       datetime::fromDateAndTime(QDate(1999, 6, 1), QTime(12, 0));
                                   s.Record_Pointer = 0;
                               },
                               kModelQM320,
                               RecordState::Stopped,
                               StartKind::None,
                               0,
                               std::nullopt,
                               std::nullopt,
                               false,
                               true,
                               QStringLiteral("Record stop"),
                               {}},
                      ViewCase{"UnreadableStartOverRecords",
                               true,
                               [](LoggerState& s) { s.Start_Time = 0; },
                               kModelQM320,
                               RecordState::Stopped,
                               StartKind::Unreadable,
                               100,
                               600,
                               false,
                               true,
                               true,
                               QStringLiteral("Record stop"),
                               {}},
                      ViewCase{"ReservedOverAnEmptyMemoryKeepsTheReservedInterval",
                               true,
                               [](LoggerState& s) {
                                   s.recordState = RecordState::Reserved;
                                   s.Start_Time = 0;
                                   s.Record_Pointer = 0;
                               },
                               kModelQM320,
                               RecordState::Reserved,
                               StartKind::Reservation,
                               0,
                               90,
                               std::nullopt,
                               false,
                               true,
                               QStringLiteral("Reserving"),
                               {}}),
    [](const ::testing::TestParamInfo<ViewCase>& info) { return std::string(info.param.name); });

}  // namespace
