// The archive's tables for both engines, the step from each older version to the next, and
// the reading of a driver's error as a kind a user can act on.
#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <QStringList>

#include "archive/archive.h"

namespace archiveschema {

enum class Engine { Sqlite, Postgres };

// The tables of version 1, which every later version starts from.
QStringList firstVersionStatements(Engine engine);
// The statements that create the current schema in an empty database: version 1 and every
// step after it.
QStringList createStatements(Engine engine);
// The statements that bring a database of `version` one version up.
QStringList migrationStatements(Engine engine, int version);

// The kind of a driver error, from SQLite's result code or PostgreSQL's SQLSTATE.
ArchiveErrorKind kindOf(Engine engine, const QSqlError& error);
// Whether a PostgreSQL error is worth running the whole transaction again.
bool retryable(Engine engine, const QSqlError& error);

}  // namespace archiveschema
