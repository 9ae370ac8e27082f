// The transaction engine: one command in flight, its reply collected byte by byte up to the
// terminator, refusals and timeouts retried, decoded replies dispatched by command code, every
// reply counted against the send that owes it (see engine.h).
#include "link/engine.h"

#include <algorithm>
#include <span>

#include "link/linklog.h"
#include "link/protocol.h"
#include "link/wiretrace.h"

namespace {

const QString kDefaultLineSettings = QStringLiteral("57600,n,8,1");

QString procedureOf(const CommandEntry& entry) {
    const char* name = toString(entry.Keyword);
    return *name == '\0' ? QString() : QStringLiteral("[%1]").arg(QLatin1String(name));
}

// Marks a tick as running for the scope of the tick body.
class TickScope {
  public:
    explicit TickScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~TickScope() { flag_ = false; }
    TickScope(const TickScope&) = delete;
    TickScope& operator=(const TickScope&) = delete;

  private:
    bool& flag_;
};

}  // namespace

Engine::Engine(SerialPort& port, TimerControl& timers, EngineHost& host)
    : port_(port), timers_(timers), host_(host), settings_(kDefaultLineSettings) {
    port_.setBytesArrived([this] { onBytesArrived(); });
}

Engine::~Engine() {
    port_.setBytesArrived({});
}

void Engine::begin() {
    queue_.reset();
    ++generation_;
}

bool Engine::Enqueue(std::uint8_t kind, std::uint8_t code, std::uint8_t arg1, std::uint8_t arg2,
                     ProcedureKind keyword, std::int32_t value) {
    CommandEntry entry;
    entry.Kind = kind;
    entry.Code = code;
    entry.Arg1 = arg1;
    entry.Arg2 = arg2;
    entry.Keyword = keyword;
    entry.Value = value;
    if (!queue_.push(entry)) {
        return false;
    }
    timeoutCount_ = 0;
    refusalCount_ = 0;
    return true;
}

bool Engine::Enqueue(Command command, std::uint8_t arg1, std::uint8_t arg2, ProcedureKind keyword,
                     std::int32_t value) {
    return Enqueue(kCommandKind, code(command), arg1, arg2, keyword, value);
}

void Engine::SendCurrent() {
    if (queue_.Head == 0 && queue_.Count > 0) {
        wireTrace().procedureStarted(static_cast<std::uint8_t>(queue_.current().Keyword));
    }
    startExchange();
}

void Engine::startExchange() {
    if (queue_.Head < 0 || queue_.Head >= queue_.Count) {
        return;
    }
    if (!port_.isOpen()) {
        owed_.clear();
    }
    if (owed_.empty()) {
        sendFrame(true, true);
    } else {
        waitForLine(Line::Draining);
    }
}

void Engine::resend() {
    wireTrace().retry(queue_.current().Code);
    sendFrame(false, true);
}

bool Engine::sendFrame(bool fresh, bool mayRecover) {
    if (queue_.Head < 0 || queue_.Head >= queue_.Count) {
        return false;
    }
    line_ = Line::Exchange;
    strayReplies_ = 0;
    if (fresh) {
        // Nothing is owed: whatever is in the input belongs to no command.
        fill_ = 0;
        if (port_.isOpen()) {
            port_.clearInput();
        }
    }
    const CommandEntry& entry = queue_.current();
    const QByteArray frame = Protocol::frameBytes(entry.Kind, entry.Code, entry.Arg1, entry.Arg2);
    timers_.arm(TimerId::MouseP, kMousePIntervalMs);
    timers_.arm(TimerId::TimeOut, kTimeOutIntervalMs);
    timers_.arm(TimerId::InputTimer, kFallbackPollMs);
    // A closed port sends nothing; the timeout path then ends the procedure.
    if (!port_.isOpen()) {
        LINK_LOG << "port closed:" << linkLog::commandName(entry.Code) << "not sent";
        owed_.clear();
        return true;
    }
    LINK_LOG << (fresh ? "send" : "resend") << linkLog::commandName(entry.Code)
             << procedureOf(entry) << linkLog::hex(frame);
    // Counted before writing: the reply may be handled from inside the write.
    owed_.push_back(repliesOf(entry));
    if (port_.write(frame)) {
        return true;
    }
    LINK_LOG << "write failed:" << linkLog::commandName(entry.Code);
    owed_.pop_back();
    if (mayRecover && RecoverPort()) {
        return sendFrame(fresh, false);
    }
    return false;
}

