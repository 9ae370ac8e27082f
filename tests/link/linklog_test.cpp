// The link's log: a connect against logger-sim over a pseudo-terminal logs every frame that
// crossed the line when the category is on and nothing when it is off; a misbehaving logger's
// refusals, time-outs and resynchronisations are logged with the link's decision.
#include <gtest/gtest.h>

#include <QLoggingCategory>
#include <QTemporaryDir>
#include <algorithm>
#include <functional>
#include <memory>

#include "data/datasets.h"
#include "data/messagetable.h"
#include "link/cbusdevice.h"
#include "link/linklog.h"
#include "link/loggermodel.h"
#include "link/protocol.h"
#include "link/qtserialport.h"
#include "link/qttimerset.h"
#include "link/session.h"
#include "linkharness.h"
#include "scriptedport.h"
#include "simrig.h"

namespace {

// Collects the link's log lines while it lives; `enabled` sets the category's rule.
class LinkLogCapture {
  public:
    explicit LinkLogCapture(bool enabled) {
        QLoggingCategory::setFilterRules(enabled ? QLatin1String(kLinkLogRule)
                                                 : QLatin1String("veltrane.link.debug=false"));
        active_ = this;
        previous_ = qInstallMessageHandler(&LinkLogCapture::handle);
    }
    ~LinkLogCapture() {
        qInstallMessageHandler(previous_);
        active_ = nullptr;
        QLoggingCategory::setFilterRules(QString());
    }
    LinkLogCapture(const LinkLogCapture&) = delete;
    LinkLogCapture& operator=(const LinkLogCapture&) = delete;

    QStringList lines;

    // The index of the first line at or after `from` containing all of `parts`, else -1.
    int find(const QStringList& parts, int from = 0) const {
        for (int i = from; i < lines.size(); ++i) {
            if (std::all_of(parts.begin(), parts.end(),
                            [&](const QString& part) { return lines[i].contains(part); })) {
                return i;
            }
        }
        return -1;
    }

  private:
    static void handle(QtMsgType type, const QMessageLogContext& context, const QString& text) {
        if (active_ != nullptr &&
            QLatin1String(context.category) == QLatin1String("veltrane.link")) {
            active_->lines << text;
            return;
        }
        if (active_ != nullptr && active_->previous_ != nullptr) {
            active_->previous_(type, context, text);
        }
    }

    static inline LinkLogCapture* active_ = nullptr;
    QtMessageHandler previous_ = nullptr;
};

QString frameHex(Command command) {
    return linkLog::hex(Protocol::frameBytes(kCommandKind, code(command), 0, 0));
}

class LinkLogPtyTest : public ::testing::Test {
  protected:
    QTemporaryDir dataDir;
    PtySimRig simulator;

    void SetUp() override {
        if (PtySimRig::program().isEmpty()) {
            GTEST_SKIP() << "VELTRANE_SIM names no simulator program";
        }
        ASSERT_TRUE(dataDir.isValid());
        ASSERT_TRUE(simulator.start());
    }

