#include "stats/historywindow.h"

#include <filesystem>
#include <system_error>

#include "core/debuglog.h"
#include "core/safewrite.h"
#include "core/textutil.h"
#include "settings/FCap.h"
#include "stats/historyfile.h"
#include "stats/queries.h"

namespace quorlet {

int HistoryOpeningItem(uint8_t level) {
    if (level == glBeginner) return 1;
    if (level == glIntermediate) return 8;
    return 15;
}

THistoryPlacement HistoryWindowPlacement(const TWindowRect& stored, const TScreenSize& screen) {
    THistoryPlacement p{stored, false};
    const double area = static_cast<double>(stored.Width) * stored.Height * 1.5;
    p.maximised = area > static_cast<double>(screen.Width) * screen.Height;
    TWindowRect& r = p.rect;
    if (r.Left < 0) r.Left = 0;
    if (r.Left > screen.Width - r.Width) r.Left = screen.Width - r.Width;
    if (r.Top < 0) r.Top = 0;
    if (r.Top > screen.Height - r.Height) r.Top = screen.Height - r.Height;
    return p;
}

namespace {

std::vector<TPieSlice> NonZero(std::vector<TPieSlice> slices) {
    std::erase_if(slices, [](const TPieSlice& s) { return s.value == 0; });
    return slices;
}

} // namespace

std::vector<TPieSlice> StylePieSlices(int level) {
    uint32_t f = 0, n = 0;
    if (level < 0) {
        f = CountFlagGames();
        n = CountNoFlagGames();
    } else {
        f = CountFlagGamesOfLevel(static_cast<uint8_t>(level));
        n = CountNoFlagGamesOfLevel(static_cast<uint8_t>(level));
        if (f == n) ++f; // equal slices would not show apart
    }
    return NonZero({{UIText("0099"), f, kChartColour5}, {UIText("0000"), n, kChartColour3}});
}

std::vector<TPieSlice> GamesPieSlices() {
    uint32_t b = CountGamesBeg(), i = CountGamesInt(), e = CountGamesExp();
    if (e == i && e != 0) ++i;
    if (e == b && e != 0) ++b;
    if (b == i && b != 0) ++b;
    return NonZero({{UIText("0186"), b, kChartColour5}, {UIText("0187"), i, kChartColour1},
                    {UIText("0188"), e, kChartColour3}});
}

std::string PieLegendText(const TPieSlice& slice, const std::vector<TPieSlice>& slices) {
    uint64_t total = 0;
    for (const TPieSlice& s : slices)
        total += s.value;
    const uint64_t tenths = total ? (slice.value * uint64_t{2000} + total) / (2 * total) : 0; // rounded
    return slice.label + ": " + std::to_string(slice.value) + " (" + std::to_string(tenths / 10) +
           DecimalSeparatorChar() + std::to_string(tenths % 10) + " %)";
}

void RotatorZoomStep(int& zoom, uint8_t& growing) {
    if (growing) {
        if (++zoom > 140) growing = 0;
    } else if (--zoom < 75) {
        growing = 1;
    }
}

std::string HistoryBackupName(const TSystemTime& t) {
    return "stats_backup_" + std::to_string(t.day) + "-" + std::to_string(t.month) + "-" + std::to_string(t.year) +
           "_" + std::to_string(t.hour) + "-" + std::to_string(t.minute) + "-" + std::to_string(t.second) + ".dat";
}

std::string HistoryClearCopyName(const TSystemTime& t) {
    return "stats_backup_" + std::to_string(t.hour) + "h" + std::to_string(t.minute) + "m" +
           std::to_string(t.second) + "s-" + std::to_string(t.day) + "d" + std::to_string(t.month) + "m" +
           std::to_string(t.year) + "y.dat";
}

namespace {

// Copies the history file to `name` in the program folder; logs why when it cannot.
bool CopyHistoryFile(const std::string& name) {
    std::string error;
    if (SafeCopyFile(HistoryFilePath(), Options.LastPath + name, &error)) return true;
    DebugLog("#history backup \"" + name + "\" failed: " + error);
    return false;
}

} // namespace

bool BackupHistoryFile() {
    UpdateNow();
    const std::string name = HistoryBackupName(Now);
    if (!CopyHistoryFile(name)) {
        ShowMessageBox(UIText("0290"));
        return false;
    }
    ShowMessageBox(UIText("0102") + " \"" + name + "\"");
    return true;
}

bool ClearHistoryKeepingACopy() {
    UpdateNow();
    const std::string name = HistoryClearCopyName(Now);
    std::error_code ec;
    if (std::filesystem::exists(HistoryFilePath(), ec)) {
        if (!CopyHistoryFile(name)) {
            ShowMessageBox(UIText("0290"));
            return false; // never delete the only copy
        }
        std::filesystem::remove(HistoryFilePath(), ec);
        if (ec) {
            // The file would bring every game back at the next opening: nothing is cleared.
            DebugLog("#cannot delete \"stats.dat\": " + ec.message());
            ShowMessageBox(UIText("0290") + "\r\n" + HistoryFilePath());
            return false;
        }
    }
    ClearGameHistory();
    return true;
}

} // namespace quorlet
