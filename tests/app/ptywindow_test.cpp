// The main window on the real serial path: the logger-sim program behind a pseudo-terminal,
// reached through the device directory with the program's own port, USB device and waiter.
#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>

#include "app/mainwindow.h"
#include "fakes.h"
#include "link/cbusdevice.h"
#include "link/eventloopwaiter.h"
#include "link/qtserialport.h"
#include "operations/controls.h"
#include "operations/statuspanel.h"

namespace {

// Runs the event loop in short bounded waits until `done` holds or the time is up.
template <typename Predicate>
bool waitUntil(Predicate done, int timeoutMs) {
    EventLoopWaiter waiter;
    QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired()) {
            return false;
        }
        waiter.wait(5);
    }
    return true;
}

class PtyWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const QString program = qEnvironmentVariable("VELTRANE_SIM");
        if (program.isEmpty()) {
            GTEST_SKIP() << "VELTRANE_SIM names no simulator program";
        }
        ASSERT_TRUE(QFileInfo(program).isExecutable()) << program.toStdString();
        ASSERT_TRUE(deviceDir.isValid());
        ASSERT_TRUE(programDir.isValid());
        sim.setProgram(program);
        sim.setArguments({QStringLiteral("--dir"), deviceDir.path(), QStringLiteral("--port"),
                          QStringLiteral("1"), QStringLiteral("--scenario"),
                          QStringLiteral("demo")});
        sim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        sim.start();
        ASSERT_TRUE(sim.waitForStarted(5000));
        ASSERT_TRUE(waitUntil(
            [&] {
                return QFile::exists(deviceDir.filePath(QStringLiteral("tty1"))) &&
                       QFile::exists(deviceDir.filePath(QStringLiteral("usb")));
            },
            10000));
        qputenv("VELTRANE_DEVICE_DIR", deviceDir.path().toLocal8Bit());
    }

    void TearDown() override {
        qunsetenv("VELTRANE_DEVICE_DIR");
        stopSim();
    }

    void stopSim() {
        if (sim.state() != QProcess::NotRunning) {
            sim.terminate();
            if (!sim.waitForFinished(5000)) {
                sim.kill();
                sim.waitForFinished(5000);
            }
        }
    }

    QTemporaryDir deviceDir;
    QTemporaryDir programDir;
    QProcess sim;
};

TEST_F(PtyWindowTest, ConnectsReadsStatusAndDisconnectsWhenUnplugged) {
    QtSerialPortAdapter port;
    std::unique_ptr<CbusDevice> device = makeCbusDevice();
    ScriptedPrompter prompter;
    EventLoopWaiter waiter;
    MainWindow window(MainWindowDependencies{port, *device, prompter, waiter, programDir.path()});
    ASSERT_TRUE(window.startUp());

    auto* connectButton = window.findChild<QPushButton*>(QStringLiteral("Command20"));
    ASSERT_NE(connectButton, nullptr);
    connectButton->click();
    ASSERT_TRUE(port.isOpen()) << (prompter.calls.empty()
                                       ? std::string("no message")
                                       : prompter.calls.front().text.toStdString());
    EXPECT_EQ(port.portNumber(), 1);
    ASSERT_TRUE(waitUntil([&] { return !window.engine().busy(); }, 30000));

    EXPECT_TRUE(prompter.calls.empty());
    EXPECT_EQ(window.windowTitle(), QStringLiteral("[Veltrane] Temperature and Humidity Logger") +
                                        QStringLiteral("QM320-HX"));
    EXPECT_EQ(window.statusText(1),
              QStringLiteral("Communicating") + QChar(0x3000) + QStringLiteral("Port1"));
    EXPECT_EQ(Controls::find(&window, QString::fromLatin1(StatusNames::IdentName))
                  ->property("text")
                  .toString(),
              QStringLiteral("DEMO"));

    // Unplugged: the simulator removes its USB device and hangs up; the device check notices.
    stopSim();
    ASSERT_FALSE(QFile::exists(deviceDir.filePath(QStringLiteral("usb"))));
    EXPECT_TRUE(waitUntil([&] { return !port.isOpen(); }, 5000));
    EXPECT_EQ(window.statusText(1), QStringLiteral("Unconnection"));
    EXPECT_FALSE(window.engine().busy());
    prompter.answers.clear();
    window.close();
}

}  // namespace
