// Parsing of the report and plot words.
#include "cli/fileoptions.h"

#include <QRegularExpression>

#include "data/csv.h"
#include "data/datetime.h"

namespace {

constexpr int kSmallestPicture = 200;
constexpr int kLargestPicture = 10000;

}  // namespace

bool takesFile(Subcommand command) {
    return command == Subcommand::Report || command == Subcommand::Plot;
}

std::optional<Subcommand> fileSubcommand(const QString& word) {
    if (word == QLatin1String("report")) {
        return Subcommand::Report;
    }
    if (word == QLatin1String("plot")) {
        return Subcommand::Plot;
    }
    return std::nullopt;
}

std::optional<QString> fileCommandFlag(CliOptions& options, const QString& flag,
                                       const QString& value, const MessageTable& messages) {
    const QString refused = messages.text(Msg::CliInvalidValue).arg(flag, value);
    if (flag == QLatin1String("--from") || flag == QLatin1String("--to")) {
        const std::optional<double> time = datetime::parse(value);
        if (!time) {
            return refused;
        }
        (flag == QLatin1String("--from") ? options.from : options.to) = time;
        return QString();
    }
    if (options.command == Subcommand::Report &&
        (flag == QLatin1String("--upper") || flag == QLatin1String("--lower"))) {
        const std::optional<double> degrees = parseNumber(value);
        if (!degrees) {
            return refused;
        }
        (flag == QLatin1String("--upper") ? options.upperBound : options.lowerBound) = degrees;
        return QString();
    }
    if (flag == QLatin1String("--size")) {
        static const QRegularExpression kPattern(QStringLiteral("^(\\d{1,5})x(\\d{1,5})$"));
        const QRegularExpressionMatch match = kPattern.match(value);
        const int width = match.captured(1).toInt();
        const int height = match.captured(2).toInt();
        const auto fits = [](int v) { return v >= kSmallestPicture && v <= kLargestPicture; };
        if (!match.hasMatch() || !fits(width) || !fits(height)) {
            return refused;
        }
        options.width = width;
        options.height = height;
        return QString();
    }
    if (flag == QLatin1String("--recording")) {
        bool ok = false;
        options.recording = value.toLongLong(&ok);
        return ok && options.recording > 0 ? QString() : refused;
    }
    return std::nullopt;
}

QString fileCommandRefusal(const CliOptions& options, const QString& word,
                           const MessageTable& messages) {
    if (!takesFile(options.command)) {
        return {};
    }
    // A saved file or an archived recording, one of the two.
    const bool hasFile = options.file && !options.file->isEmpty();
    if (hasFile == (options.recording > 0)) {
        return messages.text(Msg::ReportNeedsFile).arg(word);
    }
    if (options.from && options.to && *options.from > *options.to) {
        return messages.text(Msg::ReportFromAfterTo)
            .arg(datetime::format(*options.from), datetime::format(*options.to));
    }
    if (options.upperBound && options.lowerBound && *options.lowerBound >= *options.upperBound) {
        return messages.text(Msg::CliLowerNotBelowUpper)
            .arg(QString::number(*options.lowerBound), QString::number(*options.upperBound));
    }
    if (options.command == Subcommand::Plot) {
        const std::optional<QByteArray> out = outFile(options);
        if (!out) {
            return messages.text(Msg::PlotNeedsOut);
        }
        const QByteArray lower = out->toLower();
        if (!lower.endsWith(".svg") && !lower.endsWith(".png")) {
            return messages.text(Msg::PlotFormatUnknown).arg(QString::fromLocal8Bit(*out));
        }
    }
    return {};
}
