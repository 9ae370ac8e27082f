// Figures for a full data set (32767 samples): filling and reading back the scratch file,
// saving and opening it as CSV, each beside a plain write and read of the same bytes, and the
// ratios of the CSV operations to them.
#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>
#include <cstdio>

#include "common/timing.h"
#include "data/csv.h"
#include "data/datetime.h"
#include "data/texts.h"

namespace {

constexpr int kRuns = 5;

void report(const char* what, Timing t, qint64 bytes) {
    std::printf("%-38s %9.2f ms wall %9.2f ms cpu %9.1f MB/s (wall)\n", what, t.wallMs, t.cpuMs,
                bytes / 1e6 / (t.wallMs / 1e3));
}

bool writePlain(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray readPlain(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

Sample sampleAt(int k) {
    Sample s;
    s.temperature = -20.0f + static_cast<float>(k % 6000) / 100.0f;
    s.humidity = static_cast<float>(k % 10000) / 100.0f;
    s.dateTime = datetime::fromDateAndTime(QDate(2026, 1, 1), QTime(0, 0)) + k * 60.0 / 86400;
    s.series = 1;
    s.setRemarks(k % 100 == 0 ? QStringLiteral("Upper bound ") : QString());
    return s;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    MessageTable table;
    table.fillEnglish();
    const CsvTexts texts = csvTexts(table);

    DataSet set;
    DataSet fileSet;
    if (!dir.isValid() || !set.file.open(dir.filePath("log.rand")) ||
        !fileSet.file.open(dir.filePath("read.rand"))) {
        std::fprintf(stderr, "cannot create scratch files\n");
        return 1;
    }
    set.interval = 60;
    const int n = DataSet::kMaxCount;
    const qint64 scratchBytes = static_cast<qint64>(n) * ScratchFile::kRecordSize;

    std::printf("%d samples, fastest of %d runs\n", n, kRuns);
    const Timing fill = best(kRuns, [&] {
        set.count = 0;
        set.stats.reset();
        for (int k = 1; k <= n; ++k) {
            Sample s = sampleAt(k);
            if (set.append(s) != DataError::None) {
                return false;
            }
            set.stats.update(s);
        }
        return true;
    });
    report("scratch fill (append per record)", fill, scratchBytes);

    QByteArray prepared;
    prepared.reserve(scratchBytes);
    for (int k = 1; k <= n; ++k) {
        Sample s = sampleAt(k);
        s.index = static_cast<std::int16_t>(k);
        prepared += ScratchFile::encode(s);
    }
    const QString plainScratch = dir.filePath("plain.rand");
    report("  plain write of the same bytes",
           best(kRuns, [&] { return writePlain(plainScratch, prepared); }), scratchBytes);

    const Timing readBack = best(kRuns, [&] {
        Sample s;
        for (int k = 1; k <= n; ++k) {
            if (set.read(k, s) != DataError::None) {
                return false;
            }
        }
        return true;
    });
    report("scratch read (record by record)", readBack, scratchBytes);
    report("  plain read of the same bytes",
           best(kRuns, [&] { return readPlain(plainScratch).size() == scratchBytes; }),
           scratchBytes);

    const QString csvPath = dir.filePath("full.csv");
    const Timing save = best(kRuns, [&] {
        return saveCsv(csvPath, set, QStringLiteral("QM320-HX"), QStringLiteral("AB12"), texts) ==
               CsvError::None;
    });
    const QByteArray csvBytes = readPlain(csvPath);
    report("CSV save", save, csvBytes.size());
    const QString plainCsv = dir.filePath("plain.csv");
    const Timing plainWrite = best(kRuns, [&] { return writePlain(plainCsv, csvBytes); });
    report("  plain write of the same bytes", plainWrite, csvBytes.size());
    // A save goes through a temporary file that is synced and renamed into place.
    const Timing safeWrite = best(kRuns, [&] {
        QSaveFile file(plainCsv);
        return file.open(QIODevice::WriteOnly) && file.write(csvBytes) == csvBytes.size() &&
               file.commit();
    });
    report("  the same bytes synced and renamed", safeWrite, csvBytes.size());

    const Timing open = best(kRuns, [&] {
        CsvHeader header;
        return openCsv(csvPath, fileSet, texts, header) == CsvError::None && fileSet.count == n;
    });
    report("CSV open (parse and fill read.rand)", open, csvBytes.size());
    const Timing plainRead =
        best(kRuns, [&] { return readPlain(plainCsv).size() == csvBytes.size(); });
    report("  plain read of the same bytes", plainRead, csvBytes.size());
    // The goal: each file operation within ten times the plain transfer of its bytes.
    std::printf(
        "CSV save / plain write  %6.1f x (wall)   goal <= 10   (%.1f x cpu; %.1f x the "
        "synced write)\n",
        save.wallMs / plainWrite.wallMs, save.cpuMs / plainWrite.cpuMs,
        save.wallMs / safeWrite.wallMs);
    std::printf("CSV open / plain read   %6.1f x (wall)   goal <= 10   (%.1f x cpu)\n",
                open.wallMs / plainRead.wallMs, open.cpuMs / plainRead.cpuMs);
    return 0;
}
