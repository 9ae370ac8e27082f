// Remarks encoding and the running extremes of samples.
#include <gtest/gtest.h>

#include "data/codepage.h"
#include "data/sample.h"

namespace {

struct RemarksCase {
    const char* name;
    QString text;
    QByteArray expectedStart;  // the encoded bytes before the space padding
};

class RemarksEncoding : public ::testing::TestWithParam<RemarksCase> {};

TEST_P(RemarksEncoding, EncodesOneBytePerCharacterPaddedTo50) {
    const RemarksCase& c = GetParam();
    Sample sample;
    sample.setRemarks(c.text);
    ASSERT_EQ(sample.remarks.size(), Sample::kRemarksLength);
    EXPECT_EQ(sample.remarks.left(c.expectedStart.size()), c.expectedStart);
    EXPECT_EQ(sample.remarks.mid(c.expectedStart.size()),
              QByteArray(Sample::kRemarksLength - c.expectedStart.size(), ' '));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RemarksEncoding,
    ::testing::Values(
        RemarksCase{"Empty", QString(), QByteArray()},
        RemarksCase{"Ascii", QStringLiteral("Upper bound "), QByteArray("Upper bound")},
        RemarksCase{"LatinFits", QStringLiteral("caf\u00e9"), QByteArray("caf\xe9")},
        RemarksCase{"EuroSignIn0x80", QStringLiteral("\u20ac5"),
                    QByteArray("\x80"
                               "5")},
        RemarksCase{"CjkBecomesQuestionMark", QStringLiteral("a\u6e29b"), QByteArray("a?b")},
        RemarksCase{"SurrogatePairIsOneCharacter", QStringLiteral("x\U0001F600y"),
                    QByteArray("x?y")},
        RemarksCase{"CutAt50", QString(60, u'x'), QByteArray(50, 'x')},
        RemarksCase{"CutCountsCharactersNotUtf8Bytes", QString(55, QChar(0xe9)),
                    QByteArray(50, '\xe9')}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Remarks, EveryByteSurvivesDecodeAndEncode) {
    QByteArray all;
    for (int b = 0; b < 256; ++b) {
        all.append(static_cast<char>(b));
    }
    EXPECT_EQ(codepage::toWindows1252(codepage::fromWindows1252(all)), all);
    EXPECT_EQ(codepage::fromWindows1252(QByteArray("\x80\x9f\xe9")),
              QStringLiteral("\u20ac\u0178\u00e9"));
}

TEST(Remarks, TextReadsBackPadded) {
    Sample sample;
    sample.setRemarks(QStringLiteral("Maximum temperature"));
    EXPECT_EQ(sample.remarksText(),
              QStringLiteral("Maximum temperature").leftJustified(Sample::kRemarksLength));
}

// An empty view has no data pointer at all; copying from it must not be attempted.
TEST(Remarks, NoBytesGiveBlankRemarks) {
    Sample sample;
    sample.setRemarks(QStringLiteral("old"));
    sample.setRemarkBytes(QByteArrayView());
    EXPECT_EQ(sample.remarks, QByteArray(Sample::kRemarksLength, ' '));
}

Sample sampleOf(std::int16_t index, float temperature, float humidity) {
    Sample s;
    s.index = index;
    s.temperature = temperature;
    s.humidity = humidity;
    return s;
}

TEST(SampleStats, ResetSetsTheFourValuesAndKeepsRecords) {
    SampleStats stats;
    stats.update(sampleOf(7, 20.0f, 50.0f));
    stats.reset();
    EXPECT_EQ(stats.maxTemperature, -10000.0);
    EXPECT_EQ(stats.minTemperature, 10000.0);
    EXPECT_EQ(stats.maxHumidity, -10000.0);
    EXPECT_EQ(stats.minHumidity, 10000.0);
    EXPECT_EQ(stats.maxTemperatureRecord, 7);
    EXPECT_EQ(stats.minHumidityRecord, 7);
}

TEST(SampleStats, FirstSampleAfterResetTakesEveryExtreme) {
    SampleStats stats;
    stats.reset();
    stats.update(sampleOf(3, -40.5f, 0.0f));
    EXPECT_EQ(stats.maxTemperatureRecord, 3);
    EXPECT_EQ(stats.minTemperatureRecord, 3);
    EXPECT_EQ(stats.maxHumidityRecord, 3);
    EXPECT_EQ(stats.minHumidityRecord, 3);
    EXPECT_FLOAT_EQ(stats.maxTemperature, -40.5f);
}

TEST(SampleStats, TiesKeepTheEarlierRecordEvenForInexactValues) {
    // 23.1 has no exact binary form: the stored double is the float widened, and comparing
    // at single precision keeps a repeated reading from moving the record.
    const struct {
        float temperature;
        float humidity;
    } readings[] = {{23.1f, 40.3f}, {23.1f, 40.3f}, {22.0f, 55.7f}, {22.0f, 55.7f}, {23.1f, 40.3f}};
    SampleStats stats;
    std::int16_t index = 1;
    for (const auto& r : readings) {
        stats.update(sampleOf(index++, r.temperature, r.humidity));
    }
    EXPECT_EQ(stats.maxTemperatureRecord, 1);
    EXPECT_EQ(stats.minTemperatureRecord, 3);
    EXPECT_EQ(stats.maxHumidityRecord, 3);
    EXPECT_EQ(stats.minHumidityRecord, 1);
}

TEST(SampleStats, StoredDoubleIsRoundedBeforeComparing) {
    SampleStats stats;
    stats.reset();
    stats.maxTemperature = 23.1;  // a double slightly above the float 23.1f
    stats.maxTemperatureRecord = 9;
    stats.update(sampleOf(10, 23.1f, 0.0f));
    EXPECT_EQ(stats.maxTemperatureRecord, 9);
    stats.update(sampleOf(11, 23.2f, 0.0f));
    EXPECT_EQ(stats.maxTemperatureRecord, 11);
}

}  // namespace
