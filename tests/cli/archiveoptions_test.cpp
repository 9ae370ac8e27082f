// The archive's words on the command line: history, export and import take what they need and
// refuse the rest before anything is opened.
#include <gtest/gtest.h>

#include "cli/options.h"

namespace {

QList<QByteArray> words(const char* line) {
    QList<QByteArray> result = QByteArray(line).split(' ');
    result.removeAll(QByteArray());
    return result;
}

}  // namespace

TEST(CliArchiveOptions, AcceptedAndRefusedLines) {
    MessageTable messages;
    messages.fillEnglish();
    const struct {
        const char* line;
        bool accepted;
        Subcommand command;
        qint64 recording;
        std::optional<OutputFormat> format;
        int files;
        bool noArchive;
    } cases[] = {
        {"history", true, Subcommand::History, 0, std::nullopt, 0, false},
        {"history --json --out list.json", true, Subcommand::History, 0, std::nullopt, 0, false},
        {"export 12 --out x.csv", true, Subcommand::Export, 12, std::nullopt, 0, false},
        {"export --out - 7 --format json", true, Subcommand::Export, 7, OutputFormat::Json, 0,
         false},
        {"import a.csv b.csv", true, Subcommand::Import, 0, std::nullopt, 2, false},
        {"download --no-archive --out x.csv", true, Subcommand::Download, 0, std::nullopt, 0, true},
        {"export --out x.csv", false, {}, 0, std::nullopt, 0, false},
        {"export 0 --out x.csv", false, {}, 0, std::nullopt, 0, false},
        {"export 3 4 --out x.csv", false, {}, 0, std::nullopt, 0, false},
        {"export 3 --format xml", false, {}, 0, std::nullopt, 0, false},
        {"import", false, {}, 0, std::nullopt, 0, false},
        {"history --format json", false, {}, 0, std::nullopt, 0, false},
        {"status --no-archive", false, {}, 0, std::nullopt, 0, false},
    };
    for (const auto& c : cases) {
        const auto parsed = parseOptions(words(c.line), messages);
        ASSERT_EQ(std::holds_alternative<CliOptions>(parsed), c.accepted) << c.line;
        if (!c.accepted) {
            EXPECT_FALSE(std::get<QString>(parsed).isEmpty()) << c.line;
            continue;
        }
        const CliOptions& options = std::get<CliOptions>(parsed);
        EXPECT_EQ(options.command, c.command) << c.line;
        EXPECT_EQ(options.recording, c.recording) << c.line;
        EXPECT_EQ(options.format, c.format) << c.line;
        EXPECT_EQ(options.files.size(), c.files) << c.line;
        EXPECT_EQ(options.noArchive, c.noArchive) << c.line;
    }
}
