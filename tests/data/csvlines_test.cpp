// Byte-wise sample lines against the general list-output and list-input code: the same bytes
// written, the same values read, and every line of another shape left to the general code.
#include <gtest/gtest.h>

#include <QDate>
#include <cmath>
#include <limits>

#include "data/csv.h"
#include "data/csvlines.h"
#include "data/datetime.h"
#include "data/listinput.h"

namespace {

using codepage::TextEncoding;

QString quoted(const QString& text) {
    return u'"' + text + u'"';
}

// The line as the general writer builds it.
QByteArray generalLine(int record, const ScratchFile::Fields& f, TextEncoding encoding) {
    return codepage::encode(QString::number(record) + u',' + quoted(datetime::format(f.dateTime)) +
                                u',' + quoted(formatHundredths(f.temperature)) + u',' +
                                quoted(formatHundredths(f.humidity)) + u',' +
                                quoted(codepage::fromWindows1252(f.remarks.toByteArray())) +
                                QStringLiteral("\r\n"),
                            encoding);
}

// The values as the general reader takes them; nullopt where it refuses the line.
std::optional<csvline::Values> generalValues(const QByteArray& line, TextEncoding encoding,
                                             QByteArray& remarks) {
    QStringList items;
    if (ListInput::splitLine(codepage::decode(line, encoding), items) != ListInput::Status::Ok ||
        items.size() != 5) {
        return std::nullopt;
    }
    const auto when = datetime::parse(items[1]);
    const auto temperature = parseNumber(items[2]);
    const auto humidity = parseNumber(items[3]);
    if (!when || !temperature || !humidity) {
        return std::nullopt;
    }
    Sample s;
    s.setRemarks(items[4]);
    remarks = s.remarks;
    return csvline::Values{*when, *temperature, *humidity, QByteArrayView(remarks)};
}

QByteArray padded(QByteArray bytes) {
    return bytes.leftJustified(Sample::kRemarksLength, ' ', true);
}

double day(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    return datetime::fromDateAndTime(QDate(y, mo, d), QTime(h, mi, s));
}

}  // namespace

// Every hundredth of the logger's ranges, odd floats and the calendar's corners are written as
// the general writer writes them, and read back as the general reader reads them.
TEST(CsvLines, WriteAndReadAsTheGeneralCode) {
    std::vector<float> values;
    for (int n = -4000; n <= 10000; ++n) {
        values.push_back(static_cast<float>(n) / 100.0F);
    }
    for (float v : {0.005F, -0.005F, 0.0049999F, 99.995F, -39.995F, 1e-30F, -0.0F, 12345.678F}) {
        values.push_back(v);
    }
    const double dates[] = {day(2000, 1, 1),        day(2024, 2, 29, 23, 59, 59),
                            day(2099, 12, 31, 12),  day(2026, 12, 7, 0, 0, 1),
                            day(2026, 3, 1) - 1e-9, day(2099, 12, 31, 23, 59, 59) + 0.4 / 86400};
    // Any byte survives the Windows code page; the Japanese one is taken for plain ASCII only.
    const struct {
        TextEncoding encoding;
        QByteArray remarks;
    } forms[] = {{TextEncoding::Windows1252, padded(QByteArray("\x80\x81\xE9\xFF,;\x01\r", 8))},
                 {TextEncoding::ShiftJis, padded("Upper bound ")}};
    int record = 1;
    for (const auto& [encoding, remarks] : forms) {
        for (std::size_t i = 0; i < values.size(); ++i) {
            const double when = dates[i % std::size(dates)];
            ScratchFile::Fields f{values[i], values[values.size() - 1 - i], when, 1, remarks};
            QByteArray fast;
            ASSERT_TRUE(csvline::append(fast, record, f, encoding)) << values[i];
            ASSERT_EQ(fast, generalLine(record, f, encoding)) << values[i];
            ++record;

            QByteArray kept;
            const QByteArray line = fast.chopped(2);  // the parsed remarks point into it
            const auto general = generalValues(line, encoding, kept);
            const auto parsed = csvline::parse(line, encoding);
            if (!general || !LoggerRange::holdsTemperature(general->temperature)) {
                continue;
            }
            ASSERT_TRUE(parsed) << fast.constData();
            EXPECT_EQ(parsed->dateTime, general->dateTime) << fast.constData();
            EXPECT_EQ(parsed->temperature, general->temperature) << fast.constData();
            EXPECT_EQ(parsed->humidity, general->humidity) << fast.constData();
            EXPECT_EQ(padded(parsed->remarks.toByteArray()), kept);
        }
    }
}

