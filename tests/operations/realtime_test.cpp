// One-time and continuous real-time measurement on the simulated logger, with the clock and the
// continuation timer driven by hand.
#include <gtest/gtest.h>

#include <QFile>

#include "harness.h"
#include "link/commands.h"
#include "link/loggermodel.h"

namespace {

using namespace optest;

class ManualClock : public Clock {
  public:
    static constexpr double kStart = 46082.5;  // 2026-03-01 12:00
    qint64 ms = 0;
    qint64 steadyMs() const override { return ms; }
    double now() const override { return kStart + static_cast<double>(ms) / 86400000.0; }
};

// A connected logger and a run of `count` seconds (minutes with `minutes`) started at 0 s.
struct Measuring {
    Measuring(bool minutes, int count) {
        h.connect();
        op.setClock(clock);
        h.prompter.saveDirectory = h.scratch.path();
        repeat = {minutes ? MeasurementRepeat::Unit::Minutes : MeasurementRepeat::Unit::Seconds,
                  count};
        op.startOrStopContinuous(repeat);
        h.runProcedure();
    }
    // The clock moves on in ticks of `tickMs`; each procedure a tick starts runs to its end
    // unless `finish` is false.
    void advance(qint64 ms, qint64 tickMs = 1000, bool finish = true) {
        for (qint64 done = 0; done < ms; done += tickMs) {
            clock.ms += tickMs;
            if (h.timers.isArmed(TimerId::Continuation)) {
                h.timers.fire(TimerId::Continuation);
            }
            if (finish) {
                h.runProcedure();
            }
        }
    }
    // Whole seconds after 0 s at which the samples are dated.
    std::vector<int> seconds() {
        std::vector<int> result;
        Sample sample;
        for (int k = 1; k <= realTime.count && realTime.read(k, sample) == DataError::None; ++k) {
            result.push_back(qRound((sample.dateTime - ManualClock::kStart) * 86400));
        }
        return result;
    }
    std::vector<SimCommand> sent(Command command) const {
        std::vector<SimCommand> found;
        for (const SimCommand& c : h.logger.history()) {
            if (c.code == code(command)) {
                found.push_back(c);
            }
        }
        return found;
    }
    bool ended() const {
        return !op.running() && !h.timers.isArmed(TimerId::Continuation) && !h.display.continuous;
    }

