#include <algorithm>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/FData.h"
#include "core/uihooks.h"
#include "settings/FCap.h"
#include "settings/options.h"
#include "tests/testutil.h"

namespace quorlet {
namespace {

using O = tOptionsSet;

class OptionsTest : public test::EngineTest {
  protected:
    void SetScreen(int32_t width, int32_t height) {
        UiHooks.ScreenSize = [width, height] {
            return std::optional<TScreenSize>(TScreenSize{width, height});
        };
    }
};

struct TExpectedDefault {
    TOptionRef Field;
    int64_t Number;
    const char* Text;
};

// The value of a field as a number, or its text, for comparing against a table.
std::string Describe(const TOptionRef& field) {
    return std::visit(
        [](auto member) -> std::string {
            using T = std::remove_cvref_t<decltype(Options.*member)>;
            if constexpr (std::is_same_v<T, std::string>)
                return "\"" + Options.*member + "\"";
            else
                return std::to_string(static_cast<int64_t>(Options.*member));
        },
        field);
}

std::string Describe(const TExpectedDefault& expected) {
    return expected.Text ? "\"" + std::string(expected.Text) + "\"" : std::to_string(expected.Number);
}

// Every field with a default, in record order (the screen-sized history window is tested below).
const TExpectedDefault kEveryDefault[] = {
    {&O::cbIRCColor1, 0, nullptr},
    {&O::cbIRCColor2, 0, nullptr},
    {&O::doIRCtype, 2, nullptr},
    {&O::cbBlastedCopyTemplate, 0, nullptr},
    {&O::cbFinishedCopyTemplate, 1, nullptr},
    {&O::cbUseSmiles, 1, nullptr},
    {&O::cbCountersExcludeList, 1, nullptr},
    {&O::mCntExcludeList, 0, "debug\\nleft\\nright\\ndouble\\n"},
    {&O::cbSilentMode, 0, nullptr},
    {&O::ShowIDText, 1, nullptr},
    {&O::UserIDText, 0, "Anonymous! Press F5 for Setup"},
    {&O::doHistoryLog, 1, nullptr},
    {&O::doDotSeparator, 0, nullptr},
    {&O::doCalculateCounters, 0, nullptr},
    {&O::ReplayName, 0, "Anonymous"},
    {&O::BegName, 0, "Beg"},
    {&O::IntName, 0, "Int"},
    {&O::ExpName, 0, "Exp"},
    {&O::CusName, 0, "Cus"},
    {&O::ReplayFileName, 0, "<mode>_<time>_3BV=<3bv>_3BVs=<3bv/s>_<name>"},
    {&O::CountryNumber, 0, nullptr},
    {&O::CustomTimeZone, 0, nullptr},
    {&O::CursorFileName, 0, ""},
    {&O::doStartUpMode, 0, nullptr},
    {&O::skinNumber, 0, nullptr},
    {&O::skinTimerNumber, 0, nullptr},
    {&O::doMarks, 0, nullptr},
    {&O::doShowTenths, 0, nullptr},
    {&O::doTimer, 1, nullptr},
    {&O::doShowCounters, 1, nullptr},
    {&O::doBoardClearance, 0, nullptr},
    {&O::doClearanceOnMiddleBtn, 0, nullptr},
    {&O::doClearanceOnLeftBtn, 0, nullptr},
    {&O::doFillFlags, 1, nullptr},
    {&O::doShowEquals, 1, nullptr},
    {&O::doShowCountersTitle, 1, nullptr},
    {&O::doShowCntGreenBorder, 1, nullptr},
    {&O::doCountersOnFinish, 0, nullptr},
    {&O::doCountersOnEnd, 0, nullptr},
    {&O::seClearanceCompl, 10, nullptr},
    {&O::doForcedNewGame, 0, nullptr},
    {&O::doBeepIfTimeExceedsValues, 0, nullptr},
    {&O::doFNGB, 999, nullptr},
    {&O::doFNGI, 999, nullptr},
    {&O::doFNGE, 999, nullptr},
    {&O::doDisableTimer, 0, nullptr},
    {&O::doRecorderStyleTimer, 0, nullptr},
    {&O::doAutoFlag, 0, nullptr},
    {&O::doDisableGroupOpen, 0, nullptr},
    {&O::doDisableRightClicks, 0, nullptr},
    {&O::doInfiniteLives, 0, nullptr},
    {&O::doShowProbabilities, 0, nullptr},
    {&O::doShowMinesPos, 0, nullptr},
    {&O::doShow3BVAfterGameStart, 0, nullptr},
    {&O::doMustHave7, 0, nullptr},
    {&O::doMustHave8, 0, nullptr},
    {&O::doApprox3BV, 0, nullptr},
    {&O::doApprox3BV2, 0, nullptr},
    {&O::se3BVValue, 200, nullptr},
    {&O::se3BVValue2, 1, nullptr},
    {&O::seAttemptsValue, 1, nullptr},
    {&O::doHighPriority, 1, nullptr},
    {&O::doEnableBossKey, 1, nullptr},
    {&O::doClipCursor, 0, nullptr},
    {&O::doBitBlt, 1, nullptr},
    {&O::doProhibitMultInstances, 1, nullptr},
    {&O::doSeekPlugins, 0, nullptr},
    {&O::langFileName, 0, "_english.lng"},
    {&O::doCond, 1, nullptr},
    {&O::doBlockChat, 0, nullptr},
    {&O::doProcListGrab, 0, nullptr},
    {&O::doSysInfGrab, 0, nullptr},
    {&O::hsBegTime, 0, "999,99"},
    {&O::hsBeg3bvs, 0, "999,999"},
    {&O::hsBegName, 0, "Anonymous"},
    {&O::hsBegJump, 0, "0,00"},
    {&O::hsIntTime, 0, "999,99"},
    {&O::hsInt3bvs, 0, "999,999"},
    {&O::hsIntName, 0, "Anonymous"},
    {&O::hsIntJump, 0, "0,00"},
    {&O::hsExpTime, 0, "999,99"},
    {&O::hsExp3bvs, 0, "999,99"}, // two decimals on Expert
    {&O::hsExpName, 0, "Anonymous"},
    {&O::hsExpJump, 0, "0,00"},
    {&O::posCountersX, 158, nullptr},
    {&O::posCountersY, 52, nullptr},
    {&O::posProgressBarX, 0, nullptr},
    {&O::posProgressBarY, 0, nullptr},
    {&O::posHistX, 0, nullptr},
    {&O::posHistY, 0, nullptr},
    {&O::widthCr1, 60, nullptr},
    {&O::widthCr2, 60, nullptr},
    {&O::heightCr3, 10, nullptr},
    {&O::ShowMousePath, 1, nullptr},
    {&O::ShowDownState, 1, nullptr},
    {&O::ShowLeftCl, 1, nullptr},
    {&O::ShowRightCl, 1, nullptr},
    {&O::ShowDoubleCl, 1, nullptr},
    {&O::DoChangeLayout, 1, nullptr},
    {&O::DarkenBoard, 1, nullptr},
    {&O::mpShowCells, 1, nullptr},
    {&O::mPathColor, 0, nullptr},
    {&O::mpLColor, 3, nullptr},
    {&O::mpRColor, 8, nullptr},
    {&O::mpDColor, 7, nullptr},
};

// Stores a value that differs from the expected default, so a default never stored shows up.
void StoreOtherValue(const TExpectedDefault& expected) {
    std::visit(
        [&expected](auto member) {
            using T = std::remove_cvref_t<decltype(Options.*member)>;
            if constexpr (std::is_same_v<T, std::string>)
                Options.*member = std::string(expected.Text) + "junk";
            else if constexpr (std::is_same_v<T, bool>)
                Options.*member = expected.Number == 0;
            else
                Options.*member = static_cast<T>(expected.Number + 1);
        },
        expected.Field);
}

TEST_F(OptionsTest, DefaultsStoreEveryGroupsValues) {
    for (const TExpectedDefault& expected : kEveryDefault)
        StoreOtherValue(expected);
    ApplyDefaultSettings();
    for (size_t i = 0; i < std::size(kEveryDefault); ++i)
        EXPECT_EQ(Describe(kEveryDefault[i].Field), Describe(kEveryDefault[i])) << "row " << i;
}

// The fault guarded: the counters refresh divides by CounterRefresh, which the defaults left at 0.
TEST_F(OptionsTest, DefaultsGiveTheCountersRefreshANonZeroDivisor) {
    Options.CounterRefresh = 0;
    ApplyDefaultSettings();
    EXPECT_EQ(Options.CounterRefresh, 10);
    // A refresh the player set is not a default: it stays.
    Options.CounterRefresh = 25;
    ApplyDefaultSettings();
    EXPECT_EQ(Options.CounterRefresh, 25);
}

TEST_F(OptionsTest, DefaultsReloadTheCursorAndResetTheTexts) {
    Options.CursorFileName = "cursor.png";
    std::ofstream(Home() + "cursor.png") << "x";
    UiHooks.PictureSize = [](const std::string&, int32_t& w, int32_t& h) {
        w = h = 16;
        return true;
    };
    std::vector<std::string> cursors;
    UiHooks.SetReplayCursor = [&](const std::string& path) { cursors.push_back(path); };
    UITextTable[0] = "changed by a language file";
    ApplyDefaultSettings();
    EXPECT_EQ(cursors, std::vector<std::string>{""}); // the emptied name: the built-in picture
    EXPECT_EQ(UITextTable, DefaultUITextTable());
}

TEST_F(OptionsTest, DefaultsLeaveStartUpFieldsAndMainPosition) {
    Options.LastPath = "/some/folder/";
    Options.ExeFileName = "QUORLET";
    Options.DateOrder = 1;
    Options.posMainX = 321;
    Options.posMainY = -4;
    ApplyDefaultSettings();
    EXPECT_EQ(Options.LastPath, "/some/folder/");
    EXPECT_EQ(Options.ExeFileName, "QUORLET");
    EXPECT_EQ(Options.DateOrder, 1);
    EXPECT_EQ(Options.posMainX, 321);
    EXPECT_EQ(Options.posMainY, -4);
}

TEST_F(OptionsTest, DefaultRecordTextsUseCommaEvenWhenDotWasOn) {
    Options.doDotSeparator = true;
    ApplyDefaultSettings();
    EXPECT_FALSE(Options.doDotSeparator);
    EXPECT_EQ(Options.hsIntTime, "999,99");
    EXPECT_EQ(Options.hsIntJump, "0,00");
    EXPECT_EQ(Options.hsInt3bvs, "999,999");
    EXPECT_EQ(Options.hsExp3bvs, "999,99");
}

TEST_F(OptionsTest, HistorySizeDefaultsFollowTheScreenUpToTheCaps) {
    struct Case {
        std::optional<TScreenSize> Screen;
        int32_t Width;
        int32_t Height;
    } cases[] = {
        {TScreenSize{1024, 768}, 800, 600},
        {TScreenSize{640, 480}, 640, 480},
        {TScreenSize{800, 600}, 800, 600},
        {std::nullopt, 800, 600},
    };
    for (const Case& c : cases) {
        if (c.Screen)
            SetScreen(c.Screen->Width, c.Screen->Height);
        else
            UiHooks.ScreenSize = nullptr;
        ApplyDefaultSettings();
        EXPECT_EQ(Options.posHistW, c.Width);
        EXPECT_EQ(Options.posHistH, c.Height);
    }
}

TEST_F(OptionsTest, DefaultsAreLogged) {
    DebugWindowOn = 1;
    ApplyDefaultSettings();
    ASSERT_FALSE(DebugLogLines.empty());
    EXPECT_NE(DebugLogLines.front().find("default preferences applied"), std::string::npos);
}

TEST_F(OptionsTest, ClampPullsRangedFieldsIntoTheirLimits) {
    struct Case {
        TOptionRef Field;
        int32_t Stored;
        int32_t Expected;
    } cases[] = {
        {&O::CustomTimeZone, -20, -12},
        {&O::CustomTimeZone, -12, -12},
        {&O::CustomTimeZone, 14, 13},
        {&O::CustomTimeZone, 13, 13},
        {&O::CustomTimeZone, -5, -5},
        {&O::seClearanceCompl, 101, 100},
        {&O::seClearanceCompl, 100, 100},
        {&O::doFNGB, 1, 999},
        {&O::doFNGI, 0, 999},
        {&O::doFNGE, 2, 2},
        {&O::se3BVValue, 641, 640},
        {&O::se3BVValue, 640, 640},
        {&O::se3BVValue2, 0, 1},
        {&O::se3BVValue2, 5, 5},
        {&O::seAttemptsValue, 0, 0},
        {&O::seAttemptsValue, 51, 50},
        {&O::widthCr1, 151, 150},
        {&O::widthCr2, 255, 150},
        {&O::heightCr3, 26, 25},
        {&O::heightCr3, 0, 0},
    };
    for (const Case& c : cases) {
        std::visit(
            [&c](auto member) {
                using T = std::remove_cvref_t<decltype(Options.*member)>;
                if constexpr (!std::is_same_v<T, std::string>) {
                    Options.*member = static_cast<T>(c.Stored);
                    ClampOptions();
                    EXPECT_EQ(static_cast<int32_t>(Options.*member), c.Expected) << "stored " << c.Stored;
                }
            },
            c.Field);
    }
}

TEST_F(OptionsTest, ClampLeavesUnrangedFieldsAlone) {
    Options.skinNumber = 200;
    Options.CountryNumber = 250;
    ClampOptions();
    EXPECT_EQ(Options.skinNumber, 200);
    EXPECT_EQ(Options.CountryNumber, 250);
}

TEST_F(OptionsTest, KeepOnScreenClampsLeftThenRightThenTopThenBottom) {
    struct Case {
        TWindowRect Window;
        TScreenSize Screen;
        int32_t Left;
        int32_t Top;
    } cases[] = {
        {{3000, 10, 200, 100}, {1280, 1024}, 1080, 10},    // past the right edge
        {{-50, -7, 200, 100}, {1280, 1024}, 0, 0},         // above and left of the screen
        {{100, 2000, 200, 100}, {1280, 1024}, 100, 924},   // below the bottom
        {{1080, 924, 200, 100}, {1280, 1024}, 1080, 924},  // exactly in the corner
        {{-10, -10, 1500, 1100}, {1280, 1024}, -220, -76}, // larger than the screen
        {{10, 20, 200, 100}, {1280, 1024}, 10, 20},
    };
    for (const Case& c : cases) {
        TWindowRect window = c.Window;
        KeepOnScreen(window, c.Screen);
        EXPECT_EQ(window.Left, c.Left) << "from " << c.Window.Left;
        EXPECT_EQ(window.Top, c.Top) << "from " << c.Window.Top;
        EXPECT_EQ(window.Width, c.Window.Width);
        EXPECT_EQ(window.Height, c.Window.Height);
    }
}

TEST_F(OptionsTest, KeepInsideAreaClampsToAnAreaAwayFromTheScreenCorner) {
    // A screen of 1280 x 1024 with a 30 px panel at the top and a 40 px one at the left.
    const TWindowRect area{40, 30, 1240, 994};
    struct Case {
        TWindowRect Window;
        int32_t Left;
        int32_t Top;
    } cases[] = {
        {{-58, 85, 269, 121}, 40, 85},       // left of the screen, as a notice over a narrow board
        {{10, 10, 269, 121}, 40, 30},        // under the panels
        {{1200, 1000, 269, 121}, 1011, 903}, // past the right and bottom edges
        {{100, 200, 269, 121}, 100, 200},
    };
    for (const Case& c : cases) {
        TWindowRect window = c.Window;
        KeepInsideArea(window, area);
        EXPECT_EQ(window.Left, c.Left) << "from " << c.Window.Left;
        EXPECT_EQ(window.Top, c.Top) << "from " << c.Window.Top;
        EXPECT_EQ(window.Width, c.Window.Width);
        EXPECT_EQ(window.Height, c.Window.Height);
    }
}

TEST_F(OptionsTest, CenterOnMainHalvesExactlyThenKeepsOnScreen) {
    struct Case {
        TWindowRect Main;
        int32_t Width, Height;
        int32_t Left, Top;
    } cases[] = {
        {{100, 100, 504, 323}, 200, 101, 252, 211},  // odd difference: truncated, not rounded twice
        {{0, 0, 152, 195}, 645, 400, 0, 0},          // wider than the main window at the corner
        {{700, 300, 152, 195}, 645, 400, 155, 197},  // a 645 px frame on an 800 px screen ends at its edge
        {{-300, -300, 152, 195}, 100, 100, 0, 0},
    };
    for (const Case& c : cases) {
        const TWindowRect r = CenterOnMain(c.Main, c.Width, c.Height, TScreenSize{800, 600});
        EXPECT_EQ(r.Left, c.Left) << c.Main.Left << " " << c.Width;
        EXPECT_EQ(r.Top, c.Top) << c.Main.Top << " " << c.Height;
        EXPECT_EQ(r.Width, c.Width);
        EXPECT_EQ(r.Height, c.Height);
    }
}

// Windows as the UI would report them, with a record of every move asked for.
struct FakeWindows {
    std::map<TWindowKind, TWindowRect> Existing;
    std::vector<std::pair<TWindowKind, TWindowRect>> Moves;

