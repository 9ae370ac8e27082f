// CSV data files: three header lines (captions, data set values, column captions) and one
// line per sample, written from a data set and read into the file data set. The functions
// take paths; the dialogs around them live in csvflow.h.
#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <optional>

#include "data/codepage.h"
#include "data/dataset.h"

inline constexpr char kModelWithAlarms[] = "QM320-HX";
inline constexpr char kModelWithoutAlarms[] = "QM300-HX";

// The language-dependent texts of a CSV file and of the file data panel.
struct CsvTexts {
    std::array<QString, 6> captions;  // line 1 in the alarm form; the other form ends with two
                                      // empty texts
    std::array<QString, 5> columns;   // line 3
    QString pointUnit;                // " Point"
    QString minuteUnit;               // " Min"
    QString secondUnit;               // " Sec"
    QString degreeUnit;               // " C"
    codepage::TextEncoding encoding = codepage::TextEncoding::Windows1252;
};

// The values of line 2 as read back, and what the last sample held.
struct CsvHeader {
    QString identName;
    double startTime = 0;
    double endTime = 0;
    std::int32_t recordingPoints = 0;
    std::int32_t interval = 0;
    bool upperOn = false;
    std::int16_t upperBound = 0;
    bool lowerOn = false;
    std::int16_t lowerBound = 0;
    QString model;
    // Rows the recording-points item of line 2 announces beyond those the file holds: a file
    // cut at a line end reads as sound otherwise.
    std::int32_t missingRows = 0;
};

enum class CsvError {
    None,
    Io,              // the file could not be opened, written or committed
    WrongForm,       // line 1 does not carry this language's captions
    Malformed,       // missing items, unparsable values, an overlong line
    TooManySamples,  // more than a data set holds
    NotRegular,      // a FIFO, device or folder: refused before anything waits on it
};

// The data set's samples as a CSV file, written to a temporary file beside the target and
// renamed into place, so a failure leaves any earlier file as it was. Clears the unsaved
// flag only when the file is complete. model selects the form of lines 1 and 2.
CsvError saveCsv(const QString& path, DataSet& set, const QString& model, const QString& identName,
                 const CsvTexts& texts);
// Whether the file could be written, without leaving anything behind.
bool canWrite(const QString& path);

// Reads a CSV file into set (the file data set). A file that cannot be opened, is no regular
// file or whose captions belong to another form leaves set unchanged; any later fault leaves set
// empty (count 0, reset statistics, no alarms, no model).
CsvError openCsv(const QString& path, DataSet& set, const CsvTexts& texts, CsvHeader& header);

// "##.00": two decimals rounded half away from zero, no zero before the point.
QString formatHundredths(float value);
// A finite decimal number, surrounding spaces allowed.
std::optional<double> parseNumber(const QString& text);
// Identification name, "_", and the date-time as yyMMdd_HHmmss.
QString proposedFileName(const QString& identName, double dateTime);

// What the file data panel shows after a file was read.
struct FilePanelInfo {
    QString fileName;
    QString model;
    QString identName;
    QString start;
    QString end;
    QString points;
    QString interval;
    QString upperBound;
    QString lowerBound;
    bool boundsVisible = false;
};

FilePanelInfo filePanelInfo(const QString& path, const CsvHeader& header, int count,
                            const CsvTexts& texts);
