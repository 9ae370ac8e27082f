// The wiring of one link session; see session.h.
#include "link/session.h"

#include <algorithm>

namespace {

// The commands that leave something in the logger.
bool changesLogger(std::uint8_t commandCode) {
    switch (static_cast<Command>(commandCode)) {
        case Command::SetClockMonthYear:
        case Command::SetClockHourDay:
        case Command::SetClockSecondMinute:
        case Command::StartRecording:
        case Command::StopRecording:
        case Command::ReserveRecording:
        case Command::SetFastSampling:
        case Command::SetReserveDay:
        case Command::SetReserveHour:
        case Command::SetReserveMinute:
        case Command::SetName12:
        case Command::SetName34:
        case Command::SetUpperAlarm:
        case Command::SetLowerAlarm:
        case Command::SetMemoryMode:
        case Command::MarkDownloaded:
            return true;
        default:
            return false;
    }
}

// The first line of a failed changing procedure's box.
Msg failedMessage(Procedure procedure) {
    switch (procedure) {
        case Procedure::RecordingStart:
            return Msg::StartRecordingFailed;
        case Procedure::Reservation:
            return Msg::ReserveStartFailed;
        case Procedure::RecordingStop:
            return Msg::StopRecordingFailed;
        case Procedure::ReservationCancel:
            return Msg::CancelReservationFailed;
        case Procedure::MemoryMode:
            return Msg::SetRecordModeFailed;
        case Procedure::ClockSet:
            return Msg::SetClockFailed;
        case Procedure::NameSet:
        case Procedure::Other:
            break;
    }
    return Msg::SetIdentNameFailed;
}

}  // namespace

bool Session::WireTap::write(const QByteArray& bytes) {
    const bool written = port_.write(bytes);
    if (written && written_) {
        written_();
    }
    return written;
}

Session::Session(SerialPort& port, TimerControl& timers, Prompter& prompter,
                 const MessageTable& messages, DataSets& dataSets)
    : port_(port),
      tap_(port, [this] { lastWritten_ = std::max<int>(lastWritten_, engine_.queue().Head); }),
      timers_(timers),
      prompter_(prompter, [this] { return engine_.busy(); }),
      messages_(messages),
      dataSets_(dataSets),
      engine_(tap_, timers, *this),
      model_(state_, dataSets[LogData], dataSets[RealTimeData], sampleBuffer_, prompter_, messages),
      download_(engine_, state_, dataSets[LogData], prompter_, messages) {
    model_.registerHandlers(engine_);
    download_.registerHandlers();
    timers_.setTick(TimerId::InputTimer, [this] { engine_.inputTick(); });
    timers_.setTick(TimerId::TimeOut, [this] { engine_.timeOutTick(); });
    timers_.setTick(TimerId::MouseP, [this] { engine_.mousePTick(); });
    timers_.setTick(TimerId::DownloadTimer, [this] { download_.downloadTick(); });
    applyLineSettings();
}

void Session::applyLineSettings() {
    engine_.setLineSettings(lineSettings(), Portnum);
}

void Session::beginProcedure(Procedure procedure) {
    engine_.begin();
    procedure_ = procedure;
    lastWritten_ = -1;
}

bool Session::changeSent() const {
    const CommandQueue& queue = engine_.queue();
    const int last = std::min<int>(lastWritten_, queue.Count - 1);
    for (int i = 0; i <= last; ++i) {
        if (changesLogger(queue.Entries[static_cast<std::size_t>(i)].Code)) {
            return true;
        }
    }
    return false;
}

QString Session::failureText(const QString& cause, const QString& plain) const {
    if (procedure_ == Procedure::Other || !changeSent()) {
        return plain;
    }
    const bool stopping =
        procedure_ == Procedure::RecordingStop || procedure_ == Procedure::ReservationCancel;
    Msg leftInLogger = Msg::MayBePartlySet;
    if (procedure_ == Procedure::RecordingStop) {
        leftInLogger = Msg::MayStillRecord;
    } else if (procedure_ == Procedure::ReservationCancel) {
        leftInLogger = Msg::MayStillWaitForStart;
    }
    return messages_.text(failedMessage(procedure_)) + MessageTable::kPartBreak + cause +
           MessageTable::kPartBreak +
           messages_.pair(leftInLogger,
                          stopping ? Msg::ConnectAndStopAgain : Msg::ConnectAndSetAgain);
}

void Session::showFailure(Msg firstMessage, Msg secondMessage) {
    const QString cause = messages_.pair(firstMessage, secondMessage);
    prompter_.message(state_.Machine_N_P, failureText(cause, cause));
}

void Session::setBusyPointer(bool busy) {
    if (busyPointer_) {
        busyPointer_(busy);
    }
}

void Session::procedureEnded() {
    procedure_ = Procedure::Other;
    lastWritten_ = -1;
    if (procedureEnded_) {
        procedureEnded_();
    }
    portLost_ = false;
    prompter_.flush();
}

void Session::portLost() {
    portLost_ = true;
    // A continuous run reports its own end; only its measurements run while it is on.
    const bool continuousRun = state_.recordState == RecordState::Continuous;
    // The port is gone (a removed device): the logger's recording state is unknown.
    state_.recordState = RecordState::Stopped;
    // The download drops what it received; without a word the user would take the closed
    // progress dialog for a finished download.
    const Download::Phase phase = download_.phase();
    if (phase == Download::Phase::Table || phase == Download::Phase::Transfer) {
        prompter_.message(state_.Machine_N_P, messages_.text(Msg::DownloadFailed));
        return;
    }
    if (continuousRun) {
        return;
    }
    prompter_.message(state_.Machine_N_P,
                      failureText(messages_.text(Msg::ConnectionLost),
                                  messages_.pair(Msg::ConnectionLost, Msg::CheckCableAndConnect)));
}

QString Session::abandon() {
    if (!engine_.busy()) {
        return QString();
    }
    const QString text =
        failureText(messages_.text(Msg::ProgramEndedDuringCommunication), QString());
    engine_.Pro_End();
    return text;
}
