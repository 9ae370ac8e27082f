// The download against the simulated logger: table read, both transfer modes, numbering and
// dating, the watchdog, cancelling, and bad input from the logger.
#include <gtest/gtest.h>

#include <cmath>

#include "data/datetime.h"
#include "link/download.h"
#include "linkharness.h"
#include "sim/simmemory.h"

namespace {

constexpr double kSecond = 1.0 / 86400;

double at(const QDateTime& t) {
    return datetime::fromDateTime(t);
}

std::array<std::uint8_t, 4> memoryAt(const SimLogger& logger, int address) {
    const auto& m = logger.state().memory;
    return {m[address], m[address + 1], m[address + 2], m[address + 3]};
}

TEST(SegmentTable, DecodeAndPlan) {
    LoggerState state;
    state.Start_Time = 45000;
    const Segment valid = decodeSegment({0x25, 0x03, 0x14, 0x09, 0x30, 0x00, 0x2C, 0x01}, 1);
    EXPECT_EQ(valid.count, 300);
    EXPECT_EQ(datetime::format(valid.start, QStringLiteral("yyyy-MM-dd HH:mm:ss")),
              QStringLiteral("2025-03-14 09:30:00"));
    const Segment empty = decodeSegment({0x25, 0xFF, 0x14, 0x09, 0x30, 0x00, 0xFF, 0xFF}, 7);
    EXPECT_EQ(empty.start, 7);
    EXPECT_EQ(empty.count, 0);
    EXPECT_EQ(decodeSegment({0x25, 0x02, 0x31, 0x09, 0x30, 0x00, 0, 0}, 7).start, 7);

    struct Case {
        std::vector<Segment> decoded;
        double pointer;
        std::uint8_t mode, wrapped;
        std::vector<int> counts;  // empty: refused
        int records;
    };
    const Case cases[] = {
        {{{45000, 100}, {44000, 0}}, 400, 0, 0, {100}, 100},  // one run
        {{{44000, 0}}, 400, 0, 0, {100}, 100},                // no runs
        {{{45000, 30}, {45001, 50}, {45002, 5}, {1, 0}}, 400, 0, 0, {30, 50, 20}, 100},
        {{{45000, 130}, {45001, 5}, {1, 0}}, 400, 0, 0, {}, 0},  // counts too big
        {{{45000, 15100}, {1, 0}}, 400, 1, 1, {15100}, 15000},   // wrapped
        {{{45000, 9000}, {45001, 9000}, {1, 0}}, 0, 1, 1, {9000, 6000}, 15000},
        {{{45000, 1}, {1, 0}}, 60004, 0, 0, {}, 0},     // pointer too big
        {{{45000, 1}, {1, 0}}, 400, 0, 1, {100}, 100},  // wrapped flag only
        // Wrapped more than once: the stored count goes round and ends at the pointer.
        {{{45000, 31000}, {1, 0}}, 4000, 1, 1, {31000}, 15000},
        {{{45000, 31000}, {1, 0}}, 4000, 1, 2, {31000}, 15000},
        {{{45000, 9000}, {45001, 22000}, {1, 0}}, 4000, 1, 1, {9000, 22000}, 15000},
        // A stored count that does not end at the pointer is stale: the flag decides.
        {{{45000, 31000}, {1, 0}}, 400, 1, 1, {15100}, 15000},
        {{{45000, 0}, {1, 0}}, 4000, 1, 2, {31000}, 15000},
    };
    for (const Case& c : cases) {
        state.Record_Pointer = c.pointer;
        state.Memory_Mode = c.mode;
        state.Wrapped = c.wrapped;
        const auto plan = planTransfer(c.decoded, state);
        ASSERT_EQ(plan.has_value(), !c.counts.empty()) << c.decoded.size() << " " << c.pointer;
        if (!plan) {
            continue;
        }
        ASSERT_EQ(plan->runs.size(), c.counts.size());
        for (std::size_t i = 0; i < c.counts.size(); ++i) {
            EXPECT_EQ(plan->runs[i].count, c.counts[i]) << i;
        }
        EXPECT_EQ(plan->records, c.records);
    }
}

TEST(SegmentTable, WrappedNumbering) {
    EXPECT_EQ(wrappedRecordNumber(1, 100), 14901);
    EXPECT_EQ(wrappedRecordNumber(100, 100), 15000);
    EXPECT_EQ(wrappedRecordNumber(101, 100), 1);
    EXPECT_EQ(wrappedRecordNumber(15000, 100), 14900);
    EXPECT_EQ(wrappedRecordNumber(1, 0), 1);
}

class ModeTest : public ::testing::TestWithParam<int> {};

TEST_P(ModeTest, RunsAreNumberedAndDatedBySegment) {
    LinkHarness h(QStringLiteral("runs"));
    const QDateTime now = LinkHarness::scenarioNow();
    ASSERT_TRUE(h.downloadAll(GetParam()));
    EXPECT_TRUE(h.prompter.messages.empty());
    EXPECT_EQ(h.finished, 1);
    ASSERT_EQ(h.logData.count, 650);
    const auto s = h.samples();
    const struct {
        int record;
        double time;
        float series;
    } checks[] = {{1, at(now.addDays(-10)), 1},
                  {300, at(now.addDays(-10)) + 299 * 600 * kSecond, 1},
                  {301, at(now.addDays(-7)), 2},
                  {501, at(now.addDays(-3)), 3},
                  {650, at(now.addDays(-3)) + 149 * 600 * kSecond, 3}};
    for (const auto& c : checks) {
        EXPECT_NEAR(s[c.record - 1].dateTime, c.time, 0.5 * kSecond) << c.record;
        EXPECT_EQ(s[c.record - 1].series, c.series) << c.record;
        EXPECT_EQ(s[c.record - 1].index, c.record);
        EXPECT_EQ(s[c.record - 1].raw, memoryAt(h.logger, (c.record - 1) * 4)) << c.record;
    }
    EXPECT_TRUE(h.logData.unsaved);
    EXPECT_TRUE(h.state.recordState == RecordState::Stopped);
    EXPECT_TRUE(h.logger.state().downloaded);  // MarkDownloaded went out
    EXPECT_FALSE(h.logData.neverDownloaded);
    EXPECT_FALSE(h.timers.isArmed(TimerId::DownloadTimer));
    EXPECT_EQ(h.captions.back(),
              h.messages.text(Msg::DownloadProgress) + QChar(0x3000) + "(650/650)");
}

TEST_P(ModeTest, WrappedMemoryPutsTheWritePositionFirst) {
    LinkHarness h(QStringLiteral("wrapped"));
    ASSERT_EQ(h.logger.state().recordPointer, 400);
    ASSERT_TRUE(h.downloadAll(GetParam()));
    ASSERT_EQ(h.logData.count, 15000);
    const auto s = h.samples();
    EXPECT_EQ(s[14900].raw, memoryAt(h.logger, 0));
    EXPECT_EQ(s[14900].index, 14901);
    EXPECT_EQ(s[0].raw, memoryAt(h.logger, 400));
    EXPECT_EQ(s[0].index, 1);
    // One run of 15100 records at 1 min: the oldest kept record is its 101st.
    const double start = at(LinkHarness::scenarioNow().addSecs(-15100 * 60));
    EXPECT_NEAR(s[14999].dateTime, start + 15099 * 60 * kSecond, 0.5 * kSecond);
    EXPECT_NEAR(s[0].dateTime, start + 100 * 60 * kSecond, 0.5 * kSecond);
    for (std::size_t i = 1; i < s.size(); ++i) {
        ASSERT_NEAR(s[i].dateTime - s[i - 1].dateTime, 60 * kSecond, 0.01 * kSecond) << i;
        ASSERT_EQ(s[i].series, 1.0f);
    }
}

TEST_P(ModeTest, WrappedWithPointerZeroStillTakesEverything) {
    LinkHarness h(QStringLiteral("wrapped"));
    h.logger.state().recordPointer = 0;
    ASSERT_TRUE(h.downloadAll(GetParam()));
    ASSERT_EQ(h.logData.count, 15000);
    const auto s = h.samples();
    EXPECT_EQ(s[0].raw, memoryAt(h.logger, 0));
    EXPECT_EQ(s[14999].raw, memoryAt(h.logger, 59996));
}

TEST_P(ModeTest, OneRecordShowsZeroThenOne) {
    LinkHarness h(QStringLiteral("empty"));
    SimLoggerState& st = h.logger.state();
    simmemory::writeRuns(st, {{LinkHarness::scenarioNow().addSecs(-3600), 1}}, kUnitMinutes, 1,
                         simmemory::indoorClimate);
    ASSERT_TRUE(h.downloadAll(GetParam()));
    const QString prefix = h.messages.text(Msg::DownloadProgress) + QChar(0x3000);
    ASSERT_EQ(h.captions.size(), 2u);
    EXPECT_EQ(h.captions[0], prefix + "(0/1)");
    EXPECT_EQ(h.captions[1], prefix + "(1/1)");
    EXPECT_EQ(h.logData.count, 1);
}

TEST_P(ModeTest, CancelKeepsAConsistentPrefixOfOneTimeMemory) {
    LinkHarness h(QStringLiteral("runs"));
    h.onProgress = [&h](int value) {
        if (value == 320) {
            h.download.Download_Cancel();
        }
    };
    ASSERT_TRUE(h.downloadAll(GetParam()));
    EXPECT_EQ(h.finished, 1);
    EXPECT_TRUE(h.prompter.messages.empty());
    ASSERT_EQ(h.logData.count, 320);
    const auto s = h.samples();
    for (int k = 1; k <= 320; ++k) {
        ASSERT_EQ(s[k - 1].index, k);
        ASSERT_EQ(s[k - 1].raw, memoryAt(h.logger, (k - 1) * 4)) << k;
        ASSERT_NE(s[k - 1].dateTime, 0);
    }
    EXPECT_EQ(s[319].series, 2.0f);
    EXPECT_NEAR(s[319].dateTime, at(LinkHarness::scenarioNow().addDays(-7)) + 19 * 600 * kSecond,
                0.5 * kSecond);
    // Records were left in the logger: it still reports data never downloaded.
    EXPECT_FALSE(h.logger.state().downloaded);
    EXPECT_FALSE(h.logger.streaming());
    // The line is quiet: the next procedure gets its own replies.
    h.engine.begin();
    ASSERT_TRUE(enqueueStatusRead(h.engine, QString()));
    h.engine.SendCurrent();
    h.pump();
    EXPECT_TRUE(h.prompter.messages.empty());
    EXPECT_EQ(h.state.VT_Name, QStringLiteral("LAB1"));
}

TEST_P(ModeTest, CancelOfWrappedMemoryKeepsNothingAndSaysSo) {
    LinkHarness h(QStringLiteral("wrapped"));
    h.onProgress = [&h](int value) {
        if (value == 50) {
            h.download.Download_Cancel();
        }
    };
    ASSERT_TRUE(h.downloadAll(GetParam()));
    EXPECT_EQ(h.logData.count, 0);
    EXPECT_EQ(h.failed, 1);
    EXPECT_EQ(h.finished, 0);
    ASSERT_EQ(h.prompter.messages.size(), 1u);
    EXPECT_EQ(h.prompter.messages[0], h.messages.text(Msg::LoopDownloadCancelled));
    EXPECT_FALSE(h.logger.streaming());
}

TEST_P(ModeTest, DeviceLostMidTransferLeavesTheLogEmpty) {
    LinkHarness h(QStringLiteral("full"));
    h.onProgress = [&h](int value) {
        if (value == 1000) {
            h.port.setPresent(false);
        }
    };
    h.state.Download_Mode = static_cast<std::uint8_t>(GetParam());
    ASSERT_TRUE(h.download.start());
    h.pump();
    for (int tick = 0; tick < 20 && h.engine.busy(); ++tick) {
        h.download.downloadTick();
        h.engine.timeOutTick();
    }
    EXPECT_FALSE(h.engine.busy());
    EXPECT_EQ(h.logData.count, 0);
    EXPECT_EQ(h.failed, 1);
    EXPECT_EQ(h.download.phase(), Download::Phase::Idle);
}

INSTANTIATE_TEST_SUITE_P(FastAndNormal, ModeTest, ::testing::Values(0, 1));

TEST(Download, LoopMemoryIsDatedByAllRecordsTakenHoweverOftenItWrapped) {
    const struct {
        int records;
        std::uint8_t wrapped;  // as the logger reports it: a flag or the number of wraps
    } cases[] = {{15100, 1}, {22000, 1}, {31000, 1}, {31000, 2}};
    for (const auto& c : cases) {
        LinkHarness h(QStringLiteral("empty"));
        SimLoggerState& st = h.logger.state();
        st.memoryMode = 1;
        const QDateTime start = LinkHarness::scenarioNow().addSecs(-60LL * c.records);
        simmemory::writeRuns(st, {{start, c.records}}, kUnitMinutes, 1, simmemory::indoorClimate);
        st.wrapped = c.wrapped;
        ASSERT_TRUE(h.downloadAll(0)) << c.records;
        ASSERT_EQ(h.logData.count, 15000) << c.records;
        const auto s = h.samples();
        const double first = at(start);
        EXPECT_NEAR(s[14999].dateTime, first + (c.records - 1) * 60 * kSecond, 0.5 * kSecond)
            << c.records << " " << int(c.wrapped);
        EXPECT_NEAR(s[0].dateTime, first + (c.records - 15000) * 60 * kSecond, 0.5 * kSecond)
            << c.records << " " << int(c.wrapped);
        EXPECT_EQ(s[14999].raw, memoryAt(h.logger, st.recordPointer - 4)) << c.records;
    }
}

TEST(Download, FastAndNormalModeGiveIdenticalSamples) {
    for (const char* scenario : {"runs", "wrapped"}) {
        LinkHarness fast(QString::fromLatin1(scenario));
        LinkHarness normal(QString::fromLatin1(scenario));
        ASSERT_TRUE(fast.downloadAll(0));
        ASSERT_TRUE(normal.downloadAll(1));
        const auto a = fast.samples();
        const auto b = normal.samples();
        ASSERT_EQ(a.size(), b.size()) << scenario;
        ASSERT_FALSE(a.empty());
        for (std::size_t i = 0; i < a.size(); ++i) {
            ASSERT_EQ(ScratchFile::encode(a[i]), ScratchFile::encode(b[i])) << scenario << i;
        }
        EXPECT_GT(normal.logger.history().size(), fast.logger.history().size());
    }
}

TEST(Download, WatchdogTenTicksPassTheEleventhFails) {
    LinkHarness h(QStringLiteral("full"));
    h.logger.faults().stallAfterRecords = 25;
    h.state.Download_Mode = 0;
    ASSERT_TRUE(h.download.start());
    h.pump();
    ASSERT_TRUE(h.engine.busy());
    EXPECT_EQ(h.logData.count, 25);
    EXPECT_TRUE(h.timers.isArmed(TimerId::DownloadTimer));
    EXPECT_EQ(h.timers.interval(TimerId::DownloadTimer), 100);
    for (int tick = 1; tick <= 10; ++tick) {
        h.download.downloadTick();
        ASSERT_TRUE(h.engine.busy()) << tick;
    }
    EXPECT_TRUE(h.prompter.messages.empty());
    h.download.downloadTick();
    EXPECT_FALSE(h.engine.busy());
    EXPECT_EQ(h.logData.count, 0);
    EXPECT_EQ(h.failed, 1);
    EXPECT_FALSE(h.timers.isArmed(TimerId::DownloadTimer));
    ASSERT_EQ(h.prompter.messages.size(), 1u);
    EXPECT_EQ(h.prompter.messages[0], h.messages.text(Msg::DownloadFailed));
}

TEST(Download, ARecordResetsTheWatchdog) {
    LinkHarness h(QStringLiteral("full"));
    h.port.setAutoDeliver(false);
    h.state.Download_Mode = 0;
    ASSERT_TRUE(h.download.start());
    // Status read and table: deliver until the stream starts.
    for (int i = 0; i < 200 && !h.logger.streaming(); ++i) {
        h.port.deliver();
        h.pump();
    }
    ASSERT_TRUE(h.logger.streaming());
    for (int round = 0; round < 3; ++round) {
        for (int tick = 0; tick < 10; ++tick) {
            h.download.downloadTick();
        }
        h.port.deliver(9);
        h.pump();
        EXPECT_EQ(h.download.watchdogCount(), 0);
    }
    EXPECT_TRUE(h.engine.busy());
    EXPECT_EQ(h.logData.count, 3);
}

struct BadInput {
    const char* name;
    std::function<void(SimLoggerState&)> spoil;
    Msg message;
};

class BadInputTest : public ::testing::TestWithParam<BadInput> {};

TEST_P(BadInputTest, EndsWithAMessageAndAnEmptyLog) {
    LinkHarness h(QStringLiteral("runs"));
    GetParam().spoil(h.logger.state());
    ASSERT_TRUE(h.downloadAll(0));
    EXPECT_EQ(h.logData.count, 0);
    EXPECT_EQ(h.failed, 1);
    ASSERT_EQ(h.prompter.messages.size(), 1u);
    EXPECT_EQ(h.prompter.messages[0], h.messages.text(GetParam().message));
    EXPECT_FALSE(h.logger.streaming());
}

INSTANTIATE_TEST_SUITE_P(
    Logger, BadInputTest,
    ::testing::Values(BadInput{"RunCountBeyondMemory",
                               [](SimLoggerState& s) { simmemory::setSegmentCount(s, 0, 20000); },
                               Msg::DownloadFailed},
                      BadInput{"RecordPointerBeyondMemory",
                               [](SimLoggerState& s) { s.recordPointer = 60004; },
                               Msg::DownloadFailed},
                      BadInput{"NothingRecorded",
                               [](SimLoggerState& s) {
                                   simmemory::erase(s);
                                   s.wrapped = 1;
                               },
                               Msg::NoDownloadData}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Download, TableReadStopsAt151Segments) {
    LinkHarness h(QStringLiteral("empty"));
    std::vector<SimRun> runs;
    const QDateTime first = LinkHarness::scenarioNow().addDays(-40);
    for (int i = 0; i < 200; ++i) {
        runs.push_back({first.addSecs(i * 3600), 2});
    }
    simmemory::writeRuns(h.logger.state(), runs, kUnitMinutes, 1, simmemory::indoorClimate);
    ASSERT_TRUE(h.downloadAll(0));
    EXPECT_EQ(h.download.plan().runs.size(), 150u);
    ASSERT_EQ(h.logData.count, 400);
    const auto s = h.samples();
    EXPECT_EQ(s[297].series, 149.0f);
    EXPECT_NEAR(s[297].dateTime, at(first.addSecs(148 * 3600 + 60)), 0.5 * kSecond);
    // The last run takes every record past the earlier runs.
    EXPECT_EQ(s[399].series, 150.0f);
}

TEST(Download, InvalidStartTimeStillDatesByTheTable) {
    LinkHarness h(QStringLiteral("nodate"));
    ASSERT_TRUE(h.downloadAll(0));
    EXPECT_EQ(h.state.Start_Time, 0);
    ASSERT_EQ(h.logData.count, 100);
    const auto s = h.samples();
    const double start = at(LinkHarness::scenarioNow().addDays(-1));
    EXPECT_NEAR(s[0].dateTime, start, 0.5 * kSecond);
    EXPECT_NEAR(s[99].dateTime, start + 99 * 60 * kSecond, 0.5 * kSecond);
    EXPECT_EQ(s[99].series, 1.0f);
}

TEST(Download, TimeOutDuringTheTableEmptiesTheLog) {
    LinkHarness h(QStringLiteral("runs"));
    h.logger.faults().silent.insert(code(Command::ReadMemory));
    h.logData.count = 7;
    ASSERT_TRUE(h.download.start());
    h.pump();
    for (int tick = 0; tick < 4; ++tick) {
        h.engine.timeOutTick();
    }
    EXPECT_FALSE(h.engine.busy());
    EXPECT_EQ(h.logData.count, 0);
    EXPECT_EQ(h.failed, 1);
    ASSERT_EQ(h.prompter.messages.size(), 1u);
    EXPECT_EQ(h.prompter.messages[0],
              h.messages.pair(Msg::TimeOut, Msg::CommunicationEndsAfterTimeOut));
}

TEST(Download, RefusedWhileAProcedureRuns) {
    LinkHarness h(QStringLiteral("runs"));
    h.engine.begin();
    ASSERT_TRUE(enqueueStatusRead(h.engine, QString()));
    EXPECT_FALSE(h.download.start());
    EXPECT_EQ(h.engine.queue().Count, 19);
    h.engine.begin();
}

}  // namespace
