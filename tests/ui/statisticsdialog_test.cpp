// The Statistics dialog shows the analysis figures of the data set on display, whole and inside
// the graphs' visible window, and its window column follows the graphs when they scroll.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <cmath>

#include "graph/graphpanel.h"
#include "graph/graphview.h"
#include "samplefixture.h"
#include "ui/statisticsdialog.h"

namespace {

constexpr double kStart = 45413.25;  // 2024/05/01 06:00:00
constexpr int kSamples = 500;        // under 32767 s: one second a scroll step

class StatisticsDialogTest : public SampleFixture {
  protected:
    void SetUp() override {
        SampleFixture::SetUp();
        dataSet.interval = 60;
        dataSet.model = QStringLiteral("QM320-HX");
        dataSet.upperBound = 25;
        dataSet.upperOn = 1;
        for (int i = 0; i < kSamples; ++i) {
            // A warm spell over the upper bound in the middle.
            const float warm = i >= 300 && i < 330 ? 5.0F : 0.0F;
            addSample(static_cast<float>(21 + 2 * std::sin(i / 40.0)) + warm,
                      static_cast<float>(55 + 10 * std::cos(i / 70.0)), kStart + i * 60 / 86400.0);
        }
        view.setDataSets(&dataSet, &dataSet, &dataSet);
        view.setMessages(&messages);
        view.selectDisplay(RealTimeData, 0);
        view.fitSequence();
    }

    // Lets the dialog's pending recomputation run, within a bounded time.
    void settle() {
        const QDeadlineTimer deadline(5000);
        while (dialog.refreshPending() && !deadline.hasExpired()) {
            QCoreApplication::processEvents();
        }
        ASSERT_FALSE(dialog.refreshPending());
    }

    void expectShows(StatisticsDialog::Column column, const analysis::Figures& expected) {
        for (const FigureRow& row : figureRows(expected, messages)) {
            EXPECT_EQ(dialog.valueText(row.label, column), row.value)
                << messages.text(row.label).toStdString();
        }
    }

    GraphPanel panel{nullptr};
    GraphView& view = panel.view();
    StatisticsDialog dialog{view, messages};
};

TEST_F(StatisticsDialogTest, ShowsTheAnalysisFiguresOfTheWholeDataSet) {
    dialog.show();
    const std::vector<analysis::Reading> readings = *analysis::readReadings(dataSet);
    const analysis::Figures whole =
        analysis::figuresOf(readings, 60, analysis::Bounds{25.0, std::nullopt});
    expectShows(StatisticsDialog::WholeColumn, whole);
    // Fitted: the window holds every sample.
    expectShows(StatisticsDialog::WindowColumn, whole);
    EXPECT_EQ(dialog.valueText(Msg::StatsCount, StatisticsDialog::WholeColumn),
              QString::number(kSamples));
    ASSERT_EQ(whole.excursions.list.size(), 1U);
    EXPECT_EQ(dialog.excursionTexts(),
              QStringList{excursionText(whole.excursions.list.front(), messages)});
}

TEST_F(StatisticsDialogTest, TheWindowColumnFollowsAScroll) {
    dialog.show();
    // Two hours wide, scrolled back by three hours from the end.
    panel.bar(TimeWidthBar)->setValue(7200);
    panel.bar(TimePositionBar)->setValue(3 * 3600);
    ASSERT_TRUE(dialog.refreshPending());
    settle();
    const analysis::Figures& window = dialog.figures(StatisticsDialog::WindowColumn);
    EXPECT_EQ(window.summary.count, 121);
    // The same samples the graphs' own window statistics took.
    EXPECT_FLOAT_EQ(static_cast<float>(window.summary.temperature.maximum.value),
                    static_cast<float>(dataSet.windowStats.maxTemperature));
    EXPECT_EQ(window.summary.temperature.maximum.record, dataSet.windowStats.maxTemperatureRecord);
    EXPECT_FLOAT_EQ(static_cast<float>(window.summary.humidity.minimum.value),
                    static_cast<float>(dataSet.windowStats.minHumidity));
    const std::vector<analysis::Reading> readings = *analysis::readReadings(dataSet);
    const std::optional<VisibleTimes> times = view.visibleTimes();
    ASSERT_TRUE(times.has_value());
    expectShows(StatisticsDialog::WindowColumn,
                analysis::figuresOf(analysis::within(readings, times->from, times->to), 60,
                                    analysis::Bounds{25.0, std::nullopt}));
    EXPECT_EQ(dialog.valueText(Msg::StatsCount, StatisticsDialog::WholeColumn),
              QString::number(kSamples));
}

TEST_F(StatisticsDialogTest, AHiddenDialogDoesNotRecompute) {
    panel.bar(TimeWidthBar)->setValue(3600);
    EXPECT_FALSE(dialog.refreshPending());
}

}  // namespace
