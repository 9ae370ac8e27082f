// The help table's three renderings: --help text, troff manual page and bash completion.
#include "data/helppage.h"

#include <QStringList>

namespace {

constexpr int kWidth = 79;
constexpr int kOptionColumn = 26;

QString text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

bool verbatim(const QString& line) {
    return line.startsWith(QLatin1String("  "));
}

// The words of `body` filled to the width and indented by `indent`; `first` (an option's name)
// starts the first line when it leaves room, else stands on a line of its own.
QString wrap(const QString& body, int indent, const QString& first = {}) {
    const QString pad(indent, u' ');
    QString out;
    QString line = pad;
    if (!first.isEmpty() && first.size() < indent - 1) {
        line = first + QString(indent - first.size(), u' ');
    } else if (!first.isEmpty()) {
        out = first + u'\n';
    }
    bool lineEmpty = true;
    for (const QString& word : body.split(u' ', Qt::SkipEmptyParts)) {
        if (!lineEmpty && line.size() + 1 + word.size() > kWidth) {
            out += line + u'\n';
            line = pad;
            lineEmpty = true;
        }
        if (!lineEmpty) {
            line += u' ';
        }
        line += word;
        lineEmpty = false;
    }
    while (line.endsWith(u' ')) {
        line.chop(1);
    }
    return out + line + u'\n';
}

// Paragraphs filled to the width; verbatim lines kept as written.
QString paragraphs(const char* body, int indent) {
    QString out;
    const QStringList blocks = text(body).split(QStringLiteral("\n\n"));
    for (qsizetype b = 0; b < blocks.size(); ++b) {
        if (b > 0) {
            out += u'\n';
        }
        QString filling;
        for (const QString& line : blocks.at(b).split(u'\n')) {
            if (verbatim(line)) {
                if (!filling.isEmpty()) {
                    out += wrap(filling, indent);
                    filling.clear();
                }
                out += QString(indent, u' ') + line + u'\n';
            } else {
                filling += u' ' + line;
            }
        }
        if (!filling.isEmpty()) {
            out += wrap(filling, indent);
        }
    }
    return out;
}

QString optionName(const HelpOption& option) {
    QString name = option.alias[0] != '\0' ? text(option.alias) + QStringLiteral(", ") : QString();
    name += text(option.flag);
    if (option.argument[0] != '\0') {
        name += u' ' + text(option.argument);
    }
    return name;
}

QString optionMeaning(const HelpOption& option) {
    QString meaning = text(option.meaning);
    if (option.unit[0] != '\0') {
        meaning += QStringLiteral(", in ") + text(option.unit);
    }
    if (option.fallback[0] != '\0') {
        meaning += QStringLiteral("; default: ") + text(option.fallback);
    }
    return meaning;
}

QString optionList(const std::vector<HelpOption>& options) {
    QString out;
    for (const HelpOption& option : options) {
        out +=
            wrap(optionMeaning(option), kOptionColumn, QStringLiteral("  ") + optionName(option));
    }
    return out;
}

QString exampleList(const std::vector<HelpExample>& examples) {
    QString out;
    for (const HelpExample& example : examples) {
        out += QStringLiteral("  ") + text(example.commandLine) + u'\n';
        out += wrap(text(example.what), 6);
    }
    return out;
}

QString commonOptionsTitle(const HelpPage& page) {
    return page.commands.empty() ? QStringLiteral("Options:\n")
                                 : QStringLiteral("Options of every command:\n");
}

// troff: a backslash, a minus sign and a leading control character are escaped.
QString roff(const QString& plain) {
    QString out;
    for (const QChar c : plain) {
        if (c == u'\\') {
            out += QStringLiteral("\\e");
        } else if (c == u'-') {
            out += QStringLiteral("\\-");
        } else {
            out += c;
        }
    }
    if (out.startsWith(u'.') || out.startsWith(u'\'')) {
        out.prepend(QStringLiteral("\\&"));
    }
    return out;
}

QString roffParagraphs(const char* body) {
    QString out;
    const QStringList blocks = text(body).split(QStringLiteral("\n\n"));
    for (qsizetype b = 0; b < blocks.size(); ++b) {
        if (b > 0) {
            out += QStringLiteral(".PP\n");
        }
        bool inVerbatim = false;
        for (const QString& line : blocks.at(b).split(u'\n')) {
            if (verbatim(line) != inVerbatim) {
                inVerbatim = !inVerbatim;
                out += inVerbatim ? QStringLiteral(".nf\n") : QStringLiteral(".fi\n");
            }
            out += roff(inVerbatim ? line : line.trimmed()) + u'\n';
        }
        if (inVerbatim) {
            out += QStringLiteral(".fi\n");
        }
    }
    return out;
}

QString roffOptions(const std::vector<HelpOption>& options) {
    QString out;
    for (const HelpOption& option : options) {
        out += QStringLiteral(".TP\n");
        QString name = QStringLiteral("\\fB");
        if (option.alias[0] != '\0') {
            name += roff(text(option.alias)) + QStringLiteral("\\fR, \\fB");
        }
        name += roff(text(option.flag)) + QStringLiteral("\\fR");
        if (option.argument[0] != '\0') {
            name += QStringLiteral(" \\fI") + roff(text(option.argument)) + QStringLiteral("\\fR");
        }
        out += name + u'\n' + roff(optionMeaning(option)) + u'\n';
    }
    return out;
}

QString roffExamples(const std::vector<HelpExample>& examples) {
    QString out;
    for (const HelpExample& example : examples) {
        out += QStringLiteral(".PP\n") + roff(text(example.what)) +
               QStringLiteral("\n.PP\n.nf\n.RS\n") + roff(text(example.commandLine)) +
               QStringLiteral("\n.RE\n.fi\n");
    }
    return out;
}

QString shellWords(const std::vector<HelpOption>& options) {
    QStringList words;
    for (const HelpOption& option : options) {
        if (option.alias[0] != '\0') {
            words << text(option.alias);
        }
        words << text(option.flag);
    }
    return words.join(u' ');
}

// The completion of the value after `pattern` (a "command:flag" case pattern).
QString valueCase(const QString& pattern, const HelpOption& option) {
    if (option.argument[0] == '\0') {
        return {};
    }
    QString action;
    if (option.fileValue) {
        action = QStringLiteral("compopt -o filenames 2>/dev/null; _veltrane_reply -f");
    } else if (option.choices[0] != '\0') {
        action = QStringLiteral("_veltrane_reply -W '") + text(option.choices) + u'\'';
    } else {
        // A value of the user's own: nothing to offer.
        action = QStringLiteral("COMPREPLY=()");
    }
    return QStringLiteral("        ") + pattern + QStringLiteral(") ") + action +
           QStringLiteral("; return ;;\n");
}

}  // namespace

