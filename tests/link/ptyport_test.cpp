// The real serial port adapter and the engine against the logger-sim program over a
// pseudo-terminal, reached through the device directory as the program reaches it.
#include <gtest/gtest.h>

#include "link/cbusdevice.h"
#include "link/engine.h"
#include "link/protocol.h"
#include "link/qtserialport.h"
#include "scriptedport.h"
#include "simrig.h"

namespace {

class PtyPortTest : public ::testing::Test {
  protected:
    PtySimRig simulator;
    QProcess& sim = simulator.process();

    void SetUp() override {
        if (PtySimRig::program().isEmpty()) {
            GTEST_SKIP() << "VELTRANE_SIM names no simulator program";
        }
        ASSERT_TRUE(simulator.start()) << PtySimRig::program().toStdString();
    }
};

TEST_F(PtyPortTest, EngineExchangesFramesThroughTheRealPort) {
    QtSerialPortAdapter port;
    ASSERT_TRUE(port.open(1, QStringLiteral("57600,n,8,1")));
    EXPECT_EQ(port.portNumber(), 1);
    EXPECT_FALSE(port.open(2, QStringLiteral("57600,n,8,1")));
    ASSERT_TRUE(port.open(1, QStringLiteral("57600,n,8,1")));

    TimerTable timers;
    RecordingHost host(timers);
    Engine engine(port, timers, host);
    QByteArray identify;
    std::vector<std::uint8_t> codes;
    engine.setHandler(Command::Identify, [&](CommandEntry&, const Reply& reply) {
        identify = reply.raw;
        return ReplyAction::Advance;
    });
    for (Command c : {Command::GetStatus, Command::GetInterval, Command::GetMemoryMode}) {
        engine.setHandler(c, [&](CommandEntry& entry, const Reply& reply) {
            EXPECT_EQ(reply.r[0], kCommandKind);
            EXPECT_EQ(reply.r[1], entry.Code);
            codes.push_back(entry.Code);
            return ReplyAction::Advance;
        });
    }
    engine.begin();
    ASSERT_TRUE(engine.Enqueue(Command::Identify, 0, 0, ProcedureKind::PortOpen));
    for (int i = 0; i < 20; ++i) {
        ASSERT_TRUE(engine.Enqueue(Command::GetStatus, 0, 0, ProcedureKind::PortOpen));
        ASSERT_TRUE(engine.Enqueue(Command::GetInterval, 0, 0, ProcedureKind::PortOpen));
        ASSERT_TRUE(engine.Enqueue(Command::GetMemoryMode, 0, 0, ProcedureKind::PortOpen));
    }
    engine.SendCurrent();
    // No tick is driven: every reply is handled from the port's bytes-arrived signal.
    ASSERT_TRUE(waitUntil([&] { return !engine.busy(); }, 10000));
    EXPECT_TRUE(host.failures.empty());
    EXPECT_EQ(codes.size(), 60u);
    ASSERT_GE(identify.size(), 2);
    EXPECT_TRUE(identify.startsWith("QM3")) << identify.toStdString();
    EXPECT_TRUE(port.isOpen());
}

TEST_F(PtyPortTest, EveryOfferedBaudRateOpensThePort) {
    QtSerialPortAdapter port;
    for (const char* baud : {"9600", "14400", "19200", "38400", "57600", "115200"}) {
        EXPECT_TRUE(port.open(1, QString::fromLatin1(baud) + QStringLiteral(",n,8,1"))) << baud;
        EXPECT_TRUE(port.isOpen()) << baud;
        EXPECT_EQ(port.bytesWaiting(), 0) << baud;
    }
}

TEST_F(PtyPortTest, SimulatedUsbDeviceIsPresentAndTakesPulses) {
    const std::unique_ptr<CbusDevice> device = makeCbusDevice();
    QString description;
    EXPECT_EQ(device->describe(description), CbusDevice::kOk);
    EXPECT_FALSE(description.isEmpty());
    EXPECT_EQ(device->pulse(255), CbusDevice::kOk);
    EXPECT_EQ(device->pulse(0), CbusDevice::kOk);
}

TEST_F(PtyPortTest, InitialiseCommandIsWrittenWithoutAReply) {
    QtSerialPortAdapter port;
    ASSERT_TRUE(port.open(1, QStringLiteral("57600,n,8,1")));
    ASSERT_TRUE(port.write(Protocol::initAllCommand()));
    // The simulator answers nothing; a following command still gets its own reply.
    TimerTable timers;
    RecordingHost host(timers);
    Engine engine(port, timers, host);
    engine.begin();
    ASSERT_TRUE(engine.Enqueue(Command::GetStatus, 0, 0, ProcedureKind::None));
    engine.SendCurrent();
    ASSERT_TRUE(waitUntil([&] { return !engine.busy(); }, 10000));
    EXPECT_TRUE(host.failures.empty());
}

}  // namespace

namespace {

TEST_F(PtyPortTest, VanishedSimulatorBecomesAPortErrorAndRecoveryGivesUp) {
    QtSerialPortAdapter port;
    ASSERT_TRUE(port.open(1, QStringLiteral("57600,n,8,1")));
    TimerTable timers;
    RecordingHost host(timers);
    Engine engine(port, timers, host);
    engine.setLineSettings(QStringLiteral("57600,n,8,1"), 1);
    sim.terminate();
    ASSERT_TRUE(sim.waitForFinished(5000));
    engine.begin();
    ASSERT_TRUE(engine.Enqueue(Command::GetStatus, 0, 0, ProcedureKind::None));
    engine.SendCurrent();
    // Polling alone notices the dead line: reopening fails and the procedure ends silently.
    ASSERT_TRUE(waitUntil(
        [&] {
            engine.inputTick();
            return !engine.busy();
        },
        10000));
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(host.portLostCalls, 1);
    EXPECT_TRUE(host.failures.empty());
    EXPECT_EQ(host.ended, 1);
}

}  // namespace
