#include "settings/optionsdialog.h"

#include "core/FData.h"
#include "core/clock.h"
#include "core/debuglog.h"
#include "core/endgame.h"
#include "core/fileread.h"
#include "core/safewrite.h"
#include "core/textutil.h"
#include "settings/FCap.h"
#include "settings/playerid.h"
#include "settings/settingsfile.h"
#include "stats/counters.h"

namespace quorlet {

namespace {

void Call(const std::function<void()>& hook) {
    if (hook) hook();
}

} // namespace

bool OptionsApply(TOptionsDialog& dialog, TOptionsSnapshot& snapshot) {
    if (!IsPlayerIdAllowed(dialog.Text("edIdText"))) {
        ShowMessageBox(kRefusedIdMessage);
        dialog.ShowPage(1);
        dialog.FocusControl("edIdText");
        return false;
    }
    // A game played under the old options must not be ranked under the new ones.
    const bool wasUnranked = IsGameUnranked();
    if (!ApplyOptionsWindow(dialog)) return false;
    snapshot.Taken = false;
    Call(UiHooks.ReloadInterface);
    Call(UiHooks.RequestRedraw);
    if (SaveSettings()) {
        LoadSettings();
    } else if (!Options.LastPath.empty()) {
        // Reading the old file back would undo the player's change without a word: the new
        // values stay in force, the dialog stays open, and the save told the player.
        return false;
    }
    LoadOptionsControls(dialog);
    // The boss key's grab follows its option at once.
    Call(UiHooks.ApplyBossKeyOption);
    DebugLog("preferences applied");
    DebugLog("close preferences window");
    StopGameClock();
    LoadLanguageFile();
    Call(UiHooks.ApplyTexts);
    dialog.CloseToMain();
    GameClock = {};
    if (Options.doShowCounters)
        ShowCountersWindow();
    else
        HideCountersWindow();
    RefreshCounters();
    // The level follows the start-up mode; the board then no longer has the level's size, which
    // makes the game unranked and so a new game too.
    if (wasUnranked || IsGameUnranked()) Call(UiHooks.NewGame);
    return true;
}

void RestoreOptionsSnapshot(TOptionsControls& controls, TOptionsSnapshot& snapshot) {
    if (!snapshot.Taken) return;
    snapshot.Taken = false;
    const bool cursorChanged = Options.CursorFileName != snapshot.Record.CursorFileName;
    Options = snapshot.Record;
    UITextTable = snapshot.Texts;
    if (cursorChanged) LoadExternalCursor();
    // What Default's load drew on the main window follows the record back.
    controls.SetMenuChecks(Options.cbSilentMode, Options.doIRCtype);
    controls.ShowPlayerName();
    controls.DrawTimer();
}

void OptionsCancel(TOptionsDialog& dialog, TOptionsSnapshot& snapshot) {
    StopGameClock();
    RestoreOptionsSnapshot(dialog, snapshot);
    dialog.CloseToMain();
}

void OptionsEscape(TOptionsDialog& dialog, TOptionsSnapshot& snapshot) {
    RestoreOptionsSnapshot(dialog, snapshot);
    dialog.CloseToMain();
    if (Options.doShowCounters)
        ShowCountersWindow();
    else
        HideCountersWindow();
}

void OptionsDefault(TOptionsDialog& dialog, TOptionsSnapshot& snapshot) {
    if (!snapshot.Taken) {
        snapshot.Record = Options;
        snapshot.Texts = UITextTable;
        snapshot.Taken = true;
    }
    using O = tOptionsSet;
    static constexpr std::string O::*kRecords[] = {
        &O::hsBegTime, &O::hsBegName, &O::hsBegJump, &O::hsBeg3bvs, &O::hsIntTime, &O::hsIntName,
        &O::hsIntJump, &O::hsInt3bvs, &O::hsExpTime, &O::hsExpName, &O::hsExpJump, &O::hsExp3bvs,
    };
    std::array<std::string, std::size(kRecords)> kept;
    for (std::size_t i = 0; i < kept.size(); ++i)
        kept[i] = Options.*kRecords[i];
    ApplyDefaultSettings();
    for (std::size_t i = 0; i < kept.size(); ++i)
        Options.*kRecords[i] = kept[i];
    LoadOptionsControls(dialog);
    dialog.ShowPage(1);
}

bool SaveTemplateFile(const std::string& path, const std::string& memoText, const std::string& logLine,
                      const std::string& errorPrefix) {
    std::string bytes = memoText;
    if (!bytes.empty() && bytes.back() != '\n') bytes += "\r\n";
    std::string error;
    if (!SafeWriteFile(path, bytes, &error)) {
        ShowMessageBox(UIText("0290"));
        DebugLog(errorPrefix + UIText("0290") + (error.empty() ? "" : ": " + error));
        return false;
    }
    DebugLog(logLine);
    return true;
}

bool LoadTemplateFile(const std::string& path, std::string& memoText, const std::string& logLine,
                      const std::string& errorPrefix) {
    std::string text;
    // As at start-up: a fifo or a huge file the dialog lists is no template.
    if (!ReadRegularFile(path, kMaxSmallFileBytes, text)) {
        ShowMessageBox(UIText("0291"));
        DebugLog(errorPrefix + UIText("0291"));
        return false;
    }
    memoText = std::move(text);
    DebugLog(logLine);
    return true;
}

std::string CountersExcludeListText() {
    std::string text;
    for (std::size_t row = 0; row < Options.heightCr3 && row < CounterLabels.size(); ++row)
        text += CounterLabels[row] + "\r\n";
    return text;
}

TWindowRect CenterMainOnScreen(int32_t width, int32_t height, const TScreenSize& screen) {
    const TWindowRect rect{(screen.Width - width) / 2, (screen.Height - height) / 2, width, height};
    Options.posMainX = rect.Left;
    Options.posMainY = rect.Top;
    return rect;
}

} // namespace quorlet
