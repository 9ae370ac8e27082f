// The list-input reader on any bytes in either encoding, with a small line bound so overlong
// lines are reached often.
#include <QBuffer>

#include "data/listinput.h"

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
    for (int i = 0; i < 10000; ++i) {
        const auto status = (i % 3 == 2) ? input.next(3, items) : input.next(item);
        if (status != ListInput::Status::Ok) {
            break;
        }
    }
    return 0;
}
