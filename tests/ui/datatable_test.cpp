// Data table view and its model: header images and clicks, row clicks, rows appended and
// relabelled in their sorted place, the selection through a sort, the pane's names and
// geometry.
#include <gtest/gtest.h>

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QSignalSpy>
#include <QTest>

#include "samplefixture.h"
#include "ui/datatable.h"

namespace {

class DataTableTest : public SampleFixture {
  protected:
    QStringList column(const DataTableModel& model, int column) const {
        QStringList texts;
        for (int row = 0; row < model.rowCount(); ++row) {
            texts.append(model.data(model.index(row, column), Qt::DisplayRole).toString());
        }
        return texts;
    }
};

TEST_F(DataTableTest, HeaderClicksFlipOrKeepTheOrder) {
    for (float temperature : {9.0f, 10.0f, 2.0f}) {
        addSample(temperature, 50.0f);
    }
    DataTableModel model(dataSet, messages);
    model.fill();
    const auto image = [&](int section) {
        return model.headerData(section, Qt::Horizontal, Qt::DecorationRole);
    };
    EXPECT_TRUE(image(0).isValid());
    const QIcon ascending = image(0).value<QIcon>();

    struct Click {
        int section;
        int column;
        TableRows::SortOrder order;
    };
    const Click clicks[] = {
        {0, 0, TableRows::Descending},  // same column: flip
        {2, 2, TableRows::Descending},  // other column: keep the order
        {2, 2, TableRows::Ascending},  {4, 4, TableRows::Ascending}, {4, 4, TableRows::Descending},
        {7, 4, TableRows::Descending},  // no such column: nothing happens
    };
    for (const Click& click : clicks) {
        model.headerClicked(click.section);
        EXPECT_EQ(model.sortColumn(), click.column) << click.section;
        EXPECT_EQ(model.sortOrder(), click.order) << click.section;
        for (int section = 0; section < 5; ++section) {
            EXPECT_EQ(image(section).isValid(), section == click.column) << section;
        }
        const QIcon shown = image(click.column).value<QIcon>();
        EXPECT_EQ(shown.cacheKey() == ascending.cacheKey(), click.order == TableRows::Ascending);
    }
}

TEST_F(DataTableTest, RowClickShowsTheRowInTheStatusText) {
    addSample(21.5f, 40.25f, 45000.5);
    addSample(-3.0f, 80.0f, 45001.25);
    DataTableView view(1, dataSet, messages);
    view.fill();
    view.model()->setSort(2, TableRows::Ascending);
    QSignalSpy spy(&view, &DataTableView::statusTextChanged);
    view.itemClick(0);
    view.itemClick(5);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toString(),
              QString::fromUtf8("Date 2023/03/16 06:00:00   Temperature -3.00°C   Humidity "
                                "80.00 %RH"));
}

TEST_F(DataTableTest, MouseClicksReachTheHeaderAndRowRules) {
    for (float temperature : {9.0f, 10.0f}) {
        addSample(temperature, 50.0f);
    }
    DataTableView view(0, dataSet, messages);
    view.resize(800, 300);
    view.show();
    view.fill();
    QHeaderView* header = view.table()->horizontalHeader();
    const QPoint onTemperature(header->sectionViewportPosition(2) + 5, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, onTemperature);
    EXPECT_EQ(view.model()->sortColumn(), 2);
    EXPECT_EQ(view.model()->recordAt(0), 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, onTemperature);
    EXPECT_EQ(view.model()->sortOrder(), TableRows::Descending);
    EXPECT_EQ(view.model()->recordAt(0), 1);

    QSignalSpy spy(&view, &DataTableView::statusTextChanged);
    const QRect cell = view.table()->visualRect(view.model()->index(1, 3));
    QTest::mouseClick(view.table()->viewport(), Qt::LeftButton, {}, cell.center());
    ASSERT_EQ(spy.count(), 1);
    EXPECT_TRUE(spy.at(0).at(0).toString().contains(QStringLiteral("Temperature 10.00")));
}

