// The transaction engine against a scripted port: retries, failures, streamed replies, port
// recovery, the mended buffer and value faults, and handlers that re-enter the engine.
#include <gtest/gtest.h>

#include "link/engine.h"
#include "link/protocol.h"
#include "scriptedport.h"

namespace {

QByteArray frameOf(Command command, std::uint8_t arg1 = 0, std::uint8_t arg2 = 0) {
    return Protocol::frameBytes(kCommandKind, code(command), arg1, arg2);
}

// The logger's answer to a frame: its kind and code echoed, then the two data values.
QByteArray echoOf(const QByteArray& frame, int r2 = 0, int r3 = 0) {
    const auto command = Protocol::decodeReply(Protocol::bytesOf(frame.chopped(1)));
    return replyFrame(command.r[0], command.r[1], r2, r3);
}

class EngineTest : public ::testing::Test {
  protected:
    ScriptedPort port;
    TimerTable timers;
    RecordingHost host{timers};
    Engine engine{port, timers, host};

    void start(std::initializer_list<Command> commands, const QString& keyword = QString()) {
        engine.begin();
        for (Command c : commands) {
            ASSERT_TRUE(engine.Enqueue(c, 0, 0, keyword));
        }
        engine.SendCurrent();
    }

    // Runs the poll until the procedure ends; a silent logger is pushed on by its timeout.
    void pump(int maxTicks = 10000) {
        for (int i = 0; i < maxTicks && engine.busy(); ++i) {
            const std::size_t sends = port.writes.size();
            engine.inputTick();
            if (engine.busy() && port.incoming.isEmpty() && port.writes.size() == sends &&
                !timers.isArmed(TimerId::InputTimer)) {
                return;
            }
            if (engine.busy() && port.incoming.isEmpty()) {
                engine.timeOutTick();
            }
        }
    }

