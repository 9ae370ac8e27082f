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
