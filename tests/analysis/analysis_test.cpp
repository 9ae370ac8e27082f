// The figures against published worked values and hand-checked edge cases.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cmath>
#include <vector>

#include "analysis/analysis.h"

namespace {

using analysis::Bounds;
using analysis::Reading;
using analysis::Side;

constexpr double kHour = 3600;

// Readings one interval apart within a series; a new series starts after a gap of `gap`.
std::vector<Reading> readingsOf(const std::vector<double>& temperatures, double interval,
                                const std::vector<int>& series = {}, double gap = 0,
                                double humidity = 50) {
    std::vector<Reading> out;
    double time = 1000 * analysis::kSecondsPerDay;
    for (std::size_t k = 0; k < temperatures.size(); ++k) {
        const int s = series.empty() ? 1 : series[k];
        if (k > 0) {
            time += interval + (s != out.back().series ? gap : 0);
        }
        out.push_back({time, temperatures[k], humidity, s, static_cast<int>(k) + 1});
    }
    return out;
}

TEST(MeanKineticTemperature, PublishedWorkedExample) {
    // Isopharm, "Mean Kinetic Temperature" (FAQ, systems.isopharm.co.uk): 2 h at 20 °C, 4 h at
    // 2 °C and 1 h at 25 °C are thermally equivalent to 15.7 °C for 7 h. Hourly readings.
    const std::vector<Reading> r = readingsOf({20, 20, 2, 2, 2, 2, 25}, kHour);
    const std::optional<double> mkt = analysis::meanKineticTemperature(r, kHour);
    ASSERT_TRUE(mkt);
    EXPECT_NEAR(*mkt, 15.7, 0.05);
    // The arithmetic mean is 10.4 °C: the warm hours weigh more.
    EXPECT_NEAR(analysis::summarize(r, kHour).temperature.mean, 73.0 / 7, 1e-9);
}

TEST(MeanKineticTemperature, ClosedFormsAndActivationEnergy) {
    // A constant temperature is its own mean kinetic temperature.
    EXPECT_NEAR(*analysis::meanKineticTemperature(readingsOf({25, 25, 25}, 60), 60), 25, 1e-9);
    // Half the time at 20 °C and half at 30 °C with ΔH/R = 10000 K, worked by hand:
    // T = 10000 / -ln((e^(-10000/293.15) + e^(-10000/303.15)) / 2).
    const double h = 10000;
    const double expected =
        h / -std::log((std::exp(-h / 293.15) + std::exp(-h / 303.15)) / 2) - 273.15;
    const std::vector<Reading> r = readingsOf({20, 30}, 60);
    EXPECT_NEAR(*analysis::meanKineticTemperature(r, 60), expected, 1e-9);
    EXPECT_NEAR(expected, 26.26, 0.01);
    // A lower activation energy weighs the warm half less: closer to the mean.
    const double lower = *analysis::meanKineticTemperature(r, 60, 41.572);
    EXPECT_GT(lower, 25.0);
    EXPECT_LT(lower, expected);
    EXPECT_FALSE(analysis::meanKineticTemperature({}, 60));
    EXPECT_FALSE(analysis::meanKineticTemperature(r, 60, 0));
}

TEST(MeanKineticTemperature, GapsBetweenSeriesAreNotWeighted) {
    const std::vector<double> t{30, 30, 5, 5, 5, 5};
    const std::vector<Reading> together = readingsOf(t, 600);
    // The same readings as two series a week apart.
    const std::vector<Reading> apart = readingsOf(t, 600, {1, 1, 2, 2, 2, 2}, 7 * 24 * kHour);
    EXPECT_DOUBLE_EQ(*analysis::meanKineticTemperature(apart, 600),
                     *analysis::meanKineticTemperature(together, 600));
    const analysis::Summary s = analysis::summarize(apart, 600);
    EXPECT_EQ(s.seriesCount, 2);
    EXPECT_DOUBLE_EQ(s.coveredTime, 6 * 600);
    EXPECT_DOUBLE_EQ(s.duration, 5 * 600 + 7 * 24 * kHour);
    EXPECT_DOUBLE_EQ(s.temperature.mean, analysis::summarize(together, 600).temperature.mean);
}

TEST(DewPoint, PublishedTableValues) {
    // Dew points of psychrometric tables (Magnus form over water, Alduchov and Eskridge 1996,
    // J. Appl. Meteor. 35, 601-609), to the tables' 0.1 °C; absolute humidity from the
    // saturation vapour density tables over water (4.85 g/m³ at 0 °C, 2.36 at -10 °C, 9.40 at
    // 10 °C, 17.3 at 20 °C, 23.0 at 25 °C, 30.4 at 30 °C, 39.6 at 35 °C) times the relative
    // humidity, to half a percent.
    const struct {
        double t, rh, dewPoint, absolute;
    } kCases[] = {
        {20, 50, 9.26, 8.65},  {25, 60, 16.7, 13.8}, {30, 80, 26.2, 24.3},   {0, 100, 0.0, 4.85},
        {20, 100, 20.0, 17.3}, {10, 90, 8.4, 8.46},  {-10, 50, -18.5, 1.18}, {35, 40, 19.4, 15.84},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(testing::Message() << c.t << " °C " << c.rh << " %RH");
        const std::optional<double> dp = analysis::dewPoint(c.t, c.rh);
        ASSERT_TRUE(dp);
        EXPECT_NEAR(*dp, c.dewPoint, c.dewPoint == 9.26 ? 0.005 : 0.05);
        const std::optional<double> ah = analysis::absoluteHumidity(c.t, c.rh);
        ASSERT_TRUE(ah);
        EXPECT_NEAR(*ah, c.absolute, 0.005 * c.absolute);
    }
}

TEST(DewPoint, RefusedOutsideItsRange) {
    const struct {
        double t, rh;
        bool dewPoint, absolute;
    } kCases[] = {
        {-45, 50, true, true},        {-45.01, 50, false, false}, {20, 0, false, true},
        {20, -1, false, false},       {20, 100.5, false, false},  {NAN, 50, false, false},
        {20, INFINITY, false, false},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(testing::Message() << c.t << " °C " << c.rh << " %RH");
        EXPECT_EQ(analysis::dewPoint(c.t, c.rh).has_value(), c.dewPoint);
        EXPECT_EQ(analysis::absoluteHumidity(c.t, c.rh).has_value(), c.absolute);
    }
    EXPECT_DOUBLE_EQ(*analysis::absoluteHumidity(20, 0), 0);
    std::vector<Reading> r = readingsOf({20, 20, 20}, 60);
    r[1].humidity = 0;
    const analysis::DerivedFigures f = analysis::dewPointFigures(r);
    EXPECT_EQ(f.count, 2);
    EXPECT_EQ(f.refused, 1);
    EXPECT_NEAR(f.mean, 9.26, 0.005);
}

TEST(Summary, EmptyOneAndMany) {
    const analysis::Summary empty = analysis::summarize({}, 60);
    EXPECT_EQ(empty.count, 0);
    EXPECT_EQ(empty.seriesCount, 0);
    EXPECT_EQ(empty.coveredTime, 0);

    const std::vector<Reading> one = readingsOf({21.5}, 60);
    const analysis::Summary single = analysis::summarize(one, 60);
    EXPECT_EQ(single.count, 1);
    EXPECT_EQ(single.duration, 0);
    EXPECT_EQ(single.coveredTime, 60);
    EXPECT_EQ(single.temperature.minimum.value, 21.5);
    EXPECT_EQ(single.temperature.maximum.record, 1);
    EXPECT_EQ(single.temperature.standardDeviation, 0);
    EXPECT_NEAR(*analysis::meanKineticTemperature(one, 60), 21.5, 1e-9);

    // Mean 5, population standard deviation √6.5; the maximum 9 and minimum 2 occur twice, and
    // the earlier record is reported as the window's statistics do.
    const std::vector<Reading> r = readingsOf({2, 4, 4, 9, 5, 5, 2, 9}, 60);
    const analysis::Summary s = analysis::summarize(r, 60);
    EXPECT_DOUBLE_EQ(s.temperature.mean, 5);
    EXPECT_DOUBLE_EQ(s.temperature.standardDeviation, std::sqrt(6.5));
    EXPECT_EQ(s.temperature.maximum.record, 4);
    EXPECT_EQ(s.temperature.minimum.record, 1);
    EXPECT_DOUBLE_EQ(s.firstTime, r.front().time);
    EXPECT_DOUBLE_EQ(s.lastTime, r.back().time);
    EXPECT_DOUBLE_EQ(s.humidity.standardDeviation, 0);
}

TEST(Excursions, RunsAroundTheBounds) {
    const Bounds both{25.0, 15.0};
    const struct {
        const char* name;
        std::vector<double> temperatures;
        std::vector<int> series;
        Bounds bounds;
        // (side, first position, last position) of each excursion
        std::vector<std::tuple<Side, int, int>> runs;
    } kCases[] = {
        {"no readings", {}, {}, both, {}},
        {"exactly on both bounds is inside", {25, 15, 25, 15}, {}, both, {}},
        {"one reading above lasts one interval", {20, 25.01, 20}, {}, both, {{Side::Above, 1, 1}}},
        {"peak and duration of a longer run",
         {20, 26, 28, 27, 25, 14, 20},
         {},
         both,
         {{Side::Above, 1, 3}, {Side::Below, 5, 5}}},
        {"straight from above to below",
         {26, 14},
         {},
         both,
         {{Side::Above, 0, 0}, {Side::Below, 1, 1}}},
        {"a series break ends a run",
         {26, 27, 28, 29},
         {1, 1, 2, 2},
         both,
         {{Side::Above, 0, 1}, {Side::Above, 2, 3}}},
        {"an absent bound is off", {30, 0}, {}, Bounds{std::nullopt, 15.0}, {{Side::Below, 1, 1}}},
        {"no bounds", {30, 0}, {}, Bounds{}, {}},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        const std::vector<Reading> r = readingsOf(c.temperatures, 600, c.series, 86400);
        const analysis::Excursions x = analysis::findExcursions(r, 600, c.bounds);
        ASSERT_EQ(x.list.size(), c.runs.size());
        double above = 0;
        double below = 0;
        for (std::size_t k = 0; k < c.runs.size(); ++k) {
            const auto& [side, first, last] = c.runs[k];
            const analysis::Excursion& e = x.list[k];
            EXPECT_EQ(e.side, side);
            EXPECT_EQ(e.start, r[first].time);
            EXPECT_EQ(e.end, r[last].time);
            EXPECT_EQ(e.readings, last - first + 1);
            EXPECT_EQ(e.duration, (last - first + 1) * 600.0);
            double peak = r[first].temperature;
            for (int i = first; i <= last; ++i) {
                peak = side == Side::Above ? std::max(peak, r[i].temperature)
                                           : std::min(peak, r[i].temperature);
            }
            EXPECT_EQ(e.peak.value, peak);
            (side == Side::Above ? above : below) += e.duration;
        }
        EXPECT_EQ(x.timeAbove, above);
        EXPECT_EQ(x.timeBelow, below);
        if (!r.empty()) {
            EXPECT_DOUBLE_EQ(x.shareAbove, above / (600.0 * r.size()));
            EXPECT_DOUBLE_EQ(x.shareBelow, below / (600.0 * r.size()));
        }
    }
}

TEST(Readings, WindowAndScratchFile) {
    const std::vector<Reading> r = readingsOf({1, 2, 3, 4, 5}, 60);
    const auto window = analysis::within(r, r[1].time, r[3].time);
    ASSERT_EQ(window.size(), 3u);
    EXPECT_EQ(window.front().record, 2);
    EXPECT_EQ(window.back().record, 4);
    EXPECT_TRUE(analysis::within(r, r[4].time + 1, r[4].time + 100).empty());
    EXPECT_EQ(analysis::within(r, r[1].time + 1, r[2].time - 1).size(), 0u);

    QTemporaryDir dir;
    DataSet set;
    ASSERT_TRUE(set.file.open(dir.filePath(QStringLiteral("set.rand"))));
    for (int k = 0; k < 4; ++k) {
        Sample s;
        s.temperature = 20.25f + k;
        s.humidity = 40.5f;
        s.dateTime = 46000.5 + k / 1440.0;  // a minute apart
        s.series = k < 2 ? 1 : 2;
        ASSERT_EQ(set.append(s), DataError::None);
    }
    const auto all = analysis::readReadings(set);
    ASSERT_TRUE(all);
    ASSERT_EQ(all->size(), 4u);
    EXPECT_EQ((*all)[3].record, 4);
    EXPECT_EQ((*all)[3].temperature, 23.25);
    EXPECT_EQ((*all)[2].series, 2);
    EXPECT_DOUBLE_EQ((*all)[1].time - (*all)[0].time, 60);
    EXPECT_DOUBLE_EQ(analysis::dateTimeOf((*all)[0].time), 46000.5);
    const auto part = analysis::readReadings(set, 2, 3);
    ASSERT_TRUE(part);
    EXPECT_EQ(part->front().record, 2);
    EXPECT_FALSE(analysis::readReadings(set, 0, 2));
    EXPECT_FALSE(analysis::readReadings(set, 3, 5));
    EXPECT_TRUE(analysis::readReadings(set, 3, 2)->empty());
}

}  // namespace
