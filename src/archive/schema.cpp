// One schema text for SQLite and PostgreSQL: the two differ only in the automatic key of
// recordings and in SQLite keeping samples in their key's own tree (WITHOUT ROWID).
#include "archive/schema.h"

namespace archiveschema {

namespace {

// Times are whole milliseconds since 1899-12-30 00:00; remarks are the stored bytes without
// their trailing spaces.
constexpr const char* kTables[] = {
    "CREATE TABLE schema_version (version INTEGER NOT NULL)",
    "CREATE TABLE recordings ("
    " id %ID%,"
    " model TEXT NOT NULL,"
    " name TEXT NOT NULL,"
    " start_time BIGINT NOT NULL,"
    " interval_seconds INTEGER NOT NULL,"
    " memory_mode INTEGER NOT NULL,"
    " upper_bound INTEGER NOT NULL,"
    " lower_bound INTEGER NOT NULL,"
    " upper_on INTEGER NOT NULL,"
    " lower_on INTEGER NOT NULL,"
    " first_time BIGINT NOT NULL DEFAULT 0,"
    " last_time BIGINT NOT NULL DEFAULT 0,"
    " points INTEGER NOT NULL DEFAULT 0,"
    " min_temperature DOUBLE PRECISION,"
    " max_temperature DOUBLE PRECISION,"
    " min_humidity DOUBLE PRECISION,"
    " max_humidity DOUBLE PRECISION,"
    " created BIGINT NOT NULL,"
    " UNIQUE (model, name, interval_seconds, start_time))",
    "CREATE TABLE samples ("
    " recording_id BIGINT NOT NULL REFERENCES recordings (id),"
    " time BIGINT NOT NULL,"
    " record INTEGER NOT NULL,"
    " temperature DOUBLE PRECISION NOT NULL,"
    " humidity DOUBLE PRECISION NOT NULL,"
    " series INTEGER NOT NULL,"
    " remarks %BYTES%,"
    " PRIMARY KEY (recording_id, time))%SAMPLES%",
};

// Version 2 keeps where a recording came from and lists by start time through an index.
constexpr const char* kToVersion2[] = {
    "ALTER TABLE recordings ADD COLUMN source INTEGER NOT NULL DEFAULT 0",
    "CREATE INDEX recordings_by_start ON recordings (start_time)",
};

QString forEngine(Engine engine, const char* text) {
    QString statement = QString::fromLatin1(text);
    const bool sqlite = engine == Engine::Sqlite;
    statement.replace(QLatin1String("%ID%"), sqlite ? QLatin1String("INTEGER PRIMARY KEY")
                                                    : QLatin1String("BIGSERIAL PRIMARY KEY"));
    statement.replace(QLatin1String("%BYTES%"),
                      sqlite ? QLatin1String("BLOB") : QLatin1String("BYTEA"));
    statement.replace(QLatin1String("%SAMPLES%"),
                      sqlite ? QLatin1String(" WITHOUT ROWID") : QLatin1String(""));
    return statement;
}

}  // namespace

QStringList firstVersionStatements(Engine engine) {
    QStringList statements;
    for (const char* text : kTables) {
        statements << forEngine(engine, text);
    }
    return statements;
}

QStringList createStatements(Engine engine) {
    QStringList statements = firstVersionStatements(engine);
    for (int version = 1; version < Archive::kSchemaVersion; ++version) {
        statements << migrationStatements(engine, version);
    }
    return statements;
}

QStringList migrationStatements(Engine engine, int version) {
    QStringList statements;
    if (version == 1) {
        for (const char* text : kToVersion2) {
            statements << forEngine(engine, text);
        }
    }
    return statements;
}

ArchiveErrorKind kindOf(Engine engine, const QSqlError& error) {
    const QString code = error.nativeErrorCode();
    if (engine == Engine::Sqlite) {
        bool number = false;
        const int primary = code.toInt(&number) & 0xff;
        if (!number) {
            return error.type() == QSqlError::ConnectionError ? ArchiveErrorKind::Unreachable
                                                              : ArchiveErrorKind::Failed;
        }
        switch (primary) {
            case 5:  // SQLITE_BUSY
            case 6:  // SQLITE_LOCKED
                return ArchiveErrorKind::Locked;
            case 8:  // SQLITE_READONLY
                return ArchiveErrorKind::ReadOnly;
            case 11:  // SQLITE_CORRUPT
            case 26:  // SQLITE_NOTADB
                return ArchiveErrorKind::Corrupt;
            case 13:  // SQLITE_FULL
                return ArchiveErrorKind::Full;
            case 14:  // SQLITE_CANTOPEN
                return ArchiveErrorKind::Unreachable;
            case 23:  // SQLITE_AUTH
                return ArchiveErrorKind::ReadOnly;
            default:
                return ArchiveErrorKind::Failed;
        }
    }
    if (code.isEmpty() || code.startsWith(QLatin1String("08"))) {
        return error.type() == QSqlError::ConnectionError || code.startsWith(QLatin1String("08"))
                   ? ArchiveErrorKind::Unreachable
                   : ArchiveErrorKind::Failed;
    }
    if (code == QLatin1String("25006") || code == QLatin1String("42501")) {
        return ArchiveErrorKind::ReadOnly;
    }
    if (code.startsWith(QLatin1String("53"))) {
        return ArchiveErrorKind::Full;
    }
    if (code == QLatin1String("55P03") || code == QLatin1String("57014")) {
        return ArchiveErrorKind::Locked;
    }
    if (code.startsWith(QLatin1String("XX"))) {
        return ArchiveErrorKind::Corrupt;
    }
    if (code.startsWith(QLatin1String("57P")) || code == QLatin1String("3D000") ||
        code == QLatin1String("28000") || code == QLatin1String("28P01")) {
        return ArchiveErrorKind::Unreachable;
    }
    return ArchiveErrorKind::Failed;
}

bool retryable(Engine engine, const QSqlError& error) {
    if (engine != Engine::Postgres) {
        return false;
    }
    const QString code = error.nativeErrorCode();
    return code == QLatin1String("40001") || code == QLatin1String("40P01") ||
           code == QLatin1String("23505");
}

}  // namespace archiveschema
