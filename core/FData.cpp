#include "core/FData.h"

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

std::vector<std::string> DebugLogLines;

uint32_t RandomSeed = 0;

tOptionsSet Options{};

void ResetGlobals() {
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

    RandomSeed = 0;

    Options = tOptionsSet{};
}

} // namespace quorlet
