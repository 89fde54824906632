#include "kit/engine/kiteffects.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "kit/engine/kitdraw.h"

namespace quorlet {

namespace {

bool FrameBevel(TKitBevelStyle style) {
    return style == bvFrameLowered || style == bvFrameRaised;
}

} // namespace

int BevelExtent(const TKitBevelValues& b) {
    switch (b.Mode) {
    case bmCustom: {
        if (b.StyleInner == bvShadow) return b.WidthInner + b.BorderInnerWidth;
        int extent = b.BorderWidth + b.BorderInnerWidth;
        if (b.StyleOuter != bvNone) extent += b.WidthOuter + (FrameBevel(b.StyleOuter) ? 1 : 0);
        if (b.StyleInner != bvNone) extent += b.WidthInner + (FrameBevel(b.StyleInner) ? 1 : 0);
        return extent;
    }
    case bmStandard: return FrameStyleClass(b.StandardStyle) + b.BorderInnerWidth;
    case bmEdge: return (b.BorderSides != 0 ? 2 : 0) + b.BorderInnerWidth;
    case bmSystem: return b.HostDrawsBorder ? 0 : b.BorderInnerWidth + 2;
    }
    return 0;
}

int BevelShadowExtent(const TKitBevelValues& b) {
    if (b.Mode == bmCustom && b.StyleOuter == bvShadow) return b.WidthInner + b.WidthOuter + b.BorderInnerWidth;
    return BevelExtent(b);
}

std::vector<uint32_t> GradientColors(bool twoColors, uint32_t color, uint32_t endColor, int colorCount,
                                     const std::vector<uint32_t>& user) {
    std::vector<uint32_t> list;
    if (twoColors) {
        ColorRamp(color, endColor, colorCount, true, list);
    } else if (user.size() >= 2) {
        const int steps = colorCount / static_cast<int>(user.size());
        ColorRamp(user[0], user[1], steps, true, list);
        for (size_t i = 1; i + 1 < user.size(); ++i) ColorRamp(user[i], user[i + 1], steps, false, list);
    }
    return list;
}

std::string ThreeDStyleText(TKitThreeDStyle style) {
    static const char* const names[] = {"Disabled", "sunken",  "raised",  "sunken shadow", "raised shadow",
                                        "PColor sunken", "",   "shadow",  "outline",       "extrude",
                                        "extrude enh"};
    return "{" + std::string(style <= tdExtrudeEnh ? names[style] : "") + "}";
}

std::string FxCaptionText(TKitThreeDStyle style, uint16_t angle) {
    std::string text = ThreeDStyleText(style);
    if (angle == 0) return text;
    if (text == "{Disabled}") text = "{";
    else text.pop_back();
    return text + " rot: " + std::to_string(angle) + "\xC2\xB0}";
}

std::string GradientText(TKitGradientStyle style, int colorCount, bool twoColors) {
    static const char* const names[] = {"horizontal",   "vertical",  "square",      "elliptic",      "top left",
                                        "top right",    "bottom left", "bottom right", "top left diag", "top right diag"};
    return std::string(style <= gstTopRightDiagonal ? names[style] : "") + ", Col: " + std::to_string(colorCount) +
           (twoColors ? ", 2 col mode" : ", mult. col mode");
}

std::string FillStyleText(TKitFillStyle style) {
    static const char* const names[] = {"Disabled", "BitmapBrush", "Brush", "Bitmap", "BitmapList", "Gradient"};
    return "{" + std::string(style <= sfGradient ? names[style] : "") + "}";
}

std::string BevelModeText(TKitBevelMode mode) {
    static const char* const names[] = {"Custom style", "Standard style", "Edged style", "System style"};
    return "{" + std::string(mode <= bmSystem ? names[mode] : "") + "}";
}

std::string AlphaText(TKitFillStyle fillStyle, float strength) {
    if (fillStyle == sfNone) return "{Disabled}";
    const char* kind = fillStyle == sfBrush ? "brush"
                       : fillStyle == sfBitmap || fillStyle == sfBitmapList ? "bmp"
                       : fillStyle == sfGradient ? "grad"
                                                 : "";
    // Two decimals, halves away from zero.
    const long hundredths = std::lround(static_cast<double>(strength) * 100.0);
    char number[32];
    std::snprintf(number, sizeof number, "%s%ld.%02ld", hundredths < 0 ? "-" : "", std::labs(hundredths) / 100,
                  std::labs(hundredths) % 100);
    return std::string("{Enabled (") + kind + "), strength: " + number + "}";
}

std::string EffectText(bool alpha, bool flipV, bool flipH, bool gray, bool invert, int32_t lightness) {
    std::string text;
    auto add = [&](bool on, const char* name) {
        if (!on) return;
        if (!text.empty()) text += ',';
        text += name;
    };
    add(alpha, "alpha");
    add(flipV, "FV");
    add(flipH, "FH");
    add(gray, "GS");
    add(invert, "INV");
    add(lightness != 0, "B");
    return "{" + (text.empty() ? std::string("Disabled") : text) + "}";
}

std::string ColorText(uint32_t colour) {
    static const std::pair<uint32_t, const char*> names[] = {
        {0x000000, "Black"},         {0xFFFFFF, "White"},           {0x0000FF, "Red"},
        {0x00FF00, "Lime"},          {0xFF0000, "Blue"},            {0x00FFFF, "Yellow"},
        {0xFF00FF, "Fuchsia"},       {0xFFFF00, "Aqua"},            {0x808080, "Gray"},
        {0xC0C0C0, "Silver"},        {0x1FFFFFFF, "None"},          {clButtonFace, "ButtonFace"},
        {clButtonShadow, "ButtonShadow"}, {clButtonHighlight, "ButtonHighlight"},
    };
    for (const auto& [value, name] : names)
        if (value == colour) return name;
    char text[16];
    std::snprintf(text, sizeof text, "$%08X", colour);
    return text;
}

std::string CtlSettingsText(bool transparent, bool themed) {
    return std::string("Transp.: ") + (transparent ? "true" : "false") + ", CtlThemed: " + (themed ? "true" : "false");
}

std::vector<TKitControlState> ControlStateTable() {
    return {
        {"Disabled", {0, 0, 0, 0, 0, 0, 1}}, {"Error", {0, 0, 0, 0, 0, 1, 2}},   {"Focused", {1, 0, 0, 0, 0, 2, 2}},
        {"ReadOnly", {2, 0, 0, 0, 1, 2, 2}}, {"Hot", {2, 1, 0, 0, 2, 2, 2}},     {"Pressed", {2, 2, 1, 0, 2, 2, 2}},
        {"Modified", {2, 2, 2, 1, 2, 2, 2}}, {"Normal", {2, 2, 2, 2, 2, 2, 2}},
    };
}

} // namespace quorlet
