// The logger model's command batches and reply handling.
#include "link/loggermodel.h"

#include <initializer_list>

#include "data/codepage.h"
#include "link/loggerdate.h"

namespace {

struct BatchEntry {
    Command command;
    std::uint8_t arg1 = 0;
    std::uint8_t arg2 = 0;
};

bool enqueueAll(Engine& engine, std::initializer_list<BatchEntry> entries, const QString& keyword,
                std::int32_t value) {
    for (const BatchEntry& e : entries) {
        if (!engine.Enqueue(e.command, e.arg1, e.arg2, keyword, value)) {
            return false;
        }
    }
    return true;
}

int bigEndian(const Reply& reply) {
    return reply.r[2] * 256 + reply.r[3];
}

void appendNamePair(LoggerState& state, const Reply& reply) {
    // A zero code ends the name: the pair holding it is not appended. The codes are those of
    // the code page the name was written in.
    if (reply.r[2] != 0 && reply.r[3] != 0) {
        const char pair[] = {static_cast<char>(reply.r[2]), static_cast<char>(reply.r[3])};
        state.VT_Name += codepage::fromWindows1252(QByteArray(pair, 2));
    }
}

void applyStatus(LoggerState& state, std::uint8_t bits) {
    state.recordState = RecordState::Stopped;
    state.Error_Flag.clear();
    state.Stop_Flag.clear();
    if (bits & (kStatusRecording0 | kStatusRecording1)) {
        state.recordState = RecordState::Recording;
    }
    if (bits & kStatusReserved) {
        state.recordState = RecordState::Reserved;
    }
    if (bits & kStatusBatteryFault) {
        state.Error_Flag = QStringLiteral("Error");
    }
    if (bits & kStatusLowVoltageStop) {
        state.Stop_Flag = QStringLiteral("Stop");
    }
}

void applySetting(LoggerState& state, DataSet& logHeader, std::uint8_t address,
                  const Reply& reply) {
    const std::uint8_t r2 = reply.r[2];
    const std::uint8_t r3 = reply.r[3];
    switch (address) {
        case kSettingStartYearMonth:
            state.Start_Raw[0] = r2;
            state.Start_Raw[1] = r3;
            break;
        case kSettingStartDayHour:
            state.Start_Raw[2] = r2;
            state.Start_Raw[3] = r3;
            break;
        case kSettingStartMinuteSecond:
            state.Start_Raw[4] = r2;
            state.Start_Raw[5] = r3;
            state.Start_Time = packedDateTime(state.Start_Raw.data()).value_or(0.0);
            break;
        case kSettingRecordBytes:
            state.Record_Pointer = bigEndian(reply);
            break;
        case kSettingInterval:
            state.Interval_Unit = r2;
            state.Interval_Value = r3;
            logHeader.interval = r2 == kUnitMinutes ? r3 * 60 : r3;
            break;
        default:
            break;
    }
}

void applyAlarm(DataSet& logHeader, bool upper, const Reply& reply) {
    const std::uint8_t on = reply.r[2] & 0x80;
    const std::int32_t raw = (reply.r[2] & 0x7F) * 256 + reply.r[3];
    const std::int16_t degrees = boundDegrees(raw, logHeader.interval);
    if (upper) {
        logHeader.upperOn = on;
        logHeader.upperRaw = raw;
        logHeader.upperBound = degrees;
    } else {
        logHeader.lowerOn = on;
        logHeader.lowerRaw = raw;
        logHeader.lowerBound = degrees;
    }
}

QString clockOf(LoggerState& state) {
    const auto clock = loggerDateTime(state.Clock_Year, state.Clock_Month, state.Clock_Day,
                                      state.Clock_Hour, state.Clock_Minute, state.Clock_Second);
    state.Clock_Time = clock.value_or(0.0);
    return clock ? dateTimeText(*clock) : QString();
}

}  // namespace

