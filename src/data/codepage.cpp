// Windows-1252 conversion: bytes 0x80..0x9F carry the typographic characters, the rest is
// Latin-1. The five bytes the code page leaves unassigned map to the C1 control characters
// of the same value, so any byte string survives a round trip.
#include "data/codepage.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <array>

namespace codepage {
namespace {

constexpr std::array<char16_t, 32> kHighTable = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char encodeOne(char32_t code) {
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) {
        return static_cast<char>(code);
    }
    for (std::size_t i = 0; i < kHighTable.size(); ++i) {
        if (kHighTable[i] == code) {
            return static_cast<char>(0x80 + i);
        }
    }
    return '?';
}

}  // namespace

QByteArray toWindows1252(const QString& text, qsizetype maxBytes) {
    QByteArray out;
    out.reserve(maxBytes >= 0 ? std::min(maxBytes, text.size()) : text.size());
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        if (maxBytes >= 0 && out.size() >= maxBytes) {
            break;
        }
        char32_t code = text[i].unicode();
        // A character outside the basic plane is one character, so one '?'.
        if (text[i].isHighSurrogate() && i + 1 < size && text[i + 1].isLowSurrogate()) {
            code = QChar::surrogateToUcs4(text[i], text[i + 1]);
            ++i;
        }
        out.append(encodeOne(code));
    }
    return out;
}

QString fromWindows1252(const QByteArray& bytes) {
    QString out;
    out.reserve(bytes.size());
    for (char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        out.append(value >= 0x80 && value < 0xA0 ? QChar(kHighTable[value - 0x80])
                                                 : QChar(char16_t(value)));
    }
    return out;
}

QByteArray encode(const QString& text, TextEncoding encoding) {
    if (encoding == TextEncoding::Windows1252) {
        return toWindows1252(text);
    }
    QStringEncoder encoder("Shift_JIS");
    if (!encoder.isValid()) {
        return text.toUtf8();
    }
    return encoder.encode(text);
}

QString decode(const QByteArray& bytes, TextEncoding encoding) {
    if (encoding == TextEncoding::Windows1252) {
        return fromWindows1252(bytes);
    }
    QStringDecoder decoder("Shift_JIS");
    if (!decoder.isValid()) {
        return QString::fromUtf8(bytes);
    }
    return decoder.decode(bytes);
}

}  // namespace codepage