TEST_F(DataTableTest, AppendedRowsTakeTheirSortedPlace) {
    for (float temperature : {5.0f, 30.0f}) {
        addSample(temperature, 50.0f);
    }
    DataTableModel model(dataSet, messages);
    model.fill();
    model.setSort(2, TableRows::Descending);
    addSample(12.0f, 50.0f);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    model.appendNewest();
    ASSERT_EQ(inserted.count(), 1);
    EXPECT_EQ(inserted.at(0).at(1).toInt(), 2);
    EXPECT_EQ(column(model, 2), QStringList({"5.00", "30.00", "12.00"}));
    EXPECT_EQ(model.recordAt(2), 3);
}

TEST_F(DataTableTest, RealTimeMarkingLabelsTheExtremes) {
    DataTableView view(1, dataSet, messages);
    view.clear();
    struct Step {
        float temperature;
        float humidity;
        QStringList remarks;  // of records 1..n after the step
    };
    const Step steps[] = {
        // All four labels are longer than the 50 characters of the remarks.
        {20.0f, 50.0f, {"Maximum temperatureMinimum temperatureMaximum humi"}},
        {25.0f,
         40.0f,
         {"Minimum temperatureMaximum humidity", "Maximum temperatureMinimum humidity"}},
        {25.0f,
         60.0f,
         {"Minimum temperature", "Maximum temperatureMinimum humidity", "Maximum humidity"}},
        {18.0f,
         45.0f,
         {"", "Maximum temperatureMinimum humidity", "Maximum humidity", "Minimum temperature"}},
    };
    for (const Step& step : steps) {
        addSample(step.temperature, step.humidity);
        EXPECT_EQ(view.appendNewest(true), DataError::None);
        const DataTableModel& model = *view.model();
        ASSERT_EQ(model.rowCount(), step.remarks.size());
        for (int record = 1; record <= step.remarks.size(); ++record) {
            SCOPED_TRACE(record);
            EXPECT_EQ(remarksOf(record), step.remarks[record - 1]);
            EXPECT_EQ(model.cellText(record - 1, 4).trimmed(), step.remarks[record - 1]);
        }
    }
}

TEST_F(DataTableTest, MarkingResortsARemarksSortedTable) {
    DataTableModel model(dataSet, messages);
    model.clear();
    model.setSort(4, TableRows::Ascending);
    for (float temperature : {20.0f, 30.0f}) {
        addSample(temperature, 50.0f);
        model.appendNewest();
        model.markExtremes();
    }
    EXPECT_EQ(column(model, 0), QStringList({"00002", "00001"}));
    EXPECT_EQ(model.cellText(0, 4).trimmed(), QStringLiteral("Maximum temperature"));
}

TEST_F(DataTableTest, SelectionFollowsItsRowsThroughASort) {
    for (float temperature : {3.0f, 1.0f, 2.0f}) {
        addSample(temperature, 50.0f);
    }
    DataTableView view(0, dataSet, messages);
    view.fill();
    QItemSelectionModel* selection = view.table()->selectionModel();
    selection->select(view.model()->index(0, 0),
                      QItemSelectionModel::Select | QItemSelectionModel::Rows);
    view.columnClick(2);
    const std::vector<int> rows = view.selectedRows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(view.model()->recordAt(rows[0]), 1);
    EXPECT_EQ(rows[0], 2);
}

TEST_F(DataTableTest, PaneNamesGeometryAndColumnShares) {
    DataTableView view(2, dataSet, messages);
    EXPECT_EQ(view.objectName(), QStringLiteral("Picture3_2"));
    EXPECT_EQ(view.table()->objectName(), QStringLiteral("ListView1_2"));
    EXPECT_EQ(view.table()->accessibleName(), QStringLiteral("File"));
    // A hidden pane is laid out when it is shown.
    view.resize(1015, 415);
    view.show();
    EXPECT_EQ(view.table()->geometry(), QRect(7, 7, 1001, 401));
    const int shares[] = {13, 19, 13, 13, 42};
    for (int column = 0; column < 5; ++column) {
        EXPECT_EQ(view.table()->columnWidth(column), 1001 * shares[column] / 100) << column;
    }
    // Later resizes move the table but keep the columns.
    view.resize(515, 215);
    EXPECT_EQ(view.table()->geometry(), QRect(7, 7, 501, 201));
    EXPECT_EQ(view.table()->columnWidth(4), 1001 * 42 / 100);
}

}  // namespace
