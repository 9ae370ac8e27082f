// The main window's status bar and its three sunken text panels: the first of a
// fixed width, the second taking the rest, the third at the right edge.
#pragma once

#include <QString>
#include <array>

class QLabel;
class QStatusBar;

class StatusPanels {
  public:
    // Sets up `bar` with the panels; the bar owns them.
    explicit StatusPanels(QStatusBar* bar);

    // The bar's fixed height in pixels.
    static int barHeight();
    // Panels are numbered 1..3; another number reads as empty and is not written.
    QString text(int panel) const;
    void setText(int panel, const QString& text);

  private:
    std::array<QLabel*, 3> panels_{};
};
