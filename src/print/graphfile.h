// File > Export graph: both graphs of the data set on display, in the graphs' visible window,
// drawn by the graph export onto a PNG image of a chosen size or an SVG drawing, by the file
// name's extension. The file is written whole or not at all: a failing write (a full disk)
// keeps whatever file was there.
#pragma once

#include <QSize>
#include <QString>
#include <functional>
#include <optional>

#include "data/dataset.h"
#include "data/messagetable.h"
#include "data/prompter.h"
#include "graph/graphexport.h"
#include "graph/renderer.h"

enum class GraphFileFormat { Png, Svg };
// The format a file name asks for by its extension (any case); nothing for another one.
std::optional<GraphFileFormat> graphFileFormatOf(const QString& path);

// Writes the file; false when it could not, with the system's reason when it gave one.
bool writeGraphFile(const QString& path, GraphFileFormat format, QSize size, DataSet& set,
                    const GraphExportView& view, const GraphRenderer& renderer,
                    const MessageTable& messages, QString& reason);

enum class ExportStatus { Written, Cancelled, NothingToExport, Failed };

struct ExportOutcome {
    ExportStatus status = ExportStatus::Cancelled;
    QString path;
};

// What one export draws and where the file question starts.
struct ExportSubject {
    DataSet* set = nullptr;
    GraphExportView view;
    // The graphs' size on screen: the proposed image size.
    QSize screenSize;
    QString directory;
    QString proposedName;  // without extension
    QString title;         // of the message boxes
};

class GraphExportOperation {
  public:
    // Asks for the PNG image's size, proposing one; nothing when the user cancelled.
    using SizeQuestion = std::function<std::optional<QSize>(QSize proposed)>;

    GraphExportOperation(Prompter& prompter, const MessageTable& messages, SizeQuestion askSize);

    void setSizeQuestion(SizeQuestion askSize) { askSize_ = std::move(askSize); }

    // Asks for the file (and a PNG image's size) and writes it; every failure is told.
    ExportOutcome run(const ExportSubject& subject, const GraphRenderer& renderer);

  private:
    Prompter& prompter_;
    const MessageTable& messages_;
    SizeQuestion askSize_;
};
