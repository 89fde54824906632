// The arithmetic of the kit's drawing utilities: rounding multiply-divide, colour ramps,
// proportional fitting and the placement of a source rectangle in a target by layout flags.
// Colours are 0x00BBGGRR integers.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace quorlet {

// a * b / c in 64 bits, rounded to the nearest integer with halves away from zero; -1 for c 0.
int32_t MulDiv(int32_t a, int32_t b, int32_t c);

// 0 gives 0; 1, 11 and 12 give 1; everything else 2.
int FrameStyleClass(uint8_t style);

// Appends colours i = (clear ? 0 : 1) .. count - 1 of the straight ramp from -> to (each
// channel from + MulDiv(i, to - from, count - 1)); clears the list first when asked. A count
// of 1 gives the start colour alone (nothing without clear).
void ColorRamp(uint32_t from, uint32_t to, int count, bool clear, std::vector<uint32_t>& list);

struct TKitRect {
    int X = 0;
    int Y = 0;
    int W = 0;
    int H = 0;
    bool Empty() const { return W <= 0 || H <= 0; }
    bool operator==(const TKitRect&) const = default;
};

// The largest rectangle of the source's proportions inside the target, at the target's
// top-left corner; empty for a source without width or height.
TKitRect FitRect(int sourceW, int sourceH, const TKitRect& target);

// Layout flags of DrawImageRect.
enum : uint32_t {
    kDrawClip = 0x1,
    kDrawCenter = 0x08,
    kDrawStretch = 0x10,
    kDrawTile = 0x20,
    kDrawTransparentColor = 0x40,
    kDrawTransparentBitmap = 0x80,
    kDrawMasked = 0x100,
    kDrawKeepHeight = 0x200,
    kDrawKeepWidth = 0x400,
    kDrawRealizePalette = 0x1000,
};

struct TKitPlacement {
    // Where copies of the source go (tiles reach past the target: draw them clipped to it).
    std::vector<TKitRect> Copies;
    // The area drawn: the placed rectangle, or the whole target when that is empty.
    TKitRect Result;
    bool Stretched = false;
    bool Clipped = false;
};
// Nothing is placed for an empty target or a source without width or height.
TKitPlacement PlaceImage(const TKitRect& target, int sourceW, int sourceH, uint32_t flags);

// The smallest value; 0 for none.
double MinOfValues(std::span<const double> values);

// The text's characters as a C string, valid while the text lives unchanged; null for no text.
const char* TextToCString(const std::string& text);

} // namespace quorlet
