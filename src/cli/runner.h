// One run of the command line: the link session and the operations the window uses, wired to
// the command line's controls, prompter and dialogs; each subcommand calls the operations the
// window's buttons call and waits for their procedures on the event loop.
#pragma once

#include <cstdio>

#include "cli/clihost.h"
#include "cli/headless.h"
#include "cli/options.h"

class CbusDevice;
class SerialPort;
class Waiter;

class CliRunner {
  public:
    CliRunner(const CliOptions& options, const MessageTable& messages, SerialPort& port,
              CbusDevice& device, Waiter& waiter, std::FILE* out, bool terminal);

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
    // Writes a data set as the window saves it, to the --out file or standard output.
    int writeCsv(DataSetIndex index);
    void printSample(const Sample& sample);
    // Data to standard output (or the stream given).
    void write(const QByteArray& bytes);

    const CliOptions& options_;
    const MessageTable& messages_;
    std::FILE* out_;
    TerminalProgress progress_;
    HeadlessOperations headless_;
};
