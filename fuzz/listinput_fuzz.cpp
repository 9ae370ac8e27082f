// The list-input reader on any bytes in either encoding, with a small line bound so overlong
// lines are reached often. The items read, written back quoted three to a line, must read back
// the same, unless one holds what a quoted item cannot carry (a quote, a line break, a
// character the encoding lacks).
#include <QBuffer>

#include "data/listinput.h"

namespace {

constexpr int kItemsPerLine = 3;

bool quotable(const QString& item, codepage::TextEncoding encoding) {
    return !item.contains(u'"') && !item.contains(u'\r') && !item.contains(u'\n') &&
           codepage::decode(codepage::encode(item, encoding), encoding) == item;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    QByteArray bytes(reinterpret_cast<const char*>(data) + 1, static_cast<qsizetype>(size - 1));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const auto encoding =
        (data[0] & 1) != 0 ? codepage::TextEncoding::ShiftJis : codepage::TextEncoding::Windows1252;
    ListInput input(buffer, encoding, 64 + (data[0] >> 1));
    QString item;
    QStringList items;
    QStringList read;
    for (int i = 0; i < 10000; ++i) {
        const auto status = (i % 3 == 2) ? input.next(3, items) : input.next(item);
        if (status != ListInput::Status::Ok) {
            break;
        }
        if (i % 3 == 2) {
            read += items;
        } else {
            read.append(item);
        }
    }
    for (const QString& r : read) {
        if (!quotable(r, encoding)) {
            return 0;
        }
    }
    QByteArray written;
    for (qsizetype i = 0; i < read.size(); ++i) {
        written += '"' + codepage::encode(read[i], encoding) + '"';
        written += (i + 1) % kItemsPerLine == 0 || i + 1 == read.size() ? "\r\n" : ",";
    }
    QBuffer rewritten(&written);
    rewritten.open(QIODevice::ReadOnly);
    ListInput again(rewritten, encoding, static_cast<int>(written.size()) + 2);
    QStringList reread;
    while (again.next(item) == ListInput::Status::Ok) {
        reread.append(item);
    }
    if (reread != read) {
        qFatal("listinput: %lld items read back as %lld", static_cast<long long>(read.size()),
               static_cast<long long>(reread.size()));
    }
    return 0;
}