void Engine::waitForLine(Line line) {
    LINK_LOG << (line == Line::Draining ? "drain:" : "resynchronise:") << repliesOwed()
             << "replies owed; waiting for a quiet line before"
             << linkLog::commandName(queue_.current().Code);
    line_ = line;
    strayReplies_ = 0;
    timers_.arm(TimerId::MouseP, kMousePIntervalMs);
    timers_.arm(TimerId::TimeOut, kQuietMs);
    timers_.arm(TimerId::InputTimer, kFallbackPollMs);
}

int Engine::repliesOwed() const {
    int owed = 0;
    for (const int replies : owed_) {
        owed += replies;
    }
    return owed;
}

bool Engine::carriesEcho(std::uint8_t commandCode) {
    return commandCode != code(Command::ReadMemory) &&
           commandCode != code(Command::StreamRecords) && commandCode != code(Command::Identify);
}

int Engine::repliesOf(const CommandEntry& entry) {
    if (entry.Code != code(Command::StreamRecords)) {
        return 1;
    }
    // One record per four bytes from address 0 up to the end address, and at least one.
    const int end = entry.Arg1 * 256 + entry.Arg2;
    return std::max(1, (end + kRecordBytes - 1) / kRecordBytes);
}

void Engine::settleOwed(bool refusal) {
    if (owed_.empty()) {
        return;
    }
    if (refusal || --owed_.front() <= 0) {
        owed_.pop_front();
    }
}

bool Engine::sendInitAll() {
    if (busy() || !port_.isOpen()) {
        return false;
    }
    const QByteArray command = Protocol::initAllCommand();
    LINK_LOG << "send initialise" << linkLog::hex(command);
    return port_.write(command);
}

void Engine::inputTick() {
    if (inTick_ || !busy()) {
        return;
    }
    TickScope scope(inTick_);
    bool recovered = false;
    while (busy()) {
        const int waiting = port_.bytesWaiting();
        std::uint8_t byte = 0;
        if (waiting == 0) {
            return;
        }
        if (waiting < 0 || !port_.readByte(byte)) {
            LINK_LOG << "port error while reading";
            // One reopen per tick; the poll then starts over on the reopened port.
            if (!recovered && RecoverPort()) {
                recovered = true;
                continue;
            }
            return;
        }
        if (line_ != Line::Exchange) {
            // The line is not quiet yet: the quiet time starts again.
            timers_.arm(TimerId::TimeOut, kQuietMs);
        }
        buffer_[static_cast<std::size_t>(fill_)] = byte;
        if (byte == kTerminator) {
            if (line_ != Line::Exchange) {
                discardReply();
                continue;
            }
            timers_.stop(TimerId::MouseP);
            timers_.stop(TimerId::TimeOut);
            if (queue_.current().Keyword != ProcedureKind::Download) {
                timers_.stop(TimerId::InputTimer);
            }
            handleReply();
            continue;
        }
        ++fill_;
        if (fill_ >= static_cast<int>(buffer_.size())) {
            LINK_LOG << "no terminator within" << buffer_.size() << "bytes";
            fail(Msg::CommunicationFault, Msg::CommunicationEndsAfterFault);
            return;
        }
    }
}

void Engine::discardReply() {
    const std::span<const std::uint8_t> body(buffer_.data(), static_cast<std::size_t>(fill_));
    LINK_LOG << "discard" << receivedHex()
             << (owed_.empty() ? "(owed by no send)" : "(owed by an earlier send)");
    fill_ = 0;
    if (owed_.empty()) {
        // Nobody owes it: line noise, or a reply the count lost. Only quiet ends the wait.
        if (++strayReplies_ > kMaxStrayReplies) {
            LINK_LOG << "more than" << kMaxStrayReplies << "stray replies";
            fail(Msg::CommunicationFault, Msg::CommunicationEndsAfterFault);
        }
        return;
    }
    settleOwed(Protocol::isRefusal(body));
    // Drained by count; a resynchronisation trusts no count and waits for quiet.
    if (line_ == Line::Draining && owed_.empty()) {
        sendFrame(true, true);
    }
}

