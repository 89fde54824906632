#include "stats/highscores.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "core/FData.h"
#include "core/board.h"
#include "core/debuglog.h"
#include "core/endgame.h"
#include "core/qvf.h"
#include "core/safewrite.h"
#include "core/textutil.h"
#include "core/uihooks.h"
#include "settings/FCap.h"
#include "stats/counters.h"
#include "stats/records.h"

namespace quorlet {

namespace {

using M = TRecordMeasure;
using S = TRecordSelection;

constexpr M kBlockMeasures[5] = {M::Time, M::BBBVs, M::RQP, M::IOS, M::IOE};

// The ten tests in notice order: each measure's flagging test, then its no-flagging one.
struct TNoticeTest {
    M measure;
    const char* word;
};
constexpr TNoticeTest kNoticeTests[5] = {
    {M::Time, "Time"}, {M::BBBVs, "3BV/s"}, {M::RQP, "RQP"}, {M::IOE, "IOE"}, {M::IOS, "IOS"}};

std::string MeasureCaption(M measure) {
    switch (measure) {
    case M::Time: return UIText("0028");
    case M::BBBVs: return UIText("0027");
    case M::RQP: return UITextTable[utRQP];
    case M::IOS: return UITextTable[utIOS];
    case M::IOE: return UITextTable[utIOE];
    }
    return {};
}

std::string LevelCaption(int level) {
    static const char* const kKeys[3] = {"0062", "0069", "0070"};
    return UIText(kKeys[level]);
}

// Fixed with three decimals, of which only those within four significant digits are kept
// (the rest written as zeros), rounded once; the regional separator.
std::string IoeText(float value) {
    const double v = value;
    int decimals = 3;
    if (std::isfinite(v) && v != 0)
        decimals = std::clamp(3 - static_cast<int>(std::floor(std::log10(std::fabs(v)))), 0, 3);
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, v);
    std::string out(text);
    if (decimals == 0) out += '.';
    out.append(static_cast<std::size_t>(3 - decimals), '0');
    if (const auto dot = out.find('.'); dot != std::string::npos) out[dot] = RegionalDecimalSeparator();
    return out;
}

// Totals above 999 are shown as 999 for the measures whose "none" value is 999.
bool CappedTotal(M measure) {
    return measure == M::Time || measure == M::RQP;
}

S PageSelection(int page) {
    switch ((page - 1) % 3) {
    case 1: return S::Flag;
    case 2: return S::NoFlag;
    default: return S::All;
    }
}

void WriteHeaders(THighScoreGrid& grid, bool withDate) {
    for (int b = 0; b < 5; ++b) {
        auto* rows = &grid.cells[5 * b];
        rows[0][1] = MeasureCaption(kBlockMeasures[b]);
        if (withDate) rows[0][2] = UIText("0192");
        for (int level = 0; level < 3; ++level)
            rows[1 + level][0] = LevelCaption(level);
        rows[4][0] = UIText("0211");
    }
}

void FillBestPage(THighScoreGrid& grid, S selection) {
    const std::string noneHigh = FormatGameTimePlain(999, 0);
    const std::string noneLow = FormatGameTimePlain(0, 0);
    std::array<TRecordIndexPage, 3> pages;
    for (uint8_t level = 0; level < 3; ++level)
        pages[level] = BestRecordPage(level);
    for (int b = 0; b < 5; ++b) {
        const M measure = kBlockMeasures[b];
        auto* rows = &grid.cells[5 * b];
        float total = 0;
        for (int level = 0; level < 3; ++level) {
            const int32_t i = pages[level][static_cast<int>(measure)][static_cast<int>(selection)];
            auto& row = rows[1 + level];
            if (i < 0 || i >= kRecordNone) {
                row[1] = CappedTotal(measure) ? noneHigh : noneLow;
                row[2].clear();
                if (CappedTotal(measure)) total += 999;
                continue;
            }
            const TGameRecord& r = GameHistory[i];
            row[2] = FormatClockTime(r.hour, r.minute, r.second) + " " + FormatDate(r.day, r.month, r.year);
            switch (measure) {
            case M::Time:
                row[1] = FormatGameTime(r.timeSec, r.timeHund);
                total = static_cast<float>(total + (r.timeSec + r.timeHund / 100.0L));
                break;
            case M::BBBVs:
                row[1] = ScoreToStr(r.bbbvsExact);
                total += r.bbbvsExact;
                break;
            case M::RQP:
                row[1] = ScoreToStr(r.rqp);
                total += r.rqp;
                break;
            case M::IOS:
                row[1] = ScoreToStr(r.ios);
                total += r.ios;
                break;
            case M::IOE: {
                const float ioe = RecordIOE(i);
                row[1] = IoeText(ioe);
                total += ioe;
                break;
            }
            }
        }
        if (measure == M::Time && Options.doRecorderStyleTimer) total += 3;
        if (CappedTotal(measure) && total > 999) total = 999;
        rows[4][1] = ScoreToStr(total);
    }
}

void FillTopPage(THighScoreGrid& grid, S selection) {
    std::array<TRecordAveragePage, 3> pages;
    for (uint8_t level = 0; level < 3; ++level)
        pages[level] = Top25AveragePage(level);
    for (int b = 0; b < 5; ++b) {
        const M measure = kBlockMeasures[b];
        auto* rows = &grid.cells[5 * b];
        float total = 0;
        for (int level = 0; level < 3; ++level) {
            float v = pages[level][static_cast<int>(measure)][static_cast<int>(selection)];
            if (measure == M::Time && Options.doRecorderStyleTimer) v += 1;
            rows[1 + level][1] = ScoreToStr(v);
            total += v;
        }
        if (CappedTotal(measure) && total > 999) total = 999;
        rows[4][1] = ScoreToStr(total);
    }
}

} // namespace

