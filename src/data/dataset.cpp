// Scratch record files: fixed 84-byte little-endian records addressed from 1, and appending
// to a data set.
#include "data/dataset.h"

#include <QtEndian>
#include <algorithm>
#include <cstring>

namespace {

constexpr int kTemperatureAt = 0;
constexpr int kHumidityAt = 4;
constexpr int kDateTimeAt = 16;
constexpr int kSeriesAt = 24;
constexpr int kRemarksAt = 28;
constexpr int kIndexAt = 78;
constexpr int kRawAt = 80;

bool validRecord(int record) {
    return record >= 1 && record <= DataSet::kMaxCount;
}

qint64 recordOffset(int record) {
    return static_cast<qint64>(record - 1) * ScratchFile::kRecordSize;
}

}  // namespace

bool ScratchFile::open(const QString& path) {
    close();
    file_.setFileName(path);
    return file_.open(QIODevice::ReadWrite);
}

void ScratchFile::close() {
    unmap();
    if (file_.isOpen()) {
        file_.close();
    }
}

void ScratchFile::unmap() {
    if (map_ != nullptr) {
        file_.unmap(map_);
    }
    map_ = nullptr;
    mapSize_ = 0;
}

const char* ScratchFile::mapped(int record) {
    const qint64 end = recordOffset(record) + kRecordSize;
    if (unflushed_) {
        file_.flush();
        unflushed_ = false;
    }
    if (end > mapSize_) {
        // The file grew since it was mapped: the whole of it is mapped afresh.
        unmap();
        const qint64 size = file_.size();
        if (size >= end) {
            map_ = file_.map(0, size);
            mapSize_ = map_ != nullptr ? size : 0;
        }
    }
    return end <= mapSize_ ? reinterpret_cast<const char*>(map_) + recordOffset(record) : nullptr;
}

// A seek drops the file's buffer, so records visited in order are read and written without
// one.
bool ScratchFile::seekTo(qint64 offset) {
    return file_.pos() == offset || file_.seek(offset);
}

bool ScratchFile::isOpen() const {
    return file_.isOpen();
}

QString ScratchFile::path() const {
    return file_.fileName();
}

DataError ScratchFile::read(int record, Sample& sample) {
    if (!validRecord(record)) {
        return DataError::Range;
    }
    if (!file_.isOpen()) {
        return DataError::Io;
    }
    if (const char* bytes = mapped(record)) {
        decodeInto(bytes, sample);
        return DataError::None;
    }
    // A seek beyond the end succeeds; a record there was never written and reads short.
    if (!seekTo(recordOffset(record))) {
        return DataError::Io;
    }
    const QByteArray bytes = file_.read(kRecordSize);
    if (!decode(bytes, sample)) {
        sample = Sample();
        return DataError::Range;
    }
    return DataError::None;
}

DataError ScratchFile::write(int record, const Sample& sample) {
    char bytes[kRecordSize];
    encodeInto(sample, bytes);
    return writeRecords(record, QByteArrayView(bytes, kRecordSize));
}

DataError ScratchFile::readFields(int record, Fields& fields) {
    if (!validRecord(record)) {
        return DataError::Range;
    }
    if (!file_.isOpen()) {
        return DataError::Io;
    }
    if (const char* bytes = mapped(record)) {
        fields = fieldsOf(bytes);
        return DataError::None;
    }
    // Without a map (or beyond the file) the record is read as a sample.
    Sample sample;
    const DataError error = read(record, sample);
    fields = Fields{sample.temperature, sample.humidity, sample.dateTime, sample.series, {},
                    sample.index};
    return error;
}

bool ScratchFile::remove() {
    close();
    return file_.fileName().isEmpty() || !file_.exists() || file_.remove();
}

QByteArray ScratchFile::encode(const Sample& sample) {
    QByteArray bytes(kRecordSize, '\0');
    encodeInto(sample, bytes.data());
    return bytes;
}

