// Sample decoding: conversion, clamps, bound encoding, data set conversion with alarm remarks,
// extreme marking and the real-time replies.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cmath>

#include "data/datasets.h"
#include "data/texts.h"
#include "link/loggerstate.h"
#include "link/sampledecode.h"

namespace {

Sample rawSample(int rt, int rh) {
    Sample s;
    s.raw = {static_cast<std::uint8_t>(rt >> 8), static_cast<std::uint8_t>(rt & 0xFF),
             static_cast<std::uint8_t>(rh >> 8), static_cast<std::uint8_t>(rh & 0xFF)};
    return s;
}

TEST(SampleDecode, TemperatureOfRawBothSets) {
    EXPECT_FLOAT_EQ(temperatureOfRaw(6400, 60), 24.3928f);
    EXPECT_EQ(temperatureOfRaw(6400, 60), static_cast<float>(-39.6 + 64 - 2e-8 * 360000));
    // Set 1 below 3 s: offset + 0.04 RT - 3.2e-7 (RT - 1750)^2.
    EXPECT_FLOAT_EQ(temperatureOfRaw(1600, 2), static_cast<float>(-39.6 + 64 - 3.2e-7 * 22500));
    EXPECT_EQ(temperatureOfRaw(1600, 2), temperatureOfRaw(1600, 1));
    EXPECT_NE(temperatureOfRaw(1600, 2), temperatureOfRaw(1600, 3));
}

TEST(SampleDecode, HumidityUsesUnclampedTemperature) {
    Sample s = rawSample(6400, 1500);
    convertSample(s, 60);
    const double t = -39.6 + 0.01 * 6400 - 2e-8 * 600 * 600;
    const double linear = -4 + 0.0405 * 1500 - 2.8e-6 * 1500 * 1500;
    EXPECT_FLOAT_EQ(s.humidity, static_cast<float>((t - 25) * (0.01 + 0.00008 * 1500) + linear));
    // A reading above 100 degrees is clamped, but its humidity was computed from the true value.
    Sample hot = rawSample(16000, 1500);
    convertSample(hot, 60);
    EXPECT_EQ(hot.temperature, 100.0f);
    const double th = -39.6 + 160 - 2e-8 * 9000.0 * 9000.0;
    const double hh = (th - 25) * (0.01 + 0.00008 * 1500) + linear;
    EXPECT_FLOAT_EQ(hot.humidity, std::clamp(static_cast<float>(hh), 0.0f, 100.0f));
}

TEST(SampleDecode, Clamps) {
    struct Case {
        int rt, rh;
        float minT, maxT, minH, maxH;
    };
    const Case cases[] = {
        {0, 1500, -40, -40, 0, 100},         // far below the range
        {0xFFFF, 0xFFFF, 100, 100, 0, 100},  // far above
        {6400, 0, -100, 100, 0, 0},          // humidity below 0
        {6400, 6000, -100, 100, 100, 100},   // humidity above 100
    };
    for (const Case& c : cases) {
        Sample s = rawSample(c.rt, c.rh);
        convertSample(s, 60);
        EXPECT_GE(s.temperature, c.minT) << c.rt << "/" << c.rh;
        EXPECT_LE(s.temperature, c.maxT) << c.rt << "/" << c.rh;
        EXPECT_GE(s.humidity, c.minH) << c.rt << "/" << c.rh;
        EXPECT_LE(s.humidity, c.maxH) << c.rt << "/" << c.rh;
    }
}

TEST(SampleDecode, BoundEncodeDecodeWithinRounding) {
    for (int selector : {2, 3}) {
        const double step = selector == 2 ? 0.05 : 0.012;
        for (int t = -40; t <= 100; t += 5) {
            const std::int32_t raw = rawOfTemperature(t, selector);
            EXPECT_NEAR(temperatureOfRaw(raw, selector), t, step) << t << " set " << selector;
            EXPECT_EQ(boundDegrees(raw, selector), t) << t << " set " << selector;
        }
    }
}

TEST(SampleDecode, ReadoutNumberFormat) {
    EXPECT_EQ(readoutNumber(24.5), QStringLiteral("24.50"));
    EXPECT_EQ(readoutNumber(0.5), QStringLiteral(".50"));
    EXPECT_EQ(readoutNumber(-0.25), QStringLiteral("-.25"));
    EXPECT_EQ(readoutNumber(100), QStringLiteral("100.00"));
}

class DataSetTest : public ::testing::Test {
  protected:
    void SetUp() override {
        messages.fillEnglish();
        ASSERT_TRUE(data.file.open(dir.filePath(QStringLiteral("log.rand"))));
        data.interval = 60;
    }
    void add(int rt, int rh) {
        Sample s = rawSample(rt, rh);
        s.index = static_cast<std::int16_t>(data.count + 1);
        ASSERT_EQ(data.append(s), DataError::None);
    }
    Sample at(int k) {
        Sample s;
        EXPECT_EQ(data.read(k, s), DataError::None);
        return s;
    }

