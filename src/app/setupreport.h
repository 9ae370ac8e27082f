// `veltrane --check`: the setup check's findings in the user's language, one line each, with
// the fix on the line of every problem.
#pragma once

#include <QList>
#include <QString>

#include "data/messagetable.h"
#include "setup/setupcheck.h"

// One line per finding, then the summary; each line ends with a newline.
QString setupReport(const QList<Finding>& findings, const MessageTable& messages);
// Runs the check on this computer, in-process, and words its findings.
QString setupReportHere(const MessageTable& messages);
// The exit status of the check: 0 when nothing needs a fix.
int setupExitCode(const QList<Finding>& findings);
// Runs the check on this computer and prints the report; returns the exit status.
int runSetupCheck(int argc, char** argv);
