// CSV files: exact layout, round trips, the two header forms, series from time gaps, the
// other language's files, malformed files and failed saves.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "data/csv.h"
#include "data/datetime.h"
#include "data/texts.h"

namespace {

double at(int h, int mi, int s, int day = 7) {
    return datetime::fromDateAndTime(QDate(2026, 12, day), QTime(h, mi, s));
}

class CsvTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        english_.fillEnglish();
        japanese_.fillJapanese();
        ASSERT_TRUE(source_.file.open(path("log.rand")));
        ASSERT_TRUE(target_.file.open(path("read.rand")));
    }

    QString path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }

    void add(double when, float temperature, float humidity, const QString& remarks = {}) {
        Sample s;
        s.dateTime = when;
        s.temperature = temperature;
        s.humidity = humidity;
        s.series = 1;
        s.setRemarks(remarks);
        ASSERT_EQ(source_.append(s), DataError::None);
    }

    QByteArray readAll(const QString& file) {
        QFile f(file);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return f.readAll();
    }

    void writeFile(const QString& file, const QByteArray& bytes) {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_EQ(f.write(bytes), bytes.size());
    }

    Sample sampleOf(DataSet& set, int record) {
        Sample s;
        EXPECT_EQ(set.read(record, s), DataError::None);
        return s;
    }

    QTemporaryDir dir_;
    MessageTable english_;
    MessageTable japanese_;
    DataSet source_;
    DataSet target_;
};

const QByteArray kHeader320 =
    "\"Recognition name\",\"Start time\",\"Recording points\",\"Record interval\","
    "\"Upper bound temperature setting\",\"Lower bound temperature setting\"\r\n";
const QByteArray kHeader300 =
    "\"Recognition name\",\"Start time\",\"Recording points\",\"Record interval\",\"\",\"\"\r\n";
const QByteArray kColumns =
    "\"Record number\",\"Date\",\"Temperature\",\"Humidity\",\"Remarks\"\r\n";

TEST(CsvNumbers, FormatHundredthsAsTheTwoDecimalForm) {
    const struct {
        float value;
        const char* text;
    } cases[] = {{0.5f, ".50"},   {-0.5f, "-.50"},      {12.345f, "12.35"},  {0.25f, ".25"},
                 {0.0f, ".00"},   {-0.004f, ".00"},     {100.0f, "100.00"},  {-12.3f, "-12.30"},
                 {0.125f, ".13"}, {-40.005f, "-40.01"}, {99.999f, "100.00"}, {1.0f, "1.00"}};
    for (const auto& c : cases) {
        EXPECT_EQ(formatHundredths(c.value), QString::fromLatin1(c.text)) << c.value;
    }
}

TEST(CsvNumbers, ParsesTheWrittenForms) {
    EXPECT_EQ(parseNumber(QStringLiteral(".25")), 0.25);
    EXPECT_EQ(parseNumber(QStringLiteral("-.50")), -0.5);
    EXPECT_EQ(parseNumber(QStringLiteral(" 60")), 60.0);
    for (const char* bad : {"", "abc", "1,5", "12x", "nan", "inf"}) {
        EXPECT_FALSE(parseNumber(QString::fromLatin1(bad)).has_value()) << bad;
    }
}

