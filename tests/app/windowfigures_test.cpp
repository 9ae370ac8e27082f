// The window's Display > Statistics…, Display > Dew point and File > Export graph… pressed as a
// user presses them, over a log downloaded from the simulated logger; while a slow download
// runs the export cannot be pressed and does nothing.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMenu>
#include <QProcess>

#include "app/windowfigures.h"
#include "endtoend.h"
#include "graph/graphpanel.h"
#include "graph/graphview.h"
#include "ui/statisticsdialog.h"

namespace {

using e2e::Rig;

// Triggers a menu item the way a user can: it and every menu holding it shown and enabled.
::testing::AssertionResult press(QAction* item) {
    if (item == nullptr) {
        return ::testing::AssertionFailure() << "no such item";
    }
    for (QObject* o = item; o != nullptr; o = o->parent()) {
        QAction* entry = o == item ? item : nullptr;
        if (auto* menu = qobject_cast<QMenu*>(o)) {
            entry = menu->menuAction();
        }
        if (entry != nullptr && (!entry->isVisible() || !entry->isEnabled())) {
            return ::testing::AssertionFailure()
                   << entry->objectName().toStdString() << " is hidden or disabled";
        }
    }
    item->trigger();
    return ::testing::AssertionSuccess();
}

void download(Rig& rig) {
    e2e::connectLogger(rig);
    ASSERT_TRUE(rig.click(ControlId::DownloadButton));
    ASSERT_TRUE(rig.runProcedure());
    ASSERT_EQ(rig.window->Disp_stat(), LogData);
    ASSERT_GT(rig.window->dataSets()[LogData].count, 1);
}

TEST(WindowFigures, StatisticsShowTheDownloadedLogsFigures) {
    Rig rig(QStringLiteral("runs"));
    ASSERT_TRUE(rig.started());
    download(rig);
    ASSERT_TRUE(press(rig.window->menu().statisticsItem));
    StatisticsDialog* dialog = rig.window->figures().statistics();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(dialog->isModal());
    DataSet& log = rig.window->dataSets()[LogData];
    const analysis::Figures expected =
        analysis::figuresOf(*analysis::readReadings(log), log.interval, analysis::boundsOf(log));
    for (const FigureRow& row : figureRows(expected, rig.window->messages())) {
        EXPECT_EQ(dialog->valueText(row.label, StatisticsDialog::WholeColumn), row.value);
    }
    EXPECT_EQ(dialog->valueText(Msg::StatsCount, StatisticsDialog::WholeColumn),
              QString::number(log.count));
}

// The window and the command line read one saved file and agree on its figures.
TEST(WindowFigures, StatisticsAgreeWithTheCommandLinesReport) {
    const QString cli = qEnvironmentVariable("VELTRANE_CLI");
    if (cli.isEmpty() || !QFile::exists(cli)) {
        GTEST_SKIP() << "VELTRANE_CLI names no program";
    }
    Rig rig(QStringLiteral("runs"));
    ASSERT_TRUE(rig.started());
    download(rig);
    const QString csv = rig.dir.filePath(QStringLiteral("log.csv"));
    rig.prompter.fileNames = {csv};
    ASSERT_TRUE(rig.click(ControlId::SaveLogButton));
    rig.prompter.fileNames = {csv};
    ASSERT_TRUE(press(rig.window->menu().openItem));
    ASSERT_EQ(rig.window->Disp_stat(), FileData);
    ASSERT_TRUE(press(rig.window->menu().statisticsItem));
    const analysis::Figures& shown =
        rig.window->figures().statistics()->figures(StatisticsDialog::WholeColumn);

    QProcess report;
    report.start(cli, {QStringLiteral("report"), csv, QStringLiteral("--json")});
    ASSERT_TRUE(report.waitForFinished(30000));
    ASSERT_EQ(report.exitCode(), 0) << report.readAllStandardError().toStdString();
    const QJsonObject json = QJsonDocument::fromJson(report.readAllStandardOutput()).object();
    ASSERT_FALSE(json.isEmpty());
    const analysis::Summary& s = shown.summary;
    EXPECT_EQ(json[QStringLiteral("count")].toInt(), s.count);
    const auto near = [](const QJsonValue& value, double expected) {
        EXPECT_NEAR(value.toDouble(), expected, 1e-6);
    };
    const QJsonObject t = json[QStringLiteral("temperature")].toObject();
    near(t[QStringLiteral("minimum")].toObject()[QStringLiteral("value")],
         static_cast<float>(s.temperature.minimum.value));
    near(t[QStringLiteral("maximum")].toObject()[QStringLiteral("value")],
         static_cast<float>(s.temperature.maximum.value));
    near(t[QStringLiteral("mean")], s.temperature.mean);
    near(t[QStringLiteral("standardDeviation")], s.temperature.standardDeviation);
    near(json[QStringLiteral("humidity")].toObject()[QStringLiteral("mean")], s.humidity.mean);
    near(json[QStringLiteral("meanKineticTemperature")], shown.meanKineticTemperature.value_or(0));
    near(json[QStringLiteral("dewPoint")].toObject()[QStringLiteral("mean")], shown.dewPoint.mean);
    near(json[QStringLiteral("durationSeconds")], s.duration);
    near(json[QStringLiteral("timeAboveSeconds")], shown.excursions.timeAbove);
    near(json[QStringLiteral("timeBelowSeconds")], shown.excursions.timeBelow);
}

TEST(WindowFigures, DewPointChoiceRedrawsTheHumidityGraphAndIsKept) {
    Rig rig(QStringLiteral("runs"));
    ASSERT_TRUE(rig.started());
    download(rig);
    GraphView& view = rig.window->graphView();
    const QImage before = rig.window->layout().graphPanel->humidityGraph()->image();
    QAction* item = rig.window->menu().dewPointItem;
    EXPECT_FALSE(item->isChecked());
    ASSERT_TRUE(press(item));
    EXPECT_TRUE(view.renderer().dewPointLine());
    EXPECT_NE(rig.window->layout().graphPanel->humidityGraph()->image(), before);
    QFile ini(rig.dir.filePath(QStringLiteral("Logger.ini")));
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    EXPECT_TRUE(ini.readAll().endsWith(",1\r\n"));
}

TEST(WindowFigures, ExportGraphWritesThePngOfTheChosenSize) {
    Rig rig(QStringLiteral("runs"));
    ASSERT_TRUE(rig.started());
    download(rig);
    QSize proposed;
    rig.window->figures().setSizeQuestion([&proposed](QSize size) {
        proposed = size;
        return std::optional<QSize>(QSize(640, 400));
    });
    const QString path = rig.dir.filePath(QStringLiteral("graphs.png"));
    rig.prompter.fileNames = {path};
    ASSERT_TRUE(press(rig.window->menu().exportGraphItem));
    const QSize box = rig.window->layout().graphPanel->temperatureGraph()->size();
    EXPECT_EQ(proposed, QSize(box.width(), 2 * box.height()));
    EXPECT_EQ(QImage(path).size(), QSize(640, 400));
}

TEST(WindowFigures, ExportDoesNothingWhileASlowDownloadRuns) {
    Rig rig(QStringLiteral("runs"));
    ASSERT_TRUE(rig.started());
    e2e::connectLogger(rig);
    rig.paceLine(6);
    ASSERT_TRUE(rig.click(ControlId::DownloadButton));
    rig.advance(50);
    ASSERT_TRUE(rig.window->session().busy());
    rig.prompter.calls.clear();
    rig.prompter.fileNames = {rig.dir.filePath(QStringLiteral("never.png"))};
    // The File menu is shut while the logger talks, and the export itself refuses to start.
    EXPECT_FALSE(press(rig.window->menu().exportGraphItem));
    EXPECT_EQ(rig.window->figures().exportGraph(rig.dir.path()).status, ExportStatus::Cancelled);
    EXPECT_TRUE(rig.prompter.calls.empty());
    ASSERT_TRUE(rig.runProcedure());
    EXPECT_FALSE(QFile::exists(rig.dir.filePath(QStringLiteral("never.png"))));
}

}  // namespace
