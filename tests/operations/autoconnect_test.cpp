// The program connecting by itself: at start, and when the device check sees the logger's USB
// device appear while unconnected; never over an open box or dialog, never twice at once, and
// not again after the user disconnected by hand.
#include <gtest/gtest.h>

#include "harness.h"
#include "link/commands.h"

namespace {

using namespace optest;
using I = ControlId;

const QString kCommunicatingPort3 = QStringLiteral("Communicating\u3000Port3");
const QString kNoLogger = QStringLiteral("Unconnection: no logger found");
constexpr std::size_t kOpensPerFailedScan = 16 * 4;

TEST(AutoConnect, StartWithTheLoggerPresentConnectsWithoutAPress) {
    Harness h(3, QStringLiteral("runs"));
    h.connection().connectAtStart();
    ASSERT_TRUE(h.port.isOpen());
    EXPECT_EQ(h.text(I::ConnectionStatusPanel), kCommunicatingPort3);
    ASSERT_TRUE(h.runProcedure());
    EXPECT_EQ(h.text(I::IdentNameText), QStringLiteral("LAB1"));
    EXPECT_TRUE(h.prompter.messages.empty());
}

// A start that finds no logger says so in the status bar, never in a box; the device check
// that follows does not try the same logger again, and no tick gets in while the scan waits.
TEST(AutoConnect, FailureAtStartShowsNoBoxAndDoesNotReenter) {
    const struct {
        const char* name;
        std::function<void(Harness&)> arrange;
        QString status;
        std::size_t opens;
    } cases[] = {
        {"no USB device", [](Harness& h) { h.device.present = false; }, kNoLogger, 0},
        {"USB device closed to the user", [](Harness& h) { h.device.denied = true; },
         QStringLiteral("Unconnection: the USB device may not be opened (Help > Check setup)"), 0},
        {"silent logger",
         [](Harness& h) { h.logger.faults().silent.insert(code(Command::Identify)); }, kNoLogger,
         kOpensPerFailedScan},
        {"refused model",
         [](Harness& h) { h.logger.faults().refuseFirst[code(Command::Identify)] = 1000; },
         kNoLogger, kOpensPerFailedScan},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Harness h(3, QStringLiteral("runs"));
        c.arrange(h);
        int ticksDuringScan = 0;
        h.waiter.duringWait = [&] {
            ++ticksDuringScan;
            h.connection().dCheckTick();
            h.connection().connectAtStart();
        };
        h.connection().connectAtStart();
        EXPECT_FALSE(h.port.isOpen());
        EXPECT_EQ(h.port.opens.size(), c.opens);
        EXPECT_EQ(ticksDuringScan > 0, c.opens > 0);
        EXPECT_EQ(h.text(I::ConnectionStatusPanel), c.status);
        EXPECT_TRUE(h.prompter.messages.empty());

        h.waiter.duringWait = {};
        h.connection().dCheckTick();
        h.connection().dCheckTick();
        EXPECT_EQ(h.port.opens.size(), c.opens) << "the same logger was tried again";
        EXPECT_TRUE(h.prompter.messages.empty());
    }
}

TEST(AutoConnect, LoggerPluggedInLaterConnectsOnTheNextCheck) {
    Harness h(3, QStringLiteral("runs"));
    h.device.present = false;
    h.connection().connectAtStart();
    h.connection().dCheckTick();
    EXPECT_FALSE(h.port.isOpen());

    h.device.present = true;
    h.connection().dCheckTick();
    ASSERT_TRUE(h.port.isOpen());
    ASSERT_TRUE(h.runProcedure());
    EXPECT_EQ(h.text(I::ConnectionStatusPanel), kCommunicatingPort3);
    EXPECT_TRUE(h.prompter.messages.empty());

    // Unplugged, it disconnects silently as before; plugged in again, it connects again.
    h.device.present = false;
    h.connection().dCheckTick();
    EXPECT_FALSE(h.port.isOpen());
    EXPECT_EQ(h.text(I::ConnectionStatusPanel), QStringLiteral("Unconnection"));
    h.device.present = true;
    h.connection().dCheckTick();
    EXPECT_TRUE(h.port.isOpen());
    EXPECT_TRUE(h.prompter.messages.empty());
}

// The system names the serial port a moment after the USB device appears: the checks that
// follow try again while no port opens, and give up after a few.
TEST(AutoConnect, SerialPortLateAfterPlugInIsTriedOnTheFollowingChecks) {
    for (const bool portComes : {true, false}) {
        SCOPED_TRACE(portComes);
        Harness h(3, QStringLiteral("runs"));
        h.device.present = false;
        h.connection().connectAtStart();
        for (int port = 1; port <= 16; ++port) {
            h.port.missingPorts.insert(port);
        }
        h.device.present = true;
        h.connection().dCheckTick();
        EXPECT_FALSE(h.port.isOpen());
        EXPECT_EQ(h.text(I::ConnectionStatusPanel), kNoLogger);
        if (portComes) {
            h.port.missingPorts.clear();
        }
        for (int check = 1; check < Connection::kPlugInChecks + 2; ++check) {
            h.connection().dCheckTick();
        }
        EXPECT_EQ(h.port.isOpen(), portComes);
        EXPECT_TRUE(h.prompter.messages.empty());
    }
}

TEST(AutoConnect, DisconnectByHandStopsReconnectingUntilTheUserConnects) {
    Harness h(3, QStringLiteral("runs"));
    h.connection().connectAtStart();
    ASSERT_TRUE(h.runProcedure());
    h.connection().Port_Set_Command(QString(), 0);
    ASSERT_FALSE(h.port.isOpen());
    EXPECT_TRUE(h.connection().disconnectedByHand());

    const std::size_t opens = h.port.opens.size();
    h.connection().dCheckTick();
    h.device.present = false;
    h.connection().dCheckTick();
    h.device.present = true;
    h.connection().dCheckTick();
    h.connection().connectAtStart();
    EXPECT_FALSE(h.port.isOpen());
    EXPECT_EQ(h.port.opens.size(), opens);

    // Connected by hand again, the program follows plug-ins again.
    h.connect();
    ASSERT_TRUE(h.port.isOpen());
    EXPECT_FALSE(h.connection().disconnectedByHand());
    h.device.present = false;
    h.connection().dCheckTick();
    ASSERT_FALSE(h.port.isOpen());
    h.device.present = true;
    h.connection().dCheckTick();
    EXPECT_TRUE(h.port.isOpen());
}

// Plugged in while Help > Check setup is open: nothing starts under the dialog; the first
// check after it closes connects.
TEST(AutoConnect, PlugInWhileADialogIsOpenWaitsForItToClose) {
    Harness h(3, QStringLiteral("runs"));
    h.device.present = false;
    h.connection().connectAtStart();
    bool openedUnderDialog = false;
    h.dialogs.whileSetupCheckOpen = [&] {
        h.device.present = true;
        h.connection().dCheckTick();
        h.connection().dCheckTick();
        openedUnderDialog = h.port.isOpen() || !h.port.opens.empty();
    };
    h.ops->tools().showSetupCheck(QStringLiteral("[ok] findings\n"));
    EXPECT_EQ(h.dialogs.opened, QStringList{QStringLiteral("setupCheckDialog")});
    EXPECT_EQ(h.dialogs.setupCheckTitle, QStringLiteral("Check setup"));
    EXPECT_EQ(h.dialogs.setupCheckShown, QStringLiteral("[ok] findings\n"));
    EXPECT_FALSE(openedUnderDialog);

    h.connection().dCheckTick();
    EXPECT_TRUE(h.port.isOpen());
}

TEST(AutoConnect, NothingStartsWhileAProcedureRunsOrWhenTurnedOff) {
    Harness h(3, QStringLiteral("runs"));
    h.engine.begin();
    h.engine.Enqueue(Command::GetStatus, 0, 0, ProcedureKind::None);
    h.connection().connectAtStart();
    h.connection().dCheckTick();
    EXPECT_TRUE(h.port.opens.empty());
    h.engine.Pro_End();

    h.connection().setConnectsByItself(false);
    h.connection().connectAtStart();
    h.connection().dCheckTick();
    EXPECT_TRUE(h.port.opens.empty());
    EXPECT_TRUE(h.device.levels.empty());
}

}  // namespace
