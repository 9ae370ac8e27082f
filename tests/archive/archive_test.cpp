// The archive on both engines: round trips, merging of overlapping downloads, concurrent
// writers, a writer killed in the middle, schema versions and the faults a user meets.
#include <QDir>
#include <QFile>

#include "archive/schema.h"
#include "archivefixture.h"

namespace {

constexpr int kDeadlineMs = 60000;

RunFacts downloadOf(const TestRun& run, std::uint8_t memoryMode = 0) {
    return RunFacts{RecordingSource::Download, run.start, memoryMode};
}

}  // namespace

TEST_P(ArchiveTest, StoredDownloadLoadsBackToTheSameCsvBytes) {
    DataSet& original = dataSet(0);
    ASSERT_TRUE(fillRun(original, run, 1, 700, 400));
    auto archive = openArchive();
    StoreResult stored;
    ASSERT_TRUE(archive->store(original, downloadOf(run), &stored).ok());
    EXPECT_EQ(stored.added, 700);
    EXPECT_EQ(stored.points, 700);

    std::vector<RecordingSummary> list;
    ASSERT_TRUE(archive->list(HistoryFilter{}, list).ok());
    ASSERT_EQ(list.size(), 1u);
    const RecordingSummary& r = list[0];
    EXPECT_EQ(r.id, stored.recordingId);
    EXPECT_EQ(r.model, run.model);
    EXPECT_EQ(r.name, run.name);
    EXPECT_EQ(r.interval, run.interval);
    EXPECT_EQ(r.points, 700);
    EXPECT_NEAR(r.firstTime, recordTime(run, 1), 1e-8);
    EXPECT_NEAR(r.lastTime, recordTime(run, 700), 1e-8);
    EXPECT_DOUBLE_EQ(r.maxTemperature, original.stats.maxTemperature);
    EXPECT_DOUBLE_EQ(r.minHumidity, original.stats.minHumidity);
    EXPECT_TRUE(r.upperOn);
    EXPECT_EQ(r.upperBound, 30);

    DataSet& loaded = dataSet(2);
    ASSERT_TRUE(archive->load(stored.recordingId, loaded).ok());
    EXPECT_EQ(csvBytes(loaded), csvBytes(original));
    EXPECT_FALSE(loaded.unsaved);
    EXPECT_EQ(loaded.stats.maxTemperatureRecord, original.stats.maxTemperatureRecord);
    Sample last;
    ASSERT_EQ(loaded.read(700, last), DataError::None);
    EXPECT_EQ(last.series, 2.0f);
    EXPECT_EQ(last.index, 700);
}

TEST_P(ArchiveTest, OverlappingDownloadsOfOneRunMergeWithoutLosingOverwrittenRecords) {
    auto archive = openArchive();
    struct Step {
        int first, last, added, points;
    };
    // A weekly read of a logger that keeps recording, then loop memory that dropped the
    // oldest 300 records, then the same download once more.
    const Step steps[] = {
        {1, 500, 500, 500}, {1, 600, 100, 600}, {301, 900, 300, 900}, {301, 900, 0, 900}};
    std::int64_t id = 0;
    for (const Step& step : steps) {
        ASSERT_TRUE(fillRun(dataSet(0), run, step.first, step.last));
        StoreResult stored;
        ASSERT_TRUE(archive->store(dataSet(0), downloadOf(run, 1), &stored).ok());
        EXPECT_EQ(stored.added, step.added) << step.first << ".." << step.last;
        EXPECT_EQ(stored.points, step.points);
        EXPECT_TRUE(id == 0 || id == stored.recordingId);
        id = stored.recordingId;
    }
    DataSet& loaded = dataSet(2);
    ASSERT_TRUE(archive->load(id, loaded).ok());
    ASSERT_EQ(loaded.count, 900);
    ASSERT_TRUE(fillRun(dataSet(1), run, 1, 900));
    EXPECT_EQ(csvBytes(loaded), csvBytes(dataSet(1)));

    // Another run of the same logger is a recording of its own, listed first as the newer.
    TestRun next = run;
    next.start += 30;
    ASSERT_TRUE(fillRun(dataSet(0), next, 1, 10));
    ASSERT_TRUE(archive->store(dataSet(0), downloadOf(next)).ok());
    std::vector<RecordingSummary> list;
    ASSERT_TRUE(archive->list(HistoryFilter{}, list).ok());
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].points, 10);
    EXPECT_EQ(list[1].id, id);
}

