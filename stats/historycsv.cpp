#include "stats/historycsv.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <string_view>

#include "core/FData.h"
#include "core/safewrite.h"
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

// Writes a number in decimal and moves on.
char* Number(char* at, int64_t v) {
    return std::to_chars(at, at + 24, v).ptr;
}

char* Put(char* at, std::string_view text) {
    return std::copy(text.begin(), text.end(), at);
}

// Whole part, ".", two digits.
char* Decimal(char* at, unsigned whole, unsigned hundredths) {
    at = Number(at, whole);
    *at++ = '.';
    *at++ = static_cast<char>('0' + hundredths / 10 % 10);
    *at++ = static_cast<char>('0' + hundredths % 10);
    return at;
}

// The widest a record's line can be: 29 values of at most 20 characters and their separators.
constexpr size_t MaxLine(std::string_view sep, std::string_view around) {
    return 29 * (20 + sep.size()) + around.size();
}

// One record's line: `start`, the 29 values joined by `sep`, `end`; returns its length.
size_t RecordLine(char* line, const TGameRecord& r, const TPass& pass, std::string_view start,
                  std::string_view sep, std::string_view end) {
    int numbered = 0;
    for (int i = 1; i <= 8; ++i)
        numbered += r.cellCount[static_cast<size_t>(i)];
    char* at = Put(line, start);
    const int64_t before[6] = {r.day, r.month, r.year, r.hour, r.minute, r.second};
    for (const int64_t v : before) {
        at = Number(at, v);
        at = Put(at, sep);
    }
    at = Put(at, pass.mode);
    at = Put(at, sep);
    at = Decimal(at, r.timeSec + (Options.doRecorderStyleTimer ? 1u : 0u), r.timeHund);
    at = Put(at, sep);
    at = Number(at, r.bbbv);
    at = Put(at, sep);
    at = Decimal(at, r.bbbvsWhole, r.bbbvsHund);
    at = Put(at, sep);
    at = Put(at, r.flagging == 1 ? "Flag" : "NF");
    const int64_t after[18] = {pass.cells - numbered, r.cellCount[1],  r.cellCount[2],    r.cellCount[3],
                               r.cellCount[4],        r.cellCount[5],  r.cellCount[6],    r.cellCount[7],
                               r.cellCount[8],        r.leftClicks,    r.rightClicks,     r.doubleClicks,
                               r.effLeftClicks,       r.effRightClicks, r.effDoubleClicks, r.openings,
                               r.islands,             r.path};
    for (const int64_t v : after) {
        at = Put(at, sep);
        at = Number(at, v);
    }
    at = Put(at, end);
    return static_cast<size_t>(at - line);
}

constexpr std::string_view kHtmlStart = "<tr><td>", kHtmlSep = "</td><td>", kHtmlEnd = "</td></tr>\r\n";
constexpr std::string_view kCsvSep = ",", kCsvEnd = "\r\n";

} // namespace

bool WriteHistoryCsv() {
    if (GameHistory[0].day == 0) return true; // an empty history touches no file
    const std::string csvPath = Options.LastPath + "stats_csv.csv",
                      htmlPath = Options.LastPath + "stats_csv.html";
    // Both files as streams: a full history makes about 30 and 90 MB.
    TSafeFileWriter csv(csvPath), html(htmlPath);
    csv.Write(kCsvHeader);
    csv.Write(kCsvEnd);
    html.Write(kHtmlHeader);
    html.Write("\r\n");
    char line[std::max(MaxLine(kHtmlSep, "<tr><td></td></tr>\r\n"), MaxLine(kCsvSep, kCsvEnd))];
    const uint32_t n = HistoryRecordCount();
    for (uint8_t level = 0; level < 3; ++level)
        for (uint32_t i = 0; i < n; ++i) {
            const TGameRecord& r = GameHistory[i];
            if (r.level != level) continue;
            html.Write({line, RecordLine(line, r, kPasses[level], kHtmlStart, kHtmlSep, kHtmlEnd)});
            csv.Write({line, RecordLine(line, r, kPasses[level], {}, kCsvSep, kCsvEnd)});
        }
    html.Write("</table></body></html>\r\n");
    const bool csvSaved = CommitExportFile(csv, csvPath);
    const bool htmlSaved = CommitExportFile(html, htmlPath);
    return csvSaved && htmlSaved;
}

} // namespace quorlet
