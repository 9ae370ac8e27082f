// Graph view state and controller: the displayed data set and view kind, the eight scroll bars
// that hold the visible window, zoom and fit, saving and restoring each data set's view, the
// redraw triggers with their guard, the drawing of both graphs and the cursor read-out.
#pragma once

#include <QImage>
#include <QObject>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>

#include "data/dataset.h"
#include "data/messagetable.h"
#include "graph/renderer.h"
#include "graph/viewmath.h"

class GraphPanel;

// The visible window of the data set on display, in seconds since 1899-12-30 00:00:00: the
// samples the graphs' window statistics take are those from `from` to `to`.
struct VisibleTimes {
    double from = 0;
    double to = 0;
};

class GraphView : public QObject {
    Q_OBJECT
  public:
    enum ViewKind : std::uint8_t { GraphKindView = 0, DumpView = 1 };

    GraphView(GraphPanel& panel, QObject* parent = nullptr);

    // The three data sets indexed by Disp_stat (0 log, 1 real-time, 2 file); owned by the
    // main window.
    void setDataSets(DataSet* log, DataSet* realTime, DataSet* file);
    void setMessages(const MessageTable* messages);
    // On while a continuous real-time measurement runs; the bars then do nothing.
    void setContinuous(bool on) { continuous_ = on; }
    GraphRenderer& renderer() { return renderer_; }
    // Turns the humidity graph's dew-point line on or off and redraws that graph.
    void setDewPointLine(bool on);

    std::uint8_t Disp_stat() const { return dispStat_; }
    std::uint8_t viewKind() const { return viewKind_; }
    bool redrawGuard() const { return guard_; }
    const Bars& bars() const { return bars_; }
    double stepUnit() const { return timeBase_.stepUnit; }
    DataSet* displayed() const { return sets_[dispStat_]; }
    DataSet* dataSet(int index) const;
    // The graphs' time window over the data set on display; nothing while it has no samples.
    std::optional<VisibleTimes> visibleTimes() const;

    void updateScrollRanges(DataSet& set);
    void fitGraphToData(DataSet& set);
    void saveGraphView(int index);
    void restoreGraphView(int index);
    // False for an index outside 0..2 or a kind outside 0..1 (nothing changes then).
    bool selectDisplay(int index, int kind);
    // The data set options and the graph and dump options: act only when the choice differs.
    void chooseDataSet(int index);
    void chooseViewKind(int kind);
    // Display menu items LogGraphItem..FileDumpItem: both option choices.
    void selectFromMenu(int index, int kind);

    void drawTemperatureGraph(DataSet& set, bool print);
    void drawHumidityGraph(DataSet& set, bool print);
    // Off-screen print images (as wide as the graph box and twice as tall), filled by the
    // drawing calls with the print flag set.
    const QImage& temperaturePrintImage() const { return printImages_[0]; }
    const QImage& humidityPrintImage() const { return printImages_[1]; }

    // The Fit button and the fit after a download or a CSV open.
    void fitSequence();
    void zoom(ZoomButton button);
    // Continuous real-time measurement tick.
    void refreshAfterNewSample();
    void showCursorReadout(double x, DataSet& set);

    // The saved images of a data set (temperature, humidity).
    const QImage& savedImage(int index, GraphKind kind) const;
    // The data set lost its samples: its saved images go and, when it is on display, both
    // boxes and the range labels are emptied, so nothing stale is shown or saved back.
    void clearDataSet(int index);

  signals:
    // Text of status-bar panel 2.
    void readoutChanged(const QString& text);
    // After selectDisplay: the status refresh shows the graphs or the table.
    void displayChanged(int index, int kind);
    // The time window or the data set on display may have changed (after every bar change,
    // drawing and display selection), so figures over the window are due again.
    void windowChanged();

  private:
    void barChanged(int index, int value);
    void pushBars();
    void updateRangeLabels();
    void drawGraph(GraphKind kind, DataSet& set, bool print);
    bool continuous() const;
    // Time base read from a data set's first and last records (step 1 when unreadable).
    TimeBase baseOf(DataSet& set) const;
    QString messageText(Msg msg) const;

    GraphPanel& panel_;
    std::array<DataSet*, 3> sets_{};
    const MessageTable* messages_ = nullptr;
    GraphRenderer renderer_;
    Bars bars_ = initialBars();
    TimeBase timeBase_;
    std::uint8_t dispStat_ = 0;
    std::uint8_t viewKind_ = GraphKindView;
    bool guard_ = false;
    bool pushing_ = false;
    bool continuous_ = false;
    std::array<std::array<QImage, 2>, 3> savedImages_{};
    std::array<QImage, 2> printImages_{};
};