    void expectIdle() {
        EXPECT_FALSE(engine.busy());
        for (TimerId id :
             {TimerId::InputTimer, TimerId::TimeOut, TimerId::MouseP, TimerId::DownloadTimer}) {
            EXPECT_FALSE(timers.isArmed(id));
            EXPECT_EQ(timers.interval(id), 0);
        }
        EXPECT_FALSE(host.busyPointer);
        EXPECT_FALSE(host.timerArmedAtEnd);
        EXPECT_EQ(engine.receiveFill(), 0);
        EXPECT_EQ(engine.refusalCount(), 0);
        EXPECT_EQ(engine.timeoutCount(), 0);
    }
};

// Answers every frame with the given values, after refusing the first `refusals` sends.
std::function<QByteArray(const QByteArray&)> refusingThenAnswering(int refusals,
                                                                   QByteArray answer) {
    auto sends = std::make_shared<int>(0);
    return [=](const QByteArray&) { return ++*sends <= refusals ? kRefusalFrame : answer; };
}

struct RefusalCase {
    int refusals;
    bool succeeds;
    std::size_t sends;
};

TEST_F(EngineTest, RefusalsAreResentTenTimesAndTheEleventhEndsTheProcedure) {
    const RefusalCase cases[] = {
        {0, true, 1}, {1, true, 2}, {10, true, 11}, {11, false, 11}, {40, false, 11}};
    for (const RefusalCase& c : cases) {
        SCOPED_TRACE(c.refusals);
        port.writes.clear();
        port.setOpen(true);
        host.failures.clear();
        port.responder = refusingThenAnswering(c.refusals, replyFrame(1, 30, 0x05, 0));
        int handled = 0;
        engine.setHandler(Command::GetStatus, [&](CommandEntry&, const Reply& reply) {
            ++handled;
            EXPECT_EQ(reply.r[2], 0x05);
            return ReplyAction::Advance;
        });
        start({Command::GetStatus});
        pump();
        EXPECT_EQ(port.writes.size(), c.sends);
        for (const QByteArray& frame : port.writes) {
            EXPECT_EQ(frame, frameOf(Command::GetStatus));
        }
        EXPECT_EQ(handled, c.succeeds ? 1 : 0);
        EXPECT_EQ(port.isOpen(), c.succeeds);
        if (c.succeeds) {
            EXPECT_TRUE(host.failures.empty());
        } else {
            ASSERT_EQ(host.failures.size(), 1u);
            EXPECT_EQ(host.failures[0],
                      std::make_pair(Msg::CommunicationFault, Msg::CommunicationEndsAfterFault));
        }
        expectIdle();
    }
}

TEST_F(EngineTest, AnsweredReplyResetsTheRefusalCounterForTheNextEntry) {
    auto sends = std::make_shared<int>(0);
    port.responder = [=](const QByteArray&) {
        // Ten refusals before each answer: 21 refusals in total, never eleven in a row.
        return (++*sends % 11) != 0 ? kRefusalFrame : replyFrame(1, 30, 0, 0);
    };
    start({Command::GetStatus, Command::GetStatus});
    pump();
    EXPECT_EQ(port.writes.size(), 22u);
    EXPECT_TRUE(host.failures.empty());
    EXPECT_EQ(host.ended, 1);
    expectIdle();
}

TEST_F(EngineTest, SilentLoggerGetsFourSendsThenTimeOut) {
    start({Command::GetStatus});
    ASSERT_EQ(port.writes.size(), 1u);
    EXPECT_EQ(timers.interval(TimerId::TimeOut), 500);
    EXPECT_EQ(timers.interval(TimerId::MouseP), 700);
    EXPECT_EQ(timers.interval(TimerId::InputTimer), 1);
    for (std::size_t tick = 1; tick <= 3; ++tick) {
        engine.inputTick();
        engine.timeOutTick();
        EXPECT_EQ(port.writes.size(), tick + 1);
        EXPECT_TRUE(host.failures.empty());
        EXPECT_TRUE(engine.busy());
    }
    engine.timeOutTick();
    EXPECT_EQ(port.writes.size(), 4u);
    ASSERT_EQ(host.failures.size(), 1u);
    EXPECT_EQ(host.failures[0], std::make_pair(Msg::TimeOut, Msg::CommunicationEndsAfterTimeOut));
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(host.ended, 1);
    expectIdle();
}

TEST_F(EngineTest, ReplyResetsTheTimeoutCounterSoEachEntryGetsFourSends) {
    auto sends = std::make_shared<int>(0);
    port.responder = [=](const QByteArray& frame) {
        return ++*sends % 4 == 0 ? echoOf(frame) : QByteArray();
    };
    start({Command::GetStatus, Command::GetInterval, Command::GetName12});
    pump();
    EXPECT_EQ(port.writes.size(), 12u);
    EXPECT_TRUE(host.failures.empty());
    EXPECT_TRUE(port.isOpen());
    expectIdle();
}

TEST_F(EngineTest, ClosedPortSendsNothingAndEndsWithTimeOut) {
    port.setOpen(false);
    start({Command::GetStatus});
    for (int tick = 0; tick < 4; ++tick) {
        engine.inputTick();
        engine.timeOutTick();
    }
    EXPECT_TRUE(port.writes.empty());
    EXPECT_EQ(port.openCalls, 0);
    ASSERT_EQ(host.failures.size(), 1u);
    EXPECT_EQ(host.failures[0], std::make_pair(Msg::TimeOut, Msg::CommunicationEndsAfterTimeOut));
    expectIdle();
}

enum class Ending { Success, Refusals, Timeout, ReopenFails, HandlerEnds, Fault };

class ProEndTest : public EngineTest, public ::testing::WithParamInterface<Ending> {};

TEST_P(ProEndTest, LeavesEveryProcedureTimerStopped) {
    const Ending ending = GetParam();
    timers.arm(TimerId::DownloadTimer, 100);
    host.busyPointer = true;
    switch (ending) {
        case Ending::Success:
            port.responder = refusingThenAnswering(0, replyFrame(1, 30, 0, 0));
            break;
        case Ending::Refusals:
            port.responder = refusingThenAnswering(100, QByteArray());
            break;
        case Ending::Timeout:
            break;
        case Ending::ReopenFails:
            port.reopenSucceeds = false;
            port.failBytesWaiting = 1;
            break;
        case Ending::HandlerEnds:
            port.responder = refusingThenAnswering(0, replyFrame(1, 30, 0, 0));
            engine.setHandler(Command::GetStatus, [&](CommandEntry&, const Reply&) {
                engine.Pro_End();
                return ReplyAction::Ended;
            });
            break;
        case Ending::Fault:
            port.responder = [](const QByteArray&) { return QByteArray("\x02\x99\xFF", 3); };
            break;
    }
    start({Command::GetStatus, Command::GetStatus}, Keyword::Download);
    pump();
    if (ending == Ending::Timeout) {
        for (int tick = 0; tick < 4; ++tick) {
            engine.timeOutTick();
        }
    }
    EXPECT_EQ(host.ended, 1);
    expectIdle();
}

INSTANTIATE_TEST_SUITE_P(Endings, ProEndTest,
                         ::testing::Values(Ending::Success, Ending::Refusals, Ending::Timeout,
                                           Ending::ReopenFails, Ending::HandlerEnds,
                                           Ending::Fault));

TEST_F(EngineTest, StreamedRepliesArrivingTogetherAreAllHandledInOneTick) {
    std::vector<std::array<std::uint8_t, 4>> records;
    bool pollingDuringDownload = true;
    engine.setHandler(Command::StreamRecords, [&](CommandEntry&, const Reply& reply) {
        records.push_back(reply.r);
        pollingDuringDownload = pollingDuringDownload && timers.isArmed(TimerId::InputTimer);
        return records.size() < 3 ? ReplyAction::Wait : ReplyAction::Advance;
    });
    start({Command::StreamRecords}, Keyword::Download);
    port.deliver(replyFrame(1, 2, 3, 4) + replyFrame(5, 6, 7, 8) + replyFrame(9, 10, 11, 255),
                 false);
    engine.inputTick();
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0], (std::array<std::uint8_t, 4>{1, 2, 3, 4}));
    EXPECT_EQ(records[1], (std::array<std::uint8_t, 4>{5, 6, 7, 8}));
    EXPECT_EQ(records[2], (std::array<std::uint8_t, 4>{9, 10, 11, 255}));
    EXPECT_TRUE(pollingDuringDownload);
    EXPECT_EQ(port.writes.size(), 1u);
    expectIdle();
}