TEST_F(CsvTest, WritesTheExactLayoutAndReadsItBack) {
    source_.interval = 60;
    source_.upperOn = 1;
    source_.upperBound = 30;
    source_.lowerBound = -5;
    add(at(10, 0, 0), 0.25f, 45.5f, QStringLiteral("Upper bound , caf\u00e9"));
    add(at(10, 1, 0), -0.5f, 100.0f);
    add(at(0, 0, 0, 8), 12.345f, 0.0f);
    source_.unsaved = true;

    const QString file = path("out.csv");
    ASSERT_EQ(saveCsv(file, source_, QStringLiteral("QM320-HX"), QStringLiteral("AB12"),
                      csvTexts(english_)),
              CsvError::None);
    EXPECT_FALSE(source_.unsaved);
    const QByteArray pad = QByteArray(Sample::kRemarksLength, ' ');
    const QByteArray expected =
        kHeader320 + "\"AB12\",\"2026/12/07 10:00:00\",\" 3\",\" 60\",\"30\",\"OFF\"\r\n" +
        kColumns + "1,\"2026/12/07 10:00:00\",\".25\",\"45.50\",\"Upper bound , caf\xe9" +
        pad.left(Sample::kRemarksLength - 18) + "\"\r\n" +
        "2,\"2026/12/07 10:01:00\",\"-.50\",\"100.00\",\"" + pad + "\"\r\n" +
        "3,\"2026/12/08\",\"12.35\",\".00\",\"" + pad + "\"\r\n";
    EXPECT_EQ(readAll(file), expected);

    CsvHeader header;
    ASSERT_EQ(openCsv(file, target_, csvTexts(english_), header), CsvError::None);
    EXPECT_EQ(target_.count, 3);
    EXPECT_EQ(target_.interval, 60);
    EXPECT_EQ(target_.model, QStringLiteral("QM320-HX"));
    EXPECT_EQ(target_.upperOn, 1);
    EXPECT_EQ(target_.upperBound, 30);
    EXPECT_EQ(target_.lowerOn, 0);
    EXPECT_EQ(target_.lowerBound, 0);
    EXPECT_FALSE(target_.unsaved);
    EXPECT_EQ(header.identName, QStringLiteral("AB12"));
    EXPECT_EQ(header.recordingPoints, 3);
    EXPECT_EQ(header.endTime, at(0, 0, 0, 8));

    const Sample first = sampleOf(target_, 1);
    EXPECT_EQ(first.temperature, 0.25f);
    EXPECT_EQ(first.humidity, 45.5f);
    EXPECT_EQ(first.remarks, sampleOf(source_, 1).remarks);
    EXPECT_EQ(first.index, 1);
    EXPECT_NEAR(first.dateTime, at(10, 0, 0), 1e-9);
    EXPECT_EQ(sampleOf(target_, 2).temperature, -0.5f);
    EXPECT_FLOAT_EQ(sampleOf(target_, 3).temperature, 12.35f);
    // 14 hours between the last two samples is far beyond the interval.
    EXPECT_EQ(sampleOf(target_, 2).series, 1.0f);
    EXPECT_EQ(sampleOf(target_, 3).series, 2.0f);
    EXPECT_EQ(target_.stats.maxTemperatureRecord, 3);
    EXPECT_EQ(target_.stats.minTemperatureRecord, 2);
    EXPECT_EQ(target_.stats.maxHumidityRecord, 2);
    EXPECT_EQ(target_.stats.minHumidityRecord, 3);
}

TEST_F(CsvTest, OtherModelsWriteTheShortFormAndReopenWithoutAlarms) {
    source_.interval = 5;
    source_.upperOn = 1;
    source_.upperBound = 30;
    add(at(10, 0, 0), 20.0f, 50.0f);
    const QString file = path("short.csv");
    ASSERT_EQ(saveCsv(file, source_, QStringLiteral("QM300-HX"), QString(), csvTexts(english_)),
              CsvError::None);
    const QByteArray bytes = readAll(file);
    EXPECT_TRUE(
        bytes.startsWith(kHeader300 + "\"\",\"2026/12/07 10:00:00\",\" 1\",\" 5\",\"\",\"\"\r\n"))
        << bytes.constData();

    target_.upperOn = 1;
    CsvHeader header;
    ASSERT_EQ(openCsv(file, target_, csvTexts(english_), header), CsvError::None);
    EXPECT_EQ(target_.model, QStringLiteral("QM300-HX"));
    EXPECT_EQ(target_.upperOn, 0);
    EXPECT_EQ(target_.lowerOn, 0);
    const FilePanelInfo panel = filePanelInfo(file, header, target_.count, csvTexts(english_));
    EXPECT_FALSE(panel.boundsVisible);
    EXPECT_EQ(panel.fileName, QStringLiteral("short.csv"));
    EXPECT_EQ(panel.points, QStringLiteral("1 Point"));
    EXPECT_EQ(panel.interval, QStringLiteral("5 Sec"));
    EXPECT_EQ(panel.upperBound, QStringLiteral("OFF"));
}

