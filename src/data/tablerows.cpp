// Rows, cell texts, text sorting and the extreme marking of one data table.
#include "data/tablerows.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "data/datasets.h"
#include "data/datetime.h"

namespace {

constexpr int kCacheRows = 2048;
constexpr Msg kCaptions[TableRows::kColumnCount] = {
    Msg::TableRecordNumberColumn, Msg::TableDateColumn, Msg::TableTemperatureColumn,
    Msg::TableHumidityColumn, Msg::TableRemarksColumn};
// 10000-01-01 as a day count: dates from it on (or as far before the base) are not shown.
constexpr double kDayAfterLast = 2958466.0;

QString recordText(int record) {
    return QStringLiteral("%1").arg(record, 5, 10, QLatin1Char('0'));
}

}  // namespace

TableRows::TableRows(DataSet& dataSet, const MessageTable& messages)
    : dataSet_(dataSet), messages_(messages), cache_(kCacheRows) {
    refreshCaptions();
}

QString TableRows::cellText(int column, int record, const Sample& sample) {
    switch (column) {
        case RecordColumn:
            return recordText(record);
        case DateColumn:
            // A record holding no real date (not finite, or past the year 9999 either way) shows
            // an empty date rather than feeding the conversion a value it cannot hold.
            if (!std::isfinite(sample.dateTime) || std::fabs(sample.dateTime) >= kDayAfterLast) {
                return {};
            }
            return datetime::format(sample.dateTime, QStringLiteral("yyyy/MM/dd HH:mm:ss"));
        case TemperatureColumn:
            return QString::number(static_cast<double>(sample.temperature), 'f', 2);
        case HumidityColumn:
            return QString::number(static_cast<double>(sample.humidity), 'f', 2);
        case RemarksColumn:
            return sample.remarksText();
        default:
            return {};
    }
}

QStringList TableRows::cellTexts(int record, const Sample& sample) {
    QStringList texts;
    for (int column = 0; column < kColumnCount; ++column) {
        texts.append(cellText(column, record, sample));
    }
    return texts;
}

void TableRows::fill() {
    cache_.clear();
    rows_.clear();
    const int count = std::max<int>(dataSet_.count, 0);
    rows_.reserve(static_cast<std::size_t>(count));
    for (int record = 1; record <= count; ++record) {
        rows_.push_back({record, QString()});
    }
    marksKnown_ = false;
    pendingMarks_.clear();
    refreshKeys();
    std::stable_sort(rows_.begin(), rows_.end(),
                     [this](const Row& a, const Row& b) { return rowLess(a, b); });
}

void TableRows::clear() {
    cache_.clear();
    rows_.clear();
    marksKnown_ = true;
    pendingMarks_.clear();
}

void TableRows::appendNewest(const std::function<void(int row)>& aboutToInsert) {
    const int record = dataSet_.count;
    if (record <= 0) {
        return;
    }
    cache_.remove(record);
    const Row row{record, keyFor(record)};
    const auto place =
        std::upper_bound(rows_.begin(), rows_.end(), row,
                         [this](const Row& a, const Row& b) { return rowLess(a, b); });
    aboutToInsert(static_cast<int>(place - rows_.begin()));
    rows_.insert(place, row);
    pendingMarks_.insert(record);
}

TableRows::Marking TableRows::markExtremes() {
    const SampleStats& stats = dataSet_.stats;
    const std::set<int> extremes{stats.maxTemperatureRecord, stats.minTemperatureRecord,
                                 stats.maxHumidityRecord, stats.minHumidityRecord};
    // Only rows that carried a label, were added since, or carry one now can change; after a
    // fill every row is looked at once.
    std::vector<int> rows;
    std::vector<int> records;
    for (int row = 0; row < count(); ++row) {
        const int record = rows_[static_cast<std::size_t>(row)].record;
        if (!marksKnown_ || extremes.count(record) != 0 || pendingMarks_.count(record) != 0) {
            rows.push_back(row);
            records.push_back(record);
        }
    }
    const ExtremeLabels labels{
        messages_.text(Msg::MaxTemperatureLabel), messages_.text(Msg::MinTemperatureLabel),
        messages_.text(Msg::MaxHumidityLabel), messages_.text(Msg::MinHumidityLabel)};
    Marking marking;
    const std::vector<QString> remarks =
        markExtremesInTable(dataSet_, records, labels, marking.error);
    for (std::size_t i = 0; i < rows.size() && i < remarks.size(); ++i) {
        Row& row = rows_[static_cast<std::size_t>(rows[i])];
        cache_.remove(row.record);
        marking.relabelled.push_back(rows[i]);
        if (sortColumn_ == RemarksColumn) {
            QString key = remarks[i].toCaseFolded();
            marking.keysChanged = marking.keysChanged || key != row.key;
            row.key = std::move(key);
        }
    }
    pendingMarks_ = extremes;
    if (marking.error != DataError::None) {
        // A row that could not be relabelled may still carry an old label: look again next time.
        pendingMarks_.insert(records.begin(), records.end());
    }
    marksKnown_ = true;
    return marking;
}

