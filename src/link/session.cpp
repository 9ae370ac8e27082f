// The wiring of one link session; see session.h.
#include "link/session.h"

namespace {
constexpr int kDownloadFailedMessage = 1089;
}  // namespace

Session::Session(SerialPort& port, TimerControl& timers, Prompter& prompter,
                 const MessageTable& messages, DataSets& dataSets)
    : port_(port),
      timers_(timers),
      prompter_(prompter, [this] { return engine_.busy(); }),
      messages_(messages),
      dataSets_(dataSets),
      engine_(port, timers, *this),
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

void Session::showFailure(int firstMessage, int secondMessage) {
    prompter_.message(state_.Machine_N_P, messages_.pair(firstMessage, secondMessage));
}

void Session::setBusyPointer(bool busy) {
    if (busyPointer_) {
        busyPointer_(busy);
    }
}

void Session::procedureEnded() {
    if (procedureEnded_) {
        procedureEnded_();
    }
    prompter_.flush();
}

void Session::portLost() {
    // The port is gone (a removed device): the logger's recording state is unknown.
    state_.Record_State.clear();
    // The download drops what it received; without a word the user would take the closed
    // progress dialog for a finished download.
    const Download::Phase phase = download_.phase();
    if (phase == Download::Phase::Table || phase == Download::Phase::Transfer) {
        prompter_.message(state_.Machine_N_P, messages_.text(kDownloadFailedMessage));
    }
}
