#include "stats/countersdock.h"

#include <cstdlib>

namespace quorlet {

namespace {

bool Near(int32_t a, int32_t b) {
    return std::abs(a - b) < kCountersDockThreshold;
}

} // namespace

TWindowRect DockCountersWindow(TWindowRect c, const TWindowRect& m, bool mainEnabled) {
    if (!mainEnabled) return c;
    const int32_t mainRight = m.Left + m.Width;
    if (Near(c.Top + c.Height, m.Top)) c.Top = m.Top - c.Height;
    if (Near(c.Top, m.Top)) c.Top = m.Top;
    if (Near(c.Left + c.Width, mainRight)) c.Left = mainRight - c.Width;
    if (Near(c.Left, mainRight)) c.Left = mainRight;
    if (Near(c.Left + c.Width, m.Left)) c.Left = m.Left - c.Width;
    if (Near(c.Left, m.Left)) c.Left = m.Left;
    return c;
}

} // namespace quorlet
