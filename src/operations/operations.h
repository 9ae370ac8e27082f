// Every operation of the main window built on one context, with the session's end of a
// procedure and its busy pointer wired to them: the window and the tests build this one object
// and call its operations.
#pragma once

#include "operations/archivekeeper.h"
#include "operations/connect.h"
#include "operations/context.h"
#include "operations/csvfiles.h"
#include "operations/downloadop.h"
#include "operations/historyop.h"
#include "operations/readouts.h"
#include "operations/realtime.h"
#include "operations/recording.h"
#include "operations/statusrefresh.h"
#include "operations/toolops.h"

class CbusDevice;

class Operations {
  public:
    Operations(Context& context, CbusDevice& device);
    ~Operations();
    Operations(const Operations&) = delete;
    Operations& operator=(const Operations&) = delete;

    Context& context() { return c_; }
    CsvFiles& files() { return files_; }
    StatusRefresh& status() { return status_; }
    Connection& connection() { return connection_; }
    DownloadOperation& download() { return download_; }
    RealTimeMeasurement& realTime() { return realTime_; }
    RecordingOperation& recording() { return recording_; }
    ToolOperations& tools() { return tools_; }
    ArchiveKeeper& keeper() { return keeper_; }
    HistoryOperation& history() { return history_; }

    // Pro_End's last steps: the window enabled again, the default pointer, the status refresh,
    // then the real-time run's share and the archive's.
    void procedureEnded();

  private:
    Context& c_;
    StatusRefresh status_;
    CsvFiles files_;
    ArchiveKeeper keeper_;
    Readouts readouts_;
    Connection connection_;
    DownloadOperation download_;
    RealTimeMeasurement realTime_;
    RecordingOperation recording_;
    ToolOperations tools_;
    HistoryOperation history_;
};