const HelpCommand* HelpPage::command(const QString& name) const {
    for (const HelpCommand& entry : commands) {
        if (name == text(entry.name)) {
            return &entry;
        }
    }
    return nullptr;
}

bool HelpPage::takesValue(const QString& flag, const HelpCommand* in) const {
    const auto find = [&](const std::vector<HelpOption>& list) {
        for (const HelpOption& option : list) {
            if (flag == text(option.flag)) {
                return option.argument[0] != '\0';
            }
        }
        return false;
    };
    return find(options) || (in != nullptr && find(in->options));
}

QByteArray versionText(const HelpPage& page, const QString& version) {
    return (text(page.program) + u' ' + version + u'\n').toUtf8();
}

QByteArray helpText(const HelpPage& page, const QString& version) {
    const QString program = text(page.program);
    QString out = program + u' ' + version + QStringLiteral(": ") + text(page.summary) + u'\n';
    out += u'\n';
    if (page.commands.empty()) {
        out += QStringLiteral("Usage: ") + program + QStringLiteral(" [OPTIONS]\n");
    } else {
        out += QStringLiteral("Usage: ") + program + QStringLiteral(" COMMAND [OPTIONS]\n");
        out += QStringLiteral("       ") + program + QStringLiteral(" COMMAND --help\n");
    }
    out += u'\n' + paragraphs(page.description, 0);
    if (!page.commands.empty()) {
        out += QStringLiteral("\nCommands:\n");
        for (const HelpCommand& command : page.commands) {
            out += wrap(text(command.summary), 12, QStringLiteral("  ") + text(command.name));
        }
    }
    out += u'\n' + commonOptionsTitle(page) + optionList(page.options);
    for (const HelpSection& section : page.sections) {
        QString title = text(section.title).toLower();
        title[0] = title[0].toUpper();
        out += u'\n' + title + QStringLiteral(":\n") + paragraphs(section.text, 2);
    }
    if (!page.examples.empty()) {
        out += QStringLiteral("\nExamples:\n") + exampleList(page.examples);
    }
    return out.toUtf8();
}

QByteArray commandHelpText(const HelpPage& page, const HelpCommand& command) {
    QString out = QStringLiteral("Usage: ") + text(page.program) + u' ' + text(command.name);
    if (command.usage[0] != '\0') {
        out += u' ' + text(command.usage);
    }
    out += QStringLiteral("\n\n") + wrap(text(command.summary), 0);
    if (command.description[0] != '\0') {
        out += u'\n' + paragraphs(command.description, 0);
    }
    if (!command.options.empty()) {
        out += QStringLiteral("\nOptions:\n") + optionList(command.options);
    }
    out += u'\n' + commonOptionsTitle(page) + optionList(page.options);
    if (!command.examples.empty()) {
        out += QStringLiteral("\nExamples:\n") + exampleList(command.examples);
    }
    return out.toUtf8();
}

