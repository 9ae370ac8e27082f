// Export drawing: both graphs of a data set over the whole recording onto a plain image.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "graph/graphexport.h"
#include "samplefixture.h"

namespace {

class GraphExport : public SampleFixture {};

// Rows of the image in [top, bottom) holding a dark pixel.
int darkPixels(const QImage& image, int top, int bottom) {
    int dark = 0;
    for (int y = top; y < bottom; ++y) {
        for (int x = 0; x < image.width(); ++x) {
            dark += qGray(image.pixel(x, y)) < 40;
        }
    }
    return dark;
}

TEST_F(GraphExport, FittedViewShowsTheWholeRecordingInBothHalves) {
    QImage untouched(400, 300, QImage::Format_RGB32);
    untouched.fill(Qt::white);
    QImage image = untouched;
    {
        QPainter painter(&image);
        EXPECT_FALSE(drawGraphs(painter, image.size(), dataSet, GraphRenderer(), messages,
                                GraphPalette::print()));
    }
    EXPECT_EQ(image, untouched);
    EXPECT_FALSE(fittedView(dataSet));

    // Two days at ten-minute steps.
    for (int k = 0; k < 288; ++k) {
        addSample(20.0f + static_cast<float>(k % 36) / 4, 40.0f + static_cast<float>(k % 20),
                  45000.5 + k / 144.0);
    }
    const std::optional<GraphExportView> view = fittedView(dataSet);
    ASSERT_TRUE(view);
    const GraphWindow temperature = temperatureWindow(view->bars, view->stepUnit);
    EXPECT_GE(temperature.width, 287 * 600);
    EXPECT_EQ(temperature.offset, 0);
    EXPECT_LE(temperature.bottom, 20.0);
    EXPECT_GE(temperature.top, 28.75);
    const GraphWindow humidity = humidityWindow(view->bars, view->stepUnit);
    EXPECT_LE(humidity.bottom, 40.0);
    EXPECT_GE(humidity.top, 59.0);

    {
        QPainter painter(&image);
        EXPECT_TRUE(drawGraphs(painter, image.size(), dataSet, GraphRenderer(), messages,
                               GraphPalette::print()));
    }
    EXPECT_GT(darkPixels(image, 0, 150), 200);
    EXPECT_GT(darkPixels(image, 150, 300), 200);
    EXPECT_EQ(dataSet.drawnCount, 288);
}

}  // namespace
