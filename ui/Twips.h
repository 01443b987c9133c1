#pragma once

#include <QColor>
#include <QRect>

#include <cstdint>

namespace ttt {

// The window is laid out in twips; 1440 make an inch, and Qt's device-independent pixel is 1/96 inch.
constexpr int twips(int t) { return (t + 7) / 15; }

inline QRect twipsRect(int left, int top, int width, int height) {
    return {twips(left), twips(top), twips(width), twips(height)};
}

// The game keeps colours as 0x00BBGGRR.
inline QColor bgrColor(std::int32_t c) { return QColor(c & 0xff, (c >> 8) & 0xff, (c >> 16) & 0xff); }

} // namespace ttt
