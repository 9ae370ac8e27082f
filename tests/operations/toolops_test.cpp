// The Tools and Help menus against the simulated logger: the name and clock procedures as the
// logger received them, the communication and version dialogs' starts, the web page and the
// clock read-out.
#include <gtest/gtest.h>

#include "harness.h"
#include "operations/toolops.h"

namespace {

using namespace optest;
using I = ControlId;

const QDateTime kNow(QDate(2026, 3, 1), QTime(12, 0, 5));

std::vector<std::array<int, 3>> receivedSince(const SimLogger& logger, std::size_t from) {
    std::vector<std::array<int, 3>> sent;
    for (std::size_t i = from; i < logger.history().size(); ++i) {
        const SimCommand& c = logger.history()[i];
        sent.push_back({c.code, c.arg1, c.arg2});
    }
    return sent;
}

class ToolsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        h.context.now = [] { return kNow; };
        h.connect();
        ASSERT_TRUE(h.port.isOpen());
        mark = h.logger.history().size();
    }
    ToolOperations& tools() { return h.ops->tools(); }

    Harness h{3, QStringLiteral("runs")};
    std::size_t mark = 0;
};

TEST_F(ToolsTest, NameDialogSetsTheNameAndReadsItBack) {
    h.dialogs.name = [](NameField& field) {
        EXPECT_EQ(field.loggerName(), QStringLiteral("LAB1"));
        return std::optional<QString>(QStringLiteral("AB"));
    };
    tools().m34_Click();
    EXPECT_EQ(h.dialogs.opened, QStringList{QStringLiteral("Form2")});
    EXPECT_TRUE(h.engine.queue().Entries[0].Keyword.isEmpty());
    ASSERT_TRUE(h.runProcedure());
    const auto sent = receivedSince(h.logger, mark);
    ASSERT_EQ(sent.size(), 21u);
    EXPECT_EQ(sent[0], (std::array<int, 3>{code(Command::SetName12), 32, 32}));
    EXPECT_EQ(sent[1], (std::array<int, 3>{code(Command::SetName34), 65, 66}));
    EXPECT_EQ(sent[2][0], code(Command::Identify));
    EXPECT_EQ(h.state.VT_Name, QStringLiteral("  AB"));
    EXPECT_EQ(h.text(I::IdentNameText), QStringLiteral("  AB"));
    EXPECT_TRUE(h.prompter.messages.empty());
}

TEST_F(ToolsTest, NameDialogRefusesForbiddenCharacters) {
    h.dialogs.name = [this](NameField& field) {
        EXPECT_FALSE(field.accept(QStringLiteral("A:B")));
        EXPECT_TRUE(field.accept(QStringLiteral("OK")));
        EXPECT_TRUE(h.session.busy());
        return std::optional<QString>();
    };
    tools().m34_Click();
    ASSERT_EQ(h.prompter.messages.size(), 1u);
    EXPECT_EQ(h.prompter.messages[0].title, kModelQM320);
    EXPECT_TRUE(h.prompter.messages[0].text.startsWith(h.messages.text(253) + "\r\r"));
    EXPECT_FALSE(h.engine.busy());
}

TEST_F(ToolsTest, ClockDialogSetsTheLoggersClockAndShowsIt) {
    tools().m33_Click();
    EXPECT_EQ(h.dialogs.opened, QStringList{QStringLiteral("Form6")});
    EXPECT_FALSE(h.engine.busy());

    h.dialogs.clockSet = true;
    tools().m33_Click();
    const CommandQueue& queue = h.engine.queue();
    ASSERT_EQ(queue.Count, 6);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(queue.Entries[i].Keyword, i < 3 ? QString() : Keyword::TSet) << i;
    }
    ASSERT_TRUE(h.runProcedure());
    EXPECT_EQ(receivedSince(h.logger, mark),
              (std::vector<std::array<int, 3>>{{code(Command::SetClockMonthYear), 3, 26},
                                               {code(Command::SetClockHourDay), 12, 1},
                                               {code(Command::SetClockSecondMinute), 5, 0},
                                               {code(Command::GetClockMonthYear), 0, 0},
                                               {code(Command::GetClockHourDay), 0, 0},
                                               {code(Command::GetClockSecondMinute), 0, 0}}));
    ASSERT_EQ(h.prompter.messages.size(), 1u);
    EXPECT_EQ(h.prompter.messages[0].text, QStringLiteral("Set completion\r\r2026/03/01 12:00:05"));
}

