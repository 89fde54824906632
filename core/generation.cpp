#include "core/generation.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <string>

#include "core/board.h"
#include "core/clock.h"
#include "core/debuglog.h"
#include "core/metrics.h"
#include "core/random.h"
#include "core/textutil.h"
#include "core/uihooks.h"
#include "core/zini.h"

namespace quorlet {

namespace {

// Draws of the relocation before falling back to a direct pick; far above what any board
// with a free cell outside the clicked column and row needs on average (cells / free cells).
constexpr int kRelocationDraws = 100 * kMaxColumns * kMaxRows;

// Normal play regenerates until the level's minimum 3BV is reached, at most this many boards.
constexpr int kMaxNormalBoards = 1001;

std::string ApplicationTitle() {
    return Options.doProhibitMultInstances ? "Minesweeper Quorlet" : "Minesweeper Quorlet ";
}

void SetCaption(const std::string& caption) {
    if (UiHooks.SetMainCaption) UiHooks.SetMainCaption(caption);
}

bool MeetsLevelMinimum() {
    switch (GameLevel) {
    case glBeginner: return Board3BV >= 2;
    case glIntermediate: return Board3BV >= 30;
    case glExpert: return Board3BV >= 100;
    default: return true;
    }
}

// One search branch: boards until the condition holds or the limit is reached.
struct TSearch {
    const char* words;
    bool (*found)();
    std::string foundText;
    std::string notFoundText;
};

void RunSearch(const TSearch& search, uint8_t column, uint8_t row) {
    const std::string title = ApplicationTitle();
    const int limit = Options.seAttemptsValue * 1000;
    // A changing control character keeps the caption from being matched by outside tools.
    const char code = static_cast<char>(Random(5) + 2);
    SetCaption(title + code + search.words);
    int boards = 0;
    do {
        GenerateBoardForClick(column, row);
        ++boards;
    } while (!search.found() && boards < limit);
    const bool found = search.found();
    DebugLog((found ? search.foundText : search.notFoundText) + " " + std::to_string(boards) + " attempts");
    SetCaption(title);
}

const std::string& LevelName() {
    switch (GameLevel) {
    case glBeginner: return Options.BegName;
    case glIntermediate: return Options.IntName;
    case glExpert: return Options.ExpName;
    default: return Options.CusName;
    }
}

std::string BuildBoardString() {
    std::string text;
    text.reserve(4 + 2 * static_cast<size_t>(MineCount));
    text += static_cast<char>(LastColumn + 1);
    text += static_cast<char>(LastRow + 1);
    text += static_cast<char>(MineCount >> 8);
    text += static_cast<char>(MineCount & 0xFF);
    for (int c = 0; c <= LastColumn; ++c) {
        for (int r = 0; r <= LastRow; ++r) {
            if (HiddenBoard[c][r] != csMine) continue;
            text += static_cast<char>(c);
            text += static_cast<char>(r);
        }
    }
    return text;
}

std::string BuildGameIdText() {
    std::string text = std::to_string(GameLevel);
    text += '|';
    if (GameLevel == glCustom) {
        char size[32];
        std::snprintf(size, sizeof size, "W%dH%dM%u|", LastColumn + 1, LastRow + 1, unsigned(MineCount));
        text += size;
    }
    char date[40];
    std::snprintf(date, sizeof date, "%u.%u.%u.", unsigned(Now.day), unsigned(Now.month), unsigned(Now.year));
    text += date;
    text += FormatClockTime(Now.hour, Now.minute, Now.second);
    char ms[8];
    std::snprintf(ms, sizeof ms, ":%03u", unsigned(Now.milliseconds % 1000));
    text += ms;
    return text;
}

// The counters of marks set before the first click were judged against the previous game's
// mines; count them again on the new board.
void RecountFlags() {
    uint16_t placed = 0;
    uint16_t onMines = 0;
    for (int c = 0; c <= LastColumn; ++c) {
        for (int r = 0; r <= LastRow; ++r) {
            if (VisibleBoard[c][r] != csFlag) continue;
            ++placed;
            if (HiddenBoard[c][r] == csMine) ++onMines;
        }
    }
    FlagsOnMines = onMines;
    if (Options.doAutoFlag) FlagsPlaced = placed;
}

} // namespace

int MaxPlaceableMines() {
    return (LastColumn + 1) * (LastRow + 1) - 1;
}

int PlaceHiddenMines(uint16_t count, uint16_t* placed) {
    for (int c = 0; c <= LastColumn; ++c)
        for (int r = 0; r <= LastRow; ++r)
            HiddenBoard[c][r] = csCovered;
    const int target = std::min<int>(count, MaxPlaceableMines());
    const uint32_t columns = LastColumn + 1u;
    const uint32_t rows = LastRow + 1u;
    for (int n = 0; n < target;) {
        const uint32_t c = Random(columns);
        const uint32_t r = Random(rows);
        if (HiddenBoard[c][r] == csMine) continue;
        HiddenBoard[c][r] = csMine;
        if (placed) placed[n] = static_cast<uint16_t>(c * kMaxRows + r);
        ++n;
    }
    return target;
}

void PlaceMines(uint16_t count) {
    if (PlaceHiddenMines(count) < count) {
        DebugLog("fatal error: can not generate board");
        SaveDebugLog();
    }
    for (int c = 0; c <= LastColumn; ++c) {
        for (int r = 0; r <= LastRow; ++r) {
            TCellState& cell = VisibleBoard[c][r];
            if (cell != csQuestion && cell != csPressedQuestion && cell != csFlag) cell = csCovered;
        }
    }
}

void MoveMineFromClickedCell(uint8_t column, uint8_t row) {
    if (!InBoard(column, row) || HiddenBoard[column][row] != csMine) return;
    const uint32_t columns = LastColumn + 1u;
    const uint32_t rows = LastRow + 1u;
    int freeOutside = 0;
    for (uint32_t c = 0; c < columns; ++c)
        for (uint32_t r = 0; r < rows; ++r)
            if (c != column && r != row && HiddenBoard[c][r] != csMine) ++freeOutside;
    auto move = [&](uint32_t c, uint32_t r) {
        HiddenBoard[c][r] = csMine;
        HiddenBoard[column][row] = csCovered;
    };
    if (freeOutside > 0) {
        for (int draw = 0; draw < kRelocationDraws; ++draw) {
            const uint32_t c = Random(columns);
            const uint32_t r = Random(rows);
            if (c == column || r == row || HiddenBoard[c][r] == csMine) continue;
            move(c, r);
            return;
        }
    }
    // Dense board (or unlucky draws): pick one of the allowed free cells directly.
    const bool outsideOnly = freeOutside > 0;
    int candidates = 0;
    auto allowed = [&](uint32_t c, uint32_t r) {
        if (HiddenBoard[c][r] == csMine) return false;
        return outsideOnly ? c != column && r != row : true;
    };
    for (uint32_t c = 0; c < columns; ++c)
        for (uint32_t r = 0; r < rows; ++r)
            if (allowed(c, r)) ++candidates;
    if (candidates == 0) return; // a board of mines only; PlaceHiddenMines never builds one
    uint32_t pick = Random(static_cast<uint32_t>(candidates));
    for (uint32_t c = 0; c < columns; ++c) {
        for (uint32_t r = 0; r < rows; ++r) {
            if (!allowed(c, r)) continue;
            if (pick-- == 0) {
                move(c, r);
                return;
            }
        }
    }
}

void GenerateBoardForClick(uint8_t column, uint8_t row) {
    PlaceMines(MineCount);
    MoveMineFromClickedCell(column, row);
    ComputeNumbers();
}

void GenerateFirstClickBoard(uint8_t column, uint8_t row, TCursorPos releasePos) {
    try {
        const std::string title = ApplicationTitle();
        SetCaption(title);

        const std::string v3 = std::to_string(Options.se3BVValue);
        const std::string v3low = std::to_string(Options.se3BVValue2);
        if (Options.doMustHave7) {
            RunSearch({" - searching \"7\"", BoardHasSeven, "board with \"7\" was generated with",
                       "board with \"7\" was not generated with"},
                      column, row);
        } else if (Options.doMustHave8) {
            RunSearch({" - searching \"8\"", BoardHasEight, "board with \"8\" was generated with",
                       "board with \"8\" was not generated with"},
                      column, row);
        } else if (Options.doApprox3BV) {
            RunSearch({" - searching 3BV", [] { return Board3BV <= Options.se3BVValue; },
                       "3bv <= " + v3 + " board was generated with",
                       "3bv <= " + v3 + " board was not generated with"},
                      column, row);
        } else if (Options.doApprox3BV2) {
            RunSearch({" - searching 3BV", [] { return Board3BV >= Options.se3BVValue2; },
                       "3bv >= " + v3low + " board was generated with",
                       "3bv >= " + v3low + " board was not generated with"},
                      column, row);
        } else {
            int boards = 0;
            do {
                GenerateBoardForClick(column, row);
                ++boards;
            } while (!MeetsLevelMinimum() && boards < kMaxNormalBoards);
        }

        CalcZiNi();

        if (Options.doShowMinesPos) {
            for (int c = 0; c <= LastColumn; ++c)
                for (int r = 0; r <= LastRow; ++r)
                    if (HiddenBoard[c][r] == csMine) VisibleBoard[c][r] = csMine;
        }

        NumberCellCounts = {};
        OpenedNumberCounts = {};
        BoardString = BuildBoardString();
        for (int c = 0; c <= LastColumn; ++c)
            for (int r = 0; r <= LastRow; ++r)
                if (IsNumberState(HiddenBoard[c][r])) ++NumberCellCounts[HiddenBoard[c][r]];

        Islands = CountIslands();
        EstimateTime();

        if (Options.doAutoFlag) {
            for (int c = 0; c <= LastColumn; ++c)
                for (int r = 0; r <= LastRow; ++r)
                    VisibleBoard[c][r] = HiddenBoard[c][r] == csMine ? csFlag : csCovered;
            DebugLog("flags auto set complete");
        }
        RecountFlags();

        DebugLog("game start on " + LevelName() + " board " + std::to_string(LastColumn + 1) + "x" +
                 std::to_string(LastRow + 1) + ", " + std::to_string(MineCount) + " mines");

        // TODO(stats): show or hide the counters window by doShowCounters once it exists.

        UpdateNow();
        GameIdText = BuildGameIdText();
        GameEndStamp.clear();

        LastCursorPos = releasePos;
        MousePathLength = 0;
        StartGameClock();

        WaitingFirstClick = 0;
        BoardTouched = 0;
    } catch (const std::exception& e) {
        DebugLog(std::string("# board generation failed: ") + e.what());
    }
}

} // namespace quorlet
