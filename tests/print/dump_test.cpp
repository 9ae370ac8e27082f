// Dump pages: the selection statistics, page breaks with repeated headings and footers, the
// agreement of printed rows and statistics, cut remarks, and the empty selection.
#include <gtest/gtest.h>

#include <QItemSelectionModel>
#include <QRegularExpression>
#include <QScrollBar>
#include <numeric>

#include "print/printpage.h"
#include "printkit.h"

using namespace printtest;

namespace {

const double kStart = dayCountOf(2024, 3, 10, 8, 0, 0);

float temperatureAt(int i) {
    return static_cast<float>(15 + (i * 37) % 23) + 0.25F;
}

float humidityAt(int i) {
    return static_cast<float>(30 + (i * 53) % 41) + 0.5F;
}

void select(DataTableView& table, const std::vector<int>& rows) {
    QItemSelectionModel* selection = table.table()->selectionModel();
    selection->clearSelection();
    for (int row : rows) {
        selection->select(table.model()->index(row, 0),
                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
}

// Prints the real-time data set's dump; the pages in printing order.
QStringList printDump(PrintRig& rig, const QString& name) {
    const QString pdf = rig.path(name);
    rig.answerFile(pdf);
    EXPECT_EQ(rig.operations.Real_D_Print().status, PrintStatus::Printed);
    return pdfPages(pdf, true);
}

struct PrintedRow {
    int record;
    double temperature;
    double humidity;
};

// The table rows of a page: record number, date, time, temperature, humidity.
std::vector<PrintedRow> rowsOf(const QString& page) {
    static const QRegularExpression row(
        QStringLiteral("^(\\d{5}) \\d{4}/\\d\\d/\\d\\d \\d\\d:\\d\\d:\\d\\d (-?\\d+\\.\\d\\d) "
                       "(-?\\d+\\.\\d\\d)"));
    std::vector<PrintedRow> rows;
    for (const QString& line : printedLines(page)) {
        const QRegularExpressionMatch m = row.match(line);
        if (m.hasMatch()) {
            rows.push_back(
                {m.captured(1).toInt(), m.captured(2).toDouble(), m.captured(3).toDouble()});
        }
    }
    return rows;
}

// The four lines under "Range of selection".
QStringList selectionBlock(const QString& firstPage) {
    const QStringList lines = printedLines(firstPage);
    return lines.mid(lines.indexOf(QStringLiteral("Range of selection")) + 1, 4);
}

QString recordText(int record) {
    return QStringLiteral("%1").arg(record, 5, 10, QLatin1Char('0'));
}

// Line height of the current printer's page, in page units.
double lineHeight(PrintRig& rig) {
    QPrinter& printer = rig.choice.settings();
    printer.setOutputFileName(rig.path(QStringLiteral("measure.pdf")));
    QPainter painter(&printer);
    return PrintPage(painter, printer, rig.renderer.font(), rig.messages.text(1073),
                     PrintPage::kDumpMargin)
        .lh();
}

}  // namespace

TEST(DumpPrint, OneSelectedRowIsEveryExtremeOfTheSelection) {
    PrintRig rig;
    rig.fill(RealTimeData, kStart, 30, 10, temperatureAt, humidityAt);
    select(rig.table(RealTimeData), {6});
    const QStringList pages = printDump(rig, QStringLiteral("one.pdf"));
    ASSERT_EQ(pages.size(), 1);
    const QString sample = QStringLiteral("00007 2024/03/10 08:01:00 ");
    const QString t = QString::number(temperatureAt(6), 'f', 2) + QStringLiteral(" C");
    const QString h = QString::number(humidityAt(6), 'f', 2) + QStringLiteral(" %RH");
    EXPECT_EQ(selectionBlock(pages.first()),
              QStringList({"Maximum temperature " + sample + t, "Minimum temperature " + sample + t,
                           "Maximum humidity " + sample + h, "Minimum humidity " + sample + h}));
    ASSERT_EQ(rowsOf(pages.first()).size(), 1U);
    EXPECT_EQ(rowsOf(pages.first()).front().record, 7);
}

TEST(DumpPrint, LongSelectionsBreakPagesWhereTheFooterStillFits) {
    PrintRig rig;
    rig.fill(RealTimeData, kStart, 260, 10, temperatureAt, humidityAt);
    std::vector<int> selected(200);
    std::iota(selected.begin(), selected.end(), 30);
    select(rig.table(RealTimeData), selected);
    const QStringList pages = printDump(rig, QStringLiteral("long.pdf"));

    // A row at y closes its page when y + 4 lh passes the foot of the page; the headings sit at
    // 14 lh under the header on the first page and at 3 lh on the others.
    const double lh = lineHeight(rig);
    std::vector<int> expected;
    int left = 200;
    for (double headings = 14 * lh; left > 0; headings = 3 * lh) {
        int rows = 1;
        while (headings + (rows + 4) * lh <= PrintPage::kScale) {
            ++rows;
        }
        expected.push_back(std::min(rows, left));
        left -= rows;
    }
    ASSERT_EQ(static_cast<std::size_t>(pages.size()), expected.size());
    int next = 31;
    for (qsizetype p = 0; p < pages.size(); ++p) {
        SCOPED_TRACE(p + 1);
        const std::vector<PrintedRow> rows = rowsOf(pages[p]);
        ASSERT_EQ(rows.size(), static_cast<std::size_t>(expected[static_cast<std::size_t>(p)]));
        EXPECT_EQ(rows.front().record, next);
        next = rows.back().record + 1;
        // The headings (Remarks overlaps the wide humidity heading), then the page number and
        // the name at the foot.
        const QStringList lines = printedLines(pages[p]);
        const int headings = lines.indexOf(QStringLiteral("Record No Date Temp (°C) Humi (%RH)"));
        ASSERT_GE(headings, 0);
        EXPECT_EQ(lines.value(headings + 1), QStringLiteral("Remarks"));
        EXPECT_EQ(lines.mid(lines.size() - 2), QStringList({QString::number(p + 1), "RT02"}));
    }
    EXPECT_EQ(next, 231);
}

TEST(DumpPrint, PrintedRowsAndSelectionStatisticsAgreeWhateverIsOnScreen) {
    PrintRig rig;
    rig.fill(RealTimeData, kStart, 400, 10, temperatureAt, humidityAt);
    rig.add(RealTimeData, kStart + 4000 / 86400.0, 20.0F, 50.0F, QString(50, QLatin1Char('W')));
    DataTableView& table = rig.table(RealTimeData);
    // Sorted by temperature, highest first; every seventh row selected.
    table.columnClick(DataTableModel::TemperatureColumn);
    table.columnClick(DataTableModel::TemperatureColumn);
    std::vector<int> selected;
    for (int row = 3; row < 401; row += 7) {
        selected.push_back(row);
    }
    selected.push_back(table.model()->rowCount() - 1);
    const int longRemarks = [&] {
        for (int row = 0; row < table.model()->rowCount(); ++row) {
            if (table.model()->recordAt(row) == 401) {
                return row;
            }
        }
        return -1;
    }();
    selected.push_back(longRemarks);
    std::sort(selected.begin(), selected.end());
    selected.erase(std::unique(selected.begin(), selected.end()), selected.end());
    select(table, selected);

    QStringList printed[2];
    for (int view = 0; view < 2; ++view) {
        QScrollBar* bar = table.table()->verticalScrollBar();
        bar->setValue(view == 0 ? bar->minimum() : bar->maximum());
        printed[view] = printDump(rig, QStringLiteral("view%1.pdf").arg(view));
    }
    EXPECT_EQ(printed[0], printed[1]);

    std::vector<PrintedRow> rows;
    for (const QString& page : printed[0]) {
        const std::vector<PrintedRow> pageRows = rowsOf(page);
        rows.insert(rows.end(), pageRows.begin(), pageRows.end());
    }
    ASSERT_EQ(rows.size(), selected.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].record, table.model()->recordAt(selected[i]));
    }
    // The extremes of exactly the printed rows, the earliest record on ties.
    auto extreme = [&](auto value, bool maximum) {
        const PrintedRow* best = &rows.front();
        for (const PrintedRow& row : rows) {
            const bool better = maximum ? value(row) > value(*best) : value(row) < value(*best);
            if (better || (value(row) == value(*best) && row.record < best->record)) {
                best = &row;
            }
        }
        return recordText(best->record);
    };
    auto temperature = [](const PrintedRow& r) { return r.temperature; };
    auto humidity = [](const PrintedRow& r) { return r.humidity; };
    const QStringList block = selectionBlock(printed[0].first());
    ASSERT_EQ(block.size(), 4);
    EXPECT_TRUE(block[0].startsWith("Maximum temperature " + extreme(temperature, true)));
    EXPECT_TRUE(block[1].startsWith("Minimum temperature " + extreme(temperature, false)));
    EXPECT_TRUE(block[2].startsWith("Maximum humidity " + extreme(humidity, true)));
    EXPECT_TRUE(block[3].startsWith("Minimum humidity " + extreme(humidity, false)));

    // The long remarks end at the column's edge, on their own row.
    const QString all = printed[0].join(QLatin1Char('\n'));
    static const QRegularExpression ws(QStringLiteral("W+"));
    const QRegularExpressionMatch cut = ws.match(all);
    ASSERT_TRUE(cut.hasMatch());
    EXPECT_GT(cut.capturedLength(), 10);
    EXPECT_LT(cut.capturedLength(), 50);
    EXPECT_EQ(all.count(QLatin1Char('W')), cut.capturedLength());
}

TEST(DumpPrint, NothingSelectedIsReportedInsteadOfPrinted) {
    PrintRig rig;
    rig.fill(RealTimeData, kStart, 10, 10, temperatureAt, humidityAt);
    rig.answerFile(rig.path(QStringLiteral("none.pdf")));
    EXPECT_EQ(rig.operations.Real_D_Print().status, PrintStatus::NothingToPrint);
    EXPECT_EQ(rig.prompter.messages,
              QStringList{QStringLiteral("QM320-HX: No data is selected for printing.")});
    EXPECT_TRUE(rig.prompter.saveQuestions.isEmpty());
    EXPECT_FALSE(QFile::exists(rig.path(QStringLiteral("none.pdf"))));
}
