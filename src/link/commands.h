// Command codes of the logger's wire protocol. The simulator shares this header and nothing
// else of the link.
#pragma once

#include <cstdint>

enum class Command : std::uint8_t {
    SetClockMonthYear = 1,
    SetClockHourDay = 2,
    SetClockSecondMinute = 3,
    GetClockMonthYear = 4,
    GetClockHourDay = 5,
    GetClockSecondMinute = 6,
    ReadMemory = 8,
    StartRecording = 11,
    StopRecording = 12,
    GetBatteryLow = 16,
    ReserveRecording = 17,
    MeasureHumidity = 21,
    MeasureTemperature = 22,
    ReadSetting = 23,
    SetFastSampling = 25,
    GetStatus = 30,
    SetReserveDay = 31,
    SetReserveHour = 32,
    SetReserveMinute = 33,
    GetReserveDay = 34,
    GetReserveHour = 35,
    GetReserveMinute = 36,
    GetInterval = 37,
    GetRecordBytes = 38,
    SetName12 = 40,
    SetName34 = 41,
    GetName12 = 42,
    GetName34 = 43,
    StreamRecords = 44,
    SetUpperAlarm = 45,
    SetLowerAlarm = 46,
    GetUpperAlarm = 47,
    GetLowerAlarm = 48,
    SetMemoryMode = 49,
    GetMemoryMode = 50,
    GetBatteryVoltage = 51,
    MarkDownloaded = 56,
    GetDownloaded = 57,
    AuxCommand87 = 87,
    Identify = 99,
};

constexpr std::uint8_t code(Command c) {
    return static_cast<std::uint8_t>(c);
}

// The command's name in this header's table; nullptr for a code it does not hold.
constexpr const char* commandNameOf(std::uint8_t value) {
    switch (static_cast<Command>(value)) {
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

// Every queued command has kind 1.
inline constexpr std::uint8_t kCommandKind = 1;
inline constexpr std::uint8_t kTerminator = 0xFF;
inline constexpr std::uint8_t kRefusal = 0xEE;

// Interval unit codes of StartRecording, ReserveRecording and the setting area.
inline constexpr std::uint8_t kUnitSeconds = 130;
inline constexpr std::uint8_t kUnitMinutes = 131;

// Status bits of GetStatus.
inline constexpr std::uint8_t kStatusRecording0 = 0x01;
inline constexpr std::uint8_t kStatusRecording1 = 0x02;
inline constexpr std::uint8_t kStatusReserved = 0x04;
inline constexpr std::uint8_t kStatusBatteryFault = 0x08;
inline constexpr std::uint8_t kStatusLowVoltageStop = 0x10;

// Record memory and segment table geometry.
inline constexpr int kRecordBytes = 4;
inline constexpr int kMemoryRecords = 15000;
inline constexpr int kMemoryBytes = kRecordBytes * kMemoryRecords;
inline constexpr int kSegmentTableAddress = 0xF000;
inline constexpr int kSegmentEntryBytes = 8;

// Setting area addresses read by ReadSetting.
inline constexpr std::uint8_t kSettingRecordBytes = 16;
inline constexpr std::uint8_t kSettingInterval = 18;
inline constexpr std::uint8_t kSettingStartYearMonth = 20;
inline constexpr std::uint8_t kSettingStartDayHour = 22;
inline constexpr std::uint8_t kSettingStartMinuteSecond = 24;

// The raw initialise command, written straight to the port.
inline constexpr char kInitAll[] = "INITALL";
