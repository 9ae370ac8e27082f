// Scratch record layout, record addressing and the append limit of a data set.
#include <gtest/gtest.h>
#include <QFile>
#include <QTemporaryDir>

#include "data/dataset.h"

namespace {

Sample exampleSample() {
    Sample s;
    s.temperature = 1.5f;   // 0x3FC00000
    s.humidity = -2.0f;     // 0xC0000000
    s.dateTime = 45000.25;  // 0x40E5F90800000000 stored low byte first
    s.series = 3.0f;        // 0x40400000
    s.setRemarks(QStringLiteral("Hi"));
    s.index = -2;  // 0xFFFE
    s.raw = {0x12, 0x34, 0x56, 0x78};
    return s;
}

QByteArray hex(const char* text) {
    return QByteArray::fromHex(text);
}

TEST(ScratchRecord, EncodesTheFixedLittleEndianLayout) {
    const QByteArray bytes = ScratchFile::encode(exampleSample());
    ASSERT_EQ(bytes.size(), 84);
    EXPECT_EQ(bytes.mid(0, 4), hex("0000c03f"));
    EXPECT_EQ(bytes.mid(4, 4), hex("000000c0"));
    EXPECT_EQ(bytes.mid(8, 8), QByteArray(8, '\0'));
    EXPECT_EQ(bytes.mid(16, 8), hex("0000000008f9e540"));
    EXPECT_EQ(bytes.mid(24, 4), hex("00004040"));
    EXPECT_EQ(bytes.mid(28, 50), QByteArray("Hi") + QByteArray(48, ' '));
    EXPECT_EQ(bytes.mid(78, 2), hex("feff"));
    EXPECT_EQ(bytes.mid(80, 4), hex("12345678"));
}

TEST(ScratchRecord, DecodeRejectsWrongSizes) {
    Sample s;
    EXPECT_FALSE(ScratchFile::decode(QByteArray(83, '\0'), s));
    EXPECT_FALSE(ScratchFile::decode(QByteArray(85, '\0'), s));
    EXPECT_TRUE(ScratchFile::decode(ScratchFile::encode(exampleSample()), s));
    EXPECT_EQ(s.dateTime, 45000.25);
    EXPECT_EQ(s.index, -2);
    EXPECT_EQ(s.raw[3], 0x78);
    EXPECT_EQ(s.remarks, exampleSample().remarks);
}

class ScratchFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        path_ = dir_.filePath(QStringLiteral("log.rand"));
        ASSERT_TRUE(set_.file.open(path_));
    }

    QTemporaryDir dir_;
    QString path_;
    DataSet set_;
};

TEST_F(ScratchFileTest, RecordKLivesAtOffsetKMinusOneTimes84) {
    Sample s = exampleSample();
    s.temperature = 9.0f;
    ASSERT_EQ(set_.write(3, s), DataError::None);
    set_.file.close();
    QFile raw(path_);
    ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
    const QByteArray all = raw.readAll();
    ASSERT_EQ(all.size(), 3 * 84);
    EXPECT_EQ(all.mid(2 * 84), ScratchFile::encode(s));
}

TEST_F(ScratchFileTest, OutOfRangeRecordsAreRefused) {
    Sample s = exampleSample();
    for (int record : {0, -1, DataSet::kMaxCount + 1}) {
        EXPECT_EQ(set_.write(record, s), DataError::Range) << record;
        EXPECT_EQ(set_.read(record, s), DataError::Range) << record;
    }
    EXPECT_EQ(set_.write(DataSet::kMaxCount, s), DataError::None);
}

TEST_F(ScratchFileTest, UnwrittenRecordReadsAsEmptySample) {
    Sample s = exampleSample();
    EXPECT_EQ(set_.read(1, s), DataError::Range);
    EXPECT_EQ(s.dateTime, 0.0);
    EXPECT_EQ(s.index, 0);
}

TEST_F(ScratchFileTest, ClosedFileIsAnIoError) {
    set_.file.close();
    Sample s;
    EXPECT_EQ(set_.write(1, s), DataError::Io);
    EXPECT_EQ(set_.read(1, s), DataError::Io);
    Sample appended;
    EXPECT_EQ(set_.append(appended), DataError::Io);
    EXPECT_EQ(set_.count, 0);
}