    void Install() {
        UiHooks.WindowRect = [this](TWindowKind kind) -> std::optional<TWindowRect> {
            const auto it = Existing.find(kind);
            if (it == Existing.end()) return std::nullopt;
            return it->second;
        };
        UiHooks.MoveWindow = [this](TWindowKind kind, int32_t left, int32_t top) {
            Existing[kind].Left = left;
            Existing[kind].Top = top;
            Moves.push_back({kind, Existing[kind]});
        };
    }
};

TEST_F(OptionsTest, RestoreMovesOnlyExistingWindowsAndKeepsThemOnScreen) {
    SetScreen(1280, 1024);
    FakeWindows windows;
    windows.Existing[TWindowKind::Main] = {0, 0, 300, 400};
    windows.Existing[TWindowKind::Counters] = {0, 0, 150, 200};
    windows.Install();
    Options.posMainX = 3000;
    Options.posMainY = 50;
    Options.posCountersX = -30;
    Options.posCountersY = 900;
    Options.posProgressBarX = 40;
    const tOptionsSet before = Options;

    RestoreWindowPositions();

    ASSERT_EQ(windows.Moves.size(), 2u);
    EXPECT_EQ(windows.Moves[0].first, TWindowKind::Main);
    EXPECT_EQ(windows.Moves[0].second.Left, 980);
    EXPECT_EQ(windows.Moves[0].second.Top, 50);
    EXPECT_EQ(windows.Moves[1].first, TWindowKind::Counters);
    EXPECT_EQ(windows.Moves[1].second.Left, 0);
    EXPECT_EQ(windows.Moves[1].second.Top, 824);
    EXPECT_EQ(Options, before);
}

TEST_F(OptionsTest, RestoreWithoutWindowsDoesNothing) {
    Options.posMainX = 3000;
    RestoreWindowPositions();
    EXPECT_EQ(Options.posMainX, 3000);
}

} // namespace
} // namespace quorlet
