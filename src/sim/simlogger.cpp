// Command handling of the simulated logger.
#include "sim/simlogger.h"

#include <algorithm>

#include "sim/simmemory.h"
#include "sim/simsensor.h"

namespace {

// Input without a terminator beyond this is line noise; the device drops it.
constexpr int kMaxInput = 64;
constexpr int kOverlongBytes = 120;
constexpr std::uint8_t kStatusRecording = kStatusRecording0 | kStatusRecording1;

}  // namespace

SimLogger::SimLogger() : climate_(simmemory::indoorClimate) {}

void SimLogger::setClimate(SimClimateCurve climate) {
    climate_ = std::move(climate);
}

SimClimate SimLogger::climateNow() const {
    const QDateTime now = state_.clock.toDateTime();
    return climate_(now.isValid() ? now : QDateTime::fromSecsSinceEpoch(0));
}

void SimLogger::setClock(const QDateTime& dateTime) {
    state_.clock = SimClock::fromDateTime(dateTime);
    subSecondMs_ = 0;
}

void SimLogger::receive(const QByteArray& bytes) {
    input_.append(bytes);
    for (qsizetype end = input_.indexOf(static_cast<char>(kTerminator)); end >= 0;
         end = input_.indexOf(static_cast<char>(kTerminator))) {
        const QByteArray body = input_.left(end);
        input_.remove(0, end + 1);
        handleFrame(body);
    }
    if (input_.size() > kMaxInput) {
        input_.clear();
        ++malformedFrames_;
    }
}

void SimLogger::handleFrame(const QByteArray& body) {
    if (body == QByteArrayView(kInitAll)) {
        initialise();
        return;
    }
    const auto command = simcodec::decodeCommand(body);
    if (!command || command->kind != kCommandKind) {
        ++malformedFrames_;
        return;
    }
    handleCommand(*command);
}

void SimLogger::handleCommand(const SimCommand& command) {
    // A new command ends whatever stream was still running, as on the device.
    stream_.reset();
    history_.push_back(command);
    const std::uint8_t c = command.code;
    if (faults_.silent.contains(c)) {
        return;
    }
    const int sends = ++sends_[c];
    if (const auto delay = faults_.delays.find(c); delay != faults_.delays.end()) {
        const SimDelay& d = delay->second;
        const int nth = sends - d.after;
        if (d.ms > 0 && nth >= 1 && (d.sends < 0 || nth <= d.sends)) {
            holds_.push_back(Hold{taken_ + output_.size(), d.ms});
        }
    }
    if (const auto refuse = faults_.refuseFirst.find(c);
        refuse != faults_.refuseFirst.end() && sends <= refuse->second) {
        output_.append(static_cast<char>(kRefusal));
        output_.append(7, '\0');
        output_.append(static_cast<char>(kTerminator));
        return;
    }
    if (c == code(Command::Identify)) {
        if (!requireReset_ || resetSeen_) {
            output_.append(decorate(c, identifyReply()));
        }
        return;
    }
    if (c == code(Command::StreamRecords)) {
        const int end = std::min(command.arg1 * 256 + command.arg2, kSimAddressSpace);
        stream_ = Stream{0, end, 0};
        streamCode_ = c;
        return;
    }
    if (const auto values = execute(command)) {
        const auto& v = *values;
        output_.append(decorate(c, simcodec::encodeReply(v[0], v[1], v[2], v[3])));
    }
    if (faults_.unplugAfter == c) {
        unplugRequested_ = true;
    }
}

