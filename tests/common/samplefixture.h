// A real-time data set in a scratch folder with English texts, filled sample by sample as the
// measurement fills it: the ground the table-row and table-view tests stand on.
#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "data/dataset.h"
#include "data/messagetable.h"

class SampleFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(dataSet.file.open(dir.filePath(QStringLiteral("real.rand"))));
        messages.fillEnglish();
    }

    // Appends a sample to the data set and updates its statistics, as the measurement does.
    void addSample(float temperature, float humidity, double dateTime = 45000.5,
                   const QString& remarks = {}) {
        Sample sample;
        sample.temperature = temperature;
        sample.humidity = humidity;
        sample.dateTime = dateTime;
        sample.series = 1;
        sample.setRemarks(remarks);
        ASSERT_EQ(dataSet.append(sample), DataError::None);
        dataSet.stats.update(sample);
    }

    QString remarksOf(int record) {
        Sample sample;
        EXPECT_EQ(dataSet.read(record, sample), DataError::None);
        return sample.remarksText().trimmed();
    }

    QTemporaryDir dir;
    DataSet dataSet;
    MessageTable messages;
};
