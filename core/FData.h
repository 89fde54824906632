// The game's global state: every subsystem reads and writes these directly on the GUI thread.
// This file is the one home of mutable globals. Each group below belongs to one topic;
// add new globals to the group of their topic (or a new group) and reset them in ResetGlobals.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/loglines.h"
#include "core/video.h"
#include "settings/optionsset.h"
#include "stats/gamerecord.h"

namespace quorlet {

// ---- Board model -------------------------------------------------------------------------

// One byte per cell; the value is also the index of the cell's picture in the skin.
using TCellState = uint8_t;

enum : TCellState {
    csCovered = 9,
    csQuestion = 10,
    csBlasted = 11,
    csWrongMark = 12,
    csMine = 13,
    csPressedQuestion = 14,
    csFlag = 15,
    csPressedCovered = 16,
    csReserved = 17,
};

constexpr int kMaxColumns = 30;
constexpr int kMaxRows = 30;

// Indexed [column][row]; a board uses the first LastColumn+1 columns and LastRow+1 rows.
template <typename T> using TLayer = std::array<std::array<T, kMaxRows>, kMaxColumns>;
using TBoardLayer = TLayer<TCellState>;
using TWorkLayer = TLayer<int32_t>;

extern TBoardLayer HiddenBoard;
extern TBoardLayer VisibleBoard;
extern TBoardLayer DrawnBoard;
extern TWorkLayer WorkBoard;

enum : uint8_t { glBeginner = 0, glIntermediate = 1, glExpert = 2, glCustom = 3 };

extern uint8_t GameLevel;
extern uint8_t LastColumn;
extern uint8_t LastRow;
extern uint16_t MineCount;

// Game-state flags (0 or 1).
extern uint8_t WaitingFirstClick;
extern uint8_t GameOver;
extern uint8_t LeftDown;
extern uint8_t RightDown;
extern uint8_t MiddleDown;
extern uint8_t ChordGuard;
extern uint8_t BoardTouched;
extern uint8_t ReplayMode;
extern uint8_t PreviewReplayMode;
extern uint8_t BossKeyHidden;
extern uint8_t DebugModeFlag;
extern uint8_t DebugWindowOn;
extern uint8_t ReplayVersion;

// Game counters.
extern uint16_t LeftClicks;
extern uint16_t RightClicks;
extern uint16_t DoubleClicks;
extern uint16_t CellsOpenedByLeft;
extern uint16_t FlagsOnMines;
extern uint16_t ChordsThatOpened;
extern uint16_t Solved3BV;
extern uint16_t OpenedOpenings;
extern std::array<uint16_t, 9> OpenedNumberCounts;
extern uint16_t FlagsPlaced;
extern std::array<uint16_t, 9> NumberCellCounts;
extern uint16_t Board3BV;
extern uint8_t Openings;
extern uint8_t Islands;
extern uint16_t GZiNi;
extern uint16_t HZiNi;
extern long double TimeEstimate;
extern long double MousePathLength;
struct TCursorPos {
    uint16_t x = 0;
    uint16_t y = 0;
};
extern TCursorPos LastCursorPos;
extern std::array<uint32_t, 3> LevelGameCounts;
extern std::string BoardString;
extern std::string GameIdText;
extern std::string GameEndStamp;

// ---- Debug log -------------------------------------------------------------------------

// The lines of the debug window, newest first.
extern TLogLines DebugLogLines;
// Lines logged before the debug window exists (plug-ins load before it), newest first; the
// window takes them over when it is created.
extern TLogLines DebugLogEarlyLines;
// Set while the debug window is being told of a change (a line logged then tells it nothing).
extern uint8_t DebugLogNotifying;
// Memory report state: available bytes and the hour and minute of the last entry.
extern uint64_t MemoryLogAvailable;
extern uint8_t MemoryLogHour;
extern uint8_t MemoryLogMinute;
// System time (UTC) taken at start-up, and mouse-up events on the board since then.
struct TSystemTime {
    uint16_t year = 0;
    uint16_t month = 0;
    uint16_t dayOfWeek = 0; // as the clock gave it; UpdateNow does not maintain it
    uint16_t day = 0;
    uint16_t hour = 0;
    uint16_t minute = 0;
    uint16_t second = 0;
    uint16_t milliseconds = 0;
};
extern TSystemTime SessionStart;
extern uint32_t SessionClicks;

// ---- Time and text helpers ---------------------------------------------------------------

// The current local date and time as UpdateNow last set it.
extern TSystemTime Now;
// Where UpdateNow reads the UTC time; empty means the system clock (tests fix "now" here).
extern std::function<TSystemTime()> SystemTimeSource;
// Standard time-zone bias in minutes (UTC = local + bias) and its name, read once at start-up.
extern int32_t TimeZoneBias;
extern std::string TimeZoneName;

// ---- Player-ID word list -----------------------------------------------------------------

// Words refused inside a player ID; upper-cased once at start-up (InitMemoryLogAndWordList).
extern std::vector<std::string> BannedWords;

// ---- Random generator --------------------------------------------------------------------

extern uint32_t RandomSeed;

// ---- Settings ----------------------------------------------------------------------------

extern tOptionsSet Options;

// ---- Interface texts ---------------------------------------------------------------------

// The 360 translatable texts, English at start (keys and defaults: settings/FCap.h).
extern std::array<std::string, 360> UITextTable;

// ---- Game clock --------------------------------------------------------------------------

struct TGameClock {
    uint16_t seconds = 0; // 0..999
    uint8_t hundredths = 0;
};
extern TGameClock GameClock;
// The main window's 10 ms timer is enabled (a queued tick after a disable does nothing).
extern uint8_t GameTimerEnabled;
// The timer's interval in milliseconds: 10 for the game, the speed's interval during playback.
extern uint32_t GameTimerInterval;

// ---- Game video --------------------------------------------------------------------------

extern std::array<TVideoEvent, kVideoSlots> VideoEvents;
extern uint32_t VideoEventCount;
extern uint32_t VideoPlaybackIndex;
// Slots 0 .. VideoEventsUsed - 1 may hold written events; every slot past them is zero, so a
// clear touches only those (the buffer is 7 MB, and a new game used a few hundred).
extern uint32_t VideoEventsUsed;

// ---- Playback ----------------------------------------------------------------------------

// Set once the playback bar window exists; until then its controls are not touched.
extern uint8_t ProgressBarReady;
// Position of the playback bar's speed bar (1..41, 20 is real time).
extern uint8_t PlaybackSpeed;
// Index of the played video's first-click release (its board was made there); past the
// buffer when it has none.
extern uint32_t VideoFirstClickIndex;

// ---- Game history ------------------------------------------------------------------------

extern std::array<TGameRecord, kHistorySlots> GameHistory;
extern std::array<uint8_t, kHistorySlots> HistorySelectionMask;

// ---- Board mouse input -------------------------------------------------------------------

// Picture of the new-game button (imf1 normal, imf2 button down, imf3 won, imf4 lost).
extern uint8_t NewGameFace;
extern uint8_t LeftDoubleClickCount;
// Milliseconds of the first left press after a loss (clearance by double press).
extern int64_t LeftPressTime;

// ---- Counter formulas and counters --------------------------------------------------------

// Set by every formula error; cleared when an evaluation starts.
extern uint8_t FormulaEvalError;
// Formula errors are written to the debug log only while this is on (settings key
// DEBUGSHOWMATHMODULEERRORS).
extern uint8_t FormulaErrorLogging;
// Deepest formula nesting reached since start-up.
extern uint16_t FormulaMaxDepth;
constexpr int kCounterRows = 101;
// The label and value columns built by the latest counters refresh.
extern std::array<std::string, kCounterRows> CounterLabels;
extern std::array<std::string, kCounterRows> CounterValues;
// The rows that refresh filled (the cells past them keep older text).
extern int32_t CounterRowsShown;
// The counters template; the options dialog's memo shows and edits these lines.
extern std::vector<std::string> CountersTemplateLines;
// Set by the options and counters windows when they are created.
extern uint8_t OptionsWindowCreated;
extern uint8_t CountersWindowCreated;
// The template file must be loaded once the options window exists.
extern uint8_t CountersTemplatePending;
extern uint8_t CountersLaidOutOnce;

// ---- Automatic replay saving ---------------------------------------------------------------

// The automatic-saving template (default until its file is loaded); the options dialog's memo
// shows and edits these lines.
extern std::vector<std::string> AutosaveTemplateLines;
// Set until the template file has been read (or the default chosen), and while a file that is
// there could not be read: a file that exists is then never written over.
extern uint8_t AutosaveTemplateUnread;

// ---- Main window -------------------------------------------------------------------------

// The first command-line argument while it may still name a video file to play at start-up.
extern std::string StartupVideoFile;
// Player name of the video being played; empty for the own games.
extern std::string ReplayPlayerName;
// Country number (flag) of the video being played; 0 for none.
extern uint8_t ReplayCountry;
// Set once the main window has been created.
extern uint8_t MainWindowCreated;

// ---- Component kit ----------------------------------------------------------------------

class TKitApplication;
class TKitThemeManager;
class TKitContainer;
class TKitListItem;
class TKitObject;
// Made by KitStartup as children of the application instance, freed by KitShutdown; nothing
// outside the kit reads them, and ResetGlobals leaves them alone.
extern TKitApplication* KitApplication;
extern TKitThemeManager* KitThemeManager;
extern TKitContainer* KitGlobalContainer;
extern uint32_t KitVersionFlags;
// ---- Kit ---------------------------------------------------------------------------------

// The last identifier handed to a global hot key (each instance takes the next).
extern uint16_t HotKeyIdCounter;
// The kit's class registry: list item classes (registered by the first list of their kind)
// and setting classes (registered at start-up; a class without a factory is known by name).
extern std::map<std::string, std::function<std::unique_ptr<TKitListItem>()>> KitItemClasses;
extern std::map<std::string, std::function<std::unique_ptr<TKitObject>()>> KitSettingClasses;
// Control states by name with their 7-byte keys (filled at start-up).
extern std::vector<std::pair<std::string, std::array<uint8_t, 7>>> KitControlStates;

// Puts every global back to its start-of-program value (tests start from here).
void ResetGlobals();

} // namespace quorlet
