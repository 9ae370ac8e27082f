// CSV writing and reading with list-output and list-input rules.
#include "data/csv.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSaveFile>
#include <algorithm>
#include <cmath>
#include <limits>

#include "data/csvlines.h"
#include "data/datetime.h"
#include "data/listinput.h"
#include "data/regularfile.h"

namespace {

constexpr qsizetype kWriteChunk = 256 * 1024;
// Scratch records read at once while saving.
constexpr int kReadRecords = 4096;

QString quoted(const QString& text) {
    return u'"' + text + u'"';
}

// A number as text with a leading space when it is not negative.
QString numberText(qint64 value) {
    return value < 0 ? QString::number(value) : u' ' + QString::number(value);
}

QString boundText(bool on, std::int16_t bound) {
    return on ? QString::number(bound) : QStringLiteral("OFF");
}

class ChunkWriter {
  public:
    explicit ChunkWriter(QSaveFile& file, codepage::TextEncoding encoding)
        : file_(file), encoding_(encoding) {
        buffer_.reserve(kWriteChunk + kWriteChunk / 8);
    }

    void line(const QString& text) {
        buffer_ += codepage::encode(text + QLatin1String("\r\n"), encoding_);
        flushWhenFull();
    }
    // The line of one scratch record.
    void sample(int record, const ScratchFile::Fields& f) {
        if (!csvline::append(buffer_, record, f, encoding_)) {
            line(QString::number(record) + u',' + quoted(datetime::format(f.dateTime)) + u',' +
                 quoted(formatHundredths(f.temperature)) + u',' +
                 quoted(formatHundredths(f.humidity)) + u',' +
                 quoted(codepage::fromWindows1252(f.remarks.toByteArray())));
        }
        flushWhenFull();
    }

    bool flush() {
        ok_ = ok_ && file_.write(buffer_) == buffer_.size();
        // Emptied, its room kept for the next chunk.
        buffer_.resize(0);
        return ok_;
    }

  private:
    void flushWhenFull() {
        if (buffer_.size() >= kWriteChunk) {
            flush();
        }
    }

