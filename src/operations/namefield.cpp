// The identification name's rules; see namefield.h.
#include "operations/namefield.h"

#include <QStringList>

#include "data/codepage.h"

namespace {

// The characters of a refusal stand on their own line, indented by eleven spaces.
const QString kIndent(11, QLatin1Char(' '));

QString characterLine(const QString& characters) {
    QStringList each;
    for (QChar c : characters) {
        each.append(QString(c));
    }
    return kIndent + each.join(QLatin1Char(' '));
}

// The characters of the name the code table has no byte for ('?' itself is forbidden anyway).
QString notKept(const QString& name) {
    QString found;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const qsizetype length =
            name[i].isHighSurrogate() && i + 1 < name.size() && name[i + 1].isLowSurrogate() ? 2
                                                                                             : 1;
        const QString character = name.mid(i, length);
        if (codepage::toWindows1252(character) == "?" && !found.contains(character)) {
            found += character;
        }
        i += length - 1;
    }
    return found;
}

}  // namespace

NameField::NameField(const QString& loggerName, Msg forbiddenMessage, const MessageTable& messages,
                     Prompter& prompter, const QString& title)
    : loggerName_(loggerName),
      forbiddenMessage_(forbiddenMessage),
      messages_(messages),
      prompter_(prompter),
      title_(title) {}

bool NameField::accept(const QString& name) {
    const QString text = refusal(name, forbiddenMessage_, messages_);
    if (text.isEmpty()) {
        return true;
    }
    prompter_.message(title_, text);
    return false;
}

QString NameField::refusal(const QString& name, Msg forbiddenMessage,
                           const MessageTable& messages) {
    for (QChar c : kForbidden) {
        if (name.contains(c)) {
            return messages.text(forbiddenMessage) + MessageTable::kPartBreak +
                   characterLine(kForbidden);
        }
    }
    const QString characters = notKept(name);
    if (!characters.isEmpty()) {
        return messages.text(Msg::LetterNotKept) + MessageTable::kPartBreak + kIndent + characters;
    }
    return {};
}

std::array<std::uint8_t, NameField::kLength> NameField::codes(const QString& name) {
    const QByteArray bytes = codepage::toWindows1252(name, kLength).rightJustified(kLength, ' ');
    std::array<std::uint8_t, kLength> result{};
    for (int i = 0; i < kLength; ++i) {
        result[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(bytes.at(i));
    }
    return result;
}