TEST_F(CsvTest, EmptyDataSetTakesItsStartTimeFromWhatRecordOneHolds) {
    const QString file = path("empty.csv");
    ASSERT_EQ(
        saveCsv(file, source_, QStringLiteral("QM320-HX"), QStringLiteral("X"), csvTexts(english_)),
        CsvError::None);
    EXPECT_EQ(readAll(file),
              kHeader320 + "\"X\",\"1899/12/30\",\" 0\",\" 0\",\"OFF\",\"OFF\"\r\n" + kColumns);
    CsvHeader zero;
    ASSERT_EQ(openCsv(file, target_, csvTexts(english_), zero), CsvError::None);
    EXPECT_EQ(zero.startTime, 0);

    add(at(8, 30, 0), 1.0f, 2.0f);
    source_.count = 0;
    ASSERT_EQ(
        saveCsv(file, source_, QStringLiteral("QM320-HX"), QStringLiteral("X"), csvTexts(english_)),
        CsvError::None);
    EXPECT_TRUE(readAll(file).contains("\"X\",\"2026/12/07 08:30:00\",\" 0\""));

    CsvHeader header;
    ASSERT_EQ(openCsv(file, target_, csvTexts(english_), header), CsvError::None);
    EXPECT_EQ(target_.count, 0);
    EXPECT_EQ(target_.stats.maxTemperature, -10000.0);
}

TEST_F(CsvTest, SeriesFollowTheTimeGaps) {
    // Interval 60: a gap of exactly 60 s keeps the series, 61 s starts a new one; the first
    // sample is measured against the start time of line 2.
    const QByteArray body = kHeader300 +
                            "\"\",\"2026/12/07 09:58:59\",\" 6\",\" 60\",\"\",\"\"\r\n" + kColumns +
                            "1,\"2026/12/07 10:00:00\",\"1.00\",\"1.00\",\"\"\r\n"
                            "2,\"2026/12/07 10:01:00\",\"1.00\",\"1.00\",\"\"\r\n"
                            "3,\"2026/12/07 10:02:01\",\"1.00\",\"1.00\",\"\"\r\n"
                            "4,\"2026/12/07 10:03:01\",\"1.00\",\"1.00\",\"\"\r\n"
                            "5,\"2026/12/07 10:03:31\",\"1.00\",\"1.00\",\"\"\r\n"
                            "6,\"2026/12/07 10:02:00\",\"1.00\",\"1.00\",\"\"\r\n"
                            "7,\"2026-12-07T10:03:01\",\"1.00\",\"1.00\",\"\"\r\n";
    const QString file = path("gaps.csv");
    writeFile(file, body);
    CsvHeader header;
    ASSERT_EQ(openCsv(file, target_, csvTexts(english_), header), CsvError::None);
    ASSERT_EQ(target_.count, 7);
    const float expected[] = {2, 2, 3, 3, 3, 3, 4};
    for (int k = 1; k <= 7; ++k) {
        EXPECT_EQ(sampleOf(target_, k).series, expected[k - 1]) << k;
    }
}

