// Where the counters window goes when it is released near the main window.
#pragma once

#include "core/uihooks.h"

namespace quorlet {

// Snap distance: an edge docks when it is closer than this many pixels.
constexpr int32_t kCountersDockThreshold = 25;

// The counters window's rectangle after docking to the main window's top, right and left
// edges (six tests in a fixed order, each on the result of those before). Nothing moves
// while the main window is disabled. There is no docking to the bottom edge.
TWindowRect DockCountersWindow(TWindowRect counters, const TWindowRect& main, bool mainEnabled);

} // namespace quorlet
