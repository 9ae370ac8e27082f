// The subcommands of the command line on the window's operations; see runner.h.
#include "cli/runner.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <QJsonDocument>
#include <QLoggingCategory>
#include <QSerialPort>
#include <algorithm>

#include "cli/archivecommands.h"
#include "cli/sampleformat.h"
#include "data/csv.h"
#include "data/datetime.h"
#include "link/loggerstate.h"
#include "link/qtserialport.h"
#include "operations/statusreport.h"

namespace {

// The run's steps, for --verbose: what was sent and what was kept.
Q_LOGGING_CATEGORY(lcCli, "veltrane.cli", QtWarningMsg)

// The window's CSV writer saves here first; the bytes then go to their target.
const QString kScratchCsv = QStringLiteral("out.csv");

// A port whose device is there and may be opened by this user, but is locked: another program
// (the window, another veltrane-cli) holds it.
bool heldElsewhere(const QString& device) {
    QSerialPort probe(device);
    if (probe.open(QIODevice::ReadWrite)) {
        probe.close();
        return false;
    }
    return probe.error() == QSerialPort::PermissionError &&
           ::access(QFile::encodeName(device).constData(), R_OK | W_OK) == 0;
}

}  // namespace

QString portHeldElsewhere(std::optional<int> port) {
    QString held;
    const int first = port.value_or(1);
    const int last = port.value_or(QtSerialPortAdapter::kMaxPortNumber);
    for (int number = first; number <= last; ++number) {
        const QString device = portDeviceName(number);
        if (!QFile::exists(device)) {
            continue;
        }
        if (!heldElsewhere(device)) {
            return {};
        }
        if (held.isEmpty()) {
            held = device;
        }
    }
    return held;
}

CliRunner::CliRunner(const CliOptions& options, const MessageTable& messages, SerialPort& port,
                     CbusDevice& device, Waiter& waiter, std::FILE* out, bool terminal,
                     HeldPort heldPort)
    : options_(options),
      messages_(messages),
      out_(out),
      heldPort_(std::move(heldPort)),
      progress_(terminal),
      headless_(options, messages, port, device, waiter, progress_) {
    // The logger is marked downloaded only once the data is safe, by download() itself.
    headless_.session().download().setMarkWhenDone(false);
}

int CliRunner::run() {
    if (const std::optional<QByteArray> path = outFile(options_)) {
        // Checked before the logger is touched: a download is not run for a file it cannot keep.
        if (const QString refusal = file_.prepare(*path, messages_); !refusal.isEmpty()) {
            say(refusal);
            return Refused;
        }
    }
    if (isArchiveCommand(options_.command)) {
        return runArchiveCommand(options_, messages_, out_, file_,
                                 [this](const QString& line) { say(line); });
    }
    const int connected = connect();
    if (signals_.caught() != 0) {
        return interrupted(text(Msg::CliNothingChanged));
    }
    if (connected != Done) {
        return failed(connected);
    }
    said_ = headless_.prompter().messages.size();
    switch (options_.command) {
        case Subcommand::Status:
            return status();
        case Subcommand::Download:
            return download();
        case Subcommand::Start:
            return start();
        case Subcommand::Stop:
            return stop();
        case Subcommand::Measure:
            return measure();
        case Subcommand::History:
        case Subcommand::Export:
        case Subcommand::Import:
        // Files, not loggers: main runs these without a runner.
        case Subcommand::Report:
        case Subcommand::Plot:
            break;
    }
    return Usage;
}

void CliRunner::say(const QString& message) {
    headless_.prompter().message(QString(), message);
}

int CliRunner::communicationCode() const {
    for (const QString& message : headless_.prompter().messages) {
        for (Msg index :
             {Msg::CommunicationFault, Msg::CommunicationEndsAfterFault, Msg::DownloadFailed}) {
            if (message.contains(messages_.text(index))) {
                return CommunicationFailed;
            }
        }
    }
    return Done;
}

bool CliRunner::recordingOrReserved() {
    const RecordState state = headless_.session().state().recordState;
    return state == RecordState::Recording || state == RecordState::Reserved;
}

