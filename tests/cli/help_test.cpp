// Help, version, manual pages and completion of both programs: printed with no display and no
// logger, and the help, the manual pages, the completion and the parser all saying the same.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

#include "cli/clihelp.h"
#include "cli/options.h"
#include "data/version.h"

namespace {

struct ProgramRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

const QString kVersion =
    QString::fromUtf8(kProgramVersion.data(), static_cast<qsizetype>(kProgramVersion.size()));

QString cliProgram() {
    return qEnvironmentVariable("VELTRANE_CLI");
}

QString windowProgram() {
    return QStringLiteral(VELTRANE_WINDOW);
}

QString helpFile(const char* name) {
    return QStringLiteral(VELTRANE_HELP_DIR "/") + QLatin1String(name);
}

// The program with no display to open and no port to find.
ProgramRun runBare(const QString& program, const QStringList& arguments) {
    static QTemporaryDir noDevices;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
        environment.remove(QLatin1String(name));
    }
    environment.insert(QStringLiteral("VELTRANE_DEVICE_DIR"), noDevices.path());
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), process.readAllStandardError()};
}

QString text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

QSet<QString> tableFlags(const std::vector<HelpOption>& options) {
    QSet<QString> flags;
    for (const HelpOption& option : options) {
        flags.insert(text(option.flag));
    }
    return flags;
}

// The long flags listed under `title` ("Options:") in a --help text.
QSet<QString> helpFlags(const QByteArray& help, const QString& title) {
    static const QRegularExpression kLine(QStringLiteral("^  (?:-\\w, )?(--[\\w-]+)"));
    QSet<QString> flags;
    bool inside = false;
    for (const QString& line : QString::fromUtf8(help).split(u'\n')) {
        if (!line.startsWith(u' ')) {
            inside = line == title;
            continue;
        }
        const QRegularExpressionMatch match = kLine.match(line);
        if (inside && match.hasMatch()) {
            flags.insert(match.captured(1));
        }
    }
    return flags;
}

