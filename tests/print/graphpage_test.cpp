// The graph page printed to PDF and rasterised, compared with a stored picture within a small
// tolerance (rasteriser and font hinting may move a few edge pixels). Set
// VELTRANE_REGENERATE_GOLDEN=1 to rewrite the picture after a deliberate change.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <cmath>
#include <cstdlib>

#include "printkit.h"

using namespace printtest;

namespace {

constexpr int kDpi = 60;
// A pixel differs when a colour channel moves by more than this; a share of differing pixels
// above kAllowed fails.
constexpr int kChannelTolerance = 64;
constexpr double kAllowed = 0.002;

QString goldenPath() {
    return QFileInfo(QStringLiteral(__FILE__))
        .dir()
        .filePath(QStringLiteral("golden/graph_page.png"));
}

int differingPixels(const QImage& a, const QImage& b) {
    int differing = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            if (std::abs(qRed(p) - qRed(q)) > kChannelTolerance ||
                std::abs(qGreen(p) - qGreen(q)) > kChannelTolerance ||
                std::abs(qBlue(p) - qBlue(q)) > kChannelTolerance) {
                ++differing;
            }
        }
    }
    return differing;
}

// Dark pixels in a band of the page (fractions of its height).
int inkBetween(const QImage& page, double top, double bottom) {
    int ink = 0;
    for (int y = static_cast<int>(page.height() * top); y < page.height() * bottom; ++y) {
        for (int x = 0; x < page.width(); ++x) {
            ink += qGray(page.pixel(x, y)) < 128 ? 1 : 0;
        }
    }
    return ink;
}

}  // namespace

TEST(GraphPage, BothGraphsOfTheWindowAreDrawnOnThePage) {
    PrintRig rig;
    // Six hours at 2 min; a new recording run starts after 100 samples.
    const double start = dayCountOf(2024, 5, 1, 10, 17, 30);
    for (int i = 0; i < 180; ++i) {
        rig.add(LogData, start + i * 120 / 86400.0, static_cast<float>(22 + 4 * std::sin(i / 15.0)),
                static_cast<float>(55 + 10 * std::cos(i / 20.0)));
    }
    DataSet& set = rig.set(LogData);
    set.interval = 120;
    set.model = QStringLiteral("QM320-HX");
    set.upperBound = 25;
    set.upperOn = 1;
    set.lowerBound = 19;
    set.lowerOn = 1;
    rig.fitGraph(LogData);
    // The newest two hours on screen.
    rig.bars[HScroll1].setValue(7200);
    updateScrollRanges(rig.bars, timeBaseOf(start, start + 179 * 120 / 86400.0), false);

    const QString pdf = rig.path(QStringLiteral("page.pdf"));
    rig.answerFile(pdf);
    ASSERT_EQ(rig.operations.Log_G_Print().status, PrintStatus::Printed);
    const QImage page = pdfImage(pdf, kDpi).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(page.isNull());
    // Both graphs, each in its third of the page.
    EXPECT_GT(inkBetween(page, 0.36, 0.60), 1000);
    EXPECT_GT(inkBetween(page, 0.69, 0.93), 1000);
    // The window holds the newest 61 samples: the selection block names them.
    EXPECT_GE(set.windowStats.maxTemperatureRecord, 120);
    EXPECT_GE(set.windowStats.minHumidityRecord, 120);

    if (qEnvironmentVariableIntValue("VELTRANE_REGENERATE_GOLDEN") == 1) {
        QDir().mkpath(QFileInfo(goldenPath()).path());
        ASSERT_TRUE(page.save(goldenPath()));
        return;
    }
    const QImage golden = QImage(goldenPath()).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(golden.isNull()) << "missing " << goldenPath().toStdString();
    ASSERT_EQ(page.size(), golden.size());
    const int differing = differingPixels(page, golden);
    if (differing > kAllowed * page.width() * page.height()) {
        const QString out = QDir::temp().filePath(QStringLiteral("actual-graph_page.png"));
        page.save(out);
        FAIL() << differing << " pixels differ; actual in " << out.toStdString();
    }
}
