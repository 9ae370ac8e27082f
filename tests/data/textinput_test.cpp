// Date-time texts, day counts and the list-input item stream.
#include <gtest/gtest.h>
#include <QBuffer>

#include <cmath>
#include <limits>

#include "data/datetime.h"
#include "data/listinput.h"

namespace {

double dayCount(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    return datetime::fromDateAndTime(QDate(y, mo, d), QTime(h, mi, s));
}

TEST(DateTime, DayCountsStartAt18991230) {
    EXPECT_EQ(dayCount(1899, 12, 30), 0.0);
    EXPECT_EQ(dayCount(1900, 1, 1, 12), 2.5);
    EXPECT_EQ(datetime::toDateTime(2.5), QDateTime(QDate(1900, 1, 1), QTime(12, 0)));
    // Before the base the fraction still counts forward from midnight.
    EXPECT_EQ(datetime::toDateTime(-1.25), QDateTime(QDate(1899, 12, 29), QTime(6, 0)));
    EXPECT_EQ(datetime::format(-1.25), QStringLiteral("1899/12/29 06:00:00"));
}

struct FormatCase {
    double days;
    const char* text;
};

TEST(DateTime, FormatsWithTheDateAloneAtMidnight) {
    const FormatCase cases[] = {
        {dayCount(2026, 12, 7, 9, 5, 3), "2026/12/07 09:05:03"},
        {dayCount(2026, 12, 7), "2026/12/07"},
        {dayCount(2026, 12, 7, 0, 0, 1), "2026/12/07 00:00:01"},
        {0.0, "1899/12/30"},
        // Within half a second of midnight reads as midnight of the next day.
        {dayCount(2026, 12, 8) - 0.4 / 86400, "2026/12/08"},
    };
    for (const FormatCase& c : cases) {
        EXPECT_EQ(datetime::format(c.days), QString::fromLatin1(c.text)) << c.text;
    }
    for (double outside : {std::nan(""), 1e300, -1e300, 2958466.0, -657436.0}) {
        EXPECT_TRUE(datetime::format(outside).isEmpty()) << outside;
        EXPECT_FALSE(datetime::toDateTime(outside).isValid()) << outside;
        EXPECT_EQ(datetime::toSeconds(outside), 0) << outside;
    }
    EXPECT_EQ(datetime::format(dayCount(9999, 12, 31, 23, 59, 59)),
              QStringLiteral("9999/12/31 23:59:59"));
    EXPECT_EQ(datetime::format(dayCount(100, 1, 1, 12)), QStringLiteral("0100/01/01 12:00:00"));
    EXPECT_EQ(datetime::format(dayCount(2026, 1, 2, 3, 4, 5), QStringLiteral("yyMMdd_HHmmss")),
              QStringLiteral("260102_030405"));
}

TEST(DateTime, ParsesTheWrittenFormsAndIso) {
    const FormatCase cases[] = {
        {dayCount(2026, 12, 7, 9, 5, 3), "2026/12/07 09:05:03"},
        {dayCount(2026, 12, 7, 9, 5, 3), "2026/12/7 9:05:03"},
        {dayCount(2026, 12, 7), "2026/12/07"},
        {dayCount(2026, 12, 7, 9, 5), "2026/12/07 09:05"},
        {dayCount(2026, 12, 7, 9, 5, 3), "2026-12-07T09:05:03"},
        {dayCount(2026, 12, 7, 9, 5, 3), "2026-12-07 09:05:03"},
        {dayCount(2026, 12, 7, 9, 5, 3), "2026-12-07T09:05:03Z"},
        {dayCount(2026, 12, 7), " 2026-12-07 "},
    };
    for (const FormatCase& c : cases) {
        const std::optional<double> parsed = datetime::parse(QString::fromLatin1(c.text));
        ASSERT_TRUE(parsed.has_value()) << c.text;
        EXPECT_NEAR(*parsed, c.days, 1e-9) << c.text;
    }
    for (const char* bad : {"", "abc", "2026/13/01", "2026/02/30", "2026/12/07 25:00:00",
                            "2026/12/07 10:00:00 extra", "12.5"}) {
        EXPECT_FALSE(datetime::parse(QString::fromLatin1(bad)).has_value()) << bad;
    }
}

TEST(DateTime, SecondsBetweenRoundsHalfUp) {
    const double t0 = dayCount(2026, 12, 7, 10);
    EXPECT_EQ(datetime::secondsBetween(t0, t0 + 60.0 / 86400), 60);
    EXPECT_EQ(datetime::secondsBetween(t0, t0 + 60.6 / 86400), 61);
    EXPECT_EQ(datetime::secondsBetween(t0, t0 + 60.4 / 86400), 60);
    EXPECT_EQ(datetime::secondsBetween(0.0, 0.5 / 86400), 1);
    EXPECT_EQ(datetime::secondsBetween(0.0, -0.5 / 86400), 0);
    EXPECT_EQ(datetime::secondsBetween(0.0, 1e300), std::numeric_limits<qint64>::max());
    EXPECT_EQ(datetime::secondsBetween(0.0, std::nan("")), std::numeric_limits<qint64>::max());
    EXPECT_EQ(datetime::secondsBetween(t0, dayCount(2026, 12, 7, 10, 1, 1)), 61);
    EXPECT_EQ(datetime::secondsBetween(t0, t0 - 2.0 / 86400), -2);
}

struct SplitCase {
    const char* line;
    QStringList items;
};

TEST(ListInput, SplitsLinesByTheListInputRules) {
    const SplitCase cases[] = {
        {"1,\"2026/12/07\",\".25\",\"-.50\",\"a, b\"", {"1", "2026/12/07", ".25", "-.50", "a, b"}},
        {"  a  , b ,c", {"a", "b", "c"}},
        {"\"x\"junk ,\"y\"", {"x", "y"}},
        {"\"\",\"\"", {"", ""}},
        {"a,", {"a", ""}},
        {"   ", {}},
        {"\"  padded  \"", {"  padded  "}},
    };
    for (const SplitCase& c : cases) {
        QStringList items;
        EXPECT_EQ(ListInput::splitLine(QString::fromLatin1(c.line), items), ListInput::Status::Ok)
            << c.line;
        EXPECT_EQ(items, c.items) << c.line;
    }
    QStringList items;
    EXPECT_EQ(ListInput::splitLine(QStringLiteral("\"open"), items), ListInput::Status::Malformed);
}

TEST(ListInput, StreamsItemsAcrossLinesAndSkipsBlankLines) {
    QByteArray data("a,\"b\"\r\n\r\nc\n\"d,e\"\r\n\r\n");
    QBuffer buffer(&data);
    ASSERT_TRUE(buffer.open(QIODevice::ReadOnly));
    ListInput input(buffer, codepage::TextEncoding::Windows1252);
    QStringList items;
    ASSERT_EQ(input.next(3, items), ListInput::Status::Ok);
    EXPECT_EQ(items, QStringList({"a", "b", "c"}));
    EXPECT_FALSE(input.atEnd());
    QString item;
    ASSERT_EQ(input.next(item), ListInput::Status::Ok);
    EXPECT_EQ(item, QStringLiteral("d,e"));
    EXPECT_TRUE(input.atEnd());
    EXPECT_EQ(input.next(item), ListInput::Status::End);
}

// A whole line is offered only where a record could begin; a line not taken is read as items.
TEST(ListInput, OffersWholeLinesOnlyBetweenItems) {
    QByteArray data("a,b\r\nc\r\n\r\nd\n");
    QBuffer buffer(&data);
    ASSERT_TRUE(buffer.open(QIODevice::ReadOnly));
    ListInput input(buffer, codepage::TextEncoding::Windows1252);
    QByteArrayView line;
    QString item;
    ASSERT_TRUE(input.peekLine(line));
    EXPECT_EQ(line, "a,b");
    ASSERT_EQ(input.next(item), ListInput::Status::Ok);
    EXPECT_EQ(item, QStringLiteral("a"));
    EXPECT_FALSE(input.peekLine(line));
    ASSERT_EQ(input.next(item), ListInput::Status::Ok);
    ASSERT_TRUE(input.peekLine(line));
    EXPECT_EQ(line, "c");
    input.skipLine();
    ASSERT_TRUE(input.peekLine(line));
    EXPECT_TRUE(line.isEmpty());
    ASSERT_EQ(input.next(item), ListInput::Status::Ok);
    EXPECT_EQ(item, QStringLiteral("d"));
    EXPECT_TRUE(input.atEnd());
    EXPECT_FALSE(input.peekLine(line));
}

TEST(ListInput, RefusesAnOverlongLine) {
    QByteArray data = "a\r\n" + QByteArray(5000, 'x') + "\r\nb\r\n";
    QBuffer buffer(&data);
    ASSERT_TRUE(buffer.open(QIODevice::ReadOnly));
    ListInput input(buffer, codepage::TextEncoding::Windows1252, 4096);
    QString item;
    ASSERT_EQ(input.next(item), ListInput::Status::Ok);
    EXPECT_EQ(input.next(item), ListInput::Status::LineTooLong);
    EXPECT_EQ(input.next(item), ListInput::Status::LineTooLong);
}

TEST(ListInput, LineOfExactlyTheLimitIsAccepted) {
    QByteArray data = QByteArray(4096, 'x') + "\r\n";
    QBuffer buffer(&data);
    ASSERT_TRUE(buffer.open(QIODevice::ReadOnly));
    ListInput input(buffer, codepage::TextEncoding::Windows1252, 4096);
    QString item;
    ASSERT_EQ(input.next(item), ListInput::Status::Ok);
    EXPECT_EQ(item.size(), 4096);
}

}  // namespace
