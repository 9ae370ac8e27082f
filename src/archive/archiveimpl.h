// What the archive's source files share: the connection behind an Archive, its statement
// runner, and the conversions between data set times and the stored milliseconds.
#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariantList>
#include <cmath>
#include <vector>

#include "archive/archive.h"
#include "archive/schema.h"
#include "link/linklog.h"

namespace archivedetail {

inline constexpr double kMillisecondsPerDay = 86400000.0;

inline qint64 toMilliseconds(double days) {
    return std::llround(days * kMillisecondsPerDay);
}

inline double toDays(qint64 milliseconds) {
    return static_cast<double>(milliseconds) / kMillisecondsPerDay;
}

struct Row {
    qint64 time = 0;
    int record = 0;
    double temperature = 0;
    double humidity = 0;
    int series = 0;
    QByteArray remarks;
};

}  // namespace archivedetail

struct Archive::Impl {
    archiveschema::Engine engine = archiveschema::Engine::Sqlite;
    QString connection;
    bool open = false;
    bool readOnly = false;
    int lockWaitMs = 10000;
    // The driver's error behind the last fault, to tell whether running again may help.
    mutable QSqlError lastDriverError;

    QSqlDatabase db() const { return QSqlDatabase::database(connection, false); }

    ArchiveError fault(const QSqlError& error, const QString& what) const {
        lastDriverError = error;
        LINK_LOG << "archive:" << what << "failed:" << error.nativeErrorCode() << error.text();
        return {archiveschema::kindOf(engine, error), what + QStringLiteral(": ") + error.text()};
    }

    // Runs one statement with its values; a fault becomes the archive's error.
    // Statements without values run unprepared: PostgreSQL prepares no transaction control.
    ArchiveError run(QSqlQuery& query, const QString& sql, const QVariantList& values = {}) const {
        if (values.isEmpty()) {
            return query.exec(sql) ? ArchiveError{} : fault(query.lastError(), sql.left(40));
        }
        if (!query.prepare(sql)) {
            return fault(query.lastError(), sql.left(40));
        }
        for (int i = 0; i < values.size(); ++i) {
            query.bindValue(i, values[i]);
        }
        if (!query.exec()) {
            return fault(query.lastError(), sql.left(40));
        }
        return {};
    }

    ArchiveError run(const QString& sql, const QVariantList& values = {}) const {
        QSqlQuery query(db());
        return run(query, sql, values);
    }

    ArchiveError begin() const {
        if (engine == archiveschema::Engine::Sqlite) {
            // Take the write lock at once: two deferred writers would deadlock on upgrading.
            return run(QStringLiteral("BEGIN IMMEDIATE"));
        }
        return run(QStringLiteral("BEGIN"));
    }

    void rollback() const {
        QSqlQuery query(db());
        query.exec(QStringLiteral("ROLLBACK"));
    }

    ArchiveError readVersion(int& version) const;
    ArchiveError prepareSchema();
    ArchiveError storeOnce(const std::vector<archivedetail::Row>& rows, const DataSet& set,
                           const RunFacts& facts, qint64 start, StoreResult& result) const;
    ArchiveError insertRows(qint64 id, const std::vector<archivedetail::Row>& rows,
                            int& added) const;
};
