// Replies that come after the engine has sent again, against a scripted port where every
// timeout and every arriving byte is placed by hand: a reply owed to an earlier send is never
// taken for a later command's, whatever the kind of command.
#include <gtest/gtest.h>

#include "link/engine.h"
#include "link/protocol.h"
#include "scriptedport.h"

namespace {

QByteArray frameOf(Command command, std::uint8_t arg1 = 0, std::uint8_t arg2 = 0) {
    return Protocol::frameBytes(kCommandKind, code(command), arg1, arg2);
}

class LateReplyTest : public ::testing::Test {
  protected:
    ScriptedPort port;
    TimerTable timers;
    RecordingHost host{timers};
    Engine engine{port, timers, host};
    // Every reply a handler was given, with the code of the entry it was given for.
    std::vector<std::pair<int, QByteArray>> handled;

    void SetUp() override {
        for (int c = 0; c < 256; ++c) {
            engine.setHandler(static_cast<Command>(c), [this](CommandEntry& e, const Reply& r) {
                handled.emplace_back(e.Code, r.raw);
                return ReplyAction::Advance;
            });
        }
    }

    void start(std::initializer_list<std::pair<Command, std::uint8_t>> commands) {
        engine.begin();
        for (const auto& [command, arg] : commands) {
            ASSERT_TRUE(engine.Enqueue(command, arg, 0, QString()));
        }
        engine.SendCurrent();
    }

