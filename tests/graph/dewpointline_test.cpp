// The dew-point line: drawn on the humidity graph only, and only when asked for, on its own
// scale fitted to the data set's dew points.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cmath>

#include "analysis/analysis.h"
#include "data/messagetable.h"
#include "graph/dewpointline.h"
#include "graph/renderer.h"
#include "graphtestdata.h"

namespace {

const QSize kGraphSize(705, 209);

struct DewPointCase {
    const char* name;
    GraphKind kind;
    bool on;
    bool drawn;
};

class DewPointLineTest : public ::testing::TestWithParam<DewPointCase> {
  protected:
    void SetUp() override {
        data.fill(
            dayCountOf(2024, 5, 1, 10), 120, 60,
            [](int i) { return static_cast<float>(22 + 3 * std::sin(i / 10.0)); },
            [](int i) { return static_cast<float>(50 + 10 * std::cos(i / 12.0)); });
        messages.fillEnglish();
    }

    // Pixels of the dew-point colour in a screen drawing of the whole data set.
    int dewPointPixels(GraphKind kind, bool on) {
        GraphRenderer renderer;
        renderer.setFont(fixedFont());
        renderer.setDewPointLine(on);
        const GraphWindow window{7200, 0, kind == GraphKind::Temperature ? 15.0 : 30.0,
                                 kind == GraphKind::Temperature ? 30.0 : 70.0, 75};
        QImage image(kGraphSize, QImage::Format_RGB32);
        {
            QPainter painter(&image);
            renderer.draw(painter, QSizeF(kGraphSize), kind, window, data.set,
                          GraphTexts::of(kind, messages), GraphPalette::screen());
        }
        const QRgb colour = GraphPalette::screen().dewPoint().rgb();
        int count = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                count += image.pixel(x, y) == colour;
            }
        }
        return count;
    }

    TestDataSet data;
    MessageTable messages;
};

TEST_P(DewPointLineTest, DrawnOnlyOnTheHumidityGraphWhenOn) {
    const DewPointCase& c = GetParam();
    const int pixels = dewPointPixels(c.kind, c.on);
    if (c.drawn) {
        // A line across the whole plot at least, and its labels.
        EXPECT_GT(pixels, kGraphSize.width());
    } else {
        EXPECT_EQ(pixels, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DewPointLineTest,
    ::testing::Values(DewPointCase{"HumidityOff", GraphKind::Humidity, false, false},
                      DewPointCase{"HumidityOn", GraphKind::Humidity, true, true},
                      DewPointCase{"TemperatureOn", GraphKind::Temperature, true, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DewPointLineTest, TheScaleHoldsEveryDewPointOfTheDataSet) {
    const std::optional<DewPointScale> scale = dewPointScaleOf(data.set);
    ASSERT_TRUE(scale.has_value());
    const std::vector<analysis::Reading> readings = *analysis::readReadings(data.set);
    const analysis::DerivedFigures dew = analysis::dewPointFigures(readings);
    EXPECT_LT(scale->bottom, dew.minimum.value);
    EXPECT_GT(scale->top, dew.maximum.value);
    // Widened by a tenth of the span on each side.
    EXPECT_NEAR(scale->top - scale->bottom, 1.1 * (dew.maximum.value - dew.minimum.value), 1e-9);
    const GraphWindow window{3600, 0, 30, 70, 200};
    EXPECT_DOUBLE_EQ(dewPointY(scale->bottom, *scale, window), 30);
    EXPECT_DOUBLE_EQ(dewPointY(scale->top, *scale, window), 70);
}

TEST(DewPointScale, NoDewPointGivesNoScale) {
    TestDataSet data;
    data.add(dayCountOf(2024, 5, 1), 20, 0);  // 0 %RH has no dew point
    EXPECT_FALSE(dewPointScaleOf(data.set).has_value());
}

}  // namespace
