// Start, stop and programming of a recording; see recording.h.
#include "operations/recording.h"

#include <algorithm>

#include "link/loggermodel.h"
#include "link/sampledecode.h"

namespace {

constexpr std::uint8_t kStopArgument = 14;
constexpr int kFastCount = 2;
constexpr int kSelectorFast = 2;
constexpr int kSelectorNormal = 3;

bool isFast(std::uint8_t unit, int count) {
    return unit == kUnitSeconds && count == kFastCount;
}

std::uint8_t byte(int value) {
    return static_cast<std::uint8_t>(value);
}

void enqueueFastSampling(Engine& engine, std::uint8_t unit, int count, ProcedureKind keyword,
                         std::int32_t value) {
    const std::uint8_t fast = isFast(unit, count) ? 1 : 0;
    engine.Enqueue(Command::SetFastSampling, fast, fast, keyword, value);
}

void enqueueReservation(Engine& engine, const QDateTime& start, std::uint8_t unit, int count,
                        ProcedureKind keyword, std::int32_t value) {
    engine.Enqueue(Command::SetReserveDay, byte(start.date().day()), 0, keyword, value);
    engine.Enqueue(Command::SetReserveHour, byte(start.time().hour()), 0, keyword, value);
    engine.Enqueue(Command::SetReserveMinute, byte(start.time().minute()), 0, keyword, value);
    engine.Enqueue(Command::ReserveRecording, unit, byte(count), keyword, value);
}

}  // namespace

std::array<std::uint8_t, 2> RecordingOperation::alarmBytes(int degrees, bool on,
                                                           int intervalSelector) {
    // The high byte's bit 7 is the on flag, so the raw value has 15 bits.
    const std::int32_t raw = std::clamp(rawOfTemperature(degrees, intervalSelector), 0, 0x7FFF);
    return {byte(raw / 256 | (on ? 0x80 : 0)), byte(raw % 256)};
}

void RecordingOperation::startOrStop() {
    if (c_.session.busy()) {
        return;
    }
    const LoggerState& state = c_.state();
    if (state.recordState == RecordState::Recording || state.recordState == RecordState::Reserved) {
        stop();
        return;
    }
    if (!StatusText::batteryGood(state)) {
        c_.message(c_.messages().text(Msg::ChangeBatteryBeforeStart));
        return;
    }
    const bool recorded = state.Record_Pointer != 0 || state.Wrapped != 0;
    if (recorded && c_.dataSet(LogData).neverDownloaded &&
        !c_.question(c_.messages().pair(Msg::DataNeverDownloaded, Msg::AskStartLosingData))) {
        return;
    }
    openRecordingDialog();
}

void RecordingOperation::stop() {
    Engine& engine = c_.engine();
    c_.session.beginProcedure(c_.state().recordState == RecordState::Reserved
                                  ? Procedure::ReservationCancel
                                  : Procedure::RecordingStop);
    engine.Enqueue(Command::StopRecording, kStopArgument, 0, ProcedureKind::None);
    enqueueStatusRead(engine, ProcedureKind::None);
    send();
    c_.state().recordState = RecordState::Stopped;
}

void RecordingOperation::openRecordingDialog() {
    // Only a connected logger is programmed; it may have been removed under the question
    // before.
    if (c_.session.busy() || !c_.session.port().isOpen()) {
        return;
    }
    RecordingSetup setup(c_.messages(), c_.prompter(), c_.state().Machine_N_P);
    setup.load(c_.state(), c_.dataSet(LogData), c_.dataSet(c_.display.shown()).model);
    const auto request =
        c_.session.prompter().hold([&] { return c_.dialogs.recordingSetting(setup); });
    // A logger removed while the dialog was open has disconnected: nothing is sent.
    if (request && c_.session.port().isOpen()) {
        Log_Start(ProcedureKind::RecordingStart, 0, *request);
    }
}

bool RecordingOperation::Log_Start(ProcedureKind P_Name, std::int32_t S_Num,
                                   const RecordingRequest& request) {
    if (c_.session.busy()) {
        return false;
    }
    Engine& engine = c_.engine();
    c_.session.beginProcedure(request.reservedStart ? Procedure::Reservation
                                                    : Procedure::RecordingStart);
    const auto name = NameField::codes(request.name);
    engine.Enqueue(Command::SetName12, name[0], name[1], P_Name, S_Num);
    engine.Enqueue(Command::SetName34, name[2], name[3], P_Name, S_Num);
    const std::uint8_t loop = request.loop ? 1 : 0;
    engine.Enqueue(Command::SetMemoryMode, loop, loop, P_Name, S_Num);
    enqueueClockWrite(engine, P_Name, S_Num, c_.now());
    enqueueClockRead(engine, P_Name, S_Num);
    enqueueFastSampling(engine, request.unit, request.count, P_Name, S_Num);

    const int selector = request.unit == kUnitSeconds && request.count <= kFastCount
                             ? kSelectorFast
                             : kSelectorNormal;
    std::array<std::uint8_t, 2> upper{};
    std::array<std::uint8_t, 2> lower{};
    if (c_.dataSet(LogData).model == kModelQM320) {
        upper = alarmBytes(request.upper, request.upperOn, selector);
        lower = alarmBytes(request.lower, request.lowerOn, selector);
    }
    engine.Enqueue(Command::SetUpperAlarm, upper[0], upper[1], P_Name, S_Num);
    engine.Enqueue(Command::SetLowerAlarm, lower[0], lower[1], P_Name, S_Num);

    if (request.reservedStart) {
        enqueueReservation(engine, *request.reservedStart, request.unit, request.count, P_Name,
                           S_Num);
    } else {
        engine.Enqueue(Command::StartRecording, request.unit, byte(request.count), P_Name, S_Num);
    }
    enqueueStatusRead(engine, P_Name, S_Num);
    send();
    return true;
}

bool RecordingOperation::Yoyaku_Set(ProcedureKind P_Name, std::int32_t S_Num,
                                    const ReservationRequest& request) {
    if (c_.session.busy()) {
        return false;
    }
    if (!StatusText::batteryGood(c_.state())) {
        c_.message(c_.messages().text(Msg::ChangeBattery));
        return false;
    }
    Engine& engine = c_.engine();
    c_.session.beginProcedure(Procedure::Reservation);
    enqueueClockWrite(engine, P_Name, S_Num, c_.now());
    enqueueClockRead(engine, P_Name, S_Num);
    enqueueFastSampling(engine, request.unit, request.count, P_Name, S_Num);
    enqueueReservation(engine, request.start, request.unit, request.count, P_Name, S_Num);
    enqueueStatusRead(engine, P_Name, S_Num);
    send();
    return true;
}

bool RecordingOperation::M_Mode_Set(bool oneTime) {
    if (c_.session.busy()) {
        return false;
    }
    Engine& engine = c_.engine();
    c_.session.beginProcedure(Procedure::MemoryMode);
    const std::uint8_t loop = oneTime ? 0 : 1;
    engine.Enqueue(Command::SetMemoryMode, loop, loop, ProcedureKind::None);
    enqueueStatusRead(engine, ProcedureKind::None);
    send();
    return true;
}

void RecordingOperation::send() {
    // A send that fails at once ends the procedure, and its refresh enables the controls again.
    refresh_.disableOperationControls();
    c_.engine().SendCurrent();
}
