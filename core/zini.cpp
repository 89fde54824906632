#include "core/zini.h"

#include <algorithm>
#include <array>

#include "core/FData.h"

namespace quorlet {

namespace {

// Simulation marks on VisibleBoard.
constexpr TCellState kOpened = 0;
constexpr TCellState kInFlood = 1;

using TCellIndex = uint16_t;

// One simulated pass over the board. HiddenBoard does not change during CalcZiNi, so the
// isolated-cell test is computed once.
class TZiNiSimulation {
  public:
    TZiNiSimulation() {
        columns_ = LastColumn + 1;
        rows_ = LastRow + 1;
        for (int c = 0; c < columns_; ++c) {
            for (int r = 0; r < rows_; ++r) {
                bool noZero = true;
                ForBlock(c, r, [&](int i, int j) { noZero = noZero && HiddenBoard[i][j] != 0; });
                isolated_[c][r] = noZero;
            }
        }
    }

    int Columns() const { return columns_; }
    int Rows() const { return rows_; }
    bool IsMine(int c, int r) const { return HiddenBoard[c][r] == csMine; }
    bool IsIsolated(int c, int r) const { return isolated_[c][r]; }
    bool IsCovered(int c, int r) const { return VisibleBoard[c][r] == csCovered; }

    // Safe cells not opened yet. Counted from HiddenBoard, so a MineCount that disagrees with
    // the board cannot keep a pass running.
    void ResetSafeLeft() {
        safeLeft_ = 0;
        for (int c = 0; c < columns_; ++c)
            for (int r = 0; r < rows_; ++r)
                if (!IsMine(c, r)) ++safeLeft_;
    }
    int32_t SafeLeft() const { return safeLeft_; }
    // Changes a step made: cells opened plus flags placed.
    int Progress() const { return progress_; }

    void CoverBoard() {
        for (int c = 0; c < columns_; ++c)
            std::fill_n(VisibleBoard[c].begin(), rows_, csCovered);
    }

    // The 3x3 block clipped to the board, columns outer.
    template <typename F> void ForBlock(int c, int r, F&& f) const {
        const int c0 = std::max(c - 1, 0), c1 = std::min(c + 1, columns_ - 1);
        const int r0 = std::max(r - 1, 0), r1 = std::min(r + 1, rows_ - 1);
        for (int i = c0; i <= c1; ++i)
            for (int j = r0; j <= r1; ++j)
                f(i, j);
    }

    void CellPremium(int c, int r) {
        int n = 0;
        ForBlock(c, r, [&](int i, int j) { n += !IsMine(i, j) && isolated_[i][j]; });
        WorkBoard[c][r] += n;
    }

    void SetOpened(int c, int r) {
        VisibleBoard[c][r] = kOpened;
        ++WorkBoard[c][r];
        if (isolated_[c][r]) ForBlock(c, r, [](int i, int j) { --WorkBoard[i][j]; });
        --safeLeft_;
        ++progress_;
    }

    void OpenCell(int c, int r) {
        if (!InBoard(c, r) || IsMine(c, r) || !IsCovered(c, r)) return;
        if (HiddenBoard[c][r] != 0) {
            SetOpened(c, r);
            return;
        }
        OpenRegion(c, r);
        for (int k = 0; k < floodCount_; ++k)
            VisibleBoard[flood_[k] / kMaxRows][flood_[k] % kMaxRows] = kOpened;
    }

    void Click(uint16_t& count, int c, int r) {
        if (!InBoard(c, r)) return;
        ++count;
        OpenCell(c, r);
    }

    void PlaceFlag(uint16_t& count, int c, int r) {
        if (VisibleBoard[c][r] == csFlag) return;
        ++count;
        VisibleBoard[c][r] = csFlag;
        ForBlock(c, r, [](int i, int j) { ++WorkBoard[i][j]; });
        ++progress_;
    }

    void FlagMinesAround(uint16_t& count, int c, int r) {
        ForBlock(c, r, [&](int i, int j) {
            if (IsMine(i, j)) PlaceFlag(count, i, j);
        });
    }

    void Chord(uint16_t& count, int c, int r) {
        ++count;
        ForBlock(c, r, [&](int i, int j) { OpenCell(i, j); });
    }

    // Highest premium >= 0 among non-mine cells (only opened ones when openedOnly); the first in
    // walk order wins ties. False when there is none.
    bool BestPremium(bool openedOnly, int& bestC, int& bestR) const {
        int32_t best = -1;
        for (int c = 0; c < columns_; ++c) {
            for (int r = 0; r < rows_; ++r) {
                if (IsMine(c, r) || WorkBoard[c][r] <= best) continue;
                if (openedOnly && VisibleBoard[c][r] != kOpened) continue;
                best = WorkBoard[c][r];
                bestC = c;
                bestR = r;
            }
        }
        return best >= 0;
    }