TEST_P(ArchiveTest, HistoryFiltersByNameAndDates) {
    auto archive = openArchive();
    const struct {
        const char* name;
        double start;
    } runs[] = {{"LAB1", 46000}, {"lab2", 46010}, {"CELL", 46020}, {"a_%", 46030}};
    for (const auto& r : runs) {
        TestRun each = run;
        each.name = QString::fromLatin1(r.name);
        each.start = r.start;
        ASSERT_TRUE(fillRun(dataSet(0), each, 1, 144));  // one day at 10 minutes
        ASSERT_TRUE(archive->store(dataSet(0), downloadOf(each)).ok());
    }
    const struct {
        HistoryFilter filter;
        std::vector<const char*> names;
    } cases[] = {
        {{}, {"a_%", "CELL", "lab2", "LAB1"}},
        {{QStringLiteral("lab"), 0, 0, 0}, {"lab2", "LAB1"}},
        {{QStringLiteral("_"), 0, 0, 0}, {"a_%"}},
        {{QString(), 46010.5, 46020.5, 0}, {"CELL", "lab2"}},
        {{QString(), 0, 0, 1}, {"a_%"}},
    };
    for (const auto& c : cases) {
        std::vector<RecordingSummary> list;
        ASSERT_TRUE(archive->list(c.filter, list).ok());
        std::vector<QString> names;
        for (const RecordingSummary& r : list) {
            names.push_back(r.name);
        }
        std::vector<QString> expected;
        for (const char* name : c.names) {
            expected.push_back(QString::fromLatin1(name));
        }
        EXPECT_EQ(names, expected) << c.filter.nameContains.toStdString();
    }
}

TEST_P(ArchiveTest, RealTimeRunsAndImportedFilesAreKept) {
    auto archive = openArchive();
    DataSet& live = dataSet(1);
    TestRun measured = run;
    measured.interval = 5;
    ASSERT_TRUE(fillRun(live, measured, 1, 40));
    StoreResult stored;
    ASSERT_TRUE(archive->store(live, RunFacts{RecordingSource::RealTime, 0, 0}, &stored).ok());
    RecordingSummary summary;
    ASSERT_TRUE(archive->summary(stored.recordingId, summary).ok());
    EXPECT_EQ(summary.source, RecordingSource::RealTime);
    EXPECT_NEAR(summary.startTime, recordTime(measured, 1), 1e-8);

    // A file saved from a download merges into the download's recording.
    ASSERT_TRUE(fillRun(dataSet(0), run, 1, 300));
    ASSERT_TRUE(archive->store(dataSet(0), downloadOf(run), &stored).ok());
    ASSERT_TRUE(fillRun(dataSet(0), run, 1, 350));
    const QString path = dir.filePath(QStringLiteral("saved.csv"));
    ASSERT_EQ(saveCsv(path, dataSet(0), run.model, run.name, csvTexts(messages)), CsvError::None);
    StoreResult imported;
    ASSERT_TRUE(archive->importCsv(path, csvTexts(messages), &imported).ok());
    EXPECT_EQ(imported.recordingId, stored.recordingId);
    EXPECT_EQ(imported.added, 50);
    ASSERT_TRUE(archive->importCsv(path, csvTexts(messages), &imported).ok());
    EXPECT_EQ(imported.added, 0);

    QFile garbage(dir.filePath(QStringLiteral("garbage.csv")));
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write("not,a,data,file\r\n");
    garbage.close();
    EXPECT_EQ(archive->importCsv(garbage.fileName(), csvTexts(messages)).kind,
              ArchiveErrorKind::Invalid);

    ASSERT_TRUE(archive->remove(stored.recordingId).ok());
    EXPECT_EQ(archive->remove(stored.recordingId).kind, ArchiveErrorKind::NotFound);
    EXPECT_EQ(archive->load(stored.recordingId, dataSet(2)).kind, ArchiveErrorKind::NotFound);
    std::vector<RecordingSummary> list;
    ASSERT_TRUE(archive->list(HistoryFilter{}, list).ok());
    EXPECT_EQ(list.size(), 1u);
}

TEST_P(ArchiveTest, AnEmptyDataSetIsNotKept) {
    auto archive = openArchive();
    EXPECT_EQ(archive->store(dataSet(0), downloadOf(run)).kind, ArchiveErrorKind::Invalid);
}

TEST_P(ArchiveTest, ConcurrentWritersOfOverlappingDownloadsKeepEachSampleOnce) {
    // Both open a fresh archive at once, so they race for the schema too.
    auto first = startChild(1, 3000);
    auto second = startChild(1001, 4000);
    for (QProcess* child : {first.get(), second.get()}) {
        ASSERT_TRUE(child->waitForFinished(kDeadlineMs));
        ASSERT_EQ(child->exitStatus(), QProcess::NormalExit);
        ASSERT_EQ(child->exitCode(), 0) << child->readAllStandardError().toStdString();
    }
    const int added = first->readAllStandardOutput().trimmed().toInt() +
                      second->readAllStandardOutput().trimmed().toInt();
    EXPECT_EQ(added, 4000);
    auto archive = openArchive();
    std::vector<RecordingSummary> list;
    ASSERT_TRUE(archive->list(HistoryFilter{}, list).ok());
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].points, 4000);
    DirectSql sql(location);
    EXPECT_EQ(sql.value(QStringLiteral("SELECT COUNT(*) FROM samples")).toInt(), 4000);
}