TEST_F(CsvTest, JapaneseFilesRoundTripAndAreRefusedInEnglishAndBack) {
    add(at(10, 0, 0), 20.0f, 50.0f, QStringLiteral("x"));
    const QString japaneseFile = path("ja.csv");
    const QString englishFile = path("en.csv");
    ASSERT_EQ(
        saveCsv(japaneseFile, source_, QStringLiteral("QM320-HX"), QString(), csvTexts(japanese_)),
        CsvError::None);
    ASSERT_EQ(
        saveCsv(englishFile, source_, QStringLiteral("QM320-HX"), QString(), csvTexts(english_)),
        CsvError::None);

    CsvHeader header;
    ASSERT_EQ(openCsv(japaneseFile, target_, csvTexts(japanese_), header), CsvError::None);
    EXPECT_EQ(target_.count, 1);
    // A refused file leaves the file data set as it was.
    EXPECT_EQ(openCsv(japaneseFile, target_, csvTexts(english_), header), CsvError::WrongForm);
    EXPECT_EQ(openCsv(englishFile, target_, csvTexts(japanese_), header), CsvError::WrongForm);
    EXPECT_EQ(target_.count, 1);
    EXPECT_EQ(target_.model, QStringLiteral("QM320-HX"));
}

struct MalformedCase {
    const char* name;
    QByteArray bytes;
    CsvError error;
};

const QByteArray kGoodTop =
    kHeader320 + "\"A\",\"2026/12/07 10:00:00\",\" 2\",\" 60\",\"30\",\"OFF\"\r\n" + kColumns;
const QByteArray kGoodLine = "1,\"2026/12/07 10:00:00\",\"1.00\",\"2.00\",\"r\"\r\n";

class CsvMalformed : public CsvTest, public ::testing::WithParamInterface<MalformedCase> {};

TEST_P(CsvMalformed, LeavesTheFileDataSetEmpty) {
    // The file data set first holds an earlier, good file.
    const QString good = path("good.csv");
    writeFile(good, kGoodTop + kGoodLine + kGoodLine);
    CsvHeader header;
    ASSERT_EQ(openCsv(good, target_, csvTexts(english_), header), CsvError::None);
    ASSERT_EQ(target_.count, 2);

    const QString bad = path("bad.csv");
    writeFile(bad, GetParam().bytes);
    EXPECT_EQ(openCsv(bad, target_, csvTexts(english_), header), GetParam().error);
    EXPECT_EQ(target_.count, 0);
    EXPECT_EQ(target_.stats.maxTemperature, -10000.0);
    EXPECT_EQ(target_.stats.minHumidity, 10000.0);
    EXPECT_EQ(target_.upperOn, 0);
    EXPECT_TRUE(target_.model.isEmpty());
    EXPECT_FALSE(target_.unsaved);
}

