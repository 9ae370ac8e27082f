// Graph view controller: fit sequence, zoom buttons, redraw triggers and guard, per-data-set
// views, display selection and the cursor read-out, driven through the panel's widgets.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <algorithm>
#include <vector>

#include "data/messagetable.h"
#include "graph/graphpanel.h"
#include "graph/graphview.h"
#include "graphtestdata.h"

namespace {

const double kStart = dayCountOf(2024, 5, 1, 12, 0, 0);

class GraphViewTest : public ::testing::Test {
  protected:
    GraphViewTest() : panel(nullptr), view(panel.view()) {
        messages.fillEnglish();
        view.setMessages(&messages);
        view.setDataSets(&log.set, &real.set, &file.set);
        // Log: one hour every 10 s, 20..26 °C and 40..60 %RH.
        log.fill(
            kStart, 361, 10, [](int i) { return 20.0F + (i % 61) * 0.1F; },
            [](int i) { return 40.0F + (i % 201) * 0.1F; });
        // File: a day every 10 min, constant readings.
        file.fill(
            kStart, 145, 600, [](int) { return -5.0F; }, [](int) { return 99.0F; });
    }

    int widgetValue(BarIndex i) const { return panel.bar(i)->value(); }

    MessageTable messages;
    TestDataSet log{QStringLiteral("log.rand")};
    TestDataSet real{QStringLiteral("real.rand")};
    TestDataSet file{QStringLiteral("read.rand")};
    GraphPanel panel;
    GraphView& view;
};

}  // namespace

TEST_F(GraphViewTest, PanelHoldsEveryNamedControlWithANameForTheUser) {
    for (const char* name :
         {"ondo",      "situdo",    "HScroll1",  "HScroll2",  "HScroll3",  "HScroll4",
          "VScroll1",  "VScroll2",  "VScroll3",  "VScroll4",  "Command3",  "Command10",
          "Command12", "Command15", "Command16", "Command17", "Command18", "Label30",
          "Label31",   "Label34",   "Label35",   "Label36",   "Label37"}) {
        QWidget* w = panel.findChild<QWidget*>(QLatin1String(name));
        ASSERT_NE(w, nullptr) << name;
        if (qobject_cast<QPushButton*>(w) != nullptr || qobject_cast<QScrollBar*>(w) != nullptr) {
            EXPECT_FALSE(w->accessibleName().isEmpty()) << name;
        }
    }
    EXPECT_EQ(panel.temperatureGraph()->geometry(), QRect(8, 8, 705, 209));
    EXPECT_EQ(panel.humidityGraph()->geometry(), QRect(8, 224, 705, 209));
    EXPECT_TRUE(panel.bar(HumidityTimeWidthBar)->isHidden());
    EXPECT_TRUE(panel.bar(HumidityTimePositionBar)->isHidden());
}

TEST_F(GraphViewTest, FitShowsTheWholeDataSetWidenedByTenPercent) {
    view.fitSequence();
    const Bars& b = view.bars();
    EXPECT_EQ(b[TemperatureSpanBar].value, 33);
    EXPECT_EQ(b[TemperatureCentreBar].value, 230);
    EXPECT_EQ(b[HumiditySpanBar].value, 110);
    EXPECT_EQ(b[HumidityCentreBar].value, 500);
    EXPECT_EQ(b[TimeWidthBar].first, 3601);
    EXPECT_EQ(b[TimeWidthBar].value, 3601);
    EXPECT_EQ(b[TimePositionBar].value, 0);
    EXPECT_EQ(b[HumidityTimeWidthBar].value, 3601);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(widgetValue(static_cast<BarIndex>(i)), b[i].value) << i;
    }
    // Widest at the left end: the larger number is shown first.
    EXPECT_TRUE(panel.bar(TimeWidthBar)->invertedAppearance());
    EXPECT_FALSE(panel.temperatureGraph()->image().isNull());
    EXPECT_FALSE(panel.humidityGraph()->image().isNull());
    EXPECT_EQ(log.set.drawnCount, 361);
    EXPECT_FALSE(view.redrawGuard());
    EXPECT_EQ(panel.rangeLabel(30)->text(), QStringLiteral("26.3°C"));
    EXPECT_EQ(panel.rangeLabel(31)->text(), QStringLiteral("19.7°C"));
    EXPECT_EQ(panel.rangeLabel(37)->text(), QStringLiteral("2024/05/01 13:00:00"));
    EXPECT_EQ(panel.rangeLabel(36)->text(), QStringLiteral("2024/05/01 11:59:59"));
}

