// The texts of a data set's figures, one row per figure, as the window's Statistics dialog and
// the summary report page both show them, so the screen and the paper never disagree.
#pragma once

#include <QString>
#include <vector>

#include "analysis/analysis.h"
#include "data/messagetable.h"

struct FigureRow {
    Msg label;
    QString value;
};

// Every figure in a fixed order (count, first, last, duration, temperature, humidity, mean
// kinetic temperature, dew point, time beyond each bound); a figure the readings cannot give
// (no samples, no bound) shows a dash.
std::vector<FigureRow> figureRows(const analysis::Figures& figures, const MessageTable& messages);

// "yyyy/mm/dd hh:nn:ss" of a time in seconds since 1899-12-30.
QString figureTimeText(double seconds);
// Hours, minutes and seconds of a length of time ("51:04:05"), the same in both languages.
QString durationText(double seconds);
// One excursion: side, first and last time, duration and peak value.
QString excursionText(const analysis::Excursion& excursion, const MessageTable& messages);
// The excursion list cut to at most `most` lines, the last then saying how many more there are;
// "None" for no excursions and the note that no bound is set when there are none.
QStringList excursionLines(const analysis::Figures& figures, int most,
                           const MessageTable& messages);
