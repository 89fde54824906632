// The settings record: every user option. A fresh record is all zero with empty texts, as at
// program start; ApplyDefaultSettings (settings/options.h) stores the defaults.
#pragma once

#include <cstdint>
#include <string>

namespace quorlet {

// Fields in record order. bool = 0/1, byte = uint8_t, word = uint16_t, short = int16_t, int = int32_t.
struct tOptionsSet {
    uint8_t CounterRefresh = 0; // counters refresh divisor in clock ticks; 0 in a file becomes 10
    uint8_t cbIRCColor1 = 0;    // chat colours: index into the 16 colour names
    uint8_t cbIRCColor2 = 0;
    uint8_t doIRCtype = 0; // 0 mIRC colour codes, 1 CGI colour codes, 2 plain text
    bool cbBlastedCopyTemplate = false;
    bool cbFinishedCopyTemplate = false;
    bool cbUseSmiles = false;
    bool cbCountersExcludeList = false;
    std::string mCntExcludeList; // names joined by the two characters '\\' 'n', one line
    bool cbSilentMode = false;
    bool ShowIDText = false;
    std::string UserIDText; // at most 256 characters
    bool doHistoryLog = false;
    bool doDotSeparator = false;
    bool doCalculateCounters = false;
    std::string ReplayName;     // at most 50
    std::string BegName;        // at most 16
    std::string IntName;        // at most 16
    std::string ExpName;        // at most 16
    std::string CusName;        // at most 16
    std::string ReplayFileName; // at most 128
    uint8_t CountryNumber = 0;  // place in the country table, 0..83
    int16_t CustomTimeZone = 0; // hours added to the system time, -12..13 after ClampOptions
    uint8_t DateOrder = 0;      // 0 day.month.year, 1 month.day.year; never saved
    std::string CursorFileName; // file name only, in the program folder
    uint8_t doStartUpMode = 0;  // level at start: 0 Beginner, 1 Intermediate, 2 Expert
    uint8_t skinNumber = 0;
    uint8_t skinTimerNumber = 0;
    bool doMarks = false;
    bool doShowTenths = false;
    bool doTimer = false;
    bool doShowCounters = false;
    bool doBoardClearance = false;
    bool doClearanceOnMiddleBtn = false;
    bool doClearanceOnLeftBtn = false;
    bool doFillFlags = false;
    bool doShowEquals = false;
    bool doShowCountersTitle = false;
    bool doShowCntGreenBorder = false;
    bool doCountersOnFinish = false;
    bool doCountersOnEnd = false;
    uint8_t seClearanceCompl = 0; // percent, at most 100
    bool doForcedNewGame = false;
    bool doBeepIfTimeExceedsValues = false;
    uint16_t doFNGB = 0; // time limits in seconds; below 2 becomes 999
    uint16_t doFNGI = 0;
    uint16_t doFNGE = 0;
    bool doDisableTimer = false;
    bool doRecorderStyleTimer = false;
    bool doAutoFlag = false;
    bool doDisableGroupOpen = false;
    bool doDisableRightClicks = false;
    bool doInfiniteLives = false;
    bool doShowProbabilities = false;
    bool doShowMinesPos = false;
    bool doShow3BVAfterGameStart = false;
    bool doMustHave7 = false;
    bool doMustHave8 = false;
    bool doApprox3BV = false;
    bool doApprox3BV2 = false;
    uint16_t se3BVValue = 0;     // 3BV upper bound, at most 640
    uint16_t se3BVValue2 = 0;    // 3BV lower bound, 0 becomes 1
    uint8_t seAttemptsValue = 0; // generation attempts in thousands, at most 50
    bool doHighPriority = false;
    bool doEnableBossKey = false;
    bool doClipCursor = false;
    bool doBitBlt = false;
    bool doProhibitMultInstances = false;
    bool doSeekPlugins = false;
    std::string langFileName; // file name only, in the program folder
    bool doCond = false;
    bool doBlockChat = false;
    bool doProcListGrab = false;
    bool doSysInfGrab = false;
    std::string LastPath;    // the program folder, with a trailing "/"
    std::string ExeFileName; // upper-cased file name of the running program
    std::string hsBegTime;
    std::string hsBeg3bvs;
    std::string hsBegName;
    std::string hsBegJump;
    std::string hsIntTime;
    std::string hsInt3bvs;
    std::string hsIntName;
    std::string hsIntJump;
    std::string hsExpTime;
    std::string hsExp3bvs;
    std::string hsExpName;
    std::string hsExpJump;
    int32_t posMainX = 0;
    int32_t posMainY = 0;
    int32_t posCountersX = 0;
    int32_t posCountersY = 0;
    int32_t posProgressBarX = 0;
    int32_t posProgressBarY = 0;
    int32_t posHistX = 0;
    int32_t posHistY = 0;
    int32_t posHistW = 0;
    int32_t posHistH = 0;
    uint8_t widthCr1 = 0; // counters grid column widths in pixels, at most 150
    uint8_t widthCr2 = 0;
    uint8_t heightCr3 = 0; // counters grid rows, at most 25
    bool ShowMousePath = false;
    bool ShowDownState = false;
    bool ShowLeftCl = false;
    bool ShowRightCl = false;
    bool ShowDoubleCl = false;
    bool DoChangeLayout = false;
    bool DarkenBoard = false;
    bool mpShowCells = false;
    uint8_t mPathColor = 0; // index into the 14 colour names
    uint8_t mpLColor = 0;
    uint8_t mpRColor = 0;
    uint8_t mpDColor = 0;

    bool operator==(const tOptionsSet&) const = default;
};

} // namespace quorlet
