// CSV files as a user might be handed them: any bytes read as an English (Windows-1252) or a
// Japanese (Shift-JIS) file into the file data set.
#include <QFile>

#include "data/csv.h"
#include "data/texts.h"
#include "fuzzsession.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static QTemporaryDir dir;
    static const QString path = dir.filePath(QStringLiteral("in.csv"));
    static const std::array<CsvTexts, 2> texts = [] {
        MessageTable japanese;
        japanese.fillJapanese();
        return std::array<CsvTexts, 2>{csvTexts(fuzzMessages()), csvTexts(japanese)};
    }();
    if (size == 0) {
        return 0;
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::abort();
    }
    file.write(reinterpret_cast<const char*>(data) + 1, static_cast<qint64>(size - 1));
    file.close();
    CsvHeader header;
    openCsv(path, fuzzDataSets()[FileData], texts[data[0] & 1], header);
    return 0;
}
