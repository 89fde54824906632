// The kit's setting objects: grouped properties of visual controls (captions, gradients,
// fills, bevels, alpha blending, bitmap effects, a colour, control settings). Setters store a
// changed value and notify; each object describes itself for property editors.
#pragma once

#include <QBrush>
#include <QImage>
#include <QString>

#include <memory>
#include <vector>

#include "kit/KitCustomComponent.h"
#include "kit/KitLists.h"
#include "kit/engine/kiteffects.h"

// A published property: getter, and a setter that stores a changed value and calls Changed.
#define KIT_PROPERTY(Type, Name, Default)                                                                    \
  public:                                                                                                    \
    Type Name() const { return Name##_; }                                                                    \
    void Set##Name(Type value) { Store(Name##_, value); }                                                    \
                                                                                                             \
  private:                                                                                                   \
    Type Name##_ = Default;

namespace quorlet {

class TKitSettingObject : public TKitObject {
  public:
    virtual const char* ClassName() const = 0;
    // Copies an object of the same class; raises "Cannot assign a <source> to a <this>" else.
    void Assign(const TKitSettingObject& source);

  protected:
    virtual bool AssignFrom(const TKitSettingObject& source) = 0;
    template <typename T> void Store(T& field, T value) {
        if (field == value) return;
        field = value;
        Changed();
    }
};

class TKit3DCaption : public TKitSettingObject {
    KIT_PROPERTY(TKitDisabledStyle, DisabledStyle, dsAuto)
    KIT_PROPERTY(int, LightDepth, 1)
    KIT_PROPERTY(int, ShadowDepth, 1)
    KIT_PROPERTY(uint32_t, LightColor, clButtonHighlight)
    KIT_PROPERTY(uint32_t, ShadowColor, clButtonShadow)
    KIT_PROPERTY(TKitThreeDOrientation, Orientation, toTopLeft)
    KIT_PROPERTY(TKitThreeDStyle, Style, tdNone)
    KIT_PROPERTY(int, Tracing, 0)
  public:
    const char* ClassName() const override { return "TKit3DCaption"; }
    QString Text() const override;

  protected:
    // Every property but the orientation.
    bool AssignFrom(const TKitSettingObject& source) override;
};

class TKitFxCaption : public TKit3DCaption {
    KIT_PROPERTY(int, PosX, 0)
    KIT_PROPERTY(int, PosY, 0)
  public:
    const char* ClassName() const override { return "TKitFxCaption"; }
    uint16_t Angle() const { return angle_; }
    // 360 is stored as 0.
    void SetAngle(uint16_t value) { Store(angle_, value == 360 ? uint16_t{0} : value); }
    QString Text() const override;

  protected:
    bool AssignFrom(const TKitSettingObject& source) override;

  private:
    uint16_t angle_ = 0;
};

class TKitGradient : public TKitSettingObject {
    KIT_PROPERTY(uint32_t, EndColor, 0)
    KIT_PROPERTY(TKitGradientStyle, Style, gstVertical)
    KIT_PROPERTY(int, ColorCount, 16)
    KIT_PROPERTY(bool, PaletteRealize, false)
    KIT_PROPERTY(bool, TwoColors, true)
  public:
    TKitGradient();
    const char* ClassName() const override { return "TKitGradient"; }
    uint32_t Color() const { return color_; }
    void SetColor(uint32_t value);
    // The user colours (the form's "ColorList", stored only when not empty).
    std::vector<uint32_t> UserColors;
    bool StoreColorList() const { return !UserColors.empty(); }
    const std::vector<uint32_t>& Colors() const { return colors_; }
    const QVector<QRgb>& Palette() const { return palette_; }
    // Rebuilds the colour list first.
    void Changed() override;
    QString Text() const override;

  protected:
    bool AssignFrom(const TKitSettingObject& source) override;

  private:
    void RebuildColors();
    uint32_t color_ = 0xFF0000;
    std::vector<uint32_t> colors_;
    QVector<QRgb> palette_;
};

class TKitShapeFill : public TKitSettingObject {
    KIT_PROPERTY(TKitTileMode, TileMode, tmTile)
  public:
    TKitShapeFill();
    const char* ClassName() const override { return "TKitShapeFill"; }
    TKitFillStyle Style() const { return style_; }
    void SetStyle(TKitFillStyle value) { Store(style_, value); }
    QImage Bitmap;
    TKitGradient& Gradient() { return *gradient_; }
    const TKitGradient& Gradient() const { return *gradient_; }
    QImage ListBitmap;
    QString Text() const override;

  protected:
    bool AssignFrom(const TKitSettingObject& source) override;
    TKitFillStyle style_ = sfBrush;

  private:
    std::unique_ptr<TKitGradient> gradient_;
};

enum : uint8_t { foFillInner = 1, foQuickDraw = 2, foGrUseBitmap = 4 };

class TKitFillObject : public TKitShapeFill {
    KIT_PROPERTY(TKitAlignment, Alignment, agTopLeft)
    KIT_PROPERTY(uint8_t, Options, foFillInner | foGrUseBitmap)
  public:
    TKitFillObject() { style_ = sfNone; }
    const char* ClassName() const override { return "TKitFillObject"; }
    QBrush Brush;
    int OffsetX() const { return offsetX_; }
    int OffsetY() const { return offsetY_; }
    // Notify only where the offset shows: a bitmap (or bitmap list) fill without tiling.
    void SetOffsetX(int value);
    void SetOffsetY(int value);

  protected:
    bool AssignFrom(const TKitSettingObject& source) override;

  private:
    bool OffsetShows() const;
    int offsetX_ = 0;
    int offsetY_ = 0;
};

class TKitBevel : public TKitSettingObject {
    KIT_PROPERTY(int, WidthInner, 1)
    KIT_PROPERTY(int, WidthOuter, 1)
    KIT_PROPERTY(uint32_t, BorderColor, clButtonFace)
    KIT_PROPERTY(uint8_t, BorderSides, bsAllSides)
    KIT_PROPERTY(int, BorderWidth, 0)
    KIT_PROPERTY(int, BorderInnerWidth, 0)
    KIT_PROPERTY(TKitEdgeStyle, EdgeStyle, etEtched)
    KIT_PROPERTY(uint32_t, LightColor, clButtonHighlight)
    KIT_PROPERTY(TKitBevelMode, Mode, bmCustom)
    KIT_PROPERTY(uint32_t, ShadowColor, clButtonShadow)
  public:
    const char* ClassName() const override { return "TKitBevel"; }
    TKitBevelStyle StyleInner() const { return styleInner_; }
    // Into bvShadow takes the outer style along; out of it resets the outer style.
    void SetStyleInner(TKitBevelStyle value);
    TKitBevelStyle StyleOuter() const { return styleOuter_; }
    void SetStyleOuter(TKitBevelStyle value) { Store(styleOuter_, value); }
    TKitStandardStyle StandardStyle() const { return standardStyle_; }
    // Stored always; notifies only in bmStandard.
    void SetStandardStyle(TKitStandardStyle value);
    bool HostDrawsBorder = false;
    int Extent() const { return extent_; }
    int ShadowExtent() const { return shadowExtent_; }
    // Keeps the extents.
    void Changed() override;
    QString Text() const override;

  protected:
    bool AssignFrom(const TKitSettingObject& source) override;

  private:
    TKitBevelValues Values() const;
    TKitBevelStyle styleInner_ = bvNone;
    TKitBevelStyle styleOuter_ = bvNone;
    TKitStandardStyle standardStyle_ = lsSingleLowered;
    int extent_ = 0;
    int shadowExtent_ = 0;
};

class TKitAlphaObject : public TKitSettingObject {
  public:
    TKitAlphaObject();
    ~TKitAlphaObject() override;
    const char* ClassName() const override { return "TKitAlphaObject"; }
    // An image or bitmap list, joined through the object's own change link; none once the
    // list is destroyed.
    TKitCustomContainer* ImageList() const;
    void SetImageList(TKitCustomContainer* list);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int value);
    int ListIndex() const { return listIndex_; }
    void SetListIndex(int value);
    float Strength() const { return strength_; }
    void SetStrength(float value) { Store(strength_, value); }
    // Stored in forms only when it differs from 0.6 in the sixth decimal.
    bool StoreStrength() const;
    bool Transparent = false;
    TKitFillObject& FillObject() { return *fill_; }
    const TKitFillObject& FillObject() const { return *fill_; }
    // A list of the global container is stored as its signature, not as a reference.
    std::string Internal() const;
    bool ReadInternal(std::string_view bytes);
    QString Text() const override;

  protected:
    bool AssignFrom(const TKitSettingObject& source) override;

  private:
    void ListChanged();
    TKitCustomContainer* imageList_ = nullptr;
    int imageIndex_ = 0;
    int listIndex_ = 0;
    float strength_ = 0.6f;
    std::unique_ptr<TKitFillObject> fill_;
    TKitChangeLink link_;
};

class TKitBitmapEffectObject : public TKitSettingObject {
    KIT_PROPERTY(bool, FlipVertical, false)
    KIT_PROPERTY(bool, FlipHorizontal, false)
    KIT_PROPERTY(bool, GrayScale, false)
    KIT_PROPERTY(bool, Invert, false)
    KIT_PROPERTY(int32_t, Lightness, 0)
  public:
    TKitBitmapEffectObject();
    const char* ClassName() const override { return "TKitBitmapEffectObject"; }
    TKitAlphaObject& AlphaBlend() { return *alpha_; }
    const TKitAlphaObject& AlphaBlend() const { return *alpha_; }
    bool Buffered() const { return buffered_; }
    // Off also drops the buffer.
    void SetBuffered(bool value);
    bool Monochrome = false;
    bool BufferValid = false;
    QImage Buffer;
    QString Text() const override;

  protected:
    bool AssignFrom(const TKitSettingObject& source) override;

  private:
    bool buffered_ = false;
    std::unique_ptr<TKitAlphaObject> alpha_;
};

class TKitColorObject : public TKitSettingObject {
    KIT_PROPERTY(uint32_t, Color, clButtonFace)
  public:
    const char* ClassName() const override { return "TKitColorObject"; }
    QString Text() const override;

  protected:
    bool AssignFrom(const TKitSettingObject& source) override;
};

class TKitCtlSettings : public TKitSettingObject {
    KIT_PROPERTY(bool, Transparent, false)
    KIT_PROPERTY(bool, CtlThemed, true)
  public:
    const char* ClassName() const override { return "TKitCtlSettings"; }
    QString Text() const override;

  protected:
    bool AssignFrom(const TKitSettingObject& source) override;
};

// The start-up registrations of the setting classes and the control-state table.
void RegisterKitSettingClasses();
// A registered class made by name (null for an unknown name or one without a factory).
std::unique_ptr<TKitObject> CreateKitSetting(const std::string& name);

} // namespace quorlet

#undef KIT_PROPERTY
