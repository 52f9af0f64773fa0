// Positions and sizes of the windows are designed in twips; the screen is
// taken at 15 twips per pixel (96 dots per inch).
#pragma once

#include <QRect>

#include <cmath>

constexpr int kTwipsPerPixel = 15;

inline int twipsToPixels(int twips) { return static_cast<int>(std::lround(twips / double(kTwipsPerPixel))); }
inline int pixelsToTwips(int pixels) { return pixels * kTwipsPerPixel; }
inline QRect twipsRect(int left, int top, int width, int height) {
  return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height));
}