std::vector<std::string> HighScoreNoticeItems(int32_t index, uint8_t level) {
    std::vector<std::string> items;
    if (index < 0 || index >= kRecordNone) return items;
    const TRecordIndexPage page = BestRecordPage(level);
    for (const TNoticeTest& test : kNoticeTests) {
        const auto& best = page[static_cast<int>(test.measure)];
        if (best[static_cast<int>(S::Flag)] == index) items.push_back(UIText("0198") + " " + test.word);
        if (best[static_cast<int>(S::NoFlag)] == index) items.push_back(std::string("NF ") + test.word);
    }
    return items;
}

std::string HighScoreNoticeText(const std::vector<std::string>& items) {
    std::string list;
    for (const std::string& item : items)
        list += (list.empty() ? "" : ", ") + item;
    return UIText("0384") + "\r\n" + list + " " + UIText(items.size() > 1 ? "0386" : "0385") + "!";
}

bool ComposeHighScoreNotice(int32_t index) {
    if (index < 0 || index >= kRecordNone) return false;
    const std::vector<std::string> items = HighScoreNoticeItems(index, GameHistory[index].level);
    if (items.empty()) return false;
    if (UiHooks.ShowHighScoreNotice) UiHooks.ShowHighScoreNotice(HighScoreNoticeText(items));
    AutoSaveHighScoreReplay();
    return true;
}

TWindowRect HighScoreNoticePlace(const TWindowRect& main, int32_t width, int32_t height) {
    return {main.Left + main.Width / 2 - width / 2, main.Top + main.Height / 2 - height / 3, width, height};
}

bool HighScoreNoticeMayProceed() {
    return !IsGameUnranked() && IsBoardSolved() && !ReplayMode;
}

THighScoreGrid HighScorePage(int page) {
    THighScoreGrid grid;
    page = page < 1 || page > kHighScorePages ? 1 : page;
    const bool best = page <= 3;
    grid.columns = best ? 3 : 2;
    grid.widths = best ? std::array<int, 3>{170, 84, 160} : std::array<int, 3>{170, 84, 0};
    WriteHeaders(grid, best);
    if (best)
        FillBestPage(grid, PageSelection(page));
    else
        FillTopPage(grid, PageSelection(page));
    return grid;
}

std::string HighScorePageFileName(int page) {
    static const char* const kNames[kHighScorePages] = {
        "scores_best.html",  "scores_best_flagging.html",  "scores_best_no-flagging.html",
        "scores_top25.html", "scores_top25_flagging.html", "scores_top25_no-flagging.html"};
    return kNames[page < 1 || page > kHighScorePages ? 0 : page - 1];
}

std::string HighScorePageHtml(const THighScoreGrid& grid, const std::string& title) {
    std::string html = "<html>\r\n<head>\r\n<title>" + title +
                       "</title>\r\n</head>\r\n<body bgcolor=\"silver\" align=\"center\">\r\n"
                       "<table align=\"center\" border=\"1\" cellpadding=\"3\" cellspacing=\"0\">\r\n";
    for (const auto& row : grid.cells) {
        html += "<tr>";
        for (int c = 0; c < grid.columns; ++c)
            html += row[c].empty() ? "<td>&nbsp;</td>" : "<td>" + row[c] + "</td>";
        html += "</tr>\r\n";
    }
    return html + "</table>\r\n</body>\r\n</html>\r\n";
}

bool SaveHighScorePageHtml(const THighScoreGrid& grid, const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    const std::string title = slash == std::string::npos ? path : path.substr(slash + 1);
    std::string error;
    if (SafeWriteFile(path, HighScorePageHtml(grid, title), &error)) return true;
    DebugLog("#high scores table not saved to \"" + path + "\": " + error);
    ShowMessageBox(UIText("0290"));
    return false;
}

} // namespace quorlet
