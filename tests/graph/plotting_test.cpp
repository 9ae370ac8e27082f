// Locating samples by time and the window statistics of a plot.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <vector>

#include "graph/plotting.h"
#include "graphtestdata.h"

namespace {

const double kStart = dayCountOf(2024, 5, 1, 12, 0, 0);

double at(int seconds) {
    return kStart + seconds / 86400.0;
}

}  // namespace

TEST(findSampleByTime, BisectsToTheRecordAtOrJustBeforeTheTarget) {
    TestDataSet data;
    // Ten samples, one every 60 s.
    data.fill(
        kStart, 10, 60, [](int i) { return 20.0F + i; }, [](int) { return 50.0F; });
    struct Case {
        const char* name;
        double target;
        std::vector<int> allowed;
    };
    const std::vector<Case> cases = {
        {"before_first", at(-3600), {1}},     {"first", at(0), {1}},
        {"exact_middle", at(240), {5}},       {"exact_fourth", at(180), {4}},
        {"between_5_and_6", at(270), {4, 5}}, {"last", at(540), {9, 10}},
        {"after_last", at(100000), {9, 10}},
    };
    for (const Case& c : cases) {
        const int found = findSampleByTime(c.target, data.set);
        EXPECT_NE(std::find(c.allowed.begin(), c.allowed.end(), found), c.allowed.end())
            << c.name << " gave " << found;
    }
}

TEST(findSampleByTime, NeverLeavesTheRecordRangeAndNeverPassesTheTarget) {
    std::vector<double> times;
    for (int i = 0; i < 1000; ++i) {
        times.push_back(at(i * 7 + (i % 3)));
    }
    const SampleReader reader = [&](int record, Sample& s) {
        if (record < 1 || record > static_cast<int>(times.size())) {
            return false;
        }
        s.dateTime = times[record - 1];
        return true;
    };
    for (int count : {1, 2, 3, 1000}) {
        for (int t = -20; t < 7100; t += 13) {
            const int found = findSampleByTime(at(t), count, reader);
            ASSERT_GE(found, 1);
            ASSERT_LE(found, count);
            if (found > 1 || at(t) >= times[0]) {
                // At or at most one position before the target's place.
                int place = 1;
                while (place < count && times[place] <= at(t)) {
                    ++place;
                }
                ASSERT_TRUE(found == place || found == place - 1)
                    << "count " << count << " t " << t << " found " << found << " place " << place;
            }
        }
    }
}

TEST(findSampleByTime, UnreadableRecordStopsTheSearchInsideTheRange) {
    const SampleReader failing = [](int, Sample&) { return false; };
    const int found = findSampleByTime(at(0), 100, failing);
    EXPECT_GE(found, 1);
    EXPECT_LE(found, 100);
}

