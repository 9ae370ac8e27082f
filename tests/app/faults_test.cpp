// Faults found when the program was tried, each through the whole window against the simulated
// logger: boxes that stay open while time passes, what a cleared data set still showed, the
// log header after disconnecting, an unreadable start date, closing during a download.
#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QDir>
#include <QFile>
#include <QTableView>

#include "endtoend.h"
#include "graph/graphpanel.h"
#include "graph/graphview.h"
#include "ui/datatable.h"

namespace {

using e2e::connectLogger;
using e2e::Rig;
using I = ControlId;

std::vector<QString> messageTexts(const ScriptedPrompter& prompter) {
    std::vector<QString> texts;
    for (const ScriptedPrompter::Call& call : prompter.calls) {
        if (call.kind == "message") {
            texts.push_back(call.text);
        }
    }
    return texts;
}

// A logger that falls silent mid-transfer: one box, however long the user takes to answer it,
// and nothing of the download runs on under it.
struct SilenceCase {
    const char* name;
    bool normalMode;
    bool streamResumes;  // fast mode: the stream goes on while the box is open
};

class SilenceDuringDownload : public ::testing::TestWithParam<SilenceCase> {};

TEST_P(SilenceDuringDownload, GivesExactlyOneMessage) {
    const SilenceCase& c = GetParam();
    Rig rig(QStringLiteral("runs"));
    ASSERT_TRUE(rig.started());
    connectLogger(rig);
    (c.normalMode ? rig.window->menu().slowDownloadItem : rig.window->menu().fastDownloadItem)
        ->trigger();
    rig.paceLine(6);
    if (!c.normalMode) {
        rig.logger.faults().stallAfterRecords = 100;
    }
    ASSERT_TRUE(rig.click(I::DownloadButton));
    DataSet& log = rig.window->dataSets()[LogData];
    for (int ms = 0; ms < 60000 && log.count < 100; ++ms) {
        rig.advance(1);
    }
    ASSERT_GE(log.count, 100);
    if (c.normalMode) {
        rig.logger.faults().silent.insert(code(Command::ReadMemory));
    }
    rig.prompter.whileOpen = [&rig, &c] {
        if (c.streamResumes) {
            rig.logger.faults().stallAfterRecords = -1;
        }
        rig.advance(3000);
    };
    ASSERT_TRUE(rig.runProcedure(20000));
    rig.advance(3000);
    const std::vector<QString> texts = messageTexts(rig.prompter);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0], rig.window->messages().text(Msg::DownloadFailed));
    EXPECT_EQ(log.count, 0);
    EXPECT_FALSE(rig.window->session().busy());
}

INSTANTIATE_TEST_SUITE_P(Cases, SilenceDuringDownload,
                         ::testing::Values(SilenceCase{"Normal", true, false},
                                           SilenceCase{"FastStalls", false, false},
                                           SilenceCase{"FastResumes", false, true}),
                         [](const ::testing::TestParamInfo<SilenceCase>& info) {
                             return std::string(info.param.name);
                         });

QStringList csvLines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QString::fromLatin1(file.readAll()).split(QStringLiteral("\r\n"));
}

// What a data set loses vanishes from every view of it: the boxes, the range labels and the
// saved view that a switch of data sets would show again.
TEST(Faults, ClearedLogLeavesNothingOnTheGraphs) {
    Rig rig(QStringLiteral("runs"));
    ASSERT_TRUE(rig.started());
    connectLogger(rig);
    ASSERT_TRUE(rig.click(I::DownloadButton));
    ASSERT_TRUE(rig.runProcedure());
    GraphPanel* panel = rig.window->layout().graphPanel;
    ASSERT_FALSE(panel->temperatureGraph()->image().isNull());
    ASSERT_TRUE(rig.click(I::ConnectButton));  // disconnect
    rig.prompter.answers = {false};            // do not save the download
    ASSERT_TRUE(rig.click(I::ConnectButton));
    ASSERT_TRUE(rig.runProcedure());
    EXPECT_EQ(rig.window->dataSets()[LogData].count, 0);
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        EXPECT_TRUE(panel->temperatureGraph()->image().isNull());
        EXPECT_TRUE(panel->humidityGraph()->image().isNull());
        EXPECT_TRUE(panel->rangeLabel(31)->text().isEmpty());
        rig.window->graphView().selectDisplay(FileData, 0);
        rig.window->graphView().selectDisplay(LogData, 0);
    }
}

