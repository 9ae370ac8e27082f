// Keeping downloads and real-time runs in the archive; see archivekeeper.h.
#include "operations/archivekeeper.h"

#include "operations/recordingarchive.h"

void ArchiveKeeper::downloadComplete() {
    if (!enabled_ || c_.archive == nullptr) {
        return;
    }
    // The run's own start stays fixed while loop memory moves on: it finds the run again.
    const LoggerState& state = c_.state();
    pendingDownload_ = RunFacts{RecordingSource::Download, state.Start_Time,
                                static_cast<std::uint8_t>(state.Memory_Mode != 0 ? 1 : 0)};
}

void ArchiveKeeper::procedureEnded() {
    if (!pendingDownload_) {
        return;
    }
    const RunFacts facts = *pendingDownload_;
    pendingDownload_.reset();
    keep(LogData, facts);
}

void ArchiveKeeper::realTimeRunStopped() {
    keep(RealTimeData, RunFacts{RecordingSource::RealTime, 0, 0});
}

void ArchiveKeeper::keep(DataSetIndex index, const RunFacts& facts) {
    DataSet& set = c_.dataSet(index);
    if (!enabled_ || c_.archive == nullptr || set.count <= 0) {
        return;
    }
    const ArchiveError error = c_.archive->store(set, facts);
    if (!error.ok()) {
        c_.message(c_.messages().pair(archiveMessage(error.kind), Msg::ArchiveDataKept));
    }
}
