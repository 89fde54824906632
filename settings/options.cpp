#include "settings/options.h"

#include <algorithm>
#include <tuple>
#include <type_traits>

#include "core/FData.h"
#include "core/debuglog.h"
#include "core/textutil.h"
#include "settings/FCap.h"

namespace quorlet {

namespace {

struct TOptionDefault {
    TOptionRef Field;
    int32_t Number = 0;
    const char* Text = nullptr;
};

using O = tOptionsSet;

// Groups in the order the defaults are stored; the order matters only where a later step reads
// an earlier value (the separator of the record texts, the cursor file).
constexpr TOptionDefault kMouseChartAndChatDefaults[] = {
    {&O::DoChangeLayout, 1},
    {&O::DarkenBoard, 1},
    {&O::mpShowCells, 1},
    {&O::ShowMousePath, 1},
    {&O::ShowDownState, 1},
    {&O::ShowLeftCl, 1},
    {&O::ShowRightCl, 1},
    {&O::ShowDoubleCl, 1},
    {&O::mPathColor, 0},
    {&O::mpLColor, 3},
    {&O::mpRColor, 8},
    {&O::mpDColor, 7},
    {&O::doIRCtype, 2},
    {&O::cbIRCColor1, 0},
    {&O::cbIRCColor2, 0},
    {&O::cbBlastedCopyTemplate, 0},
    {&O::cbFinishedCopyTemplate, 1},
    {&O::cbUseSmiles, 1},
    {&O::cbCountersExcludeList, 1},
    {&O::mCntExcludeList, 0, "debug\\nleft\\nright\\ndouble\\n"},
    {&O::cbSilentMode, 0},
};

constexpr TOptionDefault kPositionDefaults[] = {
    {&O::posCountersX, 158},  {&O::posCountersY, 52}, {&O::posProgressBarX, 0},
    {&O::posProgressBarY, 0}, {&O::posHistX, 0},      {&O::posHistY, 0},
};

constexpr TOptionDefault kPlayerDefaults[] = {
    {&O::ShowIDText, 1},
    {&O::UserIDText, 0, "Anonymous! Press F5 for Setup"},
    {&O::doHistoryLog, 1},
    {&O::doDotSeparator, 0},
    {&O::doCalculateCounters, 0},
    {&O::ReplayName, 0, "Anonymous"},
    {&O::BegName, 0, "Beg"},
    {&O::IntName, 0, "Int"},
    {&O::ExpName, 0, "Exp"},
    {&O::CusName, 0, "Cus"},
    {&O::ReplayFileName, 0, "<mode>_<time>_3BV=<3bv>_3BVs=<3bv/s>_<name>"},
    {&O::CountryNumber, 0},
    {&O::CustomTimeZone, 0},
    {&O::CursorFileName, 0, ""},
};

constexpr TOptionDefault kGameStyleDefaults[] = {
    {&O::doStartUpMode, 0},
    {&O::skinNumber, 0},
    {&O::skinTimerNumber, 0},
    {&O::doMarks, 0},
    {&O::doRecorderStyleTimer, 0},
    {&O::doShowTenths, 0},
    {&O::doTimer, 1},
    {&O::doBoardClearance, 0},
    {&O::seClearanceCompl, 10},
    {&O::doClearanceOnMiddleBtn, 0},
    {&O::doClearanceOnLeftBtn, 0},
    {&O::doFillFlags, 1},
    {&O::doShowEquals, 1},
    {&O::doForcedNewGame, 0},
    {&O::doFNGB, 999},
    {&O::doFNGI, 999},
    {&O::doFNGE, 999},
    {&O::doBeepIfTimeExceedsValues, 0},
};

constexpr TOptionDefault kCheatModeDefaults[] = {
    {&O::doDisableTimer, 0},     {&O::doAutoFlag, 0},
    {&O::doDisableGroupOpen, 0}, {&O::doDisableRightClicks, 0},
    {&O::doInfiniteLives, 0},    {&O::doShowProbabilities, 0},
    {&O::doShowMinesPos, 0},     {&O::doShow3BVAfterGameStart, 0},
    {&O::doApprox3BV, 0},        {&O::doApprox3BV2, 0},
    {&O::doMustHave7, 0},        {&O::doMustHave8, 0},
    {&O::se3BVValue, 200},       {&O::se3BVValue2, 1},
    {&O::seAttemptsValue, 1},
};

constexpr TOptionDefault kCounterDefaults[] = {
    {&O::widthCr1, 60},          {&O::widthCr2, 60},           {&O::heightCr3, 10},
    {&O::doShowCounters, 1},     {&O::doShowCountersTitle, 1}, {&O::doShowCntGreenBorder, 1},
    {&O::doCountersOnFinish, 0}, {&O::doCountersOnEnd, 0},
};

constexpr TOptionDefault kSystemToMultiplayerDefaults[] = {
    {&O::doHighPriority, 1},
    {&O::doBitBlt, 1},
    {&O::doEnableBossKey, 1},
    {&O::doClipCursor, 0},
    {&O::doProhibitMultInstances, 1},
    {&O::doSeekPlugins, 0},
    {&O::langFileName, 0, "_english.lng"},
    {&O::doCond, 1},
    {&O::doBlockChat, 0},
    {&O::doProcListGrab, 0},
    {&O::doSysInfGrab, 0},
};

template <size_t N> void StoreDefaults(const TOptionDefault (&table)[N]) {
    for (const TOptionDefault& d : table) {
        std::visit(
            [&d](auto member) {
                using T = std::remove_reference_t<decltype(Options.*member)>;
                if constexpr (std::is_same_v<T, std::string>)
                    Options.*member = d.Text ? d.Text : "";
                else
                    Options.*member = static_cast<T>(d.Number);
            },
            d.Field);
    }
}

void StoreRecordTexts() {
    const std::string sep = Options.doDotSeparator ? "." : ",";
    for (auto [time, name, jump, speed, speedDecimals] :
         {std::tuple{&O::hsBegTime, &O::hsBegName, &O::hsBegJump, &O::hsBeg3bvs, "999"},
          std::tuple{&O::hsIntTime, &O::hsIntName, &O::hsIntJump, &O::hsInt3bvs, "999"},
          std::tuple{&O::hsExpTime, &O::hsExpName, &O::hsExpJump, &O::hsExp3bvs, "99"}}) {
        Options.*time = "999" + sep + "99";
        Options.*name = "Anonymous";
        Options.*jump = "0" + sep + "00";
        Options.*speed = "999" + sep + speedDecimals;
    }
}

} // namespace

std::optional<TScreenSize> CurrentScreenSize() {
    if (!UiHooks.ScreenSize) return std::nullopt;
    return UiHooks.ScreenSize();
}

void ApplyDefaultSettings() {
    StoreDefaults(kMouseChartAndChatDefaults);

    StoreDefaults(kPositionDefaults);
    // Not a default the player resets, but the counters refresh divides by it.
    if (Options.CounterRefresh == 0) Options.CounterRefresh = 10;
    // Without a screen the caps alone decide.
    const TScreenSize screen = CurrentScreenSize().value_or(TScreenSize{800, 600});
    Options.posHistW = std::min<int32_t>(screen.Width, 800);
    Options.posHistH = std::min<int32_t>(screen.Height, 600);

    // The player group also switches the decimal separator off, so the record texts below use ",".
    StoreDefaults(kPlayerDefaults);
    LoadExternalCursor(); // the cursor file was just emptied
    StoreRecordTexts();
    StoreDefaults(kGameStyleDefaults);
    StoreDefaults(kCheatModeDefaults);
    StoreDefaults(kCounterDefaults);
    StoreDefaults(kSystemToMultiplayerDefaults);

    SetDefaultTexts();
    DebugLog("default preferences applied");
}

void ClampOptions() {
    Options.CustomTimeZone = std::clamp<int16_t>(Options.CustomTimeZone, -12, 13);
    Options.seClearanceCompl = std::min<uint8_t>(Options.seClearanceCompl, 100);
    for (uint16_t O::*limit : {&O::doFNGB, &O::doFNGI, &O::doFNGE})
        if (Options.*limit < 2) Options.*limit = 999;
    Options.se3BVValue = std::min<uint16_t>(Options.se3BVValue, 640);
    if (Options.se3BVValue2 == 0) Options.se3BVValue2 = 1;
    Options.seAttemptsValue = std::min<uint8_t>(Options.seAttemptsValue, 50);
    Options.widthCr1 = std::min<uint8_t>(Options.widthCr1, 150);
    Options.widthCr2 = std::min<uint8_t>(Options.widthCr2, 150);
    Options.heightCr3 = std::min<uint8_t>(Options.heightCr3, 25);
}

void KeepOnScreen(TWindowRect& window, const TScreenSize& screen) {
    if (window.Left < 0) window.Left = 0;
    if (screen.Width - window.Width < window.Left) window.Left = screen.Width - window.Width;
    if (window.Top < 0) window.Top = 0;
    if (screen.Height - window.Height < window.Top) window.Top = screen.Height - window.Height;
}

void KeepInsideArea(TWindowRect& window, const TWindowRect& area) {
    window.Left -= area.Left;
    window.Top -= area.Top;
    KeepOnScreen(window, TScreenSize{area.Width, area.Height});
    window.Left += area.Left;
    window.Top += area.Top;
}

TWindowRect CenterOnMain(const TWindowRect& main, int32_t width, int32_t height, const TScreenSize& screen) {
    // Exact halves: trunc(left + w / 2 - width / 2) over the real numbers.
    const auto half = [](int32_t origin, int32_t outer, int32_t inner) {
        const int64_t twice = 2 * int64_t{origin} + outer - inner;
        return static_cast<int32_t>(twice / 2);
    };
    TWindowRect rect{half(main.Left, main.Width, width), half(main.Top, main.Height, height), width, height};
    KeepOnScreen(rect, screen);
    return rect;
}

TWindowRect PlaceWindow(int32_t left, int32_t top, int32_t width, int32_t height, const TScreenSize& screen) {
    TWindowRect rect{left, top, width, height};
    KeepOnScreen(rect, screen);
    return rect;
}

void RestoreWindowPositions() {
    if (!UiHooks.WindowRect || !UiHooks.MoveWindow) return;
    const std::optional<TScreenSize> screen = CurrentScreenSize();
    const struct {
        TWindowKind Kind;
        int32_t Left;
        int32_t Top;
    } targets[] = {
        {TWindowKind::Main, Options.posMainX, Options.posMainY},
        {TWindowKind::ProgressBar, Options.posProgressBarX, Options.posProgressBarY},
        {TWindowKind::Counters, Options.posCountersX, Options.posCountersY},
    };
    for (const auto& target : targets) {
        std::optional<TWindowRect> rect = UiHooks.WindowRect(target.Kind);
        if (!rect) continue; // not created yet
        rect->Left = target.Left;
        rect->Top = target.Top;
        if (screen) KeepOnScreen(*rect, *screen);
        UiHooks.MoveWindow(target.Kind, rect->Left, rect->Top);
    }
}

} // namespace quorlet
