#include <gtest/gtest.h>

#include <memory>

#include "core/FData.h"
#include "kit/KitSettingObjects.h"
#include "kit/engine/kiterror.h"

namespace quorlet {
namespace {

TEST(KitSettingObjects, DefaultsAndNotifyingSetters) {
    TKitFxCaption caption;
    int changes = 0;
    caption.OnChanged = [&](TKitObject*) { ++changes; };
    EXPECT_EQ(caption.LightColor(), clButtonHighlight);
    EXPECT_EQ(caption.Orientation(), toTopLeft);
    caption.SetStyle(tdSunken);
    caption.SetStyle(tdSunken);
    EXPECT_EQ(changes, 1);
    caption.SetAngle(360);
    EXPECT_EQ(caption.Angle(), 0);
    EXPECT_EQ(changes, 1);
    caption.SetAngle(45);
    EXPECT_EQ(caption.Text(), QString::fromUtf8("{sunken rot: 45\xC2\xB0}"));
    caption.SetStyle(tdNone);
    EXPECT_EQ(caption.Text(), QString::fromUtf8("{ rot: 45\xC2\xB0}"));

    TKitFillObject fill;
    changes = 0;
    fill.OnChanged = [&](TKitObject*) { ++changes; };
    EXPECT_EQ(fill.Style(), sfNone);
    EXPECT_EQ(fill.Options(), 5);
    fill.SetOffsetX(3); // a brush fill does not show its offset
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(fill.OffsetX(), 3);
    fill.SetStyle(sfBitmap);
    fill.SetTileMode(tmNone);
    changes = 0;
    fill.SetOffsetY(4);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(fill.Text(), "{Bitmap}");
    fill.Gradient().SetColorCount(4);
    EXPECT_EQ(changes, 2); // the owned gradient's change reaches its owner

    TKitCtlSettings ctl;
    EXPECT_EQ(ctl.Text(), "Transp.: false, CtlThemed: true");
    TKitColorObject colour;
    EXPECT_EQ(colour.Text(), "ButtonFace");
}

TEST(KitSettingObjects, BevelStylesAndExtents) {
    TKitBevel bevel;
    int changes = 0;
    bevel.OnChanged = [&](TKitObject*) { ++changes; };
    bevel.SetStyleInner(bvShadow);
    EXPECT_EQ(bevel.StyleOuter(), bvShadow);
    EXPECT_EQ(bevel.Extent(), 1);
    EXPECT_EQ(bevel.ShadowExtent(), 2);
    bevel.SetStyleInner(bvRaised);
    EXPECT_EQ(bevel.StyleOuter(), bvNone);
    EXPECT_EQ(bevel.Extent(), 1);
    changes = 0;
    bevel.SetStandardStyle(lsLowered);
    EXPECT_EQ(changes, 0);
    bevel.SetMode(bmStandard);
    EXPECT_EQ(bevel.Extent(), 2);
    bevel.SetStandardStyle(lsSingle);
    EXPECT_EQ(bevel.Extent(), 1);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(bevel.Text(), "{Standard style}");
    TKitBevel copy;
    copy.Assign(bevel);
    EXPECT_EQ(copy.Mode(), bmStandard);
    EXPECT_EQ(copy.Extent(), 1);
    EXPECT_THROW(copy.Assign(TKitColorObject()), EKitError);
}

TEST(KitSettingObjects, GradientRebuildsItsColours) {
    TKitGradient gradient;
    EXPECT_EQ(gradient.Colors().size(), 16u);
    EXPECT_EQ(gradient.Colors().front(), 0xFF0000u);
    EXPECT_EQ(gradient.Colors().back(), 0u);
    gradient.SetColorCount(3);
    gradient.SetColor(0xFFFFFF);
    EXPECT_EQ(gradient.Colors(), (std::vector<uint32_t>{0xFFFFFF, 0x7F7F7F, 0}));
    gradient.SetPaletteRealize(true);
    EXPECT_EQ(gradient.Palette().size(), 3);
    gradient.UserColors = {0x0000FF, 0x00FF00, 0xFF0000};
    gradient.SetTwoColors(false);
    // One step per pair: only the first colour.
    EXPECT_EQ(gradient.Colors(), (std::vector<uint32_t>{0x0000FF}));
    gradient.SetColorCount(6);
    EXPECT_EQ(gradient.Colors(), (std::vector<uint32_t>{0x0000FF, 0x00FF00, 0xFF0000}));
    EXPECT_TRUE(gradient.StoreColorList());
    EXPECT_EQ(gradient.Text(), "vertical, Col: 6, mult. col mode");
}

TEST(KitSettingObjects, CaptionAssignKeepsTheOrientation) {
    TKit3DCaption a, b;
    a.SetStyle(tdOutline);
    a.SetLightDepth(4);
    a.SetOrientation(toBottomRight);
    b.Assign(a);
    EXPECT_EQ(b.Style(), tdOutline);
    EXPECT_EQ(b.LightDepth(), 4);
    EXPECT_EQ(b.Orientation(), toTopLeft);
}

TEST(KitSettingObjects, AlphaAndEffectsFollowTheirList) {
    TKitImageList list;
    auto item = std::make_unique<TKitImageListItem>();
    item->SetWidth(2);
    item->SetHeight(2);
    QImage strip(4, 2, QImage::Format_RGB32);
    strip.fill(Qt::red);
    item->AddStrip(strip);
    list.Add(std::move(item));

    TKitBitmapEffectObject effects;
    TKitAlphaObject& alpha = effects.AlphaBlend();
    EXPECT_FALSE(alpha.StoreStrength());
    alpha.SetStrength(0.6000004f);
    EXPECT_FALSE(alpha.StoreStrength());
    alpha.SetStrength(0.75f);
    EXPECT_TRUE(alpha.StoreStrength());
    alpha.SetImageIndex(1);
    alpha.SetImageList(&list);
    EXPECT_EQ(alpha.FillObject().ListBitmap.size(), QSize(2, 2));
    alpha.SetImageIndex(5);
    EXPECT_TRUE(alpha.FillObject().ListBitmap.isNull());
    EXPECT_EQ(alpha.Text(), "{Disabled}");
    EXPECT_EQ(effects.Text(), "{Disabled}");
    alpha.FillObject().SetStyle(sfGradient);
    EXPECT_EQ(alpha.Text(), "{Enabled (grad), strength: 0.75}");
    effects.SetFlipHorizontal(true);
    effects.SetLightness(2);
    EXPECT_EQ(effects.Text(), "{alpha,FH,B}");
    effects.SetBuffered(true);
    effects.Buffer = QImage(2, 2, QImage::Format_RGB32);
    effects.SetBuffered(false);
    EXPECT_TRUE(effects.Buffer.isNull());

    TKitBitmapEffectObject copy;
    copy.Assign(effects);
    EXPECT_TRUE(copy.FlipHorizontal());
    EXPECT_EQ(copy.AlphaBlend().Strength(), 0.75f);
    EXPECT_EQ(copy.AlphaBlend().ImageList(), &list);
    EXPECT_EQ(copy.Text(), "{alpha,FH,B}");
}

TEST(KitSettingObjects, AlphaObjectLetsGoOfADestroyedList) {
    TKitAlphaObject alpha;
    auto list = std::make_unique<TKitImageList>();
    alpha.SetImageList(list.get());
    ASSERT_EQ(alpha.ImageList(), list.get());
    list.reset();
    EXPECT_EQ(alpha.ImageList(), nullptr);
    // Neither a copy nor a new list may reach into the freed one.
    TKitAlphaObject copy;
    copy.Assign(alpha);
    EXPECT_EQ(copy.ImageList(), nullptr);
    TKitImageList other;
    alpha.SetImageList(&other);
    EXPECT_EQ(alpha.ImageList(), &other);
    EXPECT_EQ(other.LinkCount(), 1);
}

TEST(KitSettingObjects, RegistryAndGlobalListReferences) {
    RegisterKitSettingClasses();
    for (const char* name : {"TKitBevel", "TKit3DCaption", "TKitFxCaption", "TKitFillObject", "TFont",
                             "TKitBitmapEffectObject", "TKitColorObject", "TKitCtlSettings"})
        EXPECT_TRUE(KitSettingClasses.count(name)) << name;
    EXPECT_EQ(KitSettingClasses.size(), 8u);
    auto bevel = CreateKitSetting("TKitBevel");
    ASSERT_NE(bevel, nullptr);
    EXPECT_EQ(bevel->Text(), "{Custom style}");
    EXPECT_EQ(CreateKitSetting("TFont"), nullptr);
    EXPECT_EQ(CreateKitSetting("TKitGradient"), nullptr);
    ASSERT_EQ(KitControlStates.size(), 8u);

    TKitContainer global;
    KitGlobalContainer = &global;
    TKitAlphaObject alpha;
    alpha.SetImageList(global.BitmapList());
    const std::string internal = alpha.Internal();
    EXPECT_EQ(internal, "\x08KitBML30");
    TKitAlphaObject back;
    ASSERT_TRUE(back.ReadInternal(internal));
    EXPECT_EQ(back.ImageList(), global.BitmapList());
    EXPECT_FALSE(back.ReadInternal("\x08KitXXX30"));
    KitGlobalContainer = nullptr;
}

} // namespace
} // namespace quorlet
