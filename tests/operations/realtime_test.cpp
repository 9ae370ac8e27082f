// One-time and continuous real-time measurement on the simulated logger, with the clock and the
// continuation timer driven by hand.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QFile>

#include "harness.h"
#include "link/commands.h"
#include "link/loggermodel.h"

namespace {

using namespace optest;

constexpr double kSecondsPerDay = 86400.0;

class ManualClock : public Clock {
  public:
    static constexpr double kStart = 46082.5;  // 2026-03-01 12:00
    qint64 ms = 0;
    qint64 steadyMs() const override { return ms; }
    double now() const override { return kStart + static_cast<double>(ms) / 1000 / kSecondsPerDay; }
};

// A connected logger, the measurement on a hand-driven clock, and the user's choices.
struct Rig {
    Rig() {
        h.connect();
        EXPECT_TRUE(h.port.isOpen());
        op.setClock(clock);
        h.prompter.saveDirectory = h.scratch.path();
    }

    void choose(bool minutes, int count) {
        if (minutes) {
            op.Option4_Click();
        } else {
            op.Option3_Click();
        }
        h.controls.as<QComboBox>(ControlId::Combo5)->setCurrentText(QString::number(count));
    }
    void startRun(bool minutes, int count) {
        choose(minutes, count);
        op.Command2_Click();
        EXPECT_TRUE(op.running());
        EXPECT_TRUE(h.runProcedure());
    }
    // The clock moves on in steps of `tickMs`; an armed continuation timer ticks after each
    // step, and a procedure it starts runs to its end unless `finish` is false.
    void advance(qint64 ms, qint64 tickMs = RealTimeMeasurement::kTickMs, bool finish = true) {
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
    // Seconds after the clock's start at which each real-time sample is dated.
    std::vector<double> sampleSeconds() {
        std::vector<double> seconds;
        Sample sample;
        for (int k = 1; k <= realTime.count; ++k) {
            EXPECT_EQ(realTime.read(k, sample), DataError::None);
            seconds.push_back((sample.dateTime - ManualClock::kStart) * kSecondsPerDay);
        }
        return seconds;
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
    // The run is over: no tick, no "renzoku", the graphs no longer follow it.
    void expectEnded() const {
        EXPECT_FALSE(op.running());
        EXPECT_FALSE(h.timers.isArmed(TimerId::Continuation));
        EXPECT_FALSE(h.display.continuous);
    }

    Harness h;
    ManualClock clock;
    RealTimeMeasurement& op = h.ops->realTime();
    DataSet& realTime = h.dataSets[RealTimeData];
};

void expectSeconds(const std::vector<double>& actual, const std::vector<double>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < actual.size(); ++i) {
        EXPECT_NEAR(actual[i], expected[i], 0.001) << "sample " << i + 1;
    }
}

TEST(RealTime, ContinuousRunTakesSamplesAtStartAndThenEveryInterval) {
    const struct {
        bool minutes;
        int count;
        int runSeconds;
        std::vector<double> samples;
        std::uint8_t fastSampling;
    } cases[] = {
        {false, 5, 20, {0, 5, 10, 15, 20}, 0},
        {true, 1, 180, {0, 60, 120, 180}, 0},
        {false, 2, 6, {0, 2, 4, 6}, 1},
        {false, 3, 6, {0, 3, 6}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.count << (c.minutes ? " min" : " s"));
        Rig r;
        r.startRun(c.minutes, c.count);
        EXPECT_EQ(r.h.state.Record_State, kStateContinuous);
        EXPECT_EQ(r.h.timers.interval(TimerId::Continuation), RealTimeMeasurement::kTickMs);
        EXPECT_TRUE(r.h.display.continuous);
        EXPECT_EQ(r.h.text(ControlId::Command2), r.h.messages.text(1032));
        EXPECT_TRUE(r.h.enabled(ControlId::Command2));
        EXPECT_FALSE(r.h.enabled(ControlId::Command1));
        r.advance(c.runSeconds * 1000);
        expectSeconds(r.sampleSeconds(), c.samples);
        EXPECT_EQ(r.realTime.interval, c.count * (c.minutes ? 60 : 1));
        // Fast sampling is set once, at the start.
        const std::vector<SimCommand> sampling = r.sent(Command::SetFastSampling);
        ASSERT_EQ(sampling.size(), 1u);
        EXPECT_EQ(sampling[0].arg1, c.fastSampling);
        EXPECT_EQ(sampling[0].arg2, c.fastSampling);
        EXPECT_EQ(r.h.display.appends[RealTimeData], static_cast<int>(c.samples.size()));
    }
}

TEST(RealTime, LateTicksNeverAddUpOverAnHour) {
    Rig r;
    r.startRun(false, 10);
    // A coarse timer that fires 6 % late: ten of its ticks take 10.6 s.
    r.advance(3600 * 1000, 1060);
    const std::vector<double> seconds = r.sampleSeconds();
    ASSERT_EQ(seconds.size(), 361u);
    for (std::size_t k = 0; k < seconds.size(); ++k) {
        const double late = seconds[k] - 10.0 * static_cast<double>(k);
        ASSERT_GE(late, 0) << "sample " << k + 1;
        ASSERT_LT(late, 1.06 + 0.001) << "sample " << k + 1;
    }
}

TEST(RealTime, MeasurementDueDuringAnotherProcedureWaitsForTheFirstIdleTick) {
    Rig r;
    r.startRun(false, 5);
    r.advance(4000);
    r.h.engine.begin();
    enqueueClockRead(r.h.engine, QString());
    r.h.engine.SendCurrent();
    // Due at 5 s and still due at 6 s, but the clock read runs.
    r.advance(2000, RealTimeMeasurement::kTickMs, false);
    EXPECT_EQ(r.sent(Command::MeasureTemperature).size(), 1u);
    ASSERT_TRUE(r.h.runProcedure());
    r.advance(4000);
    expectSeconds(r.sampleSeconds(), {0, 7, 10});
}

TEST(RealTime, OneTimeMeasurementKeepsOnlyItsOwnSample) {
    Rig r;
    r.startRun(false, 5);
    r.advance(10000);
    ASSERT_EQ(r.realTime.count, 3);
    r.op.Command2_Click();
    r.clock.ms += 2000;
    const int clears = r.h.display.clears[RealTimeData];
    r.op.Command1_Click();
    ASSERT_TRUE(r.h.runProcedure());
    expectSeconds(r.sampleSeconds(), {12});
    EXPECT_EQ(r.h.display.clears[RealTimeData], clears + 1);
    EXPECT_EQ(r.h.engine.queue().Entries[0].Keyword, Keyword::Real);
    const std::vector<SimCommand> sampling = r.sent(Command::SetFastSampling);
    ASSERT_EQ(sampling.size(), 2u);
    EXPECT_EQ(sampling[1].arg1, 0);
    EXPECT_EQ(r.h.text(ControlId::Label10), QStringLiteral("2026/03/01 12:00:12"));
}

TEST(RealTime, StopAsksToSaveTheSamples) {
    const struct {
        bool answer;
        bool duringMeasurement;
    } cases[] = {{true, false}, {false, false}, {true, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.answer << c.duringMeasurement);
        Rig r;
        r.startRun(false, 5);
        r.advance(c.duringMeasurement ? 5000 : 9000, RealTimeMeasurement::kTickMs,
                  !c.duringMeasurement);
        ASSERT_EQ(r.h.engine.busy(), c.duringMeasurement);
        r.h.prompter.answers = {c.answer};
        const int fits = r.h.display.fits;
        r.op.Command2_Click();
        EXPECT_FALSE(r.op.running());
        // Never a question while the measurement under way runs.
        EXPECT_EQ(r.h.prompter.questions.empty(), c.duringMeasurement);
        ASSERT_TRUE(r.h.runProcedure());
        ASSERT_EQ(r.h.prompter.questions.size(), 1u);
        EXPECT_EQ(r.h.prompter.questions[0].text, r.h.messages.text(1065));
        r.expectEnded();
        EXPECT_EQ(r.h.display.fits, fits + 1);
        EXPECT_EQ(r.realTime.count, 2);
        EXPECT_EQ(r.realTime.unsaved, !c.answer);
        EXPECT_EQ(QFile::exists(r.h.scratch.filePath(QStringLiteral("save1.csv"))), c.answer);
        EXPECT_EQ(r.h.text(ControlId::Command2), r.h.messages.text(1035));
        EXPECT_TRUE(r.h.enabled(ControlId::Command22));
    }
}

TEST(RealTime, FullDataSetStopsTheRunAndKeepsEverySample) {
    Rig r;
    r.startRun(false, 2);
    Sample filler;
    while (r.realTime.count < DataSet::kMaxCount - 1) {
        ASSERT_EQ(r.realTime.append(filler), DataError::None);
    }
    r.h.prompter.answers = {false};
    r.advance(6000);
    const int measured = static_cast<int>(r.sent(Command::MeasureTemperature).size());
    EXPECT_EQ(measured, 2);
    EXPECT_EQ(r.realTime.count, DataSet::kMaxCount);
    Sample last;
    ASSERT_EQ(r.realTime.read(DataSet::kMaxCount, last), DataError::None);
    EXPECT_NEAR((last.dateTime - ManualClock::kStart) * kSecondsPerDay, 2, 0.001);
    r.expectEnded();
    ASSERT_EQ(r.h.prompter.messages.size(), 1u);
    EXPECT_EQ(r.h.prompter.messages[0].text, r.h.messages.text(RealTimeMeasurement::kFullMessage));
    ASSERT_EQ(r.h.prompter.questions.size(), 1u);
    EXPECT_EQ(r.h.prompter.questions[0].text, r.h.messages.text(1065));
    EXPECT_TRUE(r.realTime.unsaved);
}

TEST(RealTime, RunOutlivesAnEndedMeasurementButNotItsPort) {
    const struct {
        bool silentLogger;  // the measurement times out and the port is closed
        std::vector<double> samples;
    } cases[] = {{false, {0, 10}}, {true, {0}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.silentLogger);
        Rig r;
        r.startRun(false, 5);
        if (c.silentLogger) {
            r.h.logger.faults().silent.insert(code(Command::GetBatteryLow));
        }
        r.advance(5000, RealTimeMeasurement::kTickMs, false);
        ASSERT_TRUE(r.h.engine.busy());
        if (c.silentLogger) {
            r.h.runProcedure();
        } else {
            r.h.engine.Pro_End();
        }
        r.advance(5000);
        expectSeconds(r.sampleSeconds(), c.samples);
        EXPECT_EQ(r.op.running(), !c.silentLogger);
        EXPECT_EQ(r.h.port.isOpen(), !c.silentLogger);
        if (c.silentLogger) {
            r.expectEnded();
            EXPECT_TRUE(r.h.prompter.questions.empty());
            EXPECT_TRUE(r.realTime.unsaved);
        }
    }
}

TEST(RealTime, UnitOptionsOfferTheirListsAndOnlyTheirCountsStartARun) {
    const struct {
        bool minutes;
        QString count;        // empty: the list shows no item
        int expectedSeconds;  // 0: refused
    } cases[] = {
        {false, QStringLiteral("2"), 2}, {false, QStringLiteral("60"), 60},
        {true, QStringLiteral("1"), 60}, {true, QStringLiteral("240"), 14400},
        {false, QString(), 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.count.toStdString());
        Rig r;
        r.choose(c.minutes, 0);
        auto* list = r.h.controls.as<QComboBox>(ControlId::Combo5);
        EXPECT_EQ(list->count(), c.minutes ? 240 : 59);
        EXPECT_EQ(list->currentText(), c.minutes ? QStringLiteral("1") : QStringLiteral("2"));
        EXPECT_EQ(r.h.text(ControlId::Label28),
                  r.h.text(c.minutes ? ControlId::Option4 : ControlId::Option3));
        list->setCurrentIndex(list->findText(c.count));
        EXPECT_EQ(r.op.repeatSeconds().value_or(0), c.expectedSeconds);
        r.op.Command2_Click();
        EXPECT_EQ(r.op.running(), c.expectedSeconds != 0);
        EXPECT_EQ(r.h.engine.busy(), c.expectedSeconds != 0);
    }
}

}  // namespace