bool enqueueStatusRead(Engine& engine, const QString& keyword, std::int32_t value) {
    return enqueueAll(engine,
                      {{Command::Identify},
                       {Command::GetName12},
                       {Command::GetName34},
                       {Command::GetStatus},
                       {Command::ReadSetting, kSettingStartYearMonth},
                       {Command::ReadSetting, kSettingStartDayHour},
                       {Command::ReadSetting, kSettingStartMinuteSecond},
                       {Command::ReadSetting, kSettingRecordBytes},
                       {Command::ReadSetting, kSettingInterval},
                       {Command::GetRecordBytes},
                       {Command::GetReserveDay},
                       {Command::GetReserveHour},
                       {Command::GetReserveMinute},
                       {Command::GetInterval},
                       {Command::GetUpperAlarm},
                       {Command::GetLowerAlarm},
                       {Command::GetMemoryMode},
                       {Command::GetBatteryVoltage},
                       {Command::GetDownloaded}},
                      keyword, value);
}

bool enqueueClockRead(Engine& engine, const QString& keyword, std::int32_t value) {
    return enqueueAll(
        engine,
        {{Command::GetClockMonthYear}, {Command::GetClockHourDay}, {Command::GetClockSecondMinute}},
        keyword, value);
}

bool enqueueClockWrite(Engine& engine, const QString& keyword, std::int32_t value,
                       const QDateTime& now) {
    const QDate d = now.date();
    const QTime t = now.time();
    const auto byte = [](int v) { return static_cast<std::uint8_t>(v); };
    return enqueueAll(engine,
                      {{Command::SetClockMonthYear, byte(d.month()), byte(d.year() % 100)},
                       {Command::SetClockHourDay, byte(t.hour()), byte(d.day())},
                       {Command::SetClockSecondMinute, byte(t.second()), byte(t.minute())}},
                      keyword, value);
}

bool enqueueMeasurement(Engine& engine, const QString& keyword, std::int32_t value) {
    return enqueueAll(
        engine,
        {{Command::GetBatteryLow}, {Command::MeasureTemperature}, {Command::MeasureHumidity}},
        keyword, value);
}

ModelEffect applyReply(LoggerState& state, DataSet& logHeader, const CommandEntry& entry,
                       const Reply& reply, const MessageTable& messages) {
    ModelEffect effect;
    const std::uint8_t r2 = reply.r[2];
    const std::uint8_t r3 = reply.r[3];
    switch (static_cast<Command>(entry.Code)) {
        case Command::Identify:
            if (reply.raw.size() >= 2) {
                const auto major = static_cast<std::uint8_t>(reply.raw[reply.raw.size() - 2]);
                const auto minor = static_cast<std::uint8_t>(reply.raw[reply.raw.size() - 1]);
                state.F_W_Ver = QString::number(major) + QLatin1Char('.') +
                                QStringLiteral("%1").arg(minor, 2, 10, QLatin1Char('0'));
            }
            break;
        case Command::GetName12:
            state.VT_Name.clear();
            appendNamePair(state, reply);
            break;
        case Command::GetName34:
            appendNamePair(state, reply);
            break;
        case Command::GetStatus:
            applyStatus(state, r2);
            break;
        case Command::ReadSetting:
            applySetting(state, logHeader, entry.Arg1, reply);
            break;
        case Command::GetRecordBytes:
            if (bigEndian(reply) > state.Record_Pointer) {
                state.Record_Pointer = bigEndian(reply);
            }
            break;
        case Command::GetReserveDay:
            state.Reserve_Day = r2;
            break;
        case Command::GetReserveHour:
            state.Reserve_Hour = r2;
            break;
        case Command::GetReserveMinute:
            state.Reserve_Minute = r2;
            break;
        case Command::GetInterval:
            state.Current_Interval_Sec = r2 == kUnitMinutes ? r3 * 60 : r3;
            break;
        case Command::GetUpperAlarm:
            applyAlarm(logHeader, true, reply);
            break;
        case Command::GetLowerAlarm:
            applyAlarm(logHeader, false, reply);
            break;
        case Command::GetMemoryMode:
            state.Memory_Mode = r2;
            state.Wrapped = r3;
            break;
        case Command::GetBatteryVoltage:
            state.Battery_Volts = QString::number(bigEndian(reply) * 3.3 / 1023, 'f', 2);
            break;
        case Command::GetDownloaded:
            logHeader.neverDownloaded = r2 + r3 == 0;
            break;
        case Command::MarkDownloaded:
            logHeader.neverDownloaded = false;
            break;
        case Command::GetBatteryLow:
            effect.batteryLow = r2 != 0;
            break;
        case Command::GetClockMonthYear:
            state.Clock_Month = r2;
            state.Clock_Year = r3;
            break;
        case Command::GetClockHourDay:
            state.Clock_Hour = r2;
            state.Clock_Day = r3;
            break;
        case Command::GetClockSecondMinute: {
            state.Clock_Second = r2;
            state.Clock_Minute = r3;
            const QString clock = clockOf(state);
            if (entry.Keyword == Keyword::TSet) {
                effect.message =
                    messages.text(Msg::ClockSetCompleted) + MessageTable::kPartBreak + clock;
            }
            effect.clockText = clock;
            break;
        }
        case Command::SetMemoryMode:
        case Command::SetLowerAlarm:
            if (entry.Keyword != Keyword::LogStart) {
                effect.message = messages.text(Msg::SetCompleted);
            }
            break;
        default:
            break;
    }
    return effect;
}

