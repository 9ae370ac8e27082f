// Replies made late past the time-out, one kind of command at a time, by the logger-sim program
// over a pseudo-terminal and the real serial port, with the session on real timers: each
// procedure gives what the same procedure gives right after without the delay.
#include <gtest/gtest.h>

#include <cmath>

#include "link/loggermodel.h"
#include "link/qtserialport.h"
#include "link/qttimerset.h"
#include "link/session.h"
#include "linkharness.h"
#include "simrig.h"

namespace {

enum class Procedure { StatusRead, ClockRead, SetName, FastDownload, NormalDownload };

struct DelayCase {
    const char* name;
    const char* delay;  // --delay CODE:MS:K[:AFTER] of the simulator
    Procedure procedure;
};

// What one procedure left in the logger picture and the log data set.
struct Outcome {
    QStringList status;
    double clock = 0;
    int records = 0;
    QStringList samples;
    std::vector<QString> messages;
};

class LateReplyPtyTest : public ::testing::TestWithParam<DelayCase> {
  protected:
    PtySimRig simulator;

    void SetUp() override {
        if (PtySimRig::program().isEmpty()) {
            GTEST_SKIP() << "VELTRANE_SIM names no simulator program";
        }
        ASSERT_TRUE(
            simulator.start({QStringLiteral("--scenario"), QStringLiteral("runs"),
                             QStringLiteral("--delay"), QString::fromLatin1(GetParam().delay)}));
    }
};

QStringList statusOf(const LoggerState& s) {
    QStringList fields{s.Machine_N_P,  s.F_W_Ver,
                       s.VT_Name,      QString::fromLatin1(recordStateKeyword(s.recordState)),
                       s.Error_Flag,   s.Stop_Flag,
                       s.Battery_Volts};
    for (double value : {s.Start_Time, s.Record_Pointer}) {
        fields << QString::number(value, 'f', 8);
    }
    for (int value : {s.Interval_Unit, s.Interval_Value, s.Reserve_Day, s.Reserve_Hour,
                      s.Reserve_Minute, s.Memory_Mode, s.Wrapped}) {
        fields << QString::number(value);
    }
    return fields;
}

Outcome run(Session& session, Procedure procedure, RecordingPrompter& prompter) {
    Engine& engine = session.engine();
    LoggerState& state = session.state();
    DataSet& log = session.dataSet(LogData);
    prompter.messages.clear();
    switch (procedure) {
        case Procedure::StatusRead:
        case Procedure::ClockRead:
        case Procedure::SetName:
            engine.begin();
            if (procedure == Procedure::SetName) {
                EXPECT_TRUE(engine.Enqueue(Command::SetName12, 'N', 'E', ProcedureKind::None));
                EXPECT_TRUE(engine.Enqueue(Command::SetName34, 'W', '1', ProcedureKind::None));
            }
            EXPECT_TRUE(procedure == Procedure::ClockRead
                            ? enqueueClockRead(engine, ProcedureKind::None)
                            : enqueueStatusRead(engine, ProcedureKind::None));
            engine.SendCurrent();
            break;
        case Procedure::FastDownload:
        case Procedure::NormalDownload:
            state.Download_Mode = procedure == Procedure::NormalDownload ? 1 : 0;
            EXPECT_TRUE(session.download().start());
            break;
    }
    EXPECT_TRUE(waitUntil([&] { return !engine.busy(); }, 60000));
    Outcome outcome;
    outcome.status = statusOf(state);
    outcome.clock = state.Clock_Time;
    outcome.records = log.count;
    Sample sample;
    for (int k = 1; k <= log.count && log.read(k, sample) == DataError::None; ++k) {
        outcome.samples << QStringLiteral("%1 %2 %3 %4 %5 %6")
                               .arg(sample.dateTime, 0, 'f', 8)
                               .arg(sample.series)
                               .arg(sample.raw[0])
                               .arg(sample.raw[1])
                               .arg(sample.raw[2])
                               .arg(sample.raw[3]);
    }
    outcome.messages = prompter.messages;
    return outcome;
}

TEST_P(LateReplyPtyTest, LateReplyGivesTheSameResultAsAPromptOne) {
    const DelayCase& c = GetParam();
    QtSerialPortAdapter port;
    ASSERT_TRUE(port.open(1, QStringLiteral("57600,n,8,1")));
    SessionRig<QtTimerSet, RecordingPrompter> rig(port);
    ASSERT_TRUE(rig.dataSetsOpen);
    Session& session = rig.session;
    RecordingPrompter& prompter = rig.prompter;
    session.Portnum = 1;
    session.applyLineSettings();
    session.state().Machine_N_P = kModelQM320;

    // The first send of the command and its resend are answered late, the resend's reply after
    // the next command would have gone out; the same procedure again is answered at once (a
    // stream, sent only once, is late both times).
    const Outcome late = run(session, c.procedure, prompter);
    const Outcome prompt = run(session, c.procedure, prompter);
    EXPECT_TRUE(late.messages.empty()) << late.messages.front().toStdString();
    EXPECT_TRUE(prompt.messages.empty());
    EXPECT_TRUE(port.isOpen());
    EXPECT_EQ(late.status, prompt.status);
    EXPECT_EQ(late.records, prompt.records);
    EXPECT_EQ(late.samples, prompt.samples);
    // The logger's own values, so that both runs agreeing is not both being wrong.
    if (c.procedure == Procedure::ClockRead) {
        ASSERT_GT(late.clock, 0);
        EXPECT_LT(std::abs(prompt.clock - late.clock) * 86400, 5);
        return;
    }
    const LoggerState& state = session.state();
    EXPECT_EQ(state.VT_Name,
              c.procedure == Procedure::SetName ? QStringLiteral("NEW1") : QStringLiteral("LAB1"));
    EXPECT_EQ(state.Record_Pointer, 650 * 4);
    EXPECT_EQ(state.Interval_Unit, kUnitMinutes);
    EXPECT_EQ(state.Interval_Value, 10);
    EXPECT_TRUE(state.recordState == RecordState::Stopped);
    if (c.procedure == Procedure::FastDownload || c.procedure == Procedure::NormalDownload) {
        ASSERT_EQ(late.records, 650);
        EXPECT_TRUE(late.samples.front().contains(QStringLiteral(" 1 ")));
        EXPECT_TRUE(late.samples.back().contains(QStringLiteral(" 3 ")));
    }
}

INSTANTIATE_TEST_SUITE_P(
    CommandKinds, LateReplyPtyTest,
    ::testing::Values(DelayCase{"StatusBatch", "30:700:2", Procedure::StatusRead},
                      DelayCase{"ClockRead", "4:700:2", Procedure::ClockRead},
                      DelayCase{"ReadSetting", "23:700:2", Procedure::StatusRead},
                      DelayCase{"Identify", "99:700:2", Procedure::StatusRead},
                      DelayCase{"SetCommand", "40:700:2", Procedure::SetName},
                      DelayCase{"SegmentTable", "8:700:2", Procedure::FastDownload},
                      DelayCase{"NormalFirstRecord", "8:700:2:8", Procedure::NormalDownload},
                      DelayCase{"NormalMidTransfer", "8:700:2:300", Procedure::NormalDownload},
                      DelayCase{"FastStream", "44:700:2", Procedure::FastDownload},
                      DelayCase{"MarkDownloaded", "56:700:2", Procedure::FastDownload}),
    [](const ::testing::TestParamInfo<DelayCase>& info) { return std::string(info.param.name); });

}  // namespace
