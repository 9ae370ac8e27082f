// Figures for the archive on SQLite in a temporary folder on this machine's disk:
//  - keeping a 15000-sample download, beside a bare prepared insert of the same rows in one
//    transaction (floor: at most 2x), and a second, fully overlapping download (at most 1.5x);
//  - listing 1000 recordings (under 50 ms) and opening a 32767-sample recording into a data
//    set (under 150 ms);
//  - the same two on an archive of N loggers x 1 year at 10 minutes (--loggers N, 100 by
//    default: 5.3 million samples), built once and kept in --cache FOLDER between runs.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <cstdio>

#include "archive/archive.h"
#include "common/timing.h"
#include "data/datetime.h"

namespace {

constexpr int kRuns = 5;
constexpr int kDownload = 15000;
constexpr int kYear = 52560;  // 365 days at 10 minutes

double startOf(int logger) {
    return datetime::fromDateAndTime(QDate(2025, 1, 1), QTime(0, 0)) + logger / 1440.0;
}

// Records first..first + count - 1 of the logger's run.
bool fill(DataSet& set, int logger, int count, int interval, int first = 0) {
    set.count = 0;
    set.stats.reset();
    set.model = QStringLiteral("QM320-HX");
    set.identName = QStringLiteral("L%1").arg(logger, 3, 10, QLatin1Char('0'));
    set.interval = interval;
    QByteArray records(static_cast<qsizetype>(count) * ScratchFile::kRecordSize, '\0');
    for (int i = 0; i < count; ++i) {
        const int k = first + i;
        Sample s;
        s.temperature = 15.0f + static_cast<float>((k * 7 + logger) % 2000) / 100.0f;
        s.humidity = 30.0f + static_cast<float>((k * 3 + logger) % 5000) / 100.0f;
        s.dateTime = startOf(logger) + static_cast<double>(k) * interval / 86400.0;
        s.series = 1;
        s.setRemarks(k % 500 == 0 ? QStringLiteral("Upper bound ") : QString());
        s.index = static_cast<std::int16_t>(i + 1);
        ScratchFile::encodeInto(
            s, records.data() + static_cast<qsizetype>(i) * ScratchFile::kRecordSize);
    }
    if (set.file.writeRecords(1, records) != DataError::None) {
        return false;
    }
    set.count = static_cast<std::int16_t>(count);
    return true;
}

std::unique_ptr<Archive> openAt(const QString& path) {
    ArchiveLocation location;
    if (!ArchiveLocation::parse(path, location).ok()) {
        return nullptr;
    }
    auto archive = std::make_unique<Archive>(location);
    const ArchiveError error = archive->open();
    if (!error.ok()) {
        std::fprintf(stderr, "archive: %s\n", qPrintable(error.detail));
        return nullptr;
    }
    return archive;
}

// The same rows through one prepared statement per row, in one transaction, on a file with
// the archive's settings and samples table: what any store of the rows has to cost.
bool bareInsert(const QString& path, DataSet& set) {
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("b"));
        db.setDatabaseName(path);
        ok = db.open();
        QSqlQuery q(db);
        ok = ok && q.exec(QStringLiteral("PRAGMA journal_mode = WAL")) &&
             q.exec(QStringLiteral("PRAGMA synchronous = FULL")) &&
             q.exec(QStringLiteral(
                 "CREATE TABLE samples (recording_id BIGINT NOT NULL, time BIGINT NOT NULL,"
                 " record INTEGER NOT NULL, temperature DOUBLE PRECISION NOT NULL, humidity"
                 " DOUBLE PRECISION NOT NULL, series INTEGER NOT NULL, remarks BLOB,"
                 " PRIMARY KEY (recording_id, time)) WITHOUT ROWID"));
        QByteArray records;
        ok = ok && set.file.readRecords(1, set.count, records) == DataError::None;
        ok = ok && db.transaction() &&
             q.prepare(QStringLiteral("INSERT INTO samples VALUES (1, ?, ?, ?, ?, ?, ?)"));
        for (int i = 0; ok && i < set.count; ++i) {
            const ScratchFile::Fields f =
                ScratchFile::fieldsOf(records.constData() + i * ScratchFile::kRecordSize);
            q.bindValue(0, static_cast<qint64>(std::llround(f.dateTime * 86400000.0)));
            q.bindValue(1, f.index);
            q.bindValue(2, static_cast<double>(f.temperature));
            q.bindValue(3, static_cast<double>(f.humidity));
            q.bindValue(4, static_cast<int>(f.series));
            QByteArray remarks = f.remarks.toByteArray();
            while (remarks.endsWith(' ')) {
                remarks.chop(1);
            }
            q.bindValue(5, remarks);
            ok = q.exec();
        }
        ok = ok && db.commit();
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("b"));
    return ok;
}

void printBound(const char* what, Timing t, double boundMs) {
    std::printf("%-44s %9.2f ms wall %9.2f ms cpu   bound %6.0f ms: %s\n", what, t.wallMs, t.cpuMs,
                boundMs, t.wallMs <= boundMs ? "within" : "OVER");
}

