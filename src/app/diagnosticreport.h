// Help > Save diagnostic report…: one tar archive a user can attach to a report about a logger
// that misbehaves, holding what is needed to see and reproduce the problem: the program's
// version, the setup check's findings, the settings file, the connected logger's status and
// this run's wire trace (which logger-sim --replay serves again).
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>
#include <vector>

#include "app/tarwriter.h"
#include "data/messagetable.h"
#include "operations/statusview.h"
#include "setup/setupcheck.h"

class Prompter;

struct DiagnosticSources {
    QString settingsPath;
    // The connected logger's status; none when no logger is connected.
    std::optional<StatusView> status;
    QList<Finding> findings;
    QByteArray trace;  // JSON lines
};

// version.txt, setup-check.txt, the settings file under its own name (when it exists),
// status.txt and trace.jsonl.
std::vector<TarMember> diagnosticMembers(const DiagnosticSources& sources,
                                         const MessageTable& messages);

// Asks for the archive's name, then writes it; a failure is shown in a box titled `title`.
// False when cancelled or not written.
bool saveDiagnosticReport(Prompter& prompter, const MessageTable& messages, const QString& title,
                          const QString& directory, const DiagnosticSources& sources);
