#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "kit/engine/kitdraw.h"

namespace quorlet {
namespace {

TEST(KitDraw, MulDivRoundsHalvesAwayFromZero) {
    struct Case {
        int32_t a, b, c, result;
    };
    const Case cases[] = {
        {1, 255, 2, 128},  {1, -255, 2, -128}, {-1, 255, 2, -128}, {1, 255, -2, -128}, {2, 5, 4, 3},
        {1, 1, 3, 0},      {2, 1, 3, 1},       {7, 0, 3, 0},       {5, 5, 0, -1},
        {0x7FFFFFFF, 2, 2, 0x7FFFFFFF}, // the 64-bit product does not overflow
    };
    for (const Case& c : cases) EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.result) << c.a << " " << c.b << " " << c.c;
}

TEST(KitDraw, FrameStyleClasses) {
    const std::pair<uint8_t, int> cases[] = {{0, 0}, {1, 1}, {11, 1}, {12, 1}, {2, 2}, {10, 2}, {13, 2}, {255, 2}};
    for (auto [style, cls] : cases) EXPECT_EQ(FrameStyleClass(style), cls) << int(style);
}

TEST(KitDraw, ColorRamps) {
    struct Case {
        uint32_t from, to;
        int count;
        bool clear;
        std::vector<uint32_t> result;
    };
    const Case cases[] = {
        {0x000000, 0xFFFFFF, 3, true, {0x000000, 0x808080, 0xFFFFFF}},
        {0x000000, 0xFFFFFF, 3, false, {0xAA, 0x808080, 0xFFFFFF}},
        {0x0000FF, 0xFF0000, 2, true, {0x0000FF, 0xFF0000}},
        {0x102030, 0x000000, 1, true, {0x102030}}, // no division by zero
        {0x102030, 0x000000, 1, false, {0xAA}},
        {0x102030, 0x000000, 0, true, {0xAA}},     // a count of 0 does not even clear
    };
    for (const Case& c : cases) {
        std::vector<uint32_t> list = {0xAA};
        ColorRamp(c.from, c.to, c.count, c.clear, list);
        EXPECT_EQ(list, c.result) << c.count << c.clear;
    }
}

TEST(KitDraw, FitRectKeepsProportionsAtTheCorner) {
    EXPECT_EQ(FitRect(100, 50, {5, 7, 40, 40}), (TKitRect{5, 7, 40, 20}));
    EXPECT_EQ(FitRect(30, 90, {0, 0, 40, 40}), (TKitRect{0, 0, 13, 40}));
    EXPECT_EQ(FitRect(3, 3, {0, 0, 10, 20}), (TKitRect{0, 0, 10, 10}));
    EXPECT_TRUE(FitRect(0, 50, {0, 0, 40, 40}).Empty());
    EXPECT_TRUE(FitRect(10, 0, {0, 0, 40, 40}).Empty());
}

TEST(KitDraw, PlacementByLayoutFlags) {
    const TKitRect target{10, 20, 40, 20};
    struct Case {
        uint32_t flags;
        int w, h;
        TKitRect placed;
    };
    const Case cases[] = {
        {0, 16, 16, {10, 20, 16, 16}},
        {kDrawCenter, 16, 16, {22, 22, 16, 16}},
        {kDrawCenter, 15, 5, {22, 27, 15, 5}},    // the odd half rounds towards zero
        {kDrawCenter, 45, 25, {8, 18, 45, 25}},   // larger than the target: negative offsets
        {kDrawStretch, 16, 16, target},
        {kDrawStretch | kDrawKeepWidth | kDrawKeepHeight, 100, 50, {10, 20, 40, 20}},
        {kDrawStretch | kDrawKeepWidth, 20, 30, {10, 20, 40, 60}},
        {kDrawStretch | kDrawKeepHeight, 20, 30, {10, 20, 13, 20}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.flags);
        const TKitPlacement p = PlaceImage(target, c.w, c.h, c.flags);
        ASSERT_EQ(p.Copies.size(), 1u);
        EXPECT_EQ(p.Copies[0], c.placed);
        EXPECT_EQ(p.Result, c.placed);
        EXPECT_EQ(p.Stretched, (c.flags & kDrawStretch) != 0);
    }
}

TEST(KitDraw, TilesCoverTheTargetAndEmptyCasesPlaceNothing) {
    const TKitPlacement tiles = PlaceImage({0, 0, 40, 20}, 16, 16, kDrawTile);
    EXPECT_TRUE(tiles.Clipped);
    ASSERT_EQ(tiles.Copies.size(), 6u);
    EXPECT_EQ(tiles.Copies[2], (TKitRect{32, 0, 16, 16}));
    EXPECT_EQ(tiles.Copies[5], (TKitRect{32, 16, 16, 16}));
    EXPECT_EQ(tiles.Result, (TKitRect{0, 0, 40, 20}));
    // An exact fit lays no copy wholly outside.
    EXPECT_EQ(PlaceImage({0, 0, 32, 16}, 16, 16, kDrawTile).Copies.size(), 2u);
    for (const auto& [target, w, h, flags] : std::vector<std::tuple<TKitRect, int, int, uint32_t>>{
             {{0, 0, 0, 10}, 5, 5, 0},
             {{0, 0, 10, 10}, 0, 5, kDrawTile},
             {{0, 0, 10, 10}, 5, 0, kDrawStretch | kDrawKeepWidth},
             {{0, 0, 10, 10}, 0, 0, kDrawStretch | kDrawKeepHeight | kDrawKeepWidth},
         }) {
        const TKitPlacement p = PlaceImage(target, w, h, flags);
        EXPECT_TRUE(p.Copies.empty());
        EXPECT_EQ(p.Result, target);
    }
}

TEST(KitDraw, MinOfValues) {
    const double values[] = {3.5, -2, 7};
    EXPECT_EQ(MinOfValues(values), -2);
    EXPECT_EQ(MinOfValues({}), 0);
}

TEST(KitDraw, TextToCStringPointsAtTheTextsOwnCharacters) {
    const std::string text = "abc";
    EXPECT_EQ(TextToCString(text), text.c_str());
    EXPECT_EQ(TextToCString(std::string()), nullptr);
}

} // namespace
} // namespace quorlet
