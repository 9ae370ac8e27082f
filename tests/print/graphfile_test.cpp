// File > Export graph: the graphs written as a PNG image of the chosen size or as an SVG drawing
// holding both graphs, chosen by the extension; a refused name, a cancelled size and an
// unwritable folder leave no file and say why.
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QXmlStreamReader>
#include <cmath>

#include "print/graphfile.h"
#include "printkit.h"

using namespace printtest;

namespace {

class GraphFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        rig.fill(
            LogData, dayCountOf(2024, 5, 1, 8), 240, 60,
            [](int i) { return static_cast<float>(22 + 3 * std::sin(i / 20.0)); },
            [](int i) { return static_cast<float>(55 + 9 * std::cos(i / 25.0)); });
        rig.fitGraph(LogData);
        subject.set = &rig.set(LogData);
        subject.view = {rig.bars, 1};
        subject.screenSize = QSize(705, 418);
        subject.directory = rig.path(QString());
        subject.proposedName = QStringLiteral("LG01");
        subject.title = QStringLiteral("QM320-HX");
    }

    ExportOutcome exportTo(const QString& path) {
        rig.prompter.fileNames.push_back(path);
        GraphExportOperation operation(rig.prompter, rig.messages, [this](QSize proposed) {
            proposedSizes.push_back(proposed);
            return answer;
        });
        return operation.run(subject, rig.renderer);
    }

    PrintRig rig;
    ExportSubject subject;
    std::optional<QSize> answer = QSize(800, 500);
    std::vector<QSize> proposedSizes;
};

TEST_F(GraphFileTest, PngIsWrittenAtTheChosenSizeAfterProposingTheScreenSize) {
    const QString path = rig.path(QStringLiteral("graph.PNG"));
    const ExportOutcome outcome = exportTo(path);
    ASSERT_EQ(outcome.status, ExportStatus::Written)
        << rig.prompter.messages.join('\n').toStdString();
    ASSERT_EQ(proposedSizes.size(), 1U);
    EXPECT_EQ(proposedSizes.front(), QSize(705, 418));
    const QImage image(path);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(800, 500));
    // Drawn, not blank: the sample lines are black on white.
    int ink = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            ink += qGray(image.pixel(x, y)) < 100;
        }
    }
    EXPECT_GT(ink, 500);
}

TEST_F(GraphFileTest, SvgParsesAndHoldsBothGraphs) {
    const QString path = rig.path(QStringLiteral("graph.svg"));
    ASSERT_EQ(exportTo(path).status, ExportStatus::Written);
    EXPECT_TRUE(proposedSizes.empty());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    QStringList texts;
    int paths = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement) {
            paths += xml.name() == QLatin1String("polyline") || xml.name() == QLatin1String("path");
            if (xml.name() == QLatin1String("text")) {
                texts.append(xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed());
            }
        }
    }
    ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_TRUE(texts.contains(rig.messages.text(Msg::TemperatureGraph)));
    EXPECT_TRUE(texts.contains(rig.messages.text(Msg::HumidityGraph)));
    EXPECT_GT(paths, 10);
}

struct RefusedCase {
    const char* name;
    const char* file;  // in the rig's folder; a missing folder cannot be written
    bool cancelSize;
    ExportStatus status;
    Msg told;  // Msg::StatsNoData for nothing told
};

class GraphFileRefusedTest : public GraphFileTest,
                             public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(GraphFileRefusedTest, NoFileIsLeftAndTheUserIsToldWhy) {
    const RefusedCase& c = GetParam();
    if (c.cancelSize) {
        answer.reset();
    }
    const QString path = rig.path(QString::fromUtf8(c.file));
    EXPECT_EQ(exportTo(path).status, c.status);
    EXPECT_FALSE(QFileInfo::exists(path));
    if (c.told == Msg::StatsNoData) {
        EXPECT_TRUE(rig.prompter.messages.isEmpty());
    } else {
        ASSERT_EQ(rig.prompter.messages.size(), 1);
        EXPECT_TRUE(rig.prompter.messages.front().contains(rig.messages.text(c.told)));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GraphFileRefusedTest,
    ::testing::Values(RefusedCase{"OtherExtension", "graph.jpg", false, ExportStatus::Cancelled,
                                  Msg::ExportNeedsExtension},
                      RefusedCase{"SizeCancelled", "graph.png", true, ExportStatus::Cancelled,
                                  Msg::StatsNoData},
                      RefusedCase{"MissingFolder", "missing/graph.png", false, ExportStatus::Failed,
                                  Msg::ExportNotWritten}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(GraphFileTest, AnEmptyDataSetIsNotExported) {
    subject.set = &rig.set(FileData);
    EXPECT_EQ(exportTo(rig.path(QStringLiteral("empty.png"))).status,
              ExportStatus::NothingToExport);
    EXPECT_EQ(rig.prompter.saveQuestions.size(), 0);
}

}  // namespace