// Listing and opening on one archive.
bool readFigures(Archive& archive, DataSet& target, const char* label) {
    std::vector<RecordingSummary> list;
    const Timing listing = best(kRuns, [&] { return archive.list(HistoryFilter{}, list).ok(); });
    std::int64_t largest = 0;
    int points = 0;
    for (const RecordingSummary& r : list) {
        if (r.points > points) {
            points = r.points;
            largest = r.id;
        }
    }
    std::printf("%s: %zu recordings, largest %d samples\n", label, list.size(), points);
    printBound("  history listed", listing, 50);
    LoadResult loaded;
    const Timing opening = best(kRuns, [&] { return archive.load(largest, target, &loaded).ok(); });
    std::printf("  (%d samples opened, %d older left out)\n", target.count, loaded.leftOut);
    printBound("  recording opened into the data set", opening, 150);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addOption({QStringLiteral("loggers"),
                      QStringLiteral("Loggers of one year each in the large archive."),
                      QStringLiteral("N"), QStringLiteral("100")});
    parser.addOption({QStringLiteral("cache"),
                      QStringLiteral("Folder that keeps the large archive between runs."),
                      QStringLiteral("FOLDER"),
                      QDir::temp().filePath(QStringLiteral("veltrane-bench-archive"))});
    parser.process(app);
    const int loggers = std::max(1, parser.value(QStringLiteral("loggers")).toInt());

    QTemporaryDir dir;
    DataSet set;
    DataSet target;
    if (!dir.isValid() || !set.file.open(dir.filePath(QStringLiteral("log.rand"))) ||
        !target.file.open(dir.filePath(QStringLiteral("read.rand"))) ||
        !fill(set, 0, kDownload, 600)) {
        std::fprintf(stderr, "no scratch files\n");
        return 1;
    }

    int run = 0;
    const Timing floor = best(kRuns, [&] {
        return bareInsert(dir.filePath(QStringLiteral("bare%1.sqlite").arg(++run)), set);
    });
    std::vector<std::unique_ptr<Archive>> fresh;
    for (int i = 0; i < kRuns; ++i) {
        fresh.push_back(openAt(dir.filePath(QStringLiteral("fresh%1.sqlite").arg(i))));
        if (!fresh.back()) {
            return 1;
        }
    }
    run = 0;
    StoreResult stored;
    const Timing first = best(kRuns, [&] {
        return fresh[static_cast<std::size_t>(run++)]->store(set, RunFacts{}, &stored).ok() &&
               stored.added == kDownload;
    });
    const Timing overlapping = best(
        kRuns, [&] { return fresh[0]->store(set, RunFacts{}, &stored).ok() && stored.added == 0; });
    std::printf("15000-sample download (floor: bare prepared insert in one transaction)\n");
    printAgainstFloor("  kept in a new recording (at most 2x)", first, floor);
    printAgainstFloor("  the same download again (at most 1.5x)", overlapping, floor);
    fresh.clear();

    // 1000 recordings of a day each, and one full data set.
    auto many = openAt(dir.filePath(QStringLiteral("many.sqlite")));
    if (!many) {
        return 1;
    }
    for (int logger = 1; logger <= 1000; ++logger) {
        if (!fill(set, logger, 144, 600) || !many->store(set, RunFacts{}).ok()) {
            return 1;
        }
    }
    if (!fill(set, 1001, DataSet::kMaxCount, 60) || !many->store(set, RunFacts{}).ok()) {
        return 1;
    }
    readFigures(*many, target, "Archive of 1001 recordings");
    many.reset();

    // The large archive, built once: each logger's year in four downloads as it would arrive.
    const QString cache = parser.value(QStringLiteral("cache"));
    QDir().mkpath(cache);
    const QString bigPath = QDir(cache).filePath(QStringLiteral("archive-%1.sqlite").arg(loggers));
    auto big = openAt(bigPath);
    if (!big) {
        return 1;
    }
    std::vector<RecordingSummary> existing;
    big->list(HistoryFilter{}, existing);
    if (static_cast<int>(existing.size()) < loggers) {
        QElapsedTimer building;
        building.start();
        DataSet part;
        if (!part.file.open(dir.filePath(QStringLiteral("part.rand")))) {
            return 1;
        }
        // A logger cut short by an earlier run is stored again: its samples merge.
        for (int logger = std::max(0, static_cast<int>(existing.size()) - 1); logger < loggers;
             ++logger) {
            // The logger keeps one run for the year; a download brings 15000 records at most.
            for (int from = 0; from < kYear; from += kDownload) {
                const int count = std::min(kDownload, kYear - from);
                const RunFacts facts{RecordingSource::Download, startOf(logger), 1};
                if (!fill(part, logger, count, 600, from) || !big->store(part, facts).ok()) {
                    return 1;
                }
            }
        }
        std::printf("Large archive built in %.1f s\n", building.elapsed() / 1000.0);
    }
    readFigures(*big, target,
                qPrintable(QStringLiteral("Archive of %1 loggers x 1 year at 10 minutes (%2 "
                                          "samples)")
                               .arg(loggers)
                               .arg(static_cast<qint64>(loggers) * kYear)));
    big.reset();
    std::printf("  file size %.1f MB (%s)\n", QFileInfo(bigPath).size() / 1e6, qPrintable(bigPath));
    return 0;
}
