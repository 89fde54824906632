#include "core/metrics.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "core/FData.h"
#include "core/board.h"
#include "core/debuglog.h"
#include "core/generation.h"

namespace quorlet {

namespace {

constexpr int kCells = kMaxColumns * kMaxRows;

// Cell coordinates packed as column * kMaxRows + row, for the fixed work stacks.
using TCellIndex = uint16_t;

inline TCellIndex Pack(int c, int r) {
    return static_cast<TCellIndex>(c * kMaxRows + r);
}

bool BoardHasNumber(TCellState number) {
    for (int c = 0; c <= LastColumn; ++c)
        for (int r = 0; r <= LastRow; ++r)
            if (HiddenBoard[c][r] == number) return true;
    return false;
}

// A board copy framed by one cell on every side: index (column + 1) * kPaddedRows + row + 1.
constexpr int kPaddedRows = kMaxRows + 2;
template <typename T> using TPadded = std::array<T, (kMaxColumns + 2) * kPaddedRows>;

inline int PaddedIndex(int c, int r) {
    return (c + 1) * kPaddedRows + r + 1;
}

// The 8 neighbours as index steps in a padded copy (the walk order does not change the results).
constexpr std::array<int, 8> kPaddedBlock{-kPaddedRows - 1, -kPaddedRows, -kPaddedRows + 1, -1, 1,
                                          kPaddedRows - 1,  kPaddedRows,  kPaddedRows + 1};

// Bits set in a word, in plain arithmetic.
inline int CountBits(uint64_t x) {
    x -= (x >> 1) & 0x5555555555555555u;
    x = (x & 0x3333333333333333u) + ((x >> 2) & 0x3333333333333333u);
    x = (x + (x >> 4)) & 0x0F0F0F0F0F0F0F0Fu;
    return static_cast<int>((x * 0x0101010101010101u) >> 56);
}

} // namespace

uint16_t Calc3BV() {
    // Works on a copy framed by a border of mines, so the flood needs no bounds tests. The loops
    // are branch-free where they test cells: on a fresh random board every such branch
    // mispredicts, which cost more than the work itself.
    const int columns = LastColumn + 1, rows = LastRow + 1;
    TPadded<uint8_t> cell;
    cell.fill(csMine);
    for (int c = 0; c < columns; ++c)
        std::copy_n(HiddenBoard[c].begin(), rows, cell.begin() + PaddedIndex(c, 0));
    // label: the opening whose flood last reached the cell; work: openings that reached it.
    TPadded<uint8_t> label{};
    TPadded<uint8_t> work{};
    std::array<uint16_t, kCells> zeros;
    int zeroCount = 0;
    for (int c = 0; c < columns; ++c) {
        for (int r = 0; r < rows; ++r) {
            const int i = PaddedIndex(c, r);
            zeros[zeroCount] = static_cast<uint16_t>(i);
            zeroCount += cell[i] == 0;
        }
    }
    // Each zero is pushed once (when first labelled), so 900 entries suffice.
    std::array<uint16_t, kCells> stack;
    int openings = 0;
    for (int z = 0; z < zeroCount; ++z) {
        const int start = zeros[z];
        if (work[start] != 0) continue;
        // Zeros of distinct openings lie at least three cells apart: at most 100 on 30x30.
        ++openings;
        label[start] = static_cast<uint8_t>(openings);
        work[start] = 1;
        int top = 0;
        stack[top++] = static_cast<uint16_t>(start);
        while (top > 0) {
            const int at = stack[--top];
            for (int step : kPaddedBlock) {
                const int i = at + step;
                const int reached = (cell[i] != csMine) & (label[i] != openings);
                label[i] = reached ? static_cast<uint8_t>(openings) : label[i];
                work[i] = static_cast<uint8_t>(work[i] + reached);
                stack[top] = static_cast<uint16_t>(i);
                top += reached & (cell[i] == 0);
            }
        }
    }
    // 3BV = openings + safe cells reached by no flood.
    int lone = 0;
    for (int c = 0; c < columns; ++c) {
        const int base = PaddedIndex(c, 0);
        for (int r = 0; r < rows; ++r) {
            lone += (cell[base + r] != csMine) & (work[base + r] == 0);
            WorkBoard[c][r] = work[base + r];
        }
    }
    Openings = static_cast<uint8_t>(std::min(openings, 255));
    return static_cast<uint16_t>(openings + lone);
}

uint16_t GetBoard3BV() {
    return Board3BV;
}

uint16_t Count3BV(const TMineBits& mines) {
    // Bit r of word c + 1 is row r of column c, as in the mine bits; the words beyond the board
    // stay empty.
    const int columns = LastColumn + 1, rows = LastRow + 1;
    const uint32_t rowMask = (1u << rows) - 1u;
    auto spread = [](uint32_t x) { return x | x << 1 | x >> 1; };
    TMineBits zero{};
    for (int c = 1; c <= columns; ++c)
        zero[c] = ~spread(mines[c - 1] | mines[c] | mines[c + 1]) & rowMask;
    // Safe cells that no opening reaches: no zero among them and their neighbours. Counted two
    // columns to a word: without a popcount instruction in the base instruction set,
    // std::popcount is a library call per word.
    int lone = 0;
    auto loneCells = [&](int c) -> uint64_t {
        return c > columns ? 0 : ~mines[c] & rowMask & ~spread(zero[c - 1] | zero[c] | zero[c + 1]);
    };
    for (int c = 1; c <= columns; c += 2)
        lone += CountBits(loneCells(c) | loneCells(c + 1) << 32);
    // Openings: 8-connected groups of zeros. Each column's zeros split into runs; a run joins
    // the runs of the column before that touch it (its rows, one above, one below), and the
    // groups are runs less joins, kept in a small union-find.
    constexpr int kMaxRuns = kMaxColumns * (kMaxRows + 1) / 2;
    std::array<uint16_t, kMaxRuns> parent;
    auto root = [&parent](int id) {
        while (parent[id] != id)
            id = parent[id] = parent[parent[id]];
        return id;
    };
    // Runs (rows as bits) and their ids, of the column before and of this one.
    std::array<uint32_t, 2 * kMaxRows> runBits;
    std::array<uint16_t, 2 * kMaxRows> runIds;
    int before = 0, now = kMaxRows, countBefore = 0, runs = 0, joins = 0;
    for (int c = 1; c <= columns; ++c) {
        int countNow = 0;
        for (uint32_t z = zero[c]; z != 0;) {
            const uint32_t run = z & ~(z + (z & (0u - z)));
            z ^= run;
            const int id = runs++;
            parent[id] = static_cast<uint16_t>(id);
            const uint32_t reach = spread(run);
            for (int k = before; k < before + countBefore; ++k) {
                if ((reach & runBits[k]) == 0) continue;
                const int a = root(id), b = root(runIds[k]);
                if (a == b) continue;
                parent[a] = static_cast<uint16_t>(b);
                ++joins;
            }
            runBits[now + countNow] = run;
            runIds[now + countNow] = static_cast<uint16_t>(id);
            ++countNow;
        }
        std::swap(before, now);
        countBefore = countNow;
    }
    const int openings = runs - joins;
    return static_cast<uint16_t>(openings + lone);
}

uint8_t CountIslands() {
    TLayer<uint8_t> marked;
    for (int c = 0; c <= LastColumn; ++c) {
        for (int r = 0; r <= LastRow; ++r) {
            const TCellState s = HiddenBoard[c][r];
            marked[c][r] =
                s >= 1 && s <= 8 && !HasHiddenZeroNeighbour(static_cast<uint8_t>(c), static_cast<uint8_t>(r));
        }
    }
    // Group clearing order; it does not change the count, only the visiting order.
    static constexpr std::array<TNeighbourStep, 8> kGroupOrder{
        {{-1, -1}, {-1, 1}, {-1, 0}, {1, -1}, {1, 1}, {1, 0}, {0, 1}, {0, -1}}};
    std::array<TCellIndex, kCells> stack;
    int islands = 0;
    for (int c = 0; c <= LastColumn; ++c) {
        for (int r = 0; r <= LastRow; ++r) {
            if (!marked[c][r]) continue;
            marked[c][r] = 0;
            ++islands;
            int top = 0;
            stack[top++] = Pack(c, r);
            while (top > 0) {
                const int cell = stack[--top];
                for (const TNeighbourStep& step : kGroupOrder) {
                    const int i = cell / kMaxRows + step.dc;
                    const int j = cell % kMaxRows + step.dr;
                    if (i < 0 || j < 0 || i > LastColumn || j > LastRow || !marked[i][j]) continue;
                    marked[i][j] = 0;
                    stack[top++] = Pack(i, j);
                }
            }
        }
    }
    // Island cells of distinct groups never touch, so at most 15 x 15 fit on a 30x30 board.
    return static_cast<uint8_t>(std::min(islands, 255));
}

void EstimateTime() {
    struct TRates {
        long double per3BV, perNumber, perOpening;
    };
    static constexpr std::array<TRates, 3> kRates{{
        {0.43L, 0.07L, 2.27L},
        {0.32L, 0.2L, 1.38L},
        {0.23L, 0.38L, 0.99L},
    }};
    if (GameLevel > glExpert) {
        TimeEstimate = 0;
        return;
    }
    long double numbered = 0;
    for (int n = 1; n <= 8; ++n)
        numbered += NumberCellCounts[n];
    const TRates& k = kRates[GameLevel];
    TimeEstimate = Board3BV * k.per3BV + numbered * k.perNumber + Openings * k.perOpening;
}

void GenerateRandomBoard(uint16_t mines) {
    TMineBits bits;
    DrawMines(bits, mines);
    WriteNumbers(bits);
}

bool BoardHasSeven() {
    return BoardHasNumber(7);
}
bool BoardHasEight() {
    return BoardHasNumber(8);
}

std::string Format3BVDistributionTable(const std::string& title, const uint32_t* counts, int bins,
                                       uint32_t boards) {
    std::string text = title;
    for (int bin = bins; bin >= 1 && boards > 0; --bin) {
        if (counts[bin] == 0) continue;
        // Hundredths of a percent in integers: floating point would print 290 of 100,000 as 0,28%.
        const uint64_t hundredths = static_cast<uint64_t>(counts[bin]) * 10000u / boards;
        char line[48];
        std::snprintf(line, sizeof line, "\r\n %03d  %llu,%02u%%", bin,
                      static_cast<unsigned long long>(hundredths / 100),
                      static_cast<unsigned>(hundredths % 100));
        text += line;
    }
    text += "\r\n";
    return text;
}

namespace {

void Calc3BVDistribution(const std::string& title, uint32_t boards) {
    DebugLog("please, wait - calculation may take a few minutes");
    const uint16_t mines = std::min<int>(MineCount, MaxPlaceableMines());
    const int bins = (LastColumn + 1) * (LastRow + 1) - mines;
    std::array<uint32_t, kCells + 1> counts{};
    // Each board is judged by its mines alone; only the last is written out, numbered, with the
    // Openings and WorkBoard that a Calc3BV per board would have left.
    TMineBits bits;
    for (uint32_t n = 0; n < boards; ++n) {
        DrawMines(bits, mines);
        const uint16_t bbbv = Count3BV(bits);
        if (bbbv <= bins) ++counts[bbbv];
    }
    if (boards > 0) {
        WriteNumbers(bits);
        Calc3BV();
    }
    DebugLog(Format3BVDistributionTable(title, counts.data(), bins, boards));
}

// Runs one standard-level table and puts back the level, size and mines it found.
void Calc3BVDistributionForLevel(uint8_t level, const std::string& title, uint32_t boards) {
    const uint8_t savedLevel = GameLevel, savedColumn = LastColumn, savedRow = LastRow;
    const uint16_t savedMines = MineCount;
    SetLevelSize(level);
    Calc3BVDistribution(title, boards);
    GameLevel = savedLevel;
    LastColumn = savedColumn;
    LastRow = savedRow;
    MineCount = savedMines;
    ClearBoard();
}

} // namespace

void Calc3BVDistributionBeginner(uint32_t boards) {
    Calc3BVDistributionForLevel(glBeginner, "3bv distribution table for beginner board calculated (%)",
                                boards);
}

void Calc3BVDistributionIntermediate(uint32_t boards) {
    Calc3BVDistributionForLevel(glIntermediate,
                                "3bv distribution table for intermediate board calculated (%)", boards);
}

void Calc3BVDistributionExpert(uint32_t boards) {
    Calc3BVDistributionForLevel(glExpert, "3bv distribution table for expert board calculated (%)", boards);
}

void Calc3BVDistributionCustom() {
    const std::string title = "3bv distribution table for custom " + std::to_string(LastColumn + 1) + "x" +
                              std::to_string(LastRow + 1) + ", " + std::to_string(MineCount) +
                              " mines board calculated (%)";
    Calc3BVDistribution(title, 100000);
    ClearBoard();
}

} // namespace quorlet
