// The window's Display > Statistics…, Display > Dew point and File > Export graph… pressed as a
// user presses them, over a log downloaded from the simulated logger; while a slow download
// runs the export cannot be pressed and does nothing.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QMenu>

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
