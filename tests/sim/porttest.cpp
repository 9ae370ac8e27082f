// The in-process port: deterministic delivery, the queued bytes-arrived call, port faults.
#include <gtest/gtest.h>
#include <QCoreApplication>

#include "replyutil.h"
#include "sim/simport.h"
#include "sim/simscenarios.h"

namespace {

QByteArray readAll(SimPort& port) {
    QByteArray bytes;
    std::uint8_t byte = 0;
    while (port.bytesWaiting() > 0 && port.readByte(byte)) {
        bytes.append(static_cast<char>(byte));
    }
    return bytes;
}

TEST(SimPort, OpensOnlyTheServedPortWithALineSettingsString) {
    SimLogger logger;
    SimPort port(logger);
    port.setServedPort(3);
    EXPECT_FALSE(port.open(1, QStringLiteral("57600,n,8,1")));
    EXPECT_FALSE(port.open(3, QStringLiteral("57600")));
    EXPECT_FALSE(port.isOpen());
    EXPECT_TRUE(port.open(3, QStringLiteral("57600,n,8,1")));
    EXPECT_EQ(port.portNumber(), 3);
    port.setServedPort(0);
    EXPECT_TRUE(port.open(16, QStringLiteral("9600,n,8,1")));
    EXPECT_FALSE(port.open(17, QStringLiteral("9600,n,8,1")));
}

TEST(SimPort, RepliesAreReadableAtOnceAndTheCallbackIsQueued) {
    SimLogger logger;
    SimPort port(logger);
    int calls = 0;
    port.setBytesArrived([&] { ++calls; });
    ASSERT_TRUE(port.open(1, QStringLiteral("57600,n,8,1")));
    ASSERT_TRUE(port.write(commandFrame(code(Command::GetStatus))));
    ASSERT_TRUE(port.write(commandFrame(code(Command::GetName12))));
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(port.bytesWaiting(), 18);
    QCoreApplication::processEvents();
    EXPECT_EQ(calls, 1);
    const auto frames = splitFrames(readAll(port));
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(replyValues(frames[0])[1], 30);
    EXPECT_EQ(replyValues(frames[1])[1], 42);
    EXPECT_EQ(port.written(), commandFrame(30) + commandFrame(42));
}

TEST(SimPort, ManualDeliveryMovesBytesOnRequest) {
    SimLogger logger;
    simscenario::apply(QStringLiteral("runs"), logger,
                       QDateTime(QDate(2026, 3, 14), QTime(9, 0), Qt::UTC));
    SimPort port(logger);
    int calls = 0;
    port.setBytesArrived([&] { ++calls; });
    port.setAutoDeliver(false);
    ASSERT_TRUE(port.open(1, QStringLiteral("57600,n,8,1")));
    port.write(commandFrame(code(Command::StreamRecords), 0, 40));
    EXPECT_EQ(port.bytesWaiting(), 0);
    EXPECT_EQ(port.deliver(18), 18);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(splitFrames(readAll(port)).size(), 2u);
    EXPECT_EQ(port.deliver(), 8 * 9);
    EXPECT_EQ(port.deliver(), 0);
    EXPECT_EQ(calls, 2);
}

TEST(SimPort, ErrorsAndRemovalAreReportedAsValues) {
    SimLogger logger;
    SimPort port(logger);
    ASSERT_TRUE(port.open(1, QStringLiteral("57600,n,8,1")));
    port.write(commandFrame(code(Command::GetStatus)));
    port.injectError();
    std::uint8_t byte = 0;
    EXPECT_LT(port.bytesWaiting(), 0);
    EXPECT_FALSE(port.readByte(byte));
    EXPECT_FALSE(port.write(commandFrame(code(Command::GetStatus))));
    ASSERT_TRUE(port.open(1, QStringLiteral("57600,n,8,1")));
    EXPECT_EQ(port.bytesWaiting(), 0);
    EXPECT_TRUE(port.write(commandFrame(code(Command::GetStatus))));
    EXPECT_EQ(port.bytesWaiting(), 9);

    port.setPresent(false);
    EXPECT_LT(port.bytesWaiting(), 0);
    EXPECT_FALSE(port.write(commandFrame(code(Command::GetStatus))));
    port.close();
    EXPECT_FALSE(port.open(1, QStringLiteral("57600,n,8,1")));
    port.setPresent(true);
    EXPECT_TRUE(port.open(1, QStringLiteral("57600,n,8,1")));
    EXPECT_EQ(port.openCount(), 3);
}

TEST(SimPort, ClosingDropsUnreadRepliesAndRunningStreams) {
    SimLogger logger;
    simscenario::apply(QStringLiteral("full"), logger,
                       QDateTime(QDate(2026, 3, 14), QTime(9, 0), Qt::UTC));
    SimPort port(logger);
    port.setAutoDeliver(false);
    ASSERT_TRUE(port.open(1, QStringLiteral("57600,n,8,1")));
    port.write(commandFrame(code(Command::StreamRecords), 234, 96));
    port.deliver(90);
    port.close();
    EXPECT_FALSE(logger.hasOutput());
    ASSERT_TRUE(port.open(1, QStringLiteral("57600,n,8,1")));
    EXPECT_EQ(port.bytesWaiting(), 0);
    port.clearInput();
}

}  // namespace

namespace {

TEST(SimPort, UnplugAfterRecordsLetsTheSentRecordsBeReadThenFails) {
    for (const bool automatic : {true, false}) {
        SimLogger logger;
        simscenario::apply(QStringLiteral("full"), logger,
                           QDateTime(QDate(2026, 3, 14), QTime(9, 0), Qt::UTC));
        SimPort port(logger);
        port.setAutoDeliver(automatic);
        port.unplugAfterRecords(40);
        ASSERT_TRUE(port.open(1, QStringLiteral("57600,n,8,1")));
        port.write(commandFrame(code(Command::StreamRecords), 234, 96));
        if (!automatic) {
            EXPECT_EQ(port.deliver(100), 100);
            EXPECT_EQ(port.deliver(), 40 * 9 - 100);
            EXPECT_EQ(port.deliver(), 0);
        }
        EXPECT_TRUE(port.present());
        EXPECT_EQ(splitFrames(readAll(port)).size(), 40u) << automatic;
        EXPECT_FALSE(port.present());
        EXPECT_LT(port.bytesWaiting(), 0);
        EXPECT_FALSE(port.write(commandFrame(code(Command::GetStatus))));
        port.close();
        EXPECT_FALSE(port.open(1, QStringLiteral("57600,n,8,1")));
    }
}

}  // namespace
