// A program's help as one table (its commands, their options and examples), from which the
// --help texts, the manual page and the shell completion are all made, so they cannot differ.
#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

struct HelpOption {
    const char* flag;           // "--out"; a short form goes in `alias`
    const char* argument = "";  // "FILE|-"; empty for a switch
    const char* meaning = "";   // one line
    const char* unit = "";      // "degrees Celsius"; empty when none
    const char* fallback = "";  // the default; empty when none is worth saying
    const char* choices = "";   // the words the value may be, space separated, for completion
    bool fileValue = false;     // the value is a file name
    const char* alias = "";     // "-h"
};

struct HelpExample {
    const char* commandLine;
    const char* what;
};

struct HelpSection {
    const char* title;  // "EXIT STATUS"
    const char* text;   // paragraphs separated by blank lines; a line starting with two
                        // spaces is kept as written
};

struct HelpCommand {
    const char* name;
    const char* summary;      // one line
    const char* usage;        // the words after the command name in the synopsis
    const char* description;  // paragraphs
    std::vector<HelpOption> options;
    std::vector<HelpExample> examples;
};

struct HelpPage {
    const char* program;
    const char* summary;  // one line, the manual page's NAME
    const char* description;
    std::vector<HelpCommand> commands;  // empty: a program without subcommands
    std::vector<HelpOption> options;    // every command's, or the program's own
    std::vector<HelpSection> sections;
    std::vector<HelpExample> examples;
    const char* seeAlso = "";  // "veltrane(1)"

    const HelpCommand* command(const QString& name) const;
    // Whether `flag` takes a value for `command` (none: the program's own options).
    bool takesValue(const QString& flag, const HelpCommand* command) const;
};

// The help of the program, or of one of its commands, as --help prints it.
QByteArray helpText(const HelpPage& page, const QString& version);
QByteArray commandHelpText(const HelpPage& page, const HelpCommand& command);
// "NAME 1.1.0\n".
QByteArray versionText(const HelpPage& page, const QString& version);
// The manual page, section 1, in troff with the man macros.
QByteArray manPage(const HelpPage& page, const QString& version);
// A bash completion script: commands, their options, the choices of a value and file names.
QByteArray bashCompletion(const HelpPage& page);
