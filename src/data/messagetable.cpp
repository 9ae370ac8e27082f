// Storage and look-up of the message table.
#include "data/messagetable.h"

MessageTable::MessageTable() : texts_(kSize) {}

void MessageTable::fill(Language language) {
    if (language == Language::Japanese) {
        fillJapanese();
    } else {
        fillEnglish();
    }
}

QString MessageTable::text(int index) const {
    if (!isValidIndex(index)) {
        return {};
    }
    return texts_[static_cast<std::size_t>(index)];
}

QString MessageTable::pair(int first, int second) const {
    return text(first) + kPartBreak + text(second);
}

int MessageTable::writtenCount() const {
    int count = 0;
    for (const QString& entry : texts_) {
        if (!entry.isEmpty()) {
            ++count;
        }
    }
    return count;
}

void MessageTable::clear() {
    for (QString& entry : texts_) {
        entry.clear();
    }
}

void MessageTable::set(Msg msg, const QString& text) {
    if (isValidIndex(msgIndex(msg))) {
        texts_[static_cast<std::size_t>(msgIndex(msg))] = text;
    }
}
