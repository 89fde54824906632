#include "stats/chatreports.h"

#include "core/shell.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "core/FData.h"
#include "core/clock.h"
#include "core/debuglog.h"
#include "core/random.h"
#include "core/textutil.h"
#include "settings/FCap.h"
#include "stats/chatformat.h"
#include "stats/counters.h"
#include "stats/gamerecord.h"
#include "stats/queries.h"

namespace quorlet {

namespace {

bool Coloured() {
    return Options.doIRCtype == ifMirc || Options.doIRCtype == ifCgi;
}

bool SmileyCoin() {
    return Random(2) == 1;
}

std::string StyleWord(const TGameRecord& r) {
    return UIText(r.flagging ? "0341" : "0342");
}

std::string TimeOf(const TGameRecord& r) {
    return FormatGameTime(r.timeSec, r.timeHund);
}

std::string BBBVsOf(const TGameRecord& r) {
    return FormatGameTimePlain(r.bbbvsWhole, r.bbbvsHund);
}

// (whole, hundredths) pairs as one number, the whole deciding.
uint32_t TimeKey(const TGameRecord& r) {
    return uint32_t{r.timeSec} << 8 | r.timeHund;
}
uint32_t RateKey(const TGameRecord& r) {
    return uint32_t{r.bbbvsWhole} << 8 | r.bbbvsHund;
}

// Records of the level and flagging style of `of` (itself included) that pass the test.
template <typename Test> uint32_t CountInLevelAndStyle(const TGameRecord& of, Test test) {
    const uint32_t count = HistoryRecordCount();
    uint32_t n = 0;
    for (uint32_t i = 0; i < count; ++i) {
        const TGameRecord& r = GameHistory[i];
        if (r.level == of.level && r.flagging == of.flagging && test(r)) ++n;
    }
    return n;
}

void NotFound(const std::string& digits) {
    DebugLog("stats game #\"" + digits + "\" not found");
    ShowMessageBox("Error: Game #\"" + digits + "\" not found");
}

void Copy(const std::string& text) {
    CopyTextToClipboard(text);
}

} // namespace

uint32_t ChatRankTime(int32_t index) {
    const TGameRecord& of = GameHistory[index];
    return CountInLevelAndStyle(of, [key = TimeKey(of)](const TGameRecord& r) { return TimeKey(r) <= key; });
}

uint32_t ChatRank3BVs(int32_t index) {
    const TGameRecord& of = GameHistory[index];
    const uint32_t rank =
        CountInLevelAndStyle(of, [key = RateKey(of)](const TGameRecord& r) { return RateKey(r) >= key; });
    return std::max<uint32_t>(rank, 1);
}

std::string ChatCutNumber(long double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value),
                                      std::chars_format::general, 15);
    std::string text(buffer, result.ptr);
    if (const auto dot = text.find('.'); dot != std::string::npos) text[dot] = RegionalDecimalSeparator();
    for (const char mark : {',', '.'})
        if (const auto at = text.find(mark); at != std::string::npos && text.size() > at + 3)
            text.resize(at + 3);
    return text;
}

TChatRecordFigures ChatRecordFigures(int32_t index) {
    const TGameRecord& r = GameHistory[index];
    TChatRecordFigures f;
    f.games = LevelGameCounts[std::min<uint8_t>(r.level, 2)];
    f.rankTime = ChatRankTime(index);
    f.rank3BVs = ChatRank3BVs(index);
    // A stale count (below the ranks it must hold) would give a negative or infinite index.
    const uint32_t n = std::max({f.games, f.rankTime, f.rank3BVs});
    f.rpi = ChatCutNumber((2.0L * n - f.rankTime - f.rank3BVs + 2) * 50 / n);
    const long double t = r.timeSec + r.timeHund / 100.0L;
    f.ios = r.level != glBeginner && r.timeSec > 9
                ? ChatCutNumber(std::log((long double)r.bbbv) / std::log(t))
                : "n/a";
    f.rqp = r.bbbv != 0 && r.timeSec + r.timeHund != 0
                ? ChatCutNumber((r.timeSec + 1 + r.timeHund / 100.0L) / (r.bbbv / t))
                : "n/a";
    return f;
}

std::string ChatDigitsOf(const std::string& answer) {
    std::string digits;
    for (const char c : answer)
        if (c >= '0' && c <= '9') digits += c;
    return digits;
}

std::optional<uint32_t> ParseChatGameNumber(const std::string& digits) {
    uint64_t number = 0;
    const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (digits.empty() || result.ec != std::errc() || number == 0 || number > HistoryRecordCount())
        return std::nullopt;
    return static_cast<uint32_t>(number);
}