QByteArray manPage(const HelpPage& page, const QString& version) {
    const QString program = text(page.program);
    QString out = QStringLiteral(".TH ") + roff(program.toUpper()) + QStringLiteral(" 1 \"\" \"") +
                  roff(program + u' ' + version) + QStringLiteral("\" \"User Commands\"\n");
    out += QStringLiteral(".SH NAME\n") + roff(program) + QStringLiteral(" \\- ") +
           roff(text(page.summary)) + u'\n';
    out += QStringLiteral(".SH SYNOPSIS\n");
    if (page.commands.empty()) {
        out += QStringLiteral(".B ") + roff(program) + QStringLiteral("\n[\\fIOPTIONS\\fR]\n");
    } else {
        for (const HelpCommand& command : page.commands) {
            out += QStringLiteral("\\fB") + roff(program) + u' ' + roff(text(command.name)) +
                   QStringLiteral("\\fR ") + roff(text(command.usage)) + QStringLiteral("\n.br\n");
        }
    }
    out += QStringLiteral(".SH DESCRIPTION\n") + roffParagraphs(page.description);
    if (!page.commands.empty()) {
        out += QStringLiteral(".SH COMMANDS\n");
        for (const HelpCommand& command : page.commands) {
            out += QStringLiteral(".SS ") + roff(text(command.name)) + u'\n' +
                   roff(text(command.summary)) + u'\n';
            if (command.description[0] != '\0') {
                out += QStringLiteral(".PP\n") + roffParagraphs(command.description);
            }
            out += roffOptions(command.options);
            if (!command.examples.empty()) {
                out += roffExamples(command.examples);
            }
        }
    }
    out += QStringLiteral(".SH OPTIONS\n") + roffOptions(page.options);
    for (const HelpSection& section : page.sections) {
        out += QStringLiteral(".SH ") + roff(text(section.title)) + u'\n' +
               roffParagraphs(section.text);
    }
    if (!page.examples.empty()) {
        out += QStringLiteral(".SH EXAMPLES\n") + roffExamples(page.examples);
    }
    if (page.seeAlso[0] != '\0') {
        out += QStringLiteral(".SH SEE ALSO\n") + roff(text(page.seeAlso)) + u'\n';
    }
    return out.toUtf8();
}

QByteArray bashCompletion(const HelpPage& page) {
    const QString program = text(page.program);
    QString function = u'_' + program;
    function.replace(u'-', u'_');
    QStringList names;
    for (const HelpCommand& command : page.commands) {
        names << text(command.name);
    }
    QString out = QStringLiteral("# bash completion for ") + program +
                  QStringLiteral(", made from the program's help table.\n");
    out += QStringLiteral(
        "_veltrane_reply() {\n"
        "    mapfile -t COMPREPLY < <(compgen \"$@\" -- \"$cur\")\n"
        "}\n\n");
    out += function + QStringLiteral("() {\n");
    out += QStringLiteral(
        "    local cur=${COMP_WORDS[COMP_CWORD]} prev= command= i\n"
        "    ((COMP_CWORD > 0)) && prev=${COMP_WORDS[COMP_CWORD - 1]}\n"
        "    for ((i = 1; i < COMP_CWORD; i++)); do\n"
        "        case ${COMP_WORDS[i]} in\n");
    if (!names.isEmpty()) {
        out += QStringLiteral("            ") + names.join(u'|') +
               QStringLiteral(") command=${COMP_WORDS[i]}; break ;;\n");
    }
    out += QStringLiteral(
        "        esac\n"
        "    done\n"
        "    case $command:$prev in\n");
    for (const HelpOption& option : page.options) {
        out += valueCase(QStringLiteral("*:") + text(option.flag), option);
    }
    for (const HelpCommand& command : page.commands) {
        for (const HelpOption& option : command.options) {
            out += valueCase(text(command.name) + u':' + text(option.flag), option);
        }
    }
    out += QStringLiteral("    esac\n    case $command in\n");
    for (const HelpCommand& command : page.commands) {
        out += QStringLiteral("        ") + text(command.name) +
               QStringLiteral(") _veltrane_reply -W '") +
               (shellWords(command.options) + u' ' + shellWords(page.options)).trimmed() +
               QStringLiteral("' ;;\n");
    }
    QString first = names.join(u' ');
    if (page.commands.empty()) {
        first = shellWords(page.options);
    } else {
        first += QStringLiteral(" -h --help --version");
    }
    out += QStringLiteral("        *) _veltrane_reply -W '") + first + QStringLiteral("' ;;\n");
    out += QStringLiteral("    esac\n}\n");
    out += QStringLiteral("complete -F ") + function + u' ' + program + u'\n';
    return out.toUtf8();
}
