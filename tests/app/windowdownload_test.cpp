// Downloads through the main window: the Download button in both modes and over a paced line,
// what the log data set, its table, the graphs and a CSV copy then hold, cancel, unplugging,
// and the save questions around a download.
#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <algorithm>
#include <cmath>

#include "data/datetime.h"
#include "endtoend.h"
#include "graph/graphpanel.h"
#include "graph/graphview.h"
#include "ui/datatable.h"

namespace {

using e2e::at;
using e2e::connectLogger;
using e2e::kIdeographicSpace;
using e2e::kSecond;
using e2e::Rig;
using I = ControlId;

// The "runs" scenario: three runs at 10 minutes, dated relative to Rig::scenarioNow().
struct RunSpan {
    int daysBefore;
    int count;
};
constexpr RunSpan kRuns[] = {{10, 300}, {7, 200}, {3, 150}};
constexpr int kRunInterval = 600;

int runsRecordCount() {
    int count = 0;
    for (const RunSpan& run : kRuns) {
        count += run.count;
    }
    return count;
}

// Every downloaded record of "runs" carries its number, run (series), date and the bytes at
// its address in the logger's one-time memory.
void expectRunsRecords(Rig& rig, const std::vector<Sample>& log) {
    const auto& memory = rig.logger.state().memory;
    std::size_t k = 0;
    for (int r = 0; r < 3 && k < log.size(); ++r) {
        const double start = at(Rig::scenarioNow().addDays(-kRuns[r].daysBefore));
        for (int i = 0; i < kRuns[r].count && k < log.size(); ++i, ++k) {
            ASSERT_EQ(log[k].index, static_cast<int>(k + 1));
            ASSERT_EQ(log[k].series, static_cast<float>(r + 1)) << k + 1;
            ASSERT_NEAR(log[k].dateTime, start + i * kRunInterval * kSecond, 0.5 * kSecond)
                << k + 1;
            for (int b = 0; b < 4; ++b) {
                ASSERT_EQ(log[k].raw[b], memory[k * 4 + b]) << k + 1;
            }
        }
    }
}

struct DownloadCase {
    const char* name;
    bool slowMenu;
    std::uint8_t mode;
    int bytesPerMs;  // 0: every reply at once
};

class DownloadThroughWindow : public ::testing::TestWithParam<DownloadCase> {};

TEST_P(DownloadThroughWindow, FillsLogDataTableGraphsAndSurvivesCsv) {
    Rig rig(QStringLiteral("runs"));
    ASSERT_TRUE(rig.started());
    connectLogger(rig);
    const MainMenu& menu = rig.window->menu();
    (GetParam().slowMenu ? menu.fastDownloadItem : menu.slowDownloadItem)->trigger();
    (GetParam().slowMenu ? menu.slowDownloadItem : menu.fastDownloadItem)->trigger();
    EXPECT_EQ(rig.window->downloadSpeedMode(), GetParam().mode);
    rig.paceLine(GetParam().bytesPerMs);
    GraphPanel* panel = rig.window->layout().graphPanel;

    ASSERT_TRUE(rig.click(ControlId::DownloadButton));
    ASSERT_TRUE(rig.runProcedure());
    EXPECT_TRUE(rig.prompter.calls.empty());
    EXPECT_EQ(rig.window->Disp_stat(), LogData);
    EXPECT_TRUE(rig.port.isOpen());

    const std::vector<Sample> log = rig.samples(LogData);
    const int expectedCount = runsRecordCount();
    ASSERT_EQ(static_cast<int>(log.size()), expectedCount);
    expectRunsRecords(rig, log);

    auto* table = rig.window->findChild<QTableView*>(QStringLiteral("ListView1_0"));
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->model()->rowCount(), expectedCount);

    // The fit shows the whole span (zoom bars at their widest, nothing left to scroll) and
    // centres both value axes on the data.
    float tMax = -1000, tMin = 1000, hMax = -1000, hMin = 1000;
    for (const Sample& s : log) {
        tMax = std::max(tMax, s.temperature);
        tMin = std::min(tMin, s.temperature);
        hMax = std::max(hMax, s.humidity);
        hMin = std::min(hMin, s.humidity);
    }
    for (BarIndex zoom : {TimeWidthBar, HumidityTimeWidthBar}) {
        const QScrollBar* bar = panel->bar(zoom);
        EXPECT_LT(bar->minimum(), bar->maximum()) << zoom;
        EXPECT_EQ(bar->value(), bar->maximum()) << zoom;
    }
    for (BarIndex position : {TimePositionBar, HumidityTimePositionBar}) {
        EXPECT_EQ(panel->bar(position)->value(), 0) << position;
    }
    EXPECT_EQ(panel->bar(TemperatureCentreBar)->value(), std::lround((tMax + tMin) / 2 * 10));
    EXPECT_EQ(panel->bar(HumidityCentreBar)->value(), std::lround((hMax + hMin) / 2 * 10));

