// report and plot: figures and graphs of a saved data file, with no logger and no display.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdio>
#include <optional>

#include "analysis/analysis.h"
#include "cli/options.h"
#include "data/csv.h"

// The file read into a data set of a scratch folder, with the language its captions are in.
struct ReportInput {
    QString fileName;
    CsvHeader header;
    std::vector<analysis::Reading> readings;
    std::int32_t interval = 0;
};

// What the report covers: the readings inside the window, the bounds given or the file's.
analysis::Figures reportFigures(const ReportInput& input, const CliOptions& options);

// The report for people, one figure a line, in the message table's language.
QString reportText(const ReportInput& input, const CliOptions& options,
                   const analysis::Figures& figures, const MessageTable& messages);
// The report as one JSON object: numbers typed, times in ISO 8601 local time, absent values
// null.
QByteArray reportJson(const ReportInput& input, const CliOptions& options,
                      const analysis::Figures& figures);

// Runs report or plot; the exit code. Reasons go to standard error.
int runFileCommand(const CliOptions& options, const MessageTable& messages, std::FILE* out);
