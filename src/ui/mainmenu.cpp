// Construction of the main menu; names and captions come from the control table.
#include "ui/mainmenu.h"

#include <QActionGroup>

#include "controls/controlid.h"

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

// An item placed before `before` in the menu.
QAction* insertItem(QMenu* menu, QAction* before, ControlId id) {
    auto* action = new QAction(menu);
    action->setObjectName(nameOf(id));
    menu->insertAction(before, action);
    return action;
}

}  // namespace

MainMenu buildMainMenu(QMenuBar* bar, const MessageTable& messages) {
    using I = ControlId;
    MainMenu menu;

    menu.fileMenu = addTopMenu(bar, I::FileMenu);
    menu.openItem = addItem(menu.fileMenu, I::OpenItem);
    menu.saveMenu = addSubMenu(menu.fileMenu, I::SaveMenu);
    menu.saveLogItem = addItem(menu.saveMenu, I::SaveLogItem);
    menu.saveRealTimeItem = addItem(menu.saveMenu, I::SaveRealTimeItem);
    menu.printItem = addItem(menu.fileMenu, I::PrintItem);
    menu.fileSeparator = menu.fileMenu->addSeparator();
    menu.fileSeparator->setObjectName(QStringLiteral("m1_"));
    menu.endItem = addItem(menu.fileMenu, I::EndItem);

    menu.displayMenu = addTopMenu(bar, I::DisplayMenu);
    menu.logDisplayMenu = addSubMenu(menu.displayMenu, I::LogDisplayMenu);
    menu.logGraphItem = addItem(menu.logDisplayMenu, I::LogGraphItem);
    menu.logDumpItem = addItem(menu.logDisplayMenu, I::LogDumpItem);
    menu.realTimeDisplayMenu = addSubMenu(menu.displayMenu, I::RealTimeDisplayMenu);
    menu.realTimeGraphItem = addItem(menu.realTimeDisplayMenu, I::RealTimeGraphItem);
    menu.realTimeDumpItem = addItem(menu.realTimeDisplayMenu, I::RealTimeDumpItem);
    menu.fileDisplayMenu = addSubMenu(menu.displayMenu, I::FileDisplayMenu);
    menu.fileGraphItem = addItem(menu.fileDisplayMenu, I::FileGraphItem);
    menu.fileDumpItem = addItem(menu.fileDisplayMenu, I::FileDumpItem);

    menu.toolMenu = addTopMenu(bar, I::ToolMenu);
    menu.communicationItem = addItem(menu.toolMenu, I::CommunicationItem);
    menu.communicationStartItem = addItem(menu.toolMenu, I::CommunicationStartItem);
    menu.communicationSettingItem = addItem(menu.toolMenu, I::CommunicationSettingItem);
    menu.clockItem = addItem(menu.toolMenu, I::ClockItem);
    menu.clockReadItem = addItem(menu.toolMenu, I::ClockReadItem);
    menu.clockSetItem = addItem(menu.toolMenu, I::ClockSetItem);
    menu.identNameItem = addItem(menu.toolMenu, I::IdentNameItem);
    menu.downloadSpeedMenu = addSubMenu(menu.toolMenu, I::DownloadSpeedMenu);
    menu.fastDownloadItem = addItem(menu.downloadSpeedMenu, I::FastDownloadItem);
    menu.slowDownloadItem = addItem(menu.downloadSpeedMenu, I::SlowDownloadItem);
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

    menu.helpMenu = addTopMenu(bar, I::HelpMenu);
    menu.webPageItem = addItem(menu.helpMenu, I::WebPageItem);
    menu.versionItem = addItem(menu.helpMenu, I::VersionItem);
    menu.checkSetupItem = addItem(menu.helpMenu, I::CheckSetupItem);

    menu.openItem->setShortcut(QKeySequence::Open);
    menu.saveLogItem->setShortcut(QKeySequence::Save);
    menu.printItem->setShortcut(QKeySequence::Print);
    // Not every desktop binds the standard Quit keys.
    menu.endItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    menu.historyItem = insertItem(menu.fileMenu, menu.fileSeparator, I::HistoryItem);
    menu.historyItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
    menu.addFileToArchiveItem =
        insertItem(menu.fileMenu, menu.fileSeparator, I::AddFileToArchiveItem);
    menu.keepInArchiveItem = insertItem(menu.fileMenu, menu.fileSeparator, I::KeepInArchiveItem);
    menu.keepInArchiveItem->setCheckable(true);
    menu.keepInArchiveItem->setChecked(true);
    menu.saveFileItem = addItem(menu.saveMenu, I::SaveFileItem);
    menu.diagnosticReportItem = addItem(menu.helpMenu, I::DiagnosticReportItem);

    menu.statisticsItem = addItem(menu.displayMenu, I::StatisticsItem);
    menu.dewPointItem = addItem(menu.displayMenu, I::DewPointItem);
    menu.dewPointItem->setCheckable(true);
    // Export sits with Print, above the separator that sets End apart.
    menu.exportGraphItem = new QAction(menu.fileMenu);
    menu.exportGraphItem->setObjectName(nameOf(I::ExportGraphItem));
    menu.fileMenu->insertAction(menu.fileSeparator, menu.exportGraphItem);

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
