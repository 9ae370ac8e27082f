// Starting and stopping a recording against the simulated logger: the Start/Stop button's
// checks, and what Log_Start, Yoyaku_Set and M_Mode_Set send, as the logger received it, and
// read back.
#include <gtest/gtest.h>

#include <tuple>

#include "harness.h"
#include "link/loggerdate.h"
#include "operations/recording.h"
#include "sim/simscenarios.h"

namespace {

using namespace optest;
using I = ControlId;
using Sent = std::array<int, 3>;

const QDateTime kNow(QDate(2026, 3, 1), QTime(12, 0, 5));

Sent alarm(Command command, int degrees, bool on, int selector) {
    const auto bytes = RecordingOperation::alarmBytes(degrees, on, selector);
    return {code(command), bytes[0], bytes[1]};
}

Sent sent(Command command, int arg1 = 0, int arg2 = 0) {
    return {code(command), arg1, arg2};
}

class RecordingTest : public ::testing::Test {
  protected:
    void open(const char* scenario) {
        h = std::make_unique<Harness>(3, QLatin1String(scenario));
        h->context.now = [] { return kNow; };
        h->connect();
        ASSERT_TRUE(h->port.isOpen());
        mark = h->logger.history().size();
    }
    // What the logger received before the closing status read (19 commands, checked here).
    std::vector<Sent> programmed() const {
        std::vector<Sent> all = h->received(mark);
        if (all.size() < 19 || all[all.size() - 19][0] != code(Command::Identify)) {
            ADD_FAILURE() << "no status read at the end";
            return all;
        }
        all.resize(all.size() - 19);
        return all;
    }
    RecordingOperation& op() { return h->ops->recording(); }

