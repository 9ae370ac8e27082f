// The summary report page: the data set's header, its figures, the excursion list (cut with
// "and N more" when it would crowd the graphs) and both graphs of the whole data set scaled to
// the rest of the page. The layout is worked out first, in page units, so it can be checked
// without a printer: every text inside the page, none over another or over a graph.
#pragma once

#include <QRectF>
#include <QString>
#include <QStringList>
#include <functional>
#include <utility>
#include <vector>

#include "data/dataset.h"
#include "data/messagetable.h"
#include "graph/renderer.h"
#include "print/printheader.h"
#include "print/printpage.h"

struct ReportContent {
    QString title;
    QStringList header;
    // Label and value of each figure.
    std::vector<std::pair<QString, QString>> figures;
    QString excursionHeading;
    // The excursion lines when at most `most` fit (the last then says how many more there are).
    std::function<QStringList(int most)> excursions;
};

struct ReportText {
    QRectF rect;  // page units
    QString text;
    bool bold = false;
};

struct ReportLayout {
    std::vector<ReportText> texts;
    QRectF temperatureGraph;
    QRectF humidityGraph;
};

// Widths in page units of a text in the page's font, bold or not.
using ReportTextWidth = std::function<double(const QString& text, bool bold)>;

// The graphs never get less than this share of the page's height.
inline constexpr double kReportGraphShare = 0.45;

// Lays the page out over 0..PrintPage::kScale in both directions with lines lh tall: the title,
// then the header with the figures beside it (below it when the two do not fit side by side),
// the excursions, and the two graphs one above the other in what is left.
ReportLayout layOutReport(const ReportContent& content, const ReportTextWidth& width, double lh);

// The report's texts for the data set: header facts with the model, the whole data set's figures
// and its excursions beyond the alarm bounds.
ReportContent reportContent(const PrintHeaderFacts& facts, DataSet& set,
                            const MessageTable& messages);

// Prints the page. The data set's window statistics are kept as they were.
void printReportPage(PrintPage& page, const PrintHeaderFacts& facts, DataSet& set,
                     const GraphRenderer& renderer, const MessageTable& messages);