TEST_F(EngineTest, OutsideADownloadPollingStopsAtEachTerminator) {
    bool polling = true;
    engine.setHandler(Command::GetStatus, [&](CommandEntry&, const Reply&) {
        polling = timers.isArmed(TimerId::InputTimer) || timers.isArmed(TimerId::TimeOut) ||
                  timers.isArmed(TimerId::MouseP);
        return ReplyAction::Advance;
    });
    port.responder = refusingThenAnswering(0, replyFrame(1, 30, 0, 0));
    start({Command::GetStatus});
    engine.inputTick();
    EXPECT_FALSE(polling);
    expectIdle();
}

TEST_F(EngineTest, WaitKeepsPollingWithoutSendingAndTheNextReplyGoesOn) {
    int replies = 0;
    engine.setHandler(Command::StreamRecords, [&](CommandEntry&, const Reply&) {
        return ++replies == 1 ? ReplyAction::Wait : ReplyAction::Advance;
    });
    start({Command::StreamRecords, Command::GetStatus});
    port.deliver(replyFrame(0, 0, 0, 1), false);
    engine.inputTick();
    EXPECT_EQ(port.writes.size(), 1u);
    EXPECT_TRUE(timers.isArmed(TimerId::InputTimer));
    EXPECT_TRUE(engine.busy());
    port.deliver(replyFrame(0, 0, 0, 2), false);
    engine.inputTick();
    ASSERT_EQ(port.writes.size(), 2u);
    EXPECT_EQ(port.writes[1], frameOf(Command::GetStatus));
    EXPECT_EQ(engine.queue().Head, 1);
}

