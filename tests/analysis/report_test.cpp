// veltrane-cli report and plot on the files the simulated logger's scenarios download to, each
// figure checked against a plain loop over the CSV text written here again.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <cmath>

#include "cli/options.h"
#include "data/csv.h"
#include "data/datetime.h"
#include "data/texts.h"
#include "simrig.h"

namespace {

struct CliResult {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

CliResult runCli(const QStringList& arguments, bool withoutDisplay = false) {
    QProcess process;
    if (withoutDisplay) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        environment.remove(QStringLiteral("DISPLAY"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        process.setProcessEnvironment(environment);
    }
    process.start(qEnvironmentVariable("VELTRANE_CLI"), arguments);
    process.waitForFinished(120000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), process.readAllStandardError()};
}

// The figures computed straight from the CSV text, nothing shared with the program but the
// file: a line per sample, quoted fields, temperature and humidity with two decimals.
struct PlainFigures {
    int count = 0;
    int series = 0;
    double tMin = 1e9, tMax = -1e9, tSum = 0, tSquares = 0;
    int tMinRow = 0, tMaxRow = 0;
    double hMin = 1e9, hMax = -1e9, hSum = 0;
    double kineticSum = 0;
    double dewMin = 1e9, dewMax = -1e9, dewSum = 0;
    int dewCount = 0;
    int above = 0, below = 0;  // runs
    int interval = 0;
    std::optional<double> upper, lower;
};

PlainFigures plainFigures(const QByteArray& csv, const QString& fromText = {},
                          const QString& toText = {}) {
    PlainFigures p;
    const QList<QByteArray> lines = csv.split('\n');
    const auto fields = [](const QByteArray& line) {
        QStringList out;
        for (const QByteArray& f : line.trimmed().split(',')) {
            out << QString::fromLatin1(f).remove(QLatin1Char('"')).trimmed();
        }
        return out;
    };
    const QStringList header = fields(lines.at(1));
    p.interval = header.at(3).toInt();
    if (!header.at(4).isEmpty() && header.at(4) != QLatin1String("OFF")) {
        p.upper = header.at(4).toDouble();
    }
    if (!header.at(5).isEmpty() && header.at(5) != QLatin1String("OFF")) {
        p.lower = header.at(5).toDouble();
    }
    const double from = fromText.isEmpty() ? -1e18 : *datetime::parse(fromText);
    const double to = toText.isEmpty() ? 1e18 : *datetime::parse(toText);
    double previousTime = *datetime::parse(header.at(1));
    int fileSeries = 1;
    int lastSeries = 0;
    char run = 0;  // 'a' above, 'b' below, 0 inside
    for (int i = 3; i < lines.size(); ++i) {
        if (lines.at(i).trimmed().isEmpty()) {
            continue;
        }
        const QStringList f = fields(lines.at(i));
        const double time = *datetime::parse(f.at(1));
        if (std::llround((time - previousTime) * 86400) > p.interval) {
            ++fileSeries;
        }
        previousTime = time;
        if (time < from - 1e-9 || time > to + 1e-9) {
            continue;
        }
        const double t = f.at(2).toDouble();
        const double h = f.at(3).toDouble();
        ++p.count;
        if (fileSeries != lastSeries) {
            ++p.series;
            run = 0;
        }
        lastSeries = fileSeries;
        if (t < p.tMin)
            p.tMin = t, p.tMinRow = f.at(0).toInt();
        if (t > p.tMax)
            p.tMax = t, p.tMaxRow = f.at(0).toInt();
        p.hMin = std::min(p.hMin, h);
        p.hMax = std::max(p.hMax, h);
        p.tSum += t;
        p.tSquares += t * t;
        p.hSum += h;
        p.kineticSum += std::exp(-10000.0 / (t + 273.15));
        if (h > 0) {
            const double g = std::log(h / 100) + 17.625 * t / (243.04 + t);
            const double dew = 243.04 * g / (17.625 - g);
            p.dewMin = std::min(p.dewMin, dew);
            p.dewMax = std::max(p.dewMax, dew);
            p.dewSum += dew;
            ++p.dewCount;
        }
        const char now = p.upper && t > *p.upper ? 'a' : p.lower && t < *p.lower ? 'b' : 0;
        if (now != 0 && now != run) {
            ++(now == 'a' ? p.above : p.below);
        }
        run = now;
    }
    return p;
}

QString printed(double value) {
    return QString::number(value, 'f', 2);
}

class ReportTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (PtySimRig::program().isEmpty() || qEnvironmentVariable("VELTRANE_CLI").isEmpty()) {
            GTEST_SKIP() << "VELTRANE_SIM or VELTRANE_CLI names no program";
        }
    }