std::string BuildLastGameReport(int32_t index) {
    const TGameRecord& r = GameHistory[index];
    const TChatRecordFigures f = ChatRecordFigures(index);
    const std::string level = ChatLevelWordOf(r.level);
    const std::string among = r.flagging ? "" : "among NF games ";
    const std::string N = std::to_string(f.games);
    const std::string rt = std::to_string(f.rankTime), rb = std::to_string(f.rank3BVs);
    if (!Coloured()) {
        const std::string& sep = ChatPlainSeparator();
        return ChatCommandPrefix() + " last " + N + OrdinalSuffix(f.games) + " " + level +
               " game: Time: " + TimeOf(r) + sep + "3BV: " + std::to_string(r.bbbv) + sep +
               "3BV/s: " + BBBVsOf(r) + sep + "\"" + StyleWord(r) + "\" Rank: " + among + rt +
               OrdinalSuffix(f.rankTime) + " time " + rb + OrdinalSuffix(f.rank3BVs) +
               " 3BV/s ( RPI: " + f.rpi + " IOS: " + f.ios + " RQP: " + f.rqp + " ) " + RandomChatSmiley();
    }
    const TChatColors c = PickChatColors();
    auto L = [&](const std::string& x) { return ChatLabel(x, c); };
    auto V = [&](const std::string& x) { return ChatValue(x, c); };
    return ChatCommandPrefix() + " " + L("last") + " " + V(N) + L(OrdinalSuffix(f.games)) + " " + V(level) +
           " " + L("game:") + " " + L("Time: ") + V(TimeOf(r)) + " " + L("3BV: ") +
           V(std::to_string(r.bbbv)) + " " + L("3BV/s: ") + V(BBBVsOf(r)) + " " + L("\"") + V(StyleWord(r)) +
           L("\"") + " " + L("Rank:") + " " + L(among) + V(rt) + L(OrdinalSuffix(f.rankTime)) + " " +
           L("time") + " " + V(rb) + L(OrdinalSuffix(f.rank3BVs)) + " " + L("3BV/s") + " ( " + L("RPI: ") +
           V(f.rpi) + " " + L("IOS: ") + V(f.ios) + " " + L("RQP: ") + V(f.rqp) + " " + L(") ") +
           ChatPlainValue(RandomChatSmiley(), c);
}

std::string BuildGameByNumberReport(uint32_t number) {
    const int32_t index = static_cast<int32_t>(number - 1);
    const TGameRecord& r = GameHistory[index];
    const TChatRecordFigures f = ChatRecordFigures(index);
    const std::string level = ChatLevelWordOf(r.level);
    const std::string among = r.flagging ? "" : "among NF games";
    const std::string no = std::to_string(number);
    const std::string rt = std::to_string(f.rankTime), rb = std::to_string(f.rank3BVs);
    if (!Coloured()) {
        const std::string& sep = ChatPlainSeparator();
        return ChatCommandPrefix() + " my Quorlet " + no + OrdinalSuffix(number) + " " + level +
               " game: Mode: " + level + sep + "Time: " + TimeOf(r) + sep + "3BV: " + std::to_string(r.bbbv) +
               sep + "3BV/s: " + BBBVsOf(r) + sep + "\"" + StyleWord(r) + "\" Rank: " + among + " " + rt +
               OrdinalSuffix(f.rankTime) + " time " + rb + OrdinalSuffix(f.rank3BVs) +
               " 3BV/s ( RPI: " + f.rpi + " IOS: " + f.ios + " RQP: " + f.rqp + " ) " + RandomChatSmiley();
    }
    const TChatColors c = PickChatColors();
    auto L = [&](const std::string& x) { return ChatLabel(x, c); };
    auto V = [&](const std::string& x) { return ChatValue(x, c); };
    return ChatCommandPrefix() + " " + L("my Quorlet") + " " + V(no) + L(OrdinalSuffix(number)) + " " +
           L("game:") + " " + L("Mode=") + V(level) + " " + L("Time=") + V(TimeOf(r)) + " " + L("3BV=") +
           V(std::to_string(r.bbbv)) + " " + L("3BV/s=") + V(BBBVsOf(r)) + " " + L("\"") + V(StyleWord(r)) +
           L("\"") + " " + L("Rank:") + " " + L(among) + " " + V(rt) + L(OrdinalSuffix(f.rankTime)) + " " +
           L("time") + " " + V(rb) + L(OrdinalSuffix(f.rank3BVs)) + " " + L("3BV/s") + " ( " + L("RPI=") +
           V(f.rpi) + " " + L("IOS=") + V(f.ios) + " " + L("RQP=") + V(f.rqp) + " " + L(") ") +
           ChatPlainValue(RandomChatSmiley(), c);
}