bool TableRows::setSortKey(int column, SortOrder order) {
    if (column < 0 || column >= kColumnCount) {
        return false;
    }
    const bool newColumn = column != sortColumn_;
    sortColumn_ = column;
    sortOrder_ = order;
    if (newColumn) {
        refreshKeys();
    }
    return true;
}

bool TableRows::headerClicked(int section) {
    if (section < 0 || section >= kColumnCount) {
        return false;
    }
    const int column = static_cast<int>(captions_.indexOf(captions_[section]));
    if (column == sortColumn_) {
        return setSortKey(column, sortOrder_ == Ascending ? Descending : Ascending);
    }
    return setSortKey(column, sortOrder_);
}

std::vector<int> TableRows::sort() {
    std::vector<int> order(rows_.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [this](int a, int b) {
        return rowLess(rows_[static_cast<std::size_t>(a)], rows_[static_cast<std::size_t>(b)]);
    });
    std::vector<Row> sorted;
    sorted.reserve(rows_.size());
    std::vector<int> newPosition(rows_.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        newPosition[static_cast<std::size_t>(order[i])] = static_cast<int>(i);
        sorted.push_back(std::move(rows_[static_cast<std::size_t>(order[i])]));
    }
    rows_ = std::move(sorted);
    return newPosition;
}

int TableRows::recordAt(int row) const {
    if (row < 0 || row >= count()) {
        return 0;
    }
    return rows_[static_cast<std::size_t>(row)].record;
}

QString TableRows::cellText(int row, int column) const {
    const int record = recordAt(row);
    if (record == 0 || column < 0 || column >= kColumnCount) {
        return {};
    }
    if (column == RecordColumn) {
        return recordText(record);
    }
    const QStringList* texts = rowTexts(record);
    return texts != nullptr ? texts->at(column) : QString();
}

QString TableRows::statusText(int row) const {
    return messages_.text(Msg::ReadOutDateLabel) + cellText(row, DateColumn) +
           messages_.text(Msg::ReadOutTemperatureLabel) + cellText(row, TemperatureColumn) +
           messages_.text(Msg::ReadOutHumidityLabel) + cellText(row, HumidityColumn) +
           messages_.text(Msg::ReadOutHumidityUnit);
}

void TableRows::refreshCaptions() {
    captions_.clear();
    for (const Msg caption : kCaptions) {
        captions_.append(messages_.text(caption));
    }
}

const QStringList* TableRows::rowTexts(int record) const {
    if (const QStringList* cached = cache_.object(record)) {
        return cached;
    }
    Sample sample;
    if (dataSet_.read(record, sample) != DataError::None) {
        return nullptr;
    }
    auto* texts = new QStringList(cellTexts(record, sample));
    cache_.insert(record, texts);
    return texts;
}

QString TableRows::keyFor(int record) const {
    if (sortColumn_ == RecordColumn) {
        return {};
    }
    const QStringList* texts = rowTexts(record);
    return texts != nullptr ? texts->at(sortColumn_).toCaseFolded() : QString();
}

bool TableRows::rowLess(const Row& a, const Row& b) const {
    // The record number's five-digit text sorts like the number itself.
    const int order = sortColumn_ == RecordColumn ? (a.record > b.record) - (a.record < b.record)
                                                  : a.key.compare(b.key, Qt::CaseSensitive);
    return sortOrder_ == Ascending ? order < 0 : order > 0;
}

void TableRows::refreshKeys() {
    if (sortColumn_ == RecordColumn) {
        for (Row& row : rows_) {
            row.key.clear();
        }
        return;
    }
    // A full pass would only churn the row cache, so the keys are read without it, in record
    // order: the scratch file then reads on without seeking.
    std::vector<std::size_t> byRecord(rows_.size());
    std::iota(byRecord.begin(), byRecord.end(), std::size_t{0});
    std::sort(byRecord.begin(), byRecord.end(),
              [this](std::size_t a, std::size_t b) { return rows_[a].record < rows_[b].record; });
    Sample sample;
    for (std::size_t i : byRecord) {
        Row& row = rows_[i];
        row.key = dataSet_.read(row.record, sample) == DataError::None
                      ? cellText(sortColumn_, row.record, sample).toCaseFolded()
                      : QString();
    }
}