QByteArray tooManySamples() {
    QByteArray bytes = kGoodTop;
    for (int i = 0; i < DataSet::kMaxCount + 1; ++i) {
        bytes += kGoodLine;
    }
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Files, CsvMalformed,
    ::testing::Values(
        MalformedCase{"MissingLastItem", kGoodTop + "1,\"2026/12/07\",\"1.00\",\"2.00\"\r\n",
                      CsvError::Malformed},
        MalformedCase{"HeaderValuesMissing", kHeader320, CsvError::Malformed},
        MalformedCase{"ColumnsMissing",
                      kHeader320 + "\"A\",\"2026/12/07\",\" 0\",\" 60\",\"OFF\",\"OFF\"\r\n",
                      CsvError::Malformed},
        MalformedCase{
            "BadStartTime",
            kHeader320 + "\"A\",\"yesterday\",\" 0\",\" 60\",\"OFF\",\"OFF\"\r\n" + kColumns,
            CsvError::Malformed},
        MalformedCase{
            "BadInterval",
            kHeader320 + "\"A\",\"2026/12/07\",\" 0\",\"often\",\"OFF\",\"OFF\"\r\n" + kColumns,
            CsvError::Malformed},
        MalformedCase{
            "BoundOutOfRange",
            kHeader320 + "\"A\",\"2026/12/07\",\" 0\",\" 60\",\"40000\",\"OFF\"\r\n" + kColumns,
            CsvError::Malformed},
        MalformedCase{"BadSampleDate",
                      kGoodTop + kGoodLine + "2,\"2026/02/30 10:00:00\",\"1\",\"2\",\"\"\r\n",
                      CsvError::Malformed},
        MalformedCase{"BadTemperature",
                      kGoodTop + kGoodLine + "2,\"2026/12/07\",\"hot\",\"2\",\"\"\r\n",
                      CsvError::Malformed},
        MalformedCase{"BadHumidity", kGoodTop + kGoodLine + "2,\"2026/12/07\",\"1\",\"\",\"\"\r\n",
                      CsvError::Malformed},
        // Readings and dates no logger can hold; the graphs once took them as real.
        MalformedCase{"HugeTemperature",
                      kGoodTop + kGoodLine + "2,\"2026/12/07\",\"1e38\",\"2\",\"\"\r\n",
                      CsvError::Malformed},
        MalformedCase{"LargeTemperature",
                      kGoodTop + kGoodLine + "2,\"2026/12/07\",\"400000000\",\"2\",\"\"\r\n",
                      CsvError::Malformed},
        MalformedCase{"HugeNegativeHumidity",
                      kGoodTop + kGoodLine + "2,\"2026/12/07\",\"1\",\"-3.4e38\",\"\"\r\n",
                      CsvError::Malformed},
        MalformedCase{"HumidityOverFull",
                      kGoodTop + kGoodLine + "2,\"2026/12/07\",\"1\",\"100.01\",\"\"\r\n",
                      CsvError::Malformed},
        MalformedCase{"AncientDate",
                      kGoodTop + "1,\"0100/01/01 00:00:00\",\"1\",\"2\",\"\"\r\n" +
                          "2,\"9999/12/31 23:59:59\",\"1\",\"2\",\"\"\r\n",
                      CsvError::Malformed},
        MalformedCase{
            "AncientStart",
            kHeader320 + "\"A\",\"1999/12/31\",\" 0\",\" 60\",\"OFF\",\"OFF\"\r\n" + kColumns,
            CsvError::Malformed},
        MalformedCase{"UnclosedQuote", kGoodTop + kGoodLine + "2,\"2026/12/07,\"1\r\n",
                      CsvError::Malformed},
        MalformedCase{"AbsurdLine", kGoodTop + kGoodLine + QByteArray(1 << 20, 'x') + "\r\n",
                      CsvError::Malformed},
        MalformedCase{"TooManySamples", tooManySamples(), CsvError::TooManySamples}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CsvTest, UnreadableOrForeignFilesLeaveTheDataSetUnchanged) {
    const QString good = path("good.csv");
    writeFile(good, kGoodTop + kGoodLine);
    CsvHeader header;
    ASSERT_EQ(openCsv(good, target_, csvTexts(english_), header), CsvError::None);

    const QString foreign = path("foreign.csv");
    writeFile(foreign, "\"Name\",\"Start\",\"Points\",\"Interval\",\"\",\"\"\r\n");
    const QString empty = path("empty.csv");
    writeFile(empty, QByteArray());
    EXPECT_EQ(openCsv(path("missing.csv"), target_, csvTexts(english_), header), CsvError::Io);
    EXPECT_EQ(openCsv(foreign, target_, csvTexts(english_), header), CsvError::WrongForm);
    EXPECT_EQ(openCsv(empty, target_, csvTexts(english_), header), CsvError::Malformed);
    EXPECT_EQ(target_.count, 1);
    EXPECT_EQ(target_.model, QStringLiteral("QM320-HX"));
}

// A file cut at a line end reads as sound: the rows its header announces beyond those it
// holds are counted, so the user can be told.
TEST_F(CsvTest, RowsMissingFromWhatTheHeaderAnnouncesAreCounted) {
    source_.interval = 60;
    for (int i = 0; i < 1234; ++i) {
        add(at(10, 0, 0) + i * 60.0 / 86400, 20.0f + i % 7, 50.0f);
    }
    const QString whole = path("whole.csv");
    ASSERT_EQ(saveCsv(whole, source_, QStringLiteral("QM320-HX"), QString(), csvTexts(english_)),
              CsvError::None);
    const QList<QByteArray> lines = readAll(whole).split('\n');
    const auto firstLines = [&](int n) {
        QByteArray bytes;
        for (int i = 0; i < n; ++i) {
            bytes += lines[i] + '\n';
        }
        return bytes;
    };
    QByteArray fewerAnnounced = readAll(whole);
    fewerAnnounced.replace("\" 1234\"", "\" 10\"");
    const struct {
        const char* name;
        QByteArray bytes;
        int count;
        int missing;
    } cases[] = {
        {"whole", readAll(whole), 1234, 0},
        {"cut at 617", firstLines(3 + 617), 617, 617},
        {"no rows", firstLines(3), 0, 1234},
        {"more than announced", fewerAnnounced, 1234, 0},
    };
    for (const auto& c : cases) {
        const QString file = path("cut.csv");
        writeFile(file, c.bytes);
        CsvHeader header;
        ASSERT_EQ(openCsv(file, target_, csvTexts(english_), header), CsvError::None) << c.name;
        EXPECT_EQ(target_.count, c.count) << c.name;
        EXPECT_EQ(header.missingRows, c.missing) << c.name;
    }
}

// A FIFO (or a folder) chosen in the open dialog is refused before anything waits on it.
TEST_F(CsvTest, OnlyRegularFilesAreOpened) {
    const QString good = path("good.csv");
    writeFile(good, kGoodTop + kGoodLine);
    CsvHeader header;
    ASSERT_EQ(openCsv(good, target_, csvTexts(english_), header), CsvError::None);
    const QString fifo = path("fifo.csv");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_EQ(openCsv(fifo, target_, csvTexts(english_), header), CsvError::NotRegular);
    EXPECT_EQ(openCsv(dir_.path(), target_, csvTexts(english_), header), CsvError::NotRegular);
    EXPECT_EQ(target_.count, 1);
}

TEST_F(CsvTest, FailedSaveLeavesNoFileAndTheSetUnsaved) {
    add(at(10, 0, 0), 20.0f, 50.0f);
    source_.unsaved = true;
    const QString missingFolder = path("no-such-folder/out.csv");
    EXPECT_FALSE(canWrite(missingFolder));
    EXPECT_EQ(
        saveCsv(missingFolder, source_, QStringLiteral("QM320-HX"), QString(), csvTexts(english_)),
        CsvError::Io);
    EXPECT_FALSE(QFile::exists(missingFolder));
    // A folder where the file should be cannot be replaced.
    ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("taken.csv")));
    EXPECT_EQ(saveCsv(path("taken.csv"), source_, QStringLiteral("QM320-HX"), QString(),
                      csvTexts(english_)),
              CsvError::Io);
    EXPECT_TRUE(source_.unsaved);
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::NoDotAndDotDot),
              QStringList({"log.rand", "read.rand"}));
}

TEST_F(CsvTest, SampleThatCannotBeReadFailsTheSaveAndKeepsTheOldFile) {
    add(at(10, 0, 0), 20.0f, 50.0f);
    const QString file = path("kept.csv");
    writeFile(file, "old contents");
    source_.unsaved = true;
    source_.count = 2;  // record 2 was never written
    EXPECT_EQ(saveCsv(file, source_, QStringLiteral("QM320-HX"), QString(), csvTexts(english_)),
              CsvError::Io);
    EXPECT_EQ(readAll(file), QByteArray("old contents"));
    EXPECT_TRUE(source_.unsaved);
    EXPECT_TRUE(canWrite(file));
    EXPECT_EQ(readAll(file), QByteArray("old contents"));
}

TEST(CsvNames, ProposedNameIsIdentUnderscoreAndSampleTime) {
    EXPECT_EQ(proposedFileName(QStringLiteral("AB12"), at(9, 5, 3)),
              QStringLiteral("AB12_261207_090503"));
    EXPECT_EQ(proposedFileName(QString(), at(9, 5, 3)), QStringLiteral("_261207_090503"));
}

}  // namespace
