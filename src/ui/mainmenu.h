// The main window's menu bar: every item and every menu's entry carries its control name and
// takes its caption from the message table.
#pragma once

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "data/messagetable.h"

struct MainMenu {
    // File
    QMenu* fileMenu = nullptr;
    QAction* openItem = nullptr;
    QMenu* saveMenu = nullptr;
    QAction* saveLogItem = nullptr;
    QAction* saveRealTimeItem = nullptr;
    QAction* printItem = nullptr;
    QAction* fileSeparator = nullptr;  // separator line
    QAction* endItem = nullptr;
    // Display
    QMenu* displayMenu = nullptr;
    QMenu* logDisplayMenu = nullptr;
    QAction* logGraphItem = nullptr;
    QAction* logDumpItem = nullptr;
    QMenu* realTimeDisplayMenu = nullptr;
    QAction* realTimeGraphItem = nullptr;
    QAction* realTimeDumpItem = nullptr;
    QMenu* fileDisplayMenu = nullptr;
    QAction* fileGraphItem = nullptr;
    QAction* fileDumpItem = nullptr;
    // Tool
    QMenu* toolMenu = nullptr;
    QAction* communicationItem = nullptr;
    QAction* communicationStartItem = nullptr;
    QAction* communicationSettingItem = nullptr;
    QAction* clockItem = nullptr;
    QAction* clockReadItem = nullptr;
    QAction* clockSetItem = nullptr;
    QAction* identNameItem = nullptr;
    QMenu* downloadSpeedMenu = nullptr;
    QAction* fastDownloadItem = nullptr;
    QAction* slowDownloadItem = nullptr;
    // Help
    QMenu* helpMenu = nullptr;
    QAction* webPageItem = nullptr;
    QAction* versionItem = nullptr;
    // Archive and history, in the File menu above its separator; File data in the Save menu.
    QAction* historyItem = nullptr;
    QAction* addFileToArchiveItem = nullptr;
    QAction* keepInArchiveItem = nullptr;
    QAction* saveFileItem = nullptr;
    QAction* checkSetupItem = nullptr;
    QAction* diagnosticReportItem = nullptr;
    // Statistics dialog, dew-point line (checkable) and graph export.
    QAction* statisticsItem = nullptr;
    QAction* dewPointItem = nullptr;
    QAction* exportGraphItem = nullptr;
};

// Builds the menus into the bar (in the described order) and applies the captions. The two
// download-speed items are exclusive and checkable, fast checked; the communication start
// and setting items and the clock read and set items are hidden. Open, Save (the log data),
// Print and End carry the desktop's standard shortcuts. History opens with Ctrl+H;
// "Keep every download in the archive" is checkable and checked.
MainMenu buildMainMenu(QMenuBar* bar, const MessageTable& messages);

// Sets every caption again from the table, e.g. after the other language was filled.
void applyMenuCaptions(QMenuBar* bar, const MessageTable& messages);
