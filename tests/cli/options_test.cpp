// The command line's words: what each subcommand accepts and what it refuses before the logger
// is touched.
#include <gtest/gtest.h>

#include <QRegularExpression>

#include "cli/options.h"

namespace {

MessageTable english() {
    MessageTable table;
    table.fillEnglish();
    return table;
}

QList<QByteArray> words(const char* line) {
    QList<QByteArray> result = QByteArray(line).split(' ');
    result.removeAll(QByteArray());
    return result;
}

TEST(CliOptions, AcceptedLines) {
    const MessageTable messages = english();
    const auto parse = [&](const char* line) {
        const auto parsed = parseOptions(words(line), messages);
        EXPECT_TRUE(std::holds_alternative<CliOptions>(parsed))
            << line << ": " << std::get<QString>(parsed).toStdString();
        return std::holds_alternative<CliOptions>(parsed) ? std::get<CliOptions>(parsed)
                                                          : CliOptions{};
    };
    const CliOptions status = parse("status --json --port 3 --lang ja");
    EXPECT_EQ(status.command, Subcommand::Status);
    EXPECT_TRUE(status.json);
    EXPECT_EQ(status.port, 3);
    EXPECT_FALSE(status.english);

    const CliOptions download = parse("download --out x.csv --normal --stop");
    EXPECT_EQ(download.out, QByteArray("x.csv"));
    EXPECT_EQ(outFile(download), QByteArray("x.csv"));
    EXPECT_TRUE(download.normal);
    EXPECT_TRUE(download.stop);
    // A file name is kept as given: no extension added, bytes that are no text kept.
    EXPECT_EQ(outFile(parse("download --out report")), QByteArray("report"));
    QList<QByteArray> raw = words("download --out");
    raw.append(QByteArray("r\xff\xfe.csv"));
    const auto rawParsed = parseOptions(raw, messages);
    ASSERT_TRUE(std::holds_alternative<CliOptions>(rawParsed));
    EXPECT_EQ(outFile(std::get<CliOptions>(rawParsed)), QByteArray("r\xff\xfe.csv"));
    // "-" and no --out are standard output.
    EXPECT_EQ(outFile(parse("download --out -")), std::nullopt);
    EXPECT_EQ(outFile(parse("download")), std::nullopt);
    EXPECT_TRUE(parse("measure --out -").out.has_value());
    EXPECT_TRUE(parse("stop --verbose").verbose);
    EXPECT_EQ(parse("start --name Kühl --interval 5min --loop").name, QStringLiteral("Kühl"));

    const CliOptions start =
        parse("start --name XY --interval 5min --loop --upper 30 --lower -5 --force");
    EXPECT_EQ(start.name, QStringLiteral("XY"));
    EXPECT_FALSE(start.interval.seconds);
    EXPECT_EQ(start.interval.count, 5);
    EXPECT_TRUE(start.loop);
    EXPECT_EQ(start.upper, 30);
    EXPECT_EQ(start.lower, -5);
    EXPECT_TRUE(start.force);

    QList<QByteArray> reserved = words("start --name XY --interval 10s --one-time --at");
    reserved.append(QByteArray("2026-12-24 08:00"));
    const auto parsed = parseOptions(reserved, messages);
    ASSERT_TRUE(std::holds_alternative<CliOptions>(parsed));
    EXPECT_EQ(std::get<CliOptions>(parsed).at, QDateTime(QDate(2026, 12, 24), QTime(8, 0)));
    EXPECT_FALSE(std::get<CliOptions>(parsed).loop);

    const CliOptions measure = parse("measure --every 2s --count 10");
    ASSERT_TRUE(measure.every.has_value());
    EXPECT_TRUE(measure.every->seconds);
    EXPECT_EQ(measure.every->count, 2);
    EXPECT_EQ(measure.count, 10);
}

TEST(CliOptions, RefusedLines) {
    const MessageTable messages = english();
    const struct {
        const char* line;
        int message;
    } cases[] = {
        {"", 1210},
        {"erase", 1214},
        {"status --out x.csv", 1213},
        {"download --json", 1213},
        {"status --port", 1212},
        {"status --port 17", 1211},
        {"status --port two", 1211},
        {"status --lang fr", 1211},
        {"start --name XY --interval 10s", 1215},
        {"start --name XY --loop", 1215},
        {"start --name XY --interval 10 --loop", 1211},
        {"start --name XY --interval 0s --loop", 1211},
        {"start --name XY --interval 10h --loop", 1211},
        {"start --name XY --interval 10s --loop --one-time", 1217},
        {"start --name XY --interval 10s --loop --upper warm", 1211},
        {"start --name XY --interval 10s --loop --at tomorrow", 1211},
        {"measure --count 5", 1216},
        {"measure --every 2s --count 0", 1211},
        // What the logger cannot keep as given is refused, not changed.
        {"start --name ThisNameIsWayTooLong --interval 10s --loop", 1367},
        {"start --name Kühlraum --interval 10s --loop", 1367},
        {"start --name 温度 --interval 10s --loop", 1130},
        {"start --name A/B --interval 10s --loop", 253},
        {"start --name XY --interval 10s --loop --upper 5 --lower 9", 1368},
        {"start --name XY --interval 10s --loop --upper 5 --lower 5", 1368},
        {"start --name XY --interval 10s --loop --upper 71", 1221},
        {"start --name XY --interval 10s --loop --lower -21", 1221},
        {"measure --every 1s", 1373},
        {"measure --every 90s", 1373},
        {"measure --every 241min", 1373},
        {"download --out", 1212},
    };
    for (const auto& c : cases) {
        const auto parsed = parseOptions(words(c.line), messages);
        ASSERT_TRUE(std::holds_alternative<QString>(parsed)) << c.line;
        // The message's text with its placeholders standing for anything.
        QString pattern = QRegularExpression::escape(messages.text(c.message));
        pattern.replace(QRegularExpression(QStringLiteral("\\\\%[123]")), QStringLiteral(".*"));
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^") + pattern)
                        .match(std::get<QString>(parsed))
                        .hasMatch())
            << c.line << ": " << std::get<QString>(parsed).toStdString();
    }
}

}  // namespace
