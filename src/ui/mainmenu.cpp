// Construction of the main menu and the caption index of each item.
#include "ui/mainmenu.h"

#include <QActionGroup>

namespace {

QMenu* addMenu(QWidget* parent, const char* name) {
    auto* menu = new QMenu(parent);
    menu->setObjectName(QLatin1String(name));
    menu->menuAction()->setObjectName(QLatin1String(name));
    return menu;
}

QMenu* addTopMenu(QMenuBar* bar, const char* name) {
    QMenu* menu = addMenu(bar, name);
    bar->addMenu(menu);
    return menu;
}

QMenu* addSubMenu(QMenu* parent, const char* name) {
    QMenu* menu = addMenu(parent, name);
    parent->addMenu(menu);
    return menu;
}

QAction* addItem(QMenu* menu, const char* name) {
    QAction* action = menu->addAction(QString());
    action->setObjectName(QLatin1String(name));
    return action;
}

void setMenuCaption(QMenu* menu, const MessageTable& messages, int index) {
    menu->setTitle(messages.text(index));
}

void setCaption(QAction* action, const MessageTable& messages, int index) {
    action->setText(messages.text(index));
}

}  // namespace

MainMenu buildMainMenu(QMenuBar* bar, const MessageTable& messages) {
    MainMenu menu;

    menu.m1 = addTopMenu(bar, "m1");
    menu.m11 = addItem(menu.m1, "m11");
    menu.m12 = addSubMenu(menu.m1, "m12");
    menu.m122 = addItem(menu.m12, "m122");
    menu.m121 = addItem(menu.m12, "m121");
    menu.m13 = addItem(menu.m1, "m13");
    menu.m1_ = menu.m1->addSeparator();
    menu.m1_->setObjectName(QStringLiteral("m1_"));
    menu.m14 = addItem(menu.m1, "m14");

    menu.m2 = addTopMenu(bar, "m2");
    menu.m21 = addSubMenu(menu.m2, "m21");
    menu.m211 = addItem(menu.m21, "m211");
    menu.m212 = addItem(menu.m21, "m212");
    menu.m22 = addSubMenu(menu.m2, "m22");
    menu.m221 = addItem(menu.m22, "m221");
    menu.m222 = addItem(menu.m22, "m222");
    menu.m23 = addSubMenu(menu.m2, "m23");
    menu.m231 = addItem(menu.m23, "m231");
    menu.m232 = addItem(menu.m23, "m232");

    menu.m3 = addTopMenu(bar, "m3");
    menu.m35 = addItem(menu.m3, "m35");
    menu.m31 = addItem(menu.m3, "m31");
    menu.m32 = addItem(menu.m3, "m32");
    menu.m33 = addItem(menu.m3, "m33");
    menu.m332 = addItem(menu.m3, "m332");
    menu.m331 = addItem(menu.m3, "m331");
    menu.m34 = addItem(menu.m3, "m34");
    menu.D_M = addSubMenu(menu.m3, "D_M");
    menu.D_M_Fast = addItem(menu.D_M, "D_M_Fast");
    menu.D_M_Slow = addItem(menu.D_M, "D_M_Slow");
    for (QAction* hidden : {menu.m31, menu.m32, menu.m331, menu.m332}) {
        hidden->setVisible(false);
    }
    auto* speed = new QActionGroup(menu.D_M);
    speed->setObjectName(QStringLiteral("D_M_Group"));
    speed->setExclusive(true);
    for (QAction* item : {menu.D_M_Fast, menu.D_M_Slow}) {
        item->setCheckable(true);
        speed->addAction(item);
    }
    menu.D_M_Fast->setChecked(true);

    menu.m4 = addTopMenu(bar, "m4");
    menu.m42 = addItem(menu.m4, "m42");
    menu.m41 = addItem(menu.m4, "m41");

    applyMenuCaptions(menu, messages);
    return menu;
}

void applyMenuCaptions(const MainMenu& menu, const MessageTable& messages) {
    const std::pair<QMenu*, int> menus[] = {
        {menu.m1, 0},   {menu.m12, 2}, {menu.m2, 7},  {menu.m21, 8},  {menu.m22, 11},
        {menu.m23, 14}, {menu.m3, 17}, {menu.m4, 25}, {menu.D_M, 31},
    };
    const std::pair<QAction*, int> items[] = {
        {menu.m11, 1},       {menu.m122, 3},      {menu.m121, 4},  {menu.m13, 5},   {menu.m14, 6},
        {menu.m211, 9},      {menu.m212, 10},     {menu.m221, 12}, {menu.m222, 13}, {menu.m231, 15},
        {menu.m232, 16},     {menu.m35, 18},      {menu.m31, 19},  {menu.m32, 20},  {menu.m33, 21},
        {menu.m332, 22},     {menu.m331, 23},     {menu.m34, 24},  {menu.m42, 26},  {menu.m41, 27},
        {menu.D_M_Fast, 32}, {menu.D_M_Slow, 33},
    };
    for (const auto& [target, index] : menus) {
        setMenuCaption(target, messages, index);
    }
    for (const auto& [target, index] : items) {
        setCaption(target, messages, index);
    }
}
