// The subcommands of the command line on the window's operations; see runner.h.
#include "cli/runner.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <QJsonDocument>
#include <QLoggingCategory>
#include <QSerialPort>
#include <algorithm>

#include "cli/statusreport.h"
#include "data/csv.h"
#include "data/datetime.h"
#include "link/loggerstate.h"
#include "link/qtserialport.h"

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
    if (const int code = writeCsv(LogData); code != Done) {
        return code;
    }
    qCInfo(lcCli) << headless_.dataSets()[LogData].count << "records written and synced";
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
    if (file_.prepared()) {
        if (const QString failure = file_.commit(bytes, messages_); !failure.isEmpty()) {
            say(failure);
            return Refused;
        }
        return Done;
    }
    return print(bytes) ? Done : Refused;
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

bool CliRunner::printSample(const Sample& sample) {
    const QString line = datetime::format(sample.dateTime) + QLatin1Char('\t') +
                         formatHundredths(sample.temperature) + QLatin1Char('\t') +
                         formatHundredths(sample.humidity) + QLatin1Char('\n');
    return print(line.toUtf8());
}

int CliRunner::measure() {
    RealTimeMeasurement& realTime = headless_.operations().realTime();
    DataSet& samples = headless_.dataSets()[RealTimeData];
    // --out (a file, or "-" for standard output) takes the samples as CSV at the end.
    const bool csv = options_.out.has_value();
    const QString abandoned =
        text(outFile(options_) ? Msg::CliMeasurementAbandonedNoFile : Msg::CliMeasurementAbandoned);
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
        Sample sample;
        if (samples.read(1, sample) == DataError::None && !printSample(sample)) {
            return Refused;
        }
        return Done;
    }
    const MeasurementRepeat repeat{options_.every->seconds ? MeasurementRepeat::Unit::Seconds
                                                           : MeasurementRepeat::Unit::Minutes,
                                   options_.every->count};
    if (!RealTimeMeasurement::repeatSeconds(repeat)) {
        return Refused;
    }
    // Every sample written is printed once, however the writes and the appends interleave.
    int printed = 0;
    bool printFailed = false;
    const auto printNew = [&] {
        Sample sample;
        for (; !csv && !printFailed && printed < std::min<int>(samples.count, options_.count);
             ++printed) {
            if (samples.read(printed + 1, sample) == DataError::None && !printSample(sample)) {
                printFailed = true;
            }
        }
    };
    headless_.display().onAppend = [&](DataSetIndex) { printNew(); };
    realTime.startOrStopContinuous(repeat);
    while (realTime.running() && samples.count < options_.count &&
           headless_.session().port().isOpen() && !printFailed && signals_.caught() == 0) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    // The last sample is complete only when its measurement has ended.
    const bool settled = settle();
    printNew();
    headless_.display().onAppend = nullptr;
    if (!settled || signals_.caught() != 0) {
        return interrupted(abandoned);
    }
    // The stop's save question is answered by --out, into the scratch folder first.
    headless_.prompter().answer = csv;
    headless_.prompter().savePath = headless_.scratchFile(kScratchCsv);
    if (realTime.running()) {
        realTime.startOrStopContinuous(repeat);
    }
    if (!settle()) {
        return interrupted(abandoned);
    }
    if (printFailed) {
        return Refused;
    }
    if (!headless_.session().port().isOpen()) {
        return failed(CommunicationFailed);
    }
    if (const int code = communicationCode(); code != Done) {
        return failed(code);
    }
    if (!csv) {
        return Done;
    }
    return samples.unsaved ? Refused : deliverScratch();
}