TEST_F(ToolsTest, CommunicationDialogConnectsOrDisconnectsTheChosenPort) {
    h.dialogs.port = 3;
    tools().m35_Click();
    EXPECT_TRUE(h.dialogs.portChoice.connected);
    EXPECT_EQ(h.dialogs.portChoice.port, 3);
    EXPECT_FALSE(h.port.isOpen());

    h.port.opens.clear();
    tools().m35_Click();
    EXPECT_FALSE(h.dialogs.portChoice.connected);
    EXPECT_EQ(h.port.opens.front(), 3);
    EXPECT_TRUE(h.port.isOpen());
    ASSERT_TRUE(h.runProcedure());

    // Cancelled: nothing changes.
    h.dialogs.port.reset();
    tools().m35_Click();
    EXPECT_TRUE(h.port.isOpen());
    EXPECT_FALSE(h.engine.busy());
}

TEST_F(ToolsTest, DialogsThatProgramTheLoggerWaitForTheProcedure) {
    h.dialogs.clockSet = true;
    h.dialogs.port = 3;
    h.engine.begin();
    ASSERT_TRUE(enqueueStatusRead(h.engine, QString()));
    tools().m33_Click();
    tools().m34_Click();
    tools().m35_Click();
    EXPECT_TRUE(h.dialogs.opened.isEmpty());
    EXPECT_FALSE(tools().Now_Time_set());
    EXPECT_FALSE(tools().Set_VTName(QString(), 0, QStringLiteral("AB")));
    EXPECT_EQ(h.engine.queue().Count, 19);
    EXPECT_TRUE(h.port.isOpen());
    h.engine.begin();
}

TEST_F(ToolsTest, VersionShowsTheHardwareLineOnlyWithAFirmwareVersion) {
    tools().m41_Click();
    EXPECT_EQ(h.dialogs.versionShown.model, kModelQM320);
    EXPECT_EQ(h.dialogs.versionShown.hardware, QStringLiteral("Hardware    Ver.1.05"));
    EXPECT_EQ(h.dialogs.versionShown.title, QStringLiteral("Version"));
    EXPECT_EQ(h.dialogs.versionShown.application, h.messages.text(261));
    EXPECT_EQ(h.dialogs.versionShown.maker, h.messages.text(262));

    h.port.close();
    h.refresh();
    tools().m41_Click();
    EXPECT_EQ(h.dialogs.versionShown.model, kProductName);
    EXPECT_TRUE(h.dialogs.versionShown.hardware.isEmpty());
}

TEST_F(ToolsTest, WebPageOpensTheMakersAddressOrSaysItCannot) {
    tools().m42_Click();
    EXPECT_EQ(h.dialogs.urlOpened, QUrl(h.messages.text(1126)));
    EXPECT_TRUE(h.prompter.messages.empty());
    h.dialogs.browserOpens = false;
    tools().m42_Click();
    ASSERT_EQ(h.prompter.messages.size(), 1u);
    EXPECT_EQ(h.prompter.messages[0].text,
              QStringLiteral("The web page could not be opened.\r\rhttps://www.halvek.example/"));
}

TEST_F(ToolsTest, ClockReadOutInTheThirdStatusPanel) {
    EXPECT_TRUE(h.timers.isArmed(TimerId::Tokei));
    EXPECT_EQ(h.timers.interval(TimerId::Tokei), 200);
    h.timers.fire(TimerId::Tokei);
    EXPECT_EQ(h.text(I::StatusBar1Panel3), QStringLiteral("2026/03/01 12:00:05"));
}

}  // namespace
