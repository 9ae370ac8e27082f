// The archive database behind the window's recordings; see recordingarchive.h.
#include "operations/recordingarchive.h"

#include "link/linklog.h"

namespace {

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
    if (ArchiveError error = ArchiveLocation::resolve(location_, where); !error.ok()) {
        return logged(error, "location");
    }
    auto archive = std::make_unique<Archive>(where);
    if (ArchiveError error = archive->open(); !error.ok()) {
        return logged(error, "open");
    }
    archive_ = std::move(archive);
    return {};
}

ArchiveError DatabaseArchive::store(DataSet& set, const RunFacts& facts, StoreResult* result) {
    if (ArchiveError error = ready(); !error.ok()) {
        return error;
    }
    return logged(archive_->store(set, facts, result), "store");
}

ArchiveError DatabaseArchive::list(const HistoryFilter& filter,
                                   std::vector<RecordingSummary>& recordings) {
    if (ArchiveError error = ready(); !error.ok()) {
        return error;
    }
    return logged(archive_->list(filter, recordings), "list");
}

ArchiveError DatabaseArchive::load(std::int64_t id, DataSet& set) {
    if (ArchiveError error = ready(); !error.ok()) {
        return error;
    }
    return logged(archive_->load(id, set), "load");
}

ArchiveError DatabaseArchive::remove(std::int64_t id) {
    if (ArchiveError error = ready(); !error.ok()) {
        return error;
    }
    return logged(archive_->remove(id), "remove");
}

ArchiveError DatabaseArchive::importCsv(const QString& path, const CsvTexts& texts,
                                        StoreResult* result) {
    if (ArchiveError error = ready(); !error.ok()) {
        return error;
    }
    return logged(archive_->importCsv(path, texts, result), "import");
}
