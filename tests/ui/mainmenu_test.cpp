// Main menu: every menu control of the table has one entry with its own caption in both
// languages, nothing unregistered is added, the shown items of each menu can be reached by
// distinct mnemonics, and the download speed is one exclusive choice.
#include <gtest/gtest.h>
#include <QKeySequence>
#include <QMainWindow>
#include <QMenuBar>
#include <QSet>

#include "controls/controlid.h"
#include "ui/mainmenu.h"

namespace {

bool isMenuControl(const ControlInfo& info) {
    return info.kind == ControlKind::Menu || info.kind == ControlKind::Action;
}

// Every registered menu control has exactly one entry, of its kind, captioned from the table.
void expectCaptionsFrom(const QMainWindow& window, const MessageTable& messages) {
    for (const ControlInfo& info : controlTable()) {
        if (!isMenuControl(info)) {
            continue;
        }
        SCOPED_TRACE(info.name);
        const QList<QAction*> found = window.findChildren<QAction*>(QLatin1String(info.name));
        ASSERT_EQ(found.size(), 1);
        EXPECT_EQ(found.front()->menu<QMenu*>() != nullptr, info.kind == ControlKind::Menu);
        EXPECT_FALSE(found.front()->text().isEmpty());
        ASSERT_TRUE(info.caption.has_value());
        EXPECT_EQ(found.front()->text().toStdString(), messages.text(*info.caption).toStdString());
    }
}

// The shown entries of one menu (or of the bar): each has a mnemonic, and no two share one.
void expectDistinctMnemonics(const QList<QAction*>& entries, const QString& where) {
    QSet<int> keys;
    for (const QAction* entry : entries) {
        if (entry->isSeparator() || !entry->isVisible()) {
            continue;
        }
        SCOPED_TRACE((where + QLatin1Char('/') + entry->objectName()).toStdString());
        const QKeySequence mnemonic = QKeySequence::mnemonic(entry->text());
        ASSERT_FALSE(mnemonic.isEmpty()) << entry->text().toStdString();
        EXPECT_FALSE(keys.contains(mnemonic[0].toCombined())) << entry->text().toStdString();
        keys.insert(mnemonic[0].toCombined());
    }
}

class MainMenuTest : public ::testing::TestWithParam<Language> {
  protected:
    void SetUp() override {
        messages.fill(GetParam());
        menu = buildMainMenu(window.menuBar(), messages);
    }
    MessageTable messages;
    QMainWindow window;
    MainMenu menu;
};

TEST_P(MainMenuTest, EveryMenuControlHasOneEntryWithItsCaption) {
    expectCaptionsFrom(window, messages);
}

TEST_P(MainMenuTest, EveryEntryIsARegisteredControl) {
    for (const QAction* action : window.menuBar()->findChildren<QAction*>()) {
        if (action->isSeparator()) {
            continue;
        }
        const ControlInfo* info = findControl(action->objectName());
        ASSERT_NE(info, nullptr) << action->objectName().toStdString();
        EXPECT_TRUE(isMenuControl(*info)) << info->name;
    }
}

TEST_P(MainMenuTest, ShownEntriesOfEachMenuHaveDistinctMnemonics) {
    expectDistinctMnemonics(window.menuBar()->actions(), QStringLiteral("bar"));
    for (const QMenu* submenu : window.menuBar()->findChildren<QMenu*>()) {
        expectDistinctMnemonics(submenu->actions(), submenu->menuAction()->objectName());
    }
}

TEST_P(MainMenuTest, DownloadSpeedIsOneExclusiveChoiceStartingFast) {
    EXPECT_TRUE(menu.fastDownloadItem->isChecked());
    EXPECT_FALSE(menu.slowDownloadItem->isChecked());
    menu.slowDownloadItem->trigger();
    EXPECT_FALSE(menu.fastDownloadItem->isChecked());
    EXPECT_TRUE(menu.slowDownloadItem->isChecked());
    menu.fastDownloadItem->trigger();
    EXPECT_TRUE(menu.fastDownloadItem->isChecked());
    EXPECT_FALSE(menu.slowDownloadItem->isChecked());
}

// A refill with the other language changes every caption, the menus' own entries included.
TEST_P(MainMenuTest, CaptionsFollowARefill) {
    MessageTable other;
    other.fill(GetParam() == Language::English ? Language::Japanese : Language::English);
    applyMenuCaptions(window.menuBar(), other);
    expectCaptionsFrom(window, other);
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, MainMenuTest,
                         ::testing::Values(Language::English, Language::Japanese));

}  // namespace