void ScratchFile::encodeInto(const Sample& sample, char* data) {
    std::memset(data, 0, kRecordSize);
    qToLittleEndian(sample.temperature, data + kTemperatureAt);
    qToLittleEndian(sample.humidity, data + kHumidityAt);
    qToLittleEndian(sample.dateTime, data + kDateTimeAt);
    qToLittleEndian(sample.series, data + kSeriesAt);
    const qsizetype remarks = std::min<qsizetype>(sample.remarks.size(), Sample::kRemarksLength);
    std::memset(data + kRemarksAt, ' ', Sample::kRemarksLength);
    std::memcpy(data + kRemarksAt, sample.remarks.constData(), remarks);
    qToLittleEndian(sample.index, data + kIndexAt);
    std::memcpy(data + kRawAt, sample.raw.data(), sample.raw.size());
}

ScratchFile::Fields ScratchFile::fieldsOf(const char* data) {
    Fields f;
    f.temperature = qFromLittleEndian<float>(data + kTemperatureAt);
    f.humidity = qFromLittleEndian<float>(data + kHumidityAt);
    f.dateTime = qFromLittleEndian<double>(data + kDateTimeAt);
    f.series = qFromLittleEndian<float>(data + kSeriesAt);
    f.remarks = QByteArrayView(data + kRemarksAt, Sample::kRemarksLength);
    f.index = qFromLittleEndian<std::int16_t>(data + kIndexAt);
    return f;
}

DataError ScratchFile::readRecords(int first, int count, QByteArray& bytes) {
    bytes.clear();
    if (count < 0 || !validRecord(first) || (count > 0 && !validRecord(first + count - 1))) {
        return DataError::Range;
    }
    if (!file_.isOpen()) {
        return DataError::Io;
    }
    if (!seekTo(recordOffset(first))) {
        return DataError::Io;
    }
    const qint64 size = static_cast<qint64>(count) * kRecordSize;
    bytes.resize(size);
    const qint64 got = count > 0 ? file_.read(bytes.data(), size) : 0;
    if (got != size) {
        bytes.clear();
        return got < 0 ? DataError::Io : DataError::Range;
    }
    return DataError::None;
}

DataError ScratchFile::writeRecords(int first, QByteArrayView bytes) {
    const qsizetype count = bytes.size() / kRecordSize;
    if (bytes.size() % kRecordSize != 0 || !validRecord(first) ||
        (count > 0 && first + count - 1 > DataSet::kMaxCount)) {
        return DataError::Range;
    }
    if (!file_.isOpen()) {
        return DataError::Io;
    }
    if (!seekTo(recordOffset(first))) {
        return DataError::Io;
    }
    unflushed_ = true;
    return file_.write(bytes.data(), bytes.size()) == bytes.size() ? DataError::None
                                                                   : DataError::Io;
}

bool ScratchFile::decode(const QByteArray& bytes, Sample& sample) {
    if (bytes.size() != kRecordSize) {
        return false;
    }
    decodeInto(bytes.constData(), sample);
    return true;
}

void ScratchFile::decodeInto(const char* data, Sample& sample) {
    const Fields f = fieldsOf(data);
    f.copyTo(sample);
    // Copied into the sample's own remarks, which a reused sample keeps.
    sample.remarks.resize(Sample::kRemarksLength);
    std::memcpy(sample.remarks.data(), f.remarks.data(), Sample::kRemarksLength);
    std::memcpy(sample.raw.data(), data + kRawAt, sample.raw.size());
}

void ScratchFile::Fields::copyTo(Sample& sample) const {
    sample.temperature = temperature;
    sample.humidity = humidity;
    sample.dateTime = dateTime;
    sample.series = series;
    sample.index = index;
}

DataError DataSet::append(Sample& sample) {
    if (count >= kMaxCount) {
        return DataError::Overflow;
    }
    const auto next = static_cast<std::int16_t>(count + 1);
    sample.index = next;
    const DataError error = file.write(next, sample);
    if (error == DataError::None) {
        count = next;
    }
    return error;
}
