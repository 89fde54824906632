// The engine reaches windows only through this table. The UI fills it at start-up;
// tests fill it with recorders. An empty entry means "no window": the call does nothing.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace quorlet {

// ---- Settings: screen and window placement ----
struct TScreenSize {
    int32_t Width = 0;
    int32_t Height = 0;
};
struct TWindowRect {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Width = 0;
    int32_t Height = 0;
};
// The windows whose positions the settings file keeps.
enum class TWindowKind { Main, Counters, ProgressBar, History };

struct TUiHooks {
    // The one information dialog (modal, one button).
    std::function<void(const std::string& text)> ShowMessageBox;
    // Plain text onto the clipboard, replacing its contents.
    std::function<void(const std::string& text)> CopyTextToClipboard;
    // The board and its counters need repainting.
    std::function<void()> RequestRedraw;

    // Runs `work` once the main window has been shown, so that slow work found during the
    // start costs the player no time before the window (at once later; empty: the caller runs
    // it at once).
    std::function<void(std::function<void()> work)> RunAfterWindowShown;

    // ---- Debug log and playback cursor ----
    // DebugLogLines changed: the debug window shows them again and refreshes its caption.
    std::function<void()> DebugLogChanged;
    // Size of a picture file in pixels; false when it cannot be loaded.
    std::function<bool(const std::string& path, int32_t& width, int32_t& height)> PictureSize;
    // The playback cursor shows this picture file; an empty path means the built-in picture.
    std::function<void(const std::string& path)> SetReplayCursor;
    // The name line's flag shows a loaded video's country: 0, or a number past the flag list,
    // shows the blank picture.
    std::function<void(uint8_t country)> ShowReplayFlag;

    // ---- Game clock and board input ----
    // Turns the main window's 10 ms timer on or off.
    std::function<void(bool enabled)> SetGameTimer;
    // The main window's new-game command (the new-game button's click), for windows that
    // click it; the engine itself runs NewGameCommand.
    std::function<void()> NewGame;
    // The whole board image painted again from VisibleBoard (blank first), with the LED
    // counters and the new-game button's face.
    std::function<void()> RedrawBoard;
    // Cursor position in board-image pixels (unclamped; may be negative or past the board).
    std::function<void(int& x, int& y)> BoardCursorPos;
    // Confines the cursor to the board image.
    std::function<void()> ConfineCursorToBoard;
    // A short system alert.
    std::function<void()> Beep;
    // Repaints the timer LED from GameClock.
    std::function<void()> DrawTimer;
    // Enables or disables the save-replay, save-board and preview-replay menu items.
    std::function<void(bool enabled)> SetSaveReplayEnabled;
    // The main window's board-save command (an automatic-saving rule whose name has "<BOARD>").
    std::function<void()> SaveBoardCommand;
    // Background of the counters window as 0xRRGGBB; -1 is the standard button face.
    std::function<void(int32_t colour)> SetCountersColour;

    // ---- Board generation ----
    // Sets the main window's caption (a board search shows its progress there).
    std::function<void(const std::string& caption)> SetMainCaption;

    // ---- Settings: screen and window placement ----
    // Size of the screen the windows live on (empty: no screen known).
    std::function<std::optional<TScreenSize>()> ScreenSize;
    // Outer rectangle of a window; empty while that window does not exist.
    std::function<std::optional<TWindowRect>(TWindowKind window)> WindowRect;
    // Moves a window's top-left corner.
    std::function<void(TWindowKind window, int32_t left, int32_t top)> MoveWindow;
    // Every existing window takes its captions, titles and hints from UITextTable.
    std::function<void()> ApplyTexts;
    // The options window's controls take their values from Options (while it exists).
    std::function<void()> LoadOptionsWindow;

    // ---- Counters window ----
    // Grid row count changed: rows rows, grid height and window client height follow.
    std::function<void(int32_t rows)> SetCountersRowCount;
    // Writes CounterLabels[i] / CounterValues[i] into grid row i for i < rows.
    std::function<void(int32_t rows)> FillCountersGrid;
    // Column widths in pixels; the window's client width follows the grid.
    std::function<void(int32_t width0, int32_t width1)> SetCountersColumnWidths;
    // Fixed single border with a caption, or no border at all.
    std::function<void(bool withCaption)> SetCountersBorder;
    // Shows the window and grid without activating them, clearing the active control.
    std::function<void()> ShowCountersWindow;
    std::function<void()> HideCountersWindow;
    // Check mark of the main menu's ShowCountersBtn.
    std::function<void(bool checked)> SetShowCountersCheck;

    // ---- Chat reports ----
    // Brings the main window to the front before a report is built.
    std::function<void()> BringMainWindowToFront;

    // ---- Playback ----
    // The main window's 10 ms timer takes this interval in milliseconds.
    std::function<void(uint32_t milliseconds)> SetGameTimerInterval;
    // Layout of the main window for the current level and size (ReloadInterface).
    std::function<void()> ReloadInterface;
    // The playback bar window hidden (the cursor image has its own entry).
    std::function<void()> HideProgressBarWindow;
    // The playback bar for a video ending at `maximum` hundredths: position 0, both track bars
    // shown, the bar window shown (ShowProgressBarWindow).
    std::function<void(int32_t maximum)> SetupProgressBar;
    // The playback bar's position bar and its time label.
    std::function<void(int32_t position, const std::string& label)> SetProgressPosition;
    // The playback cursor image on the board: shown or hidden, and its top-left corner in
    // board-image pixels.
    std::function<void(bool visible)> ShowReplayCursor;
    std::function<void(int32_t left, int32_t top)> MoveReplayCursor;

    // ---- Secondary windows ----
    // Each window's unit fills its entry when the window is created; the main window's
    // openers run their own steps first, then call the entry (empty: the window is not there).
    // The argument is the outline item or page the window opens on, as its opener says.
    std::function<void()> ShowAboutWindow;
    std::function<void(int32_t outlineItem)> ShowOptionsWindow;
    std::function<void(int32_t page)> ShowHighScoresWindow;
    std::function<void(int32_t outlineItem)> ShowHistoryWindow;
    std::function<void()> ShowCustomBoardWindow;
    std::function<void()> ShowMultiplayerWindow;
    std::function<void()> ShowFormulaWindow;
    std::function<void()> ShowDebugCommandWindow;
    // The new-record notice with its text, placed over the main window, which it disables.
    std::function<void(const std::string& text)> ShowHighScoreNotice;
    // The formula editor's Apply: one line appended to the options window's counters template
    // memo (filled by the options window).
    std::function<void(const std::string& line)> AppendTemplateLine;

    // ---- Desktop services ----
    // A picture file of the program's icon for launchers (written on first use); empty: none.
    std::function<std::string()> ProgramIconFile;
    // The boss-key option may have changed (settings loaded or applied): the global hot key
    // follows doEnableBossKey.
    std::function<void()> ApplyBossKeyOption;
};

extern TUiHooks UiHooks;

// Clears every hook (tests call it between cases).
void ResetUiHooks();

} // namespace quorlet
