// Whole graph renders compared pixel for pixel with stored pictures. Set
// VELTRANE_REGENERATE_GOLDEN=1 to rewrite the pictures after a deliberate drawing change.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <cmath>

#include "data/messagetable.h"
#include "graph/renderer.h"
#include "graphtestdata.h"

namespace {

const QSize kGraphSize(705, 209);  // the graph box: 10575 x 3135 twips

QString goldenPath(const QString& name) {
    return qEnvironmentVariable("VELTRANE_TESTS") + QStringLiteral("/graph/golden/") + name;
}

QImage render(GraphKind kind, const GraphWindow& window, DataSet& set, bool print) {
    MessageTable messages;
    messages.fillEnglish();
    GraphRenderer renderer;
    renderer.setFont(fixedFont());
    QImage image(kGraphSize, QImage::Format_RGB32);
    QPainter painter(&image);
    renderer.draw(painter, QSizeF(kGraphSize), kind, window, set, GraphTexts::of(kind, messages),
                  print ? GraphPalette::print() : GraphPalette::screen());
    painter.end();
    return image;
}

void expectMatchesGolden(const QImage& actual, const QString& name) {
    const QString path = goldenPath(name);
    if (qEnvironmentVariableIntValue("VELTRANE_REGENERATE_GOLDEN") == 1) {
        QDir().mkpath(QFileInfo(path).path());
        ASSERT_TRUE(actual.save(path));
        return;
    }
    const QImage expected(path);
    ASSERT_FALSE(expected.isNull()) << "missing golden picture " << path.toStdString();
    const QImage a = actual.convertToFormat(QImage::Format_RGB32);
    const QImage e = expected.convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(a.size(), e.size());
    int differing = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            differing += a.pixel(x, y) != e.pixel(x, y) ? 1 : 0;
        }
    }
    if (differing != 0) {
        const QString out = QDir::temp().filePath(QStringLiteral("actual-") + name);
        actual.save(out);
        FAIL() << differing << " pixels differ from " << path.toStdString() << "; actual in "
               << out.toStdString();
    }
}

const double kStart = dayCountOf(2024, 5, 1, 10, 17, 30);

}  // namespace

TEST(GoldenRender, TemperatureTwoHoursWithAlarmLinesAndSeriesBreak) {
    TestDataSet data;
    // Three hours at 60 s; a new recording run starts after 100 samples.
    data.fill(
        kStart, 180, 60, [](int i) { return static_cast<float>(22 + 4 * std::sin(i / 15.0)); },
        [](int i) { return static_cast<float>(55 + 10 * std::cos(i / 20.0)); },
        [](int i) { return i < 100 ? 1.0F : 2.0F; });
    data.set.model = QStringLiteral("QM320-HX");
    data.set.upperBound = 25;
    data.set.upperOn = 1;
    data.set.lowerBound = 19;
    data.set.lowerOn = 1;
    GraphWindow w;
    w.width = 7200;
    w.offset = 0;
    w.bottom = 15;
    w.top = 29;
    w.halfSpan = 70;
    expectMatchesGolden(render(GraphKind::Temperature, w, data.set, false),
                        QStringLiteral("temperature_2h.png"));
    EXPECT_EQ(data.set.windowStats.maxTemperatureRecord, 119);
}

TEST(GoldenRender, HumidityTenDaysInPrintColoursScrolledBack) {
    TestDataSet data;
    // Fourteen days at 30 min.
    data.fill(
        dayCountOf(2024, 5, 25, 8, 0, 0), 14 * 48, 1800, [](int) { return 20.0F; },
        [](int i) { return static_cast<float>(60 + 25 * std::sin(i / 24.0)); });
    GraphWindow w;
    w.width = 864000;
    w.offset = 86400;
    w.bottom = 30;
    w.top = 90;
    w.halfSpan = 300;
    expectMatchesGolden(render(GraphKind::Humidity, w, data.set, true),
                        QStringLiteral("humidity_10d_print.png"));
}

TEST(GoldenRender, TemperatureFiveMinutesFirstSampleBelowTheRange) {
    TestDataSet data;
    data.add(kStart, 10, 50);  // below the range: no first-sample dot
    data.fill(
        kStart + 60 / 86400.0, 24, 10, [](int i) { return 21.0F + (i % 5) * 0.1F; },
        [](int) { return 50.0F; });
    GraphWindow w;
    w.width = 300;
    w.offset = 0;
    w.bottom = 20.5;
    w.top = 21.9;
    w.halfSpan = 7;
    expectMatchesGolden(render(GraphKind::Temperature, w, data.set, false),
                        QStringLiteral("temperature_5min.png"));
}

// Every value label, decimals and signs included, ends inside the picture: the column at the
// right edge holds nothing but background above the time labels. Both graph kinds keep one
// plot width, so their time grids line up.
TEST(GoldenRender, ValueLabelsFitInTheRightMargin) {
    TestDataSet data;
    data.fill(
        kStart, 30, 10, [](int i) { return -12.0F - (i % 5) * 0.1F; },
        [](int i) { return 99.0F + (i % 5) * 0.2F; });
    const struct {
        GraphKind kind;
        double bottom;
        double top;
    } cases[] = {{GraphKind::Temperature, -13.4, -11.6}, {GraphKind::Humidity, 98.6, 100}};
    for (const auto& c : cases) {
        GraphWindow w;
        w.width = 300;
        w.bottom = c.bottom;
        w.top = c.top;
        w.halfSpan = 9;
        const QImage image = render(c.kind, w, data.set, false);
        const QRgb background = GraphPalette::screen().color(30).rgb();
        const int bottomLine = static_cast<int>(image.height() / 1.1) - 8;
        int labelPixels = 0;
        for (int y = 0; y < bottomLine; ++y) {
            for (int x = image.width() - 2; x < image.width(); ++x) {
                labelPixels += image.pixel(x, y) != background ? 1 : 0;
            }
        }
        EXPECT_EQ(labelPixels, 0) << static_cast<int>(c.kind);
    }
    MessageTable messages;
    messages.fillEnglish();
    GraphRenderer renderer;
    renderer.setFont(fixedFont());
    QImage device(kGraphSize, QImage::Format_RGB32);
    EXPECT_EQ(renderer.plotWidth(&device, QSizeF(kGraphSize),
                                 GraphTexts::of(GraphKind::Temperature, messages)),
              renderer.plotWidth(&device, QSizeF(kGraphSize),
                                 GraphTexts::of(GraphKind::Humidity, messages)));
}
