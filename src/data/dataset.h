// The three data sets (log, real-time, file): header values, statistics, saved graph view and
// the scratch file holding the samples as fixed 84-byte records.
#pragma once

#include <QFile>
#include <QString>
#include <array>
#include <cstdint>
#include <memory>

#include "data/sample.h"

// Saved position of one graph scroll bar.
struct ScrollState {
    std::int16_t maximum = 0;
    std::int16_t minimum = 0;
    std::int16_t value = 0;
};

// Saved scroll bars of a data set: the four time bars (TimeWidthBar..HumidityTimePositionBar),
// then the four value bars (TemperatureSpanBar..HumidityCentreBar). The graph images are kept
// by the graph module, per data set.
struct GraphViewState {
    std::array<ScrollState, 8> bars{};
    bool saved = false;
};

// Result of a data set operation that can fail.
enum class DataError { None, Io, Overflow, Range };

class ScratchFile {
  public:
    static constexpr int kRecordSize = 84;

    bool open(const QString& path);
    void close();
    bool isOpen() const;
    QString path() const;
    // Record numbers run from 1 to 32767. A record beyond the end of the file reads as an
    // empty sample with a Range error.
    DataError read(int record, Sample& sample);
    DataError write(int record, const Sample& sample);
    // Deletes the file (it is closed first).
    bool remove();

    static QByteArray encode(const Sample& sample);
    static bool decode(const QByteArray& bytes, Sample& sample);

    // Bulk access for whole data sets (CSV files, graphs): count records from first as one
    // block of bytes; a block reaching beyond the file is a Range error.
    DataError readRecords(int first, int count, QByteArray& bytes);
    // Writes whole records (a multiple of kRecordSize bytes) from record first on.
    DataError writeRecords(int first, QByteArrayView bytes);
    // One record of kRecordSize bytes at out.
    static void encodeInto(const Sample& sample, char* out);
    // The fields of one record of such a block, the remarks viewed in place.
    struct Fields {
        float temperature = 0;
        float humidity = 0;
        double dateTime = 0;
        float series = 0;
        QByteArrayView remarks;
        std::int16_t index = 0;
        // Puts every field but the remarks into the sample.
        void copyTo(Sample& sample) const;
    };
    static Fields fieldsOf(const char* record);
    // The fields of one record, the remarks viewed in place until the next call: reading
    // without a copy, for the graphs that visit many records on every drawing.
    DataError readFields(int record, Fields& fields);

  private:
    bool seekTo(qint64 offset);
    // One record's bytes into a sample.
    static void decodeInto(const char* record, Sample& sample);
    // The record's bytes in a map of the file, or null when it lies beyond the file or the
    // file cannot be mapped. Reads go through the map: no system call and no copy per record.
    const char* mapped(int record);
    void unmap();

    QFile file_;
    uchar* map_ = nullptr;
    qint64 mapSize_ = 0;
    // The file buffers writes; the map sees them once they are flushed.
    bool unflushed_ = false;
};

struct DataSet {
    static constexpr int kMaxCount = 32767;

    std::int16_t fileSlot = 0;
    std::int16_t count = 0;
    GraphViewState view;
    std::int32_t interval = 0;  // seconds
    SampleStats stats;
    SampleStats windowStats;
    std::int16_t upperBound = 0;
    std::int32_t upperRaw = 0;
    std::uint8_t upperOn = 0;
    std::int16_t lowerBound = 0;
    std::int32_t lowerRaw = 0;
    std::uint8_t lowerOn = 0;
    std::int16_t drawnCount = 0;
    QString model;
    // Identification name of the logger the samples came from; with the model it is the header
    // a CSV file of the data set carries, whatever logger is connected when it is saved.
    QString identName;
    bool unsaved = false;
    bool neverDownloaded = false;
    ScratchFile file;

    bool hasData() const { return count != 0; }
    DataError read(int record, Sample& sample) { return file.read(record, sample); }
    DataError write(int record, const Sample& sample) { return file.write(record, sample); }
    // count + 1 and writes record count, numbering the sample's index with it; refuses the
    // 32768th sample (Overflow) and leaves the data set as it was, as does a failed write.
    DataError append(Sample& sample);
};

// Indices of the three data sets (Disp_stat values).
enum DataSetIndex : std::uint8_t { LogData = 0, RealTimeData = 1, FileData = 2 };
