// The command line's archive: history, export and import, which need no logger, and the
// keeping of a finished download.
#pragma once

#include <QString>
#include <cstdio>
#include <functional>

#include "cli/options.h"
#include "cli/output.h"
#include "data/dataset.h"
#include "data/messagetable.h"

// Whether the subcommand works on the archive alone.
bool isArchiveCommand(Subcommand command);

// Runs history, export or import; `say` shows a line on standard error, `out` takes the data
// when no --out file was prepared.
int runArchiveCommand(const CliOptions& options, const MessageTable& messages, std::FILE* out,
                      OutputFile& file, const std::function<void(const QString&)>& say);

// Keeps a downloaded data set of the run that started at `startTime` in the archive. A fault
// is one line through `say` and costs nothing else: the caller's data is already safe.
void archiveDownload(DataSet& set, double startTime, std::uint8_t memoryMode,
                     const MessageTable& messages, const std::function<void(const QString&)>& say);
