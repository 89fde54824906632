// Personal-record queries over GameHistory: the best record of a level by a measure, and the
// mean of the 25 best values. Read-only; every call scans the table afresh.
// These are the personal-record tie rules (among equal values the earliest record is the best);
// the chat reports' rank counts and the counter formulas' rank variables have rules of their own.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace quorlet {

// Index result meaning "no record" (the table's end slot).
constexpr int32_t kRecordNone = 262144;

enum class TRecordMeasure : uint8_t { Time, BBBVs, RQP, IOS, IOE };
// Which records of the level count: all, flagging (rightClicks > 0), no-flagging (rightClicks 0).
enum class TRecordSelection : uint8_t { All, Flag, NoFlag };

constexpr int kRecordMeasureCount = 5;
constexpr int kRecordSelectionCount = 3;

// Best record of the level by the measure (strictly better than the start value; on equal
// values the earliest record wins), or kRecordNone.
int32_t BestRecordIndex(uint8_t level, TRecordSelection selection, TRecordMeasure measure);

// Mean of the 25 best values of the measure over the selection, in one pass over the table.
// Fewer than 25 qualifying records give 999.99 for Time and RQP, 0 for the others; an empty
// table gives 0 for every measure.
float Top25Average(uint8_t level, TRecordSelection selection, TRecordMeasure measure);

// The same mean taken the slow, literal way: 25 best-of passes, each skipping the records
// already picked. Kept as the reference the single-pass selection is checked against.
float Top25AverageByPasses(uint8_t level, TRecordSelection selection, TRecordMeasure measure);

// A whole high-score page at once, indexed [measure][selection], in one pass per page.
using TRecordIndexPage = std::array<std::array<int32_t, kRecordSelectionCount>, kRecordMeasureCount>;
using TRecordAveragePage = std::array<std::array<float, kRecordSelectionCount>, kRecordMeasureCount>;
TRecordIndexPage BestRecordPage(uint8_t level);
TRecordAveragePage Top25AveragePage(uint8_t level);

// bbbv / (rightClicks + leftClicks + doubleClicks) of the record; 0 when it has no clicks.
float RecordIOE(int32_t index);

// The value with exactly three decimals, '.' with doDotSeparator and ',' without, no matter
// the locale: 42.35 gives "42.350" or "42,350".
std::string ScoreToStr(long double value);

// Best-of queries, one per measure and selection.
int32_t BestTimeIndex(uint8_t level);
int32_t BestTimeFlagIndex(uint8_t level);
int32_t BestTimeNFIndex(uint8_t level);
int32_t Best3BVsIndex(uint8_t level);
int32_t Best3BVsFlagIndex(uint8_t level);
int32_t Best3BVsNFIndex(uint8_t level);
int32_t BestRQPIndex(uint8_t level);
int32_t BestRQPFlagIndex(uint8_t level);
int32_t BestRQPNFIndex(uint8_t level);
int32_t BestIOSIndex(uint8_t level);
int32_t BestIOSFlagIndex(uint8_t level);
int32_t BestIOSNFIndex(uint8_t level);
int32_t BestIOEIndex(uint8_t level);
int32_t BestIOEFlagIndex(uint8_t level);
int32_t BestIOENFIndex(uint8_t level);

// Top-25 averages, one per measure and selection.
float Top25AvgTime(uint8_t level);
float Top25AvgTimeFlag(uint8_t level);
float Top25AvgTimeNF(uint8_t level);
float Top25Avg3BVs(uint8_t level);
float Top25Avg3BVsFlag(uint8_t level);
float Top25Avg3BVsNF(uint8_t level);
float Top25AvgRQP(uint8_t level);
float Top25AvgRQPFlag(uint8_t level);
float Top25AvgRQPNF(uint8_t level);
float Top25AvgIOS(uint8_t level);
float Top25AvgIOSFlag(uint8_t level);
float Top25AvgIOSNF(uint8_t level);
float Top25AvgIOE(uint8_t level);
float Top25AvgIOEFlag(uint8_t level);
float Top25AvgIOENF(uint8_t level);

} // namespace quorlet
