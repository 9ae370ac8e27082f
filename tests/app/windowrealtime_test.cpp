// Real-time measurement through the main window: its buttons, unit options and count list, a
// continuous run shown in the read-outs, table and graphs, and its CSV copy reopened.
#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QComboBox>
#include <QTableView>

#include "endtoend.h"
#include "graph/graphpanel.h"
#include "ui/datatable.h"

namespace {

using e2e::Rig;
using I = ControlId;

TEST(EndToEnd, ContinuousRunThroughTheWindowThenOneMeasurement) {
    Rig rig(QStringLiteral("runs"));
    e2e::connectLogger(rig);
    const MessageTable& messages = rig.window->messages();
    auto* count = rig.window->controls().as<QComboBox>(I::RepeatCountList);
    ASSERT_TRUE(rig.click(I::RealTimeDataOption));
    ASSERT_TRUE(rig.click(I::RepeatMinutesOption));
    EXPECT_EQ(rig.text(I::RepeatUnitLabel), messages.text(Msg::MinutesOption));
    ASSERT_TRUE(rig.click(I::RepeatSecondsOption));
    EXPECT_EQ(count->currentText(), QStringLiteral("2"));
    count->setCurrentText(QStringLiteral("5"));

    ASSERT_TRUE(rig.click(I::ContinuousButton));
    ASSERT_TRUE(rig.runProcedure());
    EXPECT_EQ(rig.text(I::ContinuousButton), messages.text(Msg::StopContinuousButton));
    GraphPanel* graphs = rig.window->layout().graphPanel;
    EXPECT_TRUE(graphs->bar(TimeWidthBar)->isHidden());
    rig.advance(10000);
    ASSERT_TRUE(rig.runProcedure());
    const std::vector<Sample> run = rig.samples(RealTimeData);
    ASSERT_EQ(run.size(), 3u);
    EXPECT_EQ(rig.window->table(RealTimeData)->table()->model()->rowCount(), 3);
    EXPECT_EQ(rig.text(I::MeasuredTimeReadout), datetime::format(run.back().dateTime));

    ASSERT_TRUE(rig.click(I::ContinuousButton));
    EXPECT_EQ(rig.prompter.questionTexts(), QStringList{messages.text(Msg::AskSaveMeasurement)});
    EXPECT_EQ(rig.text(I::ContinuousButton), messages.text(Msg::ContinuousButton));
    EXPECT_FALSE(graphs->bar(TimeWidthBar)->isHidden());
    e2e::expectCsvRoundTrip(rig, RealTimeData, run);

    // Opening the saved file showed the file data; back to the real-time pane.
    ASSERT_TRUE(rig.click(I::RealTimeDataOption));
    ASSERT_TRUE(rig.click(I::MeasureOnceButton));
    ASSERT_TRUE(rig.runProcedure());
    EXPECT_EQ(rig.samples(RealTimeData).size(), 1u);
}

}  // namespace