void Engine::handleReply() {
    const std::span<const std::uint8_t> body(buffer_.data(), static_cast<std::size_t>(fill_));
    const bool refusal = Protocol::isRefusal(body);
    settleOwed(refusal);
    const CommandEntry& entry = queue_.current();
    if (refusal) {
        LINK_LOG << "refused" << linkLog::commandName(entry.Code) << receivedHex() << "(refusal"
                 << refusalCount_ + 1
                 << (refusalCount_ < kMaxRefusals ? "in a row)" : "in a row, giving up)");
        wireTrace().refusal(entry.Code, refusalCount_ + 1);
        fill_ = 0;
        timeoutCount_ = 0;
        ++refusalCount_;
        if (refusalCount_ <= kMaxRefusals) {
            resend();
        } else {
            fail(Msg::CommunicationFault, Msg::CommunicationEndsAfterFault);
        }
        return;
    }
    refusalCount_ = 0;
    Reply reply;
    reply.raw =
        QByteArray(reinterpret_cast<const char*>(body.data()), static_cast<qsizetype>(body.size()));
    if (isCurrentIdentify()) {
        LINK_LOG << "reply" << linkLog::commandName(entry.Code) << receivedHex();
    } else {
        const Protocol::DecodedReply decoded = Protocol::decodeReply(body);
        if (decoded.status != Protocol::ReplyStatus::Ok) {
            LINK_LOG << "undecodable reply to" << linkLog::commandName(entry.Code) << receivedHex();
            fail(Msg::CommunicationFault, Msg::CommunicationEndsAfterFault);
            return;
        }
        reply.r = decoded.r;
        LINK_LOG << "reply" << linkLog::commandName(entry.Code) << receivedHex() << "= r"
                 << int{reply.r[0]} << int{reply.r[1]} << int{reply.r[2]} << int{reply.r[3]};
        if (carriesEcho(entry.Code) && (reply.r[0] != entry.Kind || reply.r[1] != entry.Code)) {
            // The answer to some other command: the count of owed replies is off.
            LINK_LOG << "echo names another command";
            fill_ = 0;
            waitForLine(Line::Resyncing);
            return;
        }
    }
    fill_ = 0;
    timeoutCount_ = 0;
    dispatch(reply);
}

QString Engine::receivedHex() const {
    return linkLog::hex(std::span<const std::uint8_t>(buffer_.data(), fill_ + 1U));
}

bool Engine::isCurrentIdentify() const {
    return queue_.Entries[static_cast<std::size_t>(queue_.Head)].Code == code(Command::Identify);
}

void Engine::dispatch(const Reply& reply) {
    const std::uint32_t generation = generation_;
    CommandEntry& entry = queue_.current();
    ReplyAction action = ReplyAction::Advance;
    // A copy, so a handler that replaces its own registration keeps running intact.
    const ReplyHandler handler = handlers_[entry.Code];
    if (handler) {
        action = handler(entry, reply);
    }
    if (generation != generation_ || !busy()) {
        return;
    }
    switch (action) {
        case ReplyAction::Advance:
            advance();
            break;
        case ReplyAction::Repeat:
            // The same entry with new arguments is a new command: earlier sends are drained.
            startExchange();
            break;
        case ReplyAction::Wait:
            if (!timers_.isArmed(TimerId::InputTimer)) {
                timers_.arm(TimerId::InputTimer, kFallbackPollMs);
            }
            break;
        case ReplyAction::Ended:
            Pro_End();
            break;
    }
}

void Engine::advance() {
    ++queue_.Head;
    if (queue_.Head < queue_.Count) {
        startExchange();
    } else {
        Pro_End();
    }
}

void Engine::fail(Msg firstMessage, Msg secondMessage) {
    LINK_LOG << "procedure failed: messages" << msgIndex(firstMessage) << msgIndex(secondMessage)
             << "shown, port closed";
    wireTrace().failed(msgIndex(firstMessage), msgIndex(secondMessage));
    stopExchangeTimers();
    host_.showFailure(firstMessage, secondMessage);
    if (port_.isOpen()) {
        port_.close();
    }
    owed_.clear();
    Pro_End();
}