    expectCsvRoundTrip(rig, LogData, log);
}

INSTANTIATE_TEST_SUITE_P(Modes, DownloadThroughWindow,
                         ::testing::Values(DownloadCase{"Fast", false, 0, 0},
                                           DownloadCase{"Normal", true, 1, 0},
                                           DownloadCase{"FastAt57600", false, 0, 6},
                                           DownloadCase{"NormalAt57600", true, 1, 6}),
                         [](const ::testing::TestParamInfo<DownloadCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(EndToEnd, WrappedLoopMemoryDownloadsFifteenThousandInOrder) {
    Rig rig(QStringLiteral("wrapped"));
    ASSERT_TRUE(rig.started());
    connectLogger(rig);
    EXPECT_EQ(rig.text(I::PointsText), QStringLiteral("15000 point"));
    EXPECT_EQ(rig.text(I::ModeText), QStringLiteral("Loop"));
    ASSERT_TRUE(rig.click(ControlId::DownloadButton));
    ASSERT_TRUE(rig.runProcedure());
    EXPECT_TRUE(rig.prompter.calls.empty());
    const std::vector<Sample> log = rig.samples(LogData);
    ASSERT_EQ(log.size(), 15000u);
    // One run of 15100 records at 1 min written round a memory of 15000, write position at
    // record 100: the oldest kept record (at that position) comes first.
    const int writeRecord = rig.logger.state().recordPointer / 4;
    const auto& memory = rig.logger.state().memory;
    const double start = at(Rig::scenarioNow().addSecs(-15100 * 60));
    for (int k = 0; k < 15000; ++k) {
        const int address = ((k + writeRecord) % 15000) * 4;
        ASSERT_EQ(log[k].index, k + 1);
        ASSERT_EQ(log[k].series, 1.0f) << k + 1;
        ASSERT_NEAR(log[k].dateTime, start + (k + 100) * 60 * kSecond, 0.5 * kSecond) << k + 1;
        for (int b = 0; b < 4; ++b) {
            ASSERT_EQ(log[k].raw[b], memory[address + b]) << k + 1;
        }
    }
    auto* table = rig.window->findChild<QTableView*>(QStringLiteral("ListView1_0"));
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->model()->rowCount(), 15000);
    expectCsvRoundTrip(rig, LogData, log);
}

QDialog* progressDialog() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == QLatin1String("Form3")) {
            return qobject_cast<QDialog*>(widget);
        }
    }
    return nullptr;
}

TEST(EndToEnd, CancelInTheProgressDialogKeepsTheRecordsReceived) {
    Rig rig(QStringLiteral("runs"));
    ASSERT_TRUE(rig.started());
    connectLogger(rig);
    rig.window->menu().slowDownloadItem->trigger();
    rig.paceLine(6);
    ASSERT_TRUE(rig.click(ControlId::DownloadButton));
    QDialog* dialog = progressDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    auto* bar = dialog->findChild<QProgressBar*>(QStringLiteral("ProgressBar1"));
    auto* cancel = dialog->findChild<QPushButton*>(QStringLiteral("Command1"));
    ASSERT_NE(bar, nullptr);
    ASSERT_NE(cancel, nullptr);
    for (int ms = 0; ms < 100000 && rig.window->session().engine().busy() && bar->value() < 320;
         ++ms) {
        rig.advance(1);
    }
    ASSERT_TRUE(rig.window->session().engine().busy())
        << "the download ended before the cancel: " << bar->value() << "/" << bar->maximum() << " "
        << rig.window->dataSets()[LogData].count << " "
        << (rig.prompter.calls.empty() ? std::string() : rig.prompter.calls[0].text.toStdString());
    ASSERT_TRUE(cancel->isEnabled());
    cancel->click();
    ASSERT_TRUE(rig.runProcedure());

    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(rig.window->Disp_stat(), LogData);
    const std::vector<Sample> log = rig.samples(LogData);
    EXPECT_GE(log.size(), 320u);
    EXPECT_LT(static_cast<int>(log.size()), runsRecordCount());
    expectRunsRecords(rig, log);
    auto* table = rig.window->findChild<QTableView*>(QStringLiteral("ListView1_0"));
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->model()->rowCount(), static_cast<int>(log.size()));
    // The line is quiet again: the next procedure (the Update button) gets its own replies.
    ASSERT_TRUE(rig.click(ControlId::UpdateButton));
    ASSERT_TRUE(rig.runProcedure());
    EXPECT_TRUE(rig.port.isOpen());
    EXPECT_EQ(rig.text(I::IdentNameText), QStringLiteral("LAB1"));
    EXPECT_TRUE(rig.prompter.calls.empty());
}