bool CliRunner::settle() {
    while (headless_.session().engine().busy()) {
        if (signals_.caught() != 0) {
            headless_.session().engine().Pro_End();
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    // The messages held back until the procedure's end are shown now.
    QCoreApplication::processEvents();
    return signals_.caught() == 0;
}

int CliRunner::interrupted(const QString& state) {
    const int signal = signals_.caught();
    if (headless_.session().engine().busy()) {
        headless_.session().engine().Pro_End();
    }
    qCInfo(lcCli) << "abandoned on signal" << signal;
    say(text(Msg::CliInterrupted).arg(SignalPipe::name(signal)) + MessageTable::kPartBreak + state);
    return 128 + signal;
}

int CliRunner::failed(int code, const QString& state) {
    if (code == Done || headless_.prompter().messages.size() > said_) {
        return code;
    }
    QString message =
        text(headless_.session().port().isOpen() ? Msg::CliLoggerSilent : Msg::CliConnectionLost);
    if (!state.isEmpty()) {
        message += MessageTable::kPartBreak + state;
    }
    say(message);
    return code;
}

int CliRunner::connect() {
    if (const QString held = heldPort_ ? heldPort_(options_.port) : QString(); !held.isEmpty()) {
        say(text(Msg::CliPortInUse).arg(held));
        return PortInUse;
    }
    headless_.operations().connection().Port_Set_Command(
        options_.port ? QStringLiteral("Once") : QString(),
        options_.port.value_or(Connection::kFirstPort));
    if (!headless_.session().port().isOpen()) {
        return headless_.operations().connection().deviceStatus() == CbusDevice::kPermissionDenied
                   ? PermissionDenied
                   : NoLogger;
    }
    qCInfo(lcCli) << "connected on port" << headless_.session().Portnum << "to"
                  << headless_.session().state().Machine_N_P;
    if (!settle() || !headless_.session().port().isOpen()) {
        return CommunicationFailed;
    }
    qCInfo(lcCli) << "status read, state"
                  << recordStateKeyword(headless_.session().state().recordState);
    return communicationCode();
}

int CliRunner::status() {
    const StatusView view = headless_.operations().status().view();
    const QByteArray bytes = options_.json
                                 ? QJsonDocument(statusJson(view)).toJson(QJsonDocument::Indented)
                                 : statusLines(view, messages_);
    return print(bytes) ? Done : Refused;
}

int CliRunner::download() {
    const bool reserved = headless_.session().state().recordState == RecordState::Reserved;
    const bool stopping = recordingOrReserved();
    // The download's first command stops the logger: a recording a script relies on is not
    // ended unasked.
    if (stopping && !options_.stop) {
        say(text(reserved ? Msg::CliDownloadCancelsReservation : Msg::CliDownloadStopsRecording));
        return Refused;
    }
    if (options_.normal) {
        headless_.operations().connection().D_M_Slow_Click();
    } else {
        headless_.operations().connection().D_M_Fast_Click();
    }
    const std::int16_t before = headless_.dataSets()[LogData].count;
    headless_.operations().download().startDownload();
    if (!headless_.session().engine().busy()) {
        return before == headless_.dataSets()[LogData].count ? Refused : Done;
    }
    qCInfo(lcCli) << "download started";
    if (stopping) {
        say(text(reserved ? Msg::CliReservationCancelledForDownload
                          : Msg::CliRecordingStoppedForDownload));
    }
    if (!settle()) {
        return interrupted(text(Msg::CliDownloadAbandoned));
    }
    if (const int code = communicationCode();
        code != Done || !headless_.session().port().isOpen()) {
        return failed(CommunicationFailed, text(Msg::CliDownloadAbandoned));
    }
    if (const int code = writeSamples(LogData); code != Done) {
        return code;
    }
    qCInfo(lcCli) << headless_.dataSets()[LogData].count << "records written and synced";
    // Kept before the mark: a logger marked downloaded may overwrite what the archive lacks.
    // A fault of the archive is one line; the file is safe, so the mark goes ahead.
    if (!options_.noArchive) {
        const LoggerState& state = headless_.session().state();
        archiveDownload(headless_.dataSets()[LogData], state.Start_Time, state.Memory_Mode,
                        messages_, [this](const QString& line) { say(line); });
    }
    // The data is safe: only now may the logger stop warning of it.
    if (signals_.caught() != 0) {
        return interrupted(text(Msg::CliSavedButNotMarked));
    }
    said_ = headless_.prompter().messages.size();
    if (!headless_.operations().download().markDownloaded()) {
        say(text(Msg::CliSavedButNotMarked));
        return CommunicationFailed;
    }
    if (!settle()) {
        return interrupted(text(Msg::CliSavedButNotMarked));
    }
    if (communicationCode() != Done || !headless_.session().port().isOpen()) {
        return failed(CommunicationFailed, text(Msg::CliSavedButNotMarked));
    }
    qCInfo(lcCli) << "logger marked downloaded";
    return Done;
}

int CliRunner::writeSamples(DataSetIndex index) {
    const OutputFormat format = options_.format.value_or(OutputFormat::Csv);
    if (format == OutputFormat::Csv) {
        return writeCsv(index);
    }
    DataSet& set = headless_.dataSets()[index];
    const LoggerState& state = headless_.session().state();
    const bool ownHeader = !set.model.isEmpty();
    const SampleHeader header{ownHeader ? set.model : state.Machine_N_P,
                              (ownHeader ? set.identName : state.VT_Name).trimmed(),
                              static_cast<int>(set.interval)};
    const std::optional<QByteArray> bytes =
        format == OutputFormat::Json ? jsonDocument(header, set) : tsvDocument(set);
    if (!bytes) {
        say(text(Msg::CliFileNotWritable).arg(headless_.scratchFile(QString())));
        return Refused;
    }
    return deliver(*bytes);
}

int CliRunner::writeCsv(DataSetIndex index) {
    headless_.prompter().savePath = headless_.scratchFile(kScratchCsv);
    headless_.operations().files().save(index);
    return headless_.dataSets()[index].unsaved ? Refused : deliverScratch();
}

int CliRunner::deliverScratch() {
    QFile file(headless_.scratchFile(kScratchCsv));
    if (!file.open(QIODevice::ReadOnly)) {
        say(text(Msg::CliFileNotWritable).arg(file.fileName()));
        return Refused;
    }
    const QByteArray bytes = file.readAll();
    file.close();
    return deliver(bytes);
}

int CliRunner::deliver(const QByteArray& bytes) {
    if (file_.prepared()) {
        if (const QString failure = file_.commit(bytes, messages_); !failure.isEmpty()) {
            say(failure);
            return Refused;
        }
        return Done;
    }
    return print(bytes) ? Done : Refused;
}

bool CliRunner::stream(const QByteArray& bytes) {
    if (!file_.prepared()) {
        return print(bytes);
    }
    if (const QString failure = file_.append(bytes, messages_); !failure.isEmpty()) {
        say(failure);
        return false;
    }
    return true;
}

QString CliRunner::keepStream(int written) {
    if (!file_.prepared()) {
        return text(Msg::CliMeasurementEndedWritten).arg(written);
    }
    if (const QString failure = file_.commit({}, messages_); !failure.isEmpty()) {
        return failure;
    }
    return text(Msg::CliMeasurementEndedFile).arg(written).arg(file_.displayName());
}

int CliRunner::start() {
    if (recordingOrReserved()) {
        say(text(Msg::CliStopFirst));
        return Refused;
    }
    if (options_.force) {
        headless_.prompter().answer = true;
    }
    headless_.operations().recording().startOrStop();
    if (!headless_.session().engine().busy()) {
        return Refused;
    }
    qCInfo(lcCli) << "programming the logger";
    if (!settle()) {
        return interrupted(text(Msg::CliMayBePartlySet));
    }
    const int code =
        headless_.session().port().isOpen() ? communicationCode() : CommunicationFailed;
    return failed(code, text(Msg::CliMayBePartlySet));
}

int CliRunner::stop() {
    if (!recordingOrReserved()) {
        return status();
    }
    headless_.operations().recording().startOrStop();
    qCInfo(lcCli) << "stopping the logger";
    if (!settle()) {
        return interrupted(text(Msg::CliMayStillRecord));
    }
    if (!headless_.session().port().isOpen()) {
        return failed(CommunicationFailed, text(Msg::CliMayStillRecord));
    }
    if (const int code = communicationCode(); code != Done) {
        return failed(code, text(Msg::CliMayStillRecord));
    }
    return status();
}

bool CliRunner::print(const QByteArray& bytes) {
    if (const QString failure = writeStandardOutput(out_, bytes, messages_); !failure.isEmpty()) {
        say(failure);
        return false;
    }
    return true;
}

QByteArray CliRunner::streamedSample(int record, const Sample& sample) const {
    if (options_.format == OutputFormat::Json) {
        return jsonLine(record, sample);
    }
    if (options_.format == OutputFormat::Tsv) {
        return tsvLine(record, sample);
    }
    const QString line = datetime::format(sample.dateTime) + QLatin1Char('\t') +
                         formatHundredths(sample.temperature) + QLatin1Char('\t') +
                         formatHundredths(sample.humidity) + QLatin1Char('\n');
    return line.toUtf8();
}

int CliRunner::measure() {
    RealTimeMeasurement& realTime = headless_.operations().realTime();
    DataSet& samples = headless_.dataSets()[RealTimeData];
    // The CSV file's header holds the number of samples: it is written whole at the end. Every
    // other form is a stream, each sample written and flushed as it comes.
    const bool csv =
        options_.format ? *options_.format == OutputFormat::Csv : options_.out.has_value();
    const QString abandoned =
        text(outFile(options_) ? Msg::CliMeasurementAbandonedNoFile : Msg::CliMeasurementAbandoned);
    const int limit = options_.count.value_or(options_.every ? DataSet::kMaxCount : 1);
    int written = 0;
    bool writeFailed = !csv && options_.format == OutputFormat::Tsv && !stream(tsvHeaderLine());
    // Every sample measured is written once, however the writes and the appends interleave.
    const auto writeNew = [&] {
        Sample sample;
        for (; !csv && !writeFailed && written < std::min<int>(samples.count, limit); ++written) {
            if (samples.read(written + 1, sample) == DataError::None &&
                !stream(streamedSample(written + 1, sample))) {
                writeFailed = true;
            }
        }
    };
    // A stream ends with its samples kept, whatever ended the measurement.
    const auto endStream = [&](int code) {
        if (code == Done && file_.prepared()) {
            if (const QString failure = file_.commit({}, messages_); !failure.isEmpty()) {
                say(failure);
                return static_cast<int>(Refused);
            }
        } else if (code != Done) {
            code = failed(code);
            say(keepStream(written));
        }
        return code;
    };
    if (writeFailed) {
        return Refused;
    }
    if (!options_.every) {
        realTime.measureOnce();
        if (!settle()) {
            return interrupted(abandoned);
        }
        if (const int code = communicationCode(); code != Done || samples.count < 1) {
            return failed(CommunicationFailed);
        }
        if (csv) {
            return writeCsv(RealTimeData);
        }
        writeNew();
        return writeFailed ? Refused : endStream(Done);
    }
    const MeasurementRepeat repeat{options_.every->seconds ? MeasurementRepeat::Unit::Seconds
                                                           : MeasurementRepeat::Unit::Minutes,
                                   options_.every->count};
    if (!RealTimeMeasurement::repeatSeconds(repeat)) {
        return Refused;
    }
    headless_.display().onAppend = [&](DataSetIndex) { writeNew(); };
    realTime.startOrStopContinuous(repeat);
    while (realTime.running() && samples.count < limit && headless_.session().port().isOpen() &&
           !writeFailed && signals_.caught() == 0) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    // The last sample is complete only when its measurement has ended.
    const bool settled = settle();
    writeNew();
    headless_.display().onAppend = nullptr;
    if (!settled || signals_.caught() != 0) {
        // A signal is how a measurement without --count ends: what was streamed is kept.
        return interrupted(csv || writeFailed ? abandoned : keepStream(written));
    }
    // The stop's save question is answered by --out, into the scratch folder first.
    headless_.prompter().answer = csv;
    headless_.prompter().savePath = headless_.scratchFile(kScratchCsv);
    if (realTime.running()) {
        realTime.startOrStopContinuous(repeat);
    }
    if (!settle()) {
        return interrupted(csv ? abandoned : keepStream(written));
    }
    if (writeFailed) {
        return Refused;
    }
    if (!headless_.session().port().isOpen()) {
        return csv ? failed(CommunicationFailed) : endStream(CommunicationFailed);
    }
    if (const int code = communicationCode(); code != Done) {
        return csv ? failed(code) : endStream(code);
    }
    if (!csv) {
        return endStream(Done);
    }
    return samples.unsaved ? Refused : deliverScratch();
}