std::optional<std::array<std::uint8_t, 4>> SimLogger::execute(const SimCommand& command) {
    const std::uint8_t a1 = command.arg1;
    const std::uint8_t a2 = command.arg2;
    std::array<std::uint8_t, 4> reply{command.kind, command.code, 0, 0};
    auto data = [&reply](int r2, int r3) {
        reply[2] = static_cast<std::uint8_t>(r2);
        reply[3] = static_cast<std::uint8_t>(r3);
        return reply;
    };
    SimLoggerState& s = state_;
    switch (static_cast<Command>(command.code)) {
        case Command::SetClockMonthYear:
            s.clock.month = a1;
            s.clock.year = a2;
            return reply;
        case Command::SetClockHourDay:
            s.clock.hour = a1;
            s.clock.day = a2;
            return reply;
        case Command::SetClockSecondMinute:
            s.clock.second = a1;
            s.clock.minute = a2;
            subSecondMs_ = 0;
            return reply;
        case Command::GetClockMonthYear:
            return data(s.clock.month, s.clock.year);
        case Command::GetClockHourDay:
            return data(s.clock.hour, s.clock.day);
        case Command::GetClockSecondMinute:
            return data(s.clock.second, s.clock.minute);
        case Command::ReadMemory:
            return memoryAt(a1 * 256 + a2);
        case Command::StartRecording:
            s.intervalUnit = a1;
            s.intervalCount = a2;
            beginRecording();
            return reply;
        case Command::StopRecording:
            s.status &= static_cast<std::uint8_t>(~(kStatusRecording | kStatusReserved));
            s.currentSegment = -1;
            return reply;
        case Command::GetBatteryLow:
            return data(s.batteryLow ? 1 : 0, 0);
        case Command::ReserveRecording:
            s.intervalUnit = a1;
            s.intervalCount = a2;
            s.status = static_cast<std::uint8_t>((s.status & ~kStatusRecording) | kStatusReserved);
            return reply;
        case Command::MeasureHumidity: {
            const SimClimate now = climateNow();
            const int rt = simsensor::rawOfTemperature(now.temperature, s.fastSampling);
            const int rh = simsensor::rawOfHumidity(now.humidity, rt, s.fastSampling);
            return data(rh >> 8, rh & 0xFF);
        }
        case Command::MeasureTemperature: {
            const int rt = simsensor::rawOfTemperature(climateNow().temperature, s.fastSampling);
            return data(rt >> 8, rt & 0xFF);
        }
        case Command::ReadSetting:
            switch (a1) {
                case kSettingRecordBytes:
                    return data(s.recordPointer >> 8, s.recordPointer & 0xFF);
                case kSettingInterval:
                    return data(s.settingUnit, s.settingCount);
                case kSettingStartYearMonth:
                    return data(s.startPacked[0], s.startPacked[1]);
                case kSettingStartDayHour:
                    return data(s.startPacked[2], s.startPacked[3]);
                case kSettingStartMinuteSecond:
                    return data(s.startPacked[4], s.startPacked[5]);
                default:
                    return data(0xFF, 0xFF);
            }
        case Command::SetFastSampling:
            s.fastSampling = a1 != 0;
            return reply;
        case Command::GetStatus:
            return data(s.status, 0);
        case Command::SetReserveDay:
            s.reserveDay = a1;
            return reply;
        case Command::SetReserveHour:
            s.reserveHour = a1;
            return reply;
        case Command::SetReserveMinute:
            s.reserveMinute = a1;
            return reply;
        case Command::GetReserveDay:
            return data(s.reserveDay, 0);
        case Command::GetReserveHour:
            return data(s.reserveHour, 0);
        case Command::GetReserveMinute:
            return data(s.reserveMinute, 0);
        case Command::GetInterval:
            return data(s.intervalUnit, s.intervalCount);
        case Command::GetRecordBytes:
            return data(s.recordPointer >> 8, s.recordPointer & 0xFF);
        case Command::SetName12:
            s.name[0] = a1;
            s.name[1] = a2;
            return reply;
        case Command::SetName34:
            s.name[2] = a1;
            s.name[3] = a2;
            return reply;
        case Command::GetName12:
            return data(s.name[0], s.name[1]);
        case Command::GetName34:
            return data(s.name[2], s.name[3]);
        case Command::SetUpperAlarm:
            s.upperAlarmHigh = a1;
            s.upperAlarmLow = a2;
            return reply;
        case Command::SetLowerAlarm:
            s.lowerAlarmHigh = a1;
            s.lowerAlarmLow = a2;
            return reply;
        case Command::GetUpperAlarm:
            return data(s.upperAlarmHigh, s.upperAlarmLow);
        case Command::GetLowerAlarm:
            return data(s.lowerAlarmHigh, s.lowerAlarmLow);
        case Command::SetMemoryMode:
            s.memoryMode = a1 != 0 ? 1 : 0;
            return reply;
        case Command::GetMemoryMode:
            return data(s.memoryMode, s.wrapped);
        case Command::GetBatteryVoltage:
            return data(s.batteryReading >> 8, s.batteryReading & 0xFF);
        case Command::MarkDownloaded:
            s.downloaded = true;
            return reply;
        case Command::GetDownloaded:
            return data(s.downloaded ? 1 : 0, s.downloaded ? 1 : 0);
        case Command::AuxCommand87:
            ++auxCommandCount_;
            return reply;
        case Command::StreamRecords:
        case Command::Identify:
            break;
    }
    // Codes the device does not know are answered with their echo, like a set command.
    return reply;
}