    QSaveFile& file_;
    codepage::TextEncoding encoding_;
    QByteArray buffer_;
    bool ok_ = true;
};

std::optional<std::int16_t> parseBound(const QString& item, bool& on) {
    const QString text = item.trimmed();
    on = false;
    if (text.isEmpty() || text == QLatin1String("OFF")) {
        return std::int16_t{0};
    }
    const std::optional<double> value = parseNumber(text);
    if (!value || *value < std::numeric_limits<std::int16_t>::min() - 0.5 ||
        *value >= std::numeric_limits<std::int16_t>::max() + 0.5) {
        return std::nullopt;
    }
    on = true;
    return static_cast<std::int16_t>(std::nearbyint(*value));
}

std::optional<std::int32_t> parseWhole(const QString& item) {
    const std::optional<double> value = parseNumber(item);
    if (!value || *value < 0 || *value > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(std::nearbyint(*value));
}

bool captionsMatch(const QStringList& items, const CsvTexts& texts, QString& model) {
    for (int i = 0; i < 4; ++i) {
        if (items[i] != texts.captions[i]) {
            return false;
        }
    }
    if (items[4] == texts.captions[4] && items[5] == texts.captions[5]) {
        model = QString::fromLatin1(kModelWithAlarms);
        return true;
    }
    if (items[4].isEmpty() && items[5].isEmpty()) {
        model = QString::fromLatin1(kModelWithoutAlarms);
        return true;
    }
    return false;
}

CsvError readHeaderValues(ListInput& input, CsvHeader& header) {
    QStringList items;
    if (input.next(6, items) != ListInput::Status::Ok) {
        return CsvError::Malformed;
    }
    const std::optional<double> start = datetime::parse(items[1]);
    const std::optional<std::int32_t> points = parseWhole(items[2]);
    const std::optional<std::int32_t> interval = parseWhole(items[3]);
    const std::optional<std::int16_t> upper = parseBound(items[4], header.upperOn);
    const std::optional<std::int16_t> lower = parseBound(items[5], header.lowerOn);
    // An empty data set whose scratch file holds no record is saved with a zero start; the
    // program opens every file it writes.
    const bool startHeld = start && (*start == 0 || LoggerRange::holdsDate(*start));
    if (!startHeld || !points || !interval || !upper || !lower) {
        return CsvError::Malformed;
    }
    header.identName = items[0];
    header.startTime = *start;
    header.endTime = *start;
    header.recordingPoints = *points;
    header.interval = *interval;
    header.upperBound = *upper;
    header.lowerBound = *lower;
    return CsvError::None;
}

// Samples collected into blocks of records, each written to the scratch file at once.
class RecordBlock {
  public:
    static constexpr int kRecords = 1024;

    explicit RecordBlock(DataSet& set) : set_(set) {
        bytes_.reserve(kRecords * ScratchFile::kRecordSize);
    }
    // Numbers the sample as the next record; the caller has made sure the data set has room.
    void add(Sample& sample) {
        sample.index = ++set_.count;
        const qsizetype at = bytes_.size();
        bytes_.resize(at + ScratchFile::kRecordSize);
        ScratchFile::encodeInto(sample, bytes_.data() + at);
    }
    bool full() const { return bytes_.size() >= kRecords * ScratchFile::kRecordSize; }
    bool flush() {
        const int first =
            set_.count - static_cast<int>(bytes_.size() / ScratchFile::kRecordSize) + 1;
        const bool ok =
            bytes_.isEmpty() || set_.file.writeRecords(first, bytes_) == DataError::None;
        bytes_.resize(0);
        return ok;
    }

  private:
    DataSet& set_;
    QByteArray bytes_;
};

CsvError readSamples(ListInput& input, DataSet& set, CsvHeader& header,
                     codepage::TextEncoding encoding) {
    QStringList items;
    Sample sample;
    RecordBlock block(set);
    int series = 1;
    double previous = header.startTime;
    while (true) {
        QByteArrayView line;
        std::optional<csvline::Values> parsed;
        if (input.peekLine(line)) {
            parsed = csvline::parse(line, encoding);
        }
        const bool fast = parsed.has_value();
        csvline::Values values = fast ? *parsed : csvline::Values{};
        if (!fast && input.atEnd()) {
            break;
        }
        if (set.count >= DataSet::kMaxCount) {
            return CsvError::TooManySamples;
        }
        if (fast) {
            input.skipLine();
        } else {
            if (input.next(5, items) != ListInput::Status::Ok) {
                return CsvError::Malformed;
            }
            const std::optional<double> when = datetime::parse(items[1]);
            const std::optional<double> temperature = parseNumber(items[2]);
            const std::optional<double> humidity = parseNumber(items[3]);
            if (!when || !temperature || !humidity) {
                return CsvError::Malformed;
            }
            values.dateTime = *when;
            values.temperature = *temperature;
            values.humidity = *humidity;
        }
        // Values no logger can produce are refused: the graphs and statistics take every
        // stored value as a real reading.
        if (!LoggerRange::holdsDate(values.dateTime) ||
            !LoggerRange::holdsTemperature(values.temperature) ||
            !LoggerRange::holdsHumidity(values.humidity)) {
            return CsvError::Malformed;
        }
        if (datetime::secondsBetween(previous, values.dateTime) > header.interval) {
            ++series;
        }
        sample.dateTime = values.dateTime;
        sample.temperature = static_cast<float>(values.temperature);
        sample.humidity = static_cast<float>(values.humidity);
        sample.series = static_cast<float>(series);
        if (fast) {
            sample.setRemarkBytes(values.remarks);
        } else {
            sample.setRemarks(items[4]);
        }
        previous = values.dateTime;
        block.add(sample);
        set.stats.update(sample);
        header.endTime = values.dateTime;
        if (block.full() && !block.flush()) {
            return CsvError::Io;
        }
    }
    return block.flush() ? CsvError::None : CsvError::Io;
}

void emptyDataSet(DataSet& set) {
    set.count = 0;
    set.stats.reset();
    set.windowStats.reset();
    set.interval = 0;
    set.upperBound = 0;
    set.upperRaw = 0;
    set.upperOn = 0;
    set.lowerBound = 0;
    set.lowerRaw = 0;
    set.lowerOn = 0;
    set.model.clear();
    set.identName.clear();
    set.unsaved = false;
}

}  // namespace

QString formatHundredths(float value) {
    const double scaled = static_cast<double>(value) * 100.0;
    if (!std::isfinite(scaled) || std::fabs(scaled) >= 1e17) {
        return QString::number(static_cast<double>(value), 'f', 2);
    }
    const long long hundredths = std::llround(scaled);
    const long long magnitude = hundredths < 0 ? -hundredths : hundredths;
    QString text = hundredths < 0 ? QStringLiteral("-") : QString();
    if (magnitude >= 100) {
        text += QString::number(magnitude / 100);
    }
    text += u'.';
    text += QStringLiteral("%1").arg(magnitude % 100, 2, 10, QLatin1Char('0'));
    return text;
}

std::optional<double> parseNumber(const QString& text) {
    bool ok = false;
    const double value = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

QString proposedFileName(const QString& identName, double dateTime) {
    return identName + u'_' + datetime::format(dateTime, QStringLiteral("yyMMdd_HHmmss"));
}

bool canWrite(const QString& path) {
    QSaveFile probe(path);
    if (!probe.open(QIODevice::WriteOnly)) {
        return false;
    }
    probe.cancelWriting();
    return true;
}

CsvError saveCsv(const QString& path, DataSet& set, const QString& model, const QString& identName,
                 const CsvTexts& texts) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return CsvError::Io;
    }
    // An empty data set still names a start time: whatever record 1 holds, or zero.
    Sample sample;
    if (set.read(1, sample) == DataError::Io) {
        return CsvError::Io;
    }
    const bool alarmForm = model == QLatin1String(kModelWithAlarms);
    ChunkWriter out(file, texts.encoding);