TEST_F(EngineTest, RepeatSendsTheSameEntryWithItsUpdatedArguments) {
    engine.setHandler(Command::ReadMemory, [&](CommandEntry& entry, const Reply&) {
        entry.Value += 4;
        entry.Arg2 = static_cast<std::uint8_t>(entry.Value);
        return entry.Value < 12 ? ReplyAction::Repeat : ReplyAction::Advance;
    });
    port.responder = [](const QByteArray& frame) { return echoOf(frame, 3, 4); };
    engine.begin();
    ASSERT_TRUE(engine.Enqueue(Command::ReadMemory, 240, 0, Keyword::Kiroten, 0));
    ASSERT_TRUE(engine.Enqueue(Command::GetStatus, 0, 0, Keyword::Kiroten));
    engine.SendCurrent();
    pump();
    const std::vector<QByteArray> expected = {
        frameOf(Command::ReadMemory, 240, 0), frameOf(Command::ReadMemory, 240, 4),
        frameOf(Command::ReadMemory, 240, 8), frameOf(Command::GetStatus)};
    EXPECT_EQ(port.writes, expected);
    expectIdle();
}

TEST_F(EngineTest, UnregisteredCodesAdvanceInQueueOrder) {
    port.responder = [](const QByteArray& frame) { return echoOf(frame); };
    start({Command::SetName12, Command::SetName34, Command::GetName12});
    pump();
    const std::vector<QByteArray> expected = {
        frameOf(Command::SetName12), frameOf(Command::SetName34), frameOf(Command::GetName12)};
    EXPECT_EQ(port.writes, expected);
    EXPECT_EQ(host.ended, 1);
    expectIdle();
}

struct BufferCase {
    const char* name;
    QByteArray reply;
    bool fault;
};

TEST_F(EngineTest, OverlongShortAndBadValueRepliesAreCommunicationFaults) {
    const BufferCase cases[] = {
        {"100 bytes then terminator", QByteArray(92, '\x01') + replyFrame(1, 30, 0, 0), false},
        {"101 bytes without terminator", QByteArray(101, '\x01'), true},
        {"400 bytes without terminator", QByteArray(400, '\x01') + '\xFF', true},
        {"value 256", QByteArray("\x00\x01\x00\x30\x02\x56\x00\x00\xFF", 9), true},
        {"value 1665", QByteArray("\x00\x01\x00\x30\x00\x00\x0F\xFF\xFF", 9), true},
        {"three bytes", QByteArray("\x00\x01\xFF", 3), true},
        {"bare terminator", QByteArray("\xFF", 1), true},
    };
    for (const BufferCase& c : cases) {
        SCOPED_TRACE(c.name);
        port.setOpen(true);
        host.failures.clear();
        int handled = 0;
        engine.setHandler(Command::GetStatus, [&](CommandEntry&, const Reply&) {
            ++handled;
            return ReplyAction::Advance;
        });
        start({Command::GetStatus});
        port.deliver(c.reply, false);
        engine.inputTick();
        EXPECT_FALSE(engine.busy());
        EXPECT_EQ(handled, c.fault ? 0 : 1);
        EXPECT_EQ(port.isOpen(), !c.fault);
        EXPECT_EQ(host.failures.size(), c.fault ? 1u : 0u);
        if (c.fault) {
            EXPECT_EQ(host.failures[0],
                      std::make_pair(Msg::CommunicationFault, Msg::CommunicationEndsAfterFault));
        }
        expectIdle();
    }
}

TEST_F(EngineTest, IdentifyRepliesReachTheirHandlerUndecoded) {
    const QByteArray bodies[] = {QByteArray("QM320-HX\x01\x05", 10), QByteArray("\x09", 1),
                                 QByteArray("\x00\x01\x00\x30\x0F\x99\x00\x00", 8)};
    for (const QByteArray& body : bodies) {
        QByteArray raw;
        engine.setHandler(Command::Identify, [&](CommandEntry&, const Reply& reply) {
            raw = reply.raw;
            return ReplyAction::Advance;
        });
        start({Command::Identify});
        port.deliver(body + '\xFF', false);
        engine.inputTick();
        EXPECT_EQ(raw, body);
        EXPECT_TRUE(host.failures.empty());
        expectIdle();
    }
}

