// ustar headers: 512-byte blocks, octal fields, the checksum over the header with its own
// field read as spaces.
#include "app/tarwriter.h"

#include <cstring>

namespace {

constexpr int kBlock = 512;

void putOctal(char* field, int width, qint64 value) {
    const QByteArray digits = QByteArray::number(value, 8).rightJustified(width - 1, '0');
    std::memcpy(field, digits.constData(), static_cast<std::size_t>(width - 1));
    field[width - 1] = '\0';
}

}  // namespace

QByteArray tarArchive(const std::vector<TarMember>& members, qint64 modifiedSecs) {
    QByteArray archive;
    for (const TarMember& member : members) {
        const QByteArray name = member.name.toUtf8();
        if (name.isEmpty() || name.size() > 100 || name.contains('/')) {
            return {};
        }
        char header[kBlock] = {};
        std::memcpy(header, name.constData(), static_cast<std::size_t>(name.size()));
        putOctal(header + 100, 8, 0644);
        putOctal(header + 108, 8, 0);
        putOctal(header + 116, 8, 0);
        putOctal(header + 124, 12, member.data.size());
        putOctal(header + 136, 12, modifiedSecs);
        std::memset(header + 148, ' ', 8);
        header[156] = '0';
        std::memcpy(header + 257, "ustar", 6);
        std::memcpy(header + 263, "00", 2);
        unsigned sum = 0;
        for (const char c : header) {
            sum += static_cast<unsigned char>(c);
        }
        putOctal(header + 148, 7, sum);
        header[155] = ' ';
        archive.append(header, kBlock);
        archive += member.data;
        archive.append((kBlock - member.data.size() % kBlock) % kBlock, '\0');
    }
    // Two empty blocks end the archive.
    archive.append(2 * kBlock, '\0');
    return archive;
}