TEST_F(GraphViewTest, ZoomButtonsMoveTheirBarAndRedraw) {
    view.fitSequence();
    struct Case {
        ZoomButton button;
        BarIndex bar;
        int expected;
    };
    const std::vector<Case> cases = {
        {ZoomButton::TimeNarrower, TimeWidthBar, 1800},
        {ZoomButton::TimeNarrower, TimeWidthBar, 900},
        {ZoomButton::TimeWider, TimeWidthBar, 1800},
        {ZoomButton::TemperatureNarrower, TemperatureSpanBar, 16},
        {ZoomButton::TemperatureWider, TemperatureSpanBar, 32},
        {ZoomButton::HumidityNarrower, HumiditySpanBar, 55},
        {ZoomButton::HumidityWider, HumiditySpanBar, 110},
    };
    for (const Case& c : cases) {
        log.set.drawnCount = 0;
        panel.button(c.button)->click();
        EXPECT_EQ(view.bars()[c.bar].value, c.expected);
        EXPECT_EQ(widgetValue(c.bar), c.expected);
        EXPECT_EQ(log.set.drawnCount, 361) << "no redraw after zoom";
    }
    // The humidity time bars follow the temperature ones.
    EXPECT_EQ(view.bars()[HumidityTimeWidthBar].value, 1800);
}

TEST_F(GraphViewTest, BarsDoNothingDuringContinuousMeasurement) {
    view.fitSequence();
    log.set.drawnCount = 0;
    view.setContinuous(true);
    panel.bar(TemperatureSpanBar)->setValue(100);
    EXPECT_EQ(log.set.drawnCount, 0);
    view.setContinuous(false);
    panel.bar(TemperatureSpanBar)->setValue(120);
    EXPECT_EQ(log.set.drawnCount, 361);
}

TEST_F(GraphViewTest, ScrollingTheTimeBarsMovesBothGraphs) {
    view.fitSequence();
    panel.button(ZoomButton::TimeNarrower)->click();  // 1800 s wide
    const QImage before = panel.humidityGraph()->image();
    panel.bar(TimePositionBar)->setValue(1000);
    EXPECT_EQ(view.bars()[HumidityTimePositionBar].value, 1000);
    EXPECT_NE(panel.humidityGraph()->image(), before);
    EXPECT_EQ(panel.rangeLabel(37)->text(), QStringLiteral("2024/05/01 12:43:20"));
}

TEST_F(GraphViewTest, EachDataSetKeepsItsOwnWindowAndImages) {
    view.fitSequence();
    panel.button(ZoomButton::TimeNarrower)->click();
    const Bars logBars = view.bars();
    const QImage logImage = panel.temperatureGraph()->image();

    QSignalSpy readout(&view, &GraphView::readoutChanged);
    QSignalSpy display(&view, &GraphView::displayChanged);
    ASSERT_TRUE(view.selectDisplay(FileData, GraphView::GraphKindView));
    EXPECT_EQ(readout.count(), 1);
    EXPECT_TRUE(readout.at(0).at(0).toString().isEmpty());
    EXPECT_EQ(display.count(), 1);
    EXPECT_EQ(view.Disp_stat(), FileData);
    EXPECT_TRUE(panel.temperatureGraph()->image().isNull());  // never drawn yet
    view.fitSequence();
    EXPECT_EQ(view.bars()[HumiditySpanBar].value, 27);
    // Centred at 99 %RH, half-span 2.7: the bar's end holds the centre at 97.3.
    EXPECT_EQ(panel.rangeLabel(34)->text(), QStringLiteral("100.0%"));
    const Bars fileBars = view.bars();

    log.set.drawnCount = 0;
    view.chooseDataSet(LogData);
    EXPECT_EQ(log.set.drawnCount, 0) << "restoring a view draws nothing";
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(view.bars()[i].value, logBars[i].value) << i;
        EXPECT_EQ(view.bars()[i].first, logBars[i].first) << i;
        EXPECT_EQ(widgetValue(static_cast<BarIndex>(i)), logBars[i].value) << i;
    }
    EXPECT_EQ(panel.temperatureGraph()->image(), logImage);
    EXPECT_EQ(log.set.view.bars[TimeWidthBar].value, logBars[TimeWidthBar].value);

    view.chooseDataSet(FileData);
    EXPECT_EQ(view.bars()[HumiditySpanBar].value, fileBars[HumiditySpanBar].value);
    EXPECT_EQ(view.bars()[TimeWidthBar].value, fileBars[TimeWidthBar].value);
}

