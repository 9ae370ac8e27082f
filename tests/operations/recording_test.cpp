// Starting and stopping a recording against the simulated logger: the Start/Stop button's
// checks, the commands Log_Start, Yoyaku_Set and M_Mode_Set send as the logger received them,
// and what the status read brings back.
#include <gtest/gtest.h>

#include "harness.h"
#include "link/loggerdate.h"
#include "operations/recording.h"
#include "sim/simscenarios.h"

namespace {

using namespace optest;
using I = ControlId;

struct Sent {
    Command command;
    int arg1 = 0;
    int arg2 = 0;
    bool operator==(const Sent&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Sent& sent) {
    return out << static_cast<int>(sent.command) << "(" << sent.arg1 << "," << sent.arg2 << ")";
}

const QDateTime kNow(QDate(2026, 3, 1), QTime(12, 0, 5));

class RecordingTest : public ::testing::Test {
  protected:
    void open(const QString& scenario) {
        h = std::make_unique<Harness>(3, scenario);
        h->context.now = [] { return kNow; };
        h->connect();
        ASSERT_TRUE(h->port.isOpen());
        mark = h->logger.history().size();
    }
    // What the logger received since the last mark.
    std::vector<Sent> received() const {
        std::vector<Sent> sent;
        const auto& history = h->logger.history();
        for (std::size_t i = mark; i < history.size(); ++i) {
            sent.push_back(
                {static_cast<Command>(history[i].code), history[i].arg1, history[i].arg2});
        }
        return sent;
    }
    // The received commands before the closing status read, which is checked on the way.
    std::vector<Sent> programmed() const {
        std::vector<Sent> sent = received();
        EXPECT_GE(sent.size(), 19u);
        if (sent.size() < 19) {
            return sent;
        }
        EXPECT_EQ(sent[sent.size() - 19].command, Command::Identify);
        EXPECT_EQ(sent.back().command, Command::GetDownloaded);
        sent.resize(sent.size() - 19);
        return sent;
    }
    RecordingOperation& op() { return h->ops->recording(); }

    std::unique_ptr<Harness> h;
    std::size_t mark = 0;
};

RecordingRequest request(std::uint8_t unit, int count) {
    RecordingRequest r;
    r.name = QStringLiteral("AB");
    r.loop = true;
    r.unit = unit;
    r.count = count;
    r.upper = 30;
    r.upperOn = true;
    r.lower = 10;
    return r;
}

Sent alarm(Command command, int degrees, bool on, int selector) {
    const auto bytes = RecordingOperation::alarmBytes(degrees, on, selector);
    return {command, bytes[0], bytes[1]};
}

TEST_F(RecordingTest, LogStartProgramsTheLoggerInOrder) {
    open(QStringLiteral("runs"));
    ASSERT_TRUE(op().Log_Start(Keyword::LogStart, 7, request(kUnitMinutes, 10)));
    const CommandQueue& queue = h->engine.queue();
    for (int i = 0; i < queue.Count; ++i) {
        EXPECT_EQ(queue.Entries[i].Keyword, Keyword::LogStart);
        EXPECT_EQ(queue.Entries[i].Value, 7);
    }
    EXPECT_FALSE(h->enabled(I::Command4));
    ASSERT_TRUE(h->runProcedure());
    const std::vector<Sent> expected = {
        {Command::SetName12, 32, 32},
        {Command::SetName34, 65, 66},
        {Command::SetMemoryMode, 1, 1},
        {Command::SetClockMonthYear, 3, 26},
        {Command::SetClockHourDay, 12, 1},
        {Command::SetClockSecondMinute, 5, 0},
        {Command::GetClockMonthYear},
        {Command::GetClockHourDay},
        {Command::GetClockSecondMinute},
        {Command::SetFastSampling, 0, 0},
        alarm(Command::SetUpperAlarm, 30, true, 3),
        alarm(Command::SetLowerAlarm, 10, false, 3),
        {Command::StartRecording, kUnitMinutes, 10},
    };
    EXPECT_EQ(programmed(), expected);
    // The bytes are the ones the logger's own encoding gives for these bounds.
    EXPECT_EQ(expected[10], (Sent{Command::SetUpperAlarm, simscenario::alarmBytes(30, true)[0],
                                  simscenario::alarmBytes(30, true)[1]}));

    // The status read brings the new settings back, silently.
    EXPECT_TRUE(h->prompter.messages.empty());
    EXPECT_EQ(h->state.Record_State, kStateRecording);
    EXPECT_EQ(h->state.VT_Name, QStringLiteral("  AB"));
    EXPECT_EQ(h->state.Memory_Mode, 1);
    EXPECT_EQ(dateTimeText(h->state.Clock_Time), QStringLiteral("2026/03/01 12:00:05"));
    const DataSet& log = h->dataSets[LogData];
    EXPECT_EQ(log.interval, 600);
    EXPECT_EQ(log.upperBound, 30);
    EXPECT_EQ(log.upperOn, 0x80);
    EXPECT_EQ(log.lowerBound, 10);
    EXPECT_EQ(log.lowerOn, 0);
    EXPECT_EQ(h->text(I::OperationText), QStringLiteral("Recording"));
    EXPECT_EQ(h->text(I::Command4), QStringLiteral("Stop"));
    EXPECT_TRUE(h->enabled(I::Command4));
}

TEST_F(RecordingTest, IntervalChoosesFastSamplingAndTheBoundsCoefficients) {
    const struct {
        std::uint8_t unit;
        int count, fast, selector;
    } cases[] = {{kUnitSeconds, 2, 1, 2},
                 {kUnitSeconds, 1, 0, 2},
                 {kUnitSeconds, 3, 0, 3},
                 {kUnitMinutes, 1, 0, 3},
                 {kUnitMinutes, 2, 0, 3}};
    // The two coefficient sets encode a bound differently, so the selector shows in the bytes.
    ASSERT_NE(RecordingOperation::alarmBytes(30, true, 2),
              RecordingOperation::alarmBytes(30, true, 3));
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.unit) << " " << c.count);
        open(QStringLiteral("runs"));
        ASSERT_TRUE(op().Log_Start(Keyword::LogStart, 0, request(c.unit, c.count)));
        ASSERT_TRUE(h->runProcedure());
        const std::vector<Sent> sent = programmed();
        ASSERT_EQ(sent.size(), 13u);
        EXPECT_EQ(sent[9], (Sent{Command::SetFastSampling, c.fast, c.fast}));
        EXPECT_EQ(sent[10], alarm(Command::SetUpperAlarm, 30, true, c.selector));
        EXPECT_EQ(sent[11], alarm(Command::SetLowerAlarm, 10, false, c.selector));
        EXPECT_EQ(sent[12], (Sent{Command::StartRecording, c.unit, c.count}));
        // Read back with the interval's own coefficients, the bounds are the ones chosen.
        EXPECT_EQ(h->dataSets[LogData].upperBound, 30);
        EXPECT_EQ(h->dataSets[LogData].lowerBound, 10);
    }
}

