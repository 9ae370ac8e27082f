// The subcommands of the command line on the window's operations; see runner.h.
#include "cli/runner.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>

#include "data/csv.h"
#include "data/datetime.h"
#include "link/loggerstate.h"

namespace {

constexpr int kCommunicationFault = 1042;
constexpr int kCommunicationEnded = 1043;
constexpr int kDownloadFailed = 1089;
constexpr int kStopFirst = 1218;
constexpr int kCannotWrite = 1224;
constexpr int kModelCaption = 1225;
constexpr int kNameCaption = 1054;

// The status panel's lines: the key for machines, the caption and the value controls.
struct StatusLine {
    const char* key;
    ControlId caption;
    ControlId value;
};
constexpr StatusLine kStatusLines[] = {
    {"operation", ControlId::Label9, ControlId::OperationText},
    {"battery", ControlId::Label11, ControlId::BatteryText},
    {"beginning", ControlId::Label18, ControlId::BeginningText},
    {"points", ControlId::Label22, ControlId::PointsText},
    {"interval", ControlId::Label20, ControlId::IntervalText},
    {"mode", ControlId::Label47, ControlId::ModeText},
    {"upper", ControlId::Label31, ControlId::UpperText},
    {"lower", ControlId::Label32, ControlId::LowerText},
};

}  // namespace

CliRunner::CliRunner(const CliOptions& options, const MessageTable& messages, SerialPort& port,
                     CbusDevice& device, Waiter& waiter, std::FILE* out, bool terminal)
    : options_(options),
      messages_(messages),
      out_(out),
      progress_(terminal),
      headless_(options, messages, port, device, waiter, progress_) {}

int CliRunner::run() {
    if (const int code = connect(); code != Done) {
        return code;
    }
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
    }
    return Usage;
}

int CliRunner::communicationCode() const {
    for (const QString& text : headless_.prompter().messages) {
        for (int index : {kCommunicationFault, kCommunicationEnded, kDownloadFailed}) {
            if (text.contains(messages_.text(index))) {
                return CommunicationFailed;
            }
        }
    }
    return Done;
}

bool CliRunner::recordingOrReserved() {
    const QString& state = headless_.session().state().Record_State;
    return state == kStateRecording || state == kStateReserved;
}

int CliRunner::connect() {
    headless_.operations().connection().Port_Set_Command(
        options_.port ? QStringLiteral("Once") : QString(),
        options_.port.value_or(Connection::kFirstPort));
    if (!headless_.session().port().isOpen()) {
        return headless_.operations().connection().deviceStatus() == CbusDevice::kPermissionDenied
                   ? PermissionDenied
                   : NoLogger;
    }
    headless_.waitIdle();
    if (!headless_.session().port().isOpen()) {
        return CommunicationFailed;
    }
    return communicationCode();
}

int CliRunner::status() {
    QJsonObject json;
    QString text;
    const auto add = [&](const char* key, const QString& caption, const QString& value) {
        json.insert(QLatin1String(key), value.trimmed());
        text += caption + QStringLiteral(": ") + value.trimmed() + QLatin1Char('\n');
    };
    add("model", messages_.text(kModelCaption), headless_.session().state().Machine_N_P);
    add("name", messages_.text(kNameCaption), headless_.controls().text(ControlId::IdentNameText));
    for (const StatusLine& line : kStatusLines) {
        if (headless_.controls().shown(line.value)) {
            add(line.key, headless_.controls().text(line.caption),
                headless_.controls().text(line.value));
        }
    }
    const QString note = headless_.controls().text(ControlId::StopNoteText).trimmed();
    if (!note.isEmpty()) {
        add("note", QString(), note);
    }
    const QByteArray bytes =
        options_.json ? QJsonDocument(json).toJson(QJsonDocument::Indented) : text.toUtf8();
    write(bytes);
    return Done;
}

int CliRunner::download() {
    if (options_.normal) {
        headless_.operations().connection().D_M_Slow_Click();
    } else {
        headless_.operations().connection().D_M_Fast_Click();
    }
    const std::int16_t before = headless_.dataSets()[LogData].count;
    headless_.operations().download().Command5_Click();
    if (!headless_.session().engine().busy()) {
        return before == headless_.dataSets()[LogData].count ? Refused : Done;
    }
    headless_.waitIdle();
    if (const int code = communicationCode();
        code != Done || !headless_.session().port().isOpen()) {
        return CommunicationFailed;
    }
    return writeCsv(LogData);
}

