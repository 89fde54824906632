// Placement and showing of the secondary windows (history, options, high scores, dialogs ...).
#pragma once

class QWidget;

namespace quorlet {

// Moves `window` (by its frame) centred over the main window, kept on the window's screen.
void CenterFormOnMain(QWidget* window);

// Shows `window` without modality and disables the main window until `window` hides again,
// whichever way it hides (a button, Esc, the close box, the boss key).
void ShowSecondaryWindow(QWidget* window);

} // namespace quorlet