    QStringList line;
    for (int i = 0; i < 6; ++i) {
        line.append(quoted(alarmForm || i < 4 ? texts.captions[i] : QString()));
    }
    out.line(line.join(u','));
    line = {quoted(identName),
            quoted(datetime::format(sample.dateTime)),
            quoted(numberText(set.count)),
            quoted(numberText(set.interval)),
            quoted(alarmForm ? boundText(set.upperOn != 0, set.upperBound) : QString()),
            quoted(alarmForm ? boundText(set.lowerOn != 0, set.lowerBound) : QString())};
    out.line(line.join(u','));
    line.clear();
    for (const QString& column : texts.columns) {
        line.append(quoted(column));
    }
    out.line(line.join(u','));

    QByteArray records;
    for (int first = 1; first <= set.count; first += kReadRecords) {
        const int count = std::min(kReadRecords, set.count - first + 1);
        if (set.file.readRecords(first, count, records) != DataError::None) {
            return CsvError::Io;
        }
        for (int i = 0; i < count; ++i) {
            out.sample(first + i,
                       ScratchFile::fieldsOf(records.constData() + i * ScratchFile::kRecordSize));
        }
    }
    if (!out.flush() || !file.commit()) {
        return CsvError::Io;
    }
    set.unsaved = false;
    return CsvError::None;
}

CsvError openCsv(const QString& path, DataSet& set, const CsvTexts& texts, CsvHeader& header) {
    QFile file;
    switch (openRegularForReading(path, file)) {
        case RegularOpen::Ok:
            break;
        case RegularOpen::NotRegular:
            return CsvError::NotRegular;
        case RegularOpen::Missing:
        case RegularOpen::Failed:
            return CsvError::Io;
    }
    ListInput input(file, texts.encoding);
    QStringList items;
    if (input.next(6, items) != ListInput::Status::Ok) {
        return CsvError::Malformed;
    }
    CsvHeader read;
    if (!captionsMatch(items, texts, read.model)) {
        return CsvError::WrongForm;
    }

    emptyDataSet(set);
    CsvError error = readHeaderValues(input, read);
    if (error == CsvError::None && input.next(5, items) != ListInput::Status::Ok) {
        error = CsvError::Malformed;
    }
    if (error == CsvError::None) {
        error = readSamples(input, set, read, texts.encoding);
    }
    if (error != CsvError::None) {
        emptyDataSet(set);
        return error;
    }
    set.interval = read.interval;
    set.upperOn = read.upperOn ? 1 : 0;
    set.upperBound = read.upperBound;
    set.lowerOn = read.lowerOn ? 1 : 0;
    set.lowerBound = read.lowerBound;
    set.model = read.model;
    set.identName = read.identName;
    read.missingRows = static_cast<std::int32_t>(
        std::max<qint64>(0, qint64{read.recordingPoints} - qint64{set.count}));
    header = read;
    return CsvError::None;
}

FilePanelInfo filePanelInfo(const QString& path, const CsvHeader& header, int count,
                            const CsvTexts& texts) {
    FilePanelInfo info;
    info.fileName = QFileInfo(path).fileName();
    info.model = header.model;
    info.identName = header.identName;
    info.start = datetime::format(header.startTime);
    info.end = datetime::format(header.endTime);
    info.points = QString::number(count) + texts.pointUnit;
    if (header.interval >= 60) {
        info.interval = QString::number(header.interval / 60) + texts.minuteUnit;
    }
    if (header.interval % 60 != 0) {
        info.interval += QString::number(header.interval % 60) + texts.secondUnit;
    }
    info.boundsVisible = header.model == QLatin1String(kModelWithAlarms);
    info.upperBound = header.upperOn ? QString::number(header.upperBound) + texts.degreeUnit
                                     : QStringLiteral("OFF");
    info.lowerBound = header.lowerOn ? QString::number(header.lowerBound) + texts.degreeUnit
                                     : QStringLiteral("OFF");
    return info;
}
