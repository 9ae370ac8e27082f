// The simulated logger answering raw frames: scenarios, set commands, recording and memory.
#include <gtest/gtest.h>

#include "replyutil.h"
#include "sim/simmemory.h"
#include "sim/simscenarios.h"
#include "sim/simsensor.h"

namespace {

const QDateTime kNow(QDate(2026, 3, 14), QTime(9, 30, 0), Qt::UTC);

int packedOf(int value) {
    return (value / 10) * 16 + value % 10;
}

struct ScenarioCase {
    const char* name;
    const char* model;
    int status;
    int recordBytes;
    int memoryMode;
    int wrapped;
    int battery;
    int batteryLow;
    const char* logName;
};

std::ostream& operator<<(std::ostream& out, const ScenarioCase& c) {
    return out << c.name;
}

class SimScenarioStatus : public ::testing::TestWithParam<ScenarioCase> {};

TEST_P(SimScenarioStatus, StatusReadBatchReportsTheScenario) {
    const ScenarioCase c = GetParam();
    SimLogger logger;
    ASSERT_TRUE(simscenario::apply(QString::fromLatin1(c.name), logger, kNow));

    logger.receive(commandFrame(code(Command::Identify)));
    const QByteArray identify = logger.takeOutput();
    ASSERT_GE(identify.size(), 3);
    EXPECT_EQ(identify.left(identify.size() - 3), QByteArray(c.model));
    EXPECT_EQ(static_cast<std::uint8_t>(identify.back()), 0xFF);

    EXPECT_EQ(exchange(logger, Command::GetStatus)[2], c.status);
    const auto bytes = exchange(logger, Command::ReadSetting, kSettingRecordBytes);
    EXPECT_EQ(bytes[2] * 256 + bytes[3], c.recordBytes);
    const auto used = exchange(logger, Command::GetRecordBytes);
    EXPECT_EQ(used[2] * 256 + used[3], c.recordBytes);
    const auto mode = exchange(logger, Command::GetMemoryMode);
    EXPECT_EQ(mode[2], c.memoryMode);
    EXPECT_EQ(mode[3], c.wrapped);
    const auto battery = exchange(logger, Command::GetBatteryVoltage);
    EXPECT_EQ(battery[2] * 256 + battery[3], c.battery);
    EXPECT_EQ(exchange(logger, Command::GetBatteryLow)[2], c.batteryLow);
    const auto n12 = exchange(logger, Command::GetName12);
    const auto n34 = exchange(logger, Command::GetName34);
    QByteArray name;
    for (const int c : {n12[2], n12[3], n34[2], n34[3]}) {
        name.append(static_cast<char>(c));
    }
    EXPECT_EQ(name, QByteArray(c.logName));
    const auto clock = exchange(logger, Command::GetClockMonthYear);
    EXPECT_EQ(clock[2], 3);
    EXPECT_EQ(clock[3], 26);
}

INSTANTIATE_TEST_SUITE_P(
    Scenarios, SimScenarioStatus,
    ::testing::Values(
        ScenarioCase{"runs", "QM320-HX", 0, 650 * 4, 0, 0, 930, 0, "LAB1"},
        ScenarioCase{"wrapped", "QM320-HX", 0, 400, 1, 1, 930, 0, "LOOP"},
        ScenarioCase{"full", "QM320-HX", 0, 60000, 0, 0, 930, 0, "FULL"},
        ScenarioCase{"empty", "QM320-HX", 0, 0, 0, 0, 930, 0, "    "},
        ScenarioCase{"qm400", "QM400-HXA", 0, 650 * 4, 0, 0, 930, 0, "LAB1"},
        ScenarioCase{"qm300", "QM300-HX", 0, 650 * 4, 0, 0, 930, 0, "LAB1"},
        ScenarioCase{"demo", "QM320-HX", 0, 3000 * 4, 0, 0, 905, 0, "DEMO"},
        ScenarioCase{"live", "QM320-HX", kStatusRecording0, 3988 * 4, 0, 0, 905, 0, "DEMO"},
        ScenarioCase{"recording", "QM320-HX", kStatusRecording0, 361 * 4, 1, 0, 930, 0, "REC1"},
        ScenarioCase{"reserved", "QM320-HX", kStatusReserved, 650 * 4, 0, 0, 930, 0, "RSV1"},
        ScenarioCase{"lowbattery", "QM320-HX", kStatusBatteryFault | kStatusLowVoltageStop, 650 * 4,
                     0, 0, 740, 1, "LAB1"},
        ScenarioCase{"nodate", "QM320-HX", 0, 400, 0, 0, 930, 0, "    "}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SimScenarios, EveryNamedScenarioApplies) {
    SimLogger logger;
    ASSERT_FALSE(simscenario::names().isEmpty());
    for (const QString& name : simscenario::names()) {
        EXPECT_TRUE(simscenario::apply(name, logger, kNow)) << name.toStdString();
        EXPECT_FALSE(simscenario::describe(name).isEmpty()) << name.toStdString();
    }
    EXPECT_FALSE(simscenario::apply(QStringLiteral("nonesuch"), logger, kNow));
}

TEST(SimScenarios, RunsScenarioStartAndSegmentTable) {
    SimLogger logger;
    simscenario::apply(QStringLiteral("runs"), logger, kNow);
    const QDateTime first = kNow.addDays(-10);
    const auto ym = exchange(logger, Command::ReadSetting, kSettingStartYearMonth);
    const auto dh = exchange(logger, Command::ReadSetting, kSettingStartDayHour);
    const auto ms = exchange(logger, Command::ReadSetting, kSettingStartMinuteSecond);
    EXPECT_EQ(ym[2], 0x26);
    EXPECT_EQ(ym[3], packedOf(first.date().month()));
    EXPECT_EQ(dh[2], packedOf(first.date().day()));
    EXPECT_EQ(dh[3], 0x09);
    EXPECT_EQ(ms[2], 0x30);
    EXPECT_EQ(ms[3], 0x00);
    const auto interval = exchange(logger, Command::ReadSetting, kSettingInterval);
    EXPECT_EQ(interval[2], kUnitMinutes);
    EXPECT_EQ(interval[3], 10);

    // Entries: three runs, then one older than the start that ends the host's table read.
    const int counts[] = {300, 200, 150, 0};
    const QDateTime starts[] = {first, kNow.addDays(-7), kNow.addDays(-3),
                                QDateTime(QDate(2000, 1, 1), QTime(0, 0), Qt::UTC)};
    for (int entry = 0; entry < 4; ++entry) {
        const int address = kSegmentTableAddress + entry * kSegmentEntryBytes;
        const auto a = exchange(logger, Command::ReadMemory, address >> 8, address & 0xFF);
        const auto b =
            exchange(logger, Command::ReadMemory, (address + 4) >> 8, (address + 4) & 0xFF);
        const QDateTime s = starts[entry];
        EXPECT_EQ(a[0], packedOf(s.date().year() % 100)) << entry;
        EXPECT_EQ(a[1], packedOf(s.date().month())) << entry;
        EXPECT_EQ(a[2], packedOf(s.date().day())) << entry;
        EXPECT_EQ(a[3], packedOf(s.time().hour())) << entry;
        EXPECT_EQ(b[0], packedOf(s.time().minute())) << entry;
        EXPECT_EQ(b[1], packedOf(s.time().second())) << entry;
        EXPECT_EQ(b[2] + 256 * b[3], counts[entry]) << entry;
    }
}

TEST(SimMemory, RecordsDecodeToTheClimateAtTheirTime) {
    SimLogger logger;
    simscenario::apply(QStringLiteral("runs"), logger, kNow);
    // Record 310 is the 11th record of the second run.
    const QDateTime when = kNow.addDays(-7).addSecs(10 * 600);
    const auto r = exchange(logger, Command::ReadMemory, (310 * 4) >> 8, (310 * 4) & 0xFF);
    const int rt = r[0] * 256 + r[1];
    const int rh = r[2] * 256 + r[3];
    const SimClimate want = simmemory::indoorClimate(when);
    const double t = simsensor::temperatureOfRaw(rt, false);
    EXPECT_NEAR(t, want.temperature, 0.01);
    EXPECT_NEAR(simsensor::humidityOfRaw(rh, t, false), want.humidity, 0.05);
}

TEST(SimMemory, WrappedLoopKeepsTheNewestRecordsBelowThePointer) {
    SimLogger logger;
    simscenario::apply(QStringLiteral("wrapped"), logger, kNow);
    const QDateTime start = kNow.addSecs(-15100 * 60);
    auto temperatureAt = [&](int address) {
        const auto r = exchange(logger, Command::ReadMemory, address >> 8, address & 0xFF);
        return simsensor::temperatureOfRaw(r[0] * 256 + r[1], false);
    };
    // Address 0 holds run record 15000 (the 101st newest), address 400 run record 100.
    EXPECT_NEAR(temperatureAt(0), simmemory::indoorClimate(start.addSecs(15000 * 60)).temperature,
                0.01);
    EXPECT_NEAR(temperatureAt(400), simmemory::indoorClimate(start.addSecs(100 * 60)).temperature,
                0.01);
    const auto entry = exchange(logger, Command::ReadMemory, 0xF0, 4);
    EXPECT_EQ(entry[2] + 256 * entry[3], 15100);
}

struct SetGetCase {
    Command set;
    int arg1, arg2;
    Command get;
    int r2, r3;
};

TEST(SimLogger, EverySetCommandIsReadBack) {
    const SetGetCase cases[] = {
        {Command::SetName12, 'A', 'B', Command::GetName12, 'A', 'B'},
        {Command::SetName34, ' ', 'Z', Command::GetName34, ' ', 'Z'},
        {Command::SetUpperAlarm, 0x80 | 0x1B, 0x58, Command::GetUpperAlarm, 0x9B, 0x58},
        {Command::SetLowerAlarm, 0x19, 0x01, Command::GetLowerAlarm, 0x19, 0x01},
        {Command::SetMemoryMode, 1, 1, Command::GetMemoryMode, 1, 0},
        {Command::SetReserveDay, 31, 0, Command::GetReserveDay, 31, 0},
        {Command::SetReserveHour, 23, 0, Command::GetReserveHour, 23, 0},
        {Command::SetReserveMinute, 59, 0, Command::GetReserveMinute, 59, 0},
        {Command::SetClockMonthYear, 12, 27, Command::GetClockMonthYear, 12, 27},
        {Command::SetClockHourDay, 23, 31, Command::GetClockHourDay, 23, 31},
        {Command::SetClockSecondMinute, 58, 59, Command::GetClockSecondMinute, 58, 59},
        {Command::MarkDownloaded, 1, 1, Command::GetDownloaded, 1, 1},
        {Command::ReserveRecording, kUnitSeconds, 45, Command::GetInterval, kUnitSeconds, 45},
        {Command::ReserveRecording, kUnitMinutes, 240, Command::GetStatus, kStatusReserved, 0},
        {Command::StopRecording, 14, 0, Command::GetStatus, 0, 0},
    };
    SimLogger logger;
    simscenario::apply(QStringLiteral("reserved"), logger, kNow);
    for (const SetGetCase& c : cases) {
        const auto ack = exchange(logger, c.set, c.arg1, c.arg2);
        EXPECT_EQ(ack[0], 1) << int(code(c.set));
        EXPECT_EQ(ack[1], code(c.set));
        const auto got = exchange(logger, c.get);
        EXPECT_EQ(got[2], c.r2) << int(code(c.set));
        EXPECT_EQ(got[3], c.r3) << int(code(c.set));
    }
}

TEST(SimLogger, StartRecordingWritesStartAndTakesRecordsAsTimePasses) {
    SimLogger logger;
    simscenario::apply(QStringLiteral("runs"), logger, kNow);
    exchange(logger, Command::SetMemoryMode, 0, 0);
    exchange(logger, Command::StartRecording, kUnitMinutes, 1);
    EXPECT_EQ(exchange(logger, Command::GetStatus)[2], kStatusRecording0);
    EXPECT_EQ(exchange(logger, Command::GetDownloaded)[2], 0);
    EXPECT_EQ(exchange(logger, Command::ReadSetting, kSettingStartMinuteSecond)[2], 0x30);
    auto pointer = [&] {
        const auto r = exchange(logger, Command::GetRecordBytes);
        return r[2] * 256 + r[3];
    };
    EXPECT_EQ(pointer(), 4);
    logger.advanceTime(59'999);
    EXPECT_EQ(pointer(), 4);
    logger.advanceTime(-5);
    EXPECT_EQ(pointer(), 4);
    // The clock reaches 09:41:00: one record at each minute from 09:30 to 09:41.
    logger.advanceTime(10 * 60'000 + 1);
    EXPECT_EQ(pointer(), 12 * 4);
    const auto entry = exchange(logger, Command::ReadMemory, 0xF0, 4);
    EXPECT_EQ(entry[2], 12);
    exchange(logger, Command::StopRecording, 14, 0);
    logger.advanceTime(3600'000);
    EXPECT_EQ(pointer(), 12 * 4);
    EXPECT_EQ(exchange(logger, Command::GetClockHourDay)[2], 10);
}

TEST(SimLogger, OneTimeMemoryStopsWhenFullAndLoopMemoryWraps) {
    for (const int loop : {0, 1}) {
        SimLogger logger;
        simscenario::apply(QStringLiteral("empty"), logger, kNow);
        exchange(logger, Command::SetMemoryMode, loop, loop);
        exchange(logger, Command::StartRecording, kUnitSeconds, 2);
        logger.advanceTime(15001LL * 2000);
        const auto r = exchange(logger, Command::GetRecordBytes);
        const auto mode = exchange(logger, Command::GetMemoryMode);
        if (loop) {
            EXPECT_EQ(r[2] * 256 + r[3], 2 * 4);
            EXPECT_EQ(mode[3], 1);
            EXPECT_EQ(exchange(logger, Command::GetStatus)[2], kStatusRecording0);
        } else {
            EXPECT_EQ(r[2] * 256 + r[3], kMemoryBytes);
            EXPECT_EQ(mode[3], 0);
            EXPECT_EQ(exchange(logger, Command::GetStatus)[2], 0);
        }
    }
}

TEST(SimLogger, ReservedStartBeginsAtTheReservedMinute) {
    SimLogger logger;
    simscenario::apply(QStringLiteral("empty"), logger, kNow);
    exchange(logger, Command::SetReserveDay, 14);
    exchange(logger, Command::SetReserveHour, 9);
    exchange(logger, Command::SetReserveMinute, 45);
    exchange(logger, Command::ReserveRecording, kUnitMinutes, 5);
    logger.advanceTime(14 * 60'000 + 59'000);
    EXPECT_EQ(exchange(logger, Command::GetStatus)[2], kStatusReserved);
    logger.advanceTime(1000);
    EXPECT_EQ(exchange(logger, Command::GetStatus)[2], kStatusRecording0);
    EXPECT_EQ(exchange(logger, Command::ReadSetting, kSettingStartMinuteSecond)[2], 0x45);
    EXPECT_EQ(exchange(logger, Command::ReadSetting, kSettingInterval)[3], 5);
}

TEST(SimLogger, MeasurementsFollowTheClimateAndTheResolution) {
    SimLogger logger;
    logger.setClimate([](const QDateTime&) { return SimClimate{21.5, 40.0}; });
    for (const bool fast : {false, true}) {
        exchange(logger, Command::SetFastSampling, fast, fast);
        const auto t = exchange(logger, Command::MeasureTemperature);
        const auto h = exchange(logger, Command::MeasureHumidity);
        const int rt = t[2] * 256 + t[3];
        const double temperature = simsensor::temperatureOfRaw(rt, fast);
        EXPECT_NEAR(temperature, 21.5, fast ? 0.05 : 0.01);
        EXPECT_NEAR(simsensor::humidityOfRaw(h[2] * 256 + h[3], temperature, fast), 40,
                    fast ? 0.5 : 0.05);
    }
}

TEST(SimLogger, IgnoresFramesItCannotRead) {
    SimLogger logger;
    const QByteArray bad[] = {
        QByteArray::fromHex("0001003000000000ff").replace(3, 1, "\x3A"),  // nibble above 9
        QByteArray::fromHex("00010030000000ff"),                          // seven bytes
        QByteArray::fromHex("00020030000000 00ff"),                       // kind 2
        QByteArray::fromHex("000100300260 0000ff"),                       // arg 260
    };
    for (const QByteArray& frame : bad) {
        logger.receive(frame);
        EXPECT_FALSE(logger.hasOutput()) << frame.toHex().toStdString();
    }
    EXPECT_EQ(logger.malformedFrames(), 4);
    // A frame split over several writes is still one frame.
    const QByteArray good = commandFrame(code(Command::GetStatus));
    logger.receive(good.left(4));
    EXPECT_FALSE(logger.hasOutput());
    logger.receive(good.mid(4));
    EXPECT_EQ(replyValues(logger.takeOutput())[1], 30);
}

TEST(SimLogger, InitialiseCommandErasesTheLogger) {
    SimLogger logger;
    simscenario::apply(QStringLiteral("recording"), logger, kNow);
    logger.receive(QByteArray("INITALL") + char(0xFF));
    EXPECT_FALSE(logger.hasOutput());
    EXPECT_EQ(logger.initialiseCount(), 1);
    EXPECT_EQ(exchange(logger, Command::GetStatus)[2], 0);
    EXPECT_EQ(exchange(logger, Command::GetRecordBytes)[3], 0);
    EXPECT_EQ(exchange(logger, Command::ReadSetting, kSettingStartYearMonth)[2], 0xFF);
}

TEST(SimLogger, IdentifyWaitsForTheResetPulseWhenRequired) {
    SimLogger logger;
    logger.setRequireReset(true);
    logger.cbusLevel(0);
    logger.receive(commandFrame(code(Command::Identify)));
    EXPECT_FALSE(logger.hasOutput());
    logger.cbusLevel(0xFF);
    logger.receive(commandFrame(code(Command::Identify)));
    EXPECT_FALSE(logger.hasOutput());
    logger.cbusLevel(0);
    logger.receive(commandFrame(code(Command::Identify)));
    EXPECT_TRUE(logger.takeOutput().startsWith("QM320-HX"));
}

TEST(SimLogger, ResetPulseStopsAStreamAndDropsWhatWasNotSent) {
    SimLogger logger;
    simscenario::apply(QStringLiteral("full"), logger, kNow);
    logger.receive(commandFrame(code(Command::StreamRecords), 234, 96));
    EXPECT_EQ(logger.takeOutput(9 * 100).size(), 9 * 100);
    logger.receive(commandFrame(code(Command::GetStatus)).left(4));
    EXPECT_FALSE(logger.cbusLevel(0xFF));
    EXPECT_TRUE(logger.streaming());
    EXPECT_TRUE(logger.cbusLevel(0));
    EXPECT_FALSE(logger.streaming());
    EXPECT_FALSE(logger.hasOutput());
    // The half frame from before the pulse is gone: the next command is answered alone.
    EXPECT_EQ(exchange(logger, Command::GetName12)[2], 'F');
}

}  // namespace
