// The JSON and TSV outputs of download and measure: the veltrane-cli program against logger-sim,
// the values checked against the CSV file of the same logger, and a measurement streamed until
// a signal ends it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <csignal>

#include "cli/options.h"
#include "cli/sampleformat.h"
#include "data/datetime.h"
#include "simrig.h"

namespace {

struct CliResult {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

class CliFormats : public ::testing::Test {
  protected:
    void SetUp() override {
        if (PtySimRig::program().isEmpty() || cli().isEmpty()) {
            GTEST_SKIP() << "VELTRANE_SIM or VELTRANE_CLI names no program";
        }
    }

    static QString cli() { return qEnvironmentVariable("VELTRANE_CLI"); }

    static CliResult finish(QProcess& process) {
        process.waitForFinished(120000);
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                process.readAllStandardOutput(), process.readAllStandardError()};
    }

    CliResult run(const QStringList& arguments) {
        QProcess process;
        process.start(cli(), arguments);
        return finish(process);
    }

    QTemporaryDir work;
    PtySimRig simulator;
};

// One sample line of the program's CSV file: number, date-time, temperature, humidity.
struct CsvRow {
    int record = 0;
    QString time;
    double temperature = 0;
    double humidity = 0;
};

std::vector<CsvRow> csvRows(const QByteArray& csv) {
    static const QRegularExpression kRow(
        QStringLiteral("^(\\d+),\"([^\"]*)\",\"([^\"]*)\",\"([^\"]*)\","));
    std::vector<CsvRow> rows;
    const QList<QByteArray> lines = csv.split('\n');
    for (qsizetype i = 3; i < lines.size(); ++i) {
        const QRegularExpressionMatch match = kRow.match(QString::fromLatin1(lines.at(i)));
        if (match.hasMatch()) {
            const std::optional<double> days = datetime::parse(match.captured(2));
            rows.push_back({match.captured(1).toInt(), days ? isoTime(*days) : QString(),
                            match.captured(3).toDouble(), match.captured(4).toDouble()});
        }
    }
    return rows;
}

TEST(SampleFormat, NumbersArePlainWithTwoDecimals) {
    const struct {
        float value;
        const char* text;
    } cases[] = {{21.5f, "21.50"}, {0.25f, "0.25"},  {-0.5f, "-0.50"},   {-0.004f, "0.00"},
                 {45.0f, "45.00"}, {21.3f, "21.30"}, {-40.0f, "-40.00"}, {99.995f, "100.00"}};
    for (const auto& c : cases) {
        EXPECT_EQ(plainHundredths(c.value), QLatin1String(c.text)) << c.value;
    }
    Sample sample;
    sample.temperature = -0.5f;
    sample.humidity = 45.0f;
    sample.series = 2;
    sample.dateTime = datetime::fromDateTime(QDateTime(QDate(2026, 12, 8), QTime(10, 0)));
    const QJsonObject line = QJsonDocument::fromJson(jsonLine(7, sample)).object();
    EXPECT_EQ(line, (QJsonObject{{QStringLiteral("record"), 7},
                                 {QStringLiteral("time"), QStringLiteral("2026-12-08T10:00:00")},
                                 {QStringLiteral("temperature"), -0.5},
                                 {QStringLiteral("humidity"), 45.0},
                                 {QStringLiteral("series"), 2}}));
    EXPECT_EQ(tsvLine(7, sample), QByteArray("7\t2026-12-08T10:00:00\t-0.50\t45.00\t2\n"));
}

TEST_F(CliFormats, JsonAndTsvCarryTheValuesOfTheCsvFile) {
    ASSERT_TRUE(simulator.start({QStringLiteral("--scenario"), QStringLiteral("runs")}));
    const CliResult csv = run({QStringLiteral("download")});
    ASSERT_EQ(csv.exitCode, Done) << csv.err.toStdString();
    const std::vector<CsvRow> rows = csvRows(csv.out);
    ASSERT_EQ(rows.size(), 650u);
    const QList<QByteArray> header = csv.out.split('\n').at(1).trimmed().split(',');
    ASSERT_GE(header.size(), 4);

    const CliResult json =
        run({QStringLiteral("download"), QStringLiteral("--format"), QStringLiteral("json"),
             QStringLiteral("--out"), QStringLiteral("-")});
    ASSERT_EQ(json.exitCode, Done) << json.err.toStdString();
    QJsonParseError error;
    const QJsonObject document = QJsonDocument::fromJson(json.out, &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    EXPECT_EQ(document.value(QStringLiteral("model")).toString(), QStringLiteral("QM320-HX"));
    EXPECT_EQ(document.value(QStringLiteral("name")).toString(),
              QString::fromLatin1(header.at(0)).remove(u'"').trimmed());
    EXPECT_EQ(document.value(QStringLiteral("interval_seconds")).toInt(),
              QString::fromLatin1(header.at(3)).remove(u'"').trimmed().toInt());
    const QJsonArray samples = document.value(QStringLiteral("samples")).toArray();
    ASSERT_EQ(samples.size(), static_cast<qsizetype>(rows.size()));

    const CliResult tsv =
        run({QStringLiteral("download"), QStringLiteral("--format"), QStringLiteral("tsv")});
    ASSERT_EQ(tsv.exitCode, Done) << tsv.err.toStdString();
    QList<QByteArray> tsvLines = tsv.out.split('\n');
    ASSERT_EQ(tsvLines.takeLast(), QByteArray());
    ASSERT_EQ(tsvLines.takeFirst(), QByteArray("record\ttime\ttemperature\thumidity\tseries"));
    ASSERT_EQ(tsvLines.size(), static_cast<qsizetype>(rows.size()));

    int series = 1;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(i);
        const QJsonObject sample = samples.at(static_cast<qsizetype>(i)).toObject();
        EXPECT_EQ(sample.value(QStringLiteral("record")).toInt(), rows[i].record);
        EXPECT_EQ(sample.value(QStringLiteral("time")).toString(), rows[i].time);
        EXPECT_EQ(sample.value(QStringLiteral("temperature")).toDouble(), rows[i].temperature);
        EXPECT_EQ(sample.value(QStringLiteral("humidity")).toDouble(), rows[i].humidity);
        // Runs are counted from 1, one more at each gap.
        const int next = sample.value(QStringLiteral("series")).toInt();
        EXPECT_TRUE(next == series || next == series + 1) << next;
        series = next;
        const QList<QByteArray> columns = tsvLines.at(static_cast<qsizetype>(i)).split('\t');
        ASSERT_EQ(columns.size(), 5);
        EXPECT_EQ(columns.at(0).toInt(), rows[i].record);
        EXPECT_EQ(QString::fromLatin1(columns.at(1)), rows[i].time);
        EXPECT_EQ(columns.at(2).toDouble(), rows[i].temperature);
        EXPECT_EQ(columns.at(3).toDouble(), rows[i].humidity);
        EXPECT_EQ(columns.at(4).toInt(), next);
    }
    EXPECT_GT(series, 1) << "the runs scenario holds several recording runs";
}

TEST_F(CliFormats, MeasureWithoutCountStreamsUntilInterrupted) {
    ASSERT_TRUE(simulator.start({QStringLiteral("--scenario"), QStringLiteral("demo")}));
    const QString path = work.filePath(QStringLiteral("room.tsv"));
    const QStringList every = {QStringLiteral("measure"), QStringLiteral("--every"),
                               QStringLiteral("2s"), QStringLiteral("--format")};
    const struct {
        const char* what;
        QStringList arguments;
        bool toFile;
    } cases[] = {
        {"JSON lines on standard output", every + QStringList{QStringLiteral("json")}, false},
        {"TSV into a file",
         every + QStringList{QStringLiteral("tsv"), QStringLiteral("--out"), path}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QProcess process;
        process.start(cli(), c.arguments);
        ASSERT_TRUE(process.waitForStarted(10000));
        // Two samples arrive while the program still runs: on the pipe, or in the hidden
        // temporary that becomes the file.
        QByteArray streamed;
        const auto written = [&] {
            if (!c.toFile) {
                streamed += process.readAllStandardOutput();
                return streamed;
            }
            const QStringList hidden =
                QDir(work.path())
                    .entryList({QStringLiteral(".veltrane-cli.*")}, QDir::Hidden | QDir::Files);
            if (hidden.isEmpty()) {
                return QByteArray();
            }
            QFile file(work.filePath(hidden.first()));
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };
        const qsizetype lines = c.toFile ? 3 : 2;
        ASSERT_TRUE(waitUntil(
            [&] {
                return written().count('\n') >= lines || process.state() == QProcess::NotRunning;
            },
            60000));
        ASSERT_EQ(process.state(), QProcess::Running)
            << process.readAllStandardError().toStdString();
        EXPECT_FALSE(QFile::exists(path));
        ::kill(static_cast<pid_t>(process.processId()), SIGINT);
        const CliResult result = finish(process);
        EXPECT_EQ(result.exitCode, 128 + SIGINT) << result.err.toStdString();
        EXPECT_TRUE(result.err.contains("Interrupted by SIGINT")) << result.err.toStdString();

        QByteArray out = streamed + result.out;
        if (c.toFile) {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            out = file.readAll();
            EXPECT_TRUE(result.out.isEmpty());
            EXPECT_TRUE(
                QDir(work.path())
                    .entryList({QStringLiteral(".veltrane-cli.*")}, QDir::Hidden | QDir::Files)
                    .isEmpty());
        }
        ASSERT_TRUE(out.endsWith('\n')) << "a line left half-written";
        QList<QByteArray> sampleLines = out.trimmed().split('\n');
        if (c.toFile) {
            EXPECT_EQ(sampleLines.takeFirst(),
                      QByteArray("record\ttime\ttemperature\thumidity\tseries"));
        }
        ASSERT_GE(sampleLines.size(), 2);
        EXPECT_TRUE(
            result.err.contains(QByteArray::number(sampleLines.size()) + " samples were written"))
            << result.err.toStdString();
        for (qsizetype i = 0; i < sampleLines.size(); ++i) {
            const QByteArray& line = sampleLines.at(i);
            if (c.toFile) {
                const QList<QByteArray> columns = line.split('\t');
                ASSERT_EQ(columns.size(), 5) << line.toStdString();
                EXPECT_EQ(columns.at(0).toInt(), i + 1);
            } else {
                QJsonParseError error;
                const QJsonObject sample = QJsonDocument::fromJson(line, &error).object();
                EXPECT_EQ(error.error, QJsonParseError::NoError) << line.toStdString();
                EXPECT_EQ(sample.value(QStringLiteral("record")).toInt(), i + 1);
                EXPECT_TRUE(sample.value(QStringLiteral("temperature")).isDouble());
            }
        }
    }
}

TEST(CliFormatOptions, FormatsAreCheckedBeforeTheLoggerIsTouched) {
    MessageTable messages;
    messages.fillEnglish();
    const struct {
        const char* line;
        std::optional<OutputFormat> format;  // none: refused
    } cases[] = {
        {"download --format json --out -", OutputFormat::Json},
        {"download --format tsv", OutputFormat::Tsv},
        {"measure --format csv --every 2s --count 3", OutputFormat::Csv},
        {"measure --format json --every 2s", OutputFormat::Json},
        {"download --format xml", std::nullopt},
        {"status --format json", std::nullopt},
        // The CSV file's header holds the count: without one it could never be written.
        {"measure --every 2s --format csv", std::nullopt},
        {"measure --every 2s --out x.csv", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        QList<QByteArray> words = QByteArray(c.line).split(' ');
        const auto parsed = parseOptions(words, messages);
        ASSERT_EQ(std::holds_alternative<CliOptions>(parsed), c.format.has_value());
        if (c.format) {
            EXPECT_EQ(std::get<CliOptions>(parsed).format, c.format);
        }
    }
    const auto refused =
        parseOptions(QByteArray("measure --every 2s --format csv").split(' '), messages);
    EXPECT_EQ(std::get<QString>(refused), messages.text(Msg::CliCsvNeedsCount));
}

}  // namespace
