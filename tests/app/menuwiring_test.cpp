// The window's menu items do something: every item a user can see is connected, so a shown
// item that leads nowhere (a lost connection, an item shown by mistake) is caught.
#include <gtest/gtest.h>

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

#include "app/setupreport.h"
#include "controls/controlid.h"
#include "endtoend.h"

namespace {

using e2e::Rig;

TEST(MenuWiring, EveryShownItemIsConnected) {
    Rig rig(QStringLiteral("runs"));
    ASSERT_TRUE(rig.started());
    int checked = 0;
    for (QAction* action : rig.window->menuBar()->findChildren<QAction*>()) {
        const ControlInfo* info = findControl(action->objectName());
        if (info == nullptr || info->kind != ControlKind::Action || !action->isVisible()) {
            continue;
        }
        // The menus holding the item and the speed items' group listen to it too; only what
        // else listens counts.
        for (QObject* holder : action->associatedObjects()) {
            QObject::disconnect(action, SIGNAL(triggered(bool)), holder, nullptr);
        }
        if (action->actionGroup() != nullptr) {
            QObject::disconnect(action, SIGNAL(triggered(bool)), action->actionGroup(), nullptr);
        }
        EXPECT_TRUE(QObject::disconnect(action, SIGNAL(triggered(bool)), nullptr, nullptr))
            << info->name;
        ++checked;
    }
    EXPECT_GT(checked, 0);
}

// Help > Check setup shows this computer's findings, worded as the terminal check words them,
// with the session held while the dialog is open.
TEST(MenuWiring, CheckSetupShowsTheFindingsInADialog) {
    Rig rig(QStringLiteral("runs"));
    ASSERT_TRUE(rig.started());
    bool held = false;
    rig.dialogs.whileSetupCheckOpen = [&] { held = rig.window->session().busy(); };
    ASSERT_TRUE(rig.window->menu().checkSetupItem->isVisible());
    rig.window->menu().checkSetupItem->trigger();
    EXPECT_EQ(rig.dialogs.opened, QStringList{QStringLiteral("setupCheckDialog")});
    EXPECT_EQ(rig.dialogs.setupCheckTitle, QStringLiteral("Check setup"));
    EXPECT_EQ(rig.dialogs.setupCheckShown, setupReportHere(rig.window->messages()));
    EXPECT_TRUE(rig.dialogs.setupCheckShown.endsWith(QLatin1Char('\n')));
    EXPECT_TRUE(held);
    EXPECT_EQ(rig.window->menu().checkSetupItem->text(), QStringLiteral("Check setup...(&C)"));
}

}  // namespace
