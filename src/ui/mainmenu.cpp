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

    menu.fileMenu = addTopMenu(bar, I::m1);
    menu.openItem = addItem(menu.fileMenu, I::m11);
    menu.saveMenu = addSubMenu(menu.fileMenu, I::m12);
    menu.saveLogItem = addItem(menu.saveMenu, I::m122);
    menu.saveRealTimeItem = addItem(menu.saveMenu, I::m121);
    menu.printItem = addItem(menu.fileMenu, I::m13);
    menu.fileSeparator = menu.fileMenu->addSeparator();
    menu.fileSeparator->setObjectName(QStringLiteral("m1_"));
    menu.endItem = addItem(menu.fileMenu, I::m14);

    menu.displayMenu = addTopMenu(bar, I::m2);
    menu.logDisplayMenu = addSubMenu(menu.displayMenu, I::m21);
    menu.logGraphItem = addItem(menu.logDisplayMenu, I::m211);
    menu.logDumpItem = addItem(menu.logDisplayMenu, I::m212);
    menu.realTimeDisplayMenu = addSubMenu(menu.displayMenu, I::m22);
    menu.realTimeGraphItem = addItem(menu.realTimeDisplayMenu, I::m221);
    menu.realTimeDumpItem = addItem(menu.realTimeDisplayMenu, I::m222);
    menu.fileDisplayMenu = addSubMenu(menu.displayMenu, I::m23);
    menu.fileGraphItem = addItem(menu.fileDisplayMenu, I::m231);
    menu.fileDumpItem = addItem(menu.fileDisplayMenu, I::m232);

    menu.toolMenu = addTopMenu(bar, I::m3);
    menu.communicationItem = addItem(menu.toolMenu, I::m35);
    menu.communicationStartItem = addItem(menu.toolMenu, I::m31);
    menu.communicationSettingItem = addItem(menu.toolMenu, I::m32);
    menu.clockItem = addItem(menu.toolMenu, I::m33);
    menu.clockReadItem = addItem(menu.toolMenu, I::m332);
    menu.clockSetItem = addItem(menu.toolMenu, I::m331);
    menu.identNameItem = addItem(menu.toolMenu, I::m34);
    menu.downloadSpeedMenu = addSubMenu(menu.toolMenu, I::D_M);
    menu.fastDownloadItem = addItem(menu.downloadSpeedMenu, I::D_M_Fast);
    menu.slowDownloadItem = addItem(menu.downloadSpeedMenu, I::D_M_Slow);
    for (QAction* hidden : {menu.communicationStartItem, menu.communicationSettingItem,
                            menu.clockSetItem, menu.clockReadItem}) {
        hidden->setVisible(false);
    }
    auto* speed = new QActionGroup(menu.downloadSpeedMenu);
    speed->setExclusive(true);
    for (QAction* item : {menu.fastDownloadItem, menu.slowDownloadItem}) {
        item->setCheckable(true);
        speed->addAction(item);
    }
    menu.fastDownloadItem->setChecked(true);

    menu.helpMenu = addTopMenu(bar, I::m4);
    menu.webPageItem = addItem(menu.helpMenu, I::m42);
    menu.versionItem = addItem(menu.helpMenu, I::m41);

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
