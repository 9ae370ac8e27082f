// history, export and import on the archive VELTRANE_ARCHIVE (or the user's data folder)
// names, and the archiving of a download once its CSV is safe.
#include "cli/archivecommands.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLoggingCategory>
#include <QTemporaryDir>

#include "archive/archive.h"
#include "data/csv.h"
#include "data/datetime.h"
#include "data/texts.h"

namespace {

// The run's steps for --verbose, under the command line's own category name.
Q_LOGGING_CATEGORY(lcCli, "veltrane.cli", QtWarningMsg)

QString isoTime(double days) {
    return datetime::format(days, QStringLiteral("yyyy-MM-dd'T'HH:mm:ss"));
}

const char* sourceName(RecordingSource source) {
    switch (source) {
        case RecordingSource::RealTime:
            return "real-time";
        case RecordingSource::File:
            return "file";
        case RecordingSource::Download:
            break;
    }
    return "download";
}

QJsonObject recordingJson(const RecordingSummary& r) {
    return QJsonObject{
        {QStringLiteral("id"), static_cast<qint64>(r.id)},
        {QStringLiteral("source"), QLatin1String(sourceName(r.source))},
        {QStringLiteral("model"), r.model},
        {QStringLiteral("name"), r.name},
        {QStringLiteral("start"), isoTime(r.startTime)},
        {QStringLiteral("interval_seconds"), r.interval},
        {QStringLiteral("loop"), r.memoryMode != 0},
        {QStringLiteral("upper_bound"), r.upperOn ? QJsonValue(r.upperBound) : QJsonValue()},
        {QStringLiteral("lower_bound"), r.lowerOn ? QJsonValue(r.lowerBound) : QJsonValue()},
        {QStringLiteral("first"), isoTime(r.firstTime)},
        {QStringLiteral("last"), isoTime(r.lastTime)},
        {QStringLiteral("samples"), r.points},
        {QStringLiteral("min_temperature"), r.minTemperature},
        {QStringLiteral("max_temperature"), r.maxTemperature},
        {QStringLiteral("min_humidity"), r.minHumidity},
        {QStringLiteral("max_humidity"), r.maxHumidity},
        {QStringLiteral("created"), r.created.toString(Qt::ISODate)},
    };
}

class ArchiveCommand {
  public:
    ArchiveCommand(const CliOptions& options, const MessageTable& messages, std::FILE* out,
                   OutputFile& file, const std::function<void(const QString&)>& say)
        : options_(options), messages_(messages), out_(out), file_(file), say_(say) {}

    int run() {
        ArchiveLocation location;
        ArchiveError error = ArchiveLocation::resolve(QString(), location);
        if (error.ok()) {
            archive_ = std::make_unique<Archive>(location);
            error = archive_->open();
        }
        if (!error.ok()) {
            return fault(error);
        }
        switch (options_.command) {
            case Subcommand::History:
                return history();
            case Subcommand::Export:
                return exportRecording();
            default:
                return importFiles();
        }
    }

  private:
    int fault(const ArchiveError& error) {
        qCInfo(lcCli) << "archive:" << error.detail;
        say_(messages_.text(archiveMessage(error.kind)));
        return Refused;
    }

    int deliver(const QByteArray& bytes) {
        const QString failure = file_.prepared() ? file_.commit(bytes, messages_)
                                                 : writeStandardOutput(out_, bytes, messages_);
        if (!failure.isEmpty()) {
            say_(failure);
            return Refused;
        }
        return Done;
    }

    int history() {
        std::vector<RecordingSummary> recordings;
        if (ArchiveError error = archive_->list(HistoryFilter{}, recordings); !error.ok()) {
            return fault(error);
        }
        if (options_.json) {
            QJsonArray list;
            for (const RecordingSummary& r : recordings) {
                list.append(recordingJson(r));
            }
            return deliver(QJsonDocument(list).toJson(QJsonDocument::Indented));
        }
        if (recordings.empty()) {
            say_(messages_.text(Msg::CliHistoryEmpty));
            return Done;
        }
        QByteArray text = messages_.text(Msg::CliHistoryColumns).toLocal8Bit() + '\n';
        for (const RecordingSummary& r : recordings) {
            const QStringList cells{QString::number(r.id),
                                    r.model,
                                    r.name,
                                    datetime::format(r.startTime),
                                    QString::number(r.interval),
                                    QString::number(r.points),
                                    datetime::format(r.firstTime),
                                    datetime::format(r.lastTime)};
            text += cells.join(u'\t').toLocal8Bit() + '\n';
        }
        return deliver(text);
    }

