// The archive database behind the window's recordings; see recordingarchive.h.
#include "operations/recordingarchive.h"

#include "link/linklog.h"

namespace {

// The store runs on the window's thread: a file locked by a cron job's download is reported
// after two seconds instead of freezing the window for the library's ten.
constexpr int kWindowLockWaitMs = 2000;

ArchiveError logged(ArchiveError error, const char* what) {
    if (!error.ok()) {
        LINK_LOG << "archive" << what << "failed:" << error.detail;
    }
    return error;
}

}  // namespace

DatabaseArchive::DatabaseArchive(QString location) : location_(std::move(location)) {}

DatabaseArchive::~DatabaseArchive() = default;

ArchiveError DatabaseArchive::ready() {
    if (archive_ && archive_->isOpen()) {
        return {};
    }
    ArchiveLocation where;
    // A location given here is the one meant; only none leaves the choice to the environment.
    const ArchiveError located = location_.isEmpty() ? ArchiveLocation::resolve(QString(), where)
                                                     : ArchiveLocation::parse(location_, where);
    if (!located.ok()) {
        return logged(located, "location");
    }
    where.lockWaitMs = kWindowLockWaitMs;
    auto archive = std::make_unique<Archive>(where);
    if (ArchiveError error = archive->open(); !error.ok()) {
        return logged(error, "open");
    }
    archive_ = std::move(archive);
    return {};
}

ArchiveError DatabaseArchive::store(DataSet& set, const RunFacts& facts, StoreResult* result) {
    return run("store", [&](Archive& a) { return a.store(set, facts, result); });
}

ArchiveError DatabaseArchive::list(const HistoryFilter& filter,
                                   std::vector<RecordingSummary>& recordings) {
    return run("list", [&](Archive& a) { return a.list(filter, recordings); });
}

ArchiveError DatabaseArchive::load(std::int64_t id, DataSet& set) {
    return run("load", [&](Archive& a) { return a.load(id, set); });
}

ArchiveError DatabaseArchive::remove(std::int64_t id) {
    return run("remove", [&](Archive& a) { return a.remove(id); });
}

ArchiveError DatabaseArchive::importCsv(const QString& path, const CsvTexts& texts,
                                        StoreResult* result) {
    return run("import", [&](Archive& a) { return a.importCsv(path, texts, result); });
}

ArchiveError DatabaseArchive::run(const char* what,
                                  const std::function<ArchiveError(Archive&)>& work) {
    if (ArchiveError error = ready(); !error.ok()) {
        return error;
    }
    return logged(work(*archive_), what);
}
