// The words of report and plot: the data file in any place, decimal bounds, the window and the
// picture size.
#include <gtest/gtest.h>

#include "cli/options.h"
#include "data/datetime.h"

namespace {

QList<QByteArray> words(const char* line) {
    QList<QByteArray> result = QByteArray(line).split(' ');
    result.removeAll(QByteArray());
    return result;
}

TEST(FileCommandOptions, AcceptedAndRefused) {
    MessageTable messages;
    messages.fillEnglish();
    const auto parse = [&](const char* line) { return parseOptions(words(line), messages); };

    const auto report = parse("report --upper 24.5 a.csv --from 2026-11-05T08:30 --json");
    ASSERT_TRUE(std::holds_alternative<CliOptions>(report))
        << std::get<QString>(report).toStdString();
    const CliOptions& r = std::get<CliOptions>(report);
    EXPECT_EQ(r.command, Subcommand::Report);
    EXPECT_EQ(r.file, QByteArray("a.csv"));
    EXPECT_EQ(r.upperBound, 24.5);
    EXPECT_FALSE(r.upper);  // the recording's whole-degree bound stays unset
    EXPECT_EQ(r.from, datetime::parse(QStringLiteral("2026/11/05 08:30:00")));
    EXPECT_TRUE(r.json);

    const auto plot = parse("plot b.csv --out g.SVG --size 640x480");
    ASSERT_TRUE(std::holds_alternative<CliOptions>(plot)) << std::get<QString>(plot).toStdString();
    EXPECT_EQ(std::get<CliOptions>(plot).width, 640);
    EXPECT_EQ(std::get<CliOptions>(plot).height, 480);

    const struct {
        const char* line;
        const char* reason;
    } kRefused[] = {
        {"report", "needs one data file or one recording"},
        {"report a.csv b.csv", "not an option"},
        {"report a.csv --upper warm", "not a valid value"},
        {"report a.csv --upper 20 --lower 20.5", "below"},
        {"report a.csv --from 2026-11-06 --to 2026-11-05", "later than"},
        {"report a.csv --size 640x480", "not an option"},
        {"plot a.csv", "needs --out"},
        {"plot a.csv --out -", "needs --out"},
        {"plot a.csv --out g.jpg", ".svg or .png"},
        {"plot a.csv --out g.png --size 640", "not a valid value"},
        {"plot a.csv --out g.png --size 99999x480", "not a valid value"},
        {"plot a.csv --out g.png --json", "not an option"},
    };
    for (const auto& c : kRefused) {
        SCOPED_TRACE(c.line);
        const auto parsed = parse(c.line);
        ASSERT_TRUE(std::holds_alternative<QString>(parsed));
        EXPECT_TRUE(std::get<QString>(parsed).contains(QLatin1String(c.reason)))
            << std::get<QString>(parsed).toStdString();
    }
}

}  // namespace
