// The program's picture of the connected logger, filled only by replies and the connect step.
#pragma once

#include <QString>
#include <array>
#include <cstdint>

// What the logger is doing as the program sees it: recording and reserved come from its status
// bits, continuous while the program measures in real time.
enum class RecordState { Stopped, Recording, Reserved, Continuous };

// The lowercase keyword of a state, for logs and the command line's output.
constexpr const char* recordStateKeyword(RecordState state) {
    switch (state) {
        case RecordState::Recording:
            return "recording";
        case RecordState::Reserved:
            return "reserved";
        case RecordState::Continuous:
            return "continuous";
        case RecordState::Stopped:
            break;
    }
    return "stopped";
}

struct LoggerState {
    QString Machine_N_P = QStringLiteral("Veltrane");
    QString F_W_Ver;
    QString VT_Name;
    RecordState recordState = RecordState::Stopped;
    QString Error_Flag;  // "Error" or empty
    QString Stop_Flag;   // "Stop" or empty
    std::array<std::uint8_t, 6> Start_Raw{};
    double Start_Time = 0;  // days since 1899-12-30; 0 when Start_Raw is not a valid date
    std::uint8_t Clock_Year = 0, Clock_Month = 0, Clock_Day = 0;
    std::uint8_t Clock_Hour = 0, Clock_Minute = 0, Clock_Second = 0;
    double Clock_Time = 0;      // the logger clock as a date-time; 0 when not a valid date
    double Record_Pointer = 0;  // bytes of record memory written
    std::uint8_t Interval_Unit = 0;
    std::uint8_t Interval_Value = 0;
    std::int32_t Current_Interval_Sec = 0;
    std::uint8_t Reserve_Day = 0, Reserve_Hour = 0, Reserve_Minute = 0;
    std::uint8_t Memory_Mode = 0;
    std::uint8_t Wrapped = 0;
    QString Battery_Volts;
    std::uint8_t Download_Mode = 0;  // 0 fast (streamed), 1 normal

    bool loopWrapped() const { return Memory_Mode != 0 && Wrapped != 0; }
};

inline const QString kModelQM320 = QStringLiteral("QM320-HX");
inline const QString kModelQM300 = QStringLiteral("QM300-HX");
inline const QString kModelQM400 = QStringLiteral("QM400-HXA");
inline const QString kProductName = QStringLiteral("Veltrane");
