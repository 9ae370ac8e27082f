// The link's logging category, time stamps and byte formatting.
#include "link/linklog.h"

#include <QElapsedTimer>

#include "link/commands.h"

Q_LOGGING_CATEGORY(lcLink, "veltrane.link", QtWarningMsg)

namespace linkLog {
namespace {

QElapsedTimer& clock() {
    static QElapsedTimer timer = [] {
        QElapsedTimer started;
        started.start();
        return started;
    }();
    return timer;
}

const char* nameOf(Command command) {
    switch (command) {
        case Command::SetClockMonthYear:
            return "SetClockMonthYear";
        case Command::SetClockHourDay:
            return "SetClockHourDay";
        case Command::SetClockSecondMinute:
            return "SetClockSecondMinute";
        case Command::GetClockMonthYear:
            return "GetClockMonthYear";
        case Command::GetClockHourDay:
            return "GetClockHourDay";
        case Command::GetClockSecondMinute:
            return "GetClockSecondMinute";
        case Command::ReadMemory:
            return "ReadMemory";
        case Command::StartRecording:
            return "StartRecording";
        case Command::StopRecording:
            return "StopRecording";
        case Command::GetBatteryLow:
            return "GetBatteryLow";
        case Command::ReserveRecording:
            return "ReserveRecording";
        case Command::MeasureHumidity:
            return "MeasureHumidity";
        case Command::MeasureTemperature:
            return "MeasureTemperature";
        case Command::ReadSetting:
            return "ReadSetting";
        case Command::SetFastSampling:
            return "SetFastSampling";
        case Command::GetStatus:
            return "GetStatus";
        case Command::SetReserveDay:
            return "SetReserveDay";
        case Command::SetReserveHour:
            return "SetReserveHour";
        case Command::SetReserveMinute:
            return "SetReserveMinute";
        case Command::GetReserveDay:
            return "GetReserveDay";
        case Command::GetReserveHour:
            return "GetReserveHour";
        case Command::GetReserveMinute:
            return "GetReserveMinute";
        case Command::GetInterval:
            return "GetInterval";
        case Command::GetRecordBytes:
            return "GetRecordBytes";
        case Command::SetName12:
            return "SetName12";
        case Command::SetName34:
            return "SetName34";
        case Command::GetName12:
            return "GetName12";
        case Command::GetName34:
            return "GetName34";
        case Command::StreamRecords:
            return "StreamRecords";
        case Command::SetUpperAlarm:
            return "SetUpperAlarm";
        case Command::SetLowerAlarm:
            return "SetLowerAlarm";
        case Command::GetUpperAlarm:
            return "GetUpperAlarm";
        case Command::GetLowerAlarm:
            return "GetLowerAlarm";
        case Command::SetMemoryMode:
            return "SetMemoryMode";
        case Command::GetMemoryMode:
            return "GetMemoryMode";
        case Command::GetBatteryVoltage:
            return "GetBatteryVoltage";
        case Command::MarkDownloaded:
            return "MarkDownloaded";
        case Command::GetDownloaded:
            return "GetDownloaded";
        case Command::AuxCommand87:
            return "AuxCommand87";
        case Command::Identify:
            return "Identify";
    }
    return nullptr;
}

}  // namespace

QString stamp() {
    return QString::asprintf("%10.3f ms", static_cast<double>(clock().nsecsElapsed()) / 1e6);
}

void restartClock() {
    clock().restart();
}

QString hex(const QByteArray& bytes) {
    return QString::fromLatin1(bytes.toHex(' '));
}

QString hex(std::span<const std::uint8_t> bytes) {
    return hex(QByteArray(reinterpret_cast<const char*>(bytes.data()),
                          static_cast<qsizetype>(bytes.size())));
}

QString commandName(std::uint8_t code) {
    const char* name = nameOf(static_cast<Command>(code));
    return name != nullptr ? QString::fromLatin1(name)
                           : QStringLiteral("command ") + QString::number(code);
}

}  // namespace linkLog
