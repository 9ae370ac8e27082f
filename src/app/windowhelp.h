// The window program's help table (its --help and manual page) and the words that ask for help
// or the version before any display is opened.
#pragma once

#include <QByteArray>
#include <optional>

#include "data/helppage.h"

const HelpPage& windowHelpPage();

// What the arguments ask to be printed instead of opening the window: the help (-h, --help),
// the version (--version) or, for the build, the manual page (--man-page). None: a run.
std::optional<QByteArray> windowInformation(int argc, char** argv);
// Prints the text on standard output, checked; the exit status.
int printInformation(const QByteArray& text);
