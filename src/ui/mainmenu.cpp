// Construction of the main menu; names and captions come from the control table.
#include "ui/mainmenu.h"

#include <QActionGroup>

#include "data/controlid.h"

namespace {

QString nameOf(ControlId id) {
    return QLatin1String(controlName(id));
}

// A menu's entry in its parent carries the menu's caption and enabled state; the entry, not the
// popup widget, takes the control's name.
QMenu* addMenu(QWidget* parent, ControlId id) {
    auto* menu = new QMenu(parent);
    menu->menuAction()->setObjectName(nameOf(id));
    return menu;
}

QMenu* addTopMenu(QMenuBar* bar, ControlId id) {
    QMenu* menu = addMenu(bar, id);
    bar->addMenu(menu);
    return menu;
}

QMenu* addSubMenu(QMenu* parent, ControlId id) {
    QMenu* menu = addMenu(parent, id);
    parent->addMenu(menu);
    return menu;
}

QAction* addItem(QMenu* menu, ControlId id) {
    QAction* action = menu->addAction(QString());
    action->setObjectName(nameOf(id));
    return action;
}

}  // namespace

MainMenu buildMainMenu(QMenuBar* bar, const MessageTable& messages) {
    using I = ControlId;
    MainMenu menu;

    menu.m1 = addTopMenu(bar, I::m1);
    menu.m11 = addItem(menu.m1, I::m11);
    menu.m12 = addSubMenu(menu.m1, I::m12);
    menu.m122 = addItem(menu.m12, I::m122);
    menu.m121 = addItem(menu.m12, I::m121);
    menu.m13 = addItem(menu.m1, I::m13);
    menu.m1_ = menu.m1->addSeparator();
    menu.m1_->setObjectName(QStringLiteral("m1_"));
    menu.m14 = addItem(menu.m1, I::m14);

    menu.m2 = addTopMenu(bar, I::m2);
    menu.m21 = addSubMenu(menu.m2, I::m21);
    menu.m211 = addItem(menu.m21, I::m211);
    menu.m212 = addItem(menu.m21, I::m212);
    menu.m22 = addSubMenu(menu.m2, I::m22);
    menu.m221 = addItem(menu.m22, I::m221);
    menu.m222 = addItem(menu.m22, I::m222);
    menu.m23 = addSubMenu(menu.m2, I::m23);
    menu.m231 = addItem(menu.m23, I::m231);
    menu.m232 = addItem(menu.m23, I::m232);

    menu.m3 = addTopMenu(bar, I::m3);
    menu.m35 = addItem(menu.m3, I::m35);
    menu.m31 = addItem(menu.m3, I::m31);
    menu.m32 = addItem(menu.m3, I::m32);
    menu.m33 = addItem(menu.m3, I::m33);
    menu.m332 = addItem(menu.m3, I::m332);
    menu.m331 = addItem(menu.m3, I::m331);
    menu.m34 = addItem(menu.m3, I::m34);
    menu.D_M = addSubMenu(menu.m3, I::D_M);
    menu.D_M_Fast = addItem(menu.D_M, I::D_M_Fast);
    menu.D_M_Slow = addItem(menu.D_M, I::D_M_Slow);
    for (QAction* hidden : {menu.m31, menu.m32, menu.m331, menu.m332}) {
        hidden->setVisible(false);
    }
    auto* speed = new QActionGroup(menu.D_M);
    speed->setExclusive(true);
    for (QAction* item : {menu.D_M_Fast, menu.D_M_Slow}) {
        item->setCheckable(true);
        speed->addAction(item);
    }
    menu.D_M_Fast->setChecked(true);

    menu.m4 = addTopMenu(bar, I::m4);
    menu.m42 = addItem(menu.m4, I::m42);
    menu.m41 = addItem(menu.m4, I::m41);

    applyMenuCaptions(bar, messages);
    return menu;
}

void applyMenuCaptions(QMenuBar* bar, const MessageTable& messages) {
    for (QAction* action : bar->findChildren<QAction*>()) {
        const ControlInfo* info = findControl(action->objectName());
        if (info != nullptr && info->caption) {
            action->setText(messages.text(*info->caption));
        }
    }
}
