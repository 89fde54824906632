#include "core/FData.h"

#include "core/autosave.h"

#include "settings/FCap.h"
#include "settings/playerid.h"

namespace quorlet {

TBoardLayer HiddenBoard{};
TBoardLayer VisibleBoard{};
TBoardLayer DrawnBoard{};
TWorkLayer WorkBoard{};

uint8_t GameLevel = glBeginner;
uint8_t LastColumn = 7;
uint8_t LastRow = 7;
uint16_t MineCount = 10;

uint8_t WaitingFirstClick = 0;
uint8_t GameOver = 0;
uint8_t LeftDown = 0;
uint8_t RightDown = 0;
uint8_t MiddleDown = 0;
uint8_t ChordGuard = 0;
uint8_t BoardTouched = 0;
uint8_t ReplayMode = 0;
uint8_t PreviewReplayMode = 0;
uint8_t BossKeyHidden = 0;
uint8_t DebugModeFlag = 0;
uint8_t DebugWindowOn = 0;
uint8_t ReplayVersion = 0;

uint16_t LeftClicks = 0;
uint16_t RightClicks = 0;
uint16_t DoubleClicks = 0;
uint16_t CellsOpenedByLeft = 0;
uint16_t FlagsOnMines = 0;
uint16_t ChordsThatOpened = 0;
uint16_t Solved3BV = 0;
uint16_t OpenedOpenings = 0;
std::array<uint16_t, 9> OpenedNumberCounts{};
uint16_t FlagsPlaced = 0;
std::array<uint16_t, 9> NumberCellCounts{};
uint16_t Board3BV = 0;
uint8_t Openings = 0;
uint8_t Islands = 0;
uint16_t GZiNi = 0;
uint16_t HZiNi = 0;
long double TimeEstimate = 0;
long double MousePathLength = 0;
TCursorPos LastCursorPos{};
std::array<uint32_t, 3> LevelGameCounts{};
std::string BoardString;
std::string GameIdText;
std::string GameEndStamp;

TLogLines DebugLogLines;
TLogLines DebugLogEarlyLines;
uint8_t DebugLogNotifying = 0;
uint64_t MemoryLogAvailable = 0;
uint8_t MemoryLogHour = 60;
uint8_t MemoryLogMinute = 60;
TSystemTime SessionStart{};
uint32_t SessionClicks = 0;

TSystemTime Now{};
std::function<TSystemTime()> SystemTimeSource;
int32_t TimeZoneBias = 0;
std::string TimeZoneName;

std::vector<std::string> BannedWords = DefaultBannedWords();

std::string StartupVideoFile;
std::string ReplayPlayerName;
uint8_t ReplayCountry = 0;
uint8_t MainWindowCreated = 0;

uint32_t RandomSeed = 0;

tOptionsSet Options{};

std::array<std::string, 360> UITextTable = DefaultUITextTable();

TGameClock GameClock{};
uint8_t GameTimerEnabled = 0;
uint32_t GameTimerInterval = 10;

std::array<TVideoEvent, kVideoSlots> VideoEvents{};
uint32_t VideoEventCount = 0;
uint32_t VideoPlaybackIndex = 0;
uint32_t VideoEventsUsed = 0;

uint8_t ProgressBarReady = 0;
uint8_t PlaybackSpeed = 20;
uint32_t VideoFirstClickIndex = kVideoSlots;

std::array<TGameRecord, kHistorySlots> GameHistory{};
std::array<uint8_t, kHistorySlots> HistorySelectionMask{};

uint8_t NewGameFace = 1;
uint8_t LeftDoubleClickCount = 0;
int64_t LeftPressTime = 0;

uint8_t FormulaEvalError = 0;
uint8_t FormulaErrorLogging = 0;
uint16_t FormulaMaxDepth = 0;
std::array<std::string, kCounterRows> CounterLabels{};
std::array<std::string, kCounterRows> CounterValues{};
int32_t CounterRowsShown = 0;
std::vector<std::string> CountersTemplateLines;
uint8_t OptionsWindowCreated = 0;
uint16_t HotKeyIdCounter = 0;
uint8_t CountersWindowCreated = 0;
uint8_t CountersTemplatePending = 0;
std::vector<std::string> AutosaveTemplateLines = DefaultAutosaveTemplate();
uint8_t AutosaveTemplateUnread = 1;
uint8_t CountersLaidOutOnce = 0;

TKitApplication* KitApplication = nullptr;
TKitThemeManager* KitThemeManager = nullptr;
TKitContainer* KitGlobalContainer = nullptr;
uint32_t KitVersionFlags = 0;
std::map<std::string, std::function<std::unique_ptr<TKitListItem>()>> KitItemClasses;
std::map<std::string, std::function<std::unique_ptr<TKitObject>()>> KitSettingClasses;
std::vector<std::pair<std::string, std::array<uint8_t, 7>>> KitControlStates;

void ResetGlobals() {
    // ---- Counter formulas and counters ----
    FormulaEvalError = FormulaErrorLogging = 0;
    FormulaMaxDepth = 0;
    CounterLabels.fill(std::string());
    CounterValues.fill(std::string());
    CounterRowsShown = 0;
    CountersTemplateLines.clear();
    AutosaveTemplateLines = DefaultAutosaveTemplate();
    AutosaveTemplateUnread = 1;
    OptionsWindowCreated = CountersWindowCreated = 0;
    CountersTemplatePending = CountersLaidOutOnce = 0;

    // ---- Game clock, video, history, mouse input ----
    GameClock = {};
    GameTimerEnabled = 0;
    GameTimerInterval = 10;
    VideoEvents.fill(TVideoEvent{});
    VideoEventCount = VideoPlaybackIndex = VideoEventsUsed = 0;
    ProgressBarReady = 0;
    PlaybackSpeed = 20;
    VideoFirstClickIndex = kVideoSlots;
    GameHistory.fill(TGameRecord{});
    HistorySelectionMask.fill(0);
    NewGameFace = 1;
    LeftDoubleClickCount = 0;
    LeftPressTime = 0;

    HiddenBoard = {};
    VisibleBoard = {};
    DrawnBoard = {};
    WorkBoard = {};
    GameLevel = glBeginner;
    LastColumn = 7;
    LastRow = 7;
    MineCount = 10;

    WaitingFirstClick = GameOver = LeftDown = RightDown = MiddleDown = 0;
    ChordGuard = BoardTouched = ReplayMode = PreviewReplayMode = BossKeyHidden = 0;
    DebugModeFlag = DebugWindowOn = ReplayVersion = 0;

    LeftClicks = RightClicks = DoubleClicks = CellsOpenedByLeft = FlagsOnMines = 0;
    ChordsThatOpened = Solved3BV = OpenedOpenings = FlagsPlaced = 0;
    OpenedNumberCounts = {};
    NumberCellCounts = {};
    Board3BV = 0;
    Openings = Islands = 0;
    GZiNi = HZiNi = 0;
    TimeEstimate = 0;
    MousePathLength = 0;
    LastCursorPos = {};
    LevelGameCounts = {};
    BoardString.clear();
    GameIdText.clear();
    GameEndStamp.clear();

    DebugLogLines.clear();
    DebugLogEarlyLines.clear();
    DebugLogNotifying = 0;
    MemoryLogAvailable = 0;
    MemoryLogHour = MemoryLogMinute = 60;
    SessionStart = {};
    SessionClicks = 0;

    Now = {};
    SystemTimeSource = nullptr;
    TimeZoneBias = 0;
    TimeZoneName.clear();
    BannedWords = DefaultBannedWords();

    StartupVideoFile.clear();
    ReplayPlayerName.clear();
    ReplayCountry = 0;
    MainWindowCreated = 0;

    RandomSeed = 0;

    Options = tOptionsSet{};
    UITextTable = DefaultUITextTable();
}

} // namespace quorlet
