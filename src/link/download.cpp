// Download of the logger's memory into the log data set.
#include "link/download.h"

#include <numeric>

#include "data/datasets.h"
#include "data/texts.h"
#include "link/cbusdevice.h"
#include "link/linklog.h"
#include "link/loggerdate.h"
#include "link/loggermodel.h"
#include "link/sampledecode.h"
#include "link/waiter.h"
#include "link/wiretrace.h"

namespace {

constexpr int kWatchdogLimit = 10;
constexpr int kWatchdogIntervalMs = 100;
// After the reset pulse, time for the stream bytes already in the chip and the driver to arrive.
constexpr int kStreamSettleMs = 100;
constexpr int kTableEndAddress = 65534;
constexpr std::uint8_t kStopArgument = 14;

std::uint8_t high(int address) {
    return static_cast<std::uint8_t>(address / 256);
}
std::uint8_t low(int address) {
    return static_cast<std::uint8_t>(address % 256);
}

}  // namespace

Segment decodeSegment(const std::array<std::uint8_t, 8>& bytes, double startTime) {
    Segment segment;
    segment.start = startTime;
    // An empty (erased) entry holds no records, whatever its count bytes read.
    if (bytes[1] != 0xFF) {
        segment.start = packedDateTime(bytes.data()).value_or(startTime);
        segment.count = bytes[7] * 256 + bytes[6];
    }
    return segment;
}

std::optional<TransferPlan> planTransfer(const std::vector<Segment>& decoded,
                                         const LoggerState& state, int memoryRecords) {
    if (state.Record_Pointer < 0 || state.Record_Pointer > memoryRecords * kRecordBytes) {
        return std::nullopt;
    }
    TransferPlan plan;
    plan.memoryRecords = memoryRecords;
    plan.wrapped = state.loopWrapped();
    const int pointerRecords = static_cast<int>(state.Record_Pointer) / kRecordBytes;
    if (decoded.size() >= 2) {
        plan.runs.assign(decoded.begin(), decoded.end() - 1);
    } else {
        plan.runs.push_back(Segment{state.Start_Time, 0});
    }
    const std::int64_t earlier =
        std::accumulate(plan.runs.begin(), plan.runs.end() - 1, std::int64_t{0},
                        [](std::int64_t sum, const Segment& s) { return sum + s.count; });
    // Records taken since the first run began. Wrapped says whether the memory went round but
    // not always how often: the stored counts, when they went round too and end at the write
    // position, tell the rest.
    std::int64_t total = pointerRecords + (plan.wrapped ? state.Wrapped * memoryRecords : 0);
    const std::int64_t stored = earlier + plan.runs.back().count;
    if (plan.wrapped && stored >= memoryRecords && stored % memoryRecords == pointerRecords) {
        total = stored;
    }
    if (earlier > total) {
        return std::nullopt;
    }
    plan.runs.back().count = static_cast<std::int32_t>(total - earlier);
    if (plan.wrapped) {
        plan.records = memoryRecords;
        plan.endAddress = memoryRecords * kRecordBytes;
    } else {
        plan.records = pointerRecords;
        plan.endAddress = pointerRecords * kRecordBytes;
    }
    return plan;
}

int wrappedRecordNumber(int n, int pointerRecords, int memoryRecords) {
    return n <= pointerRecords ? n + memoryRecords - pointerRecords : n - pointerRecords;
}

QString progressCaption(const MessageTable& messages, int done, int total) {
    return messages.text(Msg::DownloadProgress) + QChar(0x3000) + QLatin1Char('(') +
           QString::number(done) + QLatin1Char('/') + QString::number(total) + QLatin1Char(')');
}

Download::Download(Engine& engine, LoggerState& state, DataSet& logData, Prompter& prompter,
                   const MessageTable& messages)
    : engine_(engine), state_(state), logData_(logData), prompter_(prompter), messages_(messages) {}

void Download::registerHandlers() {
    engine_.setHandler(Command::ReadMemory, [this](CommandEntry& entry, const Reply& reply) {
        return onReadMemory(entry, reply);
    });
    engine_.setHandler(Command::StreamRecords, [this](CommandEntry& entry, const Reply& reply) {
        return onRecord(entry, reply);
    });
    engine_.addProEndHook([this] { procedureEnded(); });
}

bool Download::start() {
    if (engine_.busy()) {
        return false;
    }
    logData_.count = 0;
    logData_.stats.reset();
    logData_.model = state_.Machine_N_P;
    decoded_.clear();
    tableFill_ = 0;
    plan_ = TransferPlan{};
    segmentIndex_ = segmentPosition_ = 0;
    watchdog_ = 0;
    cancelled_ = false;
    engine_.begin();
    const bool queued =
        engine_.Enqueue(Command::StopRecording, kStopArgument, 0, ProcedureKind::Download) &&
        enqueueStatusRead(engine_, ProcedureKind::Download) &&
        engine_.Enqueue(Command::ReadMemory, high(kSegmentTableAddress), low(kSegmentTableAddress),
                        ProcedureKind::SegmentTableRead, kSegmentTableAddress);
    if (!queued) {
        engine_.begin();
        return false;
    }
    phase_ = Phase::Table;
    engine_.SendCurrent();
    return true;
}

