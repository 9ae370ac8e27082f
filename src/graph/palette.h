// What the renderer and the plotting share: the two graph kinds, the 31-entry colour table with
// its screen and print sets, and the texts a graph carries.
#pragma once

#include <QColor>
#include <QString>
#include <array>

#include "data/messagetable.h"

enum class GraphKind { Temperature, Humidity };

// The 31 drawing colours, screen set (dark on black) or print set (grey and black on white).
class GraphPalette {
  public:
    static constexpr int kSize = 31;
    static GraphPalette screen();
    static GraphPalette print();
    QColor color(int entry) const;
    // The dew-point line and its labels, apart from the table: a colour no other line takes.
    QColor dewPoint() const { return dewPoint_; }

  private:
    std::array<QColor, kSize> colors_{};
    QColor dewPoint_;
};

struct GraphTexts {
    QString unit;   // value-label unit
    QString title;  // printed in the bottom-left corner
    // The widest value label of each graph kind: every graph leaves room for the wider one, so
    // both plots keep one width and their time grids line up.
    std::array<QString, 2> widestLabels;
    // The humidity graph's dew-point line: its legend and its scale's unit.
    QString dewPointLegend{};
    QString dewPointUnit{};
    static GraphTexts of(GraphKind kind, const MessageTable& messages);
};
