// The History dialog's operations: listing the archive's recordings, deleting one after a
// question, opening one as the file data set (shown as an opened CSV file is), and adding the
// file data set to the archive.
#pragma once

#include <vector>

#include "archive/archive.h"
#include "operations/context.h"
#include "operations/csvfiles.h"
#include "operations/statusrefresh.h"

class HistoryOperation {
  public:
    HistoryOperation(Context& context, CsvFiles& files, StatusRefresh& refresh)
        : c_(context), files_(files), refresh_(refresh) {}

    // File > History: the dialog, then the recording chosen in it opened. Nothing without an
    // archive or while a procedure runs.
    void showHistory();
    // Newest first, as the filter lets through.
    ArchiveError list(const HistoryFilter& filter, std::vector<RecordingSummary>& recordings);
    // The text a user is shown for a fault.
    QString failureText(const ArchiveError& error) const;
    // Asks first; true when the recording is gone. A failure says why in a box.
    bool remove(const RecordingSummary& recording);
    // Makes the recording the file data set on display; false (and a box) when it cannot be
    // read.
    bool open(const RecordingSummary& recording);
    // File > Add file to archive: keeps the file data set as a recording of its own.
    void addFileToArchive();

    const MessageTable& messages() const { return c_.messages(); }

  private:
    Context& c_;
    CsvFiles& files_;
    StatusRefresh& refresh_;
};
