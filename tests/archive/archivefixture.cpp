// The archive tests' fixture; see archivefixture.h.
#include "archivefixture.h"

#include <QCoreApplication>
#include <atomic>

namespace {

std::atomic<int> counter{0};

// A database of its own on the test server, for one test.
QString freshPostgresDatabase(const QString& base, QString& failure) {
    ArchiveLocation server;
    if (ArchiveError error = ArchiveLocation::parse(base, server); !error.ok()) {
        failure = error.detail;
        return {};
    }
    const QString name =
        QStringLiteral("archive_%1_%2").arg(QCoreApplication::applicationPid()).arg(++counter);
    {
        DirectSql sql(server);
        if (!sql.exec(QStringLiteral("DROP DATABASE IF EXISTS %1").arg(name)) ||
            !sql.exec(QStringLiteral("CREATE DATABASE %1").arg(name))) {
            failure = sql.lastError();
            return {};
        }
    }
    QString text = base;
    text.replace(QLatin1Char('/') + server.database + QLatin1Char('?'),
                 QLatin1Char('/') + name + QLatin1Char('?'));
    return text;
}

}  // namespace

DirectSql::DirectSql(const ArchiveLocation& location)
    : name_(QStringLiteral("direct-%1").arg(++counter)) {
    QSqlDatabase db;
    if (location.engine == ArchiveLocation::Engine::Sqlite) {
        db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
        db.setDatabaseName(location.path);
    } else {
        db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name_);
        db.setHostName(location.host);
        db.setPort(location.port);
        db.setUserName(location.user);
        db.setDatabaseName(location.database);
    }
    if (!db.open()) {
        error_ = db.lastError().text();
    }
}

DirectSql::~DirectSql() {
    {
        QSqlDatabase db = QSqlDatabase::database(name_, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(name_);
}

bool DirectSql::exec(const QString& sql) {
    QSqlQuery query(QSqlDatabase::database(name_, false));
    if (!query.exec(sql)) {
        error_ = query.lastError().text();
        return false;
    }
    return true;
}

QVariant DirectSql::value(const QString& sql) {
    QSqlQuery query(QSqlDatabase::database(name_, false));
    if (!query.exec(sql) || !query.next()) {
        error_ = query.lastError().text();
        return {};
    }
    return query.value(0);
}

void ArchiveTest::SetUp() {
    ASSERT_TRUE(dir.isValid());
    messages.fillEnglish();
    for (std::size_t i = 0; i < sets.size(); ++i) {
        ASSERT_TRUE(sets[i].file.open(dir.filePath(QStringLiteral("set%1.rand").arg(i))));
    }
    if (GetParam() == TestEngine::Sqlite) {
        locationText = dir.filePath(QStringLiteral("archive.sqlite"));
    } else {
        const QString base = qEnvironmentVariable("VELTRANE_TEST_POSTGRES");
        if (base.isEmpty()) {
            GTEST_SKIP() << "VELTRANE_TEST_POSTGRES is not set: no PostgreSQL server to test on "
                            "(scripts/with-postgres starts one)";
        }
        QString failure;
        locationText = freshPostgresDatabase(base, failure);
        ASSERT_FALSE(locationText.isEmpty()) << failure.toStdString();
    }
    ASSERT_TRUE(ArchiveLocation::parse(locationText, location).ok());
}

void ArchiveTest::TearDown() {
    for (DataSet& set : sets) {
        set.file.close();
    }
}

std::unique_ptr<Archive> ArchiveTest::openArchive() {
    auto archive = std::make_unique<Archive>(location);
    const ArchiveError error = archive->open();
    EXPECT_TRUE(error.ok()) << error.detail.toStdString();
    return archive;
}

DataSet& ArchiveTest::dataSet(int slot) {
    return sets[static_cast<std::size_t>(slot)];
}

QByteArray ArchiveTest::csvBytes(DataSet& set) {
    const QString path = dir.filePath(QStringLiteral("out-%1.csv").arg(++counter));
    EXPECT_EQ(saveCsv(path, set, set.model, set.identName, csvTexts(messages)), CsvError::None);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

std::unique_ptr<QProcess> ArchiveTest::startChild(int first, int last, const QString& killAfter) {
    auto process = std::make_unique<QProcess>();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!killAfter.isEmpty()) {
        environment.insert(QStringLiteral("VELTRANE_ARCHIVE_KILL_AFTER"), killAfter);
    }
    process->setProcessEnvironment(environment);
    process->start(QStringLiteral(VELTRANE_ARCHIVE_CHILD),
                   {locationText, QString::number(first), QString::number(last)});
    return process;
}

QByteArray fileHash(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}
