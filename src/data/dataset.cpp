// Scratch record files: fixed 84-byte little-endian records addressed from 1, and appending
// to a data set.
#include "data/dataset.h"

#include <QtEndian>
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
    if (file_.isOpen()) {
        file_.close();
    }
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
    if (!validRecord(record)) {
        return DataError::Range;
    }
    if (!file_.isOpen()) {
        return DataError::Io;
    }
    if (!seekTo(recordOffset(record))) {
        return DataError::Io;
    }
    return file_.write(encode(sample)) == kRecordSize ? DataError::None : DataError::Io;
}

bool ScratchFile::remove() {
    close();
    return file_.fileName().isEmpty() || !file_.exists() || file_.remove();
}

QByteArray ScratchFile::encode(const Sample& sample) {
    QByteArray bytes(kRecordSize, '\0');
    char* data = bytes.data();
    qToLittleEndian(sample.temperature, data + kTemperatureAt);
    qToLittleEndian(sample.humidity, data + kHumidityAt);
    qToLittleEndian(sample.dateTime, data + kDateTimeAt);
    qToLittleEndian(sample.series, data + kSeriesAt);
    const QByteArray remarks = sample.remarks.left(Sample::kRemarksLength);
    std::memset(data + kRemarksAt, ' ', Sample::kRemarksLength);
    std::memcpy(data + kRemarksAt, remarks.constData(), remarks.size());
    qToLittleEndian(sample.index, data + kIndexAt);
    std::memcpy(data + kRawAt, sample.raw.data(), sample.raw.size());
    return bytes;
}

bool ScratchFile::decode(const QByteArray& bytes, Sample& sample) {
    if (bytes.size() != kRecordSize) {
        return false;
    }
    const char* data = bytes.constData();
    sample.temperature = qFromLittleEndian<float>(data + kTemperatureAt);
    sample.humidity = qFromLittleEndian<float>(data + kHumidityAt);
    sample.dateTime = qFromLittleEndian<double>(data + kDateTimeAt);
    sample.series = qFromLittleEndian<float>(data + kSeriesAt);
    sample.remarks = QByteArray(data + kRemarksAt, Sample::kRemarksLength);
    sample.index = qFromLittleEndian<std::int16_t>(data + kIndexAt);
    std::memcpy(sample.raw.data(), data + kRawAt, sample.raw.size());
    return true;
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
