// Record streaming and every injected fault, seen as raw reply bytes.
#include <gtest/gtest.h>

#include "replyutil.h"
#include "sim/simscenarios.h"

namespace {

const QDateTime kNow(QDate(2026, 3, 14), QTime(9, 30, 0), Qt::UTC);

std::array<int, 4> memoryValues(const SimLogger& logger, int address) {
    const auto& m = logger.state().memory;
    return {m[address], m[address + 1], m[address + 2], m[address + 3]};
}

struct StreamCase {
    const char* scenario;
    int endAddress;
    int records;
};

class SimStream : public ::testing::TestWithParam<StreamCase> {};

TEST_P(SimStream, StreamsEveryRecordFromZeroToTheEndAddress) {
    const StreamCase c = GetParam();
    SimLogger logger;
    simscenario::apply(QString::fromLatin1(c.scenario), logger, kNow);
    logger.receive(
        commandFrame(code(Command::StreamRecords), c.endAddress >> 8, c.endAddress & 0xFF));
    const auto frames = splitFrames(logger.takeOutput());
    ASSERT_EQ(static_cast<int>(frames.size()), c.records);
    for (int i = 0; i < c.records; ++i) {
        ASSERT_EQ(frames[i].size(), 9) << i;
        ASSERT_EQ(replyValues(frames[i]), memoryValues(logger, i * 4)) << i;
    }
    EXPECT_FALSE(logger.hasOutput());
    EXPECT_EQ(logger.streamedRecords(), c.records);
}

INSTANTIATE_TEST_SUITE_P(Scenarios, SimStream,
                         ::testing::Values(StreamCase{"runs", 650 * 4, 650},
                                           StreamCase{"wrapped", 60000, 15000},
                                           StreamCase{"full", 60000, 15000},
                                           StreamCase{"empty", 0, 1}, StreamCase{"runs", 6, 2}),
                         [](const auto& info) {
                             return std::string(info.param.scenario) + "_" +
                                    std::to_string(info.param.records);
                         });

TEST(SimStream, GeneratesLazilyInWhateverPiecesAreTaken) {
    SimLogger whole;
    SimLogger pieces;
    simscenario::apply(QStringLiteral("runs"), whole, kNow);
    simscenario::apply(QStringLiteral("runs"), pieces, kNow);
    const QByteArray frame = commandFrame(code(Command::StreamRecords), (2600 >> 8), 2600 & 0xFF);
    whole.receive(frame);
    pieces.receive(frame);
    QByteArray collected;
    while (pieces.hasOutput()) {
        collected += pieces.takeOutput(7);
        EXPECT_LE(pieces.streamedRecords() * 9 - collected.size(), 9);
    }
    EXPECT_EQ(collected, whole.takeOutput());
}

TEST(SimStream, ANewCommandEndsARunningStream) {
    SimLogger logger;
    simscenario::apply(QStringLiteral("full"), logger, kNow);
    logger.receive(commandFrame(code(Command::StreamRecords), 234, 96));
    logger.takeOutput(9 * 3);
    logger.receive(commandFrame(code(Command::GetStatus)));
    const auto frames = splitFrames(logger.takeOutput());
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(replyValues(frames[0])[1], code(Command::GetStatus));
    EXPECT_EQ(logger.streamedRecords(), 3);
}

TEST(SimFaults, RefusesTheFirstKSendsOfACode) {
    SimLogger logger;
    logger.faults().refuseFirst[code(Command::GetStatus)] = 3;
    for (int i = 0; i < 3; ++i) {
        logger.receive(commandFrame(code(Command::GetStatus)));
        const QByteArray reply = logger.takeOutput();
        ASSERT_FALSE(reply.isEmpty());
        EXPECT_EQ(static_cast<std::uint8_t>(reply[0]), 0xEE);
        EXPECT_EQ(static_cast<std::uint8_t>(reply.back()), 0xFF);
        EXPECT_EQ(reply.count(static_cast<char>(0xFF)), 1);
    }
    EXPECT_EQ(exchange(logger, Command::GetStatus)[1], 30);
    EXPECT_EQ(exchange(logger, Command::GetName12)[1], 42);
}

TEST(SimFaults, StaysSilentForACode) {
    SimLogger logger;
    logger.faults().silent.insert(code(Command::Identify));
    for (int i = 0; i < 4; ++i) {
        logger.receive(commandFrame(code(Command::Identify)));
    }
    EXPECT_FALSE(logger.hasOutput());
    EXPECT_EQ(logger.history().size(), 4u);
    EXPECT_EQ(exchange(logger, Command::GetStatus)[1], 30);
}

TEST(SimFaults, GarbageAheadOfAReplyLeavesTheLastEightBytesIntact) {
    SimLogger logger;
    simscenario::apply(QStringLiteral("runs"), logger, kNow);
    logger.faults().garbageBefore[code(Command::GetRecordBytes)] = 5;
    logger.receive(commandFrame(code(Command::GetRecordBytes)));
    const QByteArray reply = logger.takeOutput();
    EXPECT_EQ(reply.size(), 14);
    EXPECT_NE(static_cast<std::uint8_t>(reply[0]), 0xEE);
    const auto v = replyValues(reply);
    EXPECT_EQ(v[2] * 256 + v[3], 2600);
}

TEST(SimFaults, OverlongReplyRunsPastAnyReceiveBuffer) {
    SimLogger logger;
    logger.faults().overlong.insert(code(Command::GetStatus));
    logger.receive(commandFrame(code(Command::GetStatus)));
    const QByteArray reply = logger.takeOutput();
    EXPECT_GT(reply.indexOf(static_cast<char>(0xFF)), 101);
}

TEST(SimFaults, BadValueDecodesAbove255) {
    SimLogger logger;
    logger.faults().badValue.insert(code(Command::GetBatteryVoltage));
    EXPECT_GT(exchange(logger, Command::GetBatteryVoltage)[2], 255);
    EXPECT_LE(exchange(logger, Command::GetStatus)[2], 255);
}

TEST(SimFaults, StreamStallsAfterRRecords) {
    SimLogger logger;
    simscenario::apply(QStringLiteral("full"), logger, kNow);
    logger.faults().stallAfterRecords = 25;
    logger.receive(commandFrame(code(Command::StreamRecords), 234, 96));
    EXPECT_EQ(splitFrames(logger.takeOutput()).size(), 25u);
    EXPECT_FALSE(logger.hasOutput());
    EXPECT_TRUE(logger.takeOutput().isEmpty());
    EXPECT_TRUE(logger.streaming());
}

TEST(SimFaults, FaultsApplyToTheFirstStreamedRecord) {
    SimLogger logger;
    simscenario::apply(QStringLiteral("runs"), logger, kNow);
    logger.faults().garbageBefore[code(Command::StreamRecords)] = 3;
    logger.receive(commandFrame(code(Command::StreamRecords), 0, 8));
    const QByteArray out = logger.takeOutput();
    EXPECT_EQ(out.size(), 3 + 9 + 9);
    const auto frames = splitFrames(out);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(replyValues(frames[0]), memoryValues(logger, 0));
    EXPECT_EQ(replyValues(frames[1]), memoryValues(logger, 4));
}

}  // namespace
