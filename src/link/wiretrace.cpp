// The wire trace's ring and its JSON-lines writer.
#include "link/wiretrace.h"

#include <charconv>
#include <iterator>

#include "link/commandqueue.h"
#include "link/commands.h"
#include "link/tracelines.h"

namespace {

// A line is appended in place, numbers and hex written straight into the one buffer, with no
// temporary strings: a download's trace is tens of thousands of lines.
constexpr char kHex[] = "0123456789abcdef";

void appendKey(QByteArray& out, const char* key) {
    out += ",\"";
    out += key;
    out += "\":";
}

void appendString(QByteArray& out, const char* key, QByteArrayView text) {
    appendKey(out, key);
    out += '"';
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            out += "\\u00";
            out += kHex[byte >> 4];
            out += kHex[byte & 0xf];
        } else {
            out += c;
        }
    }
    out += '"';
}

void appendHex(QByteArray& out, const char* key, QByteArrayView bytes) {
    appendKey(out, key);
    out += '"';
    const qsizetype start = out.size();
    out.resize(start + 2 * bytes.size());
    char* to = out.data() + start;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        *to++ = kHex[byte >> 4];
        *to++ = kHex[byte & 0xf];
    }
    out += '"';
}

void appendDecimal(QByteArray& out, qint64 value) {
    char digits[24];
    const auto end = std::to_chars(std::begin(digits), std::end(digits), value).ptr;
    out.append(digits, end - digits);
}

void appendNumber(QByteArray& out, const char* key, qint64 value) {
    appendKey(out, key);
    appendDecimal(out, value);
}

void appendBool(QByteArray& out, const char* key, bool value) {
    appendKey(out, key);
    out += value ? "true" : "false";
}

void appendCommand(QByteArray& out, int command) {
    const char* name = command >= 0 ? commandNameOf(static_cast<std::uint8_t>(command)) : nullptr;
    if (name != nullptr) {
        appendString(out, "cmd", QByteArrayView(name));
    } else if (command >= 0) {
        char digits[8];
        const auto end = std::to_chars(std::begin(digits), std::end(digits), command).ptr;
        appendString(out, "cmd", QByteArrayView(digits, end - digits));
    }
}

const char* eventName(WireTrace::Event event) {
    switch (event) {
        case WireTrace::Event::Open:
            return "open";
        case WireTrace::Event::Close:
            return "close";
        case WireTrace::Event::Tx:
            return "tx";
        case WireTrace::Event::Rx:
            return "rx";
        case WireTrace::Event::Cbus:
            return "cbus";
        case WireTrace::Event::Usb:
            return "usb";
        case WireTrace::Event::ProcStart:
            return "proc_start";
        case WireTrace::Event::ProcEnd:
            return "proc_end";
        case WireTrace::Event::Refusal:
            return "refusal";
        case WireTrace::Event::TimeOut:
            return "timeout";
        case WireTrace::Event::Retry:
            return "retry";
        case WireTrace::Event::Fail:
            return "fail";
        case WireTrace::Event::Recover:
            return "recover";
        case WireTrace::Event::Watchdog:
            return "watchdog";
    }
    return "";
}

}  // namespace

WireTrace::WireTrace(std::size_t capacity) : capacity_(capacity > 0 ? capacity : 1) {
    clock_.start();
    writer_.setMaxThreadCount(1);
}

WireTrace::~WireTrace() {
    stopWriting();
}

void WireTrace::add(Event event, std::uint8_t code, std::int32_t a, std::int32_t b,
                    QByteArray bytes) {
    Record record{clock_.nsecsElapsed() / 1000, event, code, a, b, std::move(bytes)};
    if (ring_.size() < capacity_) {
        if (ring_.capacity() == 0) {
            ring_.reserve(capacity_);
        }
        ring_.push_back(std::move(record));
    } else {
        ring_[next_] = std::move(record);
        next_ = (next_ + 1) % capacity_;
        ++dropped_;
    }
    if (writing_) {
        ++unwritten_;
        // Written before the ring could overwrite what the file has not had.
        if (unwritten_ >= capacity_ / 2) {
            flush();
        }
    }
}

const WireTrace::Record& WireTrace::at(std::size_t oldestFirst) const {
    return ring_[(next_ + oldestFirst) % ring_.size()];
}

void WireTrace::portOpened(int port, const QString& settings, bool ok) {
    add(Event::Open, 0, port, ok ? 1 : 0, settings.toUtf8());
}

void WireTrace::portClosed(int port) {
    add(Event::Close, 0, port, 0, {});
    flush();
}

void WireTrace::written(const QByteArray& bytes) {
    add(Event::Tx, 0, 0, 0, bytes);
}

void WireTrace::arrived(QByteArray bytes) {
    add(Event::Rx, 0, 0, 0, std::move(bytes));
}

