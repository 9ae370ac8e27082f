// Recording: the Start/Stop button with its checks, the recording-setting dialog,
// and the public operations that program the logger from it (Log_Start) or program only a
// reserved start (Yoyaku_Set) or the record mode (M_Mode_Set).
#pragma once

#include <QDateTime>
#include <QString>
#include <array>
#include <cstdint>

#include "operations/context.h"
#include "operations/recordingsetup.h"
#include "operations/statusrefresh.h"

// A reserved start on its own: the start, the interval unit (130 seconds, 131 minutes) and
// count.
struct ReservationRequest {
    QDateTime start;
    std::uint8_t unit = kUnitMinutes;
    int count = 1;
};

class RecordingOperation {
  public:
    RecordingOperation(Context& context, StatusRefresh& refresh) : c_(context), refresh_(refresh) {}

    // Stops a recording or cancels a reservation without a question; otherwise checks the
    // battery and unsaved records and opens the recording-setting dialog.
    void startOrStop();
    // Opens the recording-setting dialog on the logger's settings and programs what it
    // confirms.
    void openRecordingDialog();

    // Each queues its commands under P_Name and value S_Num and sends it; false
    // when a procedure runs or a box is open, or (Yoyaku_Set) the battery is low.
    bool Log_Start(ProcedureKind P_Name, std::int32_t S_Num, const RecordingRequest& request);
    bool Yoyaku_Set(ProcedureKind P_Name, std::int32_t S_Num, const ReservationRequest& request);
    bool M_Mode_Set(bool oneTime);

    // The two alarm bytes of a bound: the raw value for the interval selector (2: at most 2 s,
    // 3: longer) split high and low, bit 7 of the high byte set when the bound is on.
    static std::array<std::uint8_t, 2> alarmBytes(int degrees, bool on, int intervalSelector);

  private:
    void stop();
    void send();

    Context& c_;
    StatusRefresh& refresh_;
};
