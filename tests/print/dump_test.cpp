// Dump pages: the selection statistics, page breaks with repeated headings and footers, the
// agreement of printed rows and statistics, cut remarks, headings within their columns, and
// the empty selection.
#include <gtest/gtest.h>

#include <QItemSelectionModel>
#include <QRegularExpression>
#include <QScrollBar>
#include <numeric>

#include "drawingrecorder.h"
#include "print/dumpprint.h"
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

// The record numbers of the table rows printed on a page.
std::vector<int> recordsOf(const QString& page) {
    static const QRegularExpression row(QStringLiteral("^(\\d{5}) \\d{4}/\\d\\d/\\d\\d "));
    std::vector<int> records;
    for (const QString& line : printedLines(page)) {
        const QRegularExpressionMatch m = row.match(line);
        if (m.hasMatch()) {
            records.push_back(m.captured(1).toInt());
        }
    }
    return records;
}

// The four lines under "Range of selection".
QStringList selectionBlock(const QString& firstPage) {
    const QStringList lines = printedLines(firstPage);
    return lines.mid(lines.indexOf(QStringLiteral("Range of selection")) + 1, 4);
}

// Line height of the current printer's page, in page units.
double lineHeight(PrintRig& rig) {
    QPrinter& printer = rig.choice.settings();
    printer.setOutputFileName(rig.path(QStringLiteral("measure.pdf")));
    QPainter painter(&printer);
    return PrintPage(painter, printer, rig.renderer.font(),
                     rig.messages.text(Msg::PrintMeasureLetter), PrintPage::kDumpMargin)
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
    EXPECT_EQ(recordsOf(pages.first()), std::vector<int>{7});
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
        const std::vector<int> records = recordsOf(pages[p]);
        ASSERT_EQ(records.size(), static_cast<std::size_t>(expected[static_cast<std::size_t>(p)]));
        EXPECT_EQ(records.front(), next);
        next = records.back() + 1;
        // The headings, then the page number and the name at the foot.
        const QStringList lines = printedLines(pages[p]);
        EXPECT_TRUE(lines.contains(QStringLiteral("Record No Date Temp (°C) Humi (%RH) Remarks")));
        EXPECT_EQ(lines.mid(lines.size() - 2), QStringList({QString::number(p + 1), "RT02"}));
    }
    EXPECT_EQ(next, 231);
}

TEST(DumpPrint, PrintedRowsAndSelectionStatisticsAgreeWhateverIsOnScreen) {
    PrintRig rig;
    rig.fill(RealTimeData, kStart, 400, 10, temperatureAt, humidityAt);
    rig.add(RealTimeData, kStart + 4000 / 86400.0, 20.0F, 50.0F, QString(50, QLatin1Char('W')));
    DataTableView& table = rig.table(RealTimeData);
    // Sorted by temperature, highest first; every seventh row and the long remarks selected.
    table.columnClick(TableRows::TemperatureColumn);
    table.columnClick(TableRows::TemperatureColumn);
    std::vector<int> selected;
    std::vector<int> selectedRecords;
    for (int row = 0; row < table.model()->rowCount(); ++row) {
        if (row % 7 == 3 || table.model()->recordAt(row) == 401) {
            selected.push_back(row);
            selectedRecords.push_back(table.model()->recordAt(row));
        }
    }
    select(table, selected);

    QStringList printed[2];
    for (int view = 0; view < 2; ++view) {
        QScrollBar* bar = table.table()->verticalScrollBar();
        bar->setValue(view == 0 ? bar->minimum() : bar->maximum());
        printed[view] = printDump(rig, QStringLiteral("view%1.pdf").arg(view));
    }
    EXPECT_EQ(printed[0], printed[1]);
    std::vector<int> records;
    for (const QString& page : printed[0]) {
        const std::vector<int> onPage = recordsOf(page);
        records.insert(records.end(), onPage.begin(), onPage.end());
    }
    EXPECT_EQ(records, selectedRecords);
    SampleStats stats;
    Sample sample;
    for (const int record : records) {
        rig.set(RealTimeData).read(record, sample);
        stats.update(sample);
    }
    const QStringList block = selectionBlock(printed[0].first());
    const int named[] = {stats.maxTemperatureRecord, stats.minTemperatureRecord,
                         stats.maxHumidityRecord, stats.minHumidityRecord};
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(
            block.value(i).contains(QStringLiteral(" %1 ").arg(named[i], 5, 10, QLatin1Char('0'))))
            << block.value(i).toStdString();
    }

    // The long remarks end at the column's edge, on their own row.
    const QString all = printed[0].join(QLatin1Char('\n'));
    const qsizetype cut = all.count(QLatin1Char('W'));
    EXPECT_GT(cut, 10);
    EXPECT_LT(cut, 50);
    EXPECT_TRUE(all.contains(QStringLiteral(" ") + QString(cut, QLatin1Char('W'))));
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

