// The Download button: its checks and the save question, the progress dialog during
// the transfer, Download_Cancel, and the switch to the log data set at the end.
#pragma once

#include "link/download.h"
#include "operations/archivekeeper.h"
#include "operations/context.h"
#include "operations/csvfiles.h"
#include "operations/statusrefresh.h"

class DownloadOperation : public DownloadView {
  public:
    // Shows its progress in the progress dialog and its end in the data display; a complete
    // download goes to the keeper.
    DownloadOperation(Context& context, CsvFiles& files, StatusRefresh& refresh,
                      ArchiveKeeper& keeper);
    ~DownloadOperation() override;

    // The Download button.
    void startDownload();
    void Download_Cancel() { c_.session.download().Download_Cancel(); }
    // A procedure of MarkDownloaded alone, for an owner that marks the logger only once the
    // downloaded data is safe; false when a procedure runs.
    bool markDownloaded();

    void progress(int value, int maximum, const QString& caption) override;
    void downloadFinished() override;
    void downloadFailed() override;

  private:
    Context& c_;
    CsvFiles& files_;
    StatusRefresh& refresh_;
    ArchiveKeeper& keeper_;
};
