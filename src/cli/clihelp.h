// veltrane-cli's help table (--help, the manual page and the bash completion come from it) and
// the words that ask for help or the version instead of a run.
#pragma once

#include <QByteArray>
#include <QList>
#include <optional>

#include "data/helppage.h"

const HelpPage& cliHelpPage();

// What the arguments ask to be printed instead of a run: the help of the program or of a
// command (-h, --help), the version (--version), or, for the build, the manual page
// (--man-page) and the completion script (--bash-completion). None: a run.
std::optional<QByteArray> cliInformation(const QList<QByteArray>& arguments);