int CliRunner::writeCsv(DataSetIndex index) {
    const QString target =
        options_.out.isEmpty() ? headless_.scratchFile(QStringLiteral("out.csv")) : options_.out;
    headless_.prompter().savePath = target;
    headless_.operations().files().save(index);
    if (headless_.dataSets()[index].unsaved) {
        return Refused;
    }
    if (options_.out.isEmpty()) {
        QFile file(target);
        if (!file.open(QIODevice::ReadOnly)) {
            headless_.prompter().message(QString(), messages_.text(kCannotWrite).arg(target));
            return Refused;
        }
        const QByteArray bytes = file.readAll();
        write(bytes);
    }
    return Done;
}

int CliRunner::start() {
    if (recordingOrReserved()) {
        headless_.prompter().message(QString(), messages_.text(kStopFirst));
        return Refused;
    }
    if (options_.force) {
        headless_.prompter().answer = true;
    }
    headless_.operations().recording().Command4_Click();
    if (!headless_.session().engine().busy()) {
        return Refused;
    }
    headless_.waitIdle();
    return headless_.session().port().isOpen() ? communicationCode() : CommunicationFailed;
}

int CliRunner::stop() {
    if (!recordingOrReserved()) {
        return status();
    }
    headless_.operations().recording().Command4_Click();
    headless_.waitIdle();
    if (!headless_.session().port().isOpen()) {
        return CommunicationFailed;
    }
    if (const int code = communicationCode(); code != Done) {
        return code;
    }
    return status();
}

void CliRunner::write(const QByteArray& bytes) {
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), out_);
}

void CliRunner::printSample(const Sample& sample) {
    const QString line = datetime::format(sample.dateTime) + QLatin1Char('\t') +
                         formatHundredths(sample.temperature) + QLatin1Char('\t') +
                         formatHundredths(sample.humidity) + QLatin1Char('\n');
    const QByteArray bytes = line.toUtf8();
    write(bytes);
    std::fflush(out_);
}

int CliRunner::measure() {
    RealTimeMeasurement& realTime = headless_.operations().realTime();
    DataSet& samples = headless_.dataSets()[RealTimeData];
    const bool toFile = !options_.out.isEmpty();
    if (!options_.every) {
        realTime.Command1_Click();
        headless_.waitIdle();
        if (const int code = communicationCode(); code != Done || samples.count < 1) {
            return CommunicationFailed;
        }
        Sample sample;
        if (samples.read(1, sample) == DataError::None && !toFile) {
            printSample(sample);
        }
        return toFile ? writeCsv(RealTimeData) : Done;
    }
    const Interval every = *options_.every;
    if (every.seconds) {
        realTime.Option3_Click();
    } else {
        realTime.Option4_Click();
    }
    headless_.controls().setText(ControlId::Combo5, QString::number(every.count));
    if (!realTime.repeatSeconds()) {
        return Refused;
    }
    // Every sample written is printed once, however the writes and the appends interleave.
    int printed = 0;
    const auto printNew = [&] {
        Sample sample;
        for (; !toFile && printed < std::min<int>(samples.count, options_.count); ++printed) {
            if (samples.read(printed + 1, sample) == DataError::None) {
                printSample(sample);
            }
        }
    };
    headless_.display().onAppend = [&](DataSetIndex) { printNew(); };
    realTime.Command2_Click();
    while (realTime.running() && samples.count < options_.count &&
           headless_.session().port().isOpen()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    // The last sample is complete only when its measurement has ended.
    headless_.waitIdle();
    printNew();
    headless_.display().onAppend = nullptr;
    // The stop's save question is answered by --out.
    headless_.prompter().answer = toFile;
    headless_.prompter().savePath = options_.out;
    if (realTime.running()) {
        realTime.Command2_Click();
    }
    headless_.waitIdle();
    if (!headless_.session().port().isOpen()) {
        return CommunicationFailed;
    }
    return toFile && samples.unsaved ? Refused : communicationCode();
}
