// The Tools and Help menus against the simulated logger: the name and clock procedures as the
// logger received them, the starts of the communication and version dialogs, the web page and
// the clock read-out.
#include <gtest/gtest.h>

#include "data/version.h"
#include "harness.h"
#include "operations/toolops.h"

namespace {

using namespace optest;
using I = ControlId;
using Sent = std::array<int, 3>;

class ToolsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        h.context.now = [] { return QDateTime(QDate(2026, 3, 1), QTime(12, 0, 5)); };
        h.connect();
        ASSERT_TRUE(h.port.isOpen());
        mark = h.logger.history().size();
    }
    ToolOperations& tools() { return h.ops->tools(); }

    Harness h{3, QStringLiteral("runs")};
    std::size_t mark = 0;
};

TEST_F(ToolsTest, NameDialogSetsTheNameAndRefusesForbiddenOnes) {
    h.dialogs.name = [this](NameField& field) {
        EXPECT_TRUE(h.session.busy());
        EXPECT_EQ(field.loggerName(), QStringLiteral("LAB1"));
        EXPECT_FALSE(field.accept(QStringLiteral("A:B")));
        return std::optional<QString>(QStringLiteral("AB"));
    };
    tools().openNameDialog();
    ASSERT_EQ(h.prompter.messages.size(), 1u);
    EXPECT_TRUE(
        h.prompter.messages[0].text.startsWith(h.messages.text(Msg::NameLetterNotUsable) + "\r\r"));
    EXPECT_EQ(h.engine.queue().Entries[0].Keyword, ProcedureKind::None);
    ASSERT_TRUE(h.runProcedure());
    const std::vector<Sent> sent = h.received(mark);
    ASSERT_EQ(sent.size(), 21u);
    EXPECT_EQ(sent[0], (Sent{code(Command::SetName12), 32, 32}));
    EXPECT_EQ(sent[1], (Sent{code(Command::SetName34), 65, 66}));
    EXPECT_EQ(h.text(I::IdentNameText), QStringLiteral("  AB"));
}

TEST_F(ToolsTest, ClockDialogSetsTheLoggersClockAndShowsIt) {
    tools().openClockDialog();
    EXPECT_EQ(h.dialogs.opened, QStringList{QStringLiteral("Form6")});
    EXPECT_FALSE(h.engine.busy());
    h.dialogs.clockSet = true;
    tools().openClockDialog();
    EXPECT_EQ(h.engine.queue().Entries[2].Keyword, ProcedureKind::None);
    EXPECT_EQ(h.engine.queue().Entries[3].Keyword, ProcedureKind::ClockSet);
    ASSERT_TRUE(h.runProcedure());
    EXPECT_EQ(h.received(mark), (std::vector<Sent>{{code(Command::SetClockMonthYear), 3, 26},
                                                   {code(Command::SetClockHourDay), 12, 1},
                                                   {code(Command::SetClockSecondMinute), 5, 0},
                                                   {code(Command::GetClockMonthYear), 0, 0},
                                                   {code(Command::GetClockHourDay), 0, 0},
                                                   {code(Command::GetClockSecondMinute), 0, 0}}));
    ASSERT_EQ(h.prompter.messages.size(), 1u);
    EXPECT_EQ(h.prompter.messages[0].text, QStringLiteral("Set completion\r\r2026/03/01 12:00:05"));
}

TEST_F(ToolsTest, CommunicationDialogConnectsOrDisconnectsTheChosenPort) {
    tools().openPortDialog();
    EXPECT_TRUE(h.port.isOpen());
    h.dialogs.port = 3;
    tools().openPortDialog();
    EXPECT_TRUE(h.dialogs.portChoice.connected);
    EXPECT_EQ(h.dialogs.portChoice.port, 3);
    EXPECT_FALSE(h.port.isOpen());
    tools().openPortDialog();
    EXPECT_FALSE(h.dialogs.portChoice.connected);
    EXPECT_TRUE(h.port.isOpen());
    EXPECT_EQ(h.port.portNumber(), 3);
}

TEST_F(ToolsTest, VersionWebPageAndClockReadOut) {
    tools().showVersion();
    EXPECT_EQ(h.dialogs.versionShown.model, kModelQM320);
    EXPECT_EQ(h.dialogs.versionShown.hardware, QStringLiteral("Hardware    Ver.1.05"));
    EXPECT_EQ(h.dialogs.versionShown.application,
              QStringLiteral("Application Ver.") + QLatin1String(kProgramVersion.data()));
    EXPECT_EQ(h.dialogs.versionShown.licence, QStringLiteral("Licensed under the MIT licence"));
    h.port.close();
    h.refresh();
    tools().showVersion();
    EXPECT_EQ(h.dialogs.versionShown.model, kProductName);
    EXPECT_TRUE(h.dialogs.versionShown.hardware.isEmpty());

    tools().openWebPage();
    EXPECT_EQ(h.dialogs.urlOpened, QUrl(h.messages.text(Msg::WebAddress)));
    EXPECT_TRUE(h.prompter.messages.empty());
    h.dialogs.browserOpens = false;
    tools().openWebPage();
    ASSERT_EQ(h.prompter.messages.size(), 1u);
    EXPECT_EQ(h.prompter.messages[0].text,
              QStringLiteral("The web page could not be opened.\r\rhttps://www.halvek.example/"));

    EXPECT_EQ(h.timers.interval(TimerId::Tokei), 200);
    h.timers.fire(TimerId::Tokei);
    EXPECT_EQ(h.text(I::ClockPanel), QStringLiteral("2026/03/01 12:00:05"));
}

}  // namespace
