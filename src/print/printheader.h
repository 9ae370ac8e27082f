// The page header shared by the graph and the dump print: the data set's facts in the left
// column and the statistics of all records and of the selection in the right one.
#pragma once

#include <QString>
#include <QStringList>
#include <array>

#include "data/dataset.h"
#include "data/messagetable.h"
#include "print/printpage.h"

// What the print operation read for the header: the identification name, the date-time of
// sample 1, the sample count and the recording interval in seconds.
struct PrintHeaderFacts {
    QString name;
    double startTime = 0;
    int count = 0;
    int interval = 0;
};

// " 1 Min 30 Sec": minutes and seconds each written with a leading space, a zero part left out.
QString intervalText(int seconds, const MessageTable& messages);
// "ON　 25 C", "ON　-5 C" or "OFF".
QString boundText(int bound, bool on, const MessageTable& messages);

// The left column: name, start time, points, interval and, for the model with alarm bounds,
// the upper and lower bound.
QStringList headerFactLines(const PrintHeaderFacts& facts, const DataSet& set,
                            const MessageTable& messages);

// Maximum and minimum temperature, maximum and minimum humidity: label, record number, its
// sample's date-time and value. An extreme that still holds its reset value has no sample: it
// is shown as dashes and nothing is read for it.
std::array<QString, 4> statsLines(const SampleStats& stats, DataSet& set,
                                  const MessageTable& messages);

// Prints the header from 3 lh below the top of the page; the page y below its last line.
double printPageHeader(PrintPage& page, const PrintHeaderFacts& facts, DataSet& set,
                       const MessageTable& messages);