    // The scenario's records as the command line downloads them.
    QString download(const QString& scenario, const QString& language = QStringLiteral("en")) {
        PtySimRig simulator;
        if (!simulator.start({QStringLiteral("--scenario"), scenario})) {
            ADD_FAILURE() << "logger-sim did not start";
            return {};
        }
        const QString path = work.filePath(scenario + language + QStringLiteral(".csv"));
        const CliResult result = runCli({QStringLiteral("download"), QStringLiteral("--out"), path,
                                         QStringLiteral("--lang"), language});
        EXPECT_EQ(result.exitCode, Done) << result.err.toStdString();
        return path;
    }

    static QByteArray contents(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir work;
};

void expectAgrees(const QJsonObject& json, const PlainFigures& p) {
    ASSERT_EQ(json.value("count").toInt(), p.count);
    EXPECT_EQ(json.value("series").toInt(), p.series);
    const QJsonObject t = json.value("temperature").toObject();
    EXPECT_EQ(printed(t["minimum"]["value"].toDouble()), printed(p.tMin));
    EXPECT_EQ(printed(t["maximum"]["value"].toDouble()), printed(p.tMax));
    EXPECT_EQ(printed(t["mean"].toDouble()), printed(p.tSum / p.count));
    const double mean = p.tSum / p.count;
    EXPECT_EQ(printed(t["standardDeviation"].toDouble()),
              printed(std::sqrt(std::max(0.0, p.tSquares / p.count - mean * mean))));
    const QJsonObject h = json.value("humidity").toObject();
    EXPECT_EQ(printed(h["minimum"]["value"].toDouble()), printed(p.hMin));
    EXPECT_EQ(printed(h["maximum"]["value"].toDouble()), printed(p.hMax));
    EXPECT_EQ(printed(h["mean"].toDouble()), printed(p.hSum / p.count));
    EXPECT_EQ(printed(json.value("meanKineticTemperature").toDouble()),
              printed(10000.0 / -std::log(p.kineticSum / p.count) - 273.15));
    const QJsonObject dew = json.value("dewPoint").toObject();
    EXPECT_EQ(dew["count"].toInt(), p.dewCount);
    EXPECT_EQ(printed(dew["minimum"]["value"].toDouble()), printed(p.dewMin));
    EXPECT_EQ(printed(dew["maximum"]["value"].toDouble()), printed(p.dewMax));
    EXPECT_EQ(printed(dew["mean"].toDouble()), printed(p.dewSum / p.dewCount));
    int above = 0;
    int below = 0;
    for (const QJsonValue& e : json.value("excursions").toArray()) {
        ++(e["side"].toString() == QLatin1String("above") ? above : below);
    }
    EXPECT_EQ(above, p.above);
    EXPECT_EQ(below, p.below);
    EXPECT_DOUBLE_EQ(json.value("coveredSeconds").toDouble(), double(p.count) * p.interval);
}

TEST_F(ReportTest, ScenarioFiguresEqualAPlainComputation) {
    for (const QString& scenario : {QStringLiteral("demo"), QStringLiteral("runs"),
                                    QStringLiteral("qm300"), QStringLiteral("full")}) {
        SCOPED_TRACE(scenario.toStdString());
        const QString path = download(scenario);
        const QByteArray csv = contents(path);
        ASSERT_FALSE(csv.isEmpty());
        const PlainFigures plain = plainFigures(csv);

        const CliResult json = runCli({QStringLiteral("report"), path, QStringLiteral("--json")});
        ASSERT_EQ(json.exitCode, Done) << json.err.toStdString();
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(json.out, &error);
        ASSERT_EQ(error.error, QJsonParseError::NoError) << json.out.toStdString();
        expectAgrees(document.object(), plain);

        // The text report prints the same figures.
        const CliResult text = runCli({QStringLiteral("report"), path});
        ASSERT_EQ(text.exitCode, Done);
        const QString report = QString::fromUtf8(text.out);
        EXPECT_TRUE(report.contains(
            QStringLiteral("Mean kinetic temperature: %1 °C")
                .arg(printed(10000.0 / -std::log(plain.kineticSum / plain.count) - 273.15))))
            << report.toStdString();
        EXPECT_TRUE(
            report.contains(QStringLiteral(", mean %1 °C").arg(printed(plain.tSum / plain.count))));
    }
}

TEST_F(ReportTest, AWindowAndGivenBoundsAgreeWithThePlainComputation) {
    const QString path = download(QStringLiteral("demo"));
    const QString from = QStringLiteral("2026-11-05 00:00");
    const QString to = QStringLiteral("2026-11-09 12:00");
    PlainFigures plain = plainFigures(contents(path), from, to);
    ASSERT_GT(plain.count, 0);
    // Bounds inside the readings' range make excursions both ways.
    const CliResult result =
        runCli({QStringLiteral("report"), path, QStringLiteral("--from"), from,
                QStringLiteral("--to"), to, QStringLiteral("--upper"), QStringLiteral("24.5"),
                QStringLiteral("--lower"), QStringLiteral("19"), QStringLiteral("--json")});
    ASSERT_EQ(result.exitCode, Done) << result.err.toStdString();
    const QJsonObject json = QJsonDocument::fromJson(result.out).object();
    EXPECT_EQ(json.value("from").toString(), QStringLiteral("2026-11-05T00:00:00"));
    EXPECT_EQ(json.value("upperBound").toDouble(), 24.5);
    plain = plainFigures(contents(path).replace("\"28\",\"15\"", "\"24.5\",\"19\""), from, to);
    ASSERT_GT(plain.above, 0);
    ASSERT_GT(plain.below, 0);
    expectAgrees(json, plain);
}

TEST_F(ReportTest, ExtremesAgreeWithTheStatisticsTheWindowShows) {
    const QString path = download(QStringLiteral("runs"));
    // The file data set the window opens the file into, with its own statistics.
    QTemporaryDir scratch;
    DataSet set;
    ASSERT_TRUE(set.file.open(scratch.filePath(QStringLiteral("read.rand"))));
    MessageTable messages;
    messages.fill(Language::English);
    CsvHeader header;
    ASSERT_EQ(openCsv(path, set, csvTexts(messages), header), CsvError::None);

    const CliResult result = runCli({QStringLiteral("report"), path, QStringLiteral("--json")});
    const QJsonObject json = QJsonDocument::fromJson(result.out).object();
    const QJsonObject t = json.value("temperature").toObject();
    const QJsonObject h = json.value("humidity").toObject();
    EXPECT_EQ(json.value("count").toInt(), set.count);
    EXPECT_EQ(t["maximum"]["record"].toInt(), set.stats.maxTemperatureRecord);
    EXPECT_EQ(t["minimum"]["record"].toInt(), set.stats.minTemperatureRecord);
    EXPECT_EQ(h["maximum"]["record"].toInt(), set.stats.maxHumidityRecord);
    EXPECT_EQ(h["minimum"]["record"].toInt(), set.stats.minHumidityRecord);
    EXPECT_EQ(float(t["maximum"]["value"].toDouble()), float(set.stats.maxTemperature));
    EXPECT_EQ(float(h["minimum"]["value"].toDouble()), float(set.stats.minHumidity));
}

TEST_F(ReportTest, AJapaneseFileIsReadAndReportedInEitherLanguage) {
    const QString path = download(QStringLiteral("runs"), QStringLiteral("ja"));
    const CliResult english = runCli({QStringLiteral("report"), path, QStringLiteral("--json")});
    ASSERT_EQ(english.exitCode, Done) << english.err.toStdString();
    EXPECT_EQ(QJsonDocument::fromJson(english.out).object().value("count").toInt(), 650);
    const CliResult japanese =
        runCli({QStringLiteral("report"), path, QStringLiteral("--lang"), QStringLiteral("ja")});
    ASSERT_EQ(japanese.exitCode, Done);
    EXPECT_TRUE(QString::fromUtf8(japanese.out).contains(QStringLiteral("平均動力学温度")));
}

TEST_F(ReportTest, AFileWithoutSamplesHasNoFiguresAndNothingToDraw) {
    const QString path = download(QStringLiteral("runs"));
    QList<QByteArray> lines = contents(path).split('\n').mid(0, 3);
    QFile header(work.filePath(QStringLiteral("header.csv")));
    ASSERT_TRUE(header.open(QIODevice::WriteOnly));
    header.write(lines.join('\n') + '\n');
    header.close();
    const CliResult text = runCli({QStringLiteral("report"), header.fileName()});
    EXPECT_EQ(text.exitCode, Done) << text.err.toStdString();
    EXPECT_TRUE(text.out.contains("The file holds no samples."));
    const CliResult json =
        runCli({QStringLiteral("report"), header.fileName(), QStringLiteral("--json")});
    const QJsonObject object = QJsonDocument::fromJson(json.out).object();
    EXPECT_EQ(object.value("count").toInt(-1), 0);
    EXPECT_TRUE(object.value("temperature").toObject().value("minimum").isNull());
    EXPECT_TRUE(object.value("meanKineticTemperature").isNull());
    // A window that holds none of the samples of a full file says so.
    const CliResult outside = runCli(
        {QStringLiteral("report"), path, QStringLiteral("--from"), QStringLiteral("2099-01-01")});
    EXPECT_EQ(outside.exitCode, Done);
    EXPECT_TRUE(outside.out.contains("No samples in the chosen time range."));
    const CliResult plot =
        runCli({QStringLiteral("plot"), header.fileName(), QStringLiteral("--out"),
                work.filePath(QStringLiteral("h.png"))});
    EXPECT_EQ(plot.exitCode, Refused);
    EXPECT_TRUE(plot.err.contains("no samples to draw"));
    EXPECT_FALSE(QFile::exists(work.filePath(QStringLiteral("h.png"))));
}

TEST_F(ReportTest, PlotDrawsBothGraphsWithoutADisplay) {
    const QString path = download(QStringLiteral("demo"));
    const QString png = work.filePath(QStringLiteral("graph.png"));
    const CliResult drawn = runCli({QStringLiteral("plot"), path, QStringLiteral("--out"), png,
                                    QStringLiteral("--size"), QStringLiteral("640x480")},
                                   true);
    ASSERT_EQ(drawn.exitCode, Done) << drawn.err.toStdString();
    const QImage image(png);
    ASSERT_EQ(image.size(), QSize(640, 480));
    // Samples are drawn in black on white in both halves.
    const auto inked = [&](int top, int bottom) {
        int dark = 0;
        for (int y = top; y < bottom; ++y) {
            for (int x = 0; x < image.width(); ++x) {
                dark += qGray(image.pixel(x, y)) < 40;
            }
        }
        return dark;
    };
    EXPECT_GT(inked(0, 240), 500);
    EXPECT_GT(inked(240, 480), 500);

    const QString svg = work.filePath(QStringLiteral("graph.svg"));
    const CliResult vector =
        runCli({QStringLiteral("plot"), path, QStringLiteral("--out"), svg}, true);
    ASSERT_EQ(vector.exitCode, Done) << vector.err.toStdString();
    const QByteArray svgText = contents(svg);
    EXPECT_TRUE(svgText.contains("<svg"));
    EXPECT_TRUE(svgText.contains("Temperature"));
    EXPECT_TRUE(svgText.contains("Humidity"));
}

TEST_F(ReportTest, RefusedFilesAndWords) {
    QFile notData(work.filePath(QStringLiteral("notes.csv")));
    ASSERT_TRUE(notData.open(QIODevice::WriteOnly));
    notData.write("\"a\",\"b\",\"c\",\"d\",\"e\",\"f\"\r\n");
    notData.close();
    QFile cut(work.filePath(QStringLiteral("cut.csv")));
    ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
    cut.write("\"a\",\"b\"\r\n");
    cut.close();
    const QString missing = work.filePath(QStringLiteral("missing.csv"));
    const struct {
        QStringList arguments;
        int exitCode;
        const char* error;
    } kCases[] = {
        {{QStringLiteral("report"), missing}, Refused, "cannot be opened"},
        {{QStringLiteral("report"), notData.fileName()}, Refused, "not a data file"},
        {{QStringLiteral("report"), cut.fileName()}, Refused, "damaged or cut short"},
        {{QStringLiteral("report"), work.path()}, Refused, "not a regular file"},
        {{QStringLiteral("report")}, Usage, "needs one data file or one recording"},
        {{QStringLiteral("report"), missing, QStringLiteral("--from"), QStringLiteral("later")},
         Usage,
         "not a valid value"},
        {{QStringLiteral("report"), missing, QStringLiteral("--from"), QStringLiteral("2026-11-06"),
          QStringLiteral("--to"), QStringLiteral("2026-11-05")},
         Usage,
         "later than --to"},
        {{QStringLiteral("plot"), missing}, Usage, "needs --out"},
        {{QStringLiteral("plot"), missing, QStringLiteral("--out"), QStringLiteral("g.gif")},
         Usage,
         ".svg or .png"},
        {{QStringLiteral("plot"), missing, QStringLiteral("--out"), QStringLiteral("g.png"),
          QStringLiteral("--size"), QStringLiteral("20x20")},
         Usage,
         "not a valid value"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.arguments.join(QLatin1Char(' ')).toStdString());
        const CliResult result = runCli(c.arguments);
        EXPECT_EQ(result.exitCode, c.exitCode);
        EXPECT_TRUE(result.err.contains(c.error)) << result.err.toStdString();
        EXPECT_TRUE(result.out.isEmpty());
    }
}

}  // namespace
