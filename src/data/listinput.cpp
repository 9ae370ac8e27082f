// List-input item stream over a device, one bounded line at a time.
#include "data/listinput.h"

#include <algorithm>
#include <cstring>

namespace {

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

}  // namespace

ListInput::ListInput(QIODevice& device, codepage::TextEncoding encoding, int maxLineBytes)
    : device_(device), encoding_(encoding), maxLineBytes_(maxLineBytes) {}

ListInput::Status ListInput::splitLine(const QString& line, QStringList& items) {
    items.clear();
    const qsizetype size = line.size();
    qsizetype at = 0;
    while (at < size && isBlank(line[at])) {
        ++at;
    }
    if (at == size) {
        return Status::Ok;
    }
    while (true) {
        while (at < size && isBlank(line[at])) {
            ++at;
        }
        if (at < size && line[at] == u'"') {
            const qsizetype close = line.indexOf(u'"', at + 1);
            if (close < 0) {
                return Status::Malformed;
            }
            items.append(line.mid(at + 1, close - at - 1));
            // Whatever follows the closing quote up to the separator is not part of the item.
            const qsizetype comma = line.indexOf(u',', close + 1);
            if (comma < 0) {
                return Status::Ok;
            }
            at = comma + 1;
        } else {
            const qsizetype comma = line.indexOf(u',', at);
            const qsizetype end = comma < 0 ? size : comma;
            items.append(line.mid(at, end - at).trimmed());
            if (comma < 0) {
                return Status::Ok;
            }
            at = comma + 1;
        }
    }
}

ListInput::Status ListInput::rawLine(QByteArrayView& line, qsizetype& consumed) {
    // A line of the longest length, its CR LF and nothing more.
    const qsizetype window = maxLineBytes_ + 2;
    while (true) {
        const qsizetype available = block_.size() - blockAt_;
        const char* start = block_.constData() + blockAt_;
        const auto* newline =
            static_cast<const char*>(std::memchr(start, '\n', std::min(available, window)));
        qsizetype length = -1;
        // Asked only without a line end in reach: a file answers it with a system call.
        const bool more = newline == nullptr && !device_.atEnd();
        if (newline != nullptr) {
            length = newline - start;
            consumed = length + 1;
        } else if (available >= window || !more) {
            // No line end in reach: the rest of the data is one last line, or too long.
            if (available > window || (available == window && more)) {
                return Status::LineTooLong;
            }
            if (available == 0) {
                return Status::End;
            }
            length = available;
            consumed = available;
        }
        if (length >= 0) {
            while (length > 0 && (start[length - 1] == '\r' || start[length - 1] == '\n')) {
                --length;
            }
            if (length > maxLineBytes_) {
                return Status::LineTooLong;
            }
            line = QByteArrayView(start, length);
            return Status::Ok;
        }
        block_.remove(0, blockAt_);
        blockAt_ = 0;
        const qsizetype kept = block_.size();
        block_.resize(kept + kBlockBytes);
        const qint64 got = device_.read(block_.data() + kept, kBlockBytes);
        block_.resize(kept + std::max<qint64>(got, 0));
        if (got <= 0 && !device_.atEnd()) {
            return Status::Malformed;
        }
    }
}

ListInput::Status ListInput::fill() {
    while (pendingAt_ >= pending_.size()) {
        if (failure_ != Status::Ok) {
            return failure_;
        }
        QByteArrayView line;
        qsizetype consumed = 0;
        const Status read = rawLine(line, consumed);
        if (read == Status::End) {
            return read;
        }
        if (read != Status::Ok) {
            failure_ = read;
            return failure_;
        }
        const Status split = splitLine(codepage::decode(line.toByteArray(), encoding_), pending_);
        blockAt_ += consumed;
        peeked_ = 0;
        pendingAt_ = 0;
        if (split != Status::Ok) {
            pending_.clear();
            failure_ = split;
            return failure_;
        }
    }
    return Status::Ok;
}

bool ListInput::peekLine(QByteArrayView& line) {
    peeked_ = 0;
    qsizetype consumed = 0;
    if (pendingAt_ < pending_.size() || failure_ != Status::Ok ||
        rawLine(line, consumed) != Status::Ok) {
        return false;
    }
    peeked_ = consumed;
    return true;
}

void ListInput::skipLine() {
    QByteArrayView line;
    if (peeked_ > 0 || peekLine(line)) {
        blockAt_ += peeked_;
        peeked_ = 0;
    }
}

ListInput::Status ListInput::next(QString& item) {
    const Status status = fill();
    if (status != Status::Ok) {
        return status;
    }
    item = pending_[pendingAt_++];
    return Status::Ok;
}

ListInput::Status ListInput::next(int count, QStringList& items) {
    items.clear();
    for (int i = 0; i < count; ++i) {
        QString item;
        const Status status = next(item);
        if (status != Status::Ok) {
            return status;
        }
        items.append(item);
    }
    return Status::Ok;
}

bool ListInput::atEnd() {
    return fill() == Status::End;
}
