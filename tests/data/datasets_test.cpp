// The data set array, statistics over scratch records and the two ways extremes are marked.
#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "data/datasets.h"
#include "data/texts.h"

namespace {

class DataSetsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        ASSERT_TRUE(sets_.open(dir_.path()));
        english_.fillEnglish();
    }

    DataSet& log() { return sets_[LogData]; }
    DataSet& real() { return sets_[RealTimeData]; }

    void add(DataSet& set, float temperature, float humidity, const QString& remarks = {}) {
        Sample s;
        s.temperature = temperature;
        s.humidity = humidity;
        s.setRemarks(remarks);
        ASSERT_EQ(set.append(s), DataError::None);
        set.stats.update(s);
    }

    QString remarksOf(DataSet& set, int record) {
        Sample s;
        EXPECT_EQ(set.read(record, s), DataError::None);
        return s.remarksText();
    }

    static QString padded(const QString& text) {
        return text.leftJustified(Sample::kRemarksLength, u' ', true);
    }

    QTemporaryDir dir_;
    DataSets sets_;
    MessageTable english_;
};

TEST_F(DataSetsTest, OpensTheFourScratchFilesAndDeletesThemAtShutdown) {
    const QStringList names = {"disp.rand", "log.rand", "read.rand", "real.rand"};
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files, QDir::Name), names);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(sets_.at(i)->fileSlot, i);
        EXPECT_EQ(sets_.at(i)->count, 0);
    }
    EXPECT_EQ(sets_.at(-1), nullptr);
    EXPECT_EQ(sets_.at(3), nullptr);
    EXPECT_TRUE(sets_.displayFile().isOpen());
    EXPECT_TRUE(sets_.removeFiles());
    EXPECT_TRUE(QDir(dir_.path()).entryList(QDir::Files).isEmpty());
}

TEST_F(DataSetsTest, StaleRecordsOfAnEarlierRunAreKeptButNotCounted) {
    add(log(), 1.0f, 2.0f);
    sets_.close();
    DataSets again;
    ASSERT_TRUE(again.open(dir_.path()));
    EXPECT_EQ(again[LogData].count, 0);
    EXPECT_EQ(QFile(dir_.filePath("log.rand")).size(), ScratchFile::kRecordSize);
}

TEST_F(DataSetsTest, OpenReportsAFolderThatCannotHoldTheFiles) {
    DataSets elsewhere;
    EXPECT_FALSE(elsewhere.open(dir_.filePath("missing/folder")));
    EXPECT_EQ(elsewhere[FileData].fileSlot, FileData);
}

TEST_F(DataSetsTest, ClearingBeforeCommunicationKeepsTheFileDataSet) {
    add(log(), 1.0f, 2.0f);
    add(real(), 3.0f, 4.0f);
    add(sets_[FileData], 5.0f, 6.0f);
    log().unsaved = true;
    real().unsaved = true;
    sets_.clearForCommunication();
    EXPECT_EQ(log().count, 0);
    EXPECT_EQ(real().count, 0);
    EXPECT_FALSE(log().unsaved);
    EXPECT_FALSE(real().unsaved);
    EXPECT_EQ(log().stats.maxTemperature, -10000.0);
    EXPECT_EQ(sets_[FileData].count, 1);
    EXPECT_FLOAT_EQ(sets_[FileData].stats.maxTemperature, 5.0f);
}

TEST_F(DataSetsTest, StatisticsAreRecomputedFromTheRecords) {
    const float temperatures[] = {5.0f, 9.0f, -1.0f, 9.0f, 3.0f};
    for (float t : temperatures) {
        add(log(), t, 50.0f - t);
    }
    log().stats = SampleStats();
    ASSERT_EQ(recomputeStats(log()), DataError::None);
    EXPECT_EQ(log().stats.maxTemperatureRecord, 2);
    EXPECT_EQ(log().stats.minTemperatureRecord, 3);
    EXPECT_EQ(log().stats.maxHumidityRecord, 3);
    EXPECT_EQ(log().stats.minHumidityRecord, 2);

    SampleStats window;
    ASSERT_EQ(collectStats(log(), 4, 99, window), DataError::None);
    EXPECT_EQ(window.maxTemperatureRecord, 4);
    EXPECT_EQ(window.minTemperatureRecord, 5);
    SampleStats none;
    ASSERT_EQ(collectStats(log(), 3, 2, none), DataError::None);
    EXPECT_EQ(none.maxTemperature, -10000.0);

    log().count = 6;  // a count beyond the records written is a fault, not silence
    EXPECT_EQ(recomputeStats(log()), DataError::Range);
}

