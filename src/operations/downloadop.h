// The Download button (Command5): its checks and the save question, the progress dialog during
// the transfer, Download_Cancel, and the switch to the log data set at the end.
#pragma once

#include <memory>

#include "link/download.h"
#include "operations/context.h"
#include "operations/csvfiles.h"
#include "operations/progressdialog.h"
#include "operations/statusrefresh.h"

class DownloadOperation : public DownloadView {
  public:
    // Shows its progress and end in Form3 and the data display.
    DownloadOperation(Context& context, CsvFiles& files, StatusRefresh& refresh);
    ~DownloadOperation() override;

    // The Download button.
    void Command5_Click();
    void Download_Cancel() { c_.session.download().Download_Cancel(); }

    ProgressDialog& Form3() { return *dialog_; }

    void progress(int value, int maximum, const QString& caption) override;
    void downloadFinished() override;
    void downloadFailed() override;

  private:
    Context& c_;
    CsvFiles& files_;
    StatusRefresh& refresh_;
    std::unique_ptr<ProgressDialog> dialog_;
};