class UnplugDuringDownload : public ::testing::TestWithParam<DownloadCase> {};

TEST_P(UnplugDuringDownload, EndsWithAMessageKeepsNoPartialDataAndStaysUsable) {
    Rig rig(QStringLiteral("runs"));
    ASSERT_TRUE(rig.started());
    connectLogger(rig);
    (GetParam().slowMenu ? rig.window->menu().slowDownloadItem
                         : rig.window->menu().fastDownloadItem)
        ->trigger();
    rig.paceLine(GetParam().bytesPerMs);
    ASSERT_TRUE(rig.click(ControlId::DownloadButton));
    QDialog* dialog = progressDialog();
    ASSERT_NE(dialog, nullptr);
    auto* bar = dialog->findChild<QProgressBar*>(QStringLiteral("ProgressBar1"));
    ASSERT_NE(bar, nullptr);
    for (int ms = 0; ms < 100000 && rig.window->session().engine().busy() && bar->value() < 200;
         ++ms) {
        rig.advance(1);
    }
    ASSERT_TRUE(rig.window->session().engine().busy());
    rig.device.present = false;
    rig.port.setPresent(false);

    ASSERT_TRUE(rig.runProcedure(60000));
    EXPECT_FALSE(dialog->isVisible());
    ASSERT_FALSE(rig.prompter.calls.empty()) << "the failure went unreported";
    EXPECT_EQ(rig.prompter.calls.back().kind, "message");
    EXPECT_EQ(rig.prompter.calls.back().text, rig.window->messages().text(Msg::DownloadFailed));
    EXPECT_TRUE(rig.window->session().state().recordState == RecordState::Stopped);
    const int count = rig.window->dataSets()[LogData].count;
    EXPECT_TRUE(count == 0 || count == runsRecordCount()) << count;
    auto* table = rig.window->findChild<QTableView*>(QStringLiteral("ListView1_0"));
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->model()->rowCount(), count);

    rig.advance(2 * MainWindow::kDeviceCheckMs);
    EXPECT_FALSE(rig.port.isOpen());
    EXPECT_EQ(rig.window->statusText(1), QStringLiteral("Unconnection"));

    // Plugged in again, the logger connects and downloads as before.
    rig.device.present = true;
    rig.port.setPresent(true);
    rig.paceLine(0);
    rig.prompter.calls.clear();
    connectLogger(rig);
    ASSERT_TRUE(rig.click(ControlId::DownloadButton));
    ASSERT_TRUE(rig.runProcedure());
    const std::vector<Sample> log = rig.samples(LogData);
    ASSERT_EQ(static_cast<int>(log.size()), runsRecordCount());
    expectRunsRecords(rig, log);
}

INSTANTIATE_TEST_SUITE_P(Modes, UnplugDuringDownload,
                         ::testing::Values(DownloadCase{"Fast", false, 0, 6},
                                           DownloadCase{"Normal", true, 1, 6}),
                         [](const ::testing::TestParamInfo<DownloadCase>& info) {
                             return std::string(info.param.name);
                         });

// Reconnecting with an unsaved download: the answer and the save decide what happens.
struct ReconnectCase {
    const char* name;
    bool answerYes;
    bool fileChosen;
    bool connects;
    bool saved;
};

class ReconnectWithUnsavedLog : public ::testing::TestWithParam<ReconnectCase> {};

