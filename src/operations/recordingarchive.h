// Where the window keeps its recordings: an interface the operations use, and the one over the
// archive database that the window builds. The database is opened on first use, so a missing
// or broken archive costs nothing until something is kept or listed.
#pragma once

#include <functional>
#include <memory>

#include "archive/archive.h"

class RecordingArchive {
  public:
    virtual ~RecordingArchive() = default;
    virtual ArchiveError store(DataSet& set, const RunFacts& facts,
                               StoreResult* result = nullptr) = 0;
    virtual ArchiveError list(const HistoryFilter& filter,
                              std::vector<RecordingSummary>& recordings) = 0;
    // Fills `set` as opening a CSV file of the recording would.
    virtual ArchiveError load(std::int64_t id, DataSet& set) = 0;
    virtual ArchiveError remove(std::int64_t id) = 0;
    virtual ArchiveError importCsv(const QString& path, const CsvTexts& texts,
                                   StoreResult* result = nullptr) = 0;
};

class DatabaseArchive : public RecordingArchive {
  public:
    // `location` as ArchiveLocation::parse takes it; empty leaves it to ArchiveLocation::resolve
    // (the environment's choice, or the user's data folder).
    explicit DatabaseArchive(QString location);
    ~DatabaseArchive() override;

    ArchiveError store(DataSet& set, const RunFacts& facts, StoreResult* result = nullptr) override;
    ArchiveError list(const HistoryFilter& filter,
                      std::vector<RecordingSummary>& recordings) override;
    ArchiveError load(std::int64_t id, DataSet& set) override;
    ArchiveError remove(std::int64_t id) override;
    ArchiveError importCsv(const QString& path, const CsvTexts& texts,
                           StoreResult* result = nullptr) override;

  private:
    // Opens the database when it is not open; a failed open is tried again on the next use.
    ArchiveError ready();
    // The work on the open database, its failure logged as `what`.
    ArchiveError run(const char* what, const std::function<ArchiveError(Archive&)>& work);

    QString location_;
    std::unique_ptr<Archive> archive_;
};
