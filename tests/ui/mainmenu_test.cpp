// Main menu: object names, captions by index in both languages, order, hidden and checkable
// items; caption and label placement by object name.
#include <gtest/gtest.h>
#include <QGroupBox>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>

#include "ui/captions.h"
#include "ui/mainmenu.h"

namespace {

struct MenuCaption {
    const char* name;
    int message;
};

const MenuCaption kMenuCaptions[] = {
    {"m1", 0},        {"m11", 1},   {"m12", 2},  {"m122", 3},  {"m121", 4},  {"m13", 5},
    {"m14", 6},       {"m2", 7},    {"m21", 8},  {"m211", 9},  {"m212", 10}, {"m22", 11},
    {"m221", 12},     {"m222", 13}, {"m23", 14}, {"m231", 15}, {"m232", 16}, {"m3", 17},
    {"m35", 18},      {"m31", 19},  {"m32", 20}, {"m33", 21},  {"m332", 22}, {"m331", 23},
    {"m34", 24},      {"m4", 25},   {"m42", 26}, {"m41", 27},  {"D_M", 31},  {"D_M_Fast", 32},
    {"D_M_Slow", 33},
};

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

TEST_P(MainMenuTest, EveryItemHasItsNameAndCaption) {
    for (const MenuCaption& expected : kMenuCaptions) {
        SCOPED_TRACE(expected.name);
        auto* action = window.findChild<QAction*>(QLatin1String(expected.name));
        ASSERT_NE(action, nullptr);
        EXPECT_FALSE(action->text().isEmpty());
        EXPECT_EQ(action->text(), messages.text(expected.message));
    }
    for (const char* name : {"m1", "m12", "m2", "m21", "m22", "m23", "m3", "D_M", "m4"}) {
        SCOPED_TRACE(name);
        auto* submenu = window.findChild<QMenu*>(QLatin1String(name));
        ASSERT_NE(submenu, nullptr);
        EXPECT_EQ(submenu->menuAction()->objectName(), QLatin1String(name));
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
    applyMenuCaptions(menu, messages);
    EXPECT_EQ(menu.m14->text(), QString::fromUtf8("終了(&X)"));
    EXPECT_EQ(menu.m1->title(), QString::fromUtf8("ﾌｧｲﾙ(&F)"));
}

TEST(Captions, ControlsTakeTheirTextsByName) {
    MessageTable messages;
    messages.fillEnglish();
    QWidget root;
    auto* frame = new QGroupBox(&root);
    frame->setObjectName(QStringLiteral("Frame13"));
    auto* button = new QPushButton(frame);
    button->setObjectName(QStringLiteral("Command5"));
    auto* option = new QRadioButton(&root);
    option->setObjectName(QStringLiteral("Option9"));
    auto* label = new QLabel(frame);
    label->setObjectName(QStringLiteral("Label47"));
    auto* stranger = new QWidget(&root);
    stranger->setObjectName(QStringLiteral("Label9"));

    EXPECT_EQ(applyCaptions(&root, mainWindowCaptions(), messages), 4);
    EXPECT_EQ(frame->title(), QStringLiteral("State"));
    EXPECT_EQ(button->text(), QStringLiteral("Download"));
    EXPECT_EQ(option->text(), QStringLiteral("Dump"));
    EXPECT_EQ(label->text(), QStringLiteral("Record mode"));
    EXPECT_EQ(applyCaptions(nullptr, mainWindowCaptions(), messages), 0);
}

TEST(Captions, DialogTitlesAndControls) {
    MessageTable messages;
    messages.fillJapanese();
    QWidget dialog;
    auto* print = new QPushButton(&dialog);
    print->setObjectName(QStringLiteral("Command1"));
    auto* note = new QLabel(&dialog);
    note->setObjectName(QStringLiteral("Label1"));
    EXPECT_EQ(applyDialogCaptions(&dialog, form10Captions(), messages), 2);
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("ダンプ印刷"));
    EXPECT_EQ(print->text(), QString::fromUtf8("印刷"));
    EXPECT_EQ(note->text(), QString::fromUtf8("選択したデータのみ印刷"));

    QWidget port;
    port.setWindowTitle(QStringLiteral("kept"));
    applyDialogCaptions(&port, form5Captions(), messages);
    EXPECT_EQ(port.windowTitle(), QStringLiteral("kept"));
}

TEST(Captions, LabelPlacementMovesLabelsPerLanguage) {
    QWidget root;
    auto* label8 = new QLabel(&root);
    label8->setObjectName(QStringLiteral("Label8"));
    label8->move(33, 44);
    auto* label12 = new QLabel(&root);
    label12->setObjectName(QStringLiteral("Label12"));
    label12->move(5, 77);

    MessageTable messages;
    messages.fillEnglish();
    EXPECT_EQ(applyLabelPlacements(&root, messages), 3);
    EXPECT_EQ(label8->pos(), QPoint(88, 32));
    EXPECT_EQ(label12->pos(), QPoint(367, 77));

    messages.fillJapanese();
    applyLabelPlacements(&root, messages);
    EXPECT_EQ(label8->pos(), QPoint(112, 16));
    EXPECT_EQ(label12->pos(), QPoint(296, 77));
}

TEST(Captions, TwipsRoundToTheNearestPixel) {
    const std::pair<int, int> cases[] = {{0, 0},   {7, 0},     {8, 1},    {15, 1},
                                         {100, 7}, {1440, 96}, {-100, -7}};
    for (const auto& [twips, pixels] : cases) {
        EXPECT_EQ(twipsToPixels(twips), pixels) << twips;
    }
}

}  // namespace
