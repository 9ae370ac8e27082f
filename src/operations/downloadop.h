// The Download button (Command5): its checks and the save question, the progress dialog during
// the transfer, Download_Cancel, and the switch to the log data set at the end.
#pragma once

#include <memory>

#include "data/dataset.h"
#include "data/messagetable.h"
#include "data/prompter.h"
#include "link/download.h"
#include "link/engine.h"
#include "link/loggerstate.h"
#include "operations/progressdialog.h"

// What the download needs from the main window.
class DownloadHost {
  public:
    virtual ~DownloadHost() = default;
    // The CSV save of the log data set, as offered before a download.
    virtual void saveLogData() = 0;
    // Before the transfer: clear the log table and the measured-value read-outs, run the
    // status refresh and disable the operation controls.
    virtual void downloadStarting() = 0;
    // After the transfer: Disp_stat 0, fill the table, fit the graphs, set the scroll ranges.
    virtual void showLogData() = 0;
};

class DownloadOperation : public DownloadView {
  public:
    DownloadOperation(Engine& engine, LoggerState& state, DataSet& logData, Prompter& prompter,
                      const MessageTable& messages, DownloadHost& host);
    ~DownloadOperation() override;

    void registerHandlers() { download_.registerHandlers(); }

    // The Download button.
    void Command5_Click();
    void Download_Cancel() { download_.Download_Cancel(); }
    // Download_Timer tick.
    void downloadTick() { download_.downloadTick(); }

    ProgressDialog& Form3() { return *dialog_; }
    Download& download() { return download_; }

    void progress(int value, int maximum, const QString& caption) override;
    void downloadFinished() override;
    void downloadFailed() override;

  private:
    Engine& engine_;
    LoggerState& state_;
    DataSet& logData_;
    Prompter& prompter_;
    const MessageTable& messages_;
    DownloadHost& host_;
    Download download_;
    std::unique_ptr<ProgressDialog> dialog_;
};
