#include "core/autosave.h"

#include <filesystem>
#include <limits>
#include <string_view>
#include <system_error>

#include "core/FData.h"
#include "core/debuglog.h"
#include "core/endgame.h"
#include "core/fileread.h"
#include "core/nametemplate.h"
#include "core/playback.h"
#include "core/qvf.h"
#include "core/safewrite.h"
#include "core/uihooks.h"

namespace quorlet {

namespace {

namespace fs = std::filesystem;

std::string UpperCollapsed(const std::string& line) {
    std::string out;
    out.reserve(line.size());
    for (char c : line) {
        if (c == ' ' && !out.empty() && out.back() == ' ') continue;
        out += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    }
    return out;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

enum class TValue { Time, Bbbv, Rate, Completion };

struct TClause {
    std::string_view keyword;
    bool isOr;
    TValue value;
};

// The fixed order in which the clauses are evaluated.
constexpr TClause kClauses[] = {
    {"AND TIME", false, TValue::Time},   {"OR TIME", true, TValue::Time},
    {"AND 3BV", false, TValue::Bbbv},    {"OR 3BV", true, TValue::Bbbv},
    {"AND 3BV/S", false, TValue::Rate},  {"OR 3BV/S", true, TValue::Rate},
    {"AND COMPLETION", false, TValue::Completion}, {"OR COMPLETION", true, TValue::Completion},
};

// A whole number of digits; false on overflow or no digit.
bool ReadWhole(std::string_view digits, long double& out) {
    if (digits.empty()) return false;
    int64_t v = 0;
    for (char c : digits) {
        if (v > (std::numeric_limits<int32_t>::max() - (c - '0')) / 10) return false;
        v = v * 10 + (c - '0');
    }
    out = static_cast<long double>(v);
    return true;
}

// Digits with at most one decimal separator ("," as the template is written, or "."), read by
// hand so that the locale never matters.
bool ReadDecimal(std::string_view text, long double& out) {
    long double whole = 0, scale = 1;
    bool separator = false, digit = false;
    for (char c : text) {
        if (c == ',' || c == '.') {
            if (separator) return false;
            separator = true;
            continue;
        }
        digit = true;
        if (separator) {
            scale /= 10;
            whole += (c - '0') * scale;
        } else {
            whole = whole * 10 + (c - '0');
            if (whole > 1e12L) return false;
        }
    }
    out = whole;
    return digit;
}

bool Compare(long double a, std::string_view op, long double b) {
    if (op == "<") return a < b;
    if (op == ">") return a > b;
    if (op == "=") return a == b;
    if (op == "<=") return a <= b;
    if (op == ">=") return a >= b;
    return a != b; // "<>"
}

bool IsTestingOperator(std::string_view op) {
    return op == "<" || op == ">" || op == "=" || op == "<=" || op == ">=" || op == "<>";
}

long double FactValue(const TAutosaveFacts& f, TValue value, bool isOr) {
    switch (value) {
    case TValue::Time: return static_cast<long double>(isOr ? f.timeOr : f.timeAnd);
    case TValue::Bbbv: return static_cast<long double>(f.bbbv);
    case TValue::Rate: return f.rate;
    case TValue::Completion: return static_cast<long double>(f.completion);
    }
    return 0;
}

bool IgnoredLine(const std::string& line) {
    return line.empty() || line[0] == ';';
}

std::vector<std::string> SplitTemplateLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        lines.emplace_back(text, start, i - start);
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.emplace_back(text, start);
    return lines;
}

std::string LinesText(std::size_t first) {
    return std::to_string(first) + "-" + std::to_string(first + 2);
}

void SaveWithRule(std::size_t first, const TAutosaveFacts& facts) {
    const std::string& nameLine = AutosaveTemplateLines[first + 1];
    if (UpperCollapsed(nameLine).find("<BOARD>") != std::string::npos && UiHooks.SaveBoardCommand)
        UiHooks.SaveBoardCommand();
    const std::string folder = AutosaveFolder(AutosaveTemplateLines[first + 2]);
    std::string name = ExpandNameTemplate(nameLine, folder);
    // An unfinished game's file name begins with "#" (inside a folder the name may give).
    if (facts.completion < 100) {
        const std::size_t slash = name.find_last_of('/');
        name.insert(slash == std::string::npos ? 0 : slash + 1, "#");
    }
    const std::string path = FreeNumberedFileName(folder + name, ".qvf");
    std::error_code ec;
    const bool saved = !fs::exists(fs::u8path(path), ec) && SaveReplayFile(path);
    if (!saved) {
        DebugLog("#replay save automation failed for condition at lines " + LinesText(first));
        return;
    }
    // The writer has turned the counters window green.
    DebugLog("replay save automation done for condition at lines " + LinesText(first));
}

} // namespace

std::vector<std::string> DefaultAutosaveTemplate() {
    const std::string rule = "<mode>_<time>_3BV=<3bv>_3BVs=<3bv/s>_<name>";
    return {"; this is default automatical replay saving template",
            "; for Minesweeper Quorlet",
            "; format is easy - lines comes in triples:",
            "; line1: conditions when saving needed",
            "; line2: replay file name template",
            "; line3: PATH=<folder>",
            ";",
            "; triples containing first \";\" ignored ",
            "; file is read exceptionally by triples",
            "mode=1 and time<10 and completion=100",
            rule,
            "PATH=replays",
            "mode=2 and time<50 and completion=100",
            rule,
            "PATH=replays",
            "mode=3 and time<150 and completion=100",
            rule,
            "PATH=replays"};
}

std::string AutosaveTemplatePath() {
    std::string folder = Options.LastPath;
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder + kAutosaveTemplateFileName;
}

void SetDefaultAutosaveTemplate() {
    AutosaveTemplateLines = DefaultAutosaveTemplate();
    AutosaveTemplateUnread = 0;
}

void LoadAutosaveTemplate() {
    const std::string path = AutosaveTemplatePath();
    std::error_code ec;
    if (Options.LastPath.empty() || !fs::exists(fs::u8path(path), ec)) {
        DebugLog("#error loading automatic saving template. applying default");
        SetDefaultAutosaveTemplate();
        return;
    }
    std::string text;
    if (!ReadRegularFile(path, kMaxAutosaveTemplateBytes, text)) {
        DebugLog("#error loading automatic saving template. applying default");
        SetDefaultAutosaveTemplate();
        // The player's file is kept: the default is not written over it.
        AutosaveTemplateUnread = 1;
        return;
    }
    AutosaveTemplateLines = SplitTemplateLines(text);
    AutosaveTemplateUnread = 0;
}

bool SaveAutosaveTemplate() {
    if (Options.LastPath.empty()) return true;
    std::error_code ec;
    if (AutosaveTemplateUnread && fs::exists(fs::u8path(AutosaveTemplatePath()), ec)) return true;
    DropEmptyAutosaveTemplateLines();
    std::string text;
    for (const std::string& line : AutosaveTemplateLines)
        text += line + "\r\n";
    std::string why;
    if (!SafeWriteFile(AutosaveTemplatePath(), text, &why)) {
        DebugLog("#error savining automatic saving template");
        DebugLog("#" + why);
        return false;
    }
    return true;
}

void DropEmptyAutosaveTemplateLines() {
    const std::size_t before = AutosaveTemplateLines.size();
    std::erase_if(AutosaveTemplateLines, [](const std::string& line) { return line.empty(); });
    const std::size_t dropped = before - AutosaveTemplateLines.size();
    if (dropped > 0) DebugLog(std::to_string(dropped) + " empty lines in automatic saving template deleted");
}

std::string StripIllegalPathChars(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        if (std::string_view("\\/:?*\"<>|").find(c) == std::string_view::npos) out += c;
    return out;
}

TAutosaveFacts CurrentAutosaveFacts() {
    TAutosaveFacts f;
    f.mode = static_cast<uint8_t>(std::min<uint8_t>(GameLevel, glCustom) + 1);
    f.timeAnd = GameClock.seconds;
    f.timeOr = GameClock.seconds + (Options.doRecorderStyleTimer ? 1 : 0);
    f.bbbv = Board3BV == 0 ? 1 : Board3BV;
    const uint32_t hundredths = GameClock.seconds * 100u + GameClock.hundredths;
    f.rate = hundredths == 0
                 ? 0.0f
                 : static_cast<float>(Solved3BV / (GameClock.seconds + GameClock.hundredths / 100.0L));
    f.completion = int64_t{Solved3BV} * 100 / f.bbbv;
    return f;
}

TClauseVerdict EvaluateAutosaveCondition(const std::string& condition, const TAutosaveFacts& facts) {
    const std::string line = UpperCollapsed(condition);
    for (int mode = 1; mode <= 4; ++mode)
        if (line.find("MODE=" + std::to_string(mode)) != std::string::npos && facts.mode != mode)
            return TClauseVerdict::Skip;
    for (const TClause& clause : kClauses) {
        const std::size_t at = line.find(clause.keyword);
        if (at == std::string::npos) continue;
        std::size_t i = at + clause.keyword.size();
        if (i >= line.size()) continue;
        std::string op(1, line[i]);
        if (i + 1 < line.size() && (line[i + 1] == '=' || line[i + 1] == '>')) op += line[i + 1];
        if (!IsTestingOperator(op)) continue;
        i += op.size();
        std::size_t end = i;
        const bool decimal = clause.value == TValue::Rate;
        while (end < line.size() && (IsDigit(line[end]) || (decimal && (line[end] == ',' || line[end] == '.'))))
            ++end;
        long double number = 0;
        const std::string_view digits = std::string_view(line).substr(i, end - i);
        if (!(decimal ? ReadDecimal(digits, number) : ReadWhole(digits, number))) return TClauseVerdict::Broken;
        const bool holds = Compare(FactValue(facts, clause.value, clause.isOr), op, number);
        if (clause.isOr && holds) return TClauseVerdict::Save;
        if (!clause.isOr && !holds) return TClauseVerdict::Skip;
    }
    return TClauseVerdict::Save;
}

std::optional<std::size_t> FindAutosaveRule(const std::vector<std::string>& lines, const TAutosaveFacts& facts) {
    for (std::size_t first = 0; first + 2 < lines.size(); first += 3) {
        if (IgnoredLine(lines[first]) || IgnoredLine(lines[first + 1]) || IgnoredLine(lines[first + 2]))
            continue;
        if (lines[first + 1].size() > kMaxAutosaveNameLine) continue;
        switch (EvaluateAutosaveCondition(lines[first], facts)) {
        case TClauseVerdict::Save: return first;
        case TClauseVerdict::Skip: break;
        case TClauseVerdict::Broken: return std::nullopt;
        }
    }
    return std::nullopt;
}

std::string AutosaveFolder(const std::string& folderLine) {
    const std::string base = Options.LastPath;
    if (folderLine.size() < 5 || UpperCollapsed(folderLine.substr(0, 5)) != "PATH=") return base;
    std::string rest = StripIllegalPathChars(folderLine.substr(5));
    if (rest.empty()) return base;
    // "." and ".." would name the program folder or leave it.
    if (rest.find_first_not_of('.') == std::string::npos) rest.assign(rest.size(), '_');
    const fs::path folder = fs::u8path(base + rest);
    std::error_code ec;
    if (!fs::exists(folder, ec) && !fs::create_directory(folder, ec))
        DebugLog("#could not create directory: " + rest);
    return fs::is_directory(folder, ec) ? base + rest + "/" : base;
}

void AutoSaveReplayByTemplate() {
    // The options' automatic replay saving; the high-score copy is not gated by it.
    if (!Options.doCond || ReplayMode || Options.LastPath.empty()) return;
    if (IsGameUnranked() && !IsGameClean()) return;
    try {
        const TAutosaveFacts facts = CurrentAutosaveFacts();
        if (const auto first = FindAutosaveRule(AutosaveTemplateLines, facts)) SaveWithRule(*first, facts);
    } catch (...) {
        // A template that breaks the evaluator saves nothing; the game's end goes on.
    }
}

} // namespace quorlet
