// The graph area of the main window: the temperature graph, the humidity graph,
// the eight graph scroll bars, the zoom and fit buttons and the range labels, at their fixed
// twips positions. Place the panel at the origin of the main window's content.
#pragma once

#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QWidget>
#include <array>

#include "controls/controlid.h"
#include "graph/graphbox.h"
#include "graph/viewmath.h"

class GraphView;
class MessageTable;

class GraphPanel : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kWidthTwips = 11325;
    static constexpr int kHeightTwips = 7620;
    // Each graph box (temperature, humidity); printing keeps this physical size.
    static constexpr int kGraphWidthTwips = 10575;
    static constexpr int kGraphHeightTwips = 3135;

    explicit GraphPanel(QWidget* parent);

    GraphView& view() { return *view_; }
    GraphBox* temperatureGraph() const { return temperatureGraph_; }
    GraphBox* humidityGraph() const { return humidityGraph_; }
    QScrollBar* bar(BarIndex index) const { return bars_[index]; }
    QPushButton* button(ZoomButton which) const;
    QPushButton* fitButton() const { return fitButton_; }
    QLabel* rangeLabel(int number) const;  // 30, 31, 34, 35, 36 or 37

    // Captions and accessible names from the message table.
    void applyCaptions(const MessageTable& messages);
    // The status refresh hides the scroll bars, zoom buttons and range labels (the fit button
    // stays, disabled by the refresh) while a
    // continuous measurement runs, and disables them while the data set on display is empty.
    void setGraphControlsVisible(bool visible);
    void setGraphControlsEnabled(bool enabled);

  private:
    QPushButton* makeButton(ControlId id, const QString& caption);
    void placeControls();

    GraphBox* temperatureGraph_;
    GraphBox* humidityGraph_;
    std::array<QScrollBar*, 8> bars_{};
    std::array<QPushButton*, 6> zoom_{};
    QPushButton* fitButton_;
    std::array<QLabel*, 6> labels_{};
    GraphView* view_;
};
