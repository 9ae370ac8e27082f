// Keeps every completed download and every continuous run that stopped with samples in the
// archive, one transaction each. A download is kept once its procedure has ended, so no reply
// can arrive while the archive works or while a failure is reported. A failure never costs the
// data: the data set stays as it is and unsaved, and one box says why and that it can be saved
// as CSV.
#pragma once

#include <optional>

#include "operations/context.h"

class ArchiveKeeper {
  public:
    explicit ArchiveKeeper(Context& context) : c_(context) {}

    // The setting "Keep every download in the archive"; off, nothing is kept.
    bool enabled() const { return enabled_; }
    void setEnabled(bool on) { enabled_ = on; }

    // The log data set is complete: it is kept when the download's procedure ends.
    void downloadComplete();
    // At the end of every procedure: keeps the download waiting for it.
    void procedureEnded();
    // A continuous run stopped (no procedure runs): keeps its samples now.
    void realTimeRunStopped();

  private:
    void keep(DataSetIndex index, const RunFacts& facts);

    Context& c_;
    bool enabled_ = true;
    std::optional<RunFacts> pendingDownload_;
};