TEST_P(ArchiveTest, AWriterKilledInTheMiddleLeavesAllOrNothing) {
    {
        auto archive = openArchive();
        ASSERT_TRUE(fillRun(dataSet(0), run, 1, 1000));
        ASSERT_TRUE(archive->store(dataSet(0), downloadOf(run)).ok());
    }
    auto child = startChild(1, 6000, QStringLiteral("3000"));
    ASSERT_TRUE(child->waitForFinished(kDeadlineMs));
    ASSERT_EQ(child->exitStatus(), QProcess::CrashExit) << "the child was not killed";

    auto archive = openArchive();
    std::vector<RecordingSummary> list;
    ASSERT_TRUE(archive->list(HistoryFilter{}, list).ok());
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].points, 1000);
    DirectSql sql(location);
    EXPECT_EQ(sql.value(QStringLiteral("SELECT COUNT(*) FROM samples")).toInt(), 1000);
    if (GetParam() == TestEngine::Sqlite) {
        EXPECT_EQ(sql.value(QStringLiteral("PRAGMA integrity_check")).toString(),
                  QStringLiteral("ok"));
    }
    // And the archive takes the whole download afterwards.
    StoreResult stored;
    ASSERT_TRUE(fillRun(dataSet(0), run, 1, 6000));
    ASSERT_TRUE(archive->store(dataSet(0), downloadOf(run), &stored).ok());
    EXPECT_EQ(stored.added, 5000);
}

TEST_P(ArchiveTest, AnArchiveOfTheFirstVersionIsMigrated) {
    const auto engine = GetParam() == TestEngine::Sqlite ? archiveschema::Engine::Sqlite
                                                         : archiveschema::Engine::Postgres;
    {
        DirectSql sql(location);
        for (const QString& statement : archiveschema::firstVersionStatements(engine)) {
            ASSERT_TRUE(sql.exec(statement)) << sql.lastError().toStdString();
        }
        ASSERT_TRUE(sql.exec(QStringLiteral("INSERT INTO schema_version VALUES (1)")));
        ASSERT_TRUE(sql.exec(QStringLiteral(
            "INSERT INTO recordings (model, name, start_time, interval_seconds, memory_mode,"
            " upper_bound, lower_bound, upper_on, lower_on, first_time, last_time, points,"
            " created) VALUES ('QM300-HX', 'OLD', 3974400000000, 60, 0, 0, 0, 0, 0,"
            " 3974400000000, 3974400000000, 1, 0)")));
        ASSERT_TRUE(sql.exec(QStringLiteral(
            "INSERT INTO samples (recording_id, time, record, temperature, humidity, series)"
            " SELECT id, 3974400000000, 1, 21.5, 50, 1 FROM recordings")));
    }
    auto archive = openArchive();
    std::vector<RecordingSummary> list;
    ASSERT_TRUE(archive->list(HistoryFilter{}, list).ok());
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].name, QStringLiteral("OLD"));
    EXPECT_EQ(list[0].source, RecordingSource::Download);
    ASSERT_TRUE(archive->load(list[0].id, dataSet(2)).ok());
    EXPECT_EQ(dataSet(2).count, 1);
    DirectSql sql(location);
    EXPECT_EQ(sql.value(QStringLiteral("SELECT version FROM schema_version")).toInt(),
              Archive::kSchemaVersion);
}

TEST_P(ArchiveTest, ANewerSchemaIsRefusedAndLeftUnchanged) {
    {
        auto archive = openArchive();
        ASSERT_TRUE(fillRun(dataSet(0), run, 1, 20));
        ASSERT_TRUE(archive->store(dataSet(0), downloadOf(run)).ok());
    }
    {
        DirectSql sql(location);
        ASSERT_TRUE(sql.exec(QStringLiteral("UPDATE schema_version SET version = %1")
                                 .arg(Archive::kSchemaVersion + 1)));
    }
    const QByteArray before =
        GetParam() == TestEngine::Sqlite ? fileHash(location.path) : QByteArray();
    Archive archive(location);
    EXPECT_EQ(archive.open().kind, ArchiveErrorKind::NewerSchema);
    EXPECT_FALSE(archive.isOpen());
    EXPECT_EQ(archive.store(dataSet(0), downloadOf(run)).kind, ArchiveErrorKind::Unreachable);
    if (GetParam() == TestEngine::Sqlite) {
        EXPECT_EQ(fileHash(location.path), before);
    }
    DirectSql sql(location);
    EXPECT_EQ(sql.value(QStringLiteral("SELECT version FROM schema_version")).toInt(),
              Archive::kSchemaVersion + 1);
    EXPECT_EQ(sql.value(QStringLiteral("SELECT COUNT(*) FROM samples")).toInt(), 20);
}

INSTANTIATE_TEST_SUITE_P(BothEngines, ArchiveTest,
                         ::testing::Values(TestEngine::Sqlite, TestEngine::Postgres), engineName);
