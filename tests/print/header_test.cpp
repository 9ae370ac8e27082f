// The page header as printed: fact lines per model and interval, record numbers, and the
// selection block of a window that holds no sample.
#include <gtest/gtest.h>

#include <QRegularExpression>

#include "printkit.h"

using namespace printtest;

namespace {

const double kStart = dayCountOf(2024, 5, 1, 10, 17, 30);

// Prints the log data set's graph page to a PDF file; the page's lines in printing order.
QStringList printGraphPage(PrintRig& rig) {
    const QString pdf = rig.path(QStringLiteral("graph.pdf"));
    rig.answerFile(pdf);
    EXPECT_EQ(rig.operations.Log_G_Print().status, PrintStatus::Printed);
    const QStringList pages = pdfPages(pdf, true);
    EXPECT_EQ(pages.size(), 1);
    return pages.isEmpty() ? QStringList() : printedLines(pages.first());
}

struct HeaderCase {
    const char* model;
    int interval;
    bool upperOn;
    bool lowerOn;
    const char* intervalLine;
    std::vector<const char*> boundLines;
};

}  // namespace

TEST(PageHeader, PrintsTheFactsOfTheDataSet) {
    const HeaderCase cases[] = {
        {"QM300-HX", 60, true, true, "Record interval 1 Min", {}},
        {"QM320-HX",
         90,
         false,
         false,
         "Record interval 1 Min 30 Sec",
         {"Upper bound OFF", "Lower bound OFF"}},
        {"QM320-HX",
         120,
         true,
         true,
         "Record interval 2 Min",
         {"Upper bound ON 30 C", "Lower bound ON -5 C"}},
        {"QM320-HX",
         45,
         true,
         false,
         "Record interval 45 Sec",
         {"Upper bound ON 30 C", "Lower bound OFF"}},
    };
    for (const HeaderCase& c : cases) {
        SCOPED_TRACE(std::string(c.model) + " " + std::to_string(c.interval));
        PrintRig rig;
        // The temperature peaks at sample 123.
        rig.fill(
            LogData, kStart, 150, c.interval,
            [](int i) { return i == 122 ? 35.5F : 20.0F + (i % 7) * 0.5F; },
            [](int i) { return 40.0F + (i % 11); });
        DataSet& set = rig.set(LogData);
        set.model = QString::fromLatin1(c.model);
        set.upperBound = 30;
        set.upperOn = c.upperOn ? 1 : 0;
        set.lowerBound = -5;
        set.lowerOn = c.lowerOn ? 1 : 0;
        rig.fitGraph(LogData);

        const QStringList lines = printGraphPage(rig);
        QStringList facts{QStringLiteral("Recognition name LG01"),
                          QStringLiteral("Start time 2024/05/01 10:17:30"),
                          QStringLiteral("Recording points 150 Point"),
                          QString::fromLatin1(c.intervalLine)};
        for (const char* bound : c.boundLines) {
            facts.append(QString::fromLatin1(bound));
        }
        EXPECT_EQ(lines.mid(lines.indexOf(facts.first()), facts.size()), facts);
        EXPECT_EQ(lines.filter(QRegularExpression(QStringLiteral("^(Upper|Lower) bound"))).size(),
                  static_cast<qsizetype>(c.boundLines.size()));
        const QDateTime peak =
            QDateTime(QDate(2024, 5, 1), QTime(10, 17, 30)).addSecs(122LL * c.interval);
        const QString maximum = QStringLiteral("Maximum temperature 00123 ") +
                                peak.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")) +
                                QStringLiteral(" 35.50 C");
        // Once for all records, once for the window, which holds the whole data set.
        EXPECT_EQ(lines.count(maximum), 2) << lines.join(QLatin1Char('\n')).toStdString();
    }
}

TEST(PageHeader, AWindowWithoutSamplesPrintsDashesAndReadsNothing) {
    PrintRig rig;
    rig.fill(
        LogData, kStart, 20, 60, [](int i) { return 20.0F + i; }, [](int) { return 50.0F; });
    rig.fitGraph(LogData);
    // A 10 s window from 35 to 25 s before the last sample, between two samples; stale record
    // numbers from an earlier window must not be read.
    rig.bars[TimeWidthBar].setValue(10);
    updateScrollRanges(rig.bars, timeBaseOf(kStart, kStart + 19 * 60 / 86400.0), false);
    rig.bars[TimePositionBar].setValue(25);
    rig.bars[HumidityTimePositionBar] = rig.bars[TimePositionBar];
    DataSet& set = rig.set(LogData);
    set.windowStats.maxTemperatureRecord = 7;
    set.windowStats.minHumidityRecord = 9;

    const QStringList lines = printGraphPage(rig);
    const int selection = lines.indexOf(QStringLiteral("Range of selection"));
    ASSERT_GE(selection, 0);
    const QStringList labels{
        QStringLiteral("Maximum temperature"), QStringLiteral("Minimum temperature"),
        QStringLiteral("Maximum humidity"), QStringLiteral("Minimum humidity")};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(lines.value(selection + 1 + i),
                  labels[i] + QStringLiteral(" ----- ----/--/-- --:--:-- -.--"));
    }
    EXPECT_EQ(set.windowStats.maxTemperature, -10000.0);
}
