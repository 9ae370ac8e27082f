// End-to-end: the Start/Stop button and the Tools and Help menu items of the real window, with
// the dialogs answered by script, against the simulated logger.
#include <gtest/gtest.h>

#include <QAction>

#include "endtoend.h"

namespace {

using e2e::connectLogger;
using e2e::Rig;
using I = ControlId;

TEST(WindowRecording, StartThroughTheDialogThenStop) {
    Rig rig(QStringLiteral("runs"));
    ASSERT_TRUE(rig.started());
    connectLogger(rig);
    EXPECT_EQ(rig.text(I::Command4), QStringLiteral("Start"));
    rig.prompter.answers = {true};
    rig.dialogs.recording = [](RecordingSetup& setup) {
        setup.setLoop(true);
        return setup.confirm(QStringLiteral("E2E"), QDateTime::currentDateTime());
    };
    ASSERT_TRUE(rig.click(I::Command4));
    EXPECT_EQ(rig.prompter.questionTexts(), QStringList{rig.window->messages().pair(1091, 1092)});
    EXPECT_EQ(rig.dialogs.opened, QStringList{QStringLiteral("Form12")});
    ASSERT_TRUE(rig.runProcedure());
    EXPECT_EQ(rig.text(I::OperationText), QStringLiteral("Recording"));
    EXPECT_EQ(rig.text(I::IdentNameText), QStringLiteral(" E2E"));
    EXPECT_EQ(rig.text(I::ModeText), QStringLiteral("Loop"));
    EXPECT_EQ(rig.text(I::Command4), QStringLiteral("Stop"));
    EXPECT_FALSE(rig.window->controls().enabled(I::Command5));

    ASSERT_TRUE(rig.click(I::Command4));
    ASSERT_TRUE(rig.runProcedure());
    EXPECT_EQ(rig.prompter.questionTexts().size(), 1);
    EXPECT_EQ(rig.text(I::OperationText), QStringLiteral("Record stop"));
    EXPECT_EQ(rig.text(I::Command4), QStringLiteral("Start"));
}

TEST(WindowRecording, ToolAndHelpMenuItemsOpenTheirDialogs) {
    Rig rig(QStringLiteral("runs"));
    ASSERT_TRUE(rig.started());
    connectLogger(rig);
    const MainMenu& menu = rig.window->menu();
    const struct {
        QAction* item;
        const char* dialog;
    } items[] = {
        {menu.m33, "Form6"}, {menu.m34, "Form2"}, {menu.m35, "Form5"}, {menu.m41, "Form4"}};
    for (const auto& item : items) {
        rig.dialogs.opened.clear();
        item.item->trigger();
        EXPECT_EQ(rig.dialogs.opened, QStringList{QLatin1String(item.dialog)});
    }
    EXPECT_TRUE(rig.dialogs.portChoice.connected);
    EXPECT_EQ(rig.dialogs.versionShown.hardware, QStringLiteral("Hardware    Ver.1.05"));
    menu.m42->trigger();
    EXPECT_EQ(rig.dialogs.urlOpened, QUrl(rig.window->messages().text(1126)));

    // The clock read-out fills the third status bar panel.
    rig.window->setStatusText(3, QString());
    rig.advance(200);
    EXPECT_TRUE(datetime::parse(rig.window->statusText(3)).has_value());
}

}  // namespace
