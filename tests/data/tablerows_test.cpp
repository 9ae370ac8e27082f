// Table rows: cell texts, captions, text sorting and header rules, the sorted place of an
// appended row and the extreme marking of the real-time table.
#include <gtest/gtest.h>

#include <cmath>

#include "data/tablerows.h"
#include "samplefixture.h"

namespace {

class TableRowsTest : public SampleFixture {
  protected:
    static QStringList column(const TableRows& rows, int column) {
        QStringList texts;
        for (int row = 0; row < rows.count(); ++row) {
            texts.append(rows.cellText(row, column));
        }
        return texts;
    }

    static void sortBy(TableRows& rows, int column, TableRows::SortOrder order) {
        ASSERT_TRUE(rows.setSortKey(column, order));
        rows.sort();
    }
};

struct CellCase {
    float temperature;
    float humidity;
    double dateTime;
    const char* remarks;
    const char* date;
    const char* temperatureText;
    const char* humidityText;
};

TEST_F(TableRowsTest, CellTextsFollowTheColumnFormats) {
    const CellCase cases[] = {
        {23.456f, 45.5f, 45000.5, "Upper bound ", "2023/03/15 12:00:00", "23.46", "45.50"},
        {-5.0f, 100.0f, 36526.75, "", "2000/01/01 18:00:00", "-5.00", "100.00"},
        {0.5f, 0.0f, 36526.0 + 1.0 / 86400.0, "x", "2000/01/01 00:00:01", "0.50", "0.00"},
        {-0.25f, 9.994f, 44927.0 + 86399.4 / 86400.0, "", "2023/01/01 23:59:59", "-0.25", "9.99"},
    };
    for (const CellCase& c : cases) {
        addSample(c.temperature, c.humidity, c.dateTime, QString::fromUtf8(c.remarks));
    }
    TableRows rows(dataSet, messages);
    rows.fill();
    ASSERT_EQ(rows.count(), 4);
    for (int row = 0; row < 4; ++row) {
        SCOPED_TRACE(row);
        const CellCase& c = cases[row];
        EXPECT_EQ(rows.cellText(row, 0), QStringLiteral("0000%1").arg(row + 1));
        EXPECT_EQ(rows.cellText(row, 1), QLatin1String(c.date));
        EXPECT_EQ(rows.cellText(row, 2), QLatin1String(c.temperatureText));
        EXPECT_EQ(rows.cellText(row, 3), QLatin1String(c.humidityText));
        const QString remarks = rows.cellText(row, 4);
        EXPECT_EQ(remarks.size(), 50);
        EXPECT_EQ(remarks.trimmed(), QString::fromUtf8(c.remarks).trimmed());
    }
    EXPECT_TRUE(rows.cellText(4, 0).isEmpty());
    EXPECT_TRUE(rows.cellText(-1, 0).isEmpty());
    EXPECT_TRUE(rows.cellText(0, 5).isEmpty());
    EXPECT_TRUE(rows.cellText(-1, 1).isEmpty());
}

TEST_F(TableRowsTest, RecordsWithoutARealDateShowAnEmptyDate) {
    const double dates[] = {std::nan(""), HUGE_VAL, -HUGE_VAL, 1e300, -1e18, 2958466.0};
    for (double date : dates) {
        addSample(20.0f, 50.0f, date);
    }
    addSample(20.0f, 50.0f, 2958465.5);
    TableRows rows(dataSet, messages);
    rows.fill();
    sortBy(rows, TableRows::DateColumn, TableRows::Descending);
    for (int row = 0; row < 6; ++row) {
        EXPECT_TRUE(rows.cellText(row + 1, 1).isEmpty()) << row;
        EXPECT_EQ(rows.cellText(row + 1, 2), QStringLiteral("20.00"));
    }
    EXPECT_EQ(rows.cellText(0, 1), QStringLiteral("9999/12/31 12:00:00"));
}

TEST_F(TableRowsTest, CaptionsComeFromTheMessageTable) {
    TableRows rows(dataSet, messages);
    const QStringList expected{"Record No", "Date", QString::fromUtf8("Temp (°C)"), "Humi (%RH)",
                               "Remarks"};
    for (int column = 0; column < 5; ++column) {
        EXPECT_EQ(rows.caption(column), expected[column]);
    }
    messages.fillJapanese();
    rows.refreshCaptions();
    EXPECT_EQ(rows.caption(2), QString::fromUtf8("温度 ℃"));
}

TEST_F(TableRowsTest, EmptyDataSetHasNoRows) {
    TableRows rows(dataSet, messages);
    rows.fill();
    EXPECT_EQ(rows.count(), 0);
    sortBy(rows, TableRows::TemperatureColumn, TableRows::Descending);
    EXPECT_EQ(rows.count(), 0);
    bool told = false;
    rows.appendNewest([&told](int) { told = true; });
    EXPECT_FALSE(told);
    EXPECT_EQ(rows.count(), 0);
}

struct SortCase {
    int column;
    TableRows::SortOrder order;
    QStringList expected;  // the sort column's texts from top to bottom
};

TEST_F(TableRowsTest, SortsByTheTextOfTheSortColumn) {
    const float temperatures[] = {9.0f, 10.0f, 2.0f, -1.0f, -10.0f, 2.0f};
    for (float temperature : temperatures) {
        addSample(temperature, 50.0f);
    }
    const SortCase cases[] = {
        {2, TableRows::Ascending, {"-1.00", "-10.00", "10.00", "2.00", "2.00", "9.00"}},
        {2, TableRows::Descending, {"9.00", "2.00", "2.00", "10.00", "-10.00", "-1.00"}},
        {0, TableRows::Descending, {"00006", "00005", "00004", "00003", "00002", "00001"}},
        {0, TableRows::Ascending, {"00001", "00002", "00003", "00004", "00005", "00006"}},
    };
    TableRows rows(dataSet, messages);
    rows.fill();
    for (const SortCase& c : cases) {
        sortBy(rows, c.column, c.order);
        EXPECT_EQ(column(rows, c.column), c.expected) << c.column << " " << c.order;
    }
    // Equal texts keep their insertion order; the first column stays the record number.
    sortBy(rows, 2, TableRows::Ascending);
    EXPECT_EQ(rows.recordAt(3), 3);
    EXPECT_EQ(rows.recordAt(4), 6);
    EXPECT_EQ(column(rows, 0), QStringList({"00004", "00005", "00002", "00003", "00006", "00001"}));
}

TEST_F(TableRowsTest, ASortTellsWhereEachRowWent) {
    for (float temperature : {3.0f, 1.0f, 2.0f}) {
        addSample(temperature, 50.0f);
    }
    TableRows rows(dataSet, messages);
    rows.fill();
    ASSERT_TRUE(rows.setSortKey(TableRows::TemperatureColumn, TableRows::Ascending));
    EXPECT_EQ(rows.sort(), std::vector<int>({2, 0, 1}));
    EXPECT_FALSE(rows.setSortKey(TableRows::kColumnCount, TableRows::Descending));
    EXPECT_EQ(rows.sortOrder(), TableRows::Ascending);
}

TEST_F(TableRowsTest, RecordNumbersSortAsTextDoes) {
    for (int i = 0; i < 12; ++i) {
        addSample(20.0f, 50.0f);
    }
    TableRows rows(dataSet, messages);
    rows.fill();
    sortBy(rows, 0, TableRows::Descending);
    EXPECT_EQ(rows.recordAt(0), 12);
    EXPECT_EQ(rows.recordAt(2), 10);
    EXPECT_EQ(rows.recordAt(3), 9);
}

TEST_F(TableRowsTest, HeaderClicksFlipOrKeepTheOrder) {
    TableRows rows(dataSet, messages);
    struct Click {
        int section;
        bool taken;
        int column;
        TableRows::SortOrder order;
    };
    const Click clicks[] = {
        {0, true, 0, TableRows::Descending},  // same column: flip
        {2, true, 2, TableRows::Descending},  // other column: keep the order
        {2, true, 2, TableRows::Ascending},
        {4, true, 4, TableRows::Ascending},
        {4, true, 4, TableRows::Descending},
        {7, false, 4, TableRows::Descending},  // no such column: nothing happens
        {-1, false, 4, TableRows::Descending},
    };
    for (const Click& click : clicks) {
        EXPECT_EQ(rows.headerClicked(click.section), click.taken) << click.section;
        EXPECT_EQ(rows.sortColumn(), click.column) << click.section;
        EXPECT_EQ(rows.sortOrder(), click.order) << click.section;
    }
}

TEST_F(TableRowsTest, AppendedRowsTakeTheirSortedPlace) {
    for (float temperature : {5.0f, 30.0f}) {
        addSample(temperature, 50.0f);
    }
    TableRows rows(dataSet, messages);
    rows.fill();
    sortBy(rows, 2, TableRows::Descending);
    addSample(12.0f, 50.0f);
    int place = -1;
    rows.appendNewest([&](int row) {
        place = row;
        EXPECT_EQ(rows.count(), 2) << "told before the row goes in";
    });
    EXPECT_EQ(place, 2);
    EXPECT_EQ(column(rows, 2), QStringList({"5.00", "30.00", "12.00"}));
    EXPECT_EQ(rows.recordAt(2), 3);
}

TEST_F(TableRowsTest, MarkingAfterAFillClearsStaleLabels) {
    addSample(20.0f, 50.0f, 45000.5, QStringLiteral("Maximum temperature"));
    addSample(22.0f, 40.0f, 45000.5, QStringLiteral("old"));
    addSample(21.0f, 45.0f, 45000.5, QStringLiteral("Minimum humidity"));
    TableRows rows(dataSet, messages);
    rows.fill();
    const TableRows::Marking marking = rows.markExtremes();
    EXPECT_EQ(marking.error, DataError::None);
    EXPECT_EQ(marking.relabelled, std::vector<int>({0, 1, 2}));
    EXPECT_FALSE(marking.keysChanged);
    EXPECT_EQ(remarksOf(1), QStringLiteral("Minimum temperatureMaximum humidity"));
    EXPECT_EQ(remarksOf(2), QStringLiteral("Maximum temperatureMinimum humidity"));
    EXPECT_EQ(remarksOf(3), QString());
    EXPECT_EQ(rows.cellText(2, 4).trimmed(), QString());
}

TEST_F(TableRowsTest, MarkingChangesTheKeysOfARemarksSortedTable) {
    TableRows rows(dataSet, messages);
    rows.clear();
    sortBy(rows, 4, TableRows::Ascending);
    bool keysChanged = false;
    for (float temperature : {20.0f, 30.0f}) {
        addSample(temperature, 50.0f);
        rows.appendNewest([](int) {});
        keysChanged = rows.markExtremes().keysChanged;
    }
    ASSERT_TRUE(keysChanged);
    rows.sort();
    EXPECT_EQ(column(rows, 0), QStringList({"00002", "00001"}));
    EXPECT_EQ(rows.cellText(0, 4).trimmed(), QStringLiteral("Maximum temperature"));
}

}  // namespace
