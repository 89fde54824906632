#include "stats/formulavars.h"

#include <cmath>
#include <cstdint>
#include <string_view>

#include "core/FData.h"
#include "core/board.h"

namespace quorlet {

namespace {

// Board facts stay hidden during play unless the player asked to see them.
bool GameShown() {
    return Options.doShow3BVAfterGameStart || ReplayMode || GameOver;
}

long double ClockTime() {
    return GameClock.seconds + GameClock.hundredths / 100.0L;
}

long double RecorderSecond() {
    return Options.doRecorderStyleTimer ? 1.0L : 0.0L;
}

// Time the whole board would take at the pace so far; 999.99 before any pace is known.
long double EstimatedTime() {
    const long double t = ClockTime();
    if (Solved3BV == 0 || t == 0) return 999.99L;
    return t * Board3BV / Solved3BV;
}

bool IsCustom() {
    return GameLevel >= glCustom;
}

uint8_t CurrentStyle() {
    return RightClicks > 0 ? 1 : 0;
}

// The current game's 3BV/s as the record bytes would hold it (the same exact integers, so that a
// game equal to a record never counts as better); 999.99 at time 0.
void Current3BVs(long double& whole, long double& hundredths) {
    const uint32_t time = GameClock.seconds * 100u + GameClock.hundredths;
    if (time == 0) {
        whole = 999;
        hundredths = 99;
        return;
    }
    uint8_t w = 0, h = 0;
    ExactBBBVs(Board3BV, time, w, h);
    whole = w;
    hundredths = h;
}

float CurrentRqp() {
    const long double t = ClockTime();
    if (Board3BV == 0 || t == 0) return 999.0f;
    return static_cast<float>((t + 1) / (Board3BV / t));
}

float CurrentIos() {
    if (GameClock.seconds < 9) return 0.0f;
    return static_cast<float>(std::log(static_cast<long double>(Board3BV)) / std::log(ClockTime()));
}

enum class TRankKind { Time, Speed, Rqp, Ios };

// 1 + the records of this level (and of this style unless allStyles) that beat the current game.
long double Rank(TRankKind kind, bool allStyles) {
    long double whole = 0, hundredths = 0;
    Current3BVs(whole, hundredths);
    const float rqp = kind == TRankKind::Rqp ? CurrentRqp() : 0.0f;
    const float ios = kind == TRankKind::Ios ? CurrentIos() : 0.0f;
    const uint8_t style = CurrentStyle();
    uint32_t rank = 1;
    for (uint32_t i = 0; i < kHistoryCapacity; ++i) {
        const TGameRecord& r = GameHistory[i];
        if (r.day == 0) break;
        if (r.level != GameLevel) continue;
        if (!allStyles && r.flagging != style) continue;
        bool counts = false;
        switch (kind) {
        case TRankKind::Time:
            counts = r.timeSec < GameClock.seconds ||
                     (r.timeSec == GameClock.seconds && r.timeHund < GameClock.hundredths);
            break;
        case TRankKind::Speed:
            counts = r.bbbvsWhole > whole || (r.bbbvsWhole == whole && r.bbbvsHund > hundredths);
            break;
        case TRankKind::Rqp: counts = r.rqp <= rqp; break;
        case TRankKind::Ios: counts = r.ios >= ios; break;
        }
        if (counts) ++rank;
    }
    return rank;
}

long double RankOrZero(TRankKind kind, bool allStyles) {
    if (!IsBoardSolved()) return 0;
    if (kind == TRankKind::Ios && GameLevel == glBeginner) return 0;
    return Rank(kind, allStyles);
}

long double RankPerformanceIndex(bool allStyles) {
    if (!IsBoardSolved()) return 0;
    const uint32_t games = IsCustom() ? 0 : LevelGameCounts[GameLevel];
    if (games < 1) return 0;
    const auto timeRank = static_cast<int64_t>(Rank(TRankKind::Time, allStyles));
    const auto speedRank = static_cast<int64_t>(Rank(TRankKind::Speed, allStyles));
    const int64_t numerator = (2 * static_cast<int64_t>(games) - timeRank - speedRank + 2) * 50;
    return static_cast<long double>(numerator) / games;
}

long double Shown(long double value) {
    return GameShown() ? value : 0;
}

// "CELL3" -> 3 for the given prefix; -1 when the name is not prefix + one digit 0..8.
int CellIndex(std::string_view name, std::string_view prefix) {
    if (name.size() != prefix.size() + 1 || name.substr(0, prefix.size()) != prefix) return -1;
    const char d = name.back();
    return d >= '0' && d <= '8' ? d - '0' : -1;
}

bool LookUp(const std::string& n, long double& v) {
    const long double t = ClockTime();
    if (n == "E")
        v = std::exp(1.0L);
    else if (n == "TIME")
        v = t + RecorderSecond();
    else if (n == "TIMEREAL")
        v = t;
    else if (n == "TIMERECORDERSTYLE")
        v = t + 1;
    else if (n == "TIMEEST") {
        const long double est = EstimatedTime();
        v = !GameShown() ? 0 : (Solved3BV == 0 || t == 0 ? est : est + RecorderSecond());
    } else if (n == "TIMEESTREAL")
        v = EstimatedTime();
    else if (n == "TIMEESTRECORDERSTYLE")
        v = Solved3BV == 0 || t == 0 ? 999.99L : EstimatedTime() + 1;
    else if (n == "BBBV")
        v = Shown(Board3BV);
    else if (n == "BBBVDONE")
        v = Shown(Solved3BV);
    else if (n == "GZINI")
        v = GZiNi;
    else if (n == "HZINI")
        v = HZiNi;
    else if (n == "IOS")
        v = IsBoardSolved() && GameClock.seconds >= 10
                ? std::log(static_cast<long double>(Board3BV)) / std::log(t)
                : 0;
    else if (n == "RQP")
        v = IsBoardSolved() && Board3BV != 0 && t != 0 ? (t + 1) / (Board3BV / t) : 0;
    else if (n == "LCLK")
        v = LeftClicks;
    else if (n == "RCLK")
        v = RightClicks;
    else if (n == "DCLK")
        v = DoubleClicks;
    else if (n == "TOTALCLK")
        v = static_cast<long double>(LeftClicks) + RightClicks + DoubleClicks;
    else if (n == "LEFF")
        v = Shown(CellsOpenedByLeft);
    else if (n == "REFF")
        v = Shown(FlagsOnMines);
    else if (n == "DEFF")
        v = Shown(ChordsThatOpened);
    else if (n == "TOTALEFF")
        v = Shown(static_cast<long double>(CellsOpenedByLeft) + FlagsOnMines + ChordsThatOpened);
    else if (n == "TOTALGAMES")
        v = IsCustom() ? 0 : LevelGameCounts[GameLevel];
    else if (n == "OPENINGS")
        v = Shown(Openings);
    else if (n == "ISLANDS")
        v = Shown(Islands);
    else if (n == "OPENINGSDONE")
        v = OpenedOpenings;
    else if (n == "FLAGSUSED")
        v = FlagsPlaced;
    else if (n == "LEVEL")
        v = GameLevel + 1;
    else if (n == "OBV")
        v = TimeEstimate;
    else if (n == "AVGOBV") {
        static constexpr long double kAverage[] = {15.0L, 62.5L, 170.0L};
        v = IsCustom() ? 0 : kAverage[GameLevel];
    } else if (const int cell = CellIndex(n, "CELL"); cell >= 0)
        v = Shown(NumberCellCounts[cell]);
    else if (const int done = CellIndex(n, "DONECELL"); done >= 0)
        v = OpenedNumberCounts[done];
    else if (n == "MINES")
        v = MineCount;
    else if (n == "DX")
        v = LastColumn + 1;
    else if (n == "DY")
        v = LastRow + 1;
    else if (n == "MODE")
        v = IsCustom() ? 0 : GameLevel + 1;
    else if (n == "PATH")
        v = std::trunc(MousePathLength);
    else if (n == "RANKTIME")
        v = RankOrZero(TRankKind::Time, false);
    else if (n == "GLRANKTIME")
        v = RankOrZero(TRankKind::Time, true);
    else if (n == "RANKBBBVS")
        v = RankOrZero(TRankKind::Speed, false);
    else if (n == "GLRANKBBBVS")
        v = RankOrZero(TRankKind::Speed, true);
    else if (n == "RANKRQP")
        v = RankOrZero(TRankKind::Rqp, false);
    else if (n == "GLRANKRQP")
        v = RankOrZero(TRankKind::Rqp, true);
    else if (n == "RANKIOS")
        v = RankOrZero(TRankKind::Ios, false);
    else if (n == "GLRANKIOS")
        v = RankOrZero(TRankKind::Ios, true);
    else if (n == "RPI")
        v = RankPerformanceIndex(false);
    else if (n == "GLOBRPI")
        v = RankPerformanceIndex(true);
    else
        return false;
    return true;
}

} // namespace

bool FormulaVariableValue(const std::string& name, long double& value) {
    value = 0;
    return LookUp(name, value);
}

} // namespace quorlet