void Engine::stopExchangeTimers() {
    timers_.stop(TimerId::MouseP);
    timers_.stop(TimerId::InputTimer);
    timers_.stop(TimerId::TimeOut);
}

void Engine::timeOutTick() {
    if (inTick_ || !busy()) {
        return;
    }
    TickScope scope(inTick_);
    if (line_ != Line::Exchange) {
        lineQuiet();
        return;
    }
    const std::uint8_t current = queue_.current().Code;
    LINK_LOG << "time-out: no reply to" << linkLog::commandName(current) << "(time-out"
             << timeoutCount_ + 1
             << (timeoutCount_ < kMaxResends ? "in a row)" : "in a row, giving up)");
    wireTrace().timeOut(current, timeoutCount_ + 1);
    if (timeoutCount_ >= kMaxResends) {
        fail(Msg::TimeOut, Msg::CommunicationEndsAfterTimeOut);
        return;
    }
    ++timeoutCount_;
    // A stream sent again would restart on top of a late first one: it is only waited for.
    if (current != code(Command::StreamRecords)) {
        resend();
    }
}

void Engine::lineQuiet() {
    LINK_LOG << "line quiet for" << kQuietMs << "ms;" << repliesOwed()
             << "owed replies no longer expected";
    // Whatever was still owed is not coming any more.
    owed_.clear();
    if (line_ == Line::Draining) {
        sendFrame(true, true);
        return;
    }
    if (timeoutCount_ >= kMaxResends) {
        fail(Msg::CommunicationFault, Msg::CommunicationEndsAfterFault);
        return;
    }
    ++timeoutCount_;
    sendFrame(true, true);
}

void Engine::mousePTick() {
    host_.setBusyPointer(true);
}

void Engine::onBytesArrived() {
    // The armed poll means replies are expected; bytes that come at any other time are
    // cleared before the next command.
    if (timers_.isArmed(TimerId::InputTimer)) {
        inputTick();
    }
}

void Engine::Pro_End() {
    LINK_LOG << "procedure ended";
    host_.setBusyPointer(false);
    queue_.reset();
    line_ = Line::Exchange;
    // Replies still owed stay counted: the next procedure drains them before its first send.
    if (!port_.isOpen()) {
        owed_.clear();
    }
    ++generation_;
    timers_.stop(TimerId::DownloadTimer);
    stopExchangeTimers();
    fill_ = 0;
    if (port_.isOpen()) {
        port_.clearInput();
    }
    timeoutCount_ = 0;
    refusalCount_ = 0;
    for (std::size_t i = 0; i < proEndHooks_.size(); ++i) {
        proEndHooks_[i]();
    }
    wireTrace().procedureEnded();
    host_.procedureEnded();
}

bool Engine::RecoverPort() {
    if (!port_.isOpen()) {
        return false;
    }
    const int number = portNumber_ > 0 ? portNumber_ : port_.portNumber();
    LINK_LOG << "recover: reopening port" << number;
    port_.close();
    // A reopened port holds nothing of what the logger owed.
    owed_.clear();
    if (port_.open(number, settings_)) {
        LINK_LOG << "recover: port" << number << "reopened";
        wireTrace().recovered(number, true);
        return true;
    }
    LINK_LOG << "recover: port" << number << "lost";
    wireTrace().recovered(number, false);
    host_.portLost();
    timers_.stop(TimerId::MouseP);
    timers_.stop(TimerId::Continuation);
    timers_.stop(TimerId::InputTimer);
    timers_.stop(TimerId::TimeOut);
    timers_.stop(TimerId::DownloadTimer);
    Pro_End();
    return false;
}

void Engine::setLineSettings(const QString& settings, int portNumber) {
    settings_ = settings;
    portNumber_ = portNumber;
}

void Engine::setHandler(Command command, ReplyHandler handler) {
    handlers_[code(command)] = std::move(handler);
}

void Engine::addProEndHook(std::function<void()> hook) {
    proEndHooks_.push_back(std::move(hook));
}