TEST_F(RecordingTest, AModelWithoutAlarmsGetsBothBoundsAsZero) {
    open(QStringLiteral("qm300"));
    ASSERT_EQ(h->dataSets[LogData].model, kModelQM300);
    RecordingRequest r = request(kUnitMinutes, 10);
    r.lowerOn = true;
    ASSERT_TRUE(op().Log_Start(Keyword::LogStart, 0, r));
    ASSERT_TRUE(h->runProcedure());
    const std::vector<Sent> sent = programmed();
    ASSERT_EQ(sent.size(), 13u);
    EXPECT_EQ(sent[10], (Sent{Command::SetUpperAlarm, 0, 0}));
    EXPECT_EQ(sent[11], (Sent{Command::SetLowerAlarm, 0, 0}));
}

TEST_F(RecordingTest, AReservedStartIsProgrammedInsteadOfTheStart) {
    open(QStringLiteral("runs"));
    RecordingRequest r = request(kUnitMinutes, 5);
    r.reservedStart = QDateTime(QDate(2026, 3, 2), QTime(8, 30));
    ASSERT_TRUE(op().Log_Start(Keyword::LogStart, 0, r));
    ASSERT_TRUE(h->runProcedure());
    const std::vector<Sent> sent = programmed();
    ASSERT_EQ(sent.size(), 16u);
    EXPECT_EQ(std::vector<Sent>(sent.begin() + 12, sent.end()),
              (std::vector<Sent>{{Command::SetReserveDay, 2, 0},
                                 {Command::SetReserveHour, 8, 0},
                                 {Command::SetReserveMinute, 30, 0},
                                 {Command::ReserveRecording, kUnitMinutes, 5}}));
    EXPECT_EQ(h->state.Record_State, kStateReserved);
    EXPECT_EQ(h->text(I::OperationText), QStringLiteral("Reserving"));
    EXPECT_EQ(h->text(I::BeginningText), QStringLiteral("02Day08:30 Record beginning"));
    EXPECT_EQ(h->text(I::Command4), QStringLiteral("Reservation cancel"));
}

TEST_F(RecordingTest, StartStopButtonChecksBeforeTheDialog) {
    const struct {
        const char* scenario;
        std::deque<bool> answers;
        bool stops;
        int message;  // 0: none
        bool asks;
        bool opens;
    } cases[] = {
        {"recording", {}, true, 0, false, false},      {"reserved", {}, true, 0, false, false},
        {"lowbattery", {}, false, 1090, false, false}, {"runs", {false}, false, 0, true, false},
        {"runs", {true}, false, 0, true, true},        {"empty", {}, false, 0, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.scenario << " " << c.answers.size());
        open(QString::fromLatin1(c.scenario));
        h->prompter.answers = c.answers;
        op().Command4_Click();
        ASSERT_EQ(h->prompter.messages.size(), c.message != 0 ? 1u : 0u);
        if (c.message != 0) {
            EXPECT_EQ(h->prompter.messages[0].text, h->messages.text(c.message));
        }
        ASSERT_EQ(h->prompter.questions.size(), c.asks ? 1u : 0u);
        if (c.asks) {
            EXPECT_EQ(h->prompter.questions[0].text, h->messages.pair(1091, 1092));
        }
        EXPECT_EQ(h->dialogs.opened.size(), c.opens ? 1u : 0u);
        ASSERT_TRUE(h->runProcedure());
        if (c.stops) {
            const std::vector<Sent> sent = programmed();
            EXPECT_EQ(sent, (std::vector<Sent>{{Command::StopRecording, 14, 0}}));
            EXPECT_TRUE(h->state.Record_State.isEmpty());
            EXPECT_EQ(h->text(I::Command4), QStringLiteral("Start"));
        } else {
            EXPECT_TRUE(received().empty());
        }
    }
}

