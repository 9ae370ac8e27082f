// End-to-end: the Start/Stop button and the Tools and Help menu items of the real window, with
// the dialogs answered by script, against the simulated logger.
#include <gtest/gtest.h>

#include <QAction>

#include "endtoend.h"

namespace {

using e2e::Rig;
using I = ControlId;

TEST(WindowRecording, StartThroughTheDialogStopAndTheMenuItems) {
    Rig rig(QStringLiteral("runs"));
    ASSERT_TRUE(rig.started());
    e2e::connectLogger(rig);
    rig.prompter.answers = {true};
    rig.dialogs.recording = [](RecordingSetup& setup) {
        return setup.confirm(QStringLiteral("E2E"), QDateTime::currentDateTime());
    };
    ASSERT_TRUE(rig.click(I::StartStopButton));
    EXPECT_EQ(rig.prompter.questionTexts(),
              QStringList{
                  rig.window->messages().pair(Msg::DataNeverDownloaded, Msg::AskStartLosingData)});
    ASSERT_TRUE(rig.runProcedure());
    EXPECT_EQ(rig.text(I::OperationText), QStringLiteral("Recording"));
    EXPECT_EQ(rig.text(I::IdentNameText), QStringLiteral(" E2E"));
    ASSERT_TRUE(rig.click(I::StartStopButton));
    ASSERT_TRUE(rig.runProcedure());
    EXPECT_EQ(rig.text(I::OperationText), QStringLiteral("Record stop"));
    EXPECT_EQ(rig.prompter.questionTexts().size(), 1);

    const MainMenu& menu = rig.window->menu();
    for (QAction* item : {menu.clockItem, menu.identNameItem, menu.communicationItem,
                          menu.versionItem, menu.webPageItem}) {
        item->trigger();
    }
    EXPECT_EQ(rig.dialogs.opened, QStringList({"Form12", "Form6", "Form2", "Form5", "Form4"}));
    EXPECT_EQ(rig.dialogs.urlOpened, QUrl(rig.window->messages().text(Msg::WebAddress)));

    // The clock read-out fills the third status bar panel.
    rig.window->setStatusText(3, QString());
    rig.advance(200);
    EXPECT_TRUE(datetime::parse(rig.window->statusText(3)).has_value());
}

}  // namespace
