// Storage and look-up of the message table, and the language-dependent label positions.
#include "data/messagetable.h"

#include <array>

namespace {

using Edge = LabelPlacement::Edge;

constexpr std::array<LabelPlacement, 30> kEnglishPlacements{{
    {"Label9", Edge::Left, 120},   {"Label11", Edge::Left, 120},  {"Label16", Edge::Left, 1080},
    {"Label7", Edge::Left, 840},   {"Label8", Edge::Top, 480},    {"Label8", Edge::Left, 1320},
    {"Label18", Edge::Left, 240},  {"Label22", Edge::Left, 240},  {"Label20", Edge::Left, 240},
    {"Label26", Edge::Left, 1500}, {"Label21", Edge::Left, 1650}, {"Label6", Edge::Left, 1650},
    {"Label47", Edge::Left, 4100}, {"Label31", Edge::Left, 2750}, {"Label32", Edge::Left, 2750},
    {"Label48", Edge::Left, 5250}, {"Label29", Edge::Left, 5500}, {"Label46", Edge::Left, 5500},
    {"Label10", Edge::Left, 600},  {"Label2", Edge::Left, 1200},  {"Label4", Edge::Left, 1200},
    {"Label33", Edge::Left, 1500}, {"Label43", Edge::Left, 1650}, {"Label45", Edge::Left, 1650},
    {"Label25", Edge::Left, 3700}, {"Label53", Edge::Left, 2800}, {"Label52", Edge::Left, 2800},
    {"Label12", Edge::Left, 5500}, {"Label54", Edge::Left, 5500}, {"Label51", Edge::Left, 5500},
}};

constexpr std::array<LabelPlacement, 30> kJapanesePlacements{{
    {"Label9", Edge::Left, 240},   {"Label11", Edge::Left, 240},  {"Label16", Edge::Left, 840},
    {"Label7", Edge::Left, 840},   {"Label8", Edge::Top, 240},    {"Label8", Edge::Left, 1680},
    {"Label18", Edge::Left, 240},  {"Label22", Edge::Left, 240},  {"Label20", Edge::Left, 240},
    {"Label26", Edge::Left, 1200}, {"Label21", Edge::Left, 1200}, {"Label6", Edge::Left, 1200},
    {"Label47", Edge::Left, 3480}, {"Label31", Edge::Left, 3480}, {"Label32", Edge::Left, 3480},
    {"Label48", Edge::Left, 4800}, {"Label29", Edge::Left, 4800}, {"Label46", Edge::Left, 4800},
    {"Label10", Edge::Left, 600},  {"Label2", Edge::Left, 600},   {"Label4", Edge::Left, 600},
    {"Label33", Edge::Left, 1200}, {"Label43", Edge::Left, 1200}, {"Label45", Edge::Left, 1200},
    {"Label25", Edge::Left, 3480}, {"Label53", Edge::Left, 3480}, {"Label52", Edge::Left, 3480},
    {"Label12", Edge::Left, 4440}, {"Label54", Edge::Left, 4800}, {"Label51", Edge::Left, 4800},
}};

}  // namespace

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
    return text(first) + QStringLiteral("\r\r") + text(second);
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

std::span<const LabelPlacement> MessageTable::labelPlacements() const {
    if (language_ == Language::Japanese) {
        return kJapanesePlacements;
    }
    return kEnglishPlacements;
}

void MessageTable::clear() {
    for (QString& entry : texts_) {
        entry.clear();
    }
}

void MessageTable::set(int index, const QString& text) {
    if (isValidIndex(index)) {
        texts_[static_cast<std::size_t>(index)] = text;
    }
}