LoggerModel::LoggerModel(LoggerState& state, DataSet& logData, DataSet& realTimeData,
                         Sample& sampleBuffer, Prompter& prompter, const MessageTable& messages)
    : state_(state),
      logData_(logData),
      realTimeData_(realTimeData),
      sample_(sampleBuffer),
      prompter_(prompter),
      messages_(messages) {}

void LoggerModel::registerHandlers(Engine& engine) {
    const auto model = [this](CommandEntry& entry, const Reply& reply) {
        return handle(entry, reply);
    };
    for (Command c : {Command::Identify,         Command::GetName12,
                      Command::GetName34,        Command::GetStatus,
                      Command::ReadSetting,      Command::GetRecordBytes,
                      Command::GetReserveDay,    Command::GetReserveHour,
                      Command::GetReserveMinute, Command::GetInterval,
                      Command::GetUpperAlarm,    Command::GetLowerAlarm,
                      Command::GetMemoryMode,    Command::GetBatteryVoltage,
                      Command::GetDownloaded,    Command::MarkDownloaded,
                      Command::GetBatteryLow,    Command::GetClockMonthYear,
                      Command::GetClockHourDay,  Command::GetClockSecondMinute,
                      Command::SetMemoryMode,    Command::SetLowerAlarm}) {
        engine.setHandler(c, model);
    }
    const auto realTime = [this](CommandEntry& entry, const Reply& reply) {
        return handleRealTime(entry, reply);
    };
    engine.setHandler(Command::MeasureTemperature, realTime);
    engine.setHandler(Command::MeasureHumidity, realTime);
}

ReplyAction LoggerModel::handle(const CommandEntry& entry, const Reply& reply) {
    const ModelEffect effect = applyReply(state_, logData_, entry, reply, messages_);
    if (!effect.message.isEmpty()) {
        prompter_.message(state_.Machine_N_P, effect.message);
    }
    if (view_ == nullptr) {
        return ReplyAction::Advance;
    }
    if (effect.batteryLow) {
        view_->batteryLabel(
            messages_.text(*effect.batteryLow ? Msg::BatteryLow : Msg::BatteryNormal),
            *effect.batteryLow);
    }
    if (effect.clockText) {
        view_->clockLabel(*effect.clockText);
    }
    return ReplyAction::Advance;
}

ReplyAction LoggerModel::handleRealTime(const CommandEntry& entry, const Reply& reply) {
    if (entry.Code == code(Command::MeasureTemperature)) {
        realTimeTemperature(sample_, realTimeData_, entry.Keyword, reply.r[2], reply.r[3]);
        return ReplyAction::Advance;
    }
    RealTimeReadout readout;
    if (realTimeHumidity(sample_, realTimeData_, entry.Keyword, reply.r[2], reply.r[3], messages_,
                         readout) == DataError::None &&
        view_ != nullptr) {
        view_->realTimeReadout(readout);
        view_->realTimeSampleAdded();
    }
    return ReplyAction::Advance;
}
