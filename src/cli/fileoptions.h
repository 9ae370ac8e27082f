// The words of the subcommands that work on a saved data file (report, plot): the file, the
// time window, the bounds and the picture size.
#pragma once

#include <QString>
#include <optional>

#include "cli/options.h"

bool takesFile(Subcommand command);
// report or plot by its word.
std::optional<Subcommand> fileSubcommand(const QString& word);
// A flag only report or plot take: nullopt when it is none of them, an empty text when it was
// taken, else the reason its value is refused.
std::optional<QString> fileCommandFlag(CliOptions& options, const QString& flag,
                                       const QString& value, const MessageTable& messages);
// What the whole command line of report or plot lacks or contradicts; empty when nothing.
QString fileCommandRefusal(const CliOptions& options, const QString& word,
                           const MessageTable& messages);
