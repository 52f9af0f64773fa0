// The display window's colours are 32-bit values 0x00BBGGRR (red in the low
// byte), as its pen table keeps them; Qt takes them through this one helper.
#pragma once

#include <QColor>

#include <cstdint>

inline QColor colourOfBgr(uint32_t bgr) {
  return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF), static_cast<int>((bgr >> 16) & 0xFF));
}
