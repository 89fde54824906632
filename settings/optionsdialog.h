// The options dialog's own steps around the transfer: Apply, the ways out, Default with its
// snapshot, the template files, the exclusion list and the centring of the main window.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "settings/optionsmap.h"

namespace quorlet {

class TOptionsDialog : public TOptionsControls {
  public:
    // Selects outline item `item` (from 1) and runs its click: that page shows.
    virtual void ShowPage(int32_t item) = 0;
    virtual void FocusControl(const char* control) = 0;
    // The main window enabled and shown, the dialog hidden.
    virtual void CloseToMain() = 0;
};

// The settings and texts as they were before Default, so that leaving without Apply keeps
// "nothing changes until Apply".
struct TOptionsSnapshot {
    bool Taken = false;
    tOptionsSet Record;
    std::array<std::string, 360> Texts;
};

inline constexpr const char* kRefusedIdMessage = "Player ID text is not correct. Please, retype it in.";

// The Apply button: the ID check, the transfer, the save and read back, the clock stop, the
// texts, and a new game when the game was or now is unranked or the level changed. Returns
// false when the dialog stays open (refused ID on the User page, a failed transfer, or a save
// that failed: the new values then stay in the record, the old file is not read back).
bool OptionsApply(TOptionsDialog& dialog, TOptionsSnapshot& snapshot);

// Cancel: clock stopped, snapshot restored, dialog closed.
void OptionsCancel(TOptionsDialog& dialog, TOptionsSnapshot& snapshot);
// Esc: snapshot restored, dialog closed, counters window shown or hidden by doShowCounters.
void OptionsEscape(TOptionsDialog& dialog, TOptionsSnapshot& snapshot);
// Any way out without Apply: the record and texts from before Default, if it was pressed, and
// the main window's name line, clock and menu checks redrawn from them.
void RestoreOptionsSnapshot(TOptionsControls& controls, TOptionsSnapshot& snapshot);

// Default after its question: the defaults (local records kept) into the record and the
// controls, the User page shown. The first Default since the dialog opened takes the snapshot.
void OptionsDefault(TOptionsDialog& dialog, TOptionsSnapshot& snapshot);

// Writes a template memo (CR LF lines) to `path`. On failure shows "Cannot save file" and logs
// errorPrefix + that text; on success logs logLine.
bool SaveTemplateFile(const std::string& path, const std::string& memoText, const std::string& logLine,
                      const std::string& errorPrefix);
// Reads `path` into memoText (unchanged on failure, which shows and logs "Cannot load file"):
// a regular file of at most kMaxSmallFileBytes.
bool LoadTemplateFile(const std::string& path, std::string& memoText, const std::string& logLine,
                      const std::string& errorPrefix);

// The labels of the counters grid's rows, one per line: the exclusion list filled with every
// indicator.
std::string CountersExcludeListText();

// Centres a window on the screen (halves truncated toward zero) and keeps the corner in
// posMainX, posMainY.
TWindowRect CenterMainOnScreen(int32_t width, int32_t height, const TScreenSize& screen);

} // namespace quorlet
