// The message a user sees for each kind of archive fault.
#include "archive/archive.h"

Msg archiveMessage(ArchiveErrorKind kind) {
    switch (kind) {
        case ArchiveErrorKind::BadLocation:
            return Msg::ArchiveBadLocation;
        case ArchiveErrorKind::Unreachable:
            return Msg::ArchiveUnreachable;
        case ArchiveErrorKind::Locked:
            return Msg::ArchiveLocked;
        case ArchiveErrorKind::Full:
            return Msg::ArchiveFull;
        case ArchiveErrorKind::Corrupt:
            return Msg::ArchiveCorrupt;
        case ArchiveErrorKind::ReadOnly:
            return Msg::ArchiveReadOnly;
        case ArchiveErrorKind::NewerSchema:
            return Msg::ArchiveNewerSchema;
        case ArchiveErrorKind::NotFound:
            return Msg::ArchiveNotFound;
        case ArchiveErrorKind::Invalid:
            return Msg::ArchiveNothingToKeep;
        case ArchiveErrorKind::None:
        case ArchiveErrorKind::Failed:
            break;
    }
    return Msg::ArchiveFailed;
}