TEST_F(ScratchFileTest, AppendNumbersRecordsAndRefusesThe32768th) {
    Sample s = exampleSample();
    ASSERT_EQ(set_.append(s), DataError::None);
    EXPECT_EQ(s.index, 1);
    EXPECT_EQ(set_.count, 1);

    set_.count = DataSet::kMaxCount - 1;
    ASSERT_EQ(set_.append(s), DataError::None);
    EXPECT_EQ(set_.count, DataSet::kMaxCount);
    EXPECT_EQ(s.index, DataSet::kMaxCount);

    Sample last;
    ASSERT_EQ(set_.read(DataSet::kMaxCount, last), DataError::None);
    Sample extra = exampleSample();
    extra.temperature = 99.0f;
    EXPECT_EQ(set_.append(extra), DataError::Overflow);
    EXPECT_EQ(set_.count, DataSet::kMaxCount);
    Sample after;
    ASSERT_EQ(set_.read(DataSet::kMaxCount, after), DataError::None);
    EXPECT_EQ(ScratchFile::encode(after), ScratchFile::encode(last));
    EXPECT_EQ(QFile(path_).size(), static_cast<qint64>(DataSet::kMaxCount) * 84);
}

// Reads go through a map of the file: a record overwritten after it was read, one appended
// beyond what was mapped and a block written at once all read back as written, whole or as
// fields; a record beyond the file stays a Range error.
TEST_F(ScratchFileTest, ReadsSeeEveryWriteAfterTheFileWasMapped) {
    Sample s = exampleSample();
    for (int k = 1; k <= 3; ++k) {
        ASSERT_EQ(set_.append(s), DataError::None);
    }
    Sample read;
    ASSERT_EQ(set_.read(2, read), DataError::None);
    s.temperature = 7.25f;
    s.setRemarks(QStringLiteral("again"));
    ASSERT_EQ(set_.write(2, s), DataError::None);
    s.humidity = 44.5f;
    ASSERT_EQ(set_.append(s), DataError::None);
    QByteArray block(2 * ScratchFile::kRecordSize, '\0');
    s.series = 9.0f;
    ScratchFile::encodeInto(s, block.data());
    ScratchFile::encodeInto(s, block.data() + ScratchFile::kRecordSize);
    ASSERT_EQ(set_.file.writeRecords(5, block), DataError::None);

    const struct {
        int record;
        float temperature, humidity, series;
    } expected[] = {{1, 1.5f, -2.0f, 3.0f},
                    {2, 7.25f, -2.0f, 3.0f},
                    {4, 7.25f, 44.5f, 3.0f},
                    {6, 7.25f, 44.5f, 9.0f}};
    for (const auto& e : expected) {
        ASSERT_EQ(set_.read(e.record, read), DataError::None) << e.record;
        EXPECT_EQ(read.temperature, e.temperature) << e.record;
        EXPECT_EQ(read.humidity, e.humidity) << e.record;
        EXPECT_EQ(read.series, e.series) << e.record;
        ScratchFile::Fields f;
        ASSERT_EQ(set_.file.readFields(e.record, f), DataError::None) << e.record;
        EXPECT_EQ(f.temperature, e.temperature) << e.record;
        EXPECT_EQ(f.dateTime, 45000.25) << e.record;
        EXPECT_EQ(f.remarks.toByteArray(), read.remarks) << e.record;
    }
    EXPECT_EQ(read.remarks, QByteArray("again") + QByteArray(45, ' '));
    ScratchFile::Fields f;
    EXPECT_EQ(set_.file.readFields(7, f), DataError::Range);
    EXPECT_EQ(set_.read(7, read), DataError::Range);
}

TEST_F(ScratchFileTest, RemoveDeletesTheFile) {
    ASSERT_EQ(set_.write(1, exampleSample()), DataError::None);
    EXPECT_TRUE(set_.file.remove());
    EXPECT_FALSE(QFile::exists(path_));
    EXPECT_FALSE(set_.file.isOpen());
}

}  // namespace