TEST_P(ReconnectWithUnsavedLog, AsksAndKeepsOrClearsTheData) {
    const ReconnectCase& c = GetParam();
    Rig rig(QStringLiteral("runs"));
    ASSERT_TRUE(rig.started());
    connectLogger(rig);
    ASSERT_TRUE(rig.click(ControlId::DownloadButton));
    ASSERT_TRUE(rig.runProcedure());
    ASSERT_TRUE(rig.click(ControlId::ConnectButton));
    ASSERT_FALSE(rig.port.isOpen());
    ASSERT_EQ(rig.window->dataSets()[LogData].count, runsRecordCount());

    const QString csv = QDir(rig.dir.path()).filePath(QStringLiteral("kept.csv"));
    rig.prompter.answers = {c.answerYes};
    if (c.fileChosen) {
        rig.prompter.fileNames = {csv};
    }
    ASSERT_TRUE(rig.click(ControlId::ConnectButton));
    EXPECT_EQ(rig.prompter.questionTexts(), QStringList{rig.window->messages().pair(
                                                Msg::ConnectLosesDownload, Msg::AskSaveLogData)});
    EXPECT_EQ(rig.port.isOpen(), c.connects);
    EXPECT_EQ(QFile::exists(csv), c.saved);
    ASSERT_TRUE(rig.runProcedure());
    // Data is cleared only once it is saved or given up; otherwise it stays, unsaved.
    const DataSet& log = rig.window->dataSets()[LogData];
    EXPECT_EQ(log.count, c.connects ? 0 : runsRecordCount());
    EXPECT_EQ(log.unsaved, !c.connects);
    auto* table = rig.window->findChild<QTableView*>(QStringLiteral("ListView1_0"));
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->model()->rowCount(), log.count);
    EXPECT_EQ(rig.window->statusText(1), c.connects ? "Communicating" + kIdeographicSpace + "Port3"
                                                    : QStringLiteral("Unconnection"));
}

INSTANTIATE_TEST_SUITE_P(Answers, ReconnectWithUnsavedLog,
                         ::testing::Values(ReconnectCase{"No", false, false, true, false},
                                           ReconnectCase{"YesAndSaved", true, true, true, true},
                                           ReconnectCase{"YesButCancelled", true, false, false,
                                                         false}),
                         [](const ::testing::TestParamInfo<ReconnectCase>& info) {
                             return std::string(info.param.name);
                         });

class NothingToDownload : public ::testing::TestWithParam<const char*> {};

TEST_P(NothingToDownload, SaysSoAndStartsNothing) {
    Rig rig(QString::fromLatin1(GetParam()));
    ASSERT_TRUE(rig.started());
    connectLogger(rig);
    const QByteArray written = rig.port.written();
    ASSERT_TRUE(rig.click(ControlId::DownloadButton));
    EXPECT_FALSE(rig.window->session().engine().busy());
    EXPECT_EQ(rig.port.written(), written);
    ASSERT_EQ(rig.prompter.calls.size(), 1u);
    EXPECT_EQ(rig.prompter.calls[0].kind, "message");
    EXPECT_EQ(rig.prompter.calls[0].text, QStringLiteral("No download data."));
    EXPECT_EQ(rig.window->dataSets()[LogData].count, 0);
}

INSTANTIATE_TEST_SUITE_P(Scenarios, NothingToDownload, ::testing::Values("empty"));

TEST(EndToEnd, SecondDownloadOffersToSaveTheFirst) {
    Rig rig(QStringLiteral("runs"));
    ASSERT_TRUE(rig.started());
    connectLogger(rig);
    ASSERT_TRUE(rig.click(ControlId::DownloadButton));
    ASSERT_TRUE(rig.runProcedure());
    ASSERT_TRUE(rig.window->dataSets()[LogData].unsaved);

    const QString csv = QDir(rig.dir.path()).filePath(QStringLiteral("first.csv"));
    rig.prompter.answers = {true};
    rig.prompter.fileNames = {csv};
    ASSERT_TRUE(rig.click(ControlId::DownloadButton));
    ASSERT_EQ(rig.prompter.questionTexts().size(), 1);
    EXPECT_TRUE(QFile::exists(csv));
    ASSERT_TRUE(rig.runProcedure());
    EXPECT_EQ(rig.window->dataSets()[LogData].count, runsRecordCount());
    EXPECT_TRUE(rig.window->dataSets()[LogData].unsaved);
}

}  // namespace
