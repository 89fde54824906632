// Main-window commands over the game history.
#include "app/FMain.h"
#include "core/debuglog.h"
#include "stats/historycsv.h"

namespace quorlet {

void TMain::historyCSVClick() {
    try {
        WriteHistoryCsv();
    } catch (...) {
        DebugLog("#history CSV export failed");
    }
}

} // namespace quorlet