    // What a connect does on the line: the reset pulse, the port opened, the battery check and
    // the status read; the entries it sent, in order.
    std::vector<CommandEntry> connect() {
        std::unique_ptr<CbusDevice> device = makeCbusDevice();
        EventLoopWaiter waiter;
        pulseReset(*device, waiter);
        QtSerialPortAdapter port;
        EXPECT_TRUE(port.open(1, QStringLiteral("57600,n,8,1")));
        QtTimerSet timers;
        RecordingPrompter prompter;
        MessageTable messages;
        messages.fillEnglish();
        DataSets dataSets;
        EXPECT_TRUE(dataSets.open(dataDir.path()));
        Session session(port, timers, prompter, messages, dataSets);
        Engine& engine = session.engine();
        engine.begin();
        EXPECT_TRUE(engine.Enqueue(Command::GetBatteryLow, 0, 0, ProcedureKind::PortOpen));
        EXPECT_TRUE(enqueueStatusRead(engine, ProcedureKind::PortOpen));
        const CommandQueue& queue = engine.queue();
        std::vector<CommandEntry> sent(queue.Entries.begin(), queue.Entries.begin() + queue.Count);
        engine.SendCurrent();
        EXPECT_TRUE(waitUntil([&] { return !engine.busy(); }, 20000));
        EXPECT_TRUE(prompter.messages.empty());
        EXPECT_EQ(session.state().VT_Name, QStringLiteral("LAB1"));
        port.close();
        return sent;
    }
};

TEST_F(LinkLogPtyTest, AConnectLogsEveryFrameInOrderWhenTurnedOn) {
    LinkLogCapture log(true);
    const std::vector<CommandEntry> sent = connect();
    ASSERT_EQ(sent.size(), 20u);

    int at = log.find({QStringLiteral("CBUS lines high")});
    EXPECT_GE(at, 0);
    at = log.find({QStringLiteral("CBUS lines low")}, at);
    EXPECT_GT(at, 0);
    at = log.find({QStringLiteral("port 1"), QStringLiteral("opened at 57600,n,8,1")}, at);
    ASSERT_GT(at, 0) << log.lines.join('\n').toStdString();
    // Each send with its procedure and frame bytes, then its reply; nothing in between.
    for (const CommandEntry& entry : sent) {
        const QString name = linkLog::commandName(entry.Code);
        const QString frame =
            linkLog::hex(Protocol::frameBytes(entry.Kind, entry.Code, entry.Arg1, entry.Arg2));
        ASSERT_LT(at + 2, log.lines.size()) << name.toStdString();
        EXPECT_TRUE(
            log.lines[at + 1].contains(QStringLiteral("send %1 [port open] %2").arg(name, frame)))
            << log.lines[at + 1].toStdString();
        EXPECT_TRUE(log.lines[at + 2].contains(QStringLiteral("reply %1 ").arg(name)))
            << log.lines[at + 2].toStdString();
        EXPECT_TRUE(log.lines[at + 2].endsWith(QStringLiteral(" ff")) ||
                    log.lines[at + 2].contains(QStringLiteral(" ff = r")))
            << log.lines[at + 2].toStdString();
        at += 2;
    }
    // A status reply as it was decoded: the echo and the two values.
    EXPECT_GE(log.find({QStringLiteral("reply GetStatus 00 01 00 30"), QStringLiteral("= r 1 30")}),
              0);
    EXPECT_GT(log.find({QStringLiteral("procedure ended")}, at), at);
    EXPECT_GT(log.find({QStringLiteral("port 1 closed")}, at), at);

    // Time stamps run forward from the port's opening.
    double previous = -1;
    for (int i = log.find({QStringLiteral("opened at")}); i < log.lines.size(); ++i) {
        bool ok = false;
        const double ms =
            log.lines[i].section(QStringLiteral(" ms "), 0, 0).trimmed().toDouble(&ok);
        ASSERT_TRUE(ok) << log.lines[i].toStdString();
        EXPECT_GE(ms, previous) << log.lines[i].toStdString();
        previous = ms;
    }
}

TEST_F(LinkLogPtyTest, AConnectLogsNothingWhenTurnedOff) {
    LinkLogCapture log(false);
    EXPECT_EQ(connect().size(), 20u);
    EXPECT_TRUE(log.lines.isEmpty()) << log.lines.join('\n').toStdString();
}

// A logger that misbehaves, on a scripted port with the timers fired by hand.
struct MisbehaviourCase {
    const char* name;
    std::function<QByteArray(const QByteArray&)> answer;  // for each frame written
    int timeOuts;                                         // TimeOut ticks fired after the send
    QStringList expected;                                 // lines in this order
};

class LinkLogMisbehaviour : public ::testing::TestWithParam<MisbehaviourCase> {};

TEST_P(LinkLogMisbehaviour, TheLinkLogsWhatItDid) {
    const MisbehaviourCase& c = GetParam();
    LinkLogCapture log(true);
    ScriptedPort port;
    port.responder = c.answer;
    TimerTable timers;
    RecordingHost host(timers);
    Engine engine(port, timers, host);
    engine.setHandler(Command::GetStatus,
                      [](CommandEntry&, const Reply&) { return ReplyAction::Advance; });
    engine.begin();
    ASSERT_TRUE(engine.Enqueue(Command::GetStatus, 0, 0, ProcedureKind::Download));
    engine.SendCurrent();
    engine.inputTick();
    for (int i = 0; i < c.timeOuts && engine.busy(); ++i) {
        engine.timeOutTick();
        engine.inputTick();
    }
    int at = 0;
    for (const QString& line : c.expected) {
        const int found = log.find(line.split(QLatin1Char('|')), at);
        ASSERT_GE(found, at) << line.toStdString() << "\n" << log.lines.join('\n').toStdString();
        at = found + 1;
    }
}

const QByteArray kStatusReply = replyFrame(1, 30, 0, 0);

INSTANTIATE_TEST_SUITE_P(
    Loggers, LinkLogMisbehaviour,
    ::testing::Values(
        MisbehaviourCase{
            "Refusing",
            [](const QByteArray&) { return kRefusalFrame; },
            0,
            {QStringLiteral("send GetStatus [download] ") + frameHex(Command::GetStatus),
             QStringLiteral("refused GetStatus ee ff|refusal 1 in a row"),
             QStringLiteral("resend GetStatus"), QStringLiteral("refusal 11|giving up"),
             QStringLiteral("procedure failed: messages 1042 1043"),
             QStringLiteral("procedure ended")}},
        MisbehaviourCase{
            "Silent",
            [](const QByteArray&) { return QByteArray(); },
            4,
            {QStringLiteral("send GetStatus"),
             QStringLiteral("time-out: no reply to GetStatus|time-out 1 in a row"),
             QStringLiteral("resend GetStatus"), QStringLiteral("time-out 4|giving up"),
             QStringLiteral("procedure failed: messages 1118 1119"),
             QStringLiteral("procedure ended")}},
        MisbehaviourCase{
            "AnsweringAnotherCommand",
            [](const QByteArray&) { return replyFrame(1, 37, 0, 0); },
            1,
            {QStringLiteral("reply GetStatus 00 01 00 37|= r 1 37 0 0"),
             QStringLiteral("echo names another command"),
             QStringLiteral("resynchronise:|before GetStatus"),
             QStringLiteral("line quiet for 1000 ms"), QStringLiteral("send GetStatus")}},
        MisbehaviourCase{
            "LateThenPrompt",
            [n = std::make_shared<int>(0)](const QByteArray&) {
                return ++*n == 1 ? QByteArray() : kStatusReply;
            },
            1,
            {QStringLiteral("time-out: no reply to GetStatus|time-out 1 in a row"),
             QStringLiteral("resend GetStatus"), QStringLiteral("reply GetStatus|= r 1 30 0 0"),
             QStringLiteral("procedure ended")}}),
    [](const ::testing::TestParamInfo<MisbehaviourCase>& info) {
        return std::string(info.param.name);
    });

}  // namespace
