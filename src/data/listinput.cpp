// List-input item stream over a device, one bounded line at a time.
#include "data/listinput.h"

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

ListInput::Status ListInput::fill() {
    while (pendingAt_ >= pending_.size()) {
        if (failure_ != Status::Ok) {
            return failure_;
        }
        if (device_.atEnd()) {
            return Status::End;
        }
        // readLine(n) stops one byte short of n: room for the longest line and its CR LF.
        QByteArray bytes = device_.readLine(maxLineBytes_ + 3);
        const bool complete = bytes.endsWith('\n') || device_.atEnd();
        if (!complete) {
            failure_ = Status::LineTooLong;
            return failure_;
        }
        while (bytes.endsWith('\n') || bytes.endsWith('\r')) {
            bytes.chop(1);
        }
        if (bytes.size() > maxLineBytes_) {
            failure_ = Status::LineTooLong;
            return failure_;
        }
        const Status split = splitLine(codepage::decode(bytes, encoding_), pending_);
        pendingAt_ = 0;
        if (split != Status::Ok) {
            pending_.clear();
            failure_ = split;
            return failure_;
        }
    }
    return Status::Ok;
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
