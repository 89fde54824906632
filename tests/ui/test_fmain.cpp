#include <gtest/gtest.h>

#include "app/FMain.h"

namespace quorlet {

TEST(MainWindow, OpensWithTheProgramTitle) {
    TMain window;
    window.show();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.windowTitle().toStdString(), "Minesweeper Quorlet");
}

} // namespace quorlet
