// The summary report page: its layout keeps every text inside the page and clear of every other
// text and of the graphs, whatever the lengths; printed to PDF it carries the header, the
// figures, the excursions and both graphs on one page, in both languages.
#include <gtest/gtest.h>

#include <QRegularExpression>
#include <cmath>

#include "print/reportprint.h"
#include "printkit.h"

using namespace printtest;

namespace {

constexpr double kLineHeight = 160;
constexpr double kCharWidth = 55;

// Every character equally wide (bold a little wider), so lengths decide the layout.
double charWidths(const QString& text, bool bold) {
    return static_cast<double>(text.size()) * kCharWidth * (bold ? 1.1 : 1.0);
}

struct LayoutCase {
    const char* name;
    int headerWidth;  // characters per header line
    int valueWidth;   // characters per figure value
    int excursions;
};

ReportContent contentOf(const LayoutCase& c) {
    ReportContent content;
    content.title = QStringLiteral("Summary report");
    for (int i = 0; i < 7; ++i) {
        content.header.append(QString(c.headerWidth, QLatin1Char('h')));
    }
    for (int i = 0; i < 18; ++i) {
        content.figures.emplace_back(QStringLiteral("Figure label %1").arg(i),
                                     QString(c.valueWidth, QLatin1Char('v')));
    }
    content.excursionHeading = QStringLiteral("Excursions");
    content.excursions = [total = c.excursions](int most) {
        QStringList lines;
        const int shown = total <= most ? total : most - 1;
        for (int i = 0; i < shown; ++i) {
            lines.append(QStringLiteral("Above 2024/05/01 10:00:00 excursion %1").arg(i));
        }
        if (shown < total) {
            lines.append(QStringLiteral("and %1 more").arg(total - shown));
        }
        return lines;
    };
    return content;
}

bool overlap(const QRectF& a, const QRectF& b) {
    const QRectF both = a.intersected(b);
    return both.width() > 1e-6 && both.height() > 1e-6;
}

class ReportLayoutTest : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(ReportLayoutTest, TextsStayInsideThePageAndClearOfEachOtherAndOfTheGraphs) {
    const ReportLayout layout = layOutReport(contentOf(GetParam()), charWidths, kLineHeight);
    const QRectF pageRect(0, 0, PrintPage::kScale, PrintPage::kScale);
    std::vector<QRectF> graphs = {layout.temperatureGraph, layout.humidityGraph};
    for (const QRectF& graph : graphs) {
        EXPECT_TRUE(pageRect.contains(graph));
        EXPECT_GE(graph.height(), kReportGraphShare * PrintPage::kScale / 2 - 2 * kLineHeight);
    }
    EXPECT_FALSE(overlap(graphs[0], graphs[1]));
    for (std::size_t i = 0; i < layout.texts.size(); ++i) {
        const ReportText& a = layout.texts[i];
        SCOPED_TRACE(a.text.toStdString());
        EXPECT_TRUE(pageRect.contains(a.rect));
        EXPECT_GT(a.rect.width(), 0);
        for (const QRectF& graph : graphs) {
            EXPECT_FALSE(overlap(a.rect, graph));
        }
        for (std::size_t j = i + 1; j < layout.texts.size(); ++j) {
            EXPECT_FALSE(overlap(a.rect, layout.texts[j].rect))
                << layout.texts[j].text.toStdString();
        }
    }
}

TEST_P(ReportLayoutTest, TheExcursionListIsCutWithTheCountOfTheRest) {
    const LayoutCase& c = GetParam();
    const ReportLayout layout = layOutReport(contentOf(c), charWidths, kLineHeight);
    int listed = 0;
    QString more;
    for (const ReportText& text : layout.texts) {
        listed += text.text.startsWith(QLatin1String("Above"));
        if (text.text.startsWith(QLatin1String("and "))) {
            more = text.text;
        }
    }
    if (more.isEmpty()) {
        EXPECT_EQ(listed, c.excursions);
    } else {
        EXPECT_LT(listed, c.excursions);
        EXPECT_EQ(more, QStringLiteral("and %1 more").arg(c.excursions - listed));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lengths, ReportLayoutTest,
    ::testing::Values(LayoutCase{"Short", 30, 20, 3}, LayoutCase{"NoExcursions", 30, 20, 0},
                      LayoutCase{"ManyExcursions", 30, 20, 200},
                      // Header and figures too wide side by side: the figures go below.
                      LayoutCase{"WideHeader", 90, 40, 12},
                      // Wider than the page: drawn smaller, the rect held at the margin.
                      LayoutCase{"TooWide", 200, 200, 5}),
    [](const auto& info) { return std::string(info.param.name); });

// A day of hourly samples over the upper bound twice and under the lower bound once.
void fillWithExcursions(PrintRig& rig) {
    const double start = dayCountOf(2024, 5, 1, 0, 0, 0);
    rig.fill(
        LogData, start, 24 * 60, 60,
        [](int i) {
            const int hour = i / 60;
            return hour == 3 || hour == 15 ? 27.5F : hour == 9 ? 16.5F : 21.0F + (i % 7) * 0.1F;
        },
        [](int i) { return static_cast<float>(50 + 8 * std::sin(i / 90.0)); });
    DataSet& set = rig.set(LogData);
    set.model = QStringLiteral("QM320-HX");
    set.upperBound = 25;
    set.upperOn = 1;
    set.lowerBound = 18;
    set.lowerOn = 1;
}

// Share of non-white pixels in a band of the page image.
double inkIn(const QImage& page, double top, double bottom) {
    int ink = 0;
    int all = 0;
    for (int y = static_cast<int>(top * page.height()); y < bottom * page.height(); ++y) {
        for (int x = 0; x < page.width(); ++x) {
            ink += qGray(page.pixel(x, y)) < 200;
            ++all;
        }
    }
    return all > 0 ? static_cast<double>(ink) / all : 0;
}

struct LanguageCase {
    Language language;
    const char* title;
    const char* meanKinetic;
};

class ReportPdfTest : public ::testing::TestWithParam<LanguageCase> {};

TEST_P(ReportPdfTest, OnePageWithHeaderFiguresExcursionsAndBothGraphs) {
    PrintRig rig;
    rig.messages.fill(GetParam().language);
    fillWithExcursions(rig);
    const QString pdf = rig.path(QStringLiteral("report.pdf"));
    const PrintOutcome outcome = rig.operations.run({LogData, PrintKind::Report, pdf});
    ASSERT_EQ(outcome.status, PrintStatus::Printed)
        << rig.prompter.messages.join('\n').toStdString();
    ASSERT_EQ(pdfPageCount(pdf), 1);
    const QString text = pdfPages(pdf).value(0).simplified();
    EXPECT_TRUE(text.contains(QString::fromUtf8(GetParam().title)));
    EXPECT_TRUE(text.contains(QString::fromUtf8(GetParam().meanKinetic)));
    EXPECT_TRUE(text.contains(QStringLiteral("QM320-HX")));
    EXPECT_TRUE(text.contains(QStringLiteral("LG01")));
    EXPECT_TRUE(text.contains(QStringLiteral("2024/05/01 03:00:00")));  // first excursion
    EXPECT_TRUE(text.contains(rig.messages.text(Msg::ExcursionBelow)));
    // Both graphs: ink in the upper and in the lower part of the graph area.
    const QImage page = pdfImage(pdf, 40);
    ASSERT_FALSE(page.isNull());
    EXPECT_GT(inkIn(page, 0.55, 0.75), 0.02);
    EXPECT_GT(inkIn(page, 0.78, 0.97), 0.02);
}

INSTANTIATE_TEST_SUITE_P(
    Languages, ReportPdfTest,
    ::testing::Values(LanguageCase{Language::English, "Summary report", "Mean kinetic temperature"},
                      LanguageCase{Language::Japanese, "集計レポート", "平均キネティック温度"}),
    [](const auto& info) {
        return info.param.language == Language::English ? "English" : "Japanese";
    });

TEST(ReportDialog, TheSummaryReportBoxAsksForTheReportPage) {
    PrintRig rig;
    fillWithExcursions(rig);
    const QString pdf = rig.path(QStringLiteral("chosen.pdf"));
    rig.answerFile(pdf);
    rig.user = [](PrinterDialog& dialog) {
        auto& graph = static_cast<GraphPrintDialog&>(dialog);
        graph.reportBox()->click();
        graph.printButton()->click();
    };
    EXPECT_EQ(rig.operations.showPrintDialog(LogData, 0, nullptr).status, PrintStatus::Printed);
    EXPECT_TRUE(pdfPages(pdf).value(0).contains(QStringLiteral("Summary report")));
}

}  // namespace
