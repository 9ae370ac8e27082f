// CSV files as a user might be handed them: any bytes read as an English (Windows-1252) or a
// Japanese (Shift-JIS) file into the file data set. What opens must save; unless a text holds a
// double quote (written unescaped, so it ends the quoted field early), the saved file must open
// to the same header and count, and saving that again must give the same bytes.
#include <QFile>

#include "data/csv.h"
#include "data/texts.h"
#include "fuzzsession.h"

namespace {

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Whether the identification name or a remark holds a double quote, which no quoted field
// carries.
bool holdsQuote(DataSet& set) {
    if (set.identName.contains(u'"')) {
        return true;
    }
    Sample sample;
    for (int k = 1; k <= set.count; ++k) {
        if (set.read(k, sample) != DataError::None || sample.remarks.contains('"')) {
            return true;
        }
    }
    return false;
}

bool sameHeader(const CsvHeader& a, const CsvHeader& b) {
    return a.identName == b.identName && a.startTime == b.startTime && a.endTime == b.endTime &&
           a.recordingPoints == b.recordingPoints && a.interval == b.interval &&
           a.upperOn == b.upperOn && a.upperBound == b.upperBound && a.lowerOn == b.lowerOn &&
           a.lowerBound == b.lowerBound && a.model == b.model;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static QTemporaryDir dir;
    static const QString path = dir.filePath(QStringLiteral("in.csv"));
    static const QString saved = dir.filePath(QStringLiteral("saved.csv"));
    static const QString again = dir.filePath(QStringLiteral("again.csv"));
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
    const CsvTexts& t = texts[data[0] & 1];
    DataSet& set = fuzzDataSets()[FileData];
    CsvHeader opened;
    if (openCsv(path, set, t, opened) != CsvError::None) {
        return 0;
    }
    const int count = set.count;
    if (saveCsv(saved, set, set.model, set.identName, t) != CsvError::None) {
        qFatal("csv: an opened file could not be saved");
    }
    if (holdsQuote(set)) {
        return 0;
    }
    CsvHeader reopened;
    if (const CsvError e = openCsv(saved, set, t, reopened); e != CsvError::None) {
        qFatal("csv: a saved file does not open (%d)", static_cast<int>(e));
    }
    if (set.count != count || reopened.model != opened.model ||
        reopened.identName != opened.identName || reopened.interval != opened.interval) {
        qFatal("csv: the saved file opens to another data set");
    }
    CsvHeader last;
    if (saveCsv(again, set, set.model, set.identName, t) != CsvError::None ||
        openCsv(again, set, t, last) != CsvError::None || !sameHeader(last, reopened) ||
        contents(again) != contents(saved)) {
        qFatal("csv: saving what was opened from a saved file changes it");
    }
    return 0;
}
