// Defaults, clamps and window placement for the settings record Options.
#pragma once

#include <cstdint>
#include <string>
#include <variant>

#include "core/uihooks.h"
#include "settings/optionsset.h"

namespace quorlet {

// One field of tOptionsSet, by its type; lets tables name fields of any type.
using TOptionRef = std::variant<bool tOptionsSet::*, uint8_t tOptionsSet::*, uint16_t tOptionsSet::*,
                                int16_t tOptionsSet::*, int32_t tOptionsSet::*, std::string tOptionsSet::*>;

// Stores every default into Options (CounterRefresh 10; LastPath, ExeFileName, DateOrder and the
// main-window position stay), resets the interface texts and logs "default preferences applied".
void ApplyDefaultSettings();

// Pulls the ranged fields of Options into their limits; the record keeps the clamped values.
void ClampOptions();

// Moves window inside screen: left first, then right edge, then top, then bottom edge, so a
// window larger than the screen ends with a negative left or top.
void KeepOnScreen(TWindowRect& window, const TScreenSize& screen);

// KeepOnScreen for an area that need not start at (0, 0), such as a screen's part left free
// of panels.
void KeepInsideArea(TWindowRect& window, const TWindowRect& area);

// A secondary window of width x height centred over the main window's outer rectangle:
// halves truncated toward zero, then kept on the screen (a window past an edge ends at it).
TWindowRect CenterOnMain(const TWindowRect& main, int32_t width, int32_t height, const TScreenSize& screen);

// Where a window of the given size goes for a saved top-left corner (KeepOnScreen applied).
TWindowRect PlaceWindow(int32_t left, int32_t top, int32_t width, int32_t height, const TScreenSize& screen);

// Moves the main window, and the playback bar and counters window once they exist, to the
// positions in Options, each kept on screen. Options itself is not changed.
void RestoreWindowPositions();

// The screen from the UI hook; empty without a screen.
std::optional<TScreenSize> CurrentScreenSize();

} // namespace quorlet