// Records the shortcut leaves to the general writer.
TEST(CsvLines, LeavesUnusualRecordsToTheGeneralWriter) {
    const struct {
        const char* name;
        ScratchFile::Fields fields;
        TextEncoding encoding;
    } cases[] = {
        {"date before 2000", {1, 2, day(1999, 12, 31, 23), 1, "r"}, TextEncoding::Windows1252},
        {"no date", {1, 2, 0, 1, "r"}, TextEncoding::Windows1252},
        {"not a number",
         {std::numeric_limits<float>::quiet_NaN(), 2, day(2026, 1, 1), 1, "r"},
         TextEncoding::Windows1252},
        {"infinite",
         {1, -std::numeric_limits<float>::infinity(), day(2026, 1, 1), 1, "r"},
         TextEncoding::Windows1252},
        {"high bytes in Shift_JIS", {1, 2, day(2026, 1, 1), 1, "\xE9"}, TextEncoding::ShiftJis},
        {"backslash in Shift_JIS", {1, 2, day(2026, 1, 1), 1, "a\\b"}, TextEncoding::ShiftJis},
    };
    for (const auto& c : cases) {
        QByteArray out("kept");
        EXPECT_FALSE(csvline::append(out, 1, c.fields, c.encoding)) << c.name;
        EXPECT_EQ(out, "kept") << c.name;
    }
}

// Lines of any other shape go to the general reader, which accepts or refuses them by its
// own rules; the written shape is read byte-wise.
TEST(CsvLines, ReadsOnlyTheWrittenShape) {
    const struct {
        QByteArray line;
        bool fast;
    } cases[] = {
        {"1,\"2026/12/07 10:00:00\",\"21.50\",\".25\",\"r\"", true},
        {"32767,\"2026/12/07\",\"-.50\",\"100.00\",\"\"", true},
        {"7,\"2024/02/29 23:59:59\",\"-40.00\",\"0.00\",\"a,b\"", false},
        {"7,\"2024/02/29 23:59:59\",\"-40.00\",\".00\",\"a,b\"", true},
        {"1,\"2026/12/07 10:00:00\",\"1.5\",\"2.00\",\"r\"", false},
        {"1,\"2026/12/07 10:00:00\",\"01.50\",\"2.00\",\"r\"", false},
        {"1,\"2026/12/07 10:00:00\",\"12345678.00\",\"2.00\",\"r\"", false},
        {"1,\"2026/12/7 10:00:00\",\"1.50\",\"2.00\",\"r\"", false},
        {"1,\"2026/02/30 10:00:00\",\"1.50\",\"2.00\",\"r\"", false},
        {"1,\"2026/12/07 24:00:00\",\"1.50\",\"2.00\",\"r\"", false},
        {"1,\"1999/12/31 10:00:00\",\"1.50\",\"2.00\",\"r\"", false},
        {"1,\"2026/12/07 10:00\",\"1.50\",\"2.00\",\"r\"", false},
        {"1, \"2026/12/07 10:00:00\",\"1.50\",\"2.00\",\"r\"", false},
        {"1,\"2026/12/07 10:00:00\",\"1.50\",\"2.00\",\"r\" ", false},
        {"1,\"2026/12/07 10:00:00\",\"1.50\",\"2.00\",\"r\",6", false},
        {"1,\"2026/12/07 10:00:00\",\"1.50\",\"2.00\"", false},
        {"x,\"2026/12/07 10:00:00\",\"1.50\",\"2.00\",\"r\"", false},
        {"", false},
    };
    for (const auto& c : cases) {
        const auto parsed = csvline::parse(c.line, TextEncoding::Windows1252);
        EXPECT_EQ(parsed.has_value(), c.fast) << c.line.constData();
        QByteArray kept;
        const auto general = generalValues(c.line, TextEncoding::Windows1252, kept);
        if (parsed) {
            ASSERT_TRUE(general) << c.line.constData();
            EXPECT_EQ(parsed->dateTime, general->dateTime) << c.line.constData();
            EXPECT_EQ(parsed->temperature, general->temperature) << c.line.constData();
            EXPECT_EQ(parsed->humidity, general->humidity) << c.line.constData();
            EXPECT_EQ(padded(parsed->remarks.toByteArray()), kept);
        }
    }
}
