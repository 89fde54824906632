// The statistics pages of the history window, drawn into a headless grid from GameHistory:
// level summaries, rankings, reviews, activity and the entire listing. Each filler sets the
// grid's column count, row count, widths and cells; the caller empties the grid first
// (ClearHistoryGrid), as the window's page dispatch does. Level routines take 0 Beginner,
// 1 Intermediate, 2 Expert; the Beg/Int/Exp names are their entry points.
#pragma once

#include <cstdint>
#include <string>

#include "stats/historygrid.h"

namespace quorlet {

// Empties every cell inside the grid's counts.
void ClearHistoryGrid(THistoryGrid& sg);

// 7 x 17: counts, full time, best/average/worst time, 3BV/s and 3BV with their records.
void FillLevelSummary(THistoryGrid& sg, uint8_t level);
// One row per listed record, best first. With doShowEquals off each distinct value is listed
// once by its earliest record; with it on every record is listed: the earliest best one first,
// then each value's records newest first. "None" values (999 s, 3BV/s 0.00) are left out.
// With doShowEquals on, HistorySelectionMask ends as the walk over the masked queries leaves it.
void FillTimeRanking(THistoryGrid& sg, uint8_t level);
void Fill3BVsRanking(THistoryGrid& sg, uint8_t level);

// Reviews: one row per non-empty bucket of whole seconds (1..999), 3BV/s tenths (1..1000,
// fastest first) or 3BV (1..999); records whose key lies outside are left out.
void FillTimesReview(THistoryGrid& sg, uint8_t level);
void Fill3BVsReview(THistoryGrid& sg, uint8_t level);
void Fill3BVReview(THistoryGrid& sg, uint8_t level);
// Games, shares and play time by hour, weekday and month over every record. Refreshes Now.
void FillTotalActivity(THistoryGrid& sg);
// Every record, newest first, under an averages row: n + 3 rows, or the header alone.
void FillEntireStatisticsDebug(THistoryGrid& sg);

void FillLevelSummaryBeg(THistoryGrid& sg);
void FillLevelSummaryInt(THistoryGrid& sg);
void FillLevelSummaryExp(THistoryGrid& sg);
void FillTimeRankingBeg(THistoryGrid& sg);
void FillTimeRankingInt(THistoryGrid& sg);
void FillTimeRankingExp(THistoryGrid& sg);
void Fill3BVsRankingBeg(THistoryGrid& sg);
void Fill3BVsRankingInt(THistoryGrid& sg);
void Fill3BVsRankingExp(THistoryGrid& sg);
void FillTimesReviewBeg(THistoryGrid& sg);
void FillTimesReviewInt(THistoryGrid& sg);
void FillTimesReviewExp(THistoryGrid& sg);
void Fill3BVsReviewBeg(THistoryGrid& sg);
void Fill3BVsReviewInt(THistoryGrid& sg);
void Fill3BVsReviewExp(THistoryGrid& sg);
void Fill3BVReviewBeg(THistoryGrid& sg);
void Fill3BVReviewInt(THistoryGrid& sg);
void Fill3BVReviewExp(THistoryGrid& sg);

// ---- The window's page outline ----
// Outline items, 1-based as the window numbers them.
constexpr int kHistoryOutlineItems = 27;
constexpr int kSetupOutlineItem = 26;
constexpr int kSearchOutlineItem = 27;
enum class THistoryPanel { Grid, StyleChart, GamesChart, Setup, Search };
// The panel an outline item shows (items outside 1..27 show the setup panel).
THistoryPanel HistoryPagePanel(int item);
// The outline item's own text ("3BV Reviev" as the outline has always spelt it).
std::string HistoryOutlineText(int item);
// The caption of the page's panel (the page name of the grid export).
std::string HistoryPageCaption(int item);
// Empties the grid and, for a grid page, draws it. False for the other pages.
bool DrawHistoryGridPage(THistoryGrid& sg, int item);
// The level of items 1-21 (0, 1, 2), or -1.
int HistoryItemLevel(int item);

// ---- Shared cell texts ----
// "Flag" or "Non-Flag" from the text table.
std::string StyleText(uint8_t flagging);
// "Beg", "Int" or "Exp"; "ERROR" for any other level.
std::string LevelText(uint8_t level);
// Hundredths of a second as hours (unpadded), minutes and seconds: "1:02:03".
std::string FormatPlayTime(uint64_t hundredths);

} // namespace quorlet
