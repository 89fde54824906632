// The history window's own rules, apart from its pages: where it opens, its pies and their
// rotation, and the backup and clearing of "stats.dat".
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/FData.h"
#include "core/uihooks.h"

namespace quorlet {

// ---- Opening ----
// The outline item the window opens on for a level: 1, 8 or 15 (Custom opens on Expert's).
int HistoryOpeningItem(uint8_t level);
// The stored rectangle (posHist*), maximised when its area x 1.5 passes the screen's, and its
// corner kept inside the screen.
struct THistoryPlacement {
    TWindowRect rect;
    bool maximised = false;
};
THistoryPlacement HistoryWindowPlacement(const TWindowRect& stored, const TScreenSize& screen);

// ---- Pies ----
// Slice colours of the colour strip.
constexpr uint32_t kChartColour1 = 0x367C89, kChartColour3 = 0xEF9E0A, kChartColour5 = 0x3A6EA5;
struct TPieSlice {
    std::string label;
    uint32_t value;
    uint32_t colour; // 0xRRGGBB
};
// The style pie of a level (0..2), with equal counts drawn apart by one; level -1 is the
// overall pie, drawn as counted. Slices of value 0 are left out.
std::vector<TPieSlice> StylePieSlices(int level);
std::vector<TPieSlice> GamesPieSlices();
// The legend line of a slice: its word, its value and its share of all the slices' values in
// tenths of a percent, e.g. "Flag-style: 7 (58.3 %)"; the share's separator by doDotSeparator.
std::string PieLegendText(const TPieSlice& slice, const std::vector<TPieSlice>& slices);
// One rotation step of the zoom between its limits: grows past 140, then shrinks below 75.
void RotatorZoomStep(int& zoom, uint8_t& growing);

// ---- Backup and clear ----
// "stats_backup_5-3-2024_7-8-9.dat" and "stats_backup_7h8m9s-5d3m2024y.dat".
std::string HistoryBackupName(const TSystemTime& now);
std::string HistoryClearCopyName(const TSystemTime& now);
// Copies "stats.dat" to a backup named from Now and says so ("Backup file: \"...\""); a failed
// copy logs "#" and says "Cannot save file" instead. True when the copy was made.
bool BackupHistoryFile();
// After the user said Yes: copies "stats.dat" aside, deletes it and empties the table. When the
// file is there but cannot be copied or deleted it is kept, the table too, "Cannot save file"
// is shown, and the result is false; true when the table was emptied (the window then closes).
bool ClearHistoryKeepingACopy();

} // namespace quorlet