TEST(DumpPrint, NothingToPrintIsSaidBeforeAnyDialogOpens) {
    // A dump with no row selected, and either print of an empty data set.
    const struct {
        int dataSet;
        int viewKind;
    } cases[] = {{RealTimeData, 1}, {LogData, 1}, {LogData, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dataSet * 10 + c.viewKind);
        PrintRig rig;
        rig.fill(RealTimeData, kStart, 10, 10, temperatureAt, humidityAt);
        rig.answerFile(rig.path(QStringLiteral("none.pdf")));
        int opened = 0;
        rig.user = [&](PrinterDialog& dialog) {
            ++opened;
            dialog.printButton()->click();
        };
        EXPECT_EQ(rig.operations.showPrintDialog(c.dataSet, c.viewKind, nullptr).status,
                  PrintStatus::NothingToPrint);
        EXPECT_EQ(opened, 0);
        EXPECT_TRUE(rig.prompter.saveQuestions.isEmpty());
        EXPECT_EQ(rig.prompter.messages,
                  QStringList{QStringLiteral("QM320-HX: No data is selected for printing.")});
    }
}

TEST(DumpPrint, EachHeadingStaysBetweenTheRulesOfItsColumn) {
    PrintRig rig;
    rig.fill(RealTimeData, kStart, 5, 10, temperatureAt, humidityAt);
    DataTableView& table = rig.table(RealTimeData);
    for (const bool japanese : {false, true}) {
        SCOPED_TRACE(japanese ? "Japanese" : "English");
        japanese ? rig.messages.fillJapanese() : rig.messages.fillEnglish();
        table.retranslate();
        QPrinter& printer = rig.choice.settings();
        DrawingRecorder device(printer.pageLayout(), printer.resolution());
        QPainter painter(&device);
        PrintPage page(painter, device, rig.renderer.font(),
                       rig.messages.text(Msg::PrintMeasureLetter), PrintPage::kDumpMargin);
        ASSERT_TRUE(printDumpPages(page, {QStringLiteral("RT02"), kStart, 5, 10},
                                   rig.set(RealTimeData), table.model()->rows(), {0, 1, 2},
                                   rig.messages));
        painter.end();

        // The column rules run down the table; the headings are the bold texts beside them.
        std::vector<DrawnItem> rules;
        double tableTop = 1e9;
        for (const DrawnItem& item : device.items) {
            if (item.kind == DrawnItem::Line && item.line.dx() == 0) {
                rules.push_back(item);
                tableTop = std::min(tableTop, std::min(item.line.y1(), item.line.y2()));
            }
        }
        ASSERT_EQ(rules.size(), 6U);
        std::sort(rules.begin(), rules.end(),
                  [](const DrawnItem& a, const DrawnItem& b) { return a.line.x1() < b.line.x1(); });
        int headings = 0;
        for (const DrawnItem& item : device.items) {
            if (item.kind != DrawnItem::Text || !item.font.bold() ||
                item.rect.center().y() < tableTop || item.rect.center().y() > rules[0].line.y2()) {
                continue;
            }
            SCOPED_TRACE(item.text.toStdString());
            ASSERT_LT(headings, 5);
            const DrawnItem& left = rules[static_cast<std::size_t>(headings)];
            const DrawnItem& right = rules[static_cast<std::size_t>(headings) + 1];
            EXPECT_GE(item.rect.left(), left.line.x1() + left.penWidth / 2);
            EXPECT_LE(item.rect.right(), right.line.x1() - right.penWidth / 2);
            // Fitted, not cut: the whole heading is printed.
            EXPECT_EQ(
                item.text,
                table.model()->headerData(headings, Qt::Horizontal, Qt::DisplayRole).toString());
            ++headings;
        }
        EXPECT_EQ(headings, 5);
    }
}
