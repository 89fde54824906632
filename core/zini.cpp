#include "core/zini.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <type_traits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "core/FData.h"

namespace quorlet {

namespace {

// Simulation marks, as on the visible board.
constexpr uint8_t kOpened = 0;
constexpr uint8_t kInFlood = 1;
// Cells of the frame around the board: never opened, flagged or counted.
constexpr uint8_t kOutside = csReserved;

// The simulation runs on a copy of the board framed by one cell on every side, column-major:
// the 3x3 block of a cell is a fixed set of index steps, and walk order is index order.
constexpr int kStride = kMaxRows + 2;
constexpr int kPaddedCells = (kMaxColumns + 2) * kStride;

inline int Padded(int c, int r) {
    return (c + 1) * kStride + r + 1;
}

// The 3x3 block in walk order (columns outer, rows inner), the cell itself included.
constexpr std::array<int, 9> kBlock{-kStride - 1, -kStride, -kStride + 1, -1, 0, 1,
                                    kStride - 1,  kStride,  kStride + 1};

// One simulated pass over the board; the real layers are read on entry and WorkBoard is written
// back at the end, VisibleBoard is never touched. TWork holds the premiums: 16 bits whenever they
// fit (they stay within a few dozen of their start), so the scan for the best cell takes eight
// cells at a time; 32 bits for a WorkBoard that was not left by Calc3BV.
template <typename TWork> class TZiNiSimulation {
  public:
    TZiNiSimulation() {
        columns_ = LastColumn + 1;
        rows_ = LastRow + 1;
        first_ = Padded(0, 0);
        end_ = Padded(columns_ - 1, rows_ - 1) + 1;
        hidden_.fill(kOutside);
        for (int c = 0; c < columns_; ++c)
            for (int r = 0; r < rows_; ++r)
                hidden_[Padded(c, r)] = HiddenBoard[c][r];
        // HiddenBoard does not change during CalcZiNi: the isolated test is made once.
        isolated_.fill(0);
        for (int c = 0; c < columns_; ++c) {
            for (int r = 0; r < rows_; ++r) {
                const int i = Padded(c, r);
                bool noZero = true;
                for (int step : kBlock)
                    noZero = noZero && hidden_[i + step] != 0;
                isolated_[i] = noZero;
            }
        }
        safeCells_ = 0;
        for (int c = 0; c < columns_; ++c)
            for (int r = 0; r < rows_; ++r)
                safeCells_ += !IsMine(Padded(c, r));
    }

    int First() const { return first_; }
    int End() const { return end_; }
    bool IsMine(int i) const { return hidden_[i] == csMine; }
    bool IsSafe(int i) const { return hidden_[i] != csMine && hidden_[i] != kOutside; }
    bool IsZero(int i) const { return hidden_[i] == 0; }
    bool IsIsolated(int i) const { return isolated_[i] != 0; }
    bool IsCovered(int i) const { return visible_[i] == csCovered; }
    int32_t SafeLeft() const { return safeLeft_; }
    // Changes made so far: cells opened plus flags placed.
    int Progress() const { return progress_; }

    // The premiums of a fresh board: openings touching the cell (Calc3BV's WorkBoard), plus the
    // isolated safe cells of its block, less its state + 2.
    void SetPremiums(const std::array<int32_t, kPaddedCells>& premiums) {
        for (int i = 0; i < kPaddedCells; ++i)
            premiums_[i] = static_cast<TWork>(premiums[i]);
    }

    // A new pass: every cell covered, the saved premiums, the safe cells to open. Cells may be
    // picked when they are safe, and in the human pass only once opened.
    void StartPass(bool openedOnly) {
        openedOnly_ = openedOnly;
        work_ = premiums_;
        for (int i = 0; i < kPaddedCells; ++i) {
            visible_[i] = hidden_[i] == kOutside ? kOutside : uint8_t{csCovered};
            pickable_[i] = !openedOnly && IsSafe(i) ? -1 : 0;
        }
        safeLeft_ = safeCells_;
        fallback_ = first_;
    }

    void WriteWorkBoard() const {
        for (int c = 0; c < columns_; ++c)
            for (int r = 0; r < rows_; ++r)
                WorkBoard[c][r] = work_[Padded(c, r)];
    }

    void SetOpened(int i) {
        visible_[i] = kOpened;
        ++work_[i];
        if (IsIsolated(i))
            for (int step : kBlock)
                --work_[i + step];
        if (openedOnly_) pickable_[i] = -1;
        --safeLeft_;
        ++progress_;
    }

    void OpenCell(int i) {
        if (!IsSafe(i) || !IsCovered(i)) return;
        if (!IsZero(i)) {
            SetOpened(i);
            return;
        }
        OpenRegion(i);
        for (int k = 0; k < floodCount_; ++k)
            visible_[flood_[k]] = kOpened;
    }

    void Click(uint16_t& count, int i) {
        ++count;
        OpenCell(i);
    }

    void PlaceFlag(uint16_t& count, int i) {
        if (visible_[i] == csFlag) return;
        ++count;
        visible_[i] = csFlag;
        for (int step : kBlock)
            ++work_[i + step];
        ++progress_;
    }

    void FlagMinesAround(uint16_t& count, int i) {
        for (int step : kBlock)
            if (IsMine(i + step)) PlaceFlag(count, i + step);
    }

    void Chord(uint16_t& count, int i) {
        ++count;
        for (int step : kBlock)
            OpenCell(i + step);
    }

    // The pickable cell of highest premium >= 0, the first in walk order on ties; -1 when none.
    // Scanned in two branch-free sweeps: this runs once per step and dominates the passes.
    int BestPremium() const {
#if defined(__SSE2__)
        if constexpr (std::is_same_v<TWork, int16_t>) return BestPremium16();
#endif
        const TWork* work = work_.data();
        const TWork* pickable = pickable_.data();
        TWork best = -1;
        for (int i = first_; i < end_; ++i)
            best = std::max<TWork>(best, work[i] | ~pickable[i]);
        if (best < 0) return -1;
        for (int i = first_; i < end_; ++i)
            if ((work[i] | ~pickable[i]) == best) return i;
        return -1;
    }

    // The first covered safe cell in walk order that is isolated (or, with zerosToo, a zero).
    // Cells never become covered again, so the search goes on from the last one found.
    int FirstCoveredFallback(bool zerosToo) {
        for (; fallback_ < end_; ++fallback_) {
            const int i = fallback_;
            if (IsSafe(i) && IsCovered(i) && (IsIsolated(i) || (zerosToo && IsZero(i)))) return i;
        }
        return -1;
    }

  private:
#if defined(__SSE2__)
    // The same scan eight cells at a time. The frame cells and those past the board are never
    // pickable, so the sweep may start and end on a multiple of eight.
    int BestPremium16() const {
        const int from = first_ & ~7, to = (end_ + 7) & ~7;
        const auto* work = reinterpret_cast<const __m128i*>(work_.data());
        const auto* pickable = reinterpret_cast<const __m128i*>(pickable_.data());
        const __m128i ones = _mm_set1_epi16(-1);
        auto value = [&](int k) {
            return _mm_or_si128(_mm_load_si128(work + k), _mm_xor_si128(_mm_load_si128(pickable + k), ones));
        };
        __m128i best = ones;
        for (int k = from / 8; k < to / 8; ++k)
            best = _mm_max_epi16(best, value(k));
        best = _mm_max_epi16(best, _mm_shuffle_epi32(best, _MM_SHUFFLE(1, 0, 3, 2)));
        best = _mm_max_epi16(best, _mm_shuffle_epi32(best, _MM_SHUFFLE(2, 3, 0, 1)));
        best = _mm_max_epi16(best, _mm_shufflelo_epi16(best, _MM_SHUFFLE(2, 3, 0, 1)));
        const int16_t top = static_cast<int16_t>(_mm_cvtsi128_si32(best));
        if (top < 0) return -1;
        const __m128i target = _mm_set1_epi16(top);
        for (int k = from / 8; k < to / 8; ++k) {
            const int hits = _mm_movemask_epi8(_mm_cmpeq_epi16(value(k), target));
            if (hits != 0) return k * 8 + __builtin_ctz(static_cast<unsigned>(hits)) / 2;
        }
        return -1;
    }
#endif

    // The region flood of a zero, with an explicit stack: each cell is handled once (the first
    // time it is reached) and the changes add up, so the visiting order does not matter. No cell
    // a flood reaches is isolated, as each has a zero in its block.
    void OpenRegion(int start) {
        floodCount_ = 0;
        int top = 0;
        stack_[top++] = static_cast<uint16_t>(start);
        while (top > 0) {
            const int i = stack_[--top];
            if (visible_[i] == kInFlood) continue;
            --work_[i];
            const bool covered = IsCovered(i);
            if (covered) SetOpened(i);
            visible_[i] = kInFlood;
            flood_[floodCount_++] = static_cast<uint16_t>(i);
            if (!covered || !IsZero(i)) continue;
            for (int step : kBlock) {
                const int j = i + step;
                if (j != i && hidden_[j] != kOutside && visible_[j] != kInFlood)
                    stack_[top++] = static_cast<uint16_t>(j);
            }
        }
    }

    int columns_ = 0;
    int rows_ = 0;
    int first_ = 0;
    int end_ = 0;
    int32_t safeCells_ = 0;
    int32_t safeLeft_ = 0;
    int progress_ = 0;
    bool openedOnly_ = false;
    int fallback_ = 0;
    std::array<uint8_t, kPaddedCells> hidden_;
    std::array<uint8_t, kPaddedCells> isolated_;
    std::array<uint8_t, kPaddedCells> visible_;
    std::array<TWork, kPaddedCells> premiums_;
    alignas(16) std::array<TWork, kPaddedCells> work_;
    // -1 where the pass may pick the cell, else 0 (a mask, so the scan needs no branch).
    alignas(16) std::array<TWork, kPaddedCells> pickable_;
    // Each cell enters the flood once and is pushed at most once per zero neighbour.
    std::array<uint16_t, kMaxColumns * kMaxRows * 8> stack_;
    std::array<uint16_t, kMaxColumns * kMaxRows> flood_;
    int floodCount_ = 0;
};

// Runs steps while safe cells are left. A step that neither opens nor flags would repeat for
// ever; its clicks are taken back and the pass ends.
template <typename TSim, typename Step> void RunPass(TSim& sim, uint16_t& count, Step&& step) {
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

template <typename TWork> void RunBothPasses(const std::array<int32_t, kPaddedCells>& premiums) {
    // About 25 KB, on the stack like the copy of the visible board it replaces.
    TZiNiSimulation<TWork> sim;
    sim.SetPremiums(premiums);

    sim.StartPass(false);
    RunPass(sim, GZiNi, [&] {
        const int best = sim.BestPremium();
        if (best >= 0) {
            if (sim.IsCovered(best)) sim.Click(GZiNi, best);
            sim.FlagMinesAround(GZiNi, best);
            sim.Chord(GZiNi, best);
            return;
        }
        const int cell = sim.FirstCoveredFallback(true);
        if (cell >= 0) sim.Click(GZiNi, cell);
    });

    sim.StartPass(true);
    for (int i = sim.First(); i < sim.End(); ++i)
        if (sim.IsZero(i) && sim.IsCovered(i)) sim.Click(HZiNi, i);
    RunPass(sim, HZiNi, [&] {
        const int best = sim.BestPremium();
        if (best >= 0) {
            sim.FlagMinesAround(HZiNi, best);
            sim.Chord(HZiNi, best);
            return;
        }
        const int cell = sim.FirstCoveredFallback(false);
        if (cell >= 0) sim.Click(HZiNi, cell);
    });
    sim.WriteWorkBoard();
}

} // namespace

void CalcZiNi() {
    GZiNi = 0;
    HZiNi = 0;
    const int columns = LastColumn + 1, rows = LastRow + 1;
    auto isolated = [&](int c, int r) {
        for (int i = std::max(c - 1, 0); i <= std::min(c + 1, columns - 1); ++i)
            for (int j = std::max(r - 1, 0); j <= std::min(r + 1, rows - 1); ++j)
                if (HiddenBoard[i][j] == 0) return false;
        return true;
    };
    // The premiums of a fresh board: openings touching the cell (Calc3BV's WorkBoard), plus the
    // isolated safe cells of its block, less its state + 2.
    std::array<int32_t, kPaddedCells> premiums{};
    TLayer<uint8_t> isolatedSafe{};
    for (int c = 0; c < columns; ++c)
        for (int r = 0; r < rows; ++r)
            isolatedSafe[c][r] = HiddenBoard[c][r] != csMine && isolated(c, r);
    bool fits16 = true;
    for (int c = 0; c < columns; ++c) {
        for (int r = 0; r < rows; ++r) {
            int n = 0;
            for (int i = std::max(c - 1, 0); i <= std::min(c + 1, columns - 1); ++i)
                for (int j = std::max(r - 1, 0); j <= std::min(r + 1, rows - 1); ++j)
                    n += isolatedSafe[i][j];
            const int64_t premium = int64_t{WorkBoard[c][r]} + n - (HiddenBoard[c][r] + 2);
            premiums[Padded(c, r)] = static_cast<int32_t>(premium);
            fits16 = fits16 && premium > -16000 && premium < 16000;
        }
    }
    if (fits16)
        RunBothPasses<int16_t>(premiums);
    else
        RunBothPasses<int32_t>(premiums);
}

} // namespace quorlet
