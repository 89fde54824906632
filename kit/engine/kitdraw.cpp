#include "kit/engine/kitdraw.h"

#include <algorithm>
#include <cmath>

namespace quorlet {

int32_t MulDiv(int32_t a, int32_t b, int32_t c) {
    if (c == 0) return -1;
    int64_t num = int64_t{a} * b;
    int64_t den = c;
    if (den < 0) num = -num, den = -den;
    const int64_t q = num >= 0 ? (num + den / 2) / den : -((-num + den / 2) / den);
    return static_cast<int32_t>(std::clamp<int64_t>(q, INT32_MIN, INT32_MAX));
}

int FrameStyleClass(uint8_t style) {
    if (style == 0) return 0;
    return style == 1 || style == 11 || style == 12 ? 1 : 2;
}

void ColorRamp(uint32_t from, uint32_t to, int count, bool clear, std::vector<uint32_t>& list) {
    if (count <= 0) return;
    if (clear) list.clear();
    const int first = clear ? 0 : 1;
    if (count == 1) {
        if (first == 0) list.push_back(from & 0xFFFFFF);
        return;
    }
    for (int i = first; i <= count - 1; ++i) {
        uint32_t colour = 0;
        for (int shift = 0; shift <= 16; shift += 8) {
            const int32_t f = static_cast<int32_t>(from >> shift & 0xFF);
            const int32_t t = static_cast<int32_t>(to >> shift & 0xFF);
            const int32_t v = std::clamp(f + MulDiv(i, t - f, count - 1), 0, 255);
            colour |= static_cast<uint32_t>(v) << shift;
        }
        list.push_back(colour);
    }
}

TKitRect FitRect(int sourceW, int sourceH, const TKitRect& target) {
    if (sourceW <= 0 || sourceH <= 0) return {target.X, target.Y, 0, 0};
    const double factor = std::min(static_cast<double>(target.W) / sourceW, static_cast<double>(target.H) / sourceH);
    return {target.X, target.Y, static_cast<int>(std::lround(sourceW * factor)),
            static_cast<int>(std::lround(sourceH * factor))};
}

TKitPlacement PlaceImage(const TKitRect& target, int w, int h, uint32_t flags) {
    TKitPlacement p;
    p.Result = target;
    if (target.Empty() || w <= 0 || h <= 0) return p;
    TKitRect placed{target.X, target.Y, w, h};
    if (flags & kDrawCenter) {
        placed.X = target.X + (target.W - w) / 2;
        placed.Y = target.Y + (target.H - h) / 2;
    } else if (flags & kDrawStretch) {
        p.Stretched = true;
        const uint32_t keep = flags & (kDrawKeepWidth | kDrawKeepHeight);
        if (keep == (kDrawKeepWidth | kDrawKeepHeight))
            placed = FitRect(w, h, target);
        else if (keep == kDrawKeepWidth)
            placed = {target.X, target.Y, target.W,
                      static_cast<int>(std::lround(static_cast<double>(target.W) / w * h))};
        else if (keep == kDrawKeepHeight)
            placed = {target.X, target.Y, static_cast<int>(std::lround(static_cast<double>(target.H) / h * w)),
                      target.H};
        else
            placed = target;
    } else if (flags & kDrawTile) {
        p.Clipped = true;
        const int columns = target.W / w + 1, rows = target.H / h + 1;
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < columns; ++c) {
                const TKitRect copy{target.X + c * w, target.Y + r * h, w, h};
                // Copies wholly outside the target draw nothing.
                if (copy.X < target.X + target.W && copy.Y < target.Y + target.H) p.Copies.push_back(copy);
            }
        return p;
    }
    if (!placed.Empty()) {
        p.Copies.push_back(placed);
        p.Result = placed;
    }
    return p;
}

double MinOfValues(std::span<const double> values) {
    if (values.empty()) return 0;
    return *std::min_element(values.begin(), values.end());
}

const char* TextToCString(const std::string& text) {
    return text.empty() ? nullptr : text.c_str();
}

} // namespace quorlet
