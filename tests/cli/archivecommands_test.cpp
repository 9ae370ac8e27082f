// The command line's archive against logger-sim: a download is kept and exported with the
// bytes it wrote, history lists it, import and export round-trip a file, and an archive that
// cannot be used costs neither the file nor the logger's mark. On SQLite and, when the test
// command started one, on PostgreSQL.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include "cli/options.h"
#include "simrig.h"

namespace {

enum class TestEngine { Sqlite, Postgres };

struct CliResult {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// A database of its own on the test server.
QString freshPostgres(const QString& base) {
    static int counter = 0;
    const QString name =
        QStringLiteral("cli_archive_%1_%2").arg(QCoreApplication::applicationPid()).arg(++counter);
    const QString connection = QStringLiteral("cli-admin");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connection);
        const QString socket = base.section(QStringLiteral("host="), 1);
        db.setHostName(socket);
        db.setUserName(QStringLiteral("veltrane"));
        db.setDatabaseName(QStringLiteral("veltrane_test"));
        if (!db.open() || !QSqlQuery(db).exec(QStringLiteral("CREATE DATABASE ") + name)) {
            return {};
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
    QString text = base;
    return text.replace(QStringLiteral("/veltrane_test?"), QLatin1Char('/') + name + u'?');
}

class CliArchiveTest : public ::testing::TestWithParam<TestEngine> {
  protected:
    void SetUp() override {
        if (PtySimRig::program().isEmpty() || qEnvironmentVariable("VELTRANE_CLI").isEmpty()) {
            GTEST_SKIP() << "VELTRANE_SIM or VELTRANE_CLI names no program";
        }
        if (GetParam() == TestEngine::Sqlite) {
            archive = work.filePath(QStringLiteral("archive.sqlite"));
        } else {
            const QString base = qEnvironmentVariable("VELTRANE_TEST_POSTGRES");
            if (base.isEmpty()) {
                GTEST_SKIP() << "VELTRANE_TEST_POSTGRES is not set: no PostgreSQL server to "
                                "test on (scripts/with-postgres starts one)";
            }
            archive = freshPostgres(base);
            ASSERT_FALSE(archive.isEmpty());
        }
    }

    CliResult run(const QStringList& arguments, const QString& location = {}) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("VELTRANE_ARCHIVE"),
                           location.isEmpty() ? archive : location);
        process.setProcessEnvironment(environment);
        process.start(qEnvironmentVariable("VELTRANE_CLI"), arguments);
        process.waitForFinished(120000);
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                process.readAllStandardOutput(), process.readAllStandardError()};
    }

    QJsonArray history() {
        const CliResult result = run({QStringLiteral("history"), QStringLiteral("--json")});
        EXPECT_EQ(result.exitCode, Done) << result.err.toStdString();
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(result.out, &error);
        EXPECT_EQ(error.error, QJsonParseError::NoError) << result.out.toStdString();
        return document.array();
    }

    QByteArray exported(qint64 id) {
        const QString path = work.filePath(QStringLiteral("export-%1.csv").arg(id));
        const CliResult result =
            run({QStringLiteral("export"), QString::number(id), QStringLiteral("--out"), path});
        EXPECT_EQ(result.exitCode, Done) << result.err.toStdString();
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    static QByteArray contents(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir work;
    QString archive;
    PtySimRig simulator;
};

}  // namespace

TEST_P(CliArchiveTest, ADownloadIsKeptListedAndExportedWithTheBytesItWrote) {
    ASSERT_TRUE(simulator.start({QStringLiteral("--scenario"), QStringLiteral("runs")}));
    const QString csv = work.filePath(QStringLiteral("download.csv"));
    const CliResult download = run({QStringLiteral("download"), QStringLiteral("--out"), csv});
    ASSERT_EQ(download.exitCode, Done) << download.err.toStdString();
    EXPECT_TRUE(download.err.isEmpty()) << download.err.toStdString();

    QJsonArray list = history();
    ASSERT_EQ(list.size(), 1);
    const QJsonObject recording = list.at(0).toObject();
    EXPECT_EQ(recording.value(QStringLiteral("samples")).toInt(), 650);
    EXPECT_EQ(recording.value(QStringLiteral("source")).toString(), QStringLiteral("download"));
    const qint64 id = recording.value(QStringLiteral("id")).toInteger();
    const QByteArray downloaded = contents(csv);
    ASSERT_FALSE(downloaded.isEmpty());
    EXPECT_EQ(exported(id), downloaded);

    const CliResult json =
        run({QStringLiteral("export"), QString::number(id), QStringLiteral("--out"),
             QStringLiteral("-"), QStringLiteral("--format"), QStringLiteral("json")});
    ASSERT_EQ(json.exitCode, Done) << json.err.toStdString();
    const QJsonObject document = QJsonDocument::fromJson(json.out).object();
    EXPECT_EQ(document.value(QStringLiteral("samples")).toArray().size(), 650);

    // The same run downloaded again adds nothing; --no-archive leaves the archive alone.
    ASSERT_EQ(run({QStringLiteral("download"), QStringLiteral("--out"), csv}).exitCode, Done);
    ASSERT_EQ(run({QStringLiteral("download"), QStringLiteral("--no-archive"),
                   QStringLiteral("--out"), csv},
                  work.filePath(QStringLiteral("never.sqlite")))
                  .exitCode,
              Done);
    EXPECT_FALSE(QFile::exists(work.filePath(QStringLiteral("never.sqlite"))));
    list = history();
    ASSERT_EQ(list.size(), 1);
    EXPECT_EQ(list.at(0).toObject().value(QStringLiteral("samples")).toInt(), 650);
}

