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

QStringList words(const char* line) {
    return QString::fromUtf8(line).split(QLatin1Char(' '), Qt::SkipEmptyParts);
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

    const CliOptions download = parse("download --out x.csv --normal");
    EXPECT_EQ(download.out, QStringLiteral("x.csv"));
    EXPECT_TRUE(download.normal);

    const CliOptions start =
        parse("start --name XY --interval 5min --loop --upper 30 --lower -5 --force");
    EXPECT_EQ(start.name, QStringLiteral("XY"));
    EXPECT_FALSE(start.interval.seconds);
    EXPECT_EQ(start.interval.count, 5);
    EXPECT_TRUE(start.loop);
    EXPECT_EQ(start.upper, 30);
    EXPECT_EQ(start.lower, -5);
    EXPECT_TRUE(start.force);

    QStringList reserved = words("start --name XY --interval 10s --one-time --at");
    reserved.append(QStringLiteral("2026-12-24 08:00"));
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
    };
    for (const auto& c : cases) {
        const auto parsed = parseOptions(words(c.line), messages);
        ASSERT_TRUE(std::holds_alternative<QString>(parsed)) << c.line;
        // The message's text with its placeholders standing for anything.
        QString pattern = QRegularExpression::escape(messages.text(c.message));
        pattern.replace(QRegularExpression(QStringLiteral("\\\\%[12]")), QStringLiteral(".*"));
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^") + pattern)
                        .match(std::get<QString>(parsed))
                        .hasMatch())
            << c.line << ": " << std::get<QString>(parsed).toStdString();
    }
}

}  // namespace
