// The logger model: batches, the per-reply handling and a status read against the simulator.
#include <gtest/gtest.h>

#include "data/datetime.h"
#include "link/loggerdate.h"
#include "link/loggermodel.h"
#include "linkharness.h"
#include "sim/simmemory.h"

namespace {

Reply replyOf(std::uint8_t r2, std::uint8_t r3) {
    Reply reply;
    reply.r = {0, 0, r2, r3};
    return reply;
}

CommandEntry entryOf(Command command, std::uint8_t arg1 = 0, const QString& keyword = {}) {
    CommandEntry entry;
    entry.Code = code(command);
    entry.Arg1 = arg1;
    entry.Keyword = keyword;
    return entry;
}

class ModelTest : public ::testing::Test {
  protected:
    ModelEffect apply(Command command, std::uint8_t r2, std::uint8_t r3, std::uint8_t arg1 = 0,
                      const QString& keyword = {}) {
        return applyReply(state, header, entryOf(command, arg1, keyword), replyOf(r2, r3),
                          messages);
    }
    void SetUp() override { messages.fillEnglish(); }

    LoggerState state;
    DataSet header;
    MessageTable messages;
};

TEST(LoggerDate, PackedDecimalAndTwoDigitYear) {
    EXPECT_EQ(packedToNumber(0x25), 25);
    EXPECT_EQ(packedToNumber(0x09), 9);
    EXPECT_FALSE(packedToNumber(0x1A));
    EXPECT_FALSE(packedToNumber(0xA1));
    EXPECT_FALSE(packedToNumber(0xFF));
    const std::pair<int, int> years[] = {{0, 2000},   {5, 2005},   {25, 2025}, {99, 2099},
                                         {100, 1999}, {255, 1999}, {-1, 1999}};
    for (const auto& [year, full] : years) {
        EXPECT_EQ(twoDigitYear(year), full) << year;
    }
}

TEST(LoggerDate, ClockWithInvalidFieldsHasNoDate) {
    EXPECT_TRUE(loggerDateTime(26, 2, 28, 23, 59, 59));
    EXPECT_FALSE(loggerDateTime(26, 2, 30, 0, 0, 0));
    EXPECT_FALSE(loggerDateTime(26, 13, 1, 0, 0, 0));
    EXPECT_FALSE(loggerDateTime(26, 1, 1, 24, 0, 0));
    EXPECT_EQ(loggerDateTime(100, 1, 1, 0, 0, 0),
              datetime::fromDateAndTime(QDate(1999, 1, 1), QTime(0, 0)));
}

TEST_F(ModelTest, StatusBitsLaterOverwriteEarlier) {
    struct Case {
        std::uint8_t bits;
        RecordState record;
        const char* error;
        const char* stop;
    };
    using enum RecordState;
    const Case cases[] = {{0x00, Stopped, "", ""},          {0x01, Recording, "", ""},
                          {0x02, Recording, "", ""},        {0x05, Reserved, "", ""},
                          {0x18, Stopped, "Error", "Stop"}, {0x1F, Reserved, "Error", "Stop"}};
    state.recordState = Continuous;
    for (const Case& c : cases) {
        apply(Command::GetStatus, c.bits, 0);
        EXPECT_EQ(state.recordState, c.record) << int(c.bits);
        EXPECT_EQ(state.Error_Flag, QLatin1String(c.error)) << int(c.bits);
        EXPECT_EQ(state.Stop_Flag, QLatin1String(c.stop)) << int(c.bits);
    }
}

TEST_F(ModelTest, RecordPointerKeepsTheLargerInEitherOrder) {
    apply(Command::ReadSetting, 400 / 256, 400 % 256, kSettingRecordBytes);
    apply(Command::GetRecordBytes, 396 / 256, 396 % 256);
    EXPECT_EQ(state.Record_Pointer, 400);
    apply(Command::ReadSetting, 396 / 256, 396 % 256, kSettingRecordBytes);
    apply(Command::GetRecordBytes, 400 / 256, 400 % 256);
    EXPECT_EQ(state.Record_Pointer, 400);
}

TEST_F(ModelTest, BatteryVoltageTwoDecimals) {
    const std::pair<int, const char*> cases[] = {
        {930, "3.00"}, {0, "0.00"}, {1023, "3.30"}, {740, "2.39"}};
    for (const auto& [reading, text] : cases) {
        apply(Command::GetBatteryVoltage, reading / 256, reading % 256);
        EXPECT_EQ(state.Battery_Volts, QLatin1String(text)) << reading;
    }
}

TEST_F(ModelTest, NamePairsStopAtZero) {
    apply(Command::GetName12, 'A', 'B');
    apply(Command::GetName34, ' ', ' ');
    EXPECT_EQ(state.VT_Name, QStringLiteral("AB  "));
    apply(Command::GetName12, 'X', 0);
    apply(Command::GetName34, 'C', 'D');
    EXPECT_EQ(state.VT_Name, QStringLiteral("CD"));
    // Codes are read in the code page the name was written in.
    apply(Command::GetName12, 0x80, 0xE9);
    apply(Command::GetName34, 0x8E, '1');
    EXPECT_EQ(state.VT_Name, QString::fromUtf8("€éŽ1"));
}

TEST_F(ModelTest, Intervals) {
    apply(Command::GetInterval, kUnitMinutes, 10);
    EXPECT_EQ(state.Current_Interval_Sec, 600);
    apply(Command::GetInterval, kUnitSeconds, 10);
    EXPECT_EQ(state.Current_Interval_Sec, 10);
    apply(Command::ReadSetting, kUnitMinutes, 2, kSettingInterval);
    EXPECT_EQ(header.interval, 120);
    EXPECT_EQ(state.Interval_Unit, kUnitMinutes);
    EXPECT_EQ(state.Interval_Value, 2);
}

TEST_F(ModelTest, StartTimeFromPackedSettingsOrZero) {
    apply(Command::ReadSetting, 0x25, 0x03, kSettingStartYearMonth);
    apply(Command::ReadSetting, 0x14, 0x09, kSettingStartDayHour);
    apply(Command::ReadSetting, 0x30, 0x00, kSettingStartMinuteSecond);
    EXPECT_EQ(datetime::format(state.Start_Time, QStringLiteral("yyyy-MM-dd HH:mm:ss")),
              QStringLiteral("2025-03-14 09:30:00"));
    const std::array<std::uint8_t, 6> invalid[] = {{0x25, 0x13, 0x14, 0x09, 0x30, 0x00},
                                                   {0x25, 0x02, 0x30, 0x09, 0x30, 0x00},
                                                   {0x25, 0x03, 0x14, 0x0A, 0x30, 0x00},
                                                   {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}};
    for (const auto& bytes : invalid) {
        apply(Command::ReadSetting, bytes[0], bytes[1], kSettingStartYearMonth);
        apply(Command::ReadSetting, bytes[2], bytes[3], kSettingStartDayHour);
        apply(Command::ReadSetting, bytes[4], bytes[5], kSettingStartMinuteSecond);
        EXPECT_EQ(state.Start_Time, 0) << int(bytes[1]) << " " << int(bytes[3]);
    }
}

TEST_F(ModelTest, AlarmBoundsAndFlags) {
    header.interval = 60;
    const std::int32_t raw = rawOfTemperature(30.0, 3);
    apply(Command::GetUpperAlarm, static_cast<std::uint8_t>(0x80 | (raw >> 8)), raw & 0xFF);
    EXPECT_EQ(header.upperOn, 0x80);
    EXPECT_EQ(header.upperRaw, raw);
    EXPECT_EQ(header.upperBound, 30);
    apply(Command::GetLowerAlarm, static_cast<std::uint8_t>(raw >> 8), raw & 0xFF);
    EXPECT_EQ(header.lowerOn, 0);
    EXPECT_EQ(header.lowerBound, 30);
    apply(Command::GetDownloaded, 0, 0);
    EXPECT_TRUE(header.neverDownloaded);
    apply(Command::MarkDownloaded, 0, 0);
    EXPECT_FALSE(header.neverDownloaded);
    apply(Command::GetDownloaded, 0, 1);
    EXPECT_FALSE(header.neverDownloaded);
}

TEST_F(ModelTest, MessagesFollowKeywords) {
    EXPECT_EQ(apply(Command::SetMemoryMode, 0, 0).message, messages.text(Msg::SetCompleted));
    EXPECT_TRUE(apply(Command::SetLowerAlarm, 0, 0, 0, Keyword::LogStart).message.isEmpty());
    EXPECT_EQ(apply(Command::SetLowerAlarm, 0, 0, 0, QString()).message,
              messages.text(Msg::SetCompleted));
    apply(Command::GetClockMonthYear, 3, 26);
    apply(Command::GetClockHourDay, 8, 14);
    const ModelEffect plain = apply(Command::GetClockSecondMinute, 5, 7);
    EXPECT_TRUE(plain.message.isEmpty());
    EXPECT_EQ(plain.clockText, QStringLiteral("2026/03/14 08:07:05"));
    const ModelEffect set = apply(Command::GetClockSecondMinute, 5, 7, 0, Keyword::TSet);
    EXPECT_EQ(set.message, messages.text(Msg::ClockSetCompleted) + "\r\r2026/03/14 08:07:05");
    EXPECT_EQ(apply(Command::GetBatteryLow, 1, 0).batteryLow, true);
    EXPECT_EQ(apply(Command::GetBatteryLow, 0, 0).batteryLow, false);
}

TEST(ModelBatches, EntriesInOrder) {
    LinkHarness h;
    h.engine.begin();
    ASSERT_TRUE(enqueueStatusRead(h.engine, Keyword::Download, 7));
    ASSERT_TRUE(enqueueClockWrite(h.engine, Keyword::TSet, 0,
                                  QDateTime(QDate(2026, 3, 14), QTime(8, 7, 5))));
    const CommandQueue& q = h.engine.queue();
    ASSERT_EQ(q.Count, 22);
    const std::pair<Command, int> expected[] = {
        {Command::Identify, 0},         {Command::GetName12, 0},
        {Command::GetName34, 0},        {Command::GetStatus, 0},
        {Command::ReadSetting, 20},     {Command::ReadSetting, 22},
        {Command::ReadSetting, 24},     {Command::ReadSetting, 16},
        {Command::ReadSetting, 18},     {Command::GetRecordBytes, 0},
        {Command::GetReserveDay, 0},    {Command::GetReserveHour, 0},
        {Command::GetReserveMinute, 0}, {Command::GetInterval, 0},
        {Command::GetUpperAlarm, 0},    {Command::GetLowerAlarm, 0},
        {Command::GetMemoryMode, 0},    {Command::GetBatteryVoltage, 0},
        {Command::GetDownloaded, 0}};
    for (int i = 0; i < 19; ++i) {
        EXPECT_EQ(q.Entries[i].Code, code(expected[i].first)) << i;
        EXPECT_EQ(q.Entries[i].Arg1, expected[i].second) << i;
        EXPECT_EQ(q.Entries[i].Keyword, Keyword::Download);
        EXPECT_EQ(q.Entries[i].Value, 7);
    }
    EXPECT_EQ(q.Entries[19].Arg1, 3);
    EXPECT_EQ(q.Entries[19].Arg2, 26);
    EXPECT_EQ(q.Entries[20].Arg1, 8);
    EXPECT_EQ(q.Entries[20].Arg2, 14);
    EXPECT_EQ(q.Entries[21].Arg1, 5);
    EXPECT_EQ(q.Entries[21].Arg2, 7);
    h.engine.begin();
}

TEST(ModelStatusRead, ScenarioFillsTheState) {
    LinkHarness h(QStringLiteral("reserved"));
    SimLoggerState& s = h.logger.state();
    s.name = {'A', 'B', ' ', ' '};
    s.status = 0x05;
    s.startPacked = {0x25, 0x03, 0x14, 0x09, 0x30, 0x00};
    s.intervalUnit = kUnitMinutes;
    s.intervalCount = 10;
    s.batteryReading = 930;
    h.engine.begin();
    ASSERT_TRUE(enqueueStatusRead(h.engine, Keyword::PortOpen));
    h.engine.SendCurrent();
    h.pump();
    ASSERT_FALSE(h.engine.busy());
    EXPECT_TRUE(h.prompter.messages.empty());
    EXPECT_EQ(h.state.F_W_Ver, QStringLiteral("1.05"));
    EXPECT_EQ(h.state.VT_Name, QStringLiteral("AB  "));
    EXPECT_EQ(h.state.recordState, RecordState::Reserved);
    EXPECT_EQ(datetime::format(h.state.Start_Time, QStringLiteral("yyyy-MM-dd HH:mm:ss")),
              QStringLiteral("2025-03-14 09:30:00"));
    EXPECT_EQ(h.state.Current_Interval_Sec, 600);
    EXPECT_EQ(h.state.Battery_Volts, QStringLiteral("3.00"));
    EXPECT_EQ(h.state.Record_Pointer, s.recordPointer);
    EXPECT_EQ(h.state.Reserve_Hour, 8);
    EXPECT_EQ(h.state.Reserve_Minute, 30);
    EXPECT_EQ(h.logData.interval, 600);
    EXPECT_EQ(h.logData.upperBound, 30);
    EXPECT_NE(h.logData.upperOn, 0);
    EXPECT_EQ(h.logData.lowerOn, 0);
    EXPECT_FALSE(h.logData.neverDownloaded);
}

TEST(ModelStatusRead, ClockSettingShowsCompletion) {
    LinkHarness h;
    h.engine.begin();
    ASSERT_TRUE(enqueueClockWrite(h.engine, Keyword::TSet, 0,
                                  QDateTime(QDate(2026, 5, 6), QTime(7, 8, 9))));
    ASSERT_TRUE(enqueueClockRead(h.engine, Keyword::TSet));
    h.engine.SendCurrent();
    h.pump();
    ASSERT_FALSE(h.engine.busy());
    ASSERT_EQ(h.prompter.messages.size(), 1u);
    EXPECT_TRUE(h.prompter.messages[0].startsWith(h.messages.text(Msg::ClockSetCompleted) +
                                                  "\r\r2026/05/06 07:08:"));
    EXPECT_EQ(h.clockText.left(16), QStringLiteral("2026/05/06 07:08"));
}

}  // namespace
