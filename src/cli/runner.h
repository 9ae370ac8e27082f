// One run of the command line: the link session and the operations the window uses, wired to
// the command line's controls, prompter and dialogs; each subcommand calls the operations the
// window's buttons call and waits for their procedures on the event loop. A signal abandons the
// procedure under way; the run then says what state the logger may be in and ends.
#pragma once

#include <cstdio>
#include <functional>
#include <optional>

#include "cli/clihost.h"
#include "cli/headless.h"
#include "cli/options.h"
#include "cli/output.h"
#include "link/signalpipe.h"

class CbusDevice;
class SerialPort;
class Waiter;

// The device of the port asked for, or of every port present when scanning, when another
// program (the window, another veltrane-cli) holds all of them; empty otherwise.
QString portHeldElsewhere(std::optional<int> port);

class CliRunner {
  public:
    using HeldPort = std::function<QString(std::optional<int> port)>;

    // `heldPort` tells a port in use before connecting; none: not asked.
    CliRunner(const CliOptions& options, const MessageTable& messages, SerialPort& port,
              CbusDevice& device, Waiter& waiter, std::FILE* out, bool terminal,
              HeldPort heldPort = {});

    int run();

  private:
    int connect();
    int status();
    int download();
    int start();
    int stop();
    int measure();
    // The exit code the messages shown so far call for: a communication failure, else 0.
    int communicationCode() const;
    bool recordingOrReserved();
    // Runs the event loop until no procedure runs; false when a signal came first, and the
    // procedure was abandoned.
    bool settle();
    // After a signal: says what was abandoned and what state the logger may be in; 128 plus
    // the signal's number.
    int interrupted(const QString& state);
    // A failure no message has explained yet gets its reason (a lost port, a silent logger)
    // and the state the logger may be in.
    int failed(int code, const QString& state = QString());
    // Writes the downloaded data set in the --format asked for.
    int writeSamples(DataSetIndex index);
    // Saves a data set as the window does, then puts it in the --out file or on standard output.
    int writeCsv(DataSetIndex index);
    // The CSV saved in the scratch folder, to the --out file or standard output.
    int deliverScratch();
    // The whole output, to the --out file or standard output.
    int deliver(const QByteArray& bytes);
    // Bytes of a sample stream, to the --out file's temporary or standard output.
    bool stream(const QByteArray& bytes);
    // A measured sample in the streamed --format (plain lines when none was asked for).
    QByteArray streamedSample(int record, const Sample& sample) const;
    // Ends a sample stream: the --out file takes its name with every sample written. Says how
    // many samples were written and where, or why the file could not be kept.
    QString keepStream(int written);
    // Data to standard output, checked; false (the reason shown) when it could not be written.
    bool print(const QByteArray& bytes);
    void say(const QString& text);
    QString text(Msg message) const { return messages_.text(message); }

    const CliOptions& options_;
    const MessageTable& messages_;
    std::FILE* out_;
    HeldPort heldPort_;
    // SIGINT, SIGTERM and SIGHUP abandon the run; the second of a kind ends the program at once.
    SignalPipe signals_{{SIGINT, SIGTERM, SIGHUP}, SignalPipe::Repeat::EndsProgram};
    OutputFile file_;
    TerminalProgress progress_;
    HeadlessOperations headless_;
    // Messages shown before the step now running; a failure after them is still unexplained.
    qsizetype said_ = 0;
};
