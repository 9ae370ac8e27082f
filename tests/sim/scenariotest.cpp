// Every scenario's memory is consistent the way a downloading host reads it: the runs of the
// segment table start at or after the recording start, in order, end at an older entry, and
// their counts cover exactly the records below the record pointer (plus whole memories when a
// loop has wrapped).
#include <gtest/gtest.h>

#include "replyutil.h"
#include "sim/simscenarios.h"

namespace {

const QDateTime kNow(QDate(2026, 3, 14), QTime(9, 30, 0), Qt::UTC);

class SimScenarioMemory : public ::testing::TestWithParam<const char*> {};

TEST_P(SimScenarioMemory, SegmentTableCoversTheRecordsInMemory) {
    SimLogger logger;
    ASSERT_TRUE(simscenario::apply(QString::fromLatin1(GetParam()), logger, kNow));
    const auto ym = exchange(logger, Command::ReadSetting, kSettingStartYearMonth);
    const auto dh = exchange(logger, Command::ReadSetting, kSettingStartDayHour);
    const auto ms = exchange(logger, Command::ReadSetting, kSettingStartMinuteSecond);
    const auto start = packedDateTime({ym[2], ym[3], dh[2], dh[3], ms[2], ms[3]});
    ASSERT_TRUE(start);
    EXPECT_LE(*start, kNow);

    const auto used = exchange(logger, Command::GetRecordBytes);
    const auto mode = exchange(logger, Command::GetMemoryMode);
    const bool wrapped = mode[2] != 0 && mode[3] != 0;
    const int pointer = used[2] * 256 + used[3];
    EXPECT_EQ(pointer % kRecordBytes, 0);
    EXPECT_LE(pointer, kMemoryBytes);

    const auto interval = exchange(logger, Command::ReadSetting, kSettingInterval);
    const int seconds = interval[3] * (interval[2] == kUnitMinutes ? 60 : 1);
    ASSERT_GT(seconds, 0);

    int total = 0;
    int runs = 0;
    QDateTime previous = *start;
    QDateTime previousEnd = start->addSecs(-1);
    for (int address = kSegmentTableAddress; address + 8 <= 0x10000; address += 8) {
        const auto a = exchange(logger, Command::ReadMemory, address >> 8, address & 0xFF);
        const auto b =
            exchange(logger, Command::ReadMemory, (address + 4) >> 8, (address + 4) & 0xFF);
        const auto entryStart = packedDateTime({a[0], a[1], a[2], a[3], b[0], b[1]});
        ASSERT_TRUE(entryStart) << "entry " << runs;
        if (*entryStart < *start) {
            break;
        }
        EXPECT_GE(*entryStart, previous) << "entry " << runs;
        EXPECT_GT(*entryStart, previousEnd) << "runs overlap at entry " << runs;
        const int count = b[2] + 256 * b[3];
        previous = *entryStart;
        previousEnd = entryStart->addSecs(static_cast<qint64>(std::max(count - 1, 0)) * seconds);
        EXPECT_LE(previousEnd, kNow) << "entry " << runs;
        total += count;
        ++runs;
    }
    EXPECT_GE(runs, 1);
    // A loop memory may have gone round more than once: its counts end at the pointer.
    if (wrapped) {
        EXPECT_GE(total, kMemoryRecords);
        EXPECT_EQ(total % kMemoryRecords, pointer / kRecordBytes);
    } else {
        EXPECT_EQ(total, pointer / kRecordBytes);
    }
}

INSTANTIATE_TEST_SUITE_P(RecordedScenarios, SimScenarioMemory,
                         ::testing::Values("runs", "wrapped", "wrapped-twice", "full", "qm400",
                                           "qm300", "demo", "live", "recording", "reserved",
                                           "lowbattery"));

}  // namespace
