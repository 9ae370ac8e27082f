// Tables over the graph view arithmetic: time base, bar ranges, fit, zoom, windows and the
// grid and label rules.
#include <gtest/gtest.h>

#include <QDate>
#include <vector>

#include "graph/viewmath.h"

namespace {

// Days since 1899-12-30 of a calendar moment.
double dayCount(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    return QDate(1899, 12, 30).daysTo(QDate(y, mo, d)) + (h * 3600 + mi * 60 + s) / 86400.0;
}

std::int64_t secondsOf(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    return toWholeSeconds(dayCount(y, mo, d, h, mi, s));
}

}  // namespace

TEST(secondsBetween, RoundsHalfUpInWholeSeconds) {
    const double t0 = dayCount(2024, 5, 1, 12, 0, 0);
    struct Case {
        double b;
        std::int64_t expected;
    };
    const std::vector<Case> cases = {
        {t0, 0},
        {t0 + 1.0 / 86400, 1},
        {t0 + 1.0, 86400},
        {t0 + 0.4 / 86400, 0},
        {t0 + 0.6 / 86400, 1},
        {t0 - 1.0 / 86400, -1},
        {t0 - 0.6 / 86400, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(secondsBetween(t0, c.b), c.expected) << (c.b - t0) * 86400;
    }
}

TEST(TimeFields, BreaksWholeSecondsIntoCalendarFields) {
    const TimeFields f = timeFieldsOf(secondsOf(2024, 2, 29, 23, 59, 58));
    EXPECT_EQ(f.year, 2024);
    EXPECT_EQ(f.month, 2);
    EXPECT_EQ(f.day, 29);
    EXPECT_EQ(f.hour, 23);
    EXPECT_EQ(f.minute, 59);
    EXPECT_EQ(f.second, 58);
    EXPECT_EQ(fullDateTimeText(timeFieldsOf(secondsOf(2024, 5, 1, 9, 5, 3))),
              "2024/05/01 09:05:03");
}

TEST(TimeBase, StepUnitIsOneUpTo32767Seconds) {
    const double start = dayCount(2024, 5, 1);
    struct Case {
        std::int64_t span;
        double step;
    };
    for (const Case& c :
         std::vector<Case>{{0, 1}, {32767, 1}, {32768, 32768 / 32767.0}, {655340, 20}}) {
        const TimeBase b = timeBaseOf(start, start + c.span / 86400.0);
        EXPECT_EQ(b.span, c.span);
        EXPECT_DOUBLE_EQ(b.stepUnit, c.step) << c.span;
    }
}

struct RangeCase {
    const char* name;
    std::int64_t span;
    int width;  // TimeWidthBar value before the update
    bool continuous;
    int h1First, h1Value, h2First;
};

class UpdateScrollRangesTest : public ::testing::TestWithParam<RangeCase> {};

TEST_P(UpdateScrollRangesTest, SetsTimeBarEndsAndCopiesThemBesideHumidity) {
    const RangeCase& c = GetParam();
    Bars bars = initialBars();
    bars[TimeWidthBar].setValue(c.width);
    bars[TimePositionBar].setValue(123);
    const double start = dayCount(2024, 5, 1);
    updateScrollRanges(bars, timeBaseOf(start, start + c.span / 86400.0), c.continuous);
    EXPECT_EQ(bars[TimeWidthBar].first, c.h1First);
    EXPECT_EQ(bars[TimeWidthBar].second, 10);
    EXPECT_EQ(bars[TimeWidthBar].value, c.h1Value);
    EXPECT_EQ(bars[TimePositionBar].first, c.h2First);
    EXPECT_EQ(bars[TimePositionBar].second, 0);
    EXPECT_LE(bars[TimePositionBar].value, bars[TimePositionBar].upper());
    EXPECT_EQ(bars[HumidityTimeWidthBar].first, bars[TimeWidthBar].first);
    EXPECT_EQ(bars[HumidityTimeWidthBar].value, bars[TimeWidthBar].value);
    EXPECT_EQ(bars[HumidityTimePositionBar].first, bars[TimePositionBar].first);
    EXPECT_EQ(bars[HumidityTimePositionBar].value, bars[TimePositionBar].value);
}

INSTANTIATE_TEST_SUITE_P(
    Table, UpdateScrollRangesTest,
    ::testing::Values(
        // One sample: span 0, widest 50, the sample sits at the right edge.
        RangeCase{"one_sample", 0, 3600, false, 50, 50, 0},
        RangeCase{"short", 49, 30, false, 50, 30, 19},
        RangeCase{"hour", 3600, 600, false, 3601, 600, 3000},
        RangeCase{"width_beyond_span", 3600, 5000, false, 3601, 3601, 0},
        // 32767 s would give 32768 as the widest end; it is held at the bar limit.
        RangeCase{"exact_32767", 32767, 100, false, 32767, 100, 32667},
        RangeCase{"scaled", 655340, 100, false, 32767, 100, 32667},
        RangeCase{"continuous_small", 40, 30, true, 30000, 30, 10},
        RangeCase{"continuous_grows", 150, 30, true, 30000, 200, 120},
        RangeCase{"continuous_large", 5000, 700, true, 30000, 700, 4300}),
    [](const auto& info) { return info.param.name; });

TEST(UpdateScrollRanges, ValueBarEndsFollowHalfSpans) {
    Bars bars = initialBars();
    bars[TemperatureSpanBar].setValue(70);
    bars[HumiditySpanBar].setValue(50);
    const double start = dayCount(2024, 5, 1);
    updateScrollRanges(bars, timeBaseOf(start, start + 0.1), false);
    EXPECT_EQ(bars[TemperatureCentreBar].first, 930);
    EXPECT_EQ(bars[TemperatureCentreBar].second, -330);
    EXPECT_EQ(bars[HumidityCentreBar].first, 950);
    EXPECT_EQ(bars[HumidityCentreBar].second, 50);
}

struct FitCase {
    const char* name;
    ValueExtremes x;
    int v1, v2, v3, v4;
    double tBottom, tTop, hBottom, hTop;
};

class FitTest : public ::testing::TestWithParam<FitCase> {};

TEST_P(FitTest, CentresAndWidensByTenPercent) {
    const FitCase& c = GetParam();
    Bars bars = initialBars();
    bars[TimePositionBar] = Bar{500, 0, 300};
    bars[HumidityTimePositionBar] = Bar{500, 0, 300};
    fitGraphToData(bars, c.x);
    EXPECT_EQ(bars[TemperatureSpanBar].value, c.v1);
    EXPECT_EQ(bars[TemperatureCentreBar].value, c.v2);
    EXPECT_EQ(bars[HumiditySpanBar].value, c.v3);
    EXPECT_EQ(bars[HumidityCentreBar].value, c.v4);
    EXPECT_EQ(bars[TimePositionBar].value, 0);
    EXPECT_EQ(bars[HumidityTimePositionBar].value, 0);
    const GraphWindow t = temperatureWindow(bars, 1);
    const GraphWindow h = humidityWindow(bars, 1);
    EXPECT_DOUBLE_EQ(t.bottom, c.tBottom);
    EXPECT_DOUBLE_EQ(t.top, c.tTop);
    EXPECT_DOUBLE_EQ(h.bottom, c.hBottom);
    EXPECT_DOUBLE_EQ(h.top, c.hTop);
}

INSTANTIATE_TEST_SUITE_P(
    Table, FitTest,
    ::testing::Values(
        // Constant readings: never narrower than 25 tenths, widened to 27.
        FitCase{"constant", {20, 20, 50, 50}, 27, 200, 27, 500, 17.3, 22.7, 47.3, 52.7},
        FitCase{"wide", {30, 10, 80, 20}, 110, 200, 330, 500, 9, 31, 17, 83},
        FitCase{
            "rounded_centre", {21.26, 21.26, 40.04, 40.0}, 27, 213, 27, 400, 18.6, 24, 37.3, 42.7},
        // The centre is held by the bar's own end (1000 - half-span).
        FitCase{"humid_top", {25, 25, 99.5, 98.5}, 27, 250, 27, 973, 22.3, 27.7, 94.6, 100}),
    [](const auto& info) { return info.param.name; });

TEST(HumidityWindow, CentreIsPulledInsideZeroToHundred) {
    struct Case {
        int halfSpan, centre;
        double bottom, top;
    };
    const std::vector<Case> cases = {
        {50, 990, 90, 100},  // centred at 99 %RH with half-span 5 %RH
        {50, 20, 0, 10},
        {50, 500, 45, 55},
        {500, 500, 0, 100},
    };
    for (const Case& c : cases) {
        Bars bars = initialBars();
        bars[HumiditySpanBar] = Bar{1, 500, c.halfSpan};
        bars[HumidityCentreBar] = Bar{1000, 0, c.centre};
        const GraphWindow w = humidityWindow(bars, 1);
        EXPECT_DOUBLE_EQ(w.bottom, c.bottom) << c.centre;
        EXPECT_DOUBLE_EQ(w.top, c.top) << c.centre;
        EXPECT_EQ(w.halfSpan, c.halfSpan);
    }
}

TEST(Zoom, DoublesOrHalvesAndClampsToTheBar) {
    struct Case {
        ZoomButton button;
        BarIndex bar;
        Bar before;
        int after;
    };
    const std::vector<Case> cases = {
        {ZoomButton::TemperatureWider, TemperatureSpanBar, {1, 500, 70}, 140},
        {ZoomButton::TemperatureWider, TemperatureSpanBar, {1, 500, 300}, 500},
        {ZoomButton::TemperatureNarrower, TemperatureSpanBar, {1, 500, 1}, 1},
        {ZoomButton::TemperatureNarrower, TemperatureSpanBar, {1, 500, 71}, 35},
        {ZoomButton::HumidityWider, HumiditySpanBar, {1, 500, 250}, 500},
        {ZoomButton::HumidityNarrower, HumiditySpanBar, {1, 500, 3}, 1},
        {ZoomButton::TimeWider, TimeWidthBar, {3601, 10, 3000}, 3601},
        {ZoomButton::TimeWider, TimeWidthBar, {32767, 10, 20000}, 32767},
        {ZoomButton::TimeNarrower, TimeWidthBar, {3601, 10, 10}, 10},
        {ZoomButton::TimeNarrower, TimeWidthBar, {3601, 10, 601}, 300},
    };
    for (const Case& c : cases) {
        Bars bars = initialBars();
        bars[c.bar] = c.before;
        applyZoom(bars, c.button);
        EXPECT_EQ(bars[c.bar].value, c.after)
            << static_cast<int>(c.button) << " " << c.before.value;
    }
}

TEST(Windows, WidthAndOffsetAreScaledStepsRoundedToSeconds) {
    Bars bars = initialBars();
    bars[TimeWidthBar] = Bar{32767, 10, 3};
    bars[TimePositionBar] = Bar{32767, 0, 7};
    bars[HumidityTimeWidthBar] = Bar{32767, 10, 100};
    bars[HumidityTimePositionBar] = Bar{32767, 0, 0};
    bars[TemperatureSpanBar] = Bar{1, 500, 70};
    bars[TemperatureCentreBar] = Bar{930, -330, 215};
    const GraphWindow t = temperatureWindow(bars, 2.5);
    EXPECT_EQ(t.width, 8);
    EXPECT_EQ(t.offset, 18);
    EXPECT_DOUBLE_EQ(t.bottom, 14.5);
    EXPECT_DOUBLE_EQ(t.top, 28.5);
    const GraphWindow h = humidityWindow(bars, 2.5);
    EXPECT_EQ(h.width, 250);
    EXPECT_EQ(h.offset, 0);
}

TEST(Windows, TimeMapsToSecondsBeforeTheRightEdge) {
    const double end = dayCount(2024, 5, 1, 12, 0, 0);
    EXPECT_DOUBLE_EQ(xOfTime(end, end, 0), 0);
    EXPECT_DOUBLE_EQ(xOfTime(end - 600 / 86400.0, end, 0), 600);
    EXPECT_DOUBLE_EQ(xOfTime(end - 600 / 86400.0, end, 100), 500);
    EXPECT_DOUBLE_EQ(xOfTime(end, end, 100), -100);
}

TEST(TimeGrid, StartLandsOnWholeMinuteHourOrMidnight) {
    struct Case {
        const char* name;
        std::int64_t end;
        std::int64_t width, offset;
        std::int64_t step;
        int hour, minute, second;  // expected fields of the start's moment
    };
    const std::int64_t end = secondsOf(2024, 5, 10, 13, 47, 23);
    const std::vector<Case> cases = {
        {"five_minutes", end, 300, 0, 1, 13, 47, 23},
        {"two_hours", end, 7200, 0, 60, 13, 47, 0},
        {"day", end, 86400, 0, 3600, 13, 0, 0},
        {"ten_days", end, 864000, 0, 86400, 0, 0, 0},
        {"ten_days_offset", end, 864000, 5000, 86400, 0, 0, 0},
        // Dates 0100/01/01 to 9999/12/31 on display: every 1827th midnight, not 3.6 million.
        {"millennia", end, std::int64_t{3652058} * 86400, 0, std::int64_t{1827} * 86400, 0, 0, 0},
    };
    for (const Case& c : cases) {
        const GridStart g = timeGridStart(c.end, c.width, c.offset);
        EXPECT_EQ(g.step, c.step) << c.name;
        EXPECT_GE(g.start, c.offset) << c.name;
        const TimeFields f = timeFieldsOf(c.end - g.start);
        EXPECT_EQ(f.hour, c.hour) << c.name;
        EXPECT_EQ(f.minute, c.minute) << c.name;
        EXPECT_EQ(f.second, c.second) << c.name;
    }
}

TEST(FitGraph, AnyStoredValueGivesBarsWithinTheirRanges) {
    // Readings far outside what a logger produces (a crafted file, a bad record) fit to the
    // widest view instead of a cast out of int's range.
    const struct {
        ValueExtremes x;
        bool widest;  // the spread needs the widest temperature view
    } cases[] = {{{1e38, -3.4e38, 1e38, 0}, true}, {{4e8, 4e8, -4e8, -4e8}, false}};
    for (const auto& c : cases) {
        Bars bars = initialBars();
        fitGraphToData(bars, c.x);
        for (int id :
             {TemperatureSpanBar, TemperatureCentreBar, HumiditySpanBar, HumidityCentreBar}) {
            EXPECT_GE(bars[id].value, bars[id].lower()) << id;
            EXPECT_LE(bars[id].value, bars[id].upper()) << id;
        }
        EXPECT_EQ(bars[TemperatureSpanBar].value == bars[TemperatureSpanBar].upper(), c.widest);
        EXPECT_LE(lastValueTenth(temperatureWindow(bars, 1).top) -
                      firstValueTenth(temperatureWindow(bars, 1).bottom),
                  20000);
    }
}

TEST(TimeGrid, LastQualifyingMomentOfTheScanIsKept) {
    // The window's right edge sits exactly on a minute: both t = 0 and t = 60 qualify and the
    // scan keeps the later one.
    const GridStart g = timeGridStart(secondsOf(2024, 5, 10, 13, 47, 0), 600, 0);
    EXPECT_EQ(g.start, 60);
    EXPECT_EQ(g.step, 60);
}

struct GridRuleCase {
    const char* name;
    std::int64_t width;
    TimeFields at;
    int line;  // palette entry, -1 for none
    TimeLabel label;
};

class TimeRuleTest : public ::testing::TestWithParam<GridRuleCase> {};

TEST_P(TimeRuleTest, FirstMatchingRuleWins) {
    const GridRuleCase& c = GetParam();
    const std::optional<int> line = timeLineEntry(c.at, c.width);
    EXPECT_EQ(line.value_or(-1), c.line);
    EXPECT_EQ(timeLabelKind(c.at, c.width), c.label);
}

INSTANTIATE_TEST_SUITE_P(
    Table, TimeRuleTest,
    ::testing::Values(
        // Five-minute window: a line every second, whole minutes labelled.
        GridRuleCase{"w300_second", 300, {2024, 5, 10, 13, 47, 23}, 6, TimeLabel::None},
        GridRuleCase{"w300_ten_seconds", 300, {2024, 5, 10, 13, 47, 20}, 6, TimeLabel::None},
        GridRuleCase{"w300_minute", 300, {2024, 5, 10, 13, 47, 0}, 5, TimeLabel::Clock},
        GridRuleCase{"w300_half_hour", 300, {2024, 5, 10, 13, 30, 0}, 4, TimeLabel::Clock},
        GridRuleCase{"w300_hour", 300, {2024, 5, 10, 13, 0, 0}, 3, TimeLabel::Clock},
        // Two-hour window: minute, half-hour and hour lines; only the hour is labelled.
        GridRuleCase{"w7200_minute", 7200, {2024, 5, 10, 13, 47, 0}, 5, TimeLabel::None},
        GridRuleCase{"w7200_ten_minutes", 7200, {2024, 5, 10, 13, 40, 0}, 5, TimeLabel::None},
        GridRuleCase{"w7200_half_hour", 7200, {2024, 5, 10, 13, 30, 0}, 4, TimeLabel::None},
        GridRuleCase{"w7200_hour", 7200, {2024, 5, 10, 13, 0, 0}, 3, TimeLabel::Clock},
        GridRuleCase{"w7200_noon", 7200, {2024, 5, 10, 12, 0, 0}, 2, TimeLabel::Clock},
        GridRuleCase{"w7200_midnight", 7200, {2024, 5, 10, 0, 0, 0}, 1, TimeLabel::MonthDay},
        GridRuleCase{"w1000_ten_minutes", 1000, {2024, 5, 10, 13, 40, 0}, 5, TimeLabel::Clock},
        GridRuleCase{"w50_ten_seconds", 50, {2024, 5, 10, 13, 47, 20}, 6, TimeLabel::Clock},
        GridRuleCase{"w9_any_second", 9, {2024, 5, 10, 13, 47, 23}, 6, TimeLabel::Clock},
        // Ten-day window: only midnight and month lines; midnight labelled as m/d.
        GridRuleCase{"w864000_hour", 864000, {2024, 5, 10, 13, 0, 0}, -1, TimeLabel::None},
        GridRuleCase{"w864000_noon", 864000, {2024, 5, 10, 12, 0, 0}, -1, TimeLabel::None},
        GridRuleCase{"w864000_midnight", 864000, {2024, 5, 10, 0, 0, 0}, 1, TimeLabel::MonthDay},
        GridRuleCase{"w864000_month", 864000, {2024, 6, 1, 0, 0, 0}, 0, TimeLabel::MonthDay},
        GridRuleCase{"w3000000_midnight", 3000000, {2024, 5, 10, 0, 0, 0}, 1, TimeLabel::None},
        GridRuleCase{"w3000000_month", 3000000, {2024, 6, 1, 0, 0, 0}, 0, TimeLabel::MonthDay},
        GridRuleCase{"w100000_noon", 100000, {2024, 5, 10, 12, 0, 0}, 2, TimeLabel::Clock},
        GridRuleCase{"w100000_hour", 100000, {2024, 5, 10, 13, 0, 0}, 3, TimeLabel::None}),
    [](const auto& info) { return info.param.name; });

TEST(TimeLabels, Formats) {
    const TimeFields f{2024, 5, 1, 9, 5, 0};
    EXPECT_EQ(timeLabelText(f, TimeLabel::MonthDay), "5/1");
    EXPECT_EQ(timeLabelText(f, TimeLabel::Clock), "09:05:00");
    EXPECT_EQ(timeLabelText(f, TimeLabel::None), "");
}

TEST(ValueGrid, HalfSpanSeventyTenths) {
    // Lines every unit, every 5 and every 10 units; labels only every 5 units.
    struct Case {
        int tenths;
        int line;
        bool label;
    };
    const std::vector<Case> cases = {
        {0, 7, true},   {100, 8, true},   {-100, 8, true},  {50, 9, true},
        {250, 9, true}, {10, 10, false},  {230, 10, false}, {-30, 10, false},
        {5, -1, false}, {235, -1, false}, {1, -1, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(valueLineEntry(c.tenths, 70).value_or(-1), c.line) << c.tenths;
        EXPECT_EQ(valueLabelShown(c.tenths, 70), c.label) << c.tenths;
    }
}

TEST(ValueGrid, DensityFollowsHalfSpan) {
    struct Case {
        int tenths, halfSpan, line;
        bool label;
    };
    const std::vector<Case> cases = {
        {50, 201, -1, true}, {50, 200, 9, true},   {10, 101, -1, false}, {10, 49, 10, true},
        {5, 50, 11, false},  {5, 9, 11, true},     {3, 10, 12, false},   {3, 11, -1, false},
        {3, 4, 12, true},    {100, 499, 8, true},  {100, 500, 8, false}, {200, 500, 8, true},
        {50, 249, -1, true}, {50, 250, -1, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(valueLineEntry(c.tenths, c.halfSpan).value_or(-1), c.line)
            << c.tenths << " h=" << c.halfSpan;
        EXPECT_EQ(valueLabelShown(c.tenths, c.halfSpan), c.label)
            << c.tenths << " h=" << c.halfSpan;
    }
}

TEST(ValueGrid, WalkStartsAtWholeBottomAndStopsAtTop) {
    EXPECT_EQ(firstValueTenth(17.3), 170);
    EXPECT_EQ(firstValueTenth(-2.5), -30);
    EXPECT_EQ(lastValueTenth(22.7), 227);
    EXPECT_EQ(lastValueTenth(100), 1000);
    // A range that does not include 0 never reaches the entry-7 rule.
    for (int n = firstValueTenth(5.2); n <= lastValueTenth(9.9); ++n) {
        EXPECT_NE(valueLineEntry(n, 25).value_or(-1), 7);
    }
}

TEST(ValueGrid, LabelTextIsShortestDecimalWithUnit) {
    const QString unit = QStringLiteral("°C");
    EXPECT_EQ(valueLabelText(225, unit), QStringLiteral("22.5°C"));
    EXPECT_EQ(valueLabelText(200, unit), QStringLiteral("20°C"));
    EXPECT_EQ(valueLabelText(0, unit), QStringLiteral("0°C"));
    EXPECT_EQ(valueLabelText(-5, "%"), QStringLiteral("-0.5%"));
    EXPECT_EQ(valueLabelText(-400, "%"), QStringLiteral("-40%"));
}