    Harness h;
    ManualClock clock;
    MeasurementRepeat repeat;
    RealTimeMeasurement& op = h.ops->realTime();
    DataSet& realTime = h.dataSets[RealTimeData];
};

TEST(RealTime, SamplesAtStartThenEveryIntervalWithFastSamplingOnlyForTwoSeconds) {
    const struct {
        bool minutes;
        int count;
        std::vector<int> seconds;
        std::uint8_t fast;
    } cases[] = {
        {false, 5, {0, 5, 10, 15, 20}, 0},
        {true, 1, {0, 60, 120, 180}, 0},
        {false, 2, {0, 2, 4, 6}, 1},
        {false, 3, {0, 3, 6}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.count);
        Measuring r(c.minutes, c.count);
        EXPECT_TRUE(r.op.running() && r.h.display.continuous);
        r.advance(c.seconds.back() * 1000);
        EXPECT_EQ(r.seconds(), c.seconds);
        EXPECT_EQ(r.realTime.interval, c.count * (c.minutes ? 60 : 1));
        const std::vector<SimCommand> sampling = r.sent(Command::SetFastSampling);
        ASSERT_EQ(sampling.size(), 1u);
        EXPECT_EQ(sampling[0].arg1, c.fast);
        EXPECT_EQ(sampling[0].arg2, c.fast);
    }
}

TEST(RealTime, RepeatCountsOutsideTheUnitsListStartNothing) {
    using Unit = MeasurementRepeat::Unit;
    const struct {
        Unit unit;
        int count;
        std::optional<int> seconds;
    } cases[] = {
        {Unit::Seconds, 1, std::nullopt}, {Unit::Seconds, 2, 2},
        {Unit::Seconds, 60, 60},          {Unit::Seconds, 61, std::nullopt},
        {Unit::Minutes, 0, std::nullopt}, {Unit::Minutes, 1, 60},
        {Unit::Minutes, 240, 14400},      {Unit::Minutes, 241, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RealTimeMeasurement::repeatSeconds({c.unit, c.count}), c.seconds) << c.count;
    }
    Harness h;
    h.connect();
    h.ops->realTime().startOrStopContinuous({Unit::Seconds, 0});
    EXPECT_FALSE(h.ops->realTime().running());
    EXPECT_FALSE(h.engine.busy());
}

TEST(RealTime, LateTicksNeverAddUpOverAnHour) {
    Measuring r(false, 10);
    // Ticks 6 % late: a count of ten ticks would take 10.6 s.
    r.advance(3600 * 1000, 1060);
    const std::vector<int> seconds = r.seconds();
    ASSERT_EQ(seconds.size(), 361u);
    for (std::size_t k = 0; k < seconds.size(); ++k) {
        const int late = seconds[k] - 10 * static_cast<int>(k);
        ASSERT_TRUE(late == 0 || late == 1) << "sample " << k + 1 << " late by " << late;
    }
}

TEST(RealTime, MeasurementDueDuringAnotherProcedureWaitsForTheFirstIdleTick) {
    Measuring r(false, 5);
    r.advance(4000);
    r.h.engine.begin();
    enqueueClockRead(r.h.engine, ProcedureKind::None);
    r.h.engine.SendCurrent();
    r.advance(2000, 1000, false);
    r.h.runProcedure();
    r.advance(4000);
    EXPECT_EQ(r.seconds(), (std::vector<int>{0, 7, 10}));
}

TEST(RealTime, OneTimeMeasurementAfterARunKeepsOnlyItsOwnSample) {
    Measuring r(false, 5);
    r.advance(10000);
    r.op.startOrStopContinuous(r.repeat);
    r.clock.ms += 2000;
    r.op.measureOnce();
    r.h.runProcedure();
    EXPECT_EQ(r.seconds(), std::vector<int>{12});
    EXPECT_EQ(r.sent(Command::SetFastSampling).back().arg1, 0);
    EXPECT_EQ(r.h.text(ControlId::MeasuredTimeReadout), QStringLiteral("2026/03/01 12:00:12"));
}

TEST(RealTime, StopAsksToSaveOnlyOnceTheMeasurementUnderWayHasEnded) {
    const struct {
        bool answer;
        bool duringMeasurement;
    } cases[] = {{true, false}, {false, false}, {false, true}};
    for (const auto& c : cases) {
        Measuring r(false, 5);
        r.advance(c.duringMeasurement ? 5000 : 9000, 1000, !c.duringMeasurement);
        r.h.prompter.answers = {c.answer};
        r.op.startOrStopContinuous(r.repeat);
        EXPECT_EQ(r.h.prompter.questions.empty(), c.duringMeasurement);
        r.h.runProcedure();
        ASSERT_EQ(r.h.prompter.questions.size(), 1u);
        EXPECT_EQ(r.h.prompter.questions[0].text, r.h.messages.text(Msg::AskSaveMeasurement));
        EXPECT_TRUE(r.ended());
        EXPECT_EQ(r.h.display.fits, 1);
        EXPECT_EQ(r.realTime.count, 2);
        EXPECT_EQ(r.realTime.unsaved, !c.answer);
        EXPECT_EQ(QFile::exists(r.h.scratch.filePath(QStringLiteral("save1.csv"))), c.answer);
    }
}

TEST(RealTime, FullDataSetStopsTheRunAndKeepsEverySample) {
    Measuring r(false, 2);
    Sample filler;
    while (r.realTime.count < DataSet::kMaxCount - 1) {
        ASSERT_EQ(r.realTime.append(filler), DataError::None);
    }
    r.advance(6000);
    EXPECT_EQ(r.sent(Command::MeasureTemperature).size(), 2u);
    EXPECT_EQ(r.realTime.count, DataSet::kMaxCount);
    EXPECT_EQ(r.seconds().back(), 2);
    EXPECT_TRUE(r.ended());
    ASSERT_EQ(r.h.prompter.messages.size(), 1u);
    EXPECT_EQ(r.h.prompter.messages[0].text, r.h.messages.text(Msg::RealTimeDataFull));
    ASSERT_EQ(r.h.prompter.questions.size(), 1u);
    EXPECT_TRUE(r.realTime.unsaved);
}

TEST(RealTime, RunOutlivesAnEndedMeasurementButNotItsPort) {
    for (const bool portClosed : {false, true}) {
        Measuring r(false, 5);
        if (portClosed) {
            r.h.logger.faults().silent.insert(code(Command::GetBatteryLow));
        }
        r.advance(5000, 1000, false);
        if (portClosed) {
            r.h.runProcedure();  // times out and closes the port
        } else {
            r.h.engine.Pro_End();
        }
        r.advance(5000);
        EXPECT_EQ(r.seconds(), (portClosed ? std::vector<int>{0} : std::vector<int>{0, 10}));
        EXPECT_EQ(r.ended(), portClosed);
        EXPECT_TRUE(r.h.prompter.questions.empty());
    }
}

}  // namespace
