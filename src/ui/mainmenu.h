// The main window's menu bar: every item and every menu's entry carries its control name and
// takes its caption from the message table.
#pragma once

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "data/messagetable.h"

struct MainMenu {
    // File
    QMenu* m1 = nullptr;
    QAction* m11 = nullptr;
    QMenu* m12 = nullptr;
    QAction* m122 = nullptr;
    QAction* m121 = nullptr;
    QAction* m13 = nullptr;
    QAction* m1_ = nullptr;  // separator line
    QAction* m14 = nullptr;
    // Display
    QMenu* m2 = nullptr;
    QMenu* m21 = nullptr;
    QAction* m211 = nullptr;
    QAction* m212 = nullptr;
    QMenu* m22 = nullptr;
    QAction* m221 = nullptr;
    QAction* m222 = nullptr;
    QMenu* m23 = nullptr;
    QAction* m231 = nullptr;
    QAction* m232 = nullptr;
    // Tool
    QMenu* m3 = nullptr;
    QAction* m35 = nullptr;
    QAction* m31 = nullptr;
    QAction* m32 = nullptr;
    QAction* m33 = nullptr;
    QAction* m332 = nullptr;
    QAction* m331 = nullptr;
    QAction* m34 = nullptr;
    QMenu* D_M = nullptr;
    QAction* D_M_Fast = nullptr;
    QAction* D_M_Slow = nullptr;
    // Help
    QMenu* m4 = nullptr;
    QAction* m42 = nullptr;
    QAction* m41 = nullptr;
};

// Builds the menus into the bar (in the described order) and applies the captions. The two
// download-speed items are exclusive and checkable, fast checked; m31, m32, m331 and m332 are
// hidden.
MainMenu buildMainMenu(QMenuBar* bar, const MessageTable& messages);

// Sets every caption again from the table, e.g. after the other language was filled.
void applyMenuCaptions(QMenuBar* bar, const MessageTable& messages);
