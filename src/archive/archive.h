// The archive: every download, real-time run and imported CSV file kept as a recording in one
// database (SQLite file by default, PostgreSQL for a lab), merged per logger run, listed,
// reopened into a data set and exported.
//
// Run identity. A recording is found again by (model, identification name, interval, start
// time). The start time is the one the logger reports for the run (LoggerState::Start_Time,
// known to the download before any record arrives): it stays fixed for as long as the run
// lasts, however often the logger is read and however far loop memory has moved on, whereas
// the first sample's time moves forward once loop memory overwrites the oldest records. A
// real-time run and a CSV file carry no such value, so their start time is that of their first
// sample: what they hold is fixed once they exist. A CSV file saved from a download that began
// with the run's first record therefore merges into that download's recording.
//
// Samples are keyed by (recording, time in whole milliseconds): a sample already kept is
// never written again (the first writer's values and remarks stay), so overlapping downloads
// merge, concurrent writers end with each sample once, and samples that loop memory dropped
// remain in the archive.
#pragma once

#include <QDateTime>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

#include "data/csv.h"
#include "data/dataset.h"
#include "data/msg.h"

// What went wrong, in the terms a user can act on; the driver's own text goes to the link log.
enum class ArchiveErrorKind {
    None,
    BadLocation,  // VELTRANE_ARCHIVE or the setting names no usable database
    Unreachable,  // no server answers, or the file's folder cannot be used
    Locked,       // another program holds the database longer than the wait allows
    Full,         // the disk or the server has no room
    Corrupt,      // the file is no database, or its tables are damaged
    ReadOnly,     // the file or server refuses writes
    NewerSchema,  // written by a later program version: refused, never altered
    NotFound,     // no recording with that number
    Invalid,      // nothing to keep (an empty data set) or a file that cannot be read
    Failed,       // any other database fault
};

struct ArchiveError {
    ArchiveErrorKind kind = ArchiveErrorKind::None;
    QString detail;  // for the log and the command line's --verbose, never shown in a box

    bool ok() const { return kind == ArchiveErrorKind::None; }
};

// The message a user is shown for a fault of the archive.
Msg archiveMessage(ArchiveErrorKind kind);

// Where a recording came from.
enum class RecordingSource { Download, RealTime, File };

// What a data set does not hold about its run.
struct RunFacts {
    RecordingSource source = RecordingSource::Download;
    // The run's start as the logger reports it (days since 1899-12-30); 0 takes the first
    // sample's time.
    double startTime = 0;
    std::uint8_t memoryMode = 0;  // 0 one-time, 1 loop memory
};

// One recording as the history lists it.
struct RecordingSummary {
    std::int64_t id = 0;
    RecordingSource source = RecordingSource::Download;
    QString model;
    QString name;
    double startTime = 0;
    std::int32_t interval = 0;
    std::uint8_t memoryMode = 0;
    std::int16_t upperBound = 0;
    std::int16_t lowerBound = 0;
    bool upperOn = false;
    bool lowerOn = false;
    double firstTime = 0;
    double lastTime = 0;
    std::int32_t points = 0;
    double minTemperature = 0;
    double maxTemperature = 0;
    double minHumidity = 0;
    double maxHumidity = 0;
    QDateTime created;  // UTC, when the recording was first kept
};

// Which recordings the history lists: newest start first.
struct HistoryFilter {
    QString nameContains;  // case-insensitive; empty lists every name
    double from = 0;       // recordings whose last sample is at or after this; 0 for no bound
    double to = 0;         // recordings whose first sample is at or before this; 0 for no bound
    int limit = 0;         // 0 for no limit
};

struct LoadResult {
    int points = 0;  // samples the recording holds
    // A data set holds at most DataSet::kMaxCount samples: the newest are loaded and this many
    // older ones left out.
    int leftOut = 0;
};

struct StoreResult {
    std::int64_t recordingId = 0;
    int added = 0;   // samples not kept before
    int points = 0;  // samples the recording holds now
};

// Where the archive lives, checked before anything is opened.
struct ArchiveLocation {
    enum class Engine { Sqlite, Postgres };
    Engine engine = Engine::Sqlite;
    QString path;  // SQLite file
    QString host;  // PostgreSQL: a host name, or a socket folder (starts with '/')
    int port = 5432;
    QString user;
    QString password;
    QString database;
    bool readOnly = false;  // file:///path?mode=ro, or a file this user cannot write
    // How long a store waits for another writer of an SQLite file: a script may wait long, a
    // window must not freeze for it.
    int lockWaitMs = 10000;

    // postgresql://user[:password]@[host][:port]/database[?host=/socket/folder], or a file
    // path, or file:///path[?mode=ro], of an SQLite archive. A malformed text is BadLocation.
    static ArchiveError parse(const QString& text, ArchiveLocation& location);
    // VELTRANE_ARCHIVE when set, else `setting` when not empty, else veltrane/archive.sqlite in
    // the user's data folder (the same for the window and the command line).
    static ArchiveError resolve(const QString& setting, ArchiveLocation& location);
    // The location without its password, for messages and logs.
    QString display() const;
};

class Archive {
  public:
    // The schema this program writes; version 1 files and servers are brought up to it.
    static constexpr int kSchemaVersion = 2;

    explicit Archive(ArchiveLocation location);
    ~Archive();
    Archive(const Archive&) = delete;
    Archive& operator=(const Archive&) = delete;

    // Connects, creates the schema in an empty database and migrates an older one. A database
    // of a newer schema is refused (NewerSchema) without a write.
    ArchiveError open();
    bool isOpen() const;
    const ArchiveLocation& location() const { return location_; }

    // Keeps the data set's samples in the recording of its run, in one transaction: all of
    // them or none.
    ArchiveError store(DataSet& set, const RunFacts& facts, StoreResult* result = nullptr);
    ArchiveError list(const HistoryFilter& filter, std::vector<RecordingSummary>& recordings);
    ArchiveError summary(std::int64_t id, RecordingSummary& recording);
    // Fills `set` (a file data set) as opening a CSV file of the recording would: samples in
    // time order numbered from 1, series kept, statistics, model, name, interval and bounds;
    // never marked unsaved.
    ArchiveError load(std::int64_t id, DataSet& set, LoadResult* result = nullptr);
    ArchiveError remove(std::int64_t id);
    // Reads a CSV file written by the program (in the language of `texts`) and keeps it.
    ArchiveError importCsv(const QString& path, const CsvTexts& texts,
                           StoreResult* result = nullptr);

  private:
    struct Impl;
    ArchiveLocation location_;
    std::unique_ptr<Impl> impl_;
};
