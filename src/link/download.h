// Download of the logger's memory into the log data set: the segment table read, the record
// transfer (streamed or one read per record), dating and numbering of every record, the
// watchdog, cancelling, and the conversion at the end.
#pragma once

#include <QString>
#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "data/dataset.h"
#include "data/messagetable.h"
#include "data/prompter.h"
#include "link/engine.h"
#include "link/loggerstate.h"

class CbusDevice;
class Waiter;

// One recording run of the segment table.
struct Segment {
    double start = 0;
    std::int32_t count = 0;
};

// The table keeps at most this many entries; the last decoded one only marks the end.
inline constexpr int kMaxSegments = 151;

// An entry whose month byte is 0xFF (empty, no records), or whose start is not a valid packed
// date, starts at `startTime`.
Segment decodeSegment(const std::array<std::uint8_t, 8>& bytes, double startTime);

// What the transfer is to fetch, worked out when the table is complete.
struct TransferPlan {
    std::vector<Segment> runs;  // the recording runs, counts fixed from the record pointer
    int records = 0;            // records to transfer (progress maximum)
    int endAddress = 0;         // byte address where the transfer ends
    bool wrapped = false;       // loop memory that has been overwritten
    int memoryRecords = kMemoryRecords;
};

// Nothing when the logger's values cannot describe its memory (a record pointer beyond the
// memory, run counts exceeding what was recorded).
std::optional<TransferPlan> planTransfer(const std::vector<Segment>& decoded,
                                         const LoggerState& state,
                                         int memoryRecords = kMemoryRecords);

// Loop-wrapped memory is read from address 0: records below the write position are the newest
// and go to the end. `n` is 1-based in reading order.
int wrappedRecordNumber(int n, int pointerRecords, int memoryRecords = kMemoryRecords);

// Msg::DownloadProgress, an ideographic space and "(done/total)".
QString progressCaption(const MessageTable& messages, int done, int total);

// The window side of a download: the progress dialog and the switch to the log data set.
class DownloadView {
  public:
    virtual ~DownloadView() = default;
    virtual void progress(int value, int maximum, const QString& caption) = 0;
    // The log data set is complete (or a cancelled prefix): show it (Disp_stat 0), refresh the
    // table, graphs and display controls, close the progress dialog.
    virtual void downloadFinished() = 0;
    // The download ended without data: close the progress dialog.
    virtual void downloadFailed() = 0;
};

class Download {
  public:
    enum class Phase { Idle, Table, Transfer, Done };

    Download(Engine& engine, LoggerState& state, DataSet& logData, Prompter& prompter,
             const MessageTable& messages);

    // Where progress and the end are shown; nothing is shown without one.
    void setView(DownloadView* view) { view_ = view; }
    // The chip whose reset pulse stops a cancelled record stream, and the wait around it.
    // Without them a cancelled stream is only cut off on this side.
    void setInterfaceReset(CbusDevice* device, Waiter* waiter) {
        device_ = device;
        waiter_ = waiter;
    }

    // Whether a complete download queues MarkDownloaded at once (the window's way). Off, the
    // logger keeps warning of its data until the owner marks it, once the data is safe.
    void setMarkWhenDone(bool mark) { markWhenDone_ = mark; }

    // The size of the record memory, 1 to the full size. Every logger has the full size; a
    // smaller one lets the fuzz target reach wrapped memory and its dating without transferring
    // thousands of records.
    void setMemoryRecords(int records) { memoryRecords_ = std::clamp(records, 1, kMemoryRecords); }

    // ReadMemory and StreamRecords replies and the clean-up when a procedure ends.
    void registerHandlers();

    // Empties the log data set and queues StopRecording, the status read and the first
    // segment table read, then sends. False (nothing queued) when a procedure runs.
    bool start();

    // Download_Timer tick: ten ticks without a record pass, the eleventh fails.
    void downloadTick();
    // Ends the transfer, keeping what is consistent: a stream at once (the logger's interface
    // is reset and the bytes still on their way are thrown away), a read after the record in
    // flight.
    void Download_Cancel();

    Phase phase() const { return phase_; }
    bool cancelled() const { return cancelled_; }
    const TransferPlan& plan() const { return plan_; }
    std::int16_t watchdogCount() const { return watchdog_; }

  private:
    ReplyAction onReadMemory(CommandEntry& entry, const Reply& reply);
    ReplyAction onTableReply(CommandEntry& entry, const Reply& reply);
    ReplyAction onRecord(CommandEntry& entry, const Reply& reply);
    ReplyAction startTransfer();
    bool storeRecord(int address, const Reply& reply);
    ReplyAction finish();
    void cutStream();
    bool assignWrappedDates();
    // Empties the log data set, shows the message if there is one and ends the procedure.
    ReplyAction fail(std::optional<Msg> message);
    void procedureEnded();

    Engine& engine_;
    LoggerState& state_;
    DataSet& logData_;
    Prompter& prompter_;
    const MessageTable& messages_;
    DownloadView* view_ = nullptr;
    int memoryRecords_ = kMemoryRecords;
    CbusDevice* device_ = nullptr;
    Waiter* waiter_ = nullptr;

    Phase phase_ = Phase::Idle;
    std::vector<Segment> decoded_;
    std::array<std::uint8_t, 8> tableBytes_{};
    int tableFill_ = 0;
    TransferPlan plan_;
    std::int16_t segmentIndex_ = 0;
    std::int16_t segmentPosition_ = 0;
    std::int16_t watchdog_ = 0;
    bool streamed_ = false;
    bool cancelled_ = false;
    bool markWhenDone_ = true;
};