void WireTrace::cbusPulse(std::uint8_t level, int status) {
    add(Event::Cbus, 0, level, status, {});
}

void WireTrace::usbStatus(int status) {
    if (status != lastUsbStatus_) {
        lastUsbStatus_ = status;
        add(Event::Usb, 0, status, 0, {});
    }
}

void WireTrace::procedureStarted(std::uint8_t keyword) {
    add(Event::ProcStart, keyword, 0, 0, {});
}

void WireTrace::procedureEnded() {
    add(Event::ProcEnd, 0, 0, 0, {});
    flush();
}

void WireTrace::refusal(std::uint8_t command, int inARow) {
    add(Event::Refusal, command, inARow, 0, {});
}

void WireTrace::timeOut(std::uint8_t command, int inARow) {
    add(Event::TimeOut, command, inARow, 0, {});
}

void WireTrace::retry(std::uint8_t command) {
    add(Event::Retry, command, 0, 0, {});
}

void WireTrace::failed(int firstMessage, int secondMessage) {
    add(Event::Fail, 0, firstMessage, secondMessage, {});
}

void WireTrace::recovered(int port, bool ok) {
    add(Event::Recover, 0, port, ok ? 1 : 0, {});
}

void WireTrace::watchdog() {
    add(Event::Watchdog, 0, 0, 0, {});
}

bool WireTrace::writeTo(const QString& path, QString& error) {
    stopWriting();
    file_.setFileName(path);
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        error = file_.errorString();
        return false;
    }
    writing_ = true;
    unwritten_ = 0;
    return true;
}

void WireTrace::flush() {
    if (!writing_ || unwritten_ == 0) {
        return;
    }
    std::vector<Record> batch;
    batch.reserve(unwritten_);
    for (std::size_t i = ring_.size() - unwritten_; i < ring_.size(); ++i) {
        batch.push_back(at(i));
    }
    unwritten_ = 0;
    writer_.start([this, batch = std::move(batch)] {
        QByteArray text;
        text.reserve(static_cast<qsizetype>(batch.size()) * 96);
        for (const Record& record : batch) {
            appendLine(text, record);
        }
        file_.write(text);
        file_.flush();
    });
}

void WireTrace::stopWriting() {
    flush();
    writer_.waitForDone();
    writing_ = false;
    file_.close();
}

std::vector<WireTrace::Record> WireTrace::records() const {
    std::vector<Record> out;
    out.reserve(ring_.size());
    for (std::size_t i = 0; i < ring_.size(); ++i) {
        out.push_back(at(i));
    }
    return out;
}

QByteArray WireTrace::jsonLines() const {
    QByteArray text;
    for (std::size_t i = 0; i < ring_.size(); ++i) {
        appendLine(text, at(i));
    }
    return text;
}

QByteArray WireTrace::formatLine(const Record& record) {
    QByteArray out;
    appendLine(out, record);
    return out;
}

void WireTrace::appendLine(QByteArray& out, const Record& record) {
    out += "{\"t_us\":";
    appendDecimal(out, record.tUs);
    out += ",\"ev\":\"";
    out += eventName(record.event);
    out += '"';
    switch (record.event) {
        case Event::Open:
            appendNumber(out, "port", record.a);
            appendString(out, "settings", record.bytes);
            appendBool(out, "ok", record.b != 0);
            break;
        case Event::Close:
            appendNumber(out, "port", record.a);
            break;
        case Event::Tx:
            appendHex(out, "hex", record.bytes);
            appendCommand(out, traceLines::frameCommand(record.bytes));
            break;
        case Event::Rx:
            appendHex(out, "hex", record.bytes);
            break;
        case Event::Cbus:
            appendNumber(out, "level", record.a);
            appendNumber(out, "status", record.b);
            break;
        case Event::Usb:
            appendNumber(out, "status", record.a);
            break;
        case Event::ProcStart:
            appendString(out, "proc",
                         QByteArrayView(toString(static_cast<ProcedureKind>(record.code))));
            break;
        case Event::Refusal:
        case Event::TimeOut:
            appendCommand(out, record.code);
            appendNumber(out, "count", record.a);
            break;
        case Event::Retry:
            appendCommand(out, record.code);
            break;
        case Event::Fail:
            appendKey(out, "msg");
            out += '[';
            appendDecimal(out, record.a);
            out += ',';
            appendDecimal(out, record.b);
            out += ']';
            break;
        case Event::Recover:
            appendNumber(out, "port", record.a);
            appendBool(out, "ok", record.b != 0);
            break;
        case Event::ProcEnd:
        case Event::Watchdog:
            break;
    }
    out += "}\n";
}

WireTrace& wireTrace() {
    static WireTrace trace;
    return trace;
}
