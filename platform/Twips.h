#pragma once

#include <QRect>

// Positions of the screens are given in twips: 15 twips to a pixel at 96 dpi. Qt's device-independent pixels
// already follow the screen's scale, so the conversion stays fixed.
constexpr int twips(int value) {
    return (value + 7) / 15;
}

constexpr QRect twipsRect(int left, int top, int width, int height) {
    return QRect(twips(left), twips(top), twips(width), twips(height));
}