ReplyAction Download::onReadMemory(CommandEntry& entry, const Reply& reply) {
    if (entry.Keyword == ProcedureKind::SegmentTableRead) {
        return onTableReply(entry, reply);
    }
    if (entry.Keyword == ProcedureKind::Download) {
        return onRecord(entry, reply);
    }
    return ReplyAction::Advance;
}

ReplyAction Download::onTableReply(CommandEntry& entry, const Reply& reply) {
    if (phase_ != Phase::Table) {
        return ReplyAction::Advance;
    }
    if (cancelled_) {
        return fail(std::nullopt);
    }
    for (std::uint8_t byte : reply.r) {
        tableBytes_[tableFill_++] = byte;
    }
    entry.Value += 4;
    if (entry.Value <= 0xFFFF) {
        entry.Arg1 = high(entry.Value);
        entry.Arg2 = low(entry.Value);
    }
    if (tableFill_ < kSegmentEntryBytes) {
        return ReplyAction::Repeat;
    }
    tableFill_ = 0;
    const Segment segment = decodeSegment(tableBytes_, state_.Start_Time);
    decoded_.push_back(segment);
    const bool finished = segment.start < state_.Start_Time || entry.Value > kTableEndAddress ||
                          static_cast<int>(decoded_.size()) >= kMaxSegments;
    return finished ? startTransfer() : ReplyAction::Repeat;
}

ReplyAction Download::startTransfer() {
    const auto plan = planTransfer(decoded_, state_, memoryRecords_);
    if (!plan) {
        return fail(Msg::DownloadFailed);
    }
    if (plan->records == 0) {
        return fail(Msg::NoDownloadData);
    }
    plan_ = *plan;
    if (view_ != nullptr) {
        view_->progress(0, plan_.records, progressCaption(messages_, 0, plan_.records));
    }
    segmentIndex_ = segmentPosition_ = 0;
    watchdog_ = 0;
    engine_.timers().arm(TimerId::DownloadTimer, kWatchdogIntervalMs);
    streamed_ = state_.Download_Mode == 0;
    const bool queued =
        streamed_ ? engine_.Enqueue(Command::StreamRecords, high(plan_.endAddress),
                                    low(plan_.endAddress), ProcedureKind::Download, 0)
                  : engine_.Enqueue(Command::ReadMemory, 0, 0, ProcedureKind::Download, 0);
    if (!queued) {
        return fail(Msg::DownloadFailed);
    }
    phase_ = Phase::Transfer;
    return ReplyAction::Advance;
}

ReplyAction Download::onRecord(CommandEntry& entry, const Reply& reply) {
    if (phase_ != Phase::Transfer) {
        return ReplyAction::Advance;
    }
    // The record in flight when a read was cancelled is not kept: the prefix is complete.
    if (!cancelled_ && !storeRecord(entry.Value, reply)) {
        return fail(Msg::DownloadFailed);
    }
    entry.Value += kRecordBytes;
    entry.Arg1 = high(entry.Value);
    entry.Arg2 = low(entry.Value);
    if (view_ != nullptr) {
        view_->progress(entry.Value / kRecordBytes, plan_.records,
                        progressCaption(messages_, entry.Value / kRecordBytes, plan_.records));
        // A cancel from the view may have ended the procedure already.
        if (phase_ != Phase::Transfer) {
            return ReplyAction::Ended;
        }
    }
    watchdog_ = 0;
    const bool finished = entry.Value >= plan_.endAddress || (cancelled_ && !streamed_);
    if (finished) {
        return finish();
    }
    return streamed_ ? ReplyAction::Wait : ReplyAction::Repeat;
}

bool Download::storeRecord(int address, const Reply& reply) {
    Sample sample;
    sample.raw = reply.r;
    sample.setRemarks(QString());
    const int n = address / kRecordBytes + 1;
    if (plan_.wrapped) {
        const int pointerRecords = static_cast<int>(state_.Record_Pointer) / kRecordBytes;
        const int number = wrappedRecordNumber(n, pointerRecords, plan_.memoryRecords);
        if (number < 1 || number > plan_.memoryRecords) {
            return false;
        }
        sample.index = static_cast<std::int16_t>(number);
        if (logData_.write(number, sample) != DataError::None) {
            return false;
        }
        logData_.count = static_cast<std::int16_t>(logData_.count + 1);
        return true;
    }
    while (segmentIndex_ < static_cast<int>(plan_.runs.size()) &&
           segmentPosition_ >= plan_.runs[segmentIndex_].count) {
        ++segmentIndex_;
        segmentPosition_ = 0;
    }
    if (segmentIndex_ >= static_cast<int>(plan_.runs.size()) || n != logData_.count + 1) {
        return false;
    }
    const Segment& run = plan_.runs[segmentIndex_];
    sample.dateTime = run.start + segmentPosition_ * static_cast<double>(logData_.interval) / 86400;
    sample.series = static_cast<float>(segmentIndex_ + 1);
    ++segmentPosition_;
    sample.index = static_cast<std::int16_t>(n);
    return logData_.append(sample) == DataError::None;
}