  private:
    static bool InBoard(int c, int r) { return c >= 0 && r >= 0 && c <= LastColumn && r <= LastRow; }

    // The region flood, with an explicit stack: every cell is handled once (the first time it is
    // reached), and the changes add up, so the visiting order does not change the result.
    void OpenRegion(int c, int r) {
        floodCount_ = 0;
        int top = 0;
        stack_[top++] = static_cast<TCellIndex>(c * kMaxRows + r);
        while (top > 0) {
            const int cell = stack_[--top];
            const int fc = cell / kMaxRows, fr = cell % kMaxRows;
            if (VisibleBoard[fc][fr] == kInFlood) continue;
            --WorkBoard[fc][fr];
            const bool covered = IsCovered(fc, fr);
            if (covered) SetOpened(fc, fr);
            VisibleBoard[fc][fr] = kInFlood;
            flood_[floodCount_++] = static_cast<TCellIndex>(cell);
            if (!covered || HiddenBoard[fc][fr] != 0) continue;
            ForBlock(fc, fr, [&](int i, int j) {
                if ((i != fc || j != fr) && VisibleBoard[i][j] != kInFlood)
                    stack_[top++] = static_cast<TCellIndex>(i * kMaxRows + j);
            });
        }
    }

    int columns_ = 0;
    int rows_ = 0;
    int32_t safeLeft_ = 0;
    int progress_ = 0;
    TLayer<bool> isolated_{};
    // Each cell enters the flood once and is pushed at most once per zero neighbour.
    std::array<TCellIndex, kMaxColumns * kMaxRows * 8> stack_{};
    std::array<TCellIndex, kMaxColumns * kMaxRows> flood_{};
    int floodCount_ = 0;
};

// Runs steps while safe cells are left. A step that neither opens nor flags would repeat for
// ever; its clicks are taken back and the pass ends.
template <typename Step> void RunPass(TZiNiSimulation& sim, uint16_t& count, Step&& step) {
    while (sim.SafeLeft() > 0) {
        const int before = sim.Progress();
        const uint16_t countBefore = count;
        step();
        if (sim.Progress() == before) {
            count = countBefore;
            return;
        }
    }
}

} // namespace

void CalcZiNi() {
    GZiNi = 0;
    HZiNi = 0;
    TZiNiSimulation sim;
    const int columns = sim.Columns(), rows = sim.Rows();
    TBoardLayer savedVisible = VisibleBoard;
    sim.CoverBoard();
    sim.ResetSafeLeft();

    for (int c = 0; c < columns; ++c) {
        for (int r = 0; r < rows; ++r) {
            sim.CellPremium(c, r);
            WorkBoard[c][r] -= HiddenBoard[c][r] + 2;
        }
    }
    const TWorkLayer premiums = WorkBoard;

    RunPass(sim, GZiNi, [&] {
        int bc = 0, br = 0;
        if (sim.BestPremium(false, bc, br)) {
            if (sim.IsCovered(bc, br)) sim.Click(GZiNi, bc, br);
            sim.FlagMinesAround(GZiNi, bc, br);
            sim.Chord(GZiNi, bc, br);
            return;
        }
        for (int c = 0; c < columns; ++c) {
            for (int r = 0; r < rows; ++r) {
                if (sim.IsMine(c, r) || !sim.IsCovered(c, r)) continue;
                if (HiddenBoard[c][r] == 0 || sim.IsIsolated(c, r)) {
                    sim.Click(GZiNi, c, r);
                    return;
                }
            }
        }
    });

    sim.CoverBoard();
    WorkBoard = premiums;
    sim.ResetSafeLeft();

    for (int c = 0; c < columns; ++c)
        for (int r = 0; r < rows; ++r)
            if (HiddenBoard[c][r] == 0 && sim.IsCovered(c, r)) sim.Click(HZiNi, c, r);
    RunPass(sim, HZiNi, [&] {
        int bc = 0, br = 0;
        if (sim.BestPremium(true, bc, br)) {
            sim.FlagMinesAround(HZiNi, bc, br);
            sim.Chord(HZiNi, bc, br);
            return;
        }
        for (int c = 0; c < columns; ++c) {
            for (int r = 0; r < rows; ++r) {
                if (!sim.IsMine(c, r) && sim.IsCovered(c, r) && sim.IsIsolated(c, r)) {
                    sim.Click(HZiNi, c, r);
                    return;
                }
            }
        }
    });

    VisibleBoard = savedVisible;
}

} // namespace quorlet
