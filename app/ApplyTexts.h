// Pushes UITextTable into every window that exists: captions, menu items, hints, page lists,
// the density label and the main menu's shortening on narrow boards.
#pragma once

class QMenu;
class QMenuBar;
class QWidget;

namespace quorlet {

// Every top-level window, each found by its form name (object name, else class name).
// Controls are found by object name; a window or control that does not exist is skipped.
void ApplyTexts();

// On a narrow board (LastColumn below 11) shortens the Help, Game and Options captions until
// the menu bar needs no more than availableWidth pixels. Qt folds a too-wide menu bar into an
// extension button instead of wrapping it, so the width stands for the wrapped height.
void ShortenMenuBar(QMenuBar* bar, QMenu* help, QMenu* game, QMenu* options, int availableWidth);

// One window under the given form name ("TMain", "THistory" ...).
void ApplyTextsTo(QWidget* window, const char* formName);

} // namespace quorlet
