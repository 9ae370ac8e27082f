// JSON and TSV forms of samples; see sampleformat.h.
#include "cli/sampleformat.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <cmath>

#include "data/datetime.h"

namespace {

// A JSON string with its quotes and escapes, as Qt writes it.
QByteArray jsonString(const QString& text) {
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return array.mid(1, array.size() - 2);
}

QByteArray sampleObject(int record, const Sample& sample) {
    return "{\"record\": " + QByteArray::number(record) + ", \"time\": \"" +
           isoTime(sample.dateTime).toLatin1() +
           "\", \"temperature\": " + plainHundredths(sample.temperature).toLatin1() +
           ", \"humidity\": " + plainHundredths(sample.humidity).toLatin1() +
           ", \"series\": " + QByteArray::number(static_cast<int>(sample.series)) + '}';
}

}  // namespace

QString isoTime(double days) {
    return datetime::format(days, QStringLiteral("yyyy-MM-dd'T'HH:mm:ss"));
}

QString plainHundredths(float value) {
    const double scaled = static_cast<double>(value) * 100.0;
    if (!std::isfinite(scaled)) {
        return QStringLiteral("null");
    }
    const long long hundredths = std::llround(scaled);
    const long long magnitude = hundredths < 0 ? -hundredths : hundredths;
    return (hundredths < 0 ? QStringLiteral("-") : QString()) + QString::number(magnitude / 100) +
           u'.' + QStringLiteral("%1").arg(magnitude % 100, 2, 10, QLatin1Char('0'));
}

QByteArray tsvHeaderLine() {
    return "record\ttime\ttemperature\thumidity\tseries\n";
}

QByteArray tsvLine(int record, const Sample& sample) {
    return QByteArray::number(record) + '\t' + isoTime(sample.dateTime).toLatin1() + '\t' +
           plainHundredths(sample.temperature).toLatin1() + '\t' +
           plainHundredths(sample.humidity).toLatin1() + '\t' +
           QByteArray::number(static_cast<int>(sample.series)) + '\n';
}

QByteArray jsonLine(int record, const Sample& sample) {
    return sampleObject(record, sample) + '\n';
}

std::optional<QByteArray> jsonDocument(const SampleHeader& header, DataSet& set) {
    QByteArray out = "{\n  \"model\": " + jsonString(header.model) +
                     ",\n  \"name\": " + jsonString(header.name) +
                     ",\n  \"interval_seconds\": " + QByteArray::number(header.intervalSeconds) +
                     ",\n  \"samples\": [";
    Sample sample;
    for (int record = 1; record <= set.count; ++record) {
        if (set.read(record, sample) != DataError::None) {
            return std::nullopt;
        }
        out += (record > 1 ? ",\n    " : "\n    ") + sampleObject(record, sample);
    }
    out += set.count > 0 ? "\n  ]\n}\n" : "]\n}\n";
    return out;
}

std::optional<QByteArray> tsvDocument(DataSet& set) {
    QByteArray out = tsvHeaderLine();
    Sample sample;
    for (int record = 1; record <= set.count; ++record) {
        if (set.read(record, sample) != DataError::None) {
            return std::nullopt;
        }
        out += tsvLine(record, sample);
    }
    return out;
}
