// The single-byte code page the remarks and CSV files are kept in (Windows-1252), with its
// own table so the result never depends on which converters the Qt build carries.
#pragma once

#include <QByteArray>
#include <QString>

namespace codepage {

// One byte per character; a character outside the code page becomes '?'. At most maxBytes
// characters are encoded (a negative limit encodes everything).
QByteArray toWindows1252(const QString& text, qsizetype maxBytes = -1);
// Every byte maps to one character, so decoding never fails.
QString fromWindows1252(const QByteArray& bytes);

// Text files follow the code page of the interface language: Windows-1252 for English,
// Shift_JIS for Japanese (UTF-8 where the Qt build has no Shift_JIS converter).
enum class TextEncoding { Windows1252, ShiftJis };

QByteArray encode(const QString& text, TextEncoding encoding);
QString decode(const QByteArray& bytes, TextEncoding encoding);

}  // namespace codepage