    int exportRecording() {
        QTemporaryDir folder;
        DataSet set;
        if (!folder.isValid() || !set.file.open(folder.filePath(QStringLiteral("export.rand")))) {
            say_(messages_.text(Msg::CliFileNotWritable).arg(folder.path()));
            return Refused;
        }
        LoadResult loaded;
        if (ArchiveError error = archive_->load(options_.recording, set, &loaded); !error.ok()) {
            return fault(error);
        }
        if (options_.format == QLatin1String("json")) {
            QJsonArray samples;
            for (int record = 1; record <= set.count; ++record) {
                Sample sample;
                if (set.read(record, sample) != DataError::None) {
                    return fault({ArchiveErrorKind::Failed, QStringLiteral("scratch file")});
                }
                samples.append(QJsonObject{
                    {QStringLiteral("record"), record},
                    {QStringLiteral("time"), isoTime(sample.dateTime)},
                    {QStringLiteral("temperature"), static_cast<double>(sample.temperature)},
                    {QStringLiteral("humidity"), static_cast<double>(sample.humidity)},
                    {QStringLiteral("series"), static_cast<int>(sample.series)},
                    {QStringLiteral("remarks"), sample.remarksText().trimmed()},
                });
            }
            RecordingSummary summary;
            archive_->summary(options_.recording, summary);
            QJsonObject document = recordingJson(summary);
            document.insert(QStringLiteral("samples_left_out"), loaded.leftOut);
            document.insert(QStringLiteral("data"), samples);
            return deliver(QJsonDocument(document).toJson(QJsonDocument::Indented));
        }
        // The window's own CSV writer, so the file is the one a save there writes.
        const QString csvPath = folder.filePath(QStringLiteral("export.csv"));
        if (saveCsv(csvPath, set, set.model, set.identName, csvTexts(messages_)) !=
            CsvError::None) {
            say_(messages_.text(Msg::CliFileNotWritable).arg(csvPath));
            return Refused;
        }
        QFile csv(csvPath);
        if (!csv.open(QIODevice::ReadOnly)) {
            say_(messages_.text(Msg::CliFileNotWritable).arg(csvPath));
            return Refused;
        }
        return deliver(csv.readAll());
    }

    int importFiles() {
        int code = Done;
        for (const QByteArray& path : options_.files) {
            const QString name = QString::fromLocal8Bit(path);
            StoreResult stored;
            const ArchiveError error = archive_->importCsv(name, csvTexts(messages_), &stored);
            if (!error.ok()) {
                qCInfo(lcCli) << "archive:" << error.detail;
                // Invalid here means the file is no data file of the program.
                const Msg reason = error.kind == ArchiveErrorKind::Invalid
                                       ? Msg::FileError
                                       : archiveMessage(error.kind);
                say_(name + QStringLiteral(": ") + messages_.text(reason));
                code = Refused;
                continue;
            }
            say_(messages_.text(Msg::CliImported)
                     .arg(name)
                     .arg(stored.recordingId)
                     .arg(stored.added));
        }
        return code;
    }

    const CliOptions& options_;
    const MessageTable& messages_;
    std::FILE* out_;
    OutputFile& file_;
    const std::function<void(const QString&)>& say_;
    std::unique_ptr<Archive> archive_;
};

}  // namespace

bool isArchiveCommand(Subcommand command) {
    return command == Subcommand::History || command == Subcommand::Export ||
           command == Subcommand::Import;
}

int runArchiveCommand(const CliOptions& options, const MessageTable& messages, std::FILE* out,
                      OutputFile& file, const std::function<void(const QString&)>& say) {
    return ArchiveCommand(options, messages, out, file, say).run();
}

void archiveDownload(DataSet& set, double startTime, std::uint8_t memoryMode,
                     const MessageTable& messages, const std::function<void(const QString&)>& say) {
    ArchiveLocation location;
    ArchiveError error = ArchiveLocation::resolve(QString(), location);
    StoreResult stored;
    if (error.ok()) {
        Archive archive(location);
        error = archive.open();
        if (error.ok()) {
            error = archive.store(set, RunFacts{RecordingSource::Download, startTime, memoryMode},
                                  &stored);
        }
    }
    if (!error.ok()) {
        qCInfo(lcCli) << "archive:" << error.detail;
        say(messages.text(archiveMessage(error.kind)));
        return;
    }
    qCInfo(lcCli).noquote() << messages.text(Msg::CliArchived)
                                   .arg(stored.recordingId)
                                   .arg(stored.added)
                                   .arg(stored.points);
}