TEST_F(EngineTest, RecoversFromAPollErrorByReopeningWithTheLineSettings) {
    engine.setLineSettings(QStringLiteral("19200,n,8,1"), 3);
    int handled = 0;
    engine.setHandler(Command::GetStatus, [&](CommandEntry&, const Reply&) {
        ++handled;
        return ReplyAction::Advance;
    });
    start({Command::GetStatus});
    port.deliver(replyFrame(1, 30, 0, 0), false);
    port.failBytesWaiting = 1;
    engine.inputTick();
    EXPECT_EQ(port.closeCalls, 1);
    EXPECT_EQ(port.openCalls, 1);
    EXPECT_EQ(port.lastOpenedNumber, 3);
    EXPECT_EQ(port.lastSettings, QStringLiteral("19200,n,8,1"));
    EXPECT_TRUE(engine.busy());
    port.responder = refusingThenAnswering(0, replyFrame(1, 30, 0, 0));
    engine.timeOutTick();
    engine.inputTick();
    EXPECT_EQ(handled, 1);
    EXPECT_TRUE(host.failures.empty());
    expectIdle();
}

TEST_F(EngineTest, RecoversFromAWriteErrorAndSendsAgain) {
    port.failWrites = 1;
    port.responder = refusingThenAnswering(0, replyFrame(1, 30, 0, 0));
    start({Command::GetStatus});
    EXPECT_EQ(port.openCalls, 1);
    ASSERT_EQ(port.writes.size(), 1u);
    engine.inputTick();
    EXPECT_EQ(host.ended, 1);
    EXPECT_TRUE(host.failures.empty());
}

TEST_F(EngineTest, FailedReopenEndsTheProcedureSilently) {
    timers.arm(TimerId::Continuation, 1000);
    port.reopenSucceeds = false;
    port.failBytesWaiting = 1;
    start({Command::GetStatus, Command::GetStatus});
    engine.inputTick();
    EXPECT_EQ(host.portLostCalls, 1);
    EXPECT_TRUE(host.failures.empty());
    EXPECT_FALSE(timers.isArmed(TimerId::Continuation));
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(host.ended, 1);
    expectIdle();
}

TEST_F(EngineTest, ArrivedBytesAreHandledWithoutATick) {
    port.notifyAnswers = true;
    port.responder = refusingThenAnswering(3, replyFrame(1, 30, 0, 0));
    std::vector<Command> batch(19, Command::GetStatus);
    engine.begin();
    for (Command c : batch) {
        ASSERT_TRUE(engine.Enqueue(c, 0, 0, Keyword::PortOpen));
    }
    engine.SendCurrent();
    EXPECT_EQ(port.writes.size(), 22u);
    EXPECT_EQ(host.ended, 1);
    expectIdle();
}

TEST_F(EngineTest, ArrivedBytesAreLeftAloneWhileNoProcedureRuns) {
    int handled = 0;
    engine.setHandler(Command::GetStatus, [&](CommandEntry&, const Reply&) {
        ++handled;
        return ReplyAction::Advance;
    });
    port.deliver(QByteArray("QM320-HX\x01\x02\xFF", 11), true);
    EXPECT_EQ(port.incoming.size(), 11);
    EXPECT_EQ(handled, 0);
    EXPECT_EQ(host.ended, 0);
}

TEST_F(EngineTest, HandlerMayStartANewBatchFromInsideTheTick) {
    std::vector<int> order;
    engine.setHandler(Command::ReadMemory, [&](CommandEntry&, const Reply&) {
        order.push_back(code(Command::ReadMemory));
        engine.begin();
        EXPECT_TRUE(engine.Enqueue(Command::StreamRecords, 0, 4, Keyword::Download));
        EXPECT_TRUE(engine.Enqueue(Command::MarkDownloaded, 1, 1, Keyword::Download));
        engine.SendCurrent();
        return ReplyAction::Advance;
    });
    engine.setHandler(Command::StreamRecords, [&](CommandEntry&, const Reply&) {
        order.push_back(code(Command::StreamRecords));
        return ReplyAction::Advance;
    });
    port.responder = [](const QByteArray& frame) { return echoOf(frame, 3, 4); };
    start({Command::ReadMemory, Command::GetStatus}, Keyword::Kiroten);
    engine.inputTick();
    const std::vector<QByteArray> expected = {frameOf(Command::ReadMemory),
                                              frameOf(Command::StreamRecords, 0, 4),
                                              frameOf(Command::MarkDownloaded, 1, 1)};
    EXPECT_EQ(port.writes, expected);
    EXPECT_EQ(order, (std::vector<int>{8, 44}));
    EXPECT_EQ(host.ended, 1);
    expectIdle();
}

