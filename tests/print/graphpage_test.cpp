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

// A pixel differs when its grey level moves by more than kGreyTolerance; more than kAllowed of
// the page's pixels differing fails.
constexpr int kDpi = 60;
constexpr int kGreyTolerance = 64;
constexpr double kAllowed = 0.002;

}  // namespace

TEST(GraphPage, BothGraphsOfTheWindowAreDrawnOnThePage) {
    PrintRig rig;
    const double start = dayCountOf(2024, 5, 1, 10, 17, 30);
    rig.fill(
        LogData, start, 180, 120,
        [](int i) { return static_cast<float>(22 + 4 * std::sin(i / 15.0)); },
        [](int i) { return static_cast<float>(55 + 10 * std::cos(i / 20.0)); });
    DataSet& set = rig.set(LogData);
    set.model = QStringLiteral("QM320-HX");
    set.upperBound = 25;
    set.upperOn = 1;
    set.lowerBound = 19;
    set.lowerOn = 1;
    rig.fitGraph(LogData);
    // The newest two hours of six on screen.
    rig.bars[HScroll1].setValue(7200);
    updateScrollRanges(rig.bars, timeBaseOf(start, start + 179 * 120 / 86400.0), false);

    const QString pdf = rig.path(QStringLiteral("page.pdf"));
    rig.answerFile(pdf);
    ASSERT_EQ(rig.operations.Log_G_Print().status, PrintStatus::Printed);
    const QImage page = pdfImage(pdf, kDpi).convertToFormat(QImage::Format_Grayscale8);
    ASSERT_FALSE(page.isNull());
    const QString golden =
        qEnvironmentVariable("VELTRANE_TESTS") + QStringLiteral("/print/golden/graph_page.png");
    if (qEnvironmentVariableIntValue("VELTRANE_REGENERATE_GOLDEN") == 1) {
        QDir().mkpath(QFileInfo(golden).path());
        ASSERT_TRUE(page.save(golden));
        return;
    }
    const QImage expected = QImage(golden).convertToFormat(QImage::Format_Grayscale8);
    ASSERT_EQ(page.size(), expected.size()) << "missing or different " << golden.toStdString();
    int differing = 0;
    for (int y = 0; y < page.height(); ++y) {
        for (int x = 0; x < page.width(); ++x) {
            differing +=
                std::abs(qGray(page.pixel(x, y)) - qGray(expected.pixel(x, y))) > kGreyTolerance;
        }
    }
    if (differing > kAllowed * page.width() * page.height()) {
        const QString out = QDir::temp().filePath(QStringLiteral("actual-graph_page.png"));
        page.save(out);
        FAIL() << differing << " pixels differ; actual in " << out.toStdString();
    }
}
