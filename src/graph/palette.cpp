// The graph colour sets and texts.
#include "graph/palette.h"

#include "graph/viewmath.h"

GraphPalette GraphPalette::screen() {
    GraphPalette p;
    p.colors_ = {QColor(112, 32, 112), QColor(32, 32, 112), QColor(112, 32, 32), QColor(80, 32, 32),
                 QColor(16, 80, 16), QColor(16, 60, 16), QColor(32, 32, 32), QColor(192, 192, 192),
                 QColor(160, 160, 160), QColor(128, 128, 128), QColor(96, 96, 96),
                 QColor(64, 64, 64), QColor(32, 32, 32), QColor(255, 0, 0), QColor(32, 160, 128),
                 // Stored as 0x0FFFFFFF; only its low 24 bits make a colour.
                 QColor::fromRgb(0x0FFFFFFF & 0xFFFFFF), QColor(255, 0, 0), QColor(255, 0, 0),
                 QColor(0, 255, 0), QColor(255, 255, 255)};
    p.colors_[28] = QColor(255, 0, 0);
    p.colors_[29] = QColor(255, 255, 0);
    p.colors_[30] = QColor(0, 0, 0);
    p.dewPoint_ = QColor(64, 160, 255);
    return p;
}

GraphPalette GraphPalette::print() {
    GraphPalette p;
    const QColor black(0, 0, 0);
    const QColor grey(128, 128, 128);
    p.colors_ = {QColor(32, 32, 32),
                 QColor(64, 64, 64),
                 QColor(96, 96, 96),
                 grey,
                 grey,
                 grey,
                 grey,
                 QColor(64, 64, 64),
                 QColor(96, 96, 96),
                 grey,
                 grey,
                 grey,
                 grey};
    for (int entry = 13; entry <= 19; ++entry) {
        p.colors_[entry] = black;
    }
    p.colors_[28] = black;
    p.colors_[29] = black;
    p.colors_[30] = QColor(255, 255, 255);
    p.dewPoint_ = QColor(0, 64, 200);
    return p;
}

QColor GraphPalette::color(int entry) const {
    return entry >= 0 && entry < kSize ? colors_[entry] : QColor(Qt::black);
}

GraphTexts GraphTexts::of(GraphKind kind, const MessageTable& messages) {
    const QString temperatureUnit = messages.text(Msg::DegreeSign);
    const QString humidityUnit = messages.text(Msg::PercentSign);
    // A sign, two digits and a decimal: no label of either range is longer.
    constexpr int kWidestTenths = -888;
    const std::array<QString, 2> widest = {valueLabelText(kWidestTenths, temperatureUnit),
                                           valueLabelText(kWidestTenths, humidityUnit)};
    if (kind == GraphKind::Temperature) {
        return {temperatureUnit, messages.text(Msg::TemperatureGraph), widest};
    }
    return {humidityUnit, messages.text(Msg::HumidityGraph), widest,
            messages.text(Msg::DewPointLegend), temperatureUnit};
}
