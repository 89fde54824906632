// Docking of the counters window to the main window, as a table of releases.
#include <gtest/gtest.h>

#include "stats/countersdock.h"

namespace quorlet {
namespace {

TEST(CountersDock, ReleasePositionGivesTheDockedPosition) {
    // Main window at (100, 100), 200 x 300: right edge 300; counters window 80 x 120.
    const TWindowRect main{100, 100, 200, 300};
    struct Case {
        const char* what;
        int32_t left, top;
        bool mainEnabled;
        int32_t dockedLeft, dockedTop;
    };
    const Case cases[] = {
        {"20 px right of the right edge docks flush", 320, 200, true, 300, 200},
        {"30 px right of the right edge stays", 330, 200, true, 330, 200},
        {"exactly 25 px stays", 325, 200, true, 325, 200},
        {"24 px docks", 324, 200, true, 300, 200},
        {"left of the right edge docks outside it", 290, 200, true, 300, 200},
        {"own right edge near the main right edge docks inside", 230, 200, true, 220, 200},
        {"own right edge near the main left edge docks outside", 30, 200, true, 20, 200},
        {"left edge near the main left edge docks inside", 110, 200, true, 100, 200},
        {"bottom near the main top docks above", 320, -30, true, 300, -20},
        {"top near the main top aligns the tops", 320, 90, true, 300, 100},
        {"below the main window: no bottom docking", 320, 420, true, 300, 420},
        {"far away stays", 600, 600, true, 600, 600},
        {"main window disabled: nothing moves", 320, 90, false, 320, 90},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const TWindowRect r = DockCountersWindow({c.left, c.top, 80, 120}, main, c.mainEnabled);
        EXPECT_EQ(r.Left, c.dockedLeft);
        EXPECT_EQ(r.Top, c.dockedTop);
        EXPECT_EQ(r.Width, 80);
        EXPECT_EQ(r.Height, 120);
    }
}

} // namespace
} // namespace quorlet
