// A secondary window disables the main window until it hides, whichever way it hides.
#include <gtest/gtest.h>

#include <QDialog>
#include <QTest>

#include "app/secondary.h"
#include "test_fmain_fixture.h"

namespace quorlet {
namespace {

TEST_F(MainWindowTest, SecondaryWindowDisablesTheMainWindowUntilItHides) {
    TMain& main = Open();
    QDialog dialog;
    dialog.resize(200, 100);
    for (int way = 0; way < 3; ++way) {
        ShowSecondaryWindow(&dialog);
        ASSERT_FALSE(main.isEnabled());
        if (way == 0) dialog.hide();
        if (way == 1) QTest::keyClick(&dialog, Qt::Key_Escape);
        if (way == 2) dialog.close();
        EXPECT_TRUE(main.isEnabled()) << "way " << way;
    }
    // Placed centred over the main window, on the screen.
    CenterFormOnMain(&dialog);
    EXPECT_GE(dialog.pos().x(), 0);
    EXPECT_GE(dialog.pos().y(), 0);
}

} // namespace
} // namespace quorlet
