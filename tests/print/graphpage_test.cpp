// The graph page printed to PDF and rasterised, compared with a stored picture within a small
// tolerance (rasteriser and font hinting may move a few edge pixels), and the value labels on
// the frame's edges printed whole. Set VELTRANE_REGENERATE_GOLDEN=1 to rewrite the picture
// after a deliberate change.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <cmath>
#include <cstdlib>

#include "drawingrecorder.h"
#include "print/graphprint.h"
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
    rig.bars[TimeWidthBar].setValue(7200);
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

TEST(GraphPage, TheTopAndBottomValueLabelsArePrintedWhole) {
    PrintRig rig;
    const double start = dayCountOf(2024, 5, 1, 10, 0, 0);
    // Humidity from 0 to 100 %RH puts "0%" and "100%" on the frame's bottom and top lines.
    rig.fill(
        LogData, start, 101, 60, [](int i) { return 10.0F + i * 0.2F; },
        [](int i) { return static_cast<float>(i); });
    rig.fitGraph(LogData);
    // 10 to 30 °C: "10°C" and "30°C" on the lines.
    rig.bars[TemperatureSpanBar].setRange(0, 1000);
    rig.bars[TemperatureSpanBar].setValue(100);
    rig.bars[TemperatureCentreBar].setRange(-1000, 1000);
    rig.bars[TemperatureCentreBar].setValue(200);

    QPrinter& printer = rig.choice.settings();
    DrawingRecorder device(printer.pageLayout(), printer.resolution());
    QPainter painter(&device);
    PrintPage page(painter, device, rig.renderer.font(), rig.messages.text(Msg::PrintMeasureLetter),
                   PrintPage::kGraphMargin);
    printGraphPage(page, {QStringLiteral("LG01"), start, 101, 60}, rig.set(LogData), rig.bars,
                   rig.renderer, rig.messages);
    painter.end();

    // Each graph is drawn over its own background, the two largest boxes of the page.
    std::vector<QRectF> graphs;
    double largest = 0;
    for (const DrawnItem& item : device.items) {
        if (item.kind == DrawnItem::Box) {
            largest = std::max(largest, item.rect.width() * item.rect.height());
        }
    }
    for (const DrawnItem& item : device.items) {
        if (item.kind == DrawnItem::Box && item.rect.width() * item.rect.height() > 0.9 * largest) {
            graphs.push_back(item.rect);
        }
    }
    ASSERT_EQ(graphs.size(), 2U);
    const QRectF printable(0, 0, device.width(), device.height());
    const QRegularExpression label(
        QStringLiteral("^-?\\d+(\\.\\d)?(%1|%2)$")
            .arg(QRegularExpression::escape(rig.messages.text(Msg::DegreeSign)),
                 QRegularExpression::escape(rig.messages.text(Msg::PercentSign))));
    QStringList printed;
    for (std::size_t i = 0; i < device.items.size(); ++i) {
        const DrawnItem& item = device.items[i];
        if (item.kind != DrawnItem::Text || !label.match(item.text).hasMatch()) {
            continue;
        }
        SCOPED_TRACE(item.text.toStdString());
        printed.append(item.text);
        const QRectF& graph = graphs[item.rect.center().y() < graphs[1].top() ? 0 : 1];
        EXPECT_TRUE(printable.contains(item.rect));
        EXPECT_GE(item.rect.top(), graph.top());
        EXPECT_LE(item.rect.bottom(), graph.bottom());
        // Nothing drawn later covers a part of it.
        for (std::size_t j = i + 1; j < device.items.size(); ++j) {
            EXPECT_FALSE(device.items[j].kind == DrawnItem::Box &&
                         device.items[j].rect.intersects(item.rect));
        }
    }
    for (const char* edge : {"30°C", "10°C", "100%", "0%"}) {
        EXPECT_TRUE(printed.contains(QString::fromUtf8(edge))) << edge;
    }
}
