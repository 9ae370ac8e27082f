// The command queue of one procedure.
#include "link/commandqueue.h"

bool CommandQueue::push(const CommandEntry& entry) {
    if (Count < 0 || Count >= kCapacity) {
        return false;
    }
    Entries[static_cast<std::size_t>(Count)] = entry;
    ++Count;
    return true;
}

const char* toString(ProcedureKind procedure) {
    switch (procedure) {
        case ProcedureKind::None:
            break;
        case ProcedureKind::PortOpen:
            return "port open";
        case ProcedureKind::ClockSet:
            return "clock set";
        case ProcedureKind::RecordingStart:
            return "recording start";
        case ProcedureKind::SegmentTableRead:
            return "segment table";
        case ProcedureKind::Download:
            return "download";
        case ProcedureKind::SingleMeasurement:
            return "measurement";
        case ProcedureKind::ContinuousMeasurement:
            return "continuous measurement";
    }
    return "";
}
