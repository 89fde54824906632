#include "stats/historycsv.h"

#include <array>
#include <cstdio>

#include "core/FData.h"
#include "stats/historyhtml.h"

namespace quorlet {

namespace {

const char* const kCsvHeader = "Day,Month,Year,Hour,Min,Sec,mode,Time,BBBV,BBBVs,style,cell0,cell1,cell2,cell3,cell4,"
                               "cell5,cell6,cell7,cell8,Lcl,Rcl,Dcl,Leff,Reff,Deff,Openings,Islands,Path";
const char* const kHtmlHeader =
    "<html><head><title border=\"1\" cellspacing=\"2\" cellpadding=\"2\">quorlet stats csv file</title>"
    "<style>td.{align:center}</style></head><body bgcolor=\"cccccc\"><table><tr><td>Day</td><td>Month</td>"
    "<td>Year</td><td>Hour</td><td>Min</td><td>Sec</td><td>mode</td><td>Time</td><td>BBBV</td><td>BBBVs</td>"
    "<td>style</td><td>cell0</td><td>cell1</td><td>cell2</td><td>cell3</td><td>cell4</td><td>cell5</td>"
    "<td>cell6</td><td>cell7</td><td>cell8</td><td>Lcl</td><td>Rcl</td><td>Dcl</td><td>Leff</td><td>Reff</td>"
    "<td>Deff</td><td>Openings</td><td>Islands</td><td>Path</td></tr>";

struct TPass {
    const char* mode;
    int cells; // safe cells of the level's board
};
constexpr std::array<TPass, 3> kPasses{{{"BEG", 54}, {"INT", 216}, {"EXP", 381}}};

// The 29 values of a record, each followed by `sep` but the last.
void AppendValues(std::string& out, const TGameRecord& r, const TPass& pass, const char* sep) {
    char time[32], rate[16];
    std::snprintf(time, sizeof time, "%u.%02u", r.timeSec + (Options.doRecorderStyleTimer ? 1u : 0u),
                  static_cast<unsigned>(r.timeHund % 100));
    std::snprintf(rate, sizeof rate, "%u.%02u", unsigned{r.bbbvsWhole}, static_cast<unsigned>(r.bbbvsHund % 100));
    int numbered = 0;
    for (int i = 1; i <= 8; ++i)
        numbered += r.cellCount[static_cast<size_t>(i)];
    const std::string values[29] = {
        std::to_string(r.day), std::to_string(r.month), std::to_string(r.year), std::to_string(r.hour),
        std::to_string(r.minute), std::to_string(r.second), pass.mode, time, std::to_string(r.bbbv), rate,
        r.flagging == 1 ? "Flag" : "NF", std::to_string(pass.cells - numbered), std::to_string(r.cellCount[1]),
        std::to_string(r.cellCount[2]), std::to_string(r.cellCount[3]), std::to_string(r.cellCount[4]),
        std::to_string(r.cellCount[5]), std::to_string(r.cellCount[6]), std::to_string(r.cellCount[7]),
        std::to_string(r.cellCount[8]), std::to_string(r.leftClicks), std::to_string(r.rightClicks),
        std::to_string(r.doubleClicks), std::to_string(r.effLeftClicks), std::to_string(r.effRightClicks),
        std::to_string(r.effDoubleClicks), std::to_string(r.openings), std::to_string(r.islands),
        std::to_string(r.path)};
    for (size_t i = 0; i < 29; ++i) {
        if (i) out += sep;
        out += values[i];
    }
}

} // namespace

THistoryCsv HistoryCsvBytes() {
    THistoryCsv out;
    const uint32_t n = HistoryRecordCount();
    out.csv.reserve(size_t{n} * 110 + 512);
    out.html.reserve(size_t{n} * 260 + 2048);
    out.csv = std::string(kCsvHeader) + "\r\n";
    out.html = std::string(kHtmlHeader) + "\r\n";
    for (uint8_t level = 0; level < 3; ++level)
        for (uint32_t i = 0; i < n; ++i) {
            const TGameRecord& r = GameHistory[i];
            if (r.level != level) continue;
            out.html += "<tr><td>";
            AppendValues(out.html, r, kPasses[level], "</td><td>");
            out.html += "</td></tr>\r\n";
            AppendValues(out.csv, r, kPasses[level], ",");
            out.csv += "\r\n";
        }
    out.html += "</table></body></html>\r\n";
    return out;
}

bool WriteHistoryCsv() {
    if (GameHistory[0].day == 0) return true; // an empty history touches no file
    const THistoryCsv bytes = HistoryCsvBytes();
    const bool csv = WriteExportFile(Options.LastPath + "stats_csv.csv", bytes.csv);
    const bool html = WriteExportFile(Options.LastPath + "stats_csv.html", bytes.html);
    return csv && html;
}

} // namespace quorlet
