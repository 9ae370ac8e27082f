// One link session: the engine, the logger model and the download wired together around one
// port, one set of timers and the logger picture, with their ticks registered. The window, the
// tests and the benchmarks all build the link through it.
#pragma once

#include <QString>
#include <cstdint>
#include <functional>

#include "data/datasets.h"
#include "data/messagetable.h"
#include "data/prompter.h"
#include "data/sample.h"
#include "link/download.h"
#include "link/engine.h"
#include "link/heldprompter.h"
#include "link/loggermodel.h"
#include "link/loggerstate.h"
#include "link/serialport.h"
#include "link/timers.h"

// The procedures that change the logger; one that fails once it has sent a change says what
// may be left in the logger. Every other procedure is Other.
enum class Procedure {
    Other,
    RecordingStart,
    Reservation,
    RecordingStop,
    ReservationCancel,
    MemoryMode,
    ClockSet,
    NameSet,
};

class Session : private EngineHost {
  public:
    Session(SerialPort& port, TimerControl& timers, Prompter& prompter,
            const MessageTable& messages, DataSets& dataSets);
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Number of the open port (1..16), taken from the port after a successful connect.
    std::int16_t Portnum = 1;
    // Baud rate text; the line settings are this followed by ",n,8,1".
    QString Port_Setting_N_P = QStringLiteral("57600");
    QString lineSettings() const { return Port_Setting_N_P + QStringLiteral(",n,8,1"); }
    // Hands the line settings and Portnum to the engine, which reopens the port with them.
    void applyLineSettings();

    // Where replies show their labels and a download its progress.
    void setLoggerView(LoggerView* view) { model_.setView(view); }
    void setDownloadView(DownloadView* view) { download_.setView(view); }
    // Pro_End's last step (enable the window, refresh the status panel) and the busy pointer.
    void onProcedureEnded(std::function<void()> handler) { procedureEnded_ = std::move(handler); }
    void onBusyPointer(std::function<void(bool)> handler) { busyPointer_ = std::move(handler); }

    // A procedure runs, or a box or dialog is open: nothing may start a procedure now.
    bool busy() const { return procedureRunning() || dialogOpen(); }
    // The logger is being talked to. An open dialog is not a procedure: the device check still
    // runs under it.
    bool procedureRunning() const { return engine_.busy(); }
    bool dialogOpen() const { return prompter_.open(); }

    // Empties the queue for the batch of `procedure`; its end forgets it.
    void beginProcedure(Procedure procedure);
    // The device check found the logger removed: the disconnect that follows ends as a lost
    // port.
    void deviceRemoved() { portLost_ = true; }
    // While the end of a procedure runs: the port was lost (a failed reopen or a removed
    // device), not closed by a failure or by the user.
    bool portLostAtEnd() const { return portLost_; }
    // Ends the running procedure at once (the program is closing). For one that had sent a
    // change to the logger, returns the text saying what may be left in it (else empty): the
    // caller shows it, or writes it where an unattended end can still be read.
    QString abandon();
    Engine& engine() { return engine_; }
    LoggerModel& model() { return model_; }
    Download& download() { return download_; }
    // The one sample buffer: a real-time measurement dates it before queueing, the replies
    // fill and write it.
    Sample& sampleBuffer() { return sampleBuffer_; }
    LoggerState& state() { return state_; }
    DataSets& dataSets() { return dataSets_; }
    DataSet& dataSet(DataSetIndex index) { return dataSets_[index]; }
    SerialPort& port() { return port_; }
    TimerControl& timers() { return timers_; }
    // Every box of the session and its operations goes through this prompter.
    HeldPrompter& prompter() { return prompter_; }
    const MessageTable& messages() const { return messages_; }

  private:
    // The engine's writes pass through here, so a failure can tell whether the command in
    // flight ever reached the line.
    class WireTap : public SerialPort {
      public:
        WireTap(SerialPort& port, std::function<void()> written)
            : port_(port), written_(std::move(written)) {}
        bool open(int portNumber, const QString& settings) override {
            return port_.open(portNumber, settings);
        }
        void close() override { port_.close(); }
        bool isOpen() const override { return port_.isOpen(); }
        int portNumber() const override { return port_.portNumber(); }
        int bytesWaiting() override { return port_.bytesWaiting(); }
        bool readByte(std::uint8_t& byte) override { return port_.readByte(byte); }
        bool write(const QByteArray& bytes) override;
        void clearInput() override { port_.clearInput(); }
        void setBytesArrived(std::function<void()> callback) override {
            port_.setBytesArrived(std::move(callback));
        }

      private:
        SerialPort& port_;
        std::function<void()> written_;
    };

    // A command that changes the logger has reached the line in this procedure.
    bool changeSent() const;
    // The box of a failure: for a changing procedure that sent a change, which procedure
    // failed, `cause`, and what may be left in the logger; otherwise `plain`.
    QString failureText(const QString& cause, const QString& plain) const;

    void showFailure(Msg firstMessage, Msg secondMessage) override;
    void setBusyPointer(bool busy) override;
    void procedureEnded() override;
    void portLost() override;

    SerialPort& port_;
    WireTap tap_;
    TimerControl& timers_;
    HeldPrompter prompter_;
    const MessageTable& messages_;
    DataSets& dataSets_;
    LoggerState state_;
    Sample sampleBuffer_;
    Engine engine_;
    LoggerModel model_;
    Download download_;
    std::function<void()> procedureEnded_;
    std::function<void(bool)> busyPointer_;
    Procedure procedure_ = Procedure::Other;
    // The queue index of the last entry written in this procedure; -1 before the first.
    int lastWritten_ = -1;
    bool portLost_ = false;
};
