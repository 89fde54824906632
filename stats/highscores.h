// The new-record notice after a won game and the pages of the local high-score window:
// what they say is computed here from the personal-record queries; the windows only show it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/uihooks.h"

namespace quorlet {

// ---- New-record notice ----

// The items of the ten new-record tests that the record at `index` passes on `level` ("Flag
// Time", "NF 3BV/s" ...), in test order. Equalling an earlier record passes no test.
std::vector<std::string> HighScoreNoticeItems(int32_t index, uint8_t level);
// "Congratulations with" CR LF, the items joined by ", ", a blank, "high score(s)" and "!".
std::string HighScoreNoticeText(const std::vector<std::string>& items);
// After a stored win: with at least one item the notice shows (UiHooks.ShowHighScoreNotice,
// which also disables the main window) and the high-score replay is saved. Returns whether
// the notice was shown; without an item nothing happens.
bool ComposeHighScoreNotice(int32_t index);
// Top-left corner of the notice over the main window: centred across, a third of its height
// above the main window's middle (integer halves and thirds, truncating toward zero).
TWindowRect HighScoreNoticePlace(const TWindowRect& main, int32_t width, int32_t height);
// The notice's OK may open the high-score window: the won game is still the current solved,
// ranked, live game.
bool HighScoreNoticeMayProceed();

// ---- High-score pages ----

constexpr int kHighScorePages = 6;
constexpr int kHighScoreRows = 25;

// One page's grid as the window shows it: pages 1-3 have three columns, 4-6 two.
struct THighScoreGrid {
    int columns = 3;
    std::array<int, 3> widths{};
    std::array<std::array<std::string, 3>, kHighScoreRows> cells;
};

// Page 1..6: best games of all, flagging, no-flagging games; top-25 averages of the same.
// Every cell is written, so a level without a record shows an empty date.
THighScoreGrid HighScorePage(int page);
// The file name the export proposes for page 1..6 ("scores_best.html" ...).
std::string HighScorePageFileName(int page);
// The HTML table of a grid, CR LF lines; cell texts unescaped as they stand.
std::string HighScorePageHtml(const THighScoreGrid& grid, const std::string& title);
// Writes the page's HTML to `path` in one safe write; a failure logs a "#" line, shows
// "Cannot save file" and returns false.
bool SaveHighScorePageHtml(const THighScoreGrid& grid, const std::string& path);

} // namespace quorlet