QByteArray SimLogger::identifyReply() const {
    QByteArray reply = state_.model;
    reply.append(static_cast<char>(state_.firmwareMajor));
    reply.append(static_cast<char>(state_.firmwareMinor));
    reply.append(static_cast<char>(kTerminator));
    return reply;
}

std::array<std::uint8_t, 4> SimLogger::memoryAt(int address) const {
    std::array<std::uint8_t, 4> bytes{0xFF, 0xFF, 0xFF, 0xFF};
    for (int i = 0; i < 4; ++i) {
        if (address + i >= 0 && address + i < kSimAddressSpace) {
            bytes[i] = state_.memory[address + i];
        }
    }
    return bytes;
}

QByteArray SimLogger::decorate(std::uint8_t code, QByteArray reply) const {
    if (faults_.badValue.contains(code) && reply.size() == 9 && code != ::code(Command::Identify)) {
        reply[4] = 0x09;  // hundreds digit 9: the pair decodes to 999
        reply[5] = static_cast<char>(0x99);
    }
    if (faults_.overlong.contains(code)) {
        reply.prepend(QByteArray(kOverlongBytes, 0x11));
    }
    if (const auto garbage = faults_.garbageBefore.find(code);
        garbage != faults_.garbageBefore.end()) {
        QByteArray noise;
        for (int i = 0; i < garbage->second; ++i) {
            noise.append(static_cast<char>(i % 2 == 0 ? 0x5A : 0xA5));
        }
        reply.prepend(noise);
    }
    return reply;
}

QByteArray SimLogger::takeOutput(int maxBytes) {
    while (stream_ && output_.size() < maxBytes) {
        if (faults_.stallAfterRecords >= 0 && stream_->sent >= faults_.stallAfterRecords) {
            break;
        }
        const auto v = memoryAt(stream_->nextAddress);
        QByteArray record = simcodec::encodeReply(v[0], v[1], v[2], v[3]);
        output_.append(stream_->sent == 0 ? decorate(streamCode_, record) : record);
        stream_->nextAddress += kRecordBytes;
        ++stream_->sent;
        ++streamedRecords_;
        if (stream_->nextAddress >= stream_->endAddress) {
            stream_.reset();
        }
    }
    const QByteArray taken = output_.left(maxBytes);
    output_.remove(0, taken.size());
    taken_ += taken.size();
    // A taker that keeps no wall clock (the in-process port) passes held replies at once.
    while (!holds_.empty() && holds_.front().offset < taken_) {
        holds_.pop_front();
    }
    return taken;
}

int SimLogger::heldMs() const {
    return !holds_.empty() && holds_.front().offset <= taken_ ? holds_.front().ms : 0;
}

void SimLogger::releaseHold() {
    if (heldMs() > 0) {
        holds_.pop_front();
    }
}

qsizetype SimLogger::bytesBeforeHold() const {
    return holds_.empty() ? std::numeric_limits<qsizetype>::max() : holds_.front().offset - taken_;
}

bool SimLogger::hasOutput() const {
    const bool stalled =
        stream_ && faults_.stallAfterRecords >= 0 && stream_->sent >= faults_.stallAfterRecords;
    return !output_.isEmpty() || (stream_ && !stalled);
}

void SimLogger::discardOutput() {
    output_.clear();
    stream_.reset();
    holds_.clear();
}

