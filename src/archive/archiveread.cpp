// Reading the archive: the history list, one recording's summary, and a recording loaded into
// a data set the way a CSV file would fill it.
#include <algorithm>

#include "archive/archiveimpl.h"

using archivedetail::toDays;
using archivedetail::toMilliseconds;

namespace {

const char* const kSummaryColumns =
    "SELECT id, source, model, name, start_time, interval_seconds, memory_mode, upper_bound,"
    " lower_bound, upper_on, lower_on, first_time, last_time, points, min_temperature,"
    " max_temperature, min_humidity, max_humidity, created FROM recordings";

RecordingSummary summaryOf(const QSqlQuery& query) {
    RecordingSummary s;
    s.id = query.value(0).toLongLong();
    const int source = query.value(1).toInt();
    s.source = source == 1   ? RecordingSource::RealTime
               : source == 2 ? RecordingSource::File
                             : RecordingSource::Download;
    s.model = query.value(2).toString();
    s.name = query.value(3).toString();
    s.startTime = toDays(query.value(4).toLongLong());
    s.interval = query.value(5).toInt();
    s.memoryMode = static_cast<std::uint8_t>(query.value(6).toInt());
    s.upperBound = static_cast<std::int16_t>(query.value(7).toInt());
    s.lowerBound = static_cast<std::int16_t>(query.value(8).toInt());
    s.upperOn = query.value(9).toInt() != 0;
    s.lowerOn = query.value(10).toInt() != 0;
    s.firstTime = toDays(query.value(11).toLongLong());
    s.lastTime = toDays(query.value(12).toLongLong());
    s.points = query.value(13).toInt();
    s.minTemperature = query.value(14).toDouble();
    s.maxTemperature = query.value(15).toDouble();
    s.minHumidity = query.value(16).toDouble();
    s.maxHumidity = query.value(17).toDouble();
    s.created = QDateTime::fromMSecsSinceEpoch(query.value(18).toLongLong(), Qt::UTC);
    return s;
}

}  // namespace

ArchiveError Archive::list(const HistoryFilter& filter, std::vector<RecordingSummary>& recordings) {
    recordings.clear();
    if (!impl_->open) {
        return {ArchiveErrorKind::Unreachable, QStringLiteral("the archive is not open")};
    }
    QString sql = QString::fromLatin1(kSummaryColumns) + QStringLiteral(" WHERE 1 = 1");
    QVariantList values;
    if (!filter.nameContains.isEmpty()) {
        QString pattern = filter.nameContains.toLower();
        pattern.replace(u'\\', QLatin1String("\\\\"))
            .replace(u'%', QLatin1String("\\%"))
            .replace(u'_', QLatin1String("\\_"));
        sql += QStringLiteral(" AND LOWER(name) LIKE ? ESCAPE '\\'");
        values << u'%' + pattern + u'%';
    }
    if (filter.from > 0) {
        sql += QStringLiteral(" AND last_time >= ?");
        values << toMilliseconds(filter.from);
    }
    if (filter.to > 0) {
        sql += QStringLiteral(" AND first_time <= ?");
        values << toMilliseconds(filter.to);
    }
    sql += QStringLiteral(" ORDER BY start_time DESC, id DESC");
    if (filter.limit > 0) {
        sql += QStringLiteral(" LIMIT %1").arg(filter.limit);
    }
    QSqlQuery query(impl_->db());
    query.setForwardOnly(true);
    if (ArchiveError error = impl_->run(query, sql, values); !error.ok()) {
        return error;
    }
    while (query.next()) {
        recordings.push_back(summaryOf(query));
    }
    return {};
}

ArchiveError Archive::summary(std::int64_t id, RecordingSummary& recording) {
    if (!impl_->open) {
        return {ArchiveErrorKind::Unreachable, QStringLiteral("the archive is not open")};
    }
    QSqlQuery query(impl_->db());
    if (ArchiveError error = impl_->run(
            query, QString::fromLatin1(kSummaryColumns) + QStringLiteral(" WHERE id = ?"),
            {qlonglong{id}});
        !error.ok()) {
        return error;
    }
    if (!query.next()) {
        return {ArchiveErrorKind::NotFound, QStringLiteral("no recording %1").arg(id)};
    }
    recording = summaryOf(query);
    return {};
}

ArchiveError Archive::load(std::int64_t id, DataSet& set, LoadResult* result) {
    RecordingSummary recording;
    if (ArchiveError error = summary(id, recording); !error.ok()) {
        return error;
    }
    QSqlQuery query(impl_->db());
    query.setForwardOnly(true);
    // Newest first, so that a recording longer than a data set keeps its latest samples.
    if (ArchiveError error = impl_->run(
            query,
            QStringLiteral("SELECT time, temperature, humidity, series, remarks FROM samples"
                           " WHERE recording_id = ? ORDER BY time DESC LIMIT %1")
                .arg(DataSet::kMaxCount),
            {qlonglong{id}});
        !error.ok()) {
        return error;
    }
    std::vector<Sample> samples;
    samples.reserve(static_cast<std::size_t>(std::min(recording.points, DataSet::kMaxCount)));
    while (query.next()) {
        Sample sample;
        sample.dateTime = toDays(query.value(0).toLongLong());
        sample.temperature = static_cast<float>(query.value(1).toDouble());
        sample.humidity = static_cast<float>(query.value(2).toDouble());
        sample.series = static_cast<float>(query.value(3).toInt());
        // Empty remarks are kept as nothing at all; the sample's own are all spaces already.
        if (const QByteArray remarks = query.value(4).toByteArray(); !remarks.isEmpty()) {
            sample.setRemarkBytes(remarks);
        }
        samples.push_back(std::move(sample));
    }
    std::reverse(samples.begin(), samples.end());
    QByteArray records(static_cast<qsizetype>(samples.size()) * ScratchFile::kRecordSize, '\0');
    SampleStats stats;
    stats.reset();
    for (std::size_t i = 0; i < samples.size(); ++i) {
        samples[i].index = static_cast<std::int16_t>(i + 1);
        ScratchFile::encodeInto(
            samples[i], records.data() + static_cast<qsizetype>(i) * ScratchFile::kRecordSize);
        stats.update(samples[i]);
    }
    if (!records.isEmpty() && set.file.writeRecords(1, records) != DataError::None) {
        return {ArchiveErrorKind::Failed, QStringLiteral("the data set cannot be written")};
    }
    set.count = static_cast<std::int16_t>(samples.size());
    set.drawnCount = 0;
    set.stats = stats;
    set.windowStats.reset();
    set.interval = recording.interval;
    set.upperBound = recording.upperBound;
    set.upperOn = recording.upperOn ? 1 : 0;
    set.upperRaw = 0;
    set.lowerBound = recording.lowerBound;
    set.lowerOn = recording.lowerOn ? 1 : 0;
    set.lowerRaw = 0;
    set.model = recording.model;
    set.identName = recording.name;
    set.unsaved = false;
    set.neverDownloaded = false;
    if (result != nullptr) {
        result->points = recording.points;
        result->leftOut = std::max(0, recording.points - set.count);
    }
    return {};
}
