// The main window on the real serial path: the logger-sim program behind a pseudo-terminal,
// reached through the device directory with the program's own port, USB device and waiter.
#include <gtest/gtest.h>

#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>

#include "app/mainwindow.h"
#include "fakes.h"
#include "link/cbusdevice.h"
#include "link/commands.h"
#include "link/eventloopwaiter.h"
#include "link/qtserialport.h"
#include "operations/operations.h"
#include "simrig.h"

namespace {

class PtyWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (PtySimRig::program().isEmpty()) {
            GTEST_SKIP() << "VELTRANE_SIM names no simulator program";
        }
        ASSERT_TRUE(programDir.isValid());
        ASSERT_TRUE(simulator.start({QStringLiteral("--scenario"), QStringLiteral("demo")}))
            << PtySimRig::program().toStdString();
    }

    QTemporaryDir programDir;
    PtySimRig simulator;
};

TEST_F(PtyWindowTest, ConnectsReadsStatusAndDisconnectsWhenUnplugged) {
    QtSerialPortAdapter port;
    std::unique_ptr<CbusDevice> device = makeCbusDevice();
    ScriptedPrompter prompter;
    EventLoopWaiter waiter;
    MainWindow window(MainWindowDependencies{port, *device, prompter, waiter, programDir.path(),
                                             nullptr, QString(), std::nullopt, false});
    ASSERT_TRUE(window.startUp());

    auto* connectButton = window.findChild<QPushButton*>(QStringLiteral("Command20"));
    ASSERT_NE(connectButton, nullptr);
    connectButton->click();
    ASSERT_TRUE(port.isOpen()) << (prompter.calls.empty()
                                       ? std::string("no message")
                                       : prompter.calls.front().text.toStdString());
    EXPECT_EQ(port.portNumber(), 1);
    ASSERT_TRUE(waitUntil([&] { return !window.session().engine().busy(); }, 30000));

    EXPECT_TRUE(prompter.calls.empty());
    EXPECT_EQ(window.windowTitle(), QStringLiteral("[Veltrane] Temperature and Humidity Logger") +
                                        QStringLiteral("QM320-HX"));
    EXPECT_EQ(window.statusText(1),
              QStringLiteral("Communicating") + QChar(0x3000) + QStringLiteral("Port1"));
    EXPECT_EQ(window.controls().text(ControlId::IdentNameText), QStringLiteral("DEMO"));

    // Unplugged: the simulator removes its USB device and hangs up; the device check notices.
    simulator.stop();
    ASSERT_FALSE(QFile::exists(simulator.devicePath(QStringLiteral("usb"))));
    EXPECT_TRUE(waitUntil([&] { return !port.isOpen(); }, 5000));
    EXPECT_EQ(window.statusText(1), QStringLiteral("Unconnection"));
    EXPECT_FALSE(window.session().engine().busy());
    prompter.answers.clear();
    window.close();
}

// Started with the logger present, the window connects with no press; unplugged, it
// disconnects; plugged in again, it connects within two seconds, again with no press and no box.
TEST_F(PtyWindowTest, ConnectsByItselfAtStartAndWhenPluggedInAgain) {
    QtSerialPortAdapter port;
    std::unique_ptr<CbusDevice> device = makeCbusDevice();
    ScriptedPrompter prompter;
    EventLoopWaiter waiter;
    MainWindow window(MainWindowDependencies{port, *device, prompter, waiter, programDir.path()});
    ASSERT_TRUE(window.startUp());
    const QString communicating =
        QStringLiteral("Communicating") + QChar(0x3000) + QStringLiteral("Port1");

    ASSERT_TRUE(waitUntil([&] { return port.isOpen(); }, 10000))
        << window.statusText(1).toStdString();
    ASSERT_TRUE(waitUntil([&] { return !window.session().engine().busy(); }, 30000));
    EXPECT_EQ(window.statusText(1), communicating);
    EXPECT_EQ(window.controls().text(ControlId::IdentNameText), QStringLiteral("DEMO"));

    simulator.stop();
    ASSERT_TRUE(waitUntil([&] { return !port.isOpen(); }, 5000));
    EXPECT_EQ(window.statusText(1), QStringLiteral("Unconnection"));

    ASSERT_TRUE(simulator.start({QStringLiteral("--scenario"), QStringLiteral("demo")}));
    EXPECT_TRUE(waitUntil([&] { return port.isOpen(); }, 2000))
        << window.statusText(1).toStdString();
    ASSERT_TRUE(waitUntil([&] { return !window.session().engine().busy(); }, 30000));
    EXPECT_EQ(window.statusText(1), communicating);
    EXPECT_TRUE(prompter.calls.empty());
    prompter.answers.clear();
    window.close();
}

// The hard unplug of a recording start between SetMemoryMode and StartRecording: the closed
// pseudo-terminal ends the start with one box saying the logger may be partly set.
TEST_F(PtyWindowTest, UnplugMidStartSaysTheLoggerMayBePartlySet) {
    ASSERT_TRUE(simulator.start({QStringLiteral("--scenario"), QStringLiteral("demo"),
                                 QStringLiteral("--unplug-after-command"),
                                 QString::number(code(Command::SetMemoryMode))}));
    QtSerialPortAdapter port;
    std::unique_ptr<CbusDevice> device = makeCbusDevice();
    ScriptedPrompter prompter;
    EventLoopWaiter waiter;
    MainWindow window(MainWindowDependencies{port, *device, prompter, waiter, programDir.path()});
    ASSERT_TRUE(window.startUp());
    window.operations().connection().Port_Set_Command(QString(), 0);
    ASSERT_TRUE(port.isOpen());
    ASSERT_TRUE(waitUntil([&] { return !window.session().engine().busy(); }, 30000));
    ASSERT_TRUE(prompter.calls.empty());

    const RecordingRequest request{
        QStringLiteral("PTY"), true, kUnitMinutes, 10, 30, 10, false, false, std::nullopt};
    ASSERT_TRUE(
        window.operations().recording().Log_Start(ProcedureKind::RecordingStart, 0, request));
    ASSERT_TRUE(waitUntil([&] { return !window.session().engine().busy(); }, 30000));
    ASSERT_EQ(prompter.calls.size(), 1u);
    const MessageTable& m = window.messages();
    EXPECT_EQ(prompter.calls[0].text, m.text(Msg::StartRecordingFailed) + MessageTable::kPartBreak +
                                          m.text(Msg::ConnectionLost) + MessageTable::kPartBreak +
                                          m.pair(Msg::MayBePartlySet, Msg::ConnectAndSetAgain));
    EXPECT_EQ(window.statusText(1), QStringLiteral("Unconnection"));
    prompter.answers.clear();
    window.close();
}

}  // namespace