std::string BuildRecordsReport(bool byTime) {
    static const char* const kNames[3] = {"BEG", "INT", "EXP"};
    const bool coloured = Coloured();
    TChatColors c;
    if (coloured) c = PickChatColors();
    auto L = [&](const std::string& x) { return ChatLabel(x, c); };
    auto V = [&](const std::string& x) { return ChatValue(x, c); };
    const std::string head = byTime ? "My Time records on" : "My 3BV/s records on";
    std::string text = coloured
                           ? ChatCommandPrefix() + " " + L(head) + " " + V("Quorlet") + " " + L("are:") + " "
                           : ChatCommandPrefix() + " " + head + " Quorlet are: ";
    const std::string& sep = ChatPlainSeparator();
    for (uint8_t level = coloured ? 1 : 0; level < 3; ++level) {
        uint16_t seconds = 0;
        uint8_t hundredths = 0, whole = 0;
        int32_t index;
        std::string time, bbbvs;
        if (byTime) {
            index = FindBestTime(level, seconds, hundredths);
            time = FormatGameTime(seconds, hundredths);
            bbbvs = BBBVsOf(GameHistory[index]);
        } else {
            index = FindBest3BVs(level, whole, hundredths);
            bbbvs = FormatGameTimePlain(whole, hundredths);
            time = TimeOf(GameHistory[index]);
        }
        const TGameRecord& r = GameHistory[index];
        const std::string bbbv = std::to_string(r.bbbv), date = FormatDate(r.day, r.month, r.year);
        if (coloured) {
            const std::string timePart = L("Time=") + V(time), rate = L("3BV/s=") + V(bbbvs),
                              board = L("3BV=") + V(bbbv);
            text += L("[") + V(kNames[level]) + " " +
                    (byTime ? timePart + " " + board + " " + rate : rate + " " + timePart + " " + board) +
                    " " + L("\"") + V(StyleWord(r)) + L("\"") + " " + L("Date=") + V(date) + L("]") + " ";
        } else {
            const std::string timePart = "Time: " + time, rate = "3BV/s: " + bbbvs, board = "3BV: " + bbbv;
            text += "[" + std::string(kNames[level]) + " " +
                    (byTime ? timePart + sep + board + sep + rate : rate + sep + timePart + sep + board) +
                    sep + "\"" + StyleWord(r) + "\" Date: " + date + "] ";
        }
    }
    if (SmileyCoin()) text += " " + (coloured ? V(RandomChatSmiley()) : RandomChatSmiley());
    return text;
}

std::string BuildAveragesReport() {
    const bool coloured = Coloured();
    TChatColors c;
    if (coloured) c = PickChatColors();
    auto L = [&](const std::string& x) { return coloured ? ChatLabel(x, c) : x; };
    auto V = [&](const std::string& x) { return coloured ? ChatValue(x, c) : x; };
    const uint32_t b = LevelGameCounts[0], i = LevelGameCounts[1], e = LevelGameCounts[2];
    std::string text = ChatCommandPrefix() + " " + L("My stats file contains") + " " +
                       V(std::to_string(b + i + e)) + " " + L("games:") + " " + V(std::to_string(b)) + " " +
                       L("beg,") + " " + V(std::to_string(i)) + " " + L("int,") + " " + V(std::to_string(e)) +
                       " " + L("exp.") + " " + L("Averages:") + " ";
    for (uint8_t level = 1; level < 3; ++level) {
        uint16_t timeWhole = 0, bbbvWhole = 0;
        uint8_t timeHund = 0, bbbvHund = 0, rateWhole = 0, rateHund = 0;
        AverageTime(level, timeWhole, timeHund);
        Average3BV(level, bbbvWhole, bbbvHund);
        Average3BVs(level, rateWhole, rateHund);
        text += L("[") + V(level == 1 ? "INT" : "EXP") + " " + L("Time=") +
                V(FormatGameTime(timeWhole, timeHund)) + " " + L("3BV=") +
                V(FormatGameTimePlain(bbbvWhole, bbbvHund)) + " " + L("3BV/s=") +
                V(FormatGameTimePlain(rateWhole, rateHund)) + L("]") + " ";
    }
    if (SmileyCoin()) text += " " + V(RandomChatSmiley());
    return text;
}

