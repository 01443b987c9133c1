#include "model/Cells.h"

#include <algorithm>

namespace ttt {

int16 cellcoord(int16 k) {
    const int level0 = (k - 1) / 16;
    const int rest = k - 16 * level0;
    const int row0 = (rest - 1) / 4;
    return static_cast<int16>((level0 + 1) * 100 + (row0 + 1) * 10 + (rest - 4 * row0));
}

namespace {

// Every line is a start cell plus a step in each axis of -1, 0 or +1, taken four times.
std::array<Line, kLines> buildLines() {
    std::array<Line, kLines> out{};
    int n = 0;
    for (int dl = -1; dl <= 1; ++dl)
        for (int dr = -1; dr <= 1; ++dr)
            for (int dc = -1; dc <= 1; ++dc) {
                // Take each direction once: the first non-zero step is positive.
                const int first = dl != 0 ? dl : (dr != 0 ? dr : dc);
                if (first <= 0)
                    continue;
                for (int l = 1; l <= 4; ++l)
                    for (int r = 1; r <= 4; ++r)
                        for (int c = 1; c <= 4; ++c) {
                            const auto inside = [](int v) { return v >= 1 && v <= 4; };
                            if (!inside(l + 3 * dl) || !inside(r + 3 * dr) || !inside(c + 3 * dc))
                                continue;
                            if (inside(l - dl) && inside(r - dr) && inside(c - dc))
                                continue; // not the start of the line
                            Line line{};
                            for (int i = 0; i < 4; ++i)
                                line[static_cast<std::size_t>(i)] =
                                    cellAt(l + i * dl, r + i * dr, c + i * dc);
                            std::sort(line.begin(), line.end());
                            out[static_cast<std::size_t>(n++)] = line;
                        }
            }
    std::sort(out.begin(), out.end());
    return out;
}

} // namespace

const std::array<Line, kLines> &straightLines() {
    static const std::array<Line, kLines> lines = buildLines();
    return lines;
}

} // namespace ttt
