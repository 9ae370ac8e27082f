// The History dialog in the main window: a download kept in the archive, File > History…
// pressed, the recording opened from the dialog as the file data set (table and CSV save), and
// the setting that keeps downloads out of the archive written to Logger.ini.
#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTableView>
#include <QTimer>

#include "endtoend.h"

namespace {

using e2e::connectLogger;
using e2e::pressMenuItem;
using e2e::Rig;

// Waits for the History dialog from inside its own event loop, then runs `use` on it; a dialog
// left open is closed, so the test never hangs on it.
void whenHistoryShows(const std::function<void(QDialog&)>& use) {
    QTimer::singleShot(0, [use] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr || dialog->objectName() != QStringLiteral("historyDialog")) {
            ADD_FAILURE() << "the History dialog is not shown";
            return;
        }
        use(*dialog);
        if (dialog->isVisible()) {
            dialog->reject();
        }
    });
}

bool pressButton(QDialog& dialog, const char* name) {
    auto* button = dialog.findChild<QPushButton*>(QLatin1String(name));
    if (button == nullptr || !button->isVisible() || !button->isEnabled()) {
        return false;
    }
    button->click();
    return true;
}

TEST(WindowHistory, DownloadOpensFromHistoryAsTheFileData) {
    Rig rig(QStringLiteral("runs"), Rig::QtDialogs, Rig::WithArchive);
    ASSERT_TRUE(rig.started());
    connectLogger(rig);
    ASSERT_TRUE(rig.click(ControlId::DownloadButton));
    ASSERT_TRUE(rig.runProcedure());
    const std::vector<Sample> log = rig.samples(LogData);
    ASSERT_EQ(log.size(), 650u);
    EXPECT_TRUE(rig.prompter.calls.empty());
    const MainMenu& menu = rig.window->menu();
    EXPECT_EQ(menu.historyItem->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_H));
    EXPECT_FALSE(pressMenuItem(menu.saveFileItem));

    int listed = -1;
    whenHistoryShows([&](QDialog& dialog) {
        auto* list = dialog.findChild<QTableView*>(QStringLiteral("historyList"));
        ASSERT_NE(list, nullptr);
        EXPECT_FALSE(list->accessibleName().isEmpty());
        listed = list->model()->rowCount();
        EXPECT_TRUE(pressButton(dialog, "historyOpen"));
    });
    ASSERT_TRUE(pressMenuItem(menu.historyItem));
    EXPECT_EQ(listed, 1);
    EXPECT_EQ(rig.window->Disp_stat(), FileData);
    auto* fileTable = rig.window->findChild<QTableView*>(QStringLiteral("ListView1_2"));
    ASSERT_NE(fileTable, nullptr);
    ASSERT_EQ(fileTable->model()->rowCount(), 650);
    const std::vector<Sample> file = rig.samples(FileData);
    ASSERT_EQ(file.size(), log.size());
    for (std::size_t i = 0; i < log.size(); ++i) {
        ASSERT_EQ(file[i].temperature, log[i].temperature) << i;
        ASSERT_EQ(file[i].humidity, log[i].humidity) << i;
        ASSERT_NEAR(file[i].dateTime, log[i].dateTime, e2e::kSecond / 1000) << i;
        ASSERT_EQ(file[i].series, log[i].series) << i;
    }
    auto* logTable = rig.window->findChild<QTableView*>(QStringLiteral("ListView1_0"));
    ASSERT_NE(logTable, nullptr);
    for (int column = 0; column < 4; ++column) {
        EXPECT_EQ(fileTable->model()->index(649, column).data().toString(),
                  logTable->model()->index(649, column).data().toString());
    }

    const QString csv = QDir(rig.dir.path()).filePath(QStringLiteral("history.csv"));
    rig.prompter.fileNames = {csv};
    ASSERT_TRUE(pressMenuItem(menu.saveFileItem));
    EXPECT_TRUE(QFile::exists(csv));
}

TEST(WindowHistory, SettingOffIsKeptInTheSettingsFileAndKeepsNothing) {
    Rig rig(QStringLiteral("runs"), Rig::QtDialogs, Rig::WithArchive);
    ASSERT_TRUE(rig.started());
    const MainMenu& menu = rig.window->menu();
    EXPECT_TRUE(menu.keepInArchiveItem->isChecked());
    ASSERT_TRUE(pressMenuItem(menu.keepInArchiveItem));
    EXPECT_FALSE(menu.keepInArchiveItem->isChecked());
    QFile ini(QDir(rig.dir.path()).filePath(QStringLiteral("Logger.ini")));
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    EXPECT_TRUE(ini.readAll().trimmed().endsWith(",archive=off"));
    connectLogger(rig);
    ASSERT_TRUE(rig.click(ControlId::DownloadButton));
    ASSERT_TRUE(rig.runProcedure());
    EXPECT_EQ(rig.samples(LogData).size(), 650u);

    int listed = -1;
    whenHistoryShows([&](QDialog& dialog) {
        listed = dialog.findChild<QTableView*>(QStringLiteral("historyList"))->model()->rowCount();
        EXPECT_FALSE(pressButton(dialog, "historyOpen"));
        EXPECT_TRUE(pressButton(dialog, "historyClose"));
    });
    ASSERT_TRUE(pressMenuItem(menu.historyItem));
    EXPECT_EQ(listed, 0);
    EXPECT_EQ(rig.window->Disp_stat(), LogData);
}

TEST(WindowHistory, WindowWithoutAnArchiveHidesItsItems) {
    Rig rig(QStringLiteral("runs"));
    ASSERT_TRUE(rig.started());
    EXPECT_FALSE(pressMenuItem(rig.window->menu().historyItem));
    EXPECT_FALSE(pressMenuItem(rig.window->menu().keepInArchiveItem));
}

}  // namespace
