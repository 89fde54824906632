#include "core/mouseinput.h"

#include <algorithm>
#include <cmath>

#include "core/FData.h"
#include "core/board.h"
#include "core/debuglog.h"
#include "core/endgame.h"
#include "core/generation.h"
#include "core/newgame.h"
#include "core/textutil.h"
#include "core/uihooks.h"
#include "core/video.h"

namespace quorlet {

namespace {

constexpr int64_t kClearanceDoublePressMs = 300;

struct TBoardPoint {
    int column;
    int row;
    bool inside; // the cell lies on the board (never past the layers)
    TCursorPos clamped;
};

// Column and row truncate toward zero, so up to 15 pixels left of or above the image still
// fall into column or row 0. Positions beyond the layers are outside, never wrapped.
TBoardPoint Locate(int x, int y) {
    TBoardPoint p{x / 16, y / 16, false, {}};
    p.inside = x > -16 && y > -16 && p.column <= LastColumn && p.row <= LastRow && p.column < kMaxColumns &&
               p.row < kMaxRows;
    p.clamped.x = static_cast<uint16_t>(std::clamp(x, 0, LastColumn * 16 + 15));
    p.clamped.y = static_cast<uint16_t>(std::clamp(y, 0, LastRow * 16 + 15));
    return p;
}

uint8_t Col(const TBoardPoint& p) {
    return static_cast<uint8_t>(p.column);
}
uint8_t Row(const TBoardPoint& p) {
    return static_cast<uint8_t>(p.row);
}

// While a video plays only the player's events count, otherwise only the board's own.
bool Accepted(TMouseSender sender) {
    return ReplayMode ? sender == TMouseSender::ReplaySender : sender == TMouseSender::Board;
}

void RedrawChangedCells() {
    if (UiHooks.RequestRedraw) UiHooks.RequestRedraw();
}

void StartNewGame() {
    NewGameCommand();
}

void ReleaseAndRedraw() {
    ReleasePressedCells();
    RedrawChangedCells();
}

// A finished board takes no moves: buttons are forgotten and previews undone.
void InputAfterGameOver() {
    LeftDown = RightDown = MiddleDown = ChordGuard = 0;
    ReleaseAndRedraw();
}

void TouchedAndRedraw() {
    if (!BoardTouched) MarkBoardTouched();
    RedrawChangedCells();
}

int64_t DaysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

int64_t SystemMillis() {
    const TSystemTime t = ReadSystemTimeUtc();
    const int64_t days = DaysFromCivil(t.year, t.month, t.day);
    return ((days * 24 + t.hour) * 60 + t.minute) * 60000 + t.second * 1000 + t.milliseconds;
}

// The double left press that clears a lost board. True when the press ends here.
bool HandleClearanceDoublePress() {
    const int64_t now = SystemMillis();
    if (LeftDoubleClickCount == 0) {
        LeftDoubleClickCount = 1;
        LeftPressTime = now;
        return false;
    }
    if (now - LeftPressTime < kClearanceDoublePressMs) {
        LeftDoubleClickCount = 0;
        StartNewGame();
    } else {
        LeftPressTime = now;
    }
    return true;
}

void Chord(const TBoardPoint& p, bool guard, bool logOpened) {
    if (guard) ChordGuard = 1;
    const bool opened = ChordOpen(Col(p), Row(p));
    if (opened) {
        ++ChordsThatOpened;
        if (logOpened) DebugLog("vostel click detected");
    }
    ++DoubleClicks;
    ReleasePressedCells();
    TouchedAndRedraw();
    GameWon();
}

void LeftOpen(const TBoardPoint& p, bool countClick) {
    if (countClick) ++LeftClicks;
    switch (OpenCell(Col(p), Row(p))) {
    case TOpenCellResult::Marked:
        ReleasePressedCells();
        TouchedAndRedraw();
        break;
    case TOpenCellResult::Mine: TouchedAndRedraw(); break;
    case TOpenCellResult::Opened:
        TouchedAndRedraw();
        GameWon();
        break;
    case TOpenCellResult::Nothing: RedrawChangedCells(); break;
    }
}

void LeftUp(const TBoardPoint& p, bool playing) {
    if (WaitingFirstClick && !playing) GenerateFirstClickBoard(Col(p), Row(p), p.clamped);
    if (!LeftDown) return;
    LeftDown = 0;
    if (!playing) RecordLeftRelease(p.clamped.x, p.clamped.y);
    if (RightDown) {
        Chord(p, false, false);
    } else if (!ChordGuard) {
        LeftOpen(p, true);
    } else if (playing && ReplayVersion < 45) {
        // Older videos were recorded without the guard.
        LeftOpen(p, false);
    } else {
        ReleasePressedCells();
        ChordGuard = 0;
        TouchedAndRedraw();
    }
}

void RightUp(const TBoardPoint& p, bool playing) {
    if (!RightDown) return;
    RightDown = 0;
    ChordGuard = 0;
    if (!playing) RecordRightRelease(p.clamped.x, p.clamped.y);
    if (!playing && Options.doDisableRightClicks) return;
    if (LeftDown) {
        Chord(p, true, true);
    } else {
        ReleaseAndRedraw();
    }
}

void MiddleUp(const TBoardPoint& p, bool playing) {
    if (!MiddleDown) return;
    MiddleDown = 0;
    if (!playing) RecordMiddleRelease(p.clamped.x, p.clamped.y);
    if (!Options.doDisableRightClicks && !Options.doDisableGroupOpen) {
        Chord(p, false, false);
    } else {
        // No chord, but the 3x3 preview must not stay pressed.
        ReleaseAndRedraw();
    }
}

void ReleaseOutside(TMouseButton button, bool playing) {
    const auto x = static_cast<uint16_t>(LastColumn * 16 + 16);
    const auto y = static_cast<uint16_t>(LastRow * 16 + 16);
    switch (button) {
    case mbLeft:
        LeftDown = 0;
        if (!playing) RecordLeftRelease(x, y);
        break;
    case mbRight:
        RightDown = 0;
        ChordGuard = 0;
        if (!playing && !Options.doDisableRightClicks) RecordRightRelease(x, y);
        break;
    case mbMiddle:
        MiddleDown = 0;
        if (!playing) RecordMiddleRelease(x, y);
        break;
    }
    NewGameFace = imf1;
    ReleaseAndRedraw();
}

} // namespace

void BoardMouseDown(TMouseSender sender, TMouseButton button, int x, int y) {
    if (!Accepted(sender)) return;
    const bool playing = ReplayMode != 0;
    if (Options.doClearanceOnMiddleBtn && button == mbMiddle && !playing) {
        StartNewGame();
        return;
    }
    if (Options.doClearanceOnLeftBtn && button == mbLeft && !playing && GameOver &&
        HandleClearanceDoublePress())
        return;
    if (GameOver) {
        InputAfterGameOver();
        return;
    }
    if (button == mbRight && !playing && Options.doDisableRightClicks) return;

    const TBoardPoint p = Locate(x, y);
    NewGameFace = imf2;
    switch (button) {
    case mbMiddle:
        MiddleDown = 1;
        if (!playing) RecordMiddlePress(p.clamped.x, p.clamped.y);
        ReleasePressedCells();
        if (p.inside) PressAround(Col(p), Row(p), false);
        break;
    case mbRight:
        RightDown = 1;
        if (!playing) RecordRightPress(p.clamped.x, p.clamped.y);
        ReleasePressedCells();
        if (!p.inside) break;
        if (LeftDown) {
            PressAround(Col(p), Row(p), false);
        } else {
            CycleMark(Col(p), Row(p));
            ++RightClicks;
        }
        break;
    case mbLeft:
        LeftDown = 1;
        if (!playing) RecordLeftPress(p.clamped.x, p.clamped.y);
        ReleasePressedCells();
        if (!p.inside) break;
        if (RightDown)
            PressAround(Col(p), Row(p), false);
        else
            PressCell(Col(p), Row(p));
        break;
    }
    MarkBoardTouched();
    RedrawChangedCells();
}

void BoardMouseMove(TMouseSender sender, int x, int y) {
    if (!Accepted(sender)) return;
    const bool playing = ReplayMode != 0;
    if (WaitingFirstClick && playing) return;
    if (GameOver) {
        InputAfterGameOver();
        return;
    }
    const TBoardPoint p = Locate(x, y);
    if (!WaitingFirstClick) {
        if (!playing) RecordMouseMove(p.clamped.x, p.clamped.y);
        const long double dx = static_cast<long double>(p.clamped.x) - LastCursorPos.x;
        const long double dy = static_cast<long double>(p.clamped.y) - LastCursorPos.y;
        MousePathLength += std::sqrt(dx * dx + dy * dy);
        LastCursorPos = p.clamped;
    }
    if (!p.inside) {
        ReleaseAndRedraw();
        return;
    }
    bool pressed = true;
    if (MiddleDown) {
        ReleasePressedCells();
        PressAround(Col(p), Row(p), false);
    } else if (LeftDown && RightDown) {
        ReleasePressedCells();
        PressAround(Col(p), Row(p), true);
    } else if (LeftDown) {
        ReleasePressedCells();
        PressCell(Col(p), Row(p));
    } else {
        pressed = false;
    }
    // Fast playback draws the board from its events, not from every preview.
    const bool fastPlayback = ReplayMode && PlaybackSpeed > 10;
    if (pressed && !fastPlayback) RedrawChangedCells();
}

void BoardMouseUp(TMouseSender sender, TMouseButton button, int x, int y) {
    if (!Accepted(sender)) return;
    if (sender == TMouseSender::Board) ++SessionClicks;
    const bool playing = ReplayMode != 0;
    if (GameOver) {
        InputAfterGameOver();
        return;
    }
    const TBoardPoint p = Locate(x, y);
    if (!p.inside) {
        ReleaseOutside(button, playing);
        return;
    }
    NewGameFace = imf1;
    switch (button) {
    case mbMiddle: MiddleUp(p, playing); break;
    case mbLeft:
        if (LeftDown || RightDown) LeftUp(p, playing);
        break;
    case mbRight:
        if (LeftDown || RightDown) RightUp(p, playing);
        break;
    }
}

} // namespace quorlet