    QTemporaryDir dir;
    DataSet data;
    MessageTable messages;
};

TEST_F(DataSetTest, AlarmRemarksOnlyForTheBoundedModel) {
    const std::int32_t rt30 = rawOfTemperature(30, 3);
    const std::int32_t rt10 = rawOfTemperature(10, 3);
    for (const QString& model : {kModelQM320, kModelQM300}) {
        data.count = 0;
        data.stats.reset();
        data.model = model;
        data.upperBound = 30;
        data.upperOn = 0x80;
        data.lowerBound = 10;
        data.lowerOn = 0x80;
        add(rt30 + 50, 1500);  // above the upper bound
        add(rt30, 1500);       // at it (within rounding of 30.00)
        add(6400, 1500);       // between
        add(rt10 - 50, 1500);  // below the lower bound
        ASSERT_EQ(convertDataSet(data, messages), DataError::None);
        const bool bounded = model == kModelQM320;
        EXPECT_EQ(at(1).remarksText().trimmed(),
                  bounded ? messages.text(Msg::UpperBoundRemark).trimmed() : QString());
        EXPECT_EQ(at(3).remarksText().trimmed(), QString());
        EXPECT_EQ(at(4).remarksText().trimmed(),
                  bounded ? messages.text(Msg::LowerBoundRemark).trimmed() : QString());
        EXPECT_EQ(data.stats.maxTemperatureRecord, 1);
        EXPECT_EQ(data.stats.minTemperatureRecord, 4);
    }
}

TEST_F(DataSetTest, DisabledBoundsLeaveRemarks) {
    data.model = kModelQM320;
    data.upperBound = 0;
    data.upperOn = 0;
    data.lowerBound = 50;
    data.lowerOn = 0;
    add(6400, 1500);
    ASSERT_EQ(convertDataSet(data, messages), DataError::None);
    EXPECT_EQ(at(1).remarksText().trimmed(), QString());
}

TEST_F(DataSetTest, ExtremesTieKeepsTheEarliestAndLabelsAppend) {
    data.model = kModelQM300;
    add(6000, 1000);  // lowest temperature, lowest humidity
    add(7000, 2000);  // highest temperature (first of two), highest humidity
    add(7000, 1500);  // same highest temperature
    add(6500, 1000);  // same lowest humidity as record 1
    ASSERT_EQ(convertDataSet(data, messages), DataError::None);
    ASSERT_EQ(markExtremesInFile(data, fileExtremeLabels(messages)), DataError::None);
    EXPECT_EQ(data.stats.maxTemperatureRecord, 2);
    EXPECT_EQ(data.stats.minHumidityRecord, 1);
    EXPECT_EQ(at(1).remarksText().trimmed(),
              (messages.text(Msg::MinTemperatureRemark) + messages.text(Msg::MinHumidityRemark))
                  .trimmed());
    EXPECT_EQ(at(2).remarksText().trimmed(),
              (messages.text(Msg::MaxTemperatureRemark) + messages.text(Msg::MaxHumidityRemark))
                  .trimmed());
    EXPECT_EQ(at(3).remarksText().trimmed(), QString());
    EXPECT_EQ(at(4).remarksText().trimmed(), QString());
}

TEST_F(DataSetTest, RealTimeRepliesCompleteOneSample) {
    DataSet& rt = data;
    rt.interval = 2;
    Sample buffer;
    buffer.dateTime = 46000.5;
    RealTimeReadout readout;
    ASSERT_EQ(realTimeTemperature(buffer, rt, QStringLiteral("real"), 6400 >> 8, 6400 & 0xFF),
              DataError::None);
    // Nothing is kept of a measurement until its humidity reply completes it.
    EXPECT_EQ(rt.count, 0);
    ASSERT_EQ(realTimeHumidity(buffer, rt, QStringLiteral("real"), 1500 >> 8, 1500 & 0xFF, messages,
                               readout),
              DataError::None);
    const Sample s = at(1);
    EXPECT_FLOAT_EQ(s.temperature, 24.3928f);  // "real" converts with the 10 s set
    EXPECT_EQ(s.series, 1.0f);
    EXPECT_EQ(s.index, 1);
    EXPECT_TRUE(rt.unsaved);
    EXPECT_EQ(readout.temperature, QStringLiteral("24.39") + messages.text(Msg::SampleDegreeUnit));
    EXPECT_EQ(readout.time, QStringLiteral("2025/12/09 12:00:00"));
    // "real_con" follows the data set's interval: 2 s takes the high-resolution set.
    ASSERT_EQ(realTimeTemperature(buffer, rt, QStringLiteral("real_con"), 1600 >> 8, 1600 & 0xFF),
              DataError::None);
    ASSERT_EQ(realTimeHumidity(buffer, rt, QStringLiteral("real_con"), 0, 100, messages, readout),
              DataError::None);
    EXPECT_FLOAT_EQ(at(2).temperature, temperatureOfRaw(1600, 2));
    // A humidity reply without its temperature reply changes nothing, nor does a temperature
    // reply whose humidity never comes.
    EXPECT_NE(realTimeHumidity(buffer, rt, QStringLiteral("real"), 0, 0, messages, readout),
              DataError::None);
    ASSERT_EQ(realTimeTemperature(buffer, rt, QStringLiteral("real"), 1600 >> 8, 1600 & 0xFF),
              DataError::None);
    EXPECT_EQ(rt.count, 2);
}

}  // namespace
