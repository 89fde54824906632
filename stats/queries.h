// History queries: counts, extremes, integer averages and ranking walks over GameHistory,
// plus whole-history summaries. Read-only. Values shown with two decimals are compared as
// (whole, hundredths) pairs, the first member deciding. Totals are summed in 64 bits so a
// full table cannot overflow them.
#pragma once

#include <cstdint>
#include <string>

namespace quorlet {

// Index result meaning "no record" (the table's end slot).
constexpr int32_t kHistoryNone = 262144;

// ---- Counts ----
uint32_t CountFlagGames();
uint32_t CountNoFlagGames();
uint32_t CountGamesOfLevel(uint8_t level);
uint32_t CountFlagGamesOfLevel(uint8_t level);
uint32_t CountNoFlagGamesOfLevel(uint8_t level);

uint32_t CountFlagGamesBeg();
uint32_t CountFlagGamesInt();
uint32_t CountFlagGamesExp();
uint32_t CountNoFlagGamesBeg();
uint32_t CountNoFlagGamesInt();
uint32_t CountNoFlagGamesExp();
uint32_t CountGamesBeg();
uint32_t CountGamesInt();
uint32_t CountGamesExp();

// ---- Extremes of a level ----
// Each returns the chosen index or kHistoryNone; the outputs start at the start value and keep
// it when nothing is found. On equal values the first record wins.
int32_t FindBestTime(uint8_t level, uint16_t& seconds, uint8_t& hundredths);  // from (999, 99)
int32_t FindBest3BVs(uint8_t level, uint8_t& whole, uint8_t& hundredths);     // from (0, 0)
int32_t FindMin3BV(uint8_t level, uint16_t& bbbv);                            // from 999
int32_t FindWorstTime(uint8_t level, uint16_t& seconds, uint8_t& hundredths); // from (0, 0)
int32_t FindWorst3BVs(uint8_t level, uint8_t& whole, uint8_t& hundredths);    // from (99, 99)
int32_t FindMax3BV(uint8_t level, uint16_t& bbbv);                            // from 0

int32_t FindBestTimeBeg(uint16_t& seconds, uint8_t& hundredths);
int32_t FindBestTimeInt(uint16_t& seconds, uint8_t& hundredths);
int32_t FindBestTimeExp(uint16_t& seconds, uint8_t& hundredths);
int32_t FindBest3BVsBeg(uint8_t& whole, uint8_t& hundredths);
int32_t FindBest3BVsInt(uint8_t& whole, uint8_t& hundredths);
int32_t FindBest3BVsExp(uint8_t& whole, uint8_t& hundredths);
int32_t FindMin3BVBeg(uint16_t& bbbv);
int32_t FindMin3BVInt(uint16_t& bbbv);
int32_t FindMin3BVExp(uint16_t& bbbv);
int32_t FindWorstTimeBeg(uint16_t& seconds, uint8_t& hundredths);
int32_t FindWorstTimeInt(uint16_t& seconds, uint8_t& hundredths);
int32_t FindWorstTimeExp(uint16_t& seconds, uint8_t& hundredths);
int32_t FindWorst3BVsBeg(uint8_t& whole, uint8_t& hundredths);
int32_t FindWorst3BVsInt(uint8_t& whole, uint8_t& hundredths);
int32_t FindWorst3BVsExp(uint8_t& whole, uint8_t& hundredths);
int32_t FindMax3BVBeg(uint16_t& bbbv);
int32_t FindMax3BVInt(uint16_t& bbbv);
int32_t FindMax3BVExp(uint16_t& bbbv);

// ---- Integer averages of a level (0 and 0 when it has no records) ----
void AverageTime(uint8_t level, uint16_t& whole, uint8_t& hundredths);
void Average3BVs(uint8_t level, uint8_t& whole, uint8_t& hundredths);
void Average3BV(uint8_t level, uint16_t& whole, uint8_t& hundredths);
// 3BV/s over every record of every level.
void AverageAll3BVs(uint8_t& whole, uint8_t& hundredths);

void AverageTimeBeg(uint16_t& whole, uint8_t& hundredths);
void AverageTimeInt(uint16_t& whole, uint8_t& hundredths);
void AverageTimeExp(uint16_t& whole, uint8_t& hundredths);
void Average3BVsBeg(uint8_t& whole, uint8_t& hundredths);
void Average3BVsInt(uint8_t& whole, uint8_t& hundredths);
void Average3BVsExp(uint8_t& whole, uint8_t& hundredths);
void Average3BVBeg(uint16_t& whole, uint8_t& hundredths);
void Average3BVInt(uint16_t& whole, uint8_t& hundredths);
void Average3BVExp(uint16_t& whole, uint8_t& hundredths);

// ---- Ranking walks ----
// From the current value (a, b) to the next one in ranking order; kHistoryNone and the start
// value when nothing is left. Plain walks list each distinct value once (first record wins);
// masked walks consider only records whose HistorySelectionMask byte is 1, admit values equal
// to (a, b) and let the last of equal records win, so the caller can clear them one by one.
int32_t FindNextByTime(uint8_t level, uint16_t a, uint8_t b, uint16_t& seconds, uint8_t& hundredths);
int32_t FindNextByTimeMasked(uint8_t level, uint16_t a, uint8_t b, uint16_t& seconds, uint8_t& hundredths);
int32_t FindNextBy3BVs(uint8_t level, uint8_t a, uint8_t b, uint8_t& whole, uint8_t& hundredths);
int32_t FindNextBy3BVsMasked(uint8_t level, uint8_t a, uint8_t b, uint8_t& whole, uint8_t& hundredths);

int32_t FindNextByTimeBeg(uint16_t a, uint8_t b, uint16_t& seconds, uint8_t& hundredths);
int32_t FindNextByTimeInt(uint16_t a, uint8_t b, uint16_t& seconds, uint8_t& hundredths);
int32_t FindNextByTimeExp(uint16_t a, uint8_t b, uint16_t& seconds, uint8_t& hundredths);
int32_t FindNextByTimeMaskedBeg(uint16_t a, uint8_t b, uint16_t& seconds, uint8_t& hundredths);
int32_t FindNextByTimeMaskedInt(uint16_t a, uint8_t b, uint16_t& seconds, uint8_t& hundredths);
int32_t FindNextByTimeMaskedExp(uint16_t a, uint8_t b, uint16_t& seconds, uint8_t& hundredths);
int32_t FindNextBy3BVsBeg(uint8_t a, uint8_t b, uint8_t& whole, uint8_t& hundredths);
int32_t FindNextBy3BVsInt(uint8_t a, uint8_t b, uint8_t& whole, uint8_t& hundredths);
int32_t FindNextBy3BVsExp(uint8_t a, uint8_t b, uint8_t& whole, uint8_t& hundredths);
int32_t FindNextBy3BVsMaskedBeg(uint8_t a, uint8_t b, uint8_t& whole, uint8_t& hundredths);
int32_t FindNextBy3BVsMaskedInt(uint8_t a, uint8_t b, uint8_t& whole, uint8_t& hundredths);
int32_t FindNextBy3BVsMaskedExp(uint8_t a, uint8_t b, uint8_t& whole, uint8_t& hundredths);

// ---- Whole-history summaries ("ERROR" for an empty table) ----
// The level caption played most, two captions joined by "-" on a tie of two, "All" on a tie of three.
std::string MostPlayedLevel();
// Mean clock time of the records, "HH:MM:SS".
std::string AverageTimeOfDay();
// Means of day, month and year taken separately, "DD.MM.YYYY".
std::string AverageGameDate();

} // namespace quorlet
