// Writing to the archive: storing a data set into its run's recording, removing a recording
// and importing a CSV file, each in one transaction.
#include <QTemporaryDir>
#include <algorithm>
#include <csignal>

#include "archive/archiveimpl.h"

using archivedetail::Row;
using archivedetail::toMilliseconds;

namespace {

// Rows per insert statement: few statements, well below either engine's parameter limit.
constexpr int kRowsPerInsert = 128;
constexpr int kStoreAttempts = 4;

QByteArray withoutTrailingSpaces(QByteArrayView bytes) {
    qsizetype size = bytes.size();
    while (size > 0 && bytes[size - 1] == ' ') {
        --size;
    }
    return bytes.first(size).toByteArray();
}

// A test hook: a store that stops dead after this many rows, as a power loss would.
int killAfterRows() {
    bool ok = false;
    const int rows = qEnvironmentVariableIntValue("VELTRANE_ARCHIVE_KILL_AFTER", &ok);
    return ok ? rows : -1;
}

int sourceNumber(RecordingSource source) {
    switch (source) {
        case RecordingSource::RealTime:
            return 1;
        case RecordingSource::File:
            return 2;
        case RecordingSource::Download:
            break;
    }
    return 0;
}

QString insertStatement(int rows) {
    QString sql = QStringLiteral(
        "INSERT INTO samples (recording_id, time, record, temperature, humidity, series, remarks)"
        " VALUES ");
    for (int i = 0; i < rows; ++i) {
        sql += i == 0 ? QStringLiteral("(?,?,?,?,?,?,?)") : QStringLiteral(",(?,?,?,?,?,?,?)");
    }
    return sql + QStringLiteral(" ON CONFLICT (recording_id, time) DO NOTHING");
}

}  // namespace

ArchiveError Archive::Impl::insertRows(qint64 id, const std::vector<Row>& rows, int& added) const {
    added = 0;
    const int killAfter = killAfterRows();
    QSqlQuery full(db());
    if (!full.prepare(insertStatement(kRowsPerInsert))) {
        return fault(full.lastError(), QStringLiteral("prepare insert"));
    }
    std::size_t next = 0;
    while (next < rows.size()) {
        const int count =
            static_cast<int>(std::min<std::size_t>(kRowsPerInsert, rows.size() - next));
        QSqlQuery partial(db());
        QSqlQuery& query = count == kRowsPerInsert ? full : partial;
        if (count != kRowsPerInsert && !query.prepare(insertStatement(count))) {
            return fault(query.lastError(), QStringLiteral("prepare insert"));
        }
        int slot = 0;
        for (int i = 0; i < count; ++i) {
            const Row& row = rows[next + i];
            query.bindValue(slot++, id);
            query.bindValue(slot++, row.time);
            query.bindValue(slot++, row.record);
            query.bindValue(slot++, row.temperature);
            query.bindValue(slot++, row.humidity);
            query.bindValue(slot++, row.series);
            query.bindValue(slot++, row.remarks);
        }
        if (!query.exec()) {
            return fault(query.lastError(), QStringLiteral("insert samples"));
        }
        added += std::max(0, query.numRowsAffected());
        next += count;
        if (killAfter >= 0 && next >= static_cast<std::size_t>(killAfter)) {
            std::raise(SIGKILL);
        }
    }
    return {};
}

ArchiveError Archive::Impl::storeOnce(const std::vector<Row>& rows, const DataSet& set,
                                      const RunFacts& facts, qint64 start,
                                      StoreResult& result) const {
    const QVariantList identity{set.model, set.identName, set.interval, start};
    ArchiveError error = run(
        QStringLiteral(
            "INSERT INTO recordings (model, name, interval_seconds, start_time, memory_mode,"
            " upper_bound, lower_bound, upper_on, lower_on, created, source)"
            " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"
            " ON CONFLICT (model, name, interval_seconds, start_time) DO NOTHING"),
        identity + QVariantList{int{facts.memoryMode}, int{set.upperBound}, int{set.lowerBound},
                                set.upperOn != 0 ? 1 : 0, set.lowerOn != 0 ? 1 : 0,
                                QDateTime::currentMSecsSinceEpoch(), sourceNumber(facts.source)});
    QSqlQuery query(db());
    if (error.ok()) {
        error = run(query,
                    QStringLiteral("SELECT id FROM recordings WHERE model = ? AND name = ? AND"
                                   " interval_seconds = ? AND start_time = ?"),
                    identity);
    }
    if (!error.ok()) {
        return error;
    }
    if (!query.next()) {
        return {ArchiveErrorKind::Failed, QStringLiteral("the recording vanished")};
    }
    const qint64 id = query.value(0).toLongLong();
    // Writers of one recording take turns from here: the summary below counts every sample
    // the other committed.
    error =
        run(QStringLiteral("UPDATE recordings SET points = points WHERE id = ?"), {qlonglong{id}});
    int added = 0;
    if (error.ok()) {
        error = insertRows(id, rows, added);
    }
    if (error.ok()) {
        error = run(
            QStringLiteral("UPDATE recordings SET (first_time, last_time, points, min_temperature,"
                           " max_temperature, min_humidity, max_humidity) = (SELECT MIN(time),"
                           " MAX(time), COUNT(*), MIN(temperature), MAX(temperature),"
                           " MIN(humidity), MAX(humidity) FROM samples WHERE recording_id = ?)"
                           " WHERE id = ?"),
            {id, id});
    }
    if (error.ok()) {
        error = run(query, QStringLiteral("SELECT points FROM recordings WHERE id = ?"),
                    {qlonglong{id}});
    }
    if (!error.ok()) {
        return error;
    }
    result.recordingId = id;
    result.added = added;
    result.points = query.next() ? query.value(0).toInt() : 0;
    return run(QStringLiteral("COMMIT"));
}