TEST_P(CliArchiveTest, AnImportedFileExportsAsItWasAndABadIdIsRefused) {
    const QString source = work.filePath(QStringLiteral("source.csv"));
    QFile file(source);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(
        "\"Recognition name\",\"Start time\",\"Recording points\",\"Record interval\","
        "\"\",\"\"\r\n"
        "\"AB\",\"2026/02/03 04:05:06\",\" 3\",\" 60\",\"\",\"\"\r\n"
        "\"Record number\",\"Date\",\"Temperature\",\"Humidity\",\"Remarks\"\r\n"
        "1,\"2026/02/03 04:05:06\",\"21.50\",\"40.00\",\"" +
        QByteArray(50, ' ') +
        "\"\r\n"
        "2,\"2026/02/03 04:06:06\",\"-.50\",\"41.25\",\"" +
        QByteArray(50, ' ') +
        "\"\r\n"
        "3,\"2026/02/03 04:07:06\",\"22.00\",\"42.00\",\"" +
        QByteArray(50, ' ') + "\"\r\n");
    file.close();
    const CliResult imported = run({QStringLiteral("import"), source});
    ASSERT_EQ(imported.exitCode, Done) << imported.err.toStdString();
    const QJsonArray list = history();
    ASSERT_EQ(list.size(), 1);
    const qint64 id = list.at(0).toObject().value(QStringLiteral("id")).toInteger();
    EXPECT_EQ(exported(id), contents(source));

    // The recording reports as the file it came from.
    const CliResult fromFile = run({QStringLiteral("report"), source, QStringLiteral("--json")});
    const CliResult fromArchive = run({QStringLiteral("report"), QStringLiteral("--recording"),
                                       QString::number(id), QStringLiteral("--json")});
    ASSERT_EQ(fromArchive.exitCode, Done) << fromArchive.err.toStdString();
    const auto figures = [](const CliResult& result) {
        QJsonObject report = QJsonDocument::fromJson(result.out).object();
        report.remove(QStringLiteral("file"));
        return report;
    };
    EXPECT_EQ(figures(fromArchive), figures(fromFile));
    EXPECT_TRUE(figures(fromArchive).contains(QStringLiteral("excursions")));

    const struct {
        QStringList arguments;
        int exitCode;
    } refusals[] = {
        {{QStringLiteral("export"), QString::number(id + 1), QStringLiteral("--out"),
          QStringLiteral("-")},
         Refused},
        {{QStringLiteral("export"), QStringLiteral("x1"), QStringLiteral("--out"),
          QStringLiteral("-")},
         Usage},
        {{QStringLiteral("export"), QString::number(id), QStringLiteral("--format"),
          QStringLiteral("xml")},
         Usage},
        {{QStringLiteral("import"), work.filePath(QStringLiteral("missing.csv"))}, Refused},
        {{QStringLiteral("report"), QStringLiteral("--recording"), QString::number(id + 1)},
         Refused},
        {{QStringLiteral("report"), source, QStringLiteral("--recording"), QString::number(id)},
         Usage},
    };
    for (const auto& refusal : refusals) {
        const CliResult result = run(refusal.arguments);
        EXPECT_EQ(result.exitCode, refusal.exitCode) << refusal.arguments.join(u' ').toStdString();
        EXPECT_EQ(result.err.count('\n'), 1) << result.err.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(BothEngines, CliArchiveTest,
                         ::testing::Values(TestEngine::Sqlite, TestEngine::Postgres),
                         [](const auto& info) {
                             return info.param == TestEngine::Sqlite ? "Sqlite" : "Postgres";
                         });

// An archive that cannot be used is one line: the file is written and the logger marked.
TEST(CliArchiveFaults, AnUnreachableArchiveCostsNeitherTheFileNorTheMark) {
    if (PtySimRig::program().isEmpty() || qEnvironmentVariable("VELTRANE_CLI").isEmpty()) {
        GTEST_SKIP() << "VELTRANE_SIM or VELTRANE_CLI names no program";
    }
    QTemporaryDir work;
    PtySimRig simulator;
    ASSERT_TRUE(simulator.start({QStringLiteral("--scenario"), QStringLiteral("runs")}));
    const auto run = [&](const QStringList& arguments) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("VELTRANE_ARCHIVE"),
                           QStringLiteral("postgresql://veltrane@/archive?host=") + work.path());
        process.setProcessEnvironment(environment);
        process.start(qEnvironmentVariable("VELTRANE_CLI"), arguments);
        process.waitForFinished(120000);
        return CliResult{process.exitCode(), process.readAllStandardOutput(),
                         process.readAllStandardError()};
    };
    const auto downloaded = [&] {
        const CliResult status = run({QStringLiteral("status"), QStringLiteral("--json")});
        return QJsonDocument::fromJson(status.out).object().value(QStringLiteral("downloaded"));
    };
    EXPECT_EQ(downloaded(), QJsonValue(false));
    const QString csv = work.filePath(QStringLiteral("download.csv"));
    const CliResult result = run({QStringLiteral("download"), QStringLiteral("--out"), csv});
    EXPECT_EQ(result.exitCode, Done);
    EXPECT_EQ(result.err, QByteArray("The archive cannot be reached.\n"));
    QFile file(csv);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().count('\n'), 3 + 650);
    EXPECT_EQ(downloaded(), QJsonValue(true));
}
