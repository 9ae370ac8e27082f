// The window's figures and graph tools: the Statistics dialog (not modal, made on first use),
// the humidity graph's dew-point line and File > Export graph over the data set on display.
#pragma once

#include <functional>
#include <memory>

#include "data/messagetable.h"
#include "print/graphfile.h"

class GraphPanel;
class Session;
class StatisticsDialog;
class QWidget;

class WindowFigures {
  public:
    WindowFigures(GraphPanel& graphs, Session& session, const MessageTable& messages,
                  QWidget* owner, GraphExportOperation::SizeQuestion askSize);
    ~WindowFigures();

    // Display > Statistics: shows the dialog, or brings it to the front.
    void showStatistics();
    StatisticsDialog* statistics() const { return statistics_.get(); }

    void setDewPointLine(bool on);
    bool dewPointLine() const;

    // File > Export graph; nothing while a procedure runs or a box is open.
    ExportOutcome exportGraph(const QString& directory);
    // Who answers the image size question (the window's own dialog unless replaced).
    void setSizeQuestion(GraphExportOperation::SizeQuestion askSize) {
        export_.setSizeQuestion(std::move(askSize));
    }

  private:
    GraphPanel& graphs_;
    Session& session_;
    const MessageTable& messages_;
    QWidget* owner_;
    std::unique_ptr<StatisticsDialog> statistics_;
    GraphExportOperation export_;
};