ArchiveError Archive::store(DataSet& set, const RunFacts& facts, StoreResult* result) {
    if (!impl_->open) {
        return {ArchiveErrorKind::Unreachable, QStringLiteral("the archive is not open")};
    }
    if (impl_->readOnly) {
        return {ArchiveErrorKind::ReadOnly, QStringLiteral("the archive is opened read-only")};
    }
    if (set.count <= 0) {
        return {ArchiveErrorKind::Invalid, QStringLiteral("an empty data set")};
    }
    QByteArray records;
    if (set.file.readRecords(1, set.count, records) != DataError::None) {
        return {ArchiveErrorKind::Invalid, QStringLiteral("the data set cannot be read")};
    }
    std::vector<Row> rows(static_cast<std::size_t>(set.count));
    qint64 first = 0;
    for (int i = 0; i < set.count; ++i) {
        const ScratchFile::Fields fields =
            ScratchFile::fieldsOf(records.constData() + i * ScratchFile::kRecordSize);
        if (!std::isfinite(fields.dateTime) || std::abs(fields.dateTime) > 1e7) {
            return {ArchiveErrorKind::Invalid, QStringLiteral("a sample without a valid time")};
        }
        Row& row = rows[static_cast<std::size_t>(i)];
        row.time = toMilliseconds(fields.dateTime);
        row.record = fields.index;
        row.temperature = fields.temperature;
        row.humidity = fields.humidity;
        row.series = static_cast<int>(std::lround(fields.series));
        row.remarks = withoutTrailingSpaces(fields.remarks);
        first = i == 0 ? row.time : std::min(first, row.time);
    }
    const qint64 start =
        facts.startTime > 0 && std::isfinite(facts.startTime) && facts.startTime < 1e7
            ? toMilliseconds(facts.startTime)
            : first;
    StoreResult stored;
    ArchiveError error;
    for (int attempt = 0; attempt < kStoreAttempts; ++attempt) {
        impl_->lastDriverError = QSqlError();
        error = impl_->begin();
        if (error.ok()) {
            error = impl_->storeOnce(rows, set, facts, start, stored);
        }
        if (error.ok()) {
            break;
        }
        impl_->rollback();
        if (!archiveschema::retryable(impl_->engine, impl_->lastDriverError)) {
            break;
        }
    }
    if (error.ok() && result != nullptr) {
        *result = stored;
    }
    return error;
}

ArchiveError Archive::remove(std::int64_t id) {
    if (!impl_->open) {
        return {ArchiveErrorKind::Unreachable, QStringLiteral("the archive is not open")};
    }
    if (impl_->readOnly) {
        return {ArchiveErrorKind::ReadOnly, QStringLiteral("the archive is opened read-only")};
    }
    ArchiveError error = impl_->begin();
    if (!error.ok()) {
        return error;
    }
    QSqlQuery query(impl_->db());
    error =
        impl_->run(QStringLiteral("DELETE FROM samples WHERE recording_id = ?"), {qlonglong{id}});
    if (error.ok()) {
        error = impl_->run(query, QStringLiteral("DELETE FROM recordings WHERE id = ?"),
                           {qlonglong{id}});
    }
    if (error.ok() && query.numRowsAffected() == 0) {
        error = {ArchiveErrorKind::NotFound, QStringLiteral("no recording %1").arg(id)};
    }
    if (error.ok()) {
        error = impl_->run(QStringLiteral("COMMIT"));
    }
    if (!error.ok()) {
        impl_->rollback();
    }
    return error;
}

ArchiveError Archive::importCsv(const QString& path, const CsvTexts& texts, StoreResult* result) {
    QTemporaryDir folder;
    DataSet set;
    if (!folder.isValid() || !set.file.open(folder.filePath(QStringLiteral("import.rand")))) {
        return {ArchiveErrorKind::Failed, QStringLiteral("no scratch file for the import")};
    }
    CsvHeader header;
    const CsvError read = openCsv(path, set, texts, header);
    if (read != CsvError::None) {
        set.file.close();
        return {ArchiveErrorKind::Invalid, path + QStringLiteral(" cannot be read as a data file")};
    }
    RunFacts facts;
    facts.source = RecordingSource::File;
    facts.startTime = header.startTime;
    ArchiveError error = store(set, facts, result);
    set.file.close();
    return error;
}