    void arrive(const QByteArray& bytes) {
        port.deliver(bytes, false);
        engine.inputTick();
    }
};

struct KindCase {
    const char* name;
    Command command;
    std::uint8_t arg;
    QByteArray reply;  // what the logger answers to each send of the command
};

// Identify answers raw bytes, memory reads four data bytes without an echo, every other
// command its kind and code followed by two data values.
const KindCase kKinds[] = {
    {"status", Command::GetStatus, 0, replyFrame(1, 30, 0x05, 0)},
    {"clock read", Command::GetClockMonthYear, 0, replyFrame(1, 4, 3, 26)},
    {"setting", Command::ReadSetting, 20, replyFrame(1, 23, 0x26, 0x03)},
    {"memory read", Command::ReadMemory, 240, replyFrame(0x26, 0x03, 0x14, 0x09)},
    {"identify", Command::Identify, 0, QByteArray("QM320-HX\x01\x05\xFF", 11)},
    {"set command", Command::SetName12, 'L', replyFrame(1, 40, 0, 0)},
};

const QByteArray kIntervalReply = replyFrame(1, 37, 131, 10);

TEST_F(LateReplyTest, LateFirstReplyIsTakenOnceAndTheResendsReplyIsDrained) {
    for (const KindCase& c : kKinds) {
        SCOPED_TRACE(c.name);
        handled.clear();
        port.writes.clear();
        start({{c.command, c.arg}, {Command::GetInterval, 0}});
        engine.timeOutTick();
        ASSERT_EQ(port.writes.size(), 2u);
        // The first send's reply, late: taken, but the resend still owes one.
        arrive(c.reply);
        EXPECT_EQ(port.writes.size(), 2u);
        EXPECT_EQ(engine.repliesOwed(), 1);
        // The resend's reply is thrown away; only then is the next command sent.
        arrive(c.reply);
        ASSERT_EQ(port.writes.size(), 3u);
        EXPECT_EQ(port.writes[2], frameOf(Command::GetInterval));
        arrive(kIntervalReply);
        const std::vector<std::pair<int, QByteArray>> expected = {
            {code(c.command), c.reply.chopped(1)},
            {code(Command::GetInterval), kIntervalReply.chopped(1)}};
        EXPECT_EQ(handled, expected);
        EXPECT_FALSE(engine.busy());
        EXPECT_TRUE(host.failures.empty());
    }
}

TEST_F(LateReplyTest, ReplyThatNeverComesIsForgottenAfterTheLineWasQuiet) {
    start({{Command::GetStatus, 0}, {Command::GetInterval, 0}});
    engine.timeOutTick();
    arrive(replyFrame(1, 30, 0x05, 0));
    EXPECT_EQ(port.writes.size(), 2u);
    EXPECT_TRUE(engine.waitingForLine());
    EXPECT_EQ(timers.interval(TimerId::TimeOut), Engine::kQuietMs);
    EXPECT_TRUE(timers.isArmed(TimerId::InputTimer));
    engine.timeOutTick();
    ASSERT_EQ(port.writes.size(), 3u);
    EXPECT_EQ(timers.interval(TimerId::TimeOut), Engine::kTimeOutIntervalMs);
    arrive(kIntervalReply);
    EXPECT_EQ(handled.size(), 2u);
    EXPECT_FALSE(engine.busy());
    EXPECT_TRUE(host.failures.empty());
}

TEST_F(LateReplyTest, ReplyLaterThanTheQuietTimeIsRefusedByItsEchoAndTheCommandSentAgain) {
    start({{Command::GetStatus, 0}, {Command::GetInterval, 0}});
    engine.timeOutTick();
    arrive(replyFrame(1, 30, 0x05, 0));
    engine.timeOutTick();
    ASSERT_EQ(port.writes.size(), 3u);
    // The resend's reply to GetStatus, later than anything still expected.
    arrive(replyFrame(1, 30, 0x05, 0));
    EXPECT_EQ(handled.size(), 1u);
    EXPECT_TRUE(engine.waitingForLine());
    EXPECT_EQ(port.writes.size(), 3u);
    engine.timeOutTick();
    ASSERT_EQ(port.writes.size(), 4u);
    EXPECT_EQ(port.writes[3], frameOf(Command::GetInterval));
    arrive(kIntervalReply);
    ASSERT_EQ(handled.size(), 2u);
    EXPECT_EQ(handled[1].second, kIntervalReply.chopped(1));
    EXPECT_TRUE(host.failures.empty());
}

TEST_F(LateReplyTest, LoggerAnsweringWithAWrongEchoEndsAsACommunicationFault) {
    port.responder = [](const QByteArray&) { return replyFrame(1, 37, 0, 0); };
    start({{Command::GetStatus, 0}});
    for (int tick = 0; tick < 10 && engine.busy(); ++tick) {
        engine.inputTick();
        engine.timeOutTick();
    }
    EXPECT_TRUE(handled.empty());
    EXPECT_EQ(port.writes.size(), 4u);
    ASSERT_EQ(host.failures.size(), 1u);
    EXPECT_EQ(host.failures[0],
              std::make_pair(Msg::CommunicationFault, Msg::CommunicationEndsAfterFault));
    EXPECT_FALSE(engine.busy());
}

TEST_F(LateReplyTest, LateReadIsNeverTakenForTheNextAddress) {
    std::vector<std::pair<int, std::array<std::uint8_t, 4>>> reads;
    engine.setHandler(Command::ReadMemory, [&](CommandEntry& entry, const Reply& reply) {
        reads.emplace_back(entry.Value, reply.r);
        entry.Value += 4;
        entry.Arg2 = static_cast<std::uint8_t>(entry.Value);
        return entry.Value < 12 ? ReplyAction::Repeat : ReplyAction::Advance;
    });
    auto memory = [](const QByteArray& frame) {
        const int address = Protocol::decodeReply(Protocol::bytesOf(frame.chopped(1))).r[3];
        return replyFrame(address, address + 1, address + 2, address + 3);
    };
    engine.begin();
    ASSERT_TRUE(engine.Enqueue(Command::ReadMemory, 0, 0, Keyword::Download, 0));
    engine.SendCurrent();
    engine.timeOutTick();
    engine.timeOutTick();
    ASSERT_EQ(port.writes.size(), 3u);
    // Three replies for address 0, the first late: address 4 is read only after all three.
    arrive(memory(port.writes[0]));
    arrive(memory(port.writes[1]));
    EXPECT_EQ(port.writes.size(), 3u);
    arrive(memory(port.writes[2]));
    ASSERT_EQ(port.writes.size(), 4u);
    EXPECT_EQ(port.writes[3], frameOf(Command::ReadMemory, 0, 4));
    port.responder = memory;
    arrive(memory(port.writes[3]));
    const std::vector<std::pair<int, std::array<std::uint8_t, 4>>> expected = {
        {0, {0, 1, 2, 3}}, {4, {4, 5, 6, 7}}, {8, {8, 9, 10, 11}}};
    EXPECT_EQ(reads, expected);
    EXPECT_FALSE(engine.busy());
}

TEST_F(LateReplyTest, LateStreamIsWaitedForNotStartedAgain) {
    std::vector<std::array<std::uint8_t, 4>> records;
    engine.setHandler(Command::StreamRecords, [&](CommandEntry&, const Reply& reply) {
        records.push_back(reply.r);
        return records.size() < 3 ? ReplyAction::Wait : ReplyAction::Advance;
    });
    engine.begin();
    ASSERT_TRUE(engine.Enqueue(Command::StreamRecords, 0, 12, Keyword::Download));
    ASSERT_TRUE(engine.Enqueue(Command::MarkDownloaded, 1, 1, QString()));
    engine.SendCurrent();
    EXPECT_EQ(engine.repliesOwed(), 3);
    engine.timeOutTick();
    engine.timeOutTick();
    EXPECT_EQ(port.writes.size(), 1u);
    arrive(replyFrame(0, 0, 0, 1) + replyFrame(0, 0, 0, 2) + replyFrame(0, 0, 0, 3));
    ASSERT_EQ(port.writes.size(), 2u);
    EXPECT_EQ(port.writes[1], frameOf(Command::MarkDownloaded, 1, 1));
    const std::vector<std::array<std::uint8_t, 4>> expected = {
        {0, 0, 0, 1}, {0, 0, 0, 2}, {0, 0, 0, 3}};
    EXPECT_EQ(records, expected);
    arrive(replyFrame(1, 56, 0, 0));
    ASSERT_FALSE(engine.busy());
    // The wait is bounded all the same: a stream that never starts ends as a time-out.
    records.clear();
    engine.begin();
    ASSERT_TRUE(engine.Enqueue(Command::StreamRecords, 0, 12, Keyword::Download));
    engine.SendCurrent();
    for (int tick = 0; tick < 4; ++tick) {
        engine.timeOutTick();
    }
    EXPECT_FALSE(engine.busy());
    EXPECT_EQ(host.failures.back(),
              std::make_pair(Msg::TimeOut, Msg::CommunicationEndsAfterTimeOut));
}

TEST_F(LateReplyTest, RefusedStreamIsSentAgainAndItsRecordsCountedOnce) {
    std::vector<std::array<std::uint8_t, 4>> records;
    engine.setHandler(Command::StreamRecords, [&](CommandEntry&, const Reply& reply) {
        records.push_back(reply.r);
        return records.size() < 2 ? ReplyAction::Wait : ReplyAction::Advance;
    });
    engine.begin();
    ASSERT_TRUE(engine.Enqueue(Command::StreamRecords, 0, 8, Keyword::Download));
    ASSERT_TRUE(engine.Enqueue(Command::GetStatus, 0, 0, QString()));
    engine.SendCurrent();
    arrive(kRefusalFrame);
    ASSERT_EQ(port.writes.size(), 2u);
    EXPECT_EQ(engine.repliesOwed(), 2);
    arrive(replyFrame(0, 0, 0, 1) + replyFrame(0, 0, 0, 2));
    EXPECT_EQ(records.size(), 2u);
    ASSERT_EQ(port.writes.size(), 3u);
    EXPECT_EQ(port.writes[2], frameOf(Command::GetStatus));
}

TEST_F(LateReplyTest, RepliesOwedAtTheEndOfAProcedureAreDrainedBeforeTheNext) {
    start({{Command::GetStatus, 0}});
    engine.timeOutTick();
    arrive(replyFrame(1, 30, 0x05, 0));
    ASSERT_FALSE(engine.busy());
    EXPECT_EQ(engine.repliesOwed(), 1);
    start({{Command::GetStatus, 0}});
    EXPECT_EQ(port.writes.size(), 2u);
    // The old procedure's reply, carrying a status that is no longer true.
    arrive(replyFrame(1, 30, 0x01, 0));
    ASSERT_EQ(port.writes.size(), 3u);
    arrive(replyFrame(1, 30, 0x00, 0));
    ASSERT_EQ(handled.size(), 2u);
    EXPECT_EQ(handled[1].second, replyFrame(1, 30, 0x00, 0).chopped(1));
}

}  // namespace
