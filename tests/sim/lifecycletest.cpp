// The logger's life cycle as the program drives it: the commands that program a recording, the
// status read batch that follows, records taken as the clock runs, a reserved start and stop.
#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "replyutil.h"
#include "sim/simscenarios.h"
#include "sim/simsensor.h"

namespace {

const QDateTime kNow(QDate(2026, 3, 14), QTime(9, 30, 0), Qt::UTC);
// The computer's time the program writes into the logger clock.
const QDateTime kSet(QDate(2026, 4, 2), QTime(18, 47, 23), Qt::UTC);

struct Frame {
    Command command;
    int arg1 = 0;
    int arg2 = 0;
};

// The replies of the status read batch, sent in the program's order, keyed by code and arg1.
class StatusRead {
  public:
    explicit StatusRead(SimLogger& logger) {
        const Frame batch[] = {
            {Command::Identify},         {Command::GetName12},       {Command::GetName34},
            {Command::GetStatus},        {Command::ReadSetting, 20}, {Command::ReadSetting, 22},
            {Command::ReadSetting, 24},  {Command::ReadSetting, 16}, {Command::ReadSetting, 18},
            {Command::GetRecordBytes},   {Command::GetReserveDay},   {Command::GetReserveHour},
            {Command::GetReserveMinute}, {Command::GetInterval},     {Command::GetUpperAlarm},
            {Command::GetLowerAlarm},    {Command::GetMemoryMode},   {Command::GetBatteryVoltage},
            {Command::GetDownloaded}};
        for (const Frame& f : batch) {
            logger.receive(commandFrame(code(f.command), f.arg1, f.arg2));
            const QByteArray reply = logger.takeOutput();
            EXPECT_TRUE(reply.endsWith(char(0xFF))) << int(code(f.command));
            replies_[{code(f.command), f.arg1}] = replyValues(reply);
        }
    }

    std::array<int, 2> at(Command command, int arg1 = 0) const {
        const auto& r = replies_.at({code(command), arg1});
        return {r[2], r[3]};
    }
    std::array<int, 4> name() const {
        const auto a = at(Command::GetName12);
        const auto b = at(Command::GetName34);
        return {a[0], a[1], b[0], b[1]};
    }
    std::optional<QDateTime> start() const {
        const auto ym = at(Command::ReadSetting, 20);
        const auto dh = at(Command::ReadSetting, 22);
        const auto ms = at(Command::ReadSetting, 24);
        return packedDateTime({ym[0], ym[1], dh[0], dh[1], ms[0], ms[1]});
    }
    int pointer() const {
        const auto setting = at(Command::ReadSetting, 16);
        const auto used = at(Command::GetRecordBytes);
        EXPECT_EQ(setting, used);
        return used[0] * 256 + used[1];
    }