TEST_F(DataSetsTest, FileMarkingTrimsThenAppendsEachLabel) {
    log().stats.reset();
    add(log(), 20.0f, 50.0f, QStringLiteral("Upper bound "));  // no extreme
    add(log(), 30.0f, 10.0f, QStringLiteral("Upper bound "));  // max temp, min humidity
    add(log(), 10.0f, 60.0f);                                  // min temp, max humidity
    add(log(), 30.0f, 10.0f);                                  // ties: stays unmarked
    add(log(), 25.0f, 30.0f, QStringLiteral("  note  "));      // no extreme, untouched
    ASSERT_EQ(markExtremesInFile(log(), fileExtremeLabels(english_)), DataError::None);
    EXPECT_EQ(remarksOf(log(), 1), padded(QStringLiteral("Upper bound ")));
    EXPECT_EQ(remarksOf(log(), 2),
              padded(QStringLiteral("Upper bound Maximum temperature Minimum humidity")));
    EXPECT_EQ(remarksOf(log(), 3), padded(QStringLiteral("Minimum temperature Maximum humidity")));
    EXPECT_EQ(remarksOf(log(), 4), padded(QString()));
    EXPECT_EQ(remarksOf(log(), 5), padded(QStringLiteral("  note  ")));
}

TEST_F(DataSetsTest, FileMarkingOfASingleExtremeKeepsTheLabelsLeadingSpace) {
    log().stats.reset();
    add(log(), 30.0f, 50.0f);
    add(log(), 10.0f, 60.0f);
    add(log(), 20.0f, 10.0f);
    ASSERT_EQ(markExtremesInFile(log(), fileExtremeLabels(english_)), DataError::None);
    EXPECT_EQ(remarksOf(log(), 1), padded(QStringLiteral(" Maximum temperature")));
    EXPECT_EQ(remarksOf(log(), 3), padded(QStringLiteral(" Minimum humidity")));
}

TEST_F(DataSetsTest, FileMarkingOfOneRecordWithBothLabelsAndNoOtherRemarks) {
    log().stats.reset();
    add(log(), 30.0f, 10.0f);
    add(log(), 20.0f, 20.0f);
    ASSERT_EQ(markExtremesInFile(log(), fileExtremeLabels(english_)), DataError::None);
    EXPECT_EQ(remarksOf(log(), 1), padded(QStringLiteral("Maximum temperature Minimum humidity")));
    EXPECT_EQ(remarksOf(log(), 2), padded(QStringLiteral("Minimum temperature Maximum humidity")));
}

TEST_F(DataSetsTest, FileMarkingSkipsRecordsOutsideTheDataSet) {
    log().stats.reset();
    log().stats.maxTemperatureRecord = 0;
    log().stats.minTemperatureRecord = 7;
    EXPECT_EQ(markExtremesInFile(log(), fileExtremeLabels(english_)), DataError::None);
    EXPECT_EQ(QFile(dir_.filePath("log.rand")).size(), 0);
}

TEST_F(DataSetsTest, TableMarkingJoinsLabelsAndClearsFormerExtremes) {
    const ExtremeLabels labels = tableExtremeLabels(english_);
    real().stats.reset();
    add(real(), 20.0f, 50.0f);
    add(real(), 25.0f, 40.0f);  // max temp and min humidity
    DataError error = DataError::Io;
    std::vector<QString> rows = markExtremesInTable(real(), {1, 2}, labels, error);
    ASSERT_EQ(error, DataError::None);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], padded(QStringLiteral("Minimum temperatureMaximum humidity")));
    EXPECT_EQ(rows[1], padded(QStringLiteral("Maximum temperatureMinimum humidity")));
    EXPECT_EQ(remarksOf(real(), 2), rows[1]);

    // A new sample takes the minimum away from record 1: its label disappears.
    add(real(), 15.0f, 45.0f);
    rows = markExtremesInTable(real(), {3, 1, 2, 99}, labels, error);
    ASSERT_EQ(error, DataError::None);
    EXPECT_EQ(rows[0], padded(QStringLiteral("Minimum temperature")));
    EXPECT_EQ(rows[1], padded(QStringLiteral("Maximum humidity")));
    EXPECT_EQ(rows[2], padded(QStringLiteral("Maximum temperatureMinimum humidity")));
    EXPECT_TRUE(rows[3].isEmpty());
    EXPECT_EQ(remarksOf(real(), 1), rows[1]);
}

TEST_F(DataSetsTest, TableMarkingReportsARecordThatCannotBeRead) {
    real().stats.reset();
    add(real(), 20.0f, 50.0f);
    real().count = 2;
    DataError error = DataError::None;
    const std::vector<QString> rows =
        markExtremesInTable(real(), {1, 2}, tableExtremeLabels(english_), error);
    EXPECT_EQ(error, DataError::Range);
    EXPECT_FALSE(rows[0].isEmpty());
    EXPECT_TRUE(rows[1].isEmpty());
}

}  // namespace
