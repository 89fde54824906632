// The rules of the kit's setting objects that need no drawing: bevel extents, the gradient's
// colour list, description names, colour texts and the control-state table.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace quorlet {

// Framework colour integers of the system colours the settings start with.
constexpr uint32_t clButtonShadow = 0x80000010;
constexpr uint32_t clButtonFace = 0x8000000F;
constexpr uint32_t clButtonHighlight = 0x80000014;

enum TKitThreeDStyle : uint8_t {
    tdNone, tdSunken, tdRaised, tdSunkenShadow, tdRaisedShadow, tdPColorSunken, tdPColorRaised, tdShadow, tdOutline,
    tdExtrude, tdExtrudeEnh,
};
enum TKitThreeDOrientation : uint8_t { toBottomLeft, toBottomRight, toTopLeft, toTopRight };
enum TKitDisabledStyle : uint8_t { dsAuto, dsStandard, ds3d, dsNone };
enum TKitGradientStyle : uint8_t {
    gstHorizontal, gstVertical, gstSquare, gstElliptic, gstTopLeft, gstTopRight, gstBottomLeft, gstBottomRight,
    gstTopLeftDiagonal, gstTopRightDiagonal,
};
enum TKitAlignment : uint8_t {
    agTopLeft, agTopCenter, agTopRight, agCenterLeft, agCenter, agCenterRight, agBottomLeft, agBottomCenter,
    agBottomRight,
};
enum TKitFillStyle : uint8_t { sfNone, sfBrushBitmap, sfBrush, sfBitmap, sfBitmapList, sfGradient };
enum TKitTileMode : uint8_t { tmNone, tmCenter, tmStretch, tmTile };
enum TKitBevelStyle : uint8_t { bvNone, bvLowered, bvRaised, bvFrameLowered, bvFrameRaised, bvNormal, bvShadow };
enum TKitBevelMode : uint8_t { bmCustom, bmStandard, bmEdge, bmSystem };
enum TKitEdgeStyle : uint8_t { etNone, etEtched, etBump, etSunken, etRaised };
// Standard line styles; their bytes feed FrameStyleClass: 0 none, 1, 11 and 12 single lines,
// all others double.
enum TKitStandardStyle : uint8_t {
    lsNone = 0,
    lsSingleLowered = 1,
    lsLowered = 2,
    lsRaised = 3,
    lsDoubleLowered = 4,
    lsDoubleRaised = 5,
    lsFrameLowered = 6,
    lsFrameRaised = 7,
    lsEtched = 8,
    lsBump = 9,
    lsShadow = 10,
    lsSingleRaised = 11,
    lsSingle = 12,
};
// Border sides as bits.
enum : uint8_t { bsLeft = 1, bsTop = 2, bsRight = 4, bsBottom = 8, bsAllSides = 15 };

struct TKitBevelValues {
    TKitBevelStyle StyleInner = bvNone;
    TKitBevelStyle StyleOuter = bvNone;
    int WidthInner = 1;
    int WidthOuter = 1;
    uint8_t BorderSides = bsAllSides;
    int BorderWidth = 0;
    int BorderInnerWidth = 0;
    TKitBevelMode Mode = bmCustom;
    TKitStandardStyle StandardStyle = lsSingleLowered;
    // bmSystem: whether the host control draws the border itself.
    bool HostDrawsBorder = false;
};
int BevelExtent(const TKitBevelValues& bevel);
int BevelShadowExtent(const TKitBevelValues& bevel);

// The gradient's colours: a two-colour ramp, or ramps between consecutive user colours.
std::vector<uint32_t> GradientColors(bool twoColors, uint32_t color, uint32_t endColor, int colorCount,
                                     const std::vector<uint32_t>& userColors);

std::string ThreeDStyleText(TKitThreeDStyle style);
// With a non-zero angle the closing brace becomes " rot: <angle>°}" (the degree sign 0xB0 as
// UTF-8).
std::string FxCaptionText(TKitThreeDStyle style, uint16_t angle);
std::string GradientText(TKitGradientStyle style, int colorCount, bool twoColors);
std::string FillStyleText(TKitFillStyle style);
std::string BevelModeText(TKitBevelMode mode);
// "{Disabled}", or "{Enabled (brush|bmp|grad), strength: 0.60}".
std::string AlphaText(TKitFillStyle fillStyle, float strength);
std::string EffectText(bool alpha, bool flipV, bool flipH, bool gray, bool invert, int32_t lightness);
// Our colour names, else "$" and eight hex digits.
std::string ColorText(uint32_t colour);
std::string CtlSettingsText(bool transparent, bool themed);

using TKitControlState = std::pair<std::string, std::array<uint8_t, 7>>;
std::vector<TKitControlState> ControlStateTable();

// The list copy: the target's entries become the source's, the target cleared first (a list
// copied onto itself stays as it is).
template <typename T> std::vector<T>& CopyKitList(const std::vector<T>& source, std::vector<T>& target) {
    if (&source == &target) return target;
    target.clear();
    target.insert(target.end(), source.begin(), source.end());
    return target;
}
// Without a target: the copy goes into a new list of its own.
template <typename T> std::vector<T> CopyKitList(const std::vector<T>& source) {
    std::vector<T> list;
    CopyKitList(source, list);
    return list;
}

} // namespace quorlet
