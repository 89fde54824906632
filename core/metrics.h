// Board difficulty metrics: 3BV, openings, islands, time estimate, and the 3BV distribution tables.
#pragma once

#include <cstdint>
#include <string>

#include "core/generation.h"

namespace quorlet {

// Least clicks to clear the board without flags; sets Openings and WorkBoard
// (per safe cell, how many openings reach it).
uint16_t Calc3BV();
uint16_t GetBoard3BV();
// The 3BV of a board given by its mine bits (the value Calc3BV gives once it is numbered);
// changes nothing. The board loops use it.
uint16_t Count3BV(const TMineBits& mines);

// Groups (8-connected) of number cells that touch no zero.
uint8_t CountIslands();

// Sets TimeEstimate from Board3BV, NumberCellCounts and Openings (0 for Custom).
void EstimateTime();

// HiddenBoard only: places `mines` mines and numbers the rest; no metric, VisibleBoard untouched.
void GenerateRandomBoard(uint16_t mines);

bool BoardHasSeven();
bool BoardHasEight();

// The distribution table text for the current board size (one log entry);
// counts[b] is the number of boards with 3BV b, for b in 1..bins.
std::string Format3BVDistributionTable(const std::string& title, const uint32_t* counts, int bins,
                                       uint32_t boards);

// Write a 3BV distribution table of random boards to the debug log.
void Calc3BVDistributionBeginner(uint32_t boards);
void Calc3BVDistributionIntermediate(uint32_t boards);
void Calc3BVDistributionExpert(uint32_t boards);
void Calc3BVDistributionCustom();

} // namespace quorlet