    std::unique_ptr<Harness> h;
    std::size_t mark = 0;
};

RecordingRequest request(std::uint8_t unit, int count) {
    return {QStringLiteral("AB"), true, unit, count, 30, 10, true, false, std::nullopt};
}

TEST_F(RecordingTest, LogStartProgramsTheLoggerInOrder) {
    open("runs");
    ASSERT_TRUE(op().Log_Start(ProcedureKind::RecordingStart, 7, request(kUnitMinutes, 10)));
    const CommandQueue& queue = h->engine.queue();
    EXPECT_EQ(queue.Entries[queue.Count - 1].Keyword, ProcedureKind::RecordingStart);
    EXPECT_EQ(queue.Entries[0].Value, 7);
    EXPECT_FALSE(h->enabled(I::StartStopButton));
    ASSERT_TRUE(h->runProcedure());
    EXPECT_EQ(
        programmed(),
        (std::vector<Sent>{
            sent(Command::SetName12, 32, 32), sent(Command::SetName34, 65, 66),
            sent(Command::SetMemoryMode, 1, 1), sent(Command::SetClockMonthYear, 3, 26),
            sent(Command::SetClockHourDay, 12, 1), sent(Command::SetClockSecondMinute, 5, 0),
            sent(Command::GetClockMonthYear), sent(Command::GetClockHourDay),
            sent(Command::GetClockSecondMinute), sent(Command::SetFastSampling, 0, 0),
            alarm(Command::SetUpperAlarm, 30, true, 3), alarm(Command::SetLowerAlarm, 10, false, 3),
            sent(Command::StartRecording, kUnitMinutes, 10)}));
    // The bound bytes are the ones the logger's own encoding gives.
    const auto bytes = simscenario::alarmBytes(30, true);
    EXPECT_EQ(alarm(Command::SetUpperAlarm, 30, true, 3),
              sent(Command::SetUpperAlarm, bytes[0], bytes[1]));

    // The status read brings the settings back, silently.
    EXPECT_TRUE(h->prompter.messages.empty());
    EXPECT_EQ(h->state.VT_Name, QStringLiteral("  AB"));
    EXPECT_EQ(h->state.Memory_Mode, 1);
    EXPECT_EQ(dateTimeText(h->state.Clock_Time), QStringLiteral("2026/03/01 12:00:05"));
    const DataSet& log = h->dataSets[LogData];
    EXPECT_EQ(std::make_tuple(log.interval, log.upperBound, log.upperOn, log.lowerBound),
              std::make_tuple(600, 30, 0x80, 10));
    EXPECT_EQ(h->text(I::OperationText), QStringLiteral("Recording"));
    EXPECT_EQ(h->text(I::StartStopButton), QStringLiteral("Stop"));
}

// The interval chooses fast sampling and the coefficients the bounds are encoded with; a model
// without alarms gets both as zero; a reserved start replaces the start.
TEST_F(RecordingTest, IntervalModelAndReservationShapeTheCommands) {
    const QDateTime reserved(QDate(2026, 3, 2), QTime(8, 30));
    const struct {
        const char* scenario;
        std::uint8_t unit;
        int count;
        bool reserve;
        int fast, selector;  // selector 0: both bounds zero
    } cases[] = {{"runs", kUnitSeconds, 2, false, 1, 2}, {"runs", kUnitSeconds, 1, false, 0, 2},
                 {"runs", kUnitSeconds, 3, false, 0, 3}, {"runs", kUnitMinutes, 1, false, 0, 3},
                 {"runs", kUnitMinutes, 5, true, 0, 3},  {"qm300", kUnitMinutes, 10, false, 0, 0}};
    // The two coefficient sets encode a bound differently, so the bytes show the set.
    ASSERT_NE(alarm(Command::SetUpperAlarm, 30, true, 2),
              alarm(Command::SetUpperAlarm, 30, true, 3));
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.scenario << " " << int(c.unit) << " " << c.count);
        open(c.scenario);
        RecordingRequest r = request(c.unit, c.count);
        r.reservedStart = c.reserve ? std::optional(reserved) : std::nullopt;
        ASSERT_TRUE(op().Log_Start(ProcedureKind::RecordingStart, 0, r));
        ASSERT_TRUE(h->runProcedure());
        const std::vector<Sent> all = programmed();
        ASSERT_EQ(all.size(), c.reserve ? 16u : 13u);
        EXPECT_EQ(all[9], sent(Command::SetFastSampling, c.fast, c.fast));
        const bool zero = c.selector == 0;
        EXPECT_EQ(all[10], zero ? sent(Command::SetUpperAlarm)
                                : alarm(Command::SetUpperAlarm, 30, true, c.selector));
        EXPECT_EQ(all[11], zero ? sent(Command::SetLowerAlarm)
                                : alarm(Command::SetLowerAlarm, 10, false, c.selector));
        const std::vector<Sent> start(all.begin() + 12, all.end());
        const std::vector<Sent> reservation{
            sent(Command::SetReserveDay, 2), sent(Command::SetReserveHour, 8),
            sent(Command::SetReserveMinute, 30), sent(Command::ReserveRecording, c.unit, 5)};
        EXPECT_EQ(start, c.reserve ? reservation
                                   : std::vector{sent(Command::StartRecording, c.unit, c.count)});
        EXPECT_EQ(h->state.recordState, c.reserve ? RecordState::Reserved : RecordState::Recording);
        // Read back with the interval's own coefficients, the bounds are the ones chosen.
        if (!zero) {
            EXPECT_EQ(h->dataSets[LogData].upperBound, 30);
            EXPECT_EQ(h->dataSets[LogData].lowerBound, 10);
        }
    }
}

TEST_F(RecordingTest, StartStopButtonChecksBeforeTheDialog) {
    const struct {
        const char* scenario;
        std::deque<bool> answers;
        std::optional<Msg> message;
        bool asks, opens, stops;
    } cases[] = {
        {"recording", {}, {}, false, false, true},
        {"reserved", {}, {}, false, false, true},
        {"lowbattery", {}, Msg::ChangeBatteryBeforeStart, false, false, false},
        {"runs", {false}, {}, true, false, false},
        {"runs", {true}, {}, true, true, false},
        {"empty", {}, {}, false, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.scenario << " " << c.answers.size());
        open(c.scenario);
        h->prompter.answers = c.answers;
        op().startOrStop();
        ASSERT_EQ(h->prompter.messages.size(), c.message ? 1u : 0u);
        if (c.message) {
            EXPECT_EQ(h->prompter.messages[0].text, h->messages.text(*c.message));
        }
        ASSERT_EQ(h->prompter.questions.size(), c.asks ? 1u : 0u);
        if (c.asks) {
            EXPECT_EQ(h->prompter.questions[0].text,
                      h->messages.pair(Msg::DataNeverDownloaded, Msg::AskStartLosingData));
        }
        EXPECT_EQ(h->dialogs.opened.size(), c.opens ? 1u : 0u);
        ASSERT_TRUE(h->runProcedure());
        if (c.stops) {
            EXPECT_EQ(programmed(), std::vector<Sent>{sent(Command::StopRecording, 14, 0)});
            EXPECT_EQ(h->text(I::StartStopButton), QStringLiteral("Start"));
        } else {
            EXPECT_TRUE(h->received(mark).empty());
        }
    }
}