TEST_F(EngineTest, HandlerEndingTheProcedureStopsTheTickAndLaterBytes) {
    int handled = 0;
    engine.setHandler(Command::StreamRecords, [&](CommandEntry&, const Reply&) {
        ++handled;
        engine.Pro_End();
        return ReplyAction::Advance;
    });
    start({Command::StreamRecords, Command::GetStatus}, Keyword::Download);
    port.deliver(replyFrame(1, 2, 3, 4) + replyFrame(5, 6, 7, 8), false);
    engine.inputTick();
    EXPECT_EQ(handled, 1);
    EXPECT_EQ(port.writes.size(), 1u);
    EXPECT_TRUE(port.incoming.isEmpty());
    EXPECT_EQ(host.ended, 1);
    expectIdle();
}

TEST_F(EngineTest, NestedTicksFromAHandlerDoNothing) {
    int handled = 0;
    engine.setHandler(Command::StreamRecords, [&](CommandEntry&, const Reply&) {
        ++handled;
        // A modal box inside the handler would pump these.
        engine.inputTick();
        engine.timeOutTick();
        return handled < 2 ? ReplyAction::Wait : ReplyAction::Advance;
    });
    start({Command::StreamRecords}, Keyword::Download);
    port.deliver(replyFrame(1, 2, 3, 4) + replyFrame(5, 6, 7, 8), false);
    engine.inputTick();
    EXPECT_EQ(handled, 2);
    EXPECT_EQ(port.writes.size(), 1u);
    EXPECT_EQ(host.ended, 1);
}

TEST_F(EngineTest, InitialiseIsWrittenOnlyWhileIdleOnAnOpenPort) {
    start({Command::GetStatus});
    EXPECT_FALSE(engine.sendInitAll());
    port.deliver(replyFrame(1, 30, 0, 0), false);
    engine.inputTick();
    ASSERT_FALSE(engine.busy());
    EXPECT_TRUE(engine.sendInitAll());
    port.setOpen(false);
    EXPECT_FALSE(engine.sendInitAll());
    const std::vector<QByteArray> expected = {frameOf(Command::GetStatus),
                                              QByteArray("INITALL\xFF", 8)};
    EXPECT_EQ(port.writes, expected);
}

TEST_F(EngineTest, EnqueueRefusesTheHundredAndSecondEntry) {
    engine.begin();
    for (int i = 0; i < CommandQueue::kCapacity; ++i) {
        ASSERT_TRUE(engine.Enqueue(Command::ReadMemory, 0, static_cast<std::uint8_t>(i), {}, i));
    }
    EXPECT_FALSE(engine.Enqueue(Command::GetStatus, 0, 0, {}));
    EXPECT_EQ(engine.queue().Count, CommandQueue::kCapacity);
    EXPECT_EQ(engine.queue().Entries[100].Value, 100);
    EXPECT_EQ(engine.queue().Entries[100].Code, code(Command::ReadMemory));
}

TEST_F(EngineTest, BusyPointerAndProEndHooks) {
    int hookRunsBeforeRefresh = 0;
    engine.addProEndHook([&] { hookRunsBeforeRefresh += host.ended == 0 ? 1 : 0; });
    start({Command::GetStatus});
    engine.mousePTick();
    EXPECT_TRUE(host.busyPointer);
    port.deliver(replyFrame(1, 30, 0, 0), false);
    engine.inputTick();
    EXPECT_EQ(hookRunsBeforeRefresh, 1);
    expectIdle();
}

}  // namespace
