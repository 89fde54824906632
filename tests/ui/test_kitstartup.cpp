#include <QCoreApplication>
#include <gtest/gtest.h>

#include "core/FData.h"
#include "kit/KitClass.h"
#include "kit/KitStartup.h"
#include "ui/test_fmain_fixture.h"

namespace quorlet {
namespace {

// As main does it: the kit's objects exist while the main window lives and are gone after.
TEST_F(MainWindowTest, ProgramStartsAndQuitsThroughTheKitStartup) {
    {
        TKitStartupScope kit;
        ASSERT_NE(KitApplication, nullptr);
        TMain& w = Open();
        ASSERT_TRUE(w.StartedUp());
        QCoreApplication::processEvents();
        EXPECT_EQ(KitApplication->TimerPool()->MinInterval(), 50);
        w.close();
        window.reset();
        EXPECT_NE(KitApplication, nullptr);
    }
    EXPECT_EQ(KitApplication, nullptr);
    EXPECT_EQ(KitThemeManager, nullptr);
}

} // namespace
} // namespace quorlet