  private:
    std::map<std::pair<int, int>, std::array<int, 4>> replies_;
};

QDateTime loggerClock(SimLogger& logger) {
    const auto my = exchange(logger, Command::GetClockMonthYear);
    const auto hd = exchange(logger, Command::GetClockHourDay);
    const auto sm = exchange(logger, Command::GetClockSecondMinute);
    return QDateTime(QDate(2000 + my[3], my[2], hd[3]), QTime(hd[2], sm[3], sm[2]), Qt::UTC);
}

// First segment table entry: its start and record count.
std::pair<std::optional<QDateTime>, int> firstRun(SimLogger& logger) {
    const auto a = exchange(logger, Command::ReadMemory, 0xF0, 0);
    const auto b = exchange(logger, Command::ReadMemory, 0xF0, 4);
    return {packedDateTime({a[0], a[1], a[2], a[3], b[0], b[1]}), b[2] + 256 * b[3]};
}

struct LifeCase {
    const char* label;
    std::array<int, 4> name;  // character codes as sent, left-padded with spaces
    int loop;
    int unit;
    int count;
    std::array<int, 2> upper;  // raw high byte with bit 7 = on, raw low byte
    std::array<int, 2> lower;
    int reserveInMinutes;  // 0: start at once
};

std::ostream& operator<<(std::ostream& out, const LifeCase& c) {
    return out << c.label;
}

// What the program sends to program a recording, ending before the status read batch.
std::vector<Frame> programming(const LifeCase& c, const QDateTime& reserved) {
    const QDate d = kSet.date();
    const QTime t = kSet.time();
    const int fast = c.unit == kUnitSeconds && c.count == 2 ? 1 : 0;
    std::vector<Frame> frames{
        {Command::SetName12, c.name[0], c.name[1]},
        {Command::SetName34, c.name[2], c.name[3]},
        {Command::SetMemoryMode, c.loop, c.loop},
        {Command::SetClockMonthYear, d.month(), d.year() % 100},
        {Command::SetClockHourDay, t.hour(), d.day()},
        {Command::SetClockSecondMinute, t.second(), t.minute()},
        {Command::GetClockMonthYear},
        {Command::GetClockHourDay},
        {Command::GetClockSecondMinute},
        {Command::SetFastSampling, fast, fast},
        {Command::SetUpperAlarm, c.upper[0], c.upper[1]},
        {Command::SetLowerAlarm, c.lower[0], c.lower[1]},
    };
    if (c.reserveInMinutes > 0) {
        frames.push_back({Command::SetReserveDay, reserved.date().day()});
        frames.push_back({Command::SetReserveHour, reserved.time().hour()});
        frames.push_back({Command::SetReserveMinute, reserved.time().minute()});
        frames.push_back({Command::ReserveRecording, c.unit, c.count});
    } else {
        frames.push_back({Command::StartRecording, c.unit, c.count});
    }
    return frames;
}

class SimLifeCycle : public ::testing::TestWithParam<LifeCase> {};

TEST_P(SimLifeCycle, ProgrammedRecordingReadsBackRunsWithTheClockAndStops) {
    const LifeCase c = GetParam();
    SimLogger logger;
    simscenario::apply(QStringLiteral("runs"), logger, kNow);
    exchange(logger, Command::MarkDownloaded, 1, 1);
    const StatusRead before(logger);
    const int seconds = c.unit == kUnitMinutes ? c.count * 60 : c.count;
    // Reserved for a whole minute, as the dialog offers.
    const QDateTime reserved = kSet.addSecs(c.reserveInMinutes * 60 - kSet.time().second());

    for (const Frame& f : programming(c, reserved)) {
        const auto ack = exchange(logger, f.command, f.arg1, f.arg2);
        ASSERT_EQ(ack[1], code(f.command));
    }
    EXPECT_EQ(loggerClock(logger), kSet);

    const StatusRead status(logger);
    EXPECT_EQ(status.name(), c.name);
    EXPECT_EQ(status.at(Command::GetInterval), (std::array<int, 2>{c.unit, c.count}));
    EXPECT_EQ(status.at(Command::GetUpperAlarm), c.upper);
    EXPECT_EQ(status.at(Command::GetLowerAlarm), c.lower);
    EXPECT_EQ(status.at(Command::GetMemoryMode), (std::array<int, 2>{c.loop, 0}));

    QDateTime start = kSet;
    if (c.reserveInMinutes > 0) {
        // Nothing changes in memory until the reserved minute.
        EXPECT_EQ(status.at(Command::GetStatus)[0], kStatusReserved);
        EXPECT_EQ(status.at(Command::GetReserveDay)[0], reserved.date().day());
        EXPECT_EQ(status.at(Command::GetReserveHour)[0], reserved.time().hour());
        EXPECT_EQ(status.at(Command::GetReserveMinute)[0], reserved.time().minute());
        EXPECT_EQ(status.start(), before.start());
        EXPECT_EQ(status.pointer(), before.pointer());
        EXPECT_EQ(status.at(Command::GetDownloaded)[0], 1);
        logger.advanceTime((kSet.secsTo(reserved) - 1) * 1000);
        EXPECT_EQ(exchange(logger, Command::GetStatus)[2], kStatusReserved);
        logger.advanceTime(1000);
        start = reserved;
    }
    const StatusRead started(logger);
    EXPECT_EQ(started.at(Command::GetStatus)[0], kStatusRecording0);
    EXPECT_EQ(started.start(), start);
    EXPECT_EQ(started.at(Command::ReadSetting, 18), (std::array<int, 2>{c.unit, c.count}));
    EXPECT_EQ(started.pointer(), kRecordBytes);
    EXPECT_EQ(started.at(Command::GetDownloaded)[0], 0);
    EXPECT_EQ(firstRun(logger), std::make_pair(std::optional(start), 1));

    // One record per interval of the logger clock, the first at the start.
    logger.advanceTime(10LL * seconds * 1000 + 500);
    EXPECT_EQ(StatusRead(logger).pointer(), 11 * kRecordBytes);
    EXPECT_EQ(firstRun(logger).second, 11);
    EXPECT_EQ(loggerClock(logger), start.addSecs(10LL * seconds));

    exchange(logger, Command::StopRecording, 14, 0);
    logger.advanceTime(5LL * seconds * 1000);
    const StatusRead stopped(logger);
    EXPECT_EQ(stopped.at(Command::GetStatus)[0], 0);
    EXPECT_EQ(stopped.pointer(), 11 * kRecordBytes);
    EXPECT_EQ(stopped.start(), start);
}

INSTANTIATE_TEST_SUITE_P(Programs, SimLifeCycle,
                         ::testing::Values(LifeCase{"LoopEveryMinute",
                                                    {32, 32, 65, 66},
                                                    1,
                                                    kUnitMinutes,
                                                    1,
                                                    {0x80 | 0x1B, 0x58},
                                                    {0x80 | 0x19, 0x01},
                                                    0},
                                           LifeCase{"OneTimeFastSampling",
                                                    {32, 'T', 'M', 'P'},
                                                    0,
                                                    kUnitSeconds,
                                                    2,
                                                    {0x80 | 0x1B, 0x58},
                                                    {0x19, 0x01},
                                                    0},
                                           LifeCase{"ReservedEveryFiveMinutes",
                                                    {'R', 'S', 'V', '2'},
                                                    0,
                                                    kUnitMinutes,
                                                    5,
                                                    {0x1B, 0x58},
                                                    {0x19, 0x01},
                                                    90},
                                           LifeCase{"ReservedPastMidnight",
                                                    {32, 32, 32, 'N'},
                                                    1,
                                                    kUnitSeconds,
                                                    30,
                                                    {0x80 | 0x1B, 0x58},
                                                    {0x80 | 0x19, 0x01},
                                                    6 * 60}),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(SimLifeCycle, LiveScenarioKeepsAddingToItsLastRun) {
    SimLogger logger;
    simscenario::apply(QStringLiteral("live"), logger, kNow);
    const auto entry = [&] {
        return exchange(logger, Command::ReadMemory, 0xF0, 3 * kSegmentEntryBytes + 4);
    };
    const int before = entry()[2] + 256 * entry()[3];
    // Records fall due at 09:40, 09:50 and 10:00.
    logger.advanceTime(30 * 60'000);
    const auto used = exchange(logger, Command::GetRecordBytes);
    EXPECT_EQ(used[2] * 256 + used[3], (3988 + 3) * kRecordBytes);
    EXPECT_EQ(entry()[2] + 256 * entry()[3], before + 3);
}

TEST(SimLifeCycle, MeasurementsVarySlowlyWithTheClock) {
    SimLogger logger;
    logger.setClock(kNow);
    const auto temperature = [&] {
        const auto r = exchange(logger, Command::MeasureTemperature);
        return simsensor::temperatureOfRaw(r[2] * 256 + r[3], false);
    };
    const double first = temperature();
    logger.advanceTime(10'000);
    EXPECT_NEAR(temperature(), first, 0.05);
    logger.advanceTime(6LL * 3600 * 1000);
    EXPECT_GT(std::abs(temperature() - first), 1.0);
}

}  // namespace
