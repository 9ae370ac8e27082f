// Data set array, statistics over scratch records and extreme marking.
#include "data/datasets.h"

#include <QDir>
#include <algorithm>

namespace {

QString trimSpaces(const QString& text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first] == u' ') {
        ++first;
    }
    while (last > first && text[last - 1] == u' ') {
        --last;
    }
    return text.mid(first, last - first);
}

std::array<int, 4> extremeRecords(const SampleStats& stats) {
    return {stats.maxTemperatureRecord, stats.minTemperatureRecord, stats.maxHumidityRecord,
            stats.minHumidityRecord};
}

}  // namespace

QString DataSets::scratchName(DataSetIndex index) {
    switch (index) {
        case LogData:
            return QStringLiteral("log.rand");
        case RealTimeData:
            return QStringLiteral("real.rand");
        case FileData:
            return QStringLiteral("read.rand");
    }
    return QString();
}

bool DataSets::open(const QString& directory) {
    const QDir dir(directory);
    bool ok = true;
    for (int i = 0; i < kSetCount; ++i) {
        DataSet& set = sets_[i];
        set.fileSlot = static_cast<std::int16_t>(i);
        set.count = 0;
        ok = set.file.open(dir.filePath(scratchName(static_cast<DataSetIndex>(i)))) && ok;
    }
    ok = disp_.open(dir.filePath(QStringLiteral("disp.rand"))) && ok;
    return ok;
}

void DataSets::close() {
    for (DataSet& set : sets_) {
        set.file.close();
    }
    disp_.close();
}

bool DataSets::removeFiles() {
    bool ok = sets_[RealTimeData].file.remove();
    ok = sets_[LogData].file.remove() && ok;
    ok = disp_.remove() && ok;
    ok = sets_[FileData].file.remove() && ok;
    return ok;
}

DataSet* DataSets::at(int index) {
    return index >= 0 && index < kSetCount ? &sets_[index] : nullptr;
}

void DataSets::clearForCommunication() {
    for (DataSetIndex index : {LogData, RealTimeData}) {
        DataSet& set = sets_[index];
        set.count = 0;
        set.unsaved = false;
        set.stats.reset();
        set.windowStats.reset();
    }
}

DataError collectStats(DataSet& set, int first, int last, SampleStats& stats) {
    stats.reset();
    first = std::max(first, 1);
    last = std::min(last, static_cast<int>(set.count));
    Sample sample;
    for (int record = first; record <= last; ++record) {
        const DataError error = set.read(record, sample);
        if (error != DataError::None) {
            return error;
        }
        stats.update(sample);
    }
    return DataError::None;
}

DataError recomputeStats(DataSet& set) {
    return collectStats(set, 1, set.count, set.stats);
}

DataError markExtremesInFile(DataSet& set, const ExtremeLabels& labels) {
    const std::array<int, 4> records = extremeRecords(set.stats);
    Sample sample;
    for (std::size_t i = 0; i < records.size(); ++i) {
        // Statistics that never saw a sample name no record.
        if (records[i] < 1 || records[i] > set.count) {
            continue;
        }
        DataError error = set.read(records[i], sample);
        if (error == DataError::None) {
            sample.setRemarks(trimSpaces(sample.remarksText()) + labels[i]);
            error = set.write(records[i], sample);
        }
        if (error != DataError::None) {
            return error;
        }
    }
    return DataError::None;
}

std::vector<QString> markExtremesInTable(DataSet& set, const std::vector<int>& rowRecords,
                                         const ExtremeLabels& labels, DataError& error) {
    error = DataError::None;
    const std::array<int, 4> extremes = extremeRecords(set.stats);
    std::vector<QString> remarks;
    remarks.reserve(rowRecords.size());
    Sample sample;
    for (int record : rowRecords) {
        if (record < 1 || record > set.count) {
            remarks.emplace_back();
            continue;
        }
        QString remark;
        for (std::size_t i = 0; i < extremes.size(); ++i) {
            if (extremes[i] == record) {
                remark += labels[i];
            }
        }
        DataError step = set.read(record, sample);
        if (step == DataError::None) {
            sample.setRemarks(remark);
            step = set.write(record, sample);
        }
        if (step != DataError::None) {
            if (error == DataError::None) {
                error = step;
            }
            remarks.emplace_back();
            continue;
        }
        remarks.push_back(sample.remarksText());
    }
    return remarks;
}