bool SimLogger::cbusLevel(std::uint8_t level) {
    if (level == 0xFF) {
        sawHigh_ = true;
        return false;
    }
    if (level != 0 || !sawHigh_) {
        return false;
    }
    sawHigh_ = false;
    resetSeen_ = true;
    input_.clear();
    discardOutput();
    return true;
}

void SimLogger::advanceTime(qint64 milliseconds) {
    const qint64 total = subSecondMs_ + std::max<qint64>(0, milliseconds);
    subSecondMs_ = total % 1000;
    SimLoggerState& s = state_;
    // Moves from event to event, so hours of an accelerated clock cost a step per record.
    for (qint64 left = total / 1000; left > 0;) {
        const QDateTime before = s.clock.toDateTime();
        const bool reserved = (s.status & kStatusReserved) != 0;
        const bool recording = !reserved && (s.status & kStatusRecording) != 0;
        const auto start = reserved ? reservedStart() : std::nullopt;
        const qint64 untilStart = start ? before.secsTo(*start) : left;
        qint64 step = std::min(left, untilStart);
        if (recording) {
            step = std::clamp<qint64>(s.secondsToNextRecord, 1, left);
        }
        if (before.isValid()) {
            s.clock = SimClock::fromDateTime(before.addSecs(step));
        }
        left -= step;
        if (start && step == untilStart) {
            beginRecording();
        } else if (recording) {
            s.secondsToNextRecord -= static_cast<int>(step);
            if (s.secondsToNextRecord <= 0) {
                takeRecord();
            }
        }
    }
}

std::optional<QDateTime> SimLogger::reservedStart() const {
    const SimLoggerState& s = state_;
    const QDateTime now = s.clock.toDateTime();
    const QTime time(s.reserveHour, s.reserveMinute);
    if (!now.isValid() || !time.isValid()) {
        return std::nullopt;
    }
    // A day missing from a month (the 31st) is next met within a year, or never.
    QDate month(now.date().year(), now.date().month(), 1);
    for (int i = 0; i <= 12; ++i, month = month.addMonths(1)) {
        const QDate day(month.year(), month.month(), s.reserveDay);
        if (day.isValid() && QDateTime(day, time, Qt::UTC) > now) {
            return QDateTime(day, time, Qt::UTC);
        }
    }
    return std::nullopt;
}

void SimLogger::beginRecording() {
    SimLoggerState& s = state_;
    simmemory::erase(s);
    const QDateTime now = s.clock.toDateTime();
    if (now.isValid()) {
        s.startPacked = simmemory::packDateTime(now);
    }
    s.settingUnit = s.intervalUnit;
    s.settingCount = s.intervalCount;
    simmemory::writeSegment(s, 0, s.startPacked, 0);
    simmemory::writeEndMarker(s, 1);
    s.currentSegment = 0;
    s.downloaded = false;
    s.status = static_cast<std::uint8_t>((s.status & ~(kStatusRecording | kStatusReserved)) |
                                         kStatusRecording0);
    takeRecord();
}

void SimLogger::takeRecord() {
    SimLoggerState& s = state_;
    const int seconds = simmemory::intervalSeconds(s.settingUnit, s.settingCount);
    s.secondsToNextRecord = seconds;
    const auto raw = simmemory::rawRecord(climateNow(), seconds);
    const bool stored = simmemory::appendRecord(s, raw[0], raw[1]);
    if (!stored || (s.memoryMode == 0 && s.recordPointer >= kMemoryBytes)) {
        s.status &= static_cast<std::uint8_t>(~kStatusRecording);
        s.currentSegment = -1;
    }
}

void SimLogger::initialise() {
    ++initialiseCount_;
    SimLoggerState& s = state_;
    simmemory::erase(s);
    s.status &= static_cast<std::uint8_t>(~(kStatusRecording | kStatusReserved));
    s.memoryMode = 0;
    s.downloaded = false;
    s.fastSampling = false;
    s.upperAlarmHigh = s.upperAlarmLow = s.lowerAlarmHigh = s.lowerAlarmLow = 0;
    stream_.reset();
}
