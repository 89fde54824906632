// Board mouse input: the engine side of the board's press, move and release handlers.
// Positions are board-image pixels; sender tells the real board from the video player.
#pragma once

#include <cstdint>

namespace quorlet {

enum TMouseButton : uint8_t { mbLeft = 0, mbRight = 1, mbMiddle = 2 };

// Who sent the event: the board widget itself, or the video player (ReplaySender).
enum class TMouseSender : uint8_t { Board, ReplaySender };

void BoardMouseDown(TMouseSender sender, TMouseButton button, int x, int y);
void BoardMouseMove(TMouseSender sender, int x, int y);
void BoardMouseUp(TMouseSender sender, TMouseButton button, int x, int y);

// The faces of the new-game button.
enum TFace : uint8_t { imf1 = 1, imf2 = 2, imf3 = 3, imf4 = 4 };

} // namespace quorlet