ReplyAction Download::finish() {
    engine_.timers().stop(TimerId::DownloadTimer);
    watchdog_ = 0;
    if (cancelled_ && plan_.wrapped) {
        // The records read so far are the oldest addresses: after renumbering they are no
        // contiguous stretch of the recording, so none of them is kept.
        return fail(Msg::LoopDownloadCancelled);
    }
    if (plan_.wrapped && !assignWrappedDates()) {
        return fail(Msg::DownloadFailed);
    }
    if (convertDataSet(logData_, messages_) != DataError::None ||
        markExtremesInFile(logData_, fileExtremeLabels(messages_)) != DataError::None) {
        return fail(Msg::DownloadFailed);
    }
    // A cancelled download left records in the logger that were never brought home.
    if (markWhenDone_ && !cancelled_ &&
        !engine_.Enqueue(Command::MarkDownloaded, 1, 1, ProcedureKind::None, 0)) {
        return fail(Msg::DownloadFailed);
    }
    logData_.unsaved = logData_.count > 0;
    state_.recordState = RecordState::Stopped;
    phase_ = Phase::Done;
    if (view_ != nullptr) {
        view_->downloadFinished();
    }
    return ReplyAction::Advance;
}

bool Download::assignWrappedDates() {
    if (logData_.count != plan_.memoryRecords) {
        return false;
    }
    const double step = static_cast<double>(logData_.interval) / 86400;
    int p = plan_.memoryRecords;
    Sample sample;
    for (int s = static_cast<int>(plan_.runs.size()) - 1; s >= 0 && p > 0; --s) {
        const Segment& run = plan_.runs[s];
        for (int j = run.count; j >= 1 && p > 0; --j, --p) {
            if (logData_.read(p, sample) != DataError::None) {
                return false;
            }
            sample.dateTime = run.start + (j - 1) * step;
            sample.series = static_cast<float>(s + 1);
            if (logData_.write(p, sample) != DataError::None) {
                return false;
            }
        }
    }
    return p == 0;
}

ReplyAction Download::fail(std::optional<Msg> message) {
    LINK_LOG << "download ended without data, message" << (message ? msgIndex(*message) : -1);
    engine_.timers().stop(TimerId::DownloadTimer);
    watchdog_ = 0;
    logData_.count = 0;
    if (message) {
        prompter_.message(state_.Machine_N_P, messages_.text(*message));
    }
    engine_.Pro_End();
    return ReplyAction::Ended;
}

void Download::downloadTick() {
    // While the engine drains late replies or resynchronises, its own bounded wait governs.
    if (phase_ != Phase::Transfer || engine_.waitingForLine()) {
        return;
    }
    ++watchdog_;
    if (watchdog_ > kWatchdogLimit) {
        LINK_LOG << "download watchdog: no record for" << watchdog_ << "ticks";
        wireTrace().watchdog();
        fail(Msg::DownloadFailed);
    }
}

void Download::Download_Cancel() {
    if ((phase_ != Phase::Table && phase_ != Phase::Transfer) || cancelled_) {
        return;
    }
    cancelled_ = true;
    if (phase_ == Phase::Transfer && streamed_) {
        cutStream();
    }
}

void Download::cutStream() {
    LINK_LOG << "download cancelled: cutting the record stream";
    // Left alone the logger sends on to the end address, more than 20 s of a full memory at
    // 57600 baud, and any of it still arriving would be taken for a reply to the next command.
    // Nothing more is read: the logger's interface is reset, what was already on its way is let
    // arrive, and the end of the procedure clears it from the port.
    engine_.timers().stop(TimerId::DownloadTimer);
    engine_.holdExchange();
    if (device_ != nullptr && waiter_ != nullptr) {
        pulseReset(*device_, *waiter_);
        waiter_->wait(kStreamSettleMs);
        engine_.interfaceReset();
    }
    if (phase_ == Phase::Transfer && finish() == ReplyAction::Advance) {
        engine_.Pro_End();
    }
}

void Download::procedureEnded() {
    watchdog_ = 0;
    if (phase_ == Phase::Table || phase_ == Phase::Transfer) {
        // Any other end of a running download (time-out, refusals, a lost port) leaves no
        // partial data behind.
        logData_.count = 0;
        phase_ = Phase::Idle;
        if (view_ != nullptr) {
            view_->downloadFailed();
        }
        return;
    }
    phase_ = Phase::Idle;
}
