// Opening an archive: its own named connection, the schema check, creation and migration.
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QThread>
#include <atomic>

#include "archive/archiveimpl.h"

using archiveschema::Engine;

namespace {

// Any key will do as long as every writer of the schema takes the same one.
constexpr qint64 kSchemaLockKey = 0x56656c74;

std::atomic<int> connectionCount{0};

}  // namespace

ArchiveError Archive::Impl::readVersion(int& version) const {
    version = 0;
    QSqlQuery query(db());
    const QString exists =
        engine == Engine::Sqlite
            ? QStringLiteral(
                  "SELECT (SELECT count(*) FROM sqlite_master WHERE type = 'table'"
                  " AND name = 'schema_version'), (SELECT count(*) FROM"
                  " sqlite_master)")
            : QStringLiteral(
                  // The catalog as a table, read with this statement's snapshot: a schema another
                  // writer committed while this one waited for the lock is seen.
                  "SELECT COUNT(*), 0 FROM pg_catalog.pg_tables WHERE schemaname ="
                  " current_schema() AND tablename = 'schema_version'");
    if (ArchiveError error = run(query, exists); !error.ok()) {
        return error;
    }
    if (!query.next()) {
        return {ArchiveErrorKind::Failed, QStringLiteral("no answer to the schema question")};
    }
    if (query.value(0).toInt() == 0) {
        if (query.value(1).toInt() != 0) {
            return {ArchiveErrorKind::Corrupt, QStringLiteral("a database of something else")};
        }
        return {};
    }
    if (ArchiveError error = run(query, QStringLiteral("SELECT MAX(version) FROM schema_version"));
        !error.ok()) {
        return error;
    }
    if (!query.next() || query.value(0).isNull()) {
        return {ArchiveErrorKind::Corrupt, QStringLiteral("no schema version")};
    }
    version = query.value(0).toInt();
    return {};
}

ArchiveError Archive::Impl::prepareSchema() {
    int version = 0;
    if (ArchiveError error = readVersion(version); !error.ok()) {
        return error;
    }
    if (version > kSchemaVersion) {
        return {ArchiveErrorKind::NewerSchema,
                QStringLiteral("schema version %1, this program knows %2")
                    .arg(version)
                    .arg(kSchemaVersion)};
    }
    if (readOnly) {
        return version == kSchemaVersion
                   ? ArchiveError{}
                   : ArchiveError{ArchiveErrorKind::ReadOnly,
                                  QStringLiteral("a read-only archive of an older schema")};
    }
    if (engine == Engine::Sqlite) {
        // WAL: readers never wait for a writer, and a commit is one append to the log.
        // synchronous=FULL: a store reported done survives a power loss, at one flush per
        // commit; the command line marks the logger downloaded on the strength of it.
        // Turning WAL on needs the file to itself, and SQLite answers "locked" at once, without
        // its busy wait, while a second program opens the same new file: it is asked again.
        const QDeadlineTimer deadline(lockWaitMs);
        for (;;) {
            const ArchiveError error = run(QStringLiteral("PRAGMA journal_mode = WAL"));
            if (error.ok()) {
                break;
            }
            if (error.kind != ArchiveErrorKind::Locked || deadline.hasExpired()) {
                return error;
            }
            QThread::msleep(10);
        }
        if (ArchiveError error = run(QStringLiteral("PRAGMA synchronous = FULL")); !error.ok()) {
            return error;
        }
    }
    if (version == kSchemaVersion) {
        return {};
    }
    if (ArchiveError error = begin(); !error.ok()) {
        return error;
    }
    auto inTransaction = [&]() -> ArchiveError {
        if (engine == Engine::Postgres) {
            if (ArchiveError error =
                    run(QStringLiteral("SELECT pg_advisory_xact_lock(?)"), {kSchemaLockKey});
                !error.ok()) {
                return error;
            }
        }
        // Another program may have created or migrated it while this one waited.
        if (ArchiveError error = readVersion(version); !error.ok()) {
            return error;
        }
        if (version > kSchemaVersion) {
            return {ArchiveErrorKind::NewerSchema, QStringLiteral("newer schema")};
        }
        QStringList statements;
        if (version == 0) {
            statements = archiveschema::createStatements(engine);
            statements << QStringLiteral("INSERT INTO schema_version (version) VALUES (%1)")
                              .arg(kSchemaVersion);
        } else if (version < kSchemaVersion) {
            for (int from = version; from < kSchemaVersion; ++from) {
                statements << archiveschema::migrationStatements(engine, from);
            }
            statements
                << QStringLiteral("UPDATE schema_version SET version = %1").arg(kSchemaVersion);
        }
        for (const QString& statement : statements) {
            if (ArchiveError error = run(statement); !error.ok()) {
                return error;
            }
        }
        return run(QStringLiteral("COMMIT"));
    };
    ArchiveError error = inTransaction();
    if (!error.ok()) {
        rollback();
    }
    return error;
}

Archive::Archive(ArchiveLocation location) : location_(std::move(location)), impl_(new Impl) {
    impl_->engine =
        location_.engine == ArchiveLocation::Engine::Sqlite ? Engine::Sqlite : Engine::Postgres;
    impl_->connection = QStringLiteral("veltrane-archive-%1").arg(++connectionCount);
}

Archive::~Archive() {
    {
        QSqlDatabase db = impl_->db();
        if (db.isValid()) {
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(impl_->connection);
}

bool Archive::isOpen() const {
    return impl_->open;
}

ArchiveError Archive::open() {
    if (impl_->open) {
        return {};
    }
    QSqlDatabase db;
    if (impl_->engine == Engine::Sqlite) {
        const QFileInfo file(location_.path);
        if (file.exists() && !file.isFile()) {
            return {ArchiveErrorKind::BadLocation, location_.path + QStringLiteral(" is no file")};
        }
        impl_->readOnly = location_.readOnly || (file.exists() && !file.isWritable());
        impl_->lockWaitMs = location_.lockWaitMs;
        if (!file.exists() && (impl_->readOnly || !QDir().mkpath(file.absolutePath()))) {
            return {ArchiveErrorKind::Unreachable,
                    QStringLiteral("cannot create ") + location_.path};
        }
        db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), impl_->connection);
        db.setDatabaseName(location_.path);
        const QString wait = QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(location_.lockWaitMs);
        db.setConnectOptions(impl_->readOnly ? wait + QStringLiteral(";QSQLITE_OPEN_READONLY")
                                             : wait);
    } else {
        db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), impl_->connection);
        db.setHostName(location_.host);
        db.setPort(location_.port);
        db.setUserName(location_.user);
        db.setPassword(location_.password);
        db.setDatabaseName(location_.database);
        db.setConnectOptions(QStringLiteral("connect_timeout=5"));
    }
    if (!db.isValid()) {
        return {ArchiveErrorKind::Failed, QStringLiteral("no database driver for the archive")};
    }
    if (!db.open()) {
        ArchiveError error = impl_->fault(db.lastError(), QStringLiteral("open"));
        if (impl_->engine == Engine::Postgres || error.kind == ArchiveErrorKind::Failed) {
            error.kind = ArchiveErrorKind::Unreachable;
        }
        return error;
    }
    if (ArchiveError error = impl_->prepareSchema(); !error.ok()) {
        db.close();
        return error;
    }
    impl_->open = true;
    return {};
}