// The flags of each part of a manual page: ".SS command" blocks by their name, ".SH OPTIONS"
// as "".
QHash<QString, QSet<QString>> manFlags(const QByteArray& page) {
    static const QRegularExpression kName(
        QStringLiteral("^\\\\fB(?:-\\w\\\\fR, \\\\fB)?(--[\\w-]+)"));
    QHash<QString, QSet<QString>> flags;
    QString part;
    bool named = false;
    bool afterTp = false;
    for (QString line : QString::fromUtf8(page).split(u'\n')) {
        line.replace(QStringLiteral("\\-"), QStringLiteral("-"));
        if (line.startsWith(QLatin1String(".SS "))) {
            part = line.mid(4);
            named = true;
        } else if (line.startsWith(QLatin1String(".SH "))) {
            named = line == QLatin1String(".SH OPTIONS");
            part.clear();
        } else if (afterTp && named) {
            const QRegularExpressionMatch match = kName.match(line);
            if (match.hasMatch()) {
                flags[part].insert(match.captured(1));
            }
        }
        afterTp = line == QLatin1String(".TP");
    }
    return flags;
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class Help : public ::testing::Test {
  protected:
    void SetUp() override {
        if (cliProgram().isEmpty()) {
            GTEST_SKIP() << "VELTRANE_CLI names no program";
        }
    }
};

TEST_F(Help, HelpAndVersionNeedNoDisplayAndNoLogger) {
    struct Case {
        QString program;
        QStringList arguments;
        QString startsWith;
    };
    const QString cliHelp = QStringLiteral("veltrane-cli ") + kVersion + QStringLiteral(": ");
    std::vector<Case> cases = {
        {cliProgram(), {QStringLiteral("--help")}, cliHelp},
        {cliProgram(), {QStringLiteral("-h")}, cliHelp},
        {cliProgram(), {QStringLiteral("--version")}, QStringLiteral("veltrane-cli ") + kVersion},
        {cliProgram(),
         {QStringLiteral("measure"), QStringLiteral("--version")},
         QStringLiteral("veltrane-cli ") + kVersion},
        {cliProgram(),
         {QStringLiteral("download"), QStringLiteral("--out"), QStringLiteral("x.csv"),
          QStringLiteral("--help")},
         QStringLiteral("Usage: veltrane-cli download ")},
        {windowProgram(), {QStringLiteral("--help")}, QStringLiteral("veltrane ") + kVersion},
        {windowProgram(), {QStringLiteral("-h")}, QStringLiteral("veltrane ") + kVersion},
        {windowProgram(), {QStringLiteral("--version")}, QStringLiteral("veltrane ") + kVersion},
        {windowProgram(),
         {QStringLiteral("--check"), QStringLiteral("--help")},
         QStringLiteral("veltrane ") + kVersion},
    };
    for (const HelpCommand& command : cliHelpPage().commands) {
        for (const char* ask : {"--help", "-h"}) {
            cases.push_back({cliProgram(),
                             {text(command.name), text(ask)},
                             QStringLiteral("Usage: veltrane-cli ") + text(command.name)});
        }
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(
            (QFileInfo(c.program).fileName() + u' ' + c.arguments.join(u' ')).toStdString());
        const ProgramRun run = runBare(c.program, c.arguments);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
        EXPECT_TRUE(QString::fromUtf8(run.out).startsWith(c.startsWith)) << run.out.toStdString();
        EXPECT_TRUE(run.out.endsWith('\n'));
    }
    // Without a command: the usage and where the help is, as a usage error.
    const ProgramRun bare = runBare(cliProgram(), {});
    EXPECT_EQ(bare.exitCode, Usage);
    EXPECT_TRUE(bare.out.isEmpty());
    EXPECT_TRUE(bare.err.contains("veltrane-cli --help")) << bare.err.toStdString();
}

TEST_F(Help, EachCommandsHelpListsWhatItsParserTakes) {
    const HelpPage& page = cliHelpPage();
    const QSet<QString> common = tableFlags(page.options);
    const ProgramRun overview = runBare(cliProgram(), {QStringLiteral("--help")});
    EXPECT_EQ(helpFlags(overview.out, QStringLiteral("Options of every command:")), common);
    for (const HelpCommand& command : page.commands) {
        SCOPED_TRACE(command.name);
        const ProgramRun help =
            runBare(cliProgram(), {text(command.name), QStringLiteral("--help")});
        EXPECT_EQ(helpFlags(help.out, QStringLiteral("Options:")), tableFlags(command.options));
        // Every option's default stands beside it.
        const QString flat = QString::fromUtf8(help.out).simplified();
        for (const HelpOption& option : command.options) {
            if (option.fallback[0] != '\0') {
                EXPECT_TRUE(flat.contains(QStringLiteral("default: ") + text(option.fallback)))
                    << option.flag;
            }
        }
        // The parser takes exactly the listed flags, a value after those with an argument;
        // help and version are answered before it.
        QHash<QString, bool> listed;
        for (const auto* options : {&page.options, &command.options}) {
            for (const HelpOption& option : *options) {
                listed.insert(text(option.flag), option.argument[0] != '\0');
            }
        }
        listed.remove(QStringLiteral("--help"));
        listed.remove(QStringLiteral("--version"));
        QHash<QString, bool> parsed;
        for (const auto& [flag, takesValue] : acceptedFlags(text(command.name))) {
            parsed.insert(flag, takesValue);
        }
        EXPECT_EQ(parsed, listed);
    }
}

TEST_F(Help, ManualPagesListTheOptionsTheHelpLists) {
    const QHash<QString, QSet<QString>> cliPage = manFlags(readAll(helpFile("veltrane-cli.1")));
    const ProgramRun overview = runBare(cliProgram(), {QStringLiteral("--help")});
    EXPECT_EQ(cliPage.value(QString()),
              helpFlags(overview.out, QStringLiteral("Options of every command:")));
    for (const HelpCommand& command : cliHelpPage().commands) {
        SCOPED_TRACE(command.name);
        const ProgramRun help =
            runBare(cliProgram(), {text(command.name), QStringLiteral("--help")});
        EXPECT_EQ(cliPage.value(text(command.name)),
                  helpFlags(help.out, QStringLiteral("Options:")));
    }
    const QHash<QString, QSet<QString>> windowPage = manFlags(readAll(helpFile("veltrane.1")));
    const ProgramRun windowHelp = runBare(windowProgram(), {QStringLiteral("--help")});
    const QSet<QString> windowFlags = helpFlags(windowHelp.out, QStringLiteral("Options:"));
    EXPECT_TRUE(windowFlags.contains(QStringLiteral("--check")));
    EXPECT_EQ(windowPage.value(QString()), windowFlags);

    // The pages the package installs are these, compressed; troff reads them without a warning.
    for (const char* name : {"veltrane-cli.1", "veltrane.1"}) {
        SCOPED_TRACE(name);
        QProcess gunzip;
        gunzip.start(QStringLiteral("gzip"),
                     {QStringLiteral("-dc"), helpFile(name) + QStringLiteral(".gz")});
        ASSERT_TRUE(gunzip.waitForFinished(30000));
        EXPECT_EQ(gunzip.readAllStandardOutput(), readAll(helpFile(name)));
        QProcess groff;
        groff.start(QStringLiteral("groff"),
                    {QStringLiteral("-man"), QStringLiteral("-Tutf8"), QStringLiteral("-ww"),
                     QStringLiteral("-z"), helpFile(name)});
        if (!groff.waitForFinished(30000)) {
            continue;  // no troff on this machine: the page's text was checked above
        }
        EXPECT_EQ(groff.exitCode(), 0);
        EXPECT_TRUE(groff.readAllStandardError().isEmpty());
    }
}

TEST_F(Help, BashCompletesCommandsOptionsChoicesAndFiles) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    for (const char* name : {"cold room.csv", "cold.tsv", "other.csv"}) {
        QFile file(folder.filePath(QLatin1String(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    const QString prefix = folder.path() + QStringLiteral("/col");
    const struct {
        QStringList words;  // the last is the word being completed
        QStringList expected;
    } cases[] = {
        {{QStringLiteral("dow")}, {QStringLiteral("download")}},
        {{QStringLiteral("--v")}, {QStringLiteral("--version")}},
        {{QStringLiteral("download"), QStringLiteral("--f")}, {QStringLiteral("--format")}},
        {{QStringLiteral("download"), QStringLiteral("--format"), QString()},
         {QStringLiteral("csv"), QStringLiteral("json"), QStringLiteral("tsv")}},
        {{QStringLiteral("measure"), QStringLiteral("--c")}, {QStringLiteral("--count")}},
        {{QStringLiteral("status"), QStringLiteral("--lang"), QStringLiteral("j")},
         {QStringLiteral("ja")}},
        {{QStringLiteral("measure"), QStringLiteral("--out"), prefix},
         {folder.filePath(QStringLiteral("cold room.csv")),
          folder.filePath(QStringLiteral("cold.tsv"))}},
        // A value of the user's own, and an option another command has: nothing offered.
        {{QStringLiteral("start"), QStringLiteral("--name"), QString()}, {}},
        {{QStringLiteral("stop"), QStringLiteral("--ou")}, {}},
    };
    const QString script = helpFile("veltrane-cli");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.words.join(u' ').toStdString());
        QStringList quoted{QStringLiteral("veltrane-cli")};
        for (const QString& word : c.words) {
            quoted << u'\'' + word + u'\'';
        }
        const QString line =
            QStringLiteral(
                "source '%1' && complete -p veltrane-cli && COMP_WORDS=(%2) && "
                "COMP_CWORD=%3 && _veltrane_cli; printf '%s\\n' \"${COMPREPLY[@]}\"")
                .arg(script, quoted.join(u' '))
                .arg(c.words.size());
        QProcess bash;
        bash.start(QStringLiteral("bash"), {QStringLiteral("--norc"), QStringLiteral("-c"), line});
        ASSERT_TRUE(bash.waitForFinished(30000));
        EXPECT_EQ(bash.exitCode(), 0) << bash.readAllStandardError().toStdString();
        QStringList lines = QString::fromUtf8(bash.readAllStandardOutput()).split(u'\n');
        ASSERT_FALSE(lines.isEmpty());
        EXPECT_EQ(lines.takeFirst(), QStringLiteral("complete -F _veltrane_cli veltrane-cli"));
        lines.removeAll(QString());
        lines.sort();
        EXPECT_EQ(lines, c.expected);
    }
}

}  // namespace