TEST_F(GraphViewTest, OptionsActOnlyOnAChangeAndRefuseUnknownIndices) {
    QSignalSpy display(&view, &GraphView::displayChanged);
    view.chooseDataSet(LogData);
    view.chooseViewKind(GraphView::GraphKindView);
    EXPECT_EQ(display.count(), 0);
    view.selectFromMenu(RealTimeData, GraphView::DumpView);
    EXPECT_EQ(view.Disp_stat(), RealTimeData);
    EXPECT_EQ(view.viewKind(), GraphView::DumpView);
    EXPECT_EQ(display.count(), 2);
    EXPECT_FALSE(view.selectDisplay(3, 0));
    EXPECT_FALSE(view.selectDisplay(0, 2));
    EXPECT_EQ(view.Disp_stat(), RealTimeData);
    EXPECT_EQ(display.count(), 2);
}

TEST_F(GraphViewTest, EmptyDataSetLeavesBarsAloneAndDrawsNothing) {
    view.selectDisplay(RealTimeData, GraphView::GraphKindView);
    const Bars before = view.bars();
    view.fitSequence();
    panel.button(ZoomButton::TimeNarrower)->click();
    EXPECT_EQ(view.bars()[TemperatureSpanBar].value, before[TemperatureSpanBar].value);
    EXPECT_EQ(view.bars()[TimeWidthBar].first, before[TimeWidthBar].first);
    EXPECT_TRUE(panel.temperatureGraph()->image().isNull());
}

TEST_F(GraphViewTest, PrintDrawingFillsTheOffScreenPicturesInPrintColours) {
    view.fitSequence();
    view.drawTemperatureGraph(log.set, true);
    view.drawHumidityGraph(log.set, true);
    EXPECT_EQ(view.temperaturePrintImage().size(), QSize(705, 418));
    EXPECT_EQ(view.humidityPrintImage().size(), QSize(705, 418));
    EXPECT_EQ(view.temperaturePrintImage().pixelColor(1, 1), QColor(Qt::white));
}

TEST_F(GraphViewTest, CursorReadoutShowsTheSampleUnderThePointer) {
    view.fitSequence();
    QSignalSpy readout(&view, &GraphView::readoutChanged);
    struct Case {
        const char* name;
        double x;  // seconds before the right edge
        QString expected;
    };
    const QString last =
        QStringLiteral("Date 2024/05/01 13:00:00   Temperature 25.50°C   Humidity 55.90 %RH");
    const std::vector<Case> cases = {
        {"value_margin", -50, last},
        {"right_edge", 0, last},
        {"between_samples", 25,
         QStringLiteral("Date 2024/05/01 12:59:30   Temperature 25.20°C   Humidity 55.60 %RH")},
        {"exact_sample", 3590,
         QStringLiteral("Date 2024/05/01 12:00:10   Temperature 20.10°C   Humidity 40.10 %RH")},
        {"before_first", 3601,
         QStringLiteral("Date 2024/05/01 12:00:00   Temperature 20.00°C   Humidity 40.00 %RH")},
    };
    for (const Case& c : cases) {
        view.showCursorReadout(c.x, log.set);
        ASSERT_FALSE(readout.isEmpty());
        EXPECT_EQ(readout.takeLast().at(0).toString(), c.expected) << c.name;
    }
    view.setContinuous(true);
    view.showCursorReadout(25, log.set);
    EXPECT_TRUE(readout.takeLast().at(0).toString().isEmpty());
}

