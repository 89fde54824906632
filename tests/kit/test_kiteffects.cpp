#include <gtest/gtest.h>

#include "kit/engine/kiteffects.h"

namespace quorlet {
namespace {

TEST(KitBevelExtent, ByModeAndStyles) {
    struct Case {
        TKitBevelValues bevel;
        int extent, shadow;
    };
    auto bevel = [](TKitBevelMode mode) {
        TKitBevelValues v;
        v.Mode = mode;
        v.WidthInner = 2;
        v.WidthOuter = 3;
        v.BorderWidth = 4;
        v.BorderInnerWidth = 1;
        return v;
    };
    std::vector<Case> cases;
    cases.push_back({bevel(bmCustom), 5, 5});
    TKitBevelValues v = bevel(bmCustom);
    v.StyleOuter = bvRaised;
    v.StyleInner = bvFrameLowered;
    cases.push_back({v, 4 + 1 + 3 + 2 + 1, 11});
    v.StyleOuter = bvFrameRaised;
    cases.push_back({v, 12, 12});
    v.StyleOuter = bvShadow;
    v.StyleInner = bvNone;
    cases.push_back({v, 4 + 1 + 3, 2 + 3 + 1});
    v.StyleInner = bvShadow;
    cases.push_back({v, 2 + 1, 2 + 3 + 1});
    for (auto [style, cls] : {std::pair{lsNone, 0}, {lsSingleLowered, 1}, {lsSingleRaised, 1}, {lsSingle, 1},
                              {lsLowered, 2}, {lsEtched, 2}}) {
        TKitBevelValues s = bevel(bmStandard);
        s.StandardStyle = style;
        cases.push_back({s, cls + 1, cls + 1});
    }
    TKitBevelValues edge = bevel(bmEdge);
    cases.push_back({edge, 3, 3});
    edge.BorderSides = 0;
    cases.push_back({edge, 1, 1});
    TKitBevelValues system = bevel(bmSystem);
    cases.push_back({system, 3, 3});
    system.HostDrawsBorder = true;
    cases.push_back({system, 0, 0});
    for (size_t i = 0; i < cases.size(); ++i) {
        EXPECT_EQ(BevelExtent(cases[i].bevel), cases[i].extent) << i;
        EXPECT_EQ(BevelShadowExtent(cases[i].bevel), cases[i].shadow) << i;
    }
}

TEST(KitGradientColors, TwoColourAndUserColourRamps) {
    EXPECT_EQ(GradientColors(true, 0x000000, 0xFFFFFF, 3, {}), (std::vector<uint32_t>{0, 0x808080, 0xFFFFFF}));
    // Three user colours, 6 colours: 2 steps each, the shared colour once.
    EXPECT_EQ(GradientColors(false, 0, 0, 6, {0x000000, 0x0000FF, 0x00FF00}),
              (std::vector<uint32_t>{0x000000, 0x0000FF, 0x00FF00}));
    EXPECT_EQ(GradientColors(false, 0, 0, 9, {0x000000, 0x0000FE, 0x0000FE}),
              (std::vector<uint32_t>{0x000000, 0x00007F, 0x0000FE, 0x0000FE, 0x0000FE}));
    EXPECT_TRUE(GradientColors(false, 0, 0, 16, {0x123456}).empty());
}

TEST(KitEffectTexts, DescriptionsOfEachSetting) {
    EXPECT_EQ(ThreeDStyleText(tdNone), "{Disabled}");
    EXPECT_EQ(ThreeDStyleText(tdPColorSunken), "{PColor sunken}");
    EXPECT_EQ(ThreeDStyleText(tdPColorRaised), "{}");
    EXPECT_EQ(ThreeDStyleText(tdExtrudeEnh), "{extrude enh}");
    EXPECT_EQ(FxCaptionText(tdSunken, 45), "{sunken rot: 45\xC2\xB0}");
    EXPECT_EQ(FxCaptionText(tdNone, 45), "{ rot: 45\xC2\xB0}");
    EXPECT_EQ(FxCaptionText(tdRaised, 0), "{raised}");
    EXPECT_EQ(GradientText(gstVertical, 16, true), "vertical, Col: 16, 2 col mode");
    EXPECT_EQ(GradientText(gstTopRightDiagonal, 8, false), "top right diag, Col: 8, mult. col mode");
    EXPECT_EQ(FillStyleText(sfBrushBitmap), "{BitmapBrush}");
    EXPECT_EQ(BevelModeText(bmSystem), "{System style}");
    EXPECT_EQ(BevelModeText(bmCustom), "{Custom style}");
    EXPECT_EQ(AlphaText(sfNone, 0.6f), "{Disabled}");
    EXPECT_EQ(AlphaText(sfBrush, 0.6f), "{Enabled (brush), strength: 0.60}");
    EXPECT_EQ(AlphaText(sfBitmapList, 0.125f), "{Enabled (bmp), strength: 0.13}");
    EXPECT_EQ(AlphaText(sfGradient, 1), "{Enabled (grad), strength: 1.00}");
    EXPECT_EQ(EffectText(false, false, false, false, false, 0), "{Disabled}");
    EXPECT_EQ(EffectText(true, true, false, true, true, -3), "{alpha,FV,GS,INV,B}");
    EXPECT_EQ(ColorText(clButtonFace), "ButtonFace");
    EXPECT_EQ(ColorText(0x0000FF), "Red");
    EXPECT_EQ(ColorText(0x00123456), "$00123456");
    EXPECT_EQ(CtlSettingsText(false, true), "Transp.: false, CtlThemed: true");
}

TEST(KitControlStates, EightNamedKeys) {
    const auto table = ControlStateTable();
    ASSERT_EQ(table.size(), 8u);
    EXPECT_EQ(table[0].first, "Disabled");
    EXPECT_EQ(table[3].second, (std::array<uint8_t, 7>{2, 0, 0, 0, 1, 2, 2}));
    EXPECT_EQ(table[7].first, "Normal");
    EXPECT_EQ(table[7].second, (std::array<uint8_t, 7>{2, 2, 2, 2, 2, 2, 2}));
}

TEST(KitListCopy, ClearsTheTargetOrMakesANewList) {
    const std::vector<uint32_t> source = {3, 1, 2};
    std::vector<uint32_t> target = {9, 9, 9, 9};
    EXPECT_EQ(&CopyKitList(source, target), &target);
    EXPECT_EQ(target, source);
    EXPECT_EQ(CopyKitList(source), source);
    EXPECT_EQ(CopyKitList(target, target), source); // onto itself: nothing lost
}

} // namespace
} // namespace quorlet
