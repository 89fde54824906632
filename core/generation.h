// Mine placement and the board generated at the first left release.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/FData.h"

namespace quorlet {

// The board as its file stores it, from HiddenBoard: columns, rows, the mine count's high and
// low byte, then a column and a row byte per mine, mines in column-major order.
std::string BuildBoardString();

// Most mines a board of the current size can take: one cell always stays free for the click.
int MaxPlaceableMines();

// The mines of a board as bits: word column + 1 holds bit r for a mine in row r, so the edge
// columns' neighbours read an empty word. The board loops work on these, not on the layers.
using TMineBits = std::array<uint32_t, kMaxColumns + 2>;

// min(count, MaxPlaceableMines()) mines, each drawn as column then row and drawn again on a
// mine (the draws of PlaceMines). Returns the count placed.
int DrawMines(TMineBits& bits, uint16_t count);

// HiddenBoard inside the board from bits: 13 for a mine, else its number (as ComputeNumbers).
void WriteNumbers(const TMineBits& bits);

// HiddenBoard inside the board: 9 everywhere, then the mines of DrawMines (13). Returns the count.
int PlaceHiddenMines(uint16_t count);

// HiddenBoard cleared and `count` mines placed; VisibleBoard covered except question marks,
// pressed question marks and flags, so marks set before the first click survive.
// More mines than fit is a failure: logged, the log saved, the board filled as far as it goes.
void PlaceMines(uint16_t count);

// Moves a mine under (column, row) to a free cell outside its column and row (any other free
// cell when a dense board has none there). Draws from Random only when a mine is there.
void MoveMineFromClickedCell(uint8_t column, uint8_t row);

// The mines of one board for a click at (column, row): drawn as PlaceMines draws them, then a
// mine under the click moved as MoveMineFromClickedCell moves it. Logs a placement that falls
// short. The layers are not touched.
void DrawBoardForClick(TMineBits& mines, uint8_t column, uint8_t row);
// Makes `mines` the board: HiddenBoard numbered, VisibleBoard covered but for its marks,
// Board3BV, Openings and WorkBoard set.
void KeepBoard(const TMineBits& mines);
// One board safe at (column, row): placed, relocated, numbered (Board3BV, Openings, WorkBoard).
void GenerateBoardForClick(uint8_t column, uint8_t row);

// The first-click step: a board safe at (column, row), regenerated until hard enough (or until a
// search option is met), measured, logged, and the clock started. releasePos is the release
// position in board-image pixels, already clamped to the image.
void GenerateFirstClickBoard(uint8_t column, uint8_t row, TCursorPos releasePos);

} // namespace quorlet