TEST(GraphXAtColumn, MapsDeviceColumnsToSecondsBeforeTheRightEdge) {
    GraphWindow w;
    w.width = 2000;
    EXPECT_DOUBLE_EQ(graphXAtColumn(w, 0, 640), 2000);
    EXPECT_DOUBLE_EQ(graphXAtColumn(w, 320, 640), 1000);
    EXPECT_DOUBLE_EQ(graphXAtColumn(w, 640, 640), 0);
    EXPECT_DOUBLE_EQ(graphXAtColumn(w, 704, 640), -200);
}

// A click in a position bar's trough moves the view by a share of what it shows (the whole
// width, half the height), whatever the bar's range; not by ten of its 32767 steps.
TEST_F(GraphViewTest, ATroughClickPagesByAShareOfTheView) {
    view.fitSequence();
    panel.button(ZoomButton::TimeNarrower)->click();
    panel.button(ZoomButton::TimeNarrower)->click();
    panel.button(ZoomButton::TemperatureNarrower)->click();
    const struct {
        BarIndex bar;
        BarIndex extent;  // the bar holding the width or half-height shown
    } cases[] = {{TimePositionBar, TimeWidthBar},
                 {TemperatureCentreBar, TemperatureSpanBar},
                 {HumidityCentreBar, HumiditySpanBar}};
    for (const auto& c : cases) {
        QScrollBar* widget = panel.bar(c.bar);
        const int before = widget->value();
        const int extent = view.bars()[c.extent].value;
        ASSERT_GE(extent, 16) << c.bar;
        widget->triggerAction(QAbstractSlider::SliderPageStepAdd);
        EXPECT_EQ(widget->value(), std::min(before + extent, widget->maximum())) << c.bar;
        EXPECT_EQ(view.bars()[c.bar].value, widget->value()) << c.bar;
    }
    EXPECT_EQ(panel.bar(TimePositionBar)->value(), 900);
}

TEST_F(GraphViewTest, MovingTheMouseOverEitherGraphReadsOutTheSampleUnderIt) {
    view.fitSequence();
    QSignalSpy readout(&view, &GraphView::readoutChanged);
    // The window is 3601 s wide over 705 columns; the plot's right edge is at column 671.
    for (GraphBox* box : {panel.temperatureGraph(), panel.humidityGraph()}) {
        for (int column : {700, 1}) {
            QMouseEvent move(QEvent::MouseMove, QPointF(column, 50),
                             box->mapToGlobal(QPointF(column, 50)), Qt::NoButton, Qt::NoButton,
                             Qt::NoModifier);
            QCoreApplication::sendEvent(box, &move);
            ASSERT_FALSE(readout.isEmpty());
            const QString text = readout.takeLast().at(0).toString();
            EXPECT_TRUE(text.startsWith(column == 700 ? QStringLiteral("Date 2024/05/01 13:00:00")
                                                      : QStringLiteral("Date 2024/05/01 12:00:00")))
                << text.toStdString();
        }
    }
}

// A cleared data set leaves nothing behind: not in the boxes while it is shown, not in its
// saved images, not in the range labels; the other data sets keep theirs.
TEST_F(GraphViewTest, ClearingADataSetEmptiesEveryViewOfIt) {
    view.selectDisplay(FileData, GraphView::GraphKindView);
    view.fitSequence();
    view.selectDisplay(LogData, GraphView::GraphKindView);
    view.fitSequence();
    ASSERT_FALSE(panel.rangeLabel(31)->text().isEmpty());
    const QImage logImage = panel.temperatureGraph()->image();
    ASSERT_FALSE(logImage.isNull());

    view.clearDataSet(FileData);
    EXPECT_EQ(panel.temperatureGraph()->image(), logImage);
    EXPECT_TRUE(view.savedImage(FileData, GraphKind::Temperature).isNull());

    log.set.count = 0;
    view.clearDataSet(LogData);
    for (int round = 0; round < 2; ++round) {
        EXPECT_TRUE(panel.temperatureGraph()->image().isNull());
        EXPECT_TRUE(panel.humidityGraph()->image().isNull());
        EXPECT_TRUE(panel.rangeLabel(31)->text().isEmpty());
        view.selectDisplay(RealTimeData, GraphView::GraphKindView);
        view.selectDisplay(LogData, GraphView::GraphKindView);
    }
}
