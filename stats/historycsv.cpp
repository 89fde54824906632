#include "stats/historycsv.h"

#include <array>
#include <charconv>
#include <string_view>

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

// Appends a number in decimal.
void Number(std::string& out, int64_t v) {
    char buf[24];
    const auto res = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, res.ptr);
}

// Whole part, ".", two digits.
void Decimal(std::string& out, unsigned whole, unsigned hundredths) {
    Number(out, whole);
    out += '.';
    out += static_cast<char>('0' + hundredths / 10 % 10);
    out += static_cast<char>('0' + hundredths % 10);
}

// The 29 values of a record joined by `sep`.
void AppendValues(std::string& out, const TGameRecord& r, const TPass& pass, std::string_view sep) {
    int numbered = 0;
    for (int i = 1; i <= 8; ++i)
        numbered += r.cellCount[static_cast<size_t>(i)];
    const int64_t before[6] = {r.day, r.month, r.year, r.hour, r.minute, r.second};
    for (const int64_t v : before) {
        Number(out, v);
        out += sep;
    }
    out += pass.mode;
    out += sep;
    Decimal(out, r.timeSec + (Options.doRecorderStyleTimer ? 1u : 0u), r.timeHund);
    out += sep;
    Number(out, r.bbbv);
    out += sep;
    Decimal(out, r.bbbvsWhole, r.bbbvsHund);
    out += sep;
    out += r.flagging == 1 ? "Flag" : "NF";
    const int64_t after[18] = {pass.cells - numbered, r.cellCount[1],  r.cellCount[2],    r.cellCount[3],
                               r.cellCount[4],        r.cellCount[5],  r.cellCount[6],    r.cellCount[7],
                               r.cellCount[8],        r.leftClicks,    r.rightClicks,     r.doubleClicks,
                               r.effLeftClicks,       r.effRightClicks, r.effDoubleClicks, r.openings,
                               r.islands,             r.path};
    for (const int64_t v : after) {
        out += sep;
        Number(out, v);
    }
}

} // namespace

THistoryCsv HistoryCsvBytes() {
    THistoryCsv out;
    const uint32_t n = HistoryRecordCount();
    // Reserved once for the whole table: a full history makes about 30 and 90 MB.
    out.csv.reserve(size_t{n} * 120 + 512);
    out.html.reserve(size_t{n} * 360 + 2048);
    out.csv.append(kCsvHeader).append("\r\n");
    out.html.append(kHtmlHeader).append("\r\n");
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
