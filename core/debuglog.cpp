#include "core/debuglog.h"

#include <cstdio>
#include <vector>

#include "core/FData.h"
#include "core/safewrite.h"
#include "core/textutil.h"
#include "core/uihooks.h"
#include "settings/FCap.h"

namespace quorlet {

namespace {

constexpr std::size_t kMaxLogLines = 3000;

std::string TwoDigits(unsigned value) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02u", value % 100);
    return buf;
}

std::string Stamp() {
    UpdateNow();
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02u:%02u:%02u:%03u ", unsigned(Now.hour), unsigned(Now.minute),
                  unsigned(Now.second), unsigned(Now.milliseconds % 1000));
    return buf;
}

// Splits at CR LF or LF, as a text box shows a multi-line entry.
std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines(1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        if (text[i] == '\n')
            lines.emplace_back();
        else
            lines.back() += text[i];
    }
    return lines;
}

void InsertEntry(TLogLines& log, const std::string& text) {
    auto lines = SplitLines(text);
    lines.front() = Stamp() + lines.front();
    log.PushFront(lines.begin(), lines.end());
}

// A window that logs (or clears) while it is told of a change would be told again from inside
// its own handler, without end: its lines are kept, and it reads them on its next refresh.
void NotifyWindow() {
    if (!UiHooks.DebugLogChanged || DebugLogNotifying) return;
    struct Guard {
        Guard() { DebugLogNotifying = 1; }
        ~Guard() { DebugLogNotifying = 0; }
    } guard;
    UiHooks.DebugLogChanged();
}

// "HHhMMm_DDdMMmYYYYy.txt" from Now.
std::string DatedSuffix() {
    UpdateNow();
    return TwoDigits(Now.hour) + "h" + TwoDigits(Now.minute) + "m_" + TwoDigits(Now.day) + "d" +
           TwoDigits(Now.month) + "m" + std::to_string(Now.year) + "y.txt";
}

} // namespace

void DebugLog(const std::string& text) {
    try {
        if (!DebugWindowOn) {
            // Kept for the window, under the same cap as the log itself.
            InsertEntry(DebugLogEarlyLines, text);
            if (DebugLogEarlyLines.size() > kMaxLogLines) DebugLogEarlyLines.clear();
            return;
        }
        InsertEntry(DebugLogLines, text);
        // The clearance writes its notice directly: no second pass through this check.
        if (DebugLogLines.size() > kMaxLogLines) {
            DebugLogLines.clear();
            InsertEntry(DebugLogLines, "debug log automated clearance done");
        }
        NotifyWindow();
    } catch (...) {
    }
}

void OpenDebugLog() {
    DebugWindowOn = 1;
    try {
        DebugLogLines.TakeOlder(DebugLogEarlyLines);
    } catch (...) {
        DebugLogEarlyLines.clear();
    }
}

void ShowMessageBox(const std::string& text) {
    try {
        if (UiHooks.ShowMessageBox) UiHooks.ShowMessageBox(text);
    } catch (...) {
    }
}

void ClearDebugLog() {
    DebugLogLines.clear();
    NotifyWindow();
    DebugLog(UIText("0052"));
}

void SaveDebugLogAs(const std::string& path) {
    DebugLog(SaveDebugLogTo(path) ? UIText("0053") : UIText("0054"));
}

bool SaveDebugLogTo(const std::string& path) {
    try {
        std::string text;
        for (const auto& line : DebugLogLines)
            text += line + '\n';
        return SafeWriteFile(path, text);
    } catch (...) {
        return false;
    }
}

void SaveDebugLog() {
    // Without a program folder the name would land in whatever folder the process runs in.
    if (!DebugWindowOn || DebugLogLines.empty() || Options.LastPath.empty()) return;
    try {
        SaveDebugLogTo(Options.LastPath + "_Debug_MS_Quorlet_0.47_" + DatedSuffix());
    } catch (...) {
    }
}

std::string DebugLogSaveName() {
    return "_Debug_MS_Quorlet_" + DatedSuffix();
}

std::size_t DebugLogCharacterCount() {
    std::size_t total = 0;
    for (const auto& line : DebugLogLines)
        total += line.size() + 1;
    return total;
}

std::string DebugLogCaption() {
    const std::string& title = UIText("0046");
    try {
        const long lines = static_cast<long>(DebugLogLines.size());
        // trunc(100 - lines / 30) in whole numbers.
        const long freePercent = (static_cast<long>(kMaxLogLines) - lines) / 30;
        return title + " * [" + std::to_string(lines) + " lines / " +
               std::to_string(DebugLogCharacterCount()) + " bytes / " + std::to_string(freePercent) +
               "% free]";
    } catch (...) {
        return title;
    }
}

} // namespace quorlet
