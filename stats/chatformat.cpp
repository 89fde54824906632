#include "stats/chatformat.h"

#include <algorithm>

#include "core/FData.h"
#include "core/debuglog.h"
#include "core/random.h"
#include "core/textutil.h"
#include "core/uihooks.h"
#include "settings/FCap.h"

namespace quorlet {

namespace {

constexpr char kColorCode = '\x03';
constexpr char kBoldCode = '\x02';
// Blank, the two guillemets, blank: the plain style's separator between rows.
const std::string kPlainSeparator = " \u00AB\u00BB ";

std::string Upper(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

bool Coloured() {
    return Options.doIRCtype == ifMirc || Options.doIRCtype == ifCgi;
}

uint8_t ColorFromSetting(uint8_t setting) {
    if (setting == 0) return static_cast<uint8_t>(Random(15) + 1);
    return setting <= 15 ? setting : 0;
}

bool Unreadable(uint8_t c) {
    return c == 8 || c == 9 || c == 11 || c == 12 || c == 13;
}

// A coin toss for the smiley at the end of a report.
bool SmileyCoin() {
    return Random(2) == 1;
}

// Head of both counter reports up to and including "-->": the coloured form.
std::string ColouredHead(const TChatColors& c, bool watched, bool blasted) {
    std::string text = ChatCommandPrefix() + " ";
    if (watched) text += ChatValue(ChatWordWatched(), c) + " ";
    if (blasted) text += ChatValue(ChatWordBlasted(), c) + " ";
    return text + ChatLabel("last", c) + " " + ChatValue(ChatLevelWord(), c) + " " + ChatLabel("game", c) +
           " " + ChatValue("-->", c) + " ";
}

std::string PlainHead(bool watched, bool blasted) {
    std::string text = ChatCommandPrefix() + " ";
    if (watched) text += ChatWordWatched() + " ";
    if (blasted) text += ChatWordBlasted() + " ";
    return text + ChatLevelWord() + " game --> ";
}

// Drops the final row separator, or with no rows the "--> " of the head.
void DropPlainTail(std::string& text, bool anyRow) {
    const size_t n = anyRow ? kPlainSeparator.size() : 4;
    text.erase(text.size() - std::min(n, text.size()));
}

// The lost-game report keeps the time and 3BV rows only.
bool AdmittedInBlastedReport(const std::string& label) {
    // Position 0 counts too, so a row labelled "Time" is reported.
    return !label.empty() &&
           std::string("TIME 3BV/S ESTTIME EST TIME 3BV").find(Upper(label)) != std::string::npos;
}

// A replay's report leaves out the rank rows, which describe the watcher's history.
bool LeftOutOfReplay(const std::string& label) {
    const std::string up = Upper(label);
    return !up.empty() && (std::string("RANK").find(up) != std::string::npos ||
                           std::string("RPI").find(up) != std::string::npos);
}

std::vector<TChatCounterRow> CurrentCounterRows() {
    // Exactly the grid's rows: the slots past them keep the text of a longer, older template.
    const size_t rows = static_cast<size_t>(std::clamp<int32_t>(CounterRowsShown, 0, kCounterRows));
    std::vector<TChatCounterRow> out;
    out.reserve(rows);
    for (size_t i = 0; i < rows; ++i)
        out.push_back({CounterLabels[i], CounterValues[i]});
    return out;
}

void BringMainToFront() {
    if (UiHooks.BringMainWindowToFront) UiHooks.BringMainWindowToFront();
}

} // namespace

std::string ChatColorMirc(const std::string& text, uint8_t colour) {
    return std::string(1, kColorCode) + std::to_string(colour) + kBoldCode + kBoldCode + text;
}

std::string ChatBoldMirc(const std::string& text) {
    return kBoldCode + text + kBoldCode;
}

std::string ChatColorPercent(const std::string& text, uint8_t colour) {
    const char digits[3] = {static_cast<char>('0' + colour / 10 % 10), static_cast<char>('0' + colour % 10),
                            0};
    return std::string("%C") + digits + "%B%B" + text;
}

std::string ChatBoldPercent(const std::string& text) {
    return "%B" + text + "%B";
}

std::string ChatLabel(const std::string& text, const TChatColors& colors) {
    switch (Options.doIRCtype) {
    case ifMirc: return ChatColorMirc(text, colors.c1);
    case ifCgi: return ChatColorPercent(text, colors.c1);
    default: return text;
    }
}

std::string ChatValue(const std::string& text, const TChatColors& colors) {
    switch (Options.doIRCtype) {
    case ifMirc: return ChatColorMirc(ChatBoldMirc(text), colors.c2);
    case ifCgi: return ChatColorPercent(ChatBoldPercent(text), colors.c2);
    default: return text;
    }
}

std::string ChatPlainValue(const std::string& text, const TChatColors& colors) {
    switch (Options.doIRCtype) {
    case ifMirc: return ChatColorMirc(text, colors.c2);
    case ifCgi: return ChatColorPercent(text, colors.c2);
    default: return text;
    }
}

TChatColors PickChatColors() {
    TChatColors c;
    c.c1 = ColorFromSetting(Options.cbIRCColor1);
    c.c2 = ColorFromSetting(Options.cbIRCColor2);
    if (Options.cbIRCColor1 == 0) {
        while (c.c1 == c.c2 || Unreadable(c.c1) || Unreadable(c.c2)) {
            c.c1 = static_cast<uint8_t>(Random(13) + 2);
            c.c2 = static_cast<uint8_t>(Random(13) + 2);
        }
    }
    return c;
}

std::string ChatCommandPrefix() {
    return Options.doIRCtype == ifMirc && Options.cbSilentMode ? "/echo" : "/me";
}

std::string OrdinalSuffix(uint32_t n) {
    const uint32_t lastTwo = n % 100;
    if (lastTwo >= 11 && lastTwo <= 13) return UIText("0343");
    switch (n % 10) {
    case 1: return UIText("0344");
    case 2: return UIText("0345");
    case 3: return UIText("0346");
    default: return UIText("0343");
    }
}

std::string ChatWordBlasted() {
    return "blasted";
}
std::string ChatWordWatched() {
    return "watched";
}

std::string RandomChatSmiley() {
    if (!Options.cbUseSmiles) return "";
    return ChatSmileys[Random(static_cast<uint32_t>(ChatSmileys.size()))];
}

const std::string& ChatPlainSeparator() {
    return kPlainSeparator;
}

std::string ChatLevelWord() {
    return ChatLevelWordOf(GameLevel);
}

std::string ChatLevelWordOf(uint8_t level) {
    switch (level) {
    case glBeginner: return "beg";
    case glIntermediate: return "int";
    case glExpert: return "exp";
    default: return "custom";
    }
}

bool IsChatRowExcluded(const std::string& label) {
    if (!Options.cbCountersExcludeList) return false;
    return Upper(Options.mCntExcludeList).find(Upper(label) + "\\N") != std::string::npos;
}

std::string BuildBlastedGameReport(const std::vector<TChatCounterRow>& rows) {
    std::string text;
    if (Coloured()) {
        const TChatColors c = PickChatColors();
        text = ColouredHead(c, false, true);
        for (const auto& row : rows)
            if (!IsChatRowExcluded(row.label) && AdmittedInBlastedReport(row.label))
                text += ChatLabel(row.label + "=", c) + ChatValue(row.value, c) + " ";
        if (SmileyCoin()) text += " " + ChatValue(RandomChatSmiley(), c);
        return text;
    }
    text = PlainHead(false, true);
    bool anyRow = false;
    for (const auto& row : rows)
        if (!IsChatRowExcluded(row.label) && AdmittedInBlastedReport(row.label)) {
            text += row.label + ": " + row.value + kPlainSeparator;
            anyRow = true;
        }
    DropPlainTail(text, anyRow);
    if (SmileyCoin()) text += " " + RandomChatSmiley();
    return text;
}

std::string BuildFinishedGameReport(const std::vector<TChatCounterRow>& rows, const std::string& playerName) {
    const bool watched = ReplayMode != 0;
    const bool blasted = Board3BV != Solved3BV;
    auto reported = [&](const TChatCounterRow& row) {
        return !IsChatRowExcluded(row.label) && !(watched && LeftOutOfReplay(row.label));
    };
    std::string text;
    if (Coloured()) {
        const TChatColors c = PickChatColors();
        text = ColouredHead(c, watched, blasted);
        for (const auto& row : rows)
            if (reported(row)) text += ChatLabel(row.label + "=", c) + ChatValue(row.value, c) + " ";
        if (watched) text += ChatLabel("- ", c) + ChatPlainValue(playerName, c);
        if (SmileyCoin()) text += " " + ChatValue(RandomChatSmiley(), c);
        return text;
    }
    text = PlainHead(watched, blasted);
    bool anyRow = false;
    for (const auto& row : rows)
        if (reported(row)) {
            text += row.label + ": " + row.value + kPlainSeparator;
            anyRow = true;
        }
    DropPlainTail(text, anyRow);
    if (watched) text += "- " + playerName;
    if (SmileyCoin()) text += " " + RandomChatSmiley();
    return text;
}

void CopyBlastedGameInfo() {
    try {
        BringMainToFront();
        const std::string text = BuildBlastedGameReport(CurrentCounterRows());
        DebugLog("blasted game information saved to clipboard");
        CopyTextToClipboard(text);
    } catch (const std::exception& e) {
        DebugLog(std::string("#blasted game information not copied: ") + e.what());
    }
}

void CopyFinishedGameInfo() {
    try {
        BringMainToFront();
        CopyTextToClipboard(BuildFinishedGameReport(CurrentCounterRows(), ReplayPlayerName));
    } catch (const std::exception& e) {
        DebugLog(std::string("#game information not copied: ") + e.what());
    }
}

} // namespace quorlet
