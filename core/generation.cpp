#include "core/generation.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include "core/board.h"
#include "core/clock.h"
#include "core/debuglog.h"
#include "core/metrics.h"
#include "core/newgame.h"
#include "core/random.h"
#include "core/textutil.h"
#include "core/uihooks.h"
#include "core/zini.h"
#include "stats/counters.h"

namespace quorlet {

namespace {

// Draws of the relocation before falling back to a direct pick; far above what any board
// with a free cell outside the clicked column and row needs on average (cells / free cells).
constexpr int kRelocationDraws = 100 * kMaxColumns * kMaxRows;

// Normal play regenerates until the level's minimum 3BV is reached, at most this many boards.
constexpr int kMaxNormalBoards = 1001;

void SetCaption(const std::string& caption) {
    if (UiHooks.SetMainCaption) UiHooks.SetMainCaption(caption);
}

bool MeetsLevelMinimum(uint16_t bbbv) {
    switch (GameLevel) {
    case glBeginner: return bbbv >= 2;
    case glIntermediate: return bbbv >= 30;
    case glExpert: return bbbv >= 100;
    default: return true;
    }
}

// One search branch: boards until the condition holds or the limit is reached. The condition
// looks at the mines only, so a board is written out once it is kept.
struct TSearch {
    const char* words;
    bool (*found)(const TMineBits& mines);
    std::string foundText;
    std::string notFoundText;
};

void RunSearch(const TSearch& search, uint8_t column, uint8_t row) {
    const std::string title = ApplicationTitle();
    const int limit = Options.seAttemptsValue * 1000;
    // A changing control character keeps the caption from being matched by outside tools.
    const char code = static_cast<char>(Random(5) + 2);
    SetCaption(title + code + search.words);
    TMineBits mines;
    int boards = 0;
    bool found = false;
    do {
        DrawBoardForClick(mines, column, row);
        ++boards;
        found = search.found(mines);
    } while (!found && boards < limit);
    KeepBoard(mines);
    DebugLog((found ? search.foundText : search.notFoundText) + " " + std::to_string(boards) + " attempts");
    SetCaption(title);
}

bool HasSeven(const TMineBits& mines) {
    WriteNumbers(mines);
    return BoardHasSeven();
}

bool HasEight(const TMineBits& mines) {
    WriteNumbers(mines);
    return BoardHasEight();
}

bool AtMost3BV(const TMineBits& mines) {
    return Count3BV(mines) <= Options.se3BVValue;
}

bool AtLeast3BV(const TMineBits& mines) {
    return Count3BV(mines) >= Options.se3BVValue2;
}

const std::string& LevelName() {
    switch (GameLevel) {
    case glBeginner: return Options.BegName;
    case glIntermediate: return Options.IntName;
    case glExpert: return Options.ExpName;
    default: return Options.CusName;
    }
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
// mines, and shown mines or auto flags may have replaced flags; count them again on the new board.
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
    FlagsPlaced = placed;
}

// Byte j of entry b is bit j of b: eight rows of a bit column spread into eight cells.
constexpr std::array<uint64_t, 256> kBitBytes = [] {
    std::array<uint64_t, 256> table{};
    for (int b = 0; b < 256; ++b)
        for (int j = 0; j < 8; ++j)
            if ((b >> j) & 1) table[b] |= uint64_t{1} << (8 * j);
    return table;
}();
static_assert(std::endian::native == std::endian::little, "rows are stored as the bytes of a word");

// Rows r0..r0+n-1 (n <= 8) of a column from the bytes of a word, lowest byte first. Only the
// rows of the board are written; a whole word (the usual case) is one store.
void StoreRows(TCellState* column, int r0, int n, uint64_t bytes) {
    if (n == 8)
        std::memcpy(column + r0, &bytes, 8);
    else
        std::memcpy(column + r0, &bytes, static_cast<size_t>(n));
}

void ReportPlacementFailure() {
    DebugLog("fatal error: can not generate board");
    SaveDebugLog();
}

// Marks set before the first click survive a new board.
void CoverVisibleBoard() {
    for (int c = 0; c <= LastColumn; ++c) {
        for (int r = 0; r <= LastRow; ++r) {
            TCellState& cell = VisibleBoard[c][r];
            if (cell != csQuestion && cell != csPressedQuestion && cell != csFlag) cell = csCovered;
        }
    }
}

// Where the mine under (column, row) goes: a free cell outside its column and row found by
// draws (bounded), else one of the free cells picked directly (outside the lines when there is
// one, else any other). False when no cell is free.
template <typename IsMine>
bool FindRelocation(uint8_t column, uint8_t row, IsMine isMine, uint32_t& toColumn, uint32_t& toRow) {
    const uint32_t columns = LastColumn + 1u;
    const uint32_t rows = LastRow + 1u;
    int freeOutside = 0;
    for (uint32_t c = 0; c < columns; ++c)
        for (uint32_t r = 0; r < rows; ++r)
            if (c != column && r != row && !isMine(c, r)) ++freeOutside;
    if (freeOutside > 0) {
        for (int draw = 0; draw < kRelocationDraws; ++draw) {
            const uint32_t c = Random(columns);
            const uint32_t r = Random(rows);
            if (c == column || r == row || isMine(c, r)) continue;
            toColumn = c;
            toRow = r;
            return true;
        }
    }
    // Dense board (or unlucky draws): pick one of the allowed free cells directly.
    const bool outsideOnly = freeOutside > 0;
    auto allowed = [&](uint32_t c, uint32_t r) {
        if (isMine(c, r) || (c == column && r == row)) return false;
        return outsideOnly ? c != column && r != row : true;
    };
    int candidates = 0;
    for (uint32_t c = 0; c < columns; ++c)
        for (uint32_t r = 0; r < rows; ++r)
            if (allowed(c, r)) ++candidates;
    if (candidates == 0) return false; // a board of mines only; DrawMines never builds one
    uint32_t pick = Random(static_cast<uint32_t>(candidates));
    for (uint32_t c = 0; c < columns; ++c) {
        for (uint32_t r = 0; r < rows; ++r) {
            if (!allowed(c, r) || pick-- != 0) continue;
            toColumn = c;
            toRow = r;
            return true;
        }
    }
    return false;
}

} // namespace

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

int MaxPlaceableMines() {
    return (LastColumn + 1) * (LastRow + 1) - 1;
}

int DrawMines(TMineBits& bits, uint16_t count) {
    bits.fill(0);
    const int target = std::min<int>(count, MaxPlaceableMines());
    const uint64_t columns = LastColumn + 1u;
    const uint64_t rows = LastRow + 1u;
    // Random's recurrence kept in a register, two steps at a time: the column's seed is
    // a * s + 1 and the row's a * (a * s + 1) + 1 = a^2 * s + (a + 1), both from s, so the two
    // multiplications do not wait for each other. The seeds are exactly those of two Random calls.
    constexpr uint32_t a = 134775813u;
    constexpr uint32_t a2 = a * a;
    uint32_t seed = RandomSeed;
    for (int n = 0; n < target;) {
        const uint32_t columnSeed = seed * a + 1u;
        seed = seed * a2 + (a + 1u);
        const auto c = static_cast<uint32_t>((columnSeed * columns) >> 32);
        const uint32_t bit = 1u << static_cast<uint32_t>((seed * rows) >> 32);
        // A draw on a mine is simply drawn again; without a branch, as a free cell or a mine
        // is a coin toss the predictor cannot learn.
        const uint32_t before = bits[c + 1];
        bits[c + 1] = before | bit;
        n += (before & bit) == 0;
    }
    RandomSeed = seed;
    return target;
}

void WriteNumbers(const TMineBits& bits) {
    const int columns = LastColumn + 1, rows = LastRow + 1;
    for (int c = 0; c < columns; ++c) {
        const uint32_t left = bits[c], mine = bits[c + 1], right = bits[c + 2];
        // The 8 neighbours of every row of the column added at once into four bit planes:
        // count = p0 + 2 p1 + 4 p2 + 8 p3.
        const uint32_t la = left << 1, lb = left >> 1;
        const uint32_t sumL = la ^ left ^ lb, carryL = (la & left) | (lb & (la ^ left));
        const uint32_t ra = right << 1, rb = right >> 1;
        const uint32_t sumR = ra ^ right ^ rb, carryR = (ra & right) | (rb & (ra ^ right));
        const uint32_t ma = mine << 1, mb = mine >> 1;
        const uint32_t sumM = ma ^ mb, carryM = ma & mb;
        const uint32_t p0 = sumL ^ sumR ^ sumM;
        const uint32_t k = (sumL & sumR) | (sumM & (sumL ^ sumR));
        const uint32_t t = k ^ carryL ^ carryR, u = (k & carryL) | (carryR & (k ^ carryL));
        const uint32_t p1 = t ^ carryM, w = t & carryM;
        const uint32_t p2 = u ^ w, p3 = u & w;
        TCellState* out = HiddenBoard[c].data();
        for (int r0 = 0; r0 < rows; r0 += 8) {
            auto bytes = [r0](uint32_t plane) { return kBitBytes[(plane >> r0) & 0xFF]; };
            const uint64_t count = bytes(p0) | bytes(p1) << 1 | bytes(p2) << 2 | bytes(p3) << 3;
            const uint64_t isMine = bytes(mine);
            StoreRows(out, r0, std::min(8, rows - r0), (count & ~(isMine * 0xFF)) | isMine * csMine);
        }
    }
}

int PlaceHiddenMines(uint16_t count) {
    TMineBits bits;
    const int placed = DrawMines(bits, count);
    const int columns = LastColumn + 1, rows = LastRow + 1;
    constexpr uint64_t kCovered = 0x0909090909090909u;
    for (int c = 0; c < columns; ++c)
        for (int r0 = 0; r0 < rows; r0 += 8)
            StoreRows(HiddenBoard[c].data(), r0, std::min(8, rows - r0),
                      kCovered + kBitBytes[(bits[c + 1] >> r0) & 0xFF] * (csMine - csCovered));
    return placed;
}

void PlaceMines(uint16_t count) {
    if (PlaceHiddenMines(count) < count) ReportPlacementFailure();
    CoverVisibleBoard();
}

void MoveMineFromClickedCell(uint8_t column, uint8_t row) {
    if (!InBoard(column, row) || HiddenBoard[column][row] != csMine) return;
    uint32_t c = 0, r = 0;
    if (!FindRelocation(
            column, row, [](uint32_t i, uint32_t j) { return HiddenBoard[i][j] == csMine; }, c, r))
        return;
    HiddenBoard[c][r] = csMine;
    HiddenBoard[column][row] = csCovered;
}

void DrawBoardForClick(TMineBits& mines, uint8_t column, uint8_t row) {
    if (DrawMines(mines, MineCount) < MineCount) ReportPlacementFailure();
    const uint32_t clicked = 1u << row;
    if (!InBoard(column, row) || (mines[column + 1u] & clicked) == 0) return;
    uint32_t c = 0, r = 0;
    auto isMine = [&mines](uint32_t i, uint32_t j) { return ((mines[i + 1] >> j) & 1u) != 0; };
    if (!FindRelocation(column, row, isMine, c, r)) return;
    mines[c + 1] |= 1u << r;
    mines[column + 1u] &= ~clicked;
}

void KeepBoard(const TMineBits& mines) {
    WriteNumbers(mines);
    CoverVisibleBoard();
    Board3BV = Calc3BV();
}

void GenerateBoardForClick(uint8_t column, uint8_t row) {
    TMineBits mines;
    DrawBoardForClick(mines, column, row);
    KeepBoard(mines);
}

void GenerateFirstClickBoard(uint8_t column, uint8_t row, TCursorPos releasePos) {
    try {
        const std::string title = ApplicationTitle();
        SetCaption(title);

        const std::string v3 = std::to_string(Options.se3BVValue);
        const std::string v3low = std::to_string(Options.se3BVValue2);
        if (Options.doMustHave7) {
            RunSearch({" - searching \"7\"", HasSeven, "board with \"7\" was generated with",
                       "board with \"7\" was not generated with"},
                      column, row);
        } else if (Options.doMustHave8) {
            RunSearch({" - searching \"8\"", HasEight, "board with \"8\" was generated with",
                       "board with \"8\" was not generated with"},
                      column, row);
        } else if (Options.doApprox3BV) {
            RunSearch({" - searching 3BV", AtMost3BV, "3bv <= " + v3 + " board was generated with",
                       "3bv <= " + v3 + " board was not generated with"},
                      column, row);
        } else if (Options.doApprox3BV2) {
            RunSearch({" - searching 3BV", AtLeast3BV, "3bv >= " + v3low + " board was generated with",
                       "3bv >= " + v3low + " board was not generated with"},
                      column, row);
        } else {
            // The loop judges each board by its mines; the one played is written out once.
            TMineBits mines;
            int boards = 0;
            uint16_t bbbv = 0;
            do {
                DrawBoardForClick(mines, column, row);
                ++boards;
                bbbv = Count3BV(mines);
            } while (!MeetsLevelMinimum(bbbv) && boards < kMaxNormalBoards);
            KeepBoard(mines);
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

        if (Options.doShowCounters)
            ShowCountersWindow();
        else
            HideCountersWindow();

        UpdateNow();
        GameIdText = BuildGameIdText();
        GameEndStamp.clear();

        GameTimerInterval = 10;
        if (UiHooks.SetGameTimerInterval) UiHooks.SetGameTimerInterval(GameTimerInterval);
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