TEST_F(RecordingTest, TheDialogsRequestIsProgrammedUnderLogStart) {
    open(QStringLiteral("empty"));
    bool heldWhileOpen = false;
    h->dialogs.recording = [&](RecordingSetup& setup) {
        heldWhileOpen = h->session.busy();
        EXPECT_EQ(setup.name(), QStringLiteral("    "));
        EXPECT_TRUE(setup.alarmShown());
        setup.chooseSeconds(true);
        setup.chooseCount(2);
        return setup.confirm(QStringLiteral("AB"), kNow);
    };
    op().Command4_Click();
    EXPECT_TRUE(heldWhileOpen);
    EXPECT_FALSE(h->session.prompter().open());
    ASSERT_TRUE(h->engine.busy());
    EXPECT_EQ(h->engine.queue().Entries[0].Keyword, Keyword::LogStart);
    ASSERT_TRUE(h->runProcedure());
    const std::vector<Sent> sent = programmed();
    ASSERT_EQ(sent.size(), 13u);
    EXPECT_EQ(sent[1], (Sent{Command::SetName34, 65, 66}));
    EXPECT_EQ(sent[9], (Sent{Command::SetFastSampling, 1, 1}));
    EXPECT_EQ(h->state.Record_State, kStateRecording);
    EXPECT_EQ(h->dataSets[LogData].interval, 2);
}

TEST_F(RecordingTest, NothingStartsWhileAProcedureRuns) {
    open(QStringLiteral("recording"));
    h->engine.begin();
    ASSERT_TRUE(enqueueStatusRead(h->engine, QString()));
    op().Command4_Click();
    EXPECT_FALSE(op().Log_Start(Keyword::LogStart, 0, request(kUnitMinutes, 1)));
    EXPECT_FALSE(op().M_Mode_Set(true));
    EXPECT_EQ(h->engine.queue().Count, 19);
    EXPECT_EQ(h->state.Record_State, kStateRecording);
    h->engine.begin();
}

TEST_F(RecordingTest, ReservationAloneAndRecordModeAlone) {
    open(QStringLiteral("runs"));
    ASSERT_TRUE(op().Yoyaku_Set(QString(), 0,
                                {QDateTime(QDate(2026, 3, 9), QTime(7, 5)), kUnitSeconds, 2}));
    ASSERT_TRUE(h->runProcedure());
    const std::vector<Sent> reserved = programmed();
    ASSERT_EQ(reserved.size(), 11u);
    EXPECT_EQ(reserved[0].command, Command::SetClockMonthYear);
    EXPECT_EQ(reserved[5].command, Command::GetClockSecondMinute);
    EXPECT_EQ(std::vector<Sent>(reserved.begin() + 6, reserved.end()),
              (std::vector<Sent>{{Command::SetFastSampling, 1, 1},
                                 {Command::SetReserveDay, 9, 0},
                                 {Command::SetReserveHour, 7, 0},
                                 {Command::SetReserveMinute, 5, 0},
                                 {Command::ReserveRecording, kUnitSeconds, 2}}));
    EXPECT_EQ(h->state.Record_State, kStateReserved);
    EXPECT_TRUE(h->prompter.messages.empty());

    // The record mode alone is confirmed by the logger model's message.
    for (bool oneTime : {false, true}) {
        mark = h->logger.history().size();
        h->prompter.messages.clear();
        ASSERT_TRUE(op().M_Mode_Set(oneTime));
        EXPECT_TRUE(h->engine.queue().Entries[0].Keyword.isEmpty());
        ASSERT_TRUE(h->runProcedure());
        const int loop = oneTime ? 0 : 1;
        EXPECT_EQ(programmed(), (std::vector<Sent>{{Command::SetMemoryMode, loop, loop}}));
        EXPECT_EQ(h->state.Memory_Mode, loop);
        ASSERT_EQ(h->prompter.messages.size(), 1u);
        EXPECT_EQ(h->prompter.messages[0].text, h->messages.text(1050));
    }
}

TEST_F(RecordingTest, ReservationAloneRefusesALowBattery) {
    open(QStringLiteral("lowbattery"));
    EXPECT_FALSE(op().Yoyaku_Set(QString(), 0, {kNow.addDays(1), kUnitMinutes, 1}));
    ASSERT_EQ(h->prompter.messages.size(), 1u);
    EXPECT_EQ(h->prompter.messages[0].text, h->messages.text(1008));
    EXPECT_FALSE(h->engine.busy());
    EXPECT_TRUE(received().empty());
}

}  // namespace