// A CSV open that fails after emptying the file data set leaves no graph of the earlier file.
TEST(Faults, FailedCsvOpenLeavesNoGraph) {
    Rig rig(QStringLiteral("runs"));
    ASSERT_TRUE(rig.started());
    connectLogger(rig);
    ASSERT_TRUE(rig.click(I::DownloadButton));
    ASSERT_TRUE(rig.runProcedure());
    const QString good = QDir(rig.dir.path()).filePath(QStringLiteral("good.csv"));
    rig.prompter.fileNames = {good, good};
    rig.window->saveCsv(LogData);
    rig.window->openCsv();
    GraphPanel* panel = rig.window->layout().graphPanel;
    ASSERT_EQ(rig.window->Disp_stat(), FileData);
    ASSERT_FALSE(panel->temperatureGraph()->image().isNull());

    QStringList lines = csvLines(good);
    lines[5] = QStringLiteral("2,\"not a date\",\"x\",\"y\",\"\"");
    const QString bad = QDir(rig.dir.path()).filePath(QStringLiteral("bad.csv"));
    QFile file(bad);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(lines.join(QStringLiteral("\r\n")).toLatin1());
    file.close();
    rig.prompter.fileNames = {bad};
    rig.window->openCsv();
    EXPECT_EQ(rig.window->dataSets()[FileData].count, 0);
    EXPECT_EQ(rig.window->table(FileData)->model()->rowCount(), 0);
    EXPECT_TRUE(panel->temperatureGraph()->image().isNull());
    EXPECT_TRUE(panel->rangeLabel(37)->text().isEmpty());
}

// The header describes the data: a download saved after the logger was unplugged still names
// its logger and carries its alarm bounds.
TEST(Faults, LogSavedAfterUnpluggingKeepsItsHeader) {
    Rig rig(QStringLiteral("runs"));
    ASSERT_TRUE(rig.started());
    connectLogger(rig);
    ASSERT_TRUE(rig.click(I::DownloadButton));
    ASSERT_TRUE(rig.runProcedure());
    rig.device.present = false;
    rig.port.setPresent(false);
    rig.advance(2 * MainWindow::kDeviceCheckMs);
    ASSERT_FALSE(rig.port.isOpen());
    ASSERT_EQ(rig.window->Machine_N_P(), QStringLiteral("Veltrane"));

    const QString csv = QDir(rig.dir.path()).filePath(QStringLiteral("after.csv"));
    rig.prompter.fileNames = {csv};
    rig.window->saveCsv(LogData);
    const QStringList lines = csvLines(csv);
    ASSERT_GE(lines.size(), 3);
    const MessageTable& m = rig.window->messages();
    EXPECT_TRUE(lines[0].endsWith(
        QStringLiteral("\"%1\",\"%2\"")
            .arg(m.text(Msg::CsvUpperBoundCaption), m.text(Msg::CsvLowerBoundCaption))))
        << lines[0].toStdString();
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("\"LAB1\","))) << lines[1].toStdString();
    EXPECT_TRUE(lines[1].endsWith(QStringLiteral("\"30\",\"OFF\""))) << lines[1].toStdString();
}

// Records under an unreadable start date are downloaded, dated by the segment table.
TEST(Faults, RecordsUnderAnUnreadableStartDownload) {
    Rig rig(QStringLiteral("nodate"));
    ASSERT_TRUE(rig.started());
    connectLogger(rig);
    EXPECT_EQ(rig.text(I::BeginningText), rig.window->messages().text(Msg::StartDateUnreadable));
    ASSERT_TRUE(rig.click(I::DownloadButton));
    ASSERT_TRUE(rig.runProcedure());
    EXPECT_TRUE(rig.prompter.calls.empty());
    const std::vector<Sample> log = rig.samples(LogData);
    ASSERT_EQ(log.size(), 100u);
    const double start = e2e::at(Rig::scenarioNow().addDays(-1));
    EXPECT_NEAR(log.front().dateTime, start, 0.5 * e2e::kSecond);
    EXPECT_NEAR(log.back().dateTime, start + 99 * 60 * e2e::kSecond, 0.5 * e2e::kSecond);
}

// Closing the window during a download ends it at once and shuts down through the questions.
TEST(Faults, ClosingDuringADownloadShutsDownAtOnce) {
    Rig rig(QStringLiteral("runs"));
    ASSERT_TRUE(rig.started());
    connectLogger(rig);
    rig.paceLine(6);
    ASSERT_TRUE(rig.click(I::DownloadButton));
    rig.advance(500);
    ASSERT_TRUE(rig.window->session().busy());
    QWidget* progress = rig.window->controls().as<QWidget>(I::ProgressDialog);
    ASSERT_NE(progress, nullptr);
    ASSERT_TRUE(progress->isVisible());
    rig.window->close();
    EXPECT_FALSE(rig.window->session().busy());
    EXPECT_FALSE(progress->isVisible());
    EXPECT_FALSE(rig.port.isOpen());
    EXPECT_TRUE(rig.prompter.calls.empty());
    EXPECT_TRUE(QFile::exists(QDir(rig.dir.path()).filePath(QStringLiteral("Logger.ini"))));
    EXPECT_FALSE(QFile::exists(QDir(rig.dir.path()).filePath(QStringLiteral("log.rand"))));
}

}  // namespace
