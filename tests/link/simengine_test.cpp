// The engine against the in-process simulated logger, whose frame codec is written apart from
// the link's: plain exchanges, refusals, device-side faults and a record stream.
#include <gtest/gtest.h>

#include <QCoreApplication>

#include "link/engine.h"
#include "scriptedport.h"
#include "sim/simlogger.h"
#include "sim/simport.h"

namespace {

class SimEngineTest : public ::testing::Test {
  protected:
    SimLogger logger;
    SimPort port{logger};
    TimerTable timers;
    RecordingHost host{timers};
    Engine engine{port, timers, host};
    std::vector<Reply> replies;

    void SetUp() override {
        ASSERT_TRUE(port.open(1, QStringLiteral("57600,n,8,1")));
        logger.state().status = kStatusRecording0 | kStatusReserved;
        engine.setHandler(Command::GetStatus, [this](CommandEntry&, const Reply& reply) {
            replies.push_back(reply);
            return ReplyAction::Advance;
        });
    }

    void runGetStatus() {
        engine.begin();
        ASSERT_TRUE(engine.Enqueue(Command::GetStatus, 0, 0, QString()));
        engine.SendCurrent();
        for (int tick = 0; tick < 100 && engine.busy(); ++tick) {
            engine.inputTick();
        }
    }
};

TEST_F(SimEngineTest, GetStatusExchange) {
    runGetStatus();
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0].r, (std::array<std::uint8_t, 4>{1, 30, 0x05, 0}));
    EXPECT_EQ(port.written(), QByteArray("\x00\x01\x00\x30\x00\x00\x00\x00\xFF", 9));
    EXPECT_TRUE(host.failures.empty());
    EXPECT_FALSE(engine.busy());
}

TEST_F(SimEngineTest, RefusedThenAnswered) {
    logger.faults().refuseFirst[code(Command::GetStatus)] = 4;
    runGetStatus();
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0].r[2], 0x05);
    EXPECT_EQ(port.written().size(), 5 * 9);
    EXPECT_TRUE(host.failures.empty());
    EXPECT_TRUE(port.isOpen());
}

TEST(SimEngineFaultTest, NoisyRepliesAreDecodedAndBrokenOnesEndTheProcedure) {
    const struct {
        const char* name;
        void (*inject)(SimFaults&);
        bool answered;
    } cases[] = {
        {"garbage before the reply",
         [](SimFaults& f) { f.garbageBefore[code(Command::GetStatus)] = 5; }, true},
        {"overlong reply", [](SimFaults& f) { f.overlong.insert(code(Command::GetStatus)); },
         false},
        {"value above 255", [](SimFaults& f) { f.badValue.insert(code(Command::GetStatus)); },
         false},
        {"eleven refusals", [](SimFaults& f) { f.refuseFirst[code(Command::GetStatus)] = 11; },
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SimLogger logger;
        SimPort port(logger);
        TimerTable timers;
        RecordingHost host(timers);
        Engine engine(port, timers, host);
        int answered = 0;
        engine.setHandler(Command::GetStatus, [&](CommandEntry&, const Reply&) {
            ++answered;
            return ReplyAction::Advance;
        });
        c.inject(logger.faults());
        ASSERT_TRUE(port.open(1, QStringLiteral("57600,n,8,1")));
        engine.begin();
        ASSERT_TRUE(engine.Enqueue(Command::GetStatus, 0, 0, QString()));
        engine.SendCurrent();
        for (int tick = 0; tick < 100 && engine.busy(); ++tick) {
            engine.inputTick();
        }
        EXPECT_FALSE(engine.busy());
        EXPECT_EQ(answered, c.answered ? 1 : 0);
        EXPECT_EQ(port.isOpen(), c.answered);
        if (!c.answered) {
            ASSERT_EQ(host.failures.size(), 1u);
            EXPECT_EQ(host.failures[0],
                      std::make_pair(Msg::CommunicationFault, Msg::CommunicationEndsAfterFault));
        }
    }
}

TEST_F(SimEngineTest, StreamedRecordsAreAllHandledInOneTick) {
    for (int i = 0; i < 16; ++i) {
        logger.state().memory[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i * 16);
    }
    std::vector<std::uint8_t> bytes;
    engine.setHandler(Command::StreamRecords, [&](CommandEntry&, const Reply& reply) {
        bytes.insert(bytes.end(), reply.r.begin(), reply.r.end());
        return bytes.size() < 16 ? ReplyAction::Wait : ReplyAction::Advance;
    });
    engine.begin();
    ASSERT_TRUE(engine.Enqueue(Command::StreamRecords, 0, 16, Keyword::Download));
    engine.SendCurrent();
    engine.inputTick();
    ASSERT_EQ(bytes.size(), 16u);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(bytes[static_cast<std::size_t>(i)], i * 16);
    }
    EXPECT_FALSE(engine.busy());
}

TEST_F(SimEngineTest, ReplyAnnouncedThroughTheEventLoopNeedsNoTick) {
    engine.begin();
    ASSERT_TRUE(engine.Enqueue(Command::GetStatus, 0, 0, QString()));
    engine.SendCurrent();
    QCoreApplication::processEvents();
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_FALSE(engine.busy());
}

}  // namespace