TEST_F(RecordingTest, NothingStartsWhileAProcedureRuns) {
    open("recording");
    h->dialogs.clockSet = true;
    h->engine.begin();
    ASSERT_TRUE(enqueueStatusRead(h->engine, ProcedureKind::None));
    op().startOrStop();
    EXPECT_FALSE(op().Log_Start(ProcedureKind::RecordingStart, 0, request(kUnitMinutes, 1)));
    EXPECT_FALSE(op().M_Mode_Set(true));
    h->ops->tools().openClockDialog();
    h->ops->tools().openNameDialog();
    h->ops->tools().openPortDialog();
    EXPECT_TRUE(h->dialogs.opened.isEmpty());
    EXPECT_FALSE(h->ops->tools().Set_VTName(ProcedureKind::None, 0, QStringLiteral("AB")));
    EXPECT_EQ(h->engine.queue().Count, 19);
    h->engine.begin();
}

TEST_F(RecordingTest, ReservationAloneAndRecordModeAlone) {
    open("runs");
    ASSERT_TRUE(op().Yoyaku_Set(ProcedureKind::None, 0,
                                {QDateTime(QDate(2026, 3, 9), QTime(7, 5)), kUnitSeconds, 2}));
    ASSERT_TRUE(h->runProcedure());
    const std::vector<Sent> reserved = programmed();
    ASSERT_EQ(reserved.size(), 11u);
    EXPECT_EQ(reserved[0][0], code(Command::SetClockMonthYear));
    EXPECT_EQ(reserved[5][0], code(Command::GetClockSecondMinute));
    EXPECT_EQ(
        std::vector<Sent>(reserved.begin() + 6, reserved.end()),
        (std::vector<Sent>{sent(Command::SetFastSampling, 1, 1), sent(Command::SetReserveDay, 9),
                           sent(Command::SetReserveHour, 7), sent(Command::SetReserveMinute, 5),
                           sent(Command::ReserveRecording, kUnitSeconds, 2)}));
    EXPECT_EQ(h->state.recordState, RecordState::Reserved);

    // The record mode alone is confirmed by the logger model's message.
    for (bool oneTime : {false, true}) {
        mark = h->logger.history().size();
        h->prompter.messages.clear();
        ASSERT_TRUE(op().M_Mode_Set(oneTime));
        ASSERT_TRUE(h->runProcedure());
        const int loop = oneTime ? 0 : 1;
        EXPECT_EQ(programmed(), std::vector<Sent>{sent(Command::SetMemoryMode, loop, loop)});
        EXPECT_EQ(h->state.Memory_Mode, loop);
        ASSERT_EQ(h->prompter.messages.size(), 1u);
        EXPECT_EQ(h->prompter.messages[0].text, h->messages.text(Msg::SetCompleted));
    }

    // A low battery refuses the reservation with its own message.
    open("lowbattery");
    EXPECT_FALSE(op().Yoyaku_Set(ProcedureKind::None, 0, {kNow.addDays(1), kUnitMinutes, 1}));
    ASSERT_EQ(h->prompter.messages.size(), 1u);
    EXPECT_EQ(h->prompter.messages[0].text, h->messages.text(Msg::ChangeBattery));
    EXPECT_TRUE(h->received(mark).empty());
}

}  // namespace
