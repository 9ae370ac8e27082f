// Sizes and positions of windows and controls are designed in twips (1/1440 inch): 15 twips to a
// logical pixel at 96 dpi; Qt scales logical pixels on high-density screens.
#pragma once

#include <QRect>

constexpr int kTwipsPerPixel = 15;

constexpr int twips(int value) {
    return (value + (value >= 0 ? kTwipsPerPixel / 2 : -kTwipsPerPixel / 2)) / kTwipsPerPixel;
}

constexpr QRect twipsRect(int left, int top, int width, int height) {
    return QRect(twips(left), twips(top), twips(width), twips(height));
}