namespace {

// Plots a window of a data set onto a scratch image and returns the window statistics.
SampleStats plotWindow(DataSet& set, std::int64_t width, std::int64_t offset, GraphKind kind,
                       QImage* out = nullptr) {
    QImage image(420, 220, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    GraphCanvas canvas(painter, image.size(), static_cast<double>(width), 40.0, -width / 20.0,
                       -4.0);
    plotSamples(canvas, width, offset, kind, set, GraphPalette::screen());
    painter.end();
    if (out != nullptr) {
        *out = image;
    }
    return set.windowStats;
}

}  // namespace

TEST(plotSamples, WindowStatisticsCoverExactlyTheSamplesInside) {
    TestDataSet data;
    // Temperatures 10, 11, ... at 60 s intervals; the newest is the last.
    data.fill(
        kStart, 20, 60, [](int i) { return 10.0F + i; }, [](int i) { return 80.0F - i; });
    // Window of 300 s ending 120 s before the end: samples 13..18 (times 720..1020).
    const SampleStats s = plotWindow(data.set, 300, 120, GraphKind::Temperature);
    EXPECT_EQ(s.maxTemperatureRecord, 18);
    EXPECT_FLOAT_EQ(s.maxTemperature, 27);
    EXPECT_EQ(s.minTemperatureRecord, 13);
    EXPECT_FLOAT_EQ(s.minTemperature, 22);
    EXPECT_EQ(s.maxHumidityRecord, 13);
    EXPECT_EQ(s.minHumidityRecord, 18);
}

TEST(plotSamples, WindowBetweenTwoSamplesDrawsTheJoiningLineButCountsNothing) {
    TestDataSet data;
    data.add(at(0), 10, 50);
    data.add(at(3600), 30, 50);
    data.set.windowStats.maxTemperatureRecord = 77;
    QImage image;
    // 600 s wide, ending 1200 s before the last sample: no sample inside.
    const SampleStats s = plotWindow(data.set, 600, 1200, GraphKind::Temperature, &image);
    EXPECT_DOUBLE_EQ(s.maxTemperature, -10000.0);
    EXPECT_DOUBLE_EQ(s.minTemperature, 10000.0);
    EXPECT_DOUBLE_EQ(s.maxHumidity, -10000.0);
    EXPECT_DOUBLE_EQ(s.minHumidity, 10000.0);
    EXPECT_EQ(s.maxTemperatureRecord, 77);  // record numbers are left as they were
    const QColor line = GraphPalette::screen().color(14);
    int linePixels = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            linePixels += image.pixelColor(x, y) == line ? 1 : 0;
        }
    }
    EXPECT_GT(linePixels, 300);
}

TEST(plotSamples, EqualMaximaKeepTheEarlierRecord) {
    TestDataSet data;
    const std::vector<float> temps = {20, 25, 22, 25, 21};
    for (int i = 0; i < 5; ++i) {
        data.add(at(i * 60), temps[i], 40 + (i % 2) * 5);
    }
    const SampleStats s = plotWindow(data.set, 1000, 0, GraphKind::Humidity);
    EXPECT_EQ(s.maxTemperatureRecord, 2);
    EXPECT_EQ(s.maxHumidityRecord, 2);
    EXPECT_EQ(s.minHumidityRecord, 1);
}

TEST(plotSamples, SeriesBreakIsMarkedByThickDotsAndNotJoined) {
    TestDataSet data;
    // Series 1 flat at 10 °C, series 2 flat at 30 °C after a gap.
    for (int i = 0; i < 5; ++i) {
        data.add(at(i * 60), 10, 50, 1);
    }
    for (int i = 0; i < 5; ++i) {
        data.add(at(600 + i * 60), 30, 50, 2);
    }
    QImage image;
    plotWindow(data.set, 1000, 0, GraphKind::Temperature, &image);
    const QColor dot = GraphPalette::screen().color(13);
    const QColor line = GraphPalette::screen().color(14);
    // Image scale: x = 1000 at column 0, -50 at column 420; y = 40 at row 0, -4 at row 220.
    auto column = [](double x) { return static_cast<int>((1000 - x) * 420 / 1050); };
    auto row = [](double y) { return static_cast<int>((40 - y) * 220 / 44); };
    auto near = [&](int cx, int cy, const QColor& c) {
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                if (image.pixelColor(cx + dx, cy + dy) == c) {
                    return true;
                }
            }
        }
        return false;
    };
    // The newest sample is at 840 s; x counts seconds before it. Sample 5 (240 s, x = 600)
    // ends series 1, sample 6 (600 s, x = 240) starts series 2, sample 1 (x = 840) starts the
    // window's first series.
    EXPECT_TRUE(near(column(600), row(10), dot));
    EXPECT_TRUE(near(column(240), row(30), dot));
    EXPECT_TRUE(near(column(840), row(10), dot));
    // Nothing joins the two levels between the break samples.
    for (int y = row(29); y <= row(11); ++y) {
        EXPECT_NE(image.pixelColor(column(420), y), line) << y;
    }
    EXPECT_TRUE(near(column(700), row(10), line));
    EXPECT_TRUE(near(column(100), row(30), line));
}
