// The start shows the main window before it builds the other windows.
#pragma once

class QWidget;

namespace quorlet {

// Shows `window` and runs the event loop until its first paint has reached the screen (or a
// short time has passed), handling no keyboard or mouse input: what the player does meanwhile
// waits for the caller's own event loop.
void ShowAndAwaitFirstPaint(QWidget* window);

} // namespace quorlet