std::string BuildTodayReport(uint8_t level) {
    UpdateNow();
    uint32_t k = 0, f = 0;
    uint64_t sumSec = 0, sumHund = 0, sumWhole = 0, sumRateHund = 0, sumBBBV = 0;
    uint32_t bestTime = 999u << 8 | 99u, bestRate = 0;
    uint16_t bestTimeBBBV = 0, bestRateBBBV = 0;
    const uint32_t count = HistoryRecordCount();
    for (uint32_t i = 0; i < count; ++i) {
        const TGameRecord& r = GameHistory[i];
        if (r.level != level || r.year != Now.year || r.month != Now.month || r.day != Now.day) continue;
        ++k;
        if (r.flagging) ++f;
        const uint32_t time = TimeKey(r);
        const uint32_t rate = RateKey(r);
        if (time < bestTime) bestTime = time, bestTimeBBBV = r.bbbv;
        if (rate > bestRate) bestRate = rate, bestRateBBBV = r.bbbv;
        sumSec += r.timeSec;
        sumHund += r.timeHund;
        sumWhole += r.bbbvsWhole;
        sumRateHund += r.bbbvsHund;
        sumBBBV += r.bbbv;
    }
    const bool coloured = Coloured();
    TChatColors c;
    if (coloured) c = PickChatColors();
    auto L = [&](const std::string& x) { return coloured ? ChatLabel(x, c) : x; };
    auto V = [&](const std::string& x) { return coloured ? ChatValue(x, c) : x; };
    std::string text = ChatCommandPrefix() + " " + L("has finished") + " " + V(std::to_string(k)) + " " +
                       V(ChatLevelWordOf(level)) + " ";
    if (k == 0) return text + L("games today. :'(");
    // Integer mean of (whole, hundredths) pairs: hundredths carried into the wholes first.
    auto mean = [k](uint64_t wholes, uint64_t hundredths, uint64_t& whole, uint64_t& hund) {
        const uint64_t s = wholes + hundredths / 100;
        whole = s / k;
        hund = ((s % k) * 100 + hundredths % 100) / k % 100;
    };
    uint64_t avgTime = 0, avgTimeHund = 0, avgRate = 0, avgRateHund = 0;
    mean(sumSec, sumHund, avgTime, avgTimeHund);
    mean(sumWhole, sumRateHund, avgRate, avgRateHund);
    text += L("games today:") + " ";
    if (f > 0) text += V(std::to_string(f)) + " " + L("flagging") + " ";
    if (k - f > 0) text += V(std::to_string(k - f)) + " " + L("NF");
    text += L(". Best were") + " " +
            V(FormatGameTime(static_cast<uint16_t>(bestTime >> 8), bestTime & 0xFF)) + " " + L("sec") + " " +
            L("on") + " " + V(std::to_string(bestTimeBBBV)) + L(" 3BV board and") + " " +
            V(FormatGameTimePlain(static_cast<uint16_t>(bestRate >> 8), bestRate & 0xFF)) + " " + L("3BV/s") +
            " " + L("on") + " " + V(std::to_string(bestRateBBBV)) + L(" 3BV board. Averages: Time=") +
            V(FormatGameTime(static_cast<uint16_t>(avgTime), static_cast<uint8_t>(avgTimeHund))) + " " +
            L("3BV/s=") +
            V(FormatGameTimePlain(static_cast<uint16_t>(avgRate), static_cast<uint8_t>(avgRateHund))) + " " +
            L("3BV=") + V(ChatCutNumber(static_cast<long double>(sumBBBV) / k));
    if (SmileyCoin()) text += " " + V(RandomChatSmiley());
    return text;
}

std::string ChatChannelInfoText() {
    return std::string("IRC Minesweeper channel information:\r\n\r\nserver: ") + kChatServerHost +
           "\r\nport: 6667\r\nchannel: #minesweeper";
}

bool CopyLastGameReport() {
    const uint32_t count = HistoryRecordCount();
    if (count == 0) {
        NotFound("0");
        return false;
    }
    Copy(BuildLastGameReport(static_cast<int32_t>(count - 1)));
    return true;
}

bool CopyGameReportByNumber(const std::string& answer) {
    const std::string digits = ChatDigitsOf(answer);
    const std::optional<uint32_t> number = ParseChatGameNumber(digits);
    if (!number) {
        NotFound(digits);
        return false;
    }
    Copy(BuildGameByNumberReport(*number));
    return true;
}

void CopyRecordsReport(bool byTime) {
    Copy(BuildRecordsReport(byTime));
}

void CopyAveragesReport() {
    Copy(BuildAveragesReport());
}

void CopyTodayReport(uint8_t level) {
    Copy(BuildTodayReport(level));
}

void ShowChatChannelInfo() {
    StopGameClock();
    ShowMessageBox(ChatChannelInfoText());
}

} // namespace quorlet
