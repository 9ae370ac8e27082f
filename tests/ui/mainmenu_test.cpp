// Main menu: every menu control of the table with its caption in both languages, order, hidden
// and checkable items.
#include <gtest/gtest.h>
#include <QGroupBox>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>

#include "data/controlid.h"
#include "ui/mainmenu.h"

namespace {

QStringList namesOf(const QMenu* menu) {
    QStringList names;
    for (const QAction* action : menu->actions()) {
        names.append(action->objectName());
    }
    return names;
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
    for (const ControlInfo& info : controlTable()) {
        if (info.kind != ControlKind::Menu && info.kind != ControlKind::Action) {
            continue;
        }
        SCOPED_TRACE(info.name);
        const QList<QAction*> found = window.findChildren<QAction*>(QLatin1String(info.name));
        ASSERT_EQ(found.size(), 1);
        EXPECT_EQ(found.front()->menu<QMenu*>() != nullptr, info.kind == ControlKind::Menu);
        EXPECT_FALSE(found.front()->text().isEmpty());
        ASSERT_TRUE(info.caption.has_value());
        EXPECT_EQ(found.front()->text(), messages.text(*info.caption));
    }
    ASSERT_NE(menu.m1_, nullptr);
    EXPECT_TRUE(menu.m1_->isSeparator());
    EXPECT_EQ(menu.m1_->objectName(), QStringLiteral("m1_"));
}

TEST_P(MainMenuTest, ItemsAreInTheDescribedOrder) {
    EXPECT_EQ(namesOf(menu.m1), QStringList({"m11", "m12", "m13", "m1_", "m14"}));
    EXPECT_EQ(namesOf(menu.m12), QStringList({"m122", "m121"}));
    EXPECT_EQ(namesOf(menu.m2), QStringList({"m21", "m22", "m23"}));
    EXPECT_EQ(namesOf(menu.m23), QStringList({"m231", "m232"}));
    EXPECT_EQ(namesOf(menu.m3),
              QStringList({"m35", "m31", "m32", "m33", "m332", "m331", "m34", "D_M"}));
    EXPECT_EQ(namesOf(menu.D_M), QStringList({"D_M_Fast", "D_M_Slow"}));
    EXPECT_EQ(namesOf(menu.m4), QStringList({"m42", "m41"}));
    QStringList top;
    for (const QAction* action : window.menuBar()->actions()) {
        top.append(action->objectName());
    }
    EXPECT_EQ(top, QStringList({"m1", "m2", "m3", "m4"}));
}

TEST_P(MainMenuTest, HiddenItemsAndDownloadSpeed) {
    for (QAction* hidden : {menu.m31, menu.m32, menu.m331, menu.m332}) {
        EXPECT_FALSE(hidden->isVisible()) << hidden->objectName().toStdString();
    }
    for (QAction* shown : {menu.m35, menu.m33, menu.m34, menu.m41, menu.m42}) {
        EXPECT_TRUE(shown->isVisible()) << shown->objectName().toStdString();
    }
    EXPECT_TRUE(menu.D_M_Fast->isChecked());
    EXPECT_FALSE(menu.D_M_Slow->isChecked());
    menu.D_M_Slow->trigger();
    EXPECT_FALSE(menu.D_M_Fast->isChecked());
    EXPECT_TRUE(menu.D_M_Slow->isChecked());
    menu.D_M_Fast->trigger();
    EXPECT_TRUE(menu.D_M_Fast->isChecked());
    EXPECT_FALSE(menu.D_M_Slow->isChecked());
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, MainMenuTest,
                         ::testing::Values(Language::English, Language::Japanese));

TEST(MainMenu, CaptionsFollowARefill) {
    MessageTable messages;
    messages.fillEnglish();
    QMainWindow window;
    const MainMenu menu = buildMainMenu(window.menuBar(), messages);
    EXPECT_EQ(menu.m14->text(), QStringLiteral("End(&X)"));
    EXPECT_EQ(menu.D_M->title(), QStringLiteral("Download Mode(&D)"));
    messages.fillJapanese();
    applyMenuCaptions(window.menuBar(), messages);
    EXPECT_EQ(menu.m14->text(), QString::fromUtf8("終了(&X)"));
    EXPECT_EQ(menu.m1->title(), QString::fromUtf8("ﾌｧｲﾙ(&F)"));
}

}  // namespace
