// report and plot over a CSV file read into a data set of its own scratch folder.
#include "cli/reportcommands.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLoggingCategory>
#include <QPainter>
#include <QSvgGenerator>
#include <QTemporaryDir>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

#include "archive/archive.h"
#include "cli/output.h"
#include "data/datetime.h"
#include "data/texts.h"
#include "graph/graphexport.h"

namespace {

// The run's category, so --verbose shows why a file was refused.
Q_LOGGING_CATEGORY(lcReport, "veltrane.cli", QtWarningMsg)

using analysis::Extreme;
using analysis::Figures;

QString fixed(double value, int decimals = 2) {
    return QString::number(value, 'f', decimals);
}

QString shownTime(double seconds) {
    return datetime::format(analysis::dateTimeOf(seconds), QStringLiteral("yyyy/MM/dd HH:mm:ss"));
}

QString isoTime(double seconds) {
    return datetime::format(analysis::dateTimeOf(seconds), QStringLiteral("yyyy-MM-dd'T'HH:mm:ss"));
}

// Hours beyond a day stay hours: "51:04:05".
QString shownDuration(double seconds) {
    const qint64 whole = std::llround(seconds);
    return QStringLiteral("%1:%2:%3")
        .arg(whole / 3600)
        .arg(whole / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(whole % 60, 2, 10, QLatin1Char('0'));
}

QJsonValue orNull(const std::optional<double>& value) {
    return value ? QJsonValue(*value) : QJsonValue();
}

// A stored single-precision reading as the shortest decimal that reads back as it (71.93, not
// 71.93000030517578).
double asStored(double value) {
    std::array<char, 32> text{};
    const std::to_chars_result end =
        std::to_chars(text.data(), text.data() + text.size(), static_cast<float>(value));
    return std::strtod(std::string(text.data(), end.ptr).c_str(), nullptr);
}

QJsonObject extremeJson(const Extreme& e, bool stored = false) {
    return {{"value", stored ? asStored(e.value) : e.value},
            {"time", isoTime(e.time)},
            {"record", e.record}};
}

QJsonObject quantityJson(const analysis::QuantityFigures& q, bool any) {
    if (!any) {
        return {{"minimum", QJsonValue()},
                {"maximum", QJsonValue()},
                {"mean", QJsonValue()},
                {"standardDeviation", QJsonValue()}};
    }
    return {{"minimum", extremeJson(q.minimum, true)},
            {"maximum", extremeJson(q.maximum, true)},
            {"mean", q.mean},
            {"standardDeviation", q.standardDeviation}};
}

QJsonObject derivedJson(const analysis::DerivedFigures& d) {
    const bool any = d.count > 0;
    return {{"count", d.count},
            {"refused", d.refused},
            {"minimum", any ? QJsonValue(extremeJson(d.minimum)) : QJsonValue()},
            {"mean", any ? QJsonValue(d.mean) : QJsonValue()},
            {"maximum", any ? QJsonValue(extremeJson(d.maximum)) : QJsonValue()}};
}

void complain(const QString& text) {
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

// The file in the language of its captions: the one asked for first, then the other.
std::optional<ReportInput> readInput(const QString& path, DataSet& set,
                                     const MessageTable& messages) {
    MessageTable other;
    other.fill(messages.language() == Language::English ? Language::Japanese : Language::English);
    ReportInput input;
    input.fileName = path;
    CsvError error = openCsv(path, set, csvTexts(messages), input.header);
    if (error == CsvError::WrongForm) {
        error = openCsv(path, set, csvTexts(other), input.header);
    }
    if (error != CsvError::None) {
        qCInfo(lcReport) << "reading" << path << "failed with" << static_cast<int>(error);
        const Msg reason = error == CsvError::Io           ? Msg::ReportFileUnreadable
                           : error == CsvError::NotRegular ? Msg::NotRegularFile
                           : error == CsvError::WrongForm  ? Msg::ReportFileNotData
                                                           : Msg::ReportFileDamaged;
        complain(messages.text(reason).arg(path));
        return std::nullopt;
    }
    std::optional<std::vector<analysis::Reading>> readings = analysis::readReadings(set);
    if (!readings) {
        complain(messages.text(Msg::ReportFileDamaged).arg(path));
        return std::nullopt;
    }
    input.readings = std::move(*readings);
    input.interval = set.interval;
    return input;
}

int report(const ReportInput& input, const CliOptions& options, const MessageTable& messages,
           std::FILE* out) {
    const Figures figures = reportFigures(input, options);
    const QByteArray bytes = options.json ? reportJson(input, options, figures)
                                          : reportText(input, options, figures, messages).toUtf8();
    const QString failure = writeStandardOutput(out, bytes, messages);
    if (!failure.isEmpty()) {
        complain(failure);
        return Refused;
    }
    return Done;
}

int plot(const ReportInput& input, const CliOptions& options, DataSet& set,
         const MessageTable& messages) {
    if (input.readings.empty()) {
        complain(messages.text(Msg::PlotNothingToDraw).arg(input.fileName));
        return Refused;
    }
    const QByteArray path = *outFile(options);
    const QString shownPath = QString::fromLocal8Bit(path);
    OutputFile file;
    if (const QString refusal = file.prepare(path, messages); !refusal.isEmpty()) {
        complain(refusal);
        return Refused;
    }
    const QSize size(options.width, options.height);
    GraphRenderer renderer;
    const GraphPalette palette = GraphPalette::print();
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    bool drawn = false;
    if (path.toLower().endsWith(".svg")) {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        // The resolution of an image, so both pictures carry the same text sizes.
        svg.setResolution(QImage(1, 1, QImage::Format_RGB32).logicalDpiX());
        svg.setTitle(QFileInfo(input.fileName).fileName());
        QPainter painter(&svg);
        drawn = drawGraphs(painter, size, set, renderer, messages, palette);
    } else {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            drawn = drawGraphs(painter, size, set, renderer, messages, palette);
        }
        drawn = drawn && image.save(&buffer, "PNG");
    }
    if (!drawn) {
        complain(messages.text(Msg::PlotDrawFailed).arg(shownPath));
        return Refused;
    }
    if (const QString failure = file.commit(buffer.data(), messages); !failure.isEmpty()) {
        complain(failure);
        return Refused;
    }
    return Done;
}

}  // namespace

Figures reportFigures(const ReportInput& input, const CliOptions& options) {
    analysis::Readings readings(input.readings);
    if (options.from || options.to) {
        readings = analysis::within(readings,
                                    options.from ? analysis::secondsOf(*options.from) : -INFINITY,
                                    options.to ? analysis::secondsOf(*options.to) : INFINITY);
    }
    analysis::Bounds bounds;
    if (input.header.upperOn) {
        bounds.upper = input.header.upperBound;
    }
    if (input.header.lowerOn) {
        bounds.lower = input.header.lowerBound;
    }
    if (options.upperBound) {
        bounds.upper = options.upperBound;
    }
    if (options.lowerBound) {
        bounds.lower = options.lowerBound;
    }
    return analysis::figuresOf(readings, input.interval, bounds);
}

QString reportText(const ReportInput& input, const CliOptions& options, const Figures& figures,
                   const MessageTable& messages) {
    const auto text = [&](Msg msg) { return messages.text(msg); };
    const analysis::Summary& s = figures.summary;
    QStringList lines;
    lines << text(Msg::ReportFileLine).arg(input.fileName);
    if (options.from || options.to) {
        const auto bound = [](const std::optional<double>& t) {
            return t ? datetime::format(*t, QStringLiteral("yyyy/MM/dd HH:mm:ss"))
                     : QStringLiteral("-");
        };
        lines << text(Msg::ReportRangeLine).arg(bound(options.from), bound(options.to));
    }
    if (s.count == 0) {
        lines << text(input.readings.empty() ? Msg::ReportFileEmpty : Msg::ReportNoSamples);
        return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
    }
    lines << text(Msg::ReportSamplesLine)
                 .arg(QString::number(s.count), QString::number(s.seriesCount),
                      QString::number(input.interval))
          << text(Msg::ReportFirstLine).arg(shownTime(s.firstTime))
          << text(Msg::ReportLastLine).arg(shownTime(s.lastTime))
          << text(Msg::ReportDurationLine)
                 .arg(shownDuration(s.duration), shownDuration(s.coveredTime));
    for (const auto& [msg, q] : {std::pair{Msg::ReportTemperatureLine, &s.temperature},
                                 std::pair{Msg::ReportHumidityLine, &s.humidity}}) {
        lines << text(msg).arg(fixed(q->minimum.value), shownTime(q->minimum.time),
                               fixed(q->maximum.value), shownTime(q->maximum.time), fixed(q->mean),
                               fixed(q->standardDeviation));
    }
    if (figures.meanKineticTemperature) {
        lines << text(Msg::ReportMeanKineticLine)
                     .arg(fixed(*figures.meanKineticTemperature),
                          QString::number(figures.activationEnergy));
    }
    const analysis::DerivedFigures& dew = figures.dewPoint;
    if (dew.count > 0) {
        lines << text(Msg::ReportDewPointLine)
                     .arg(fixed(dew.minimum.value), fixed(dew.mean), fixed(dew.maximum.value));
    }
    if (dew.refused > 0) {
        lines << text(Msg::ReportDewPointRefused).arg(dew.refused);
    }
    const analysis::DerivedFigures& absolute = figures.absoluteHumidity;
    if (absolute.count > 0) {
        lines << text(Msg::ReportAbsoluteHumidityLine)
                     .arg(fixed(absolute.minimum.value), fixed(absolute.mean),
                          fixed(absolute.maximum.value));
    }
    const auto bound = [&](const std::optional<double>& b) {
        return b ? QString::number(*b) + QStringLiteral(" °C") : text(Msg::ReportBoundOff);
    };
    lines << text(Msg::ReportBoundsLine)
                 .arg(bound(figures.bounds.upper), bound(figures.bounds.lower));
    const analysis::Excursions& x = figures.excursions;
    for (const auto side : {analysis::Side::Above, analysis::Side::Below}) {
        const bool above = side == analysis::Side::Above;
        if (!(above ? figures.bounds.upper : figures.bounds.lower)) {
            continue;
        }
        const auto count =
            std::count_if(x.list.begin(), x.list.end(),
                          [&](const analysis::Excursion& e) { return e.side == side; });
        lines << text(above ? Msg::ReportAboveLine : Msg::ReportBelowLine)
                     .arg(QString::number(count), shownDuration(above ? x.timeAbove : x.timeBelow),
                          fixed(100 * (above ? x.shareAbove : x.shareBelow), 1));
        for (const analysis::Excursion& e : x.list) {
            if (e.side == side) {
                lines << text(above ? Msg::ReportExcursionAbove : Msg::ReportExcursionBelow)
                             .arg(shownTime(e.start), shownTime(e.end), shownDuration(e.duration),
                                  fixed(e.peak.value), shownTime(e.peak.time));
            }
        }
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

QByteArray reportJson(const ReportInput& input, const CliOptions& options, const Figures& figures) {
    const analysis::Summary& s = figures.summary;
    const bool any = s.count > 0;
    const auto timeOrNull = [&](double seconds) {
        return any ? QJsonValue(isoTime(seconds)) : QJsonValue();
    };
    const auto windowEdge = [](const std::optional<double>& days) {
        return days ? QJsonValue(isoTime(analysis::secondsOf(*days))) : QJsonValue();
    };
    QJsonArray excursions;
    for (const analysis::Excursion& e : figures.excursions.list) {
        excursions.append(QJsonObject{{"side", e.side == analysis::Side::Above ? "above" : "below"},
                                      {"start", isoTime(e.start)},
                                      {"end", isoTime(e.end)},
                                      {"durationSeconds", e.duration},
                                      {"samples", e.readings},
                                      {"peak", extremeJson(e.peak, true)}});
    }
    const QJsonObject root{
        {"file", input.fileName},
        {"model", input.header.model},
        {"identName", input.header.identName},
        {"intervalSeconds", input.interval},
        {"from", windowEdge(options.from)},
        {"to", windowEdge(options.to)},
        {"count", s.count},
        {"series", s.seriesCount},
        {"first", timeOrNull(s.firstTime)},
        {"last", timeOrNull(s.lastTime)},
        {"durationSeconds", s.duration},
        {"coveredSeconds", s.coveredTime},
        {"temperature", quantityJson(s.temperature, any)},
        {"humidity", quantityJson(s.humidity, any)},
        {"meanKineticTemperature", orNull(figures.meanKineticTemperature)},
        {"activationEnergy", figures.activationEnergy},
        {"dewPoint", derivedJson(figures.dewPoint)},
        {"absoluteHumidity", derivedJson(figures.absoluteHumidity)},
        {"upperBound", orNull(figures.bounds.upper)},
        {"lowerBound", orNull(figures.bounds.lower)},
        {"excursions", excursions},
        {"timeAboveSeconds", figures.excursions.timeAbove},
        {"timeBelowSeconds", figures.excursions.timeBelow},
        {"shareAbove", figures.excursions.shareAbove},
        {"shareBelow", figures.excursions.shareBelow},
    };
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

// An archived recording as the report's input: what a file saved from it would give.
std::optional<ReportInput> readRecording(qint64 id, DataSet& set, const MessageTable& messages) {
    ArchiveLocation where;
    ArchiveError error = ArchiveLocation::resolve(QString(), where);
    std::unique_ptr<Archive> archive;
    if (error.ok()) {
        archive = std::make_unique<Archive>(where);
        error = archive->open();
    }
    if (error.ok()) {
        error = archive->load(id, set);
    }
    if (!error.ok()) {
        qCInfo(lcReport) << "archive:" << error.detail;
        complain(messages.text(archiveMessage(error.kind)));
        return std::nullopt;
    }
    std::optional<std::vector<analysis::Reading>> readings = analysis::readReadings(set);
    if (!readings) {
        complain(messages.text(Msg::ArchiveFailed));
        return std::nullopt;
    }
    ReportInput input;
    input.fileName = QStringLiteral("#%1").arg(id);
    input.header.model = set.model;
    input.header.identName = set.identName;
    input.header.interval = set.interval;
    input.header.recordingPoints = set.count;
    input.header.upperOn = set.upperOn != 0;
    input.header.upperBound = set.upperBound;
    input.header.lowerOn = set.lowerOn != 0;
    input.header.lowerBound = set.lowerBound;
    input.readings = std::move(*readings);
    input.interval = set.interval;
    return input;
}

int runFileCommand(const CliOptions& options, const MessageTable& messages, std::FILE* out) {
    QTemporaryDir scratch;
    DataSet set;
    if (!scratch.isValid() || !set.file.open(scratch.filePath(QStringLiteral("report.rand")))) {
        complain(messages.text(Msg::FolderUnusable).arg(scratch.path(), scratch.errorString()));
        return Refused;
    }
    const std::optional<ReportInput> input =
        options.recording > 0 ? readRecording(options.recording, set, messages)
                              : readInput(QFile::decodeName(*options.file), set, messages);
    if (!input) {
        return Refused;
    }
    return options.command == Subcommand::Plot ? plot(*input, options, set, messages)
                                               : report(*input, options, messages, out);
}
