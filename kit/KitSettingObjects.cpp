#include "kit/KitSettingObjects.h"

#include <QPainter>

#include <cmath>

#include "core/FData.h"
#include "kit/KitGraphics.h"
#include "kit/engine/kiterror.h"

namespace quorlet {

namespace {

QString Q(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

template <typename T> void Register(const char* name) {
    KitSettingClasses[name] = [] { return std::make_unique<T>(); };
}

} // namespace

void TKitSettingObject::Assign(const TKitSettingObject& source) {
    if (&source == this) return;
    if (!AssignFrom(source))
        throw EKitError(std::string("Cannot assign a ") + source.ClassName() + " to a " + ClassName());
    Changed();
}

// ---- Captions -----------------------------------------------------------------------------

QString TKit3DCaption::Text() const {
    return Q(ThreeDStyleText(Style_));
}

bool TKit3DCaption::AssignFrom(const TKitSettingObject& source) {
    const auto* s = dynamic_cast<const TKit3DCaption*>(&source);
    if (!s) return false;
    DisabledStyle_ = s->DisabledStyle_;
    LightDepth_ = s->LightDepth_;
    ShadowDepth_ = s->ShadowDepth_;
    LightColor_ = s->LightColor_;
    ShadowColor_ = s->ShadowColor_;
    Style_ = s->Style_;
    Tracing_ = s->Tracing_;
    return true;
}

QString TKitFxCaption::Text() const {
    return Q(FxCaptionText(Style(), angle_));
}

bool TKitFxCaption::AssignFrom(const TKitSettingObject& source) {
    if (!TKit3DCaption::AssignFrom(source)) return false;
    if (const auto* s = dynamic_cast<const TKitFxCaption*>(&source)) {
        angle_ = s->angle_;
        PosX_ = s->PosX_;
        PosY_ = s->PosY_;
    }
    return true;
}

// ---- Gradient and fills -------------------------------------------------------------------

TKitGradient::TKitGradient() {
    RebuildColors();
}

void TKitGradient::RebuildColors() {
    palette_.clear();
    colors_ = GradientColors(TwoColors_, color_, EndColor_, ColorCount_, UserColors);
    if (PaletteRealize_) palette_ = PaletteFromColors(&colors_);
}

void TKitGradient::SetColor(uint32_t value) {
    if (value == color_) return;
    color_ = value;
    RebuildColors();
    Changed();
}

void TKitGradient::Changed() {
    RebuildColors();
    TKitSettingObject::Changed();
}

QString TKitGradient::Text() const {
    return Q(GradientText(Style_, ColorCount_, TwoColors_));
}

bool TKitGradient::AssignFrom(const TKitSettingObject& source) {
    const auto* s = dynamic_cast<const TKitGradient*>(&source);
    if (!s) return false;
    color_ = s->color_;
    EndColor_ = s->EndColor_;
    Style_ = s->Style_;
    ColorCount_ = s->ColorCount_;
    PaletteRealize_ = s->PaletteRealize_;
    TwoColors_ = s->TwoColors_;
    UserColors = s->UserColors;
    return true;
}

TKitShapeFill::TKitShapeFill() : gradient_(std::make_unique<TKitGradient>()) {
    gradient_->OnChanged = [this](TKitObject*) { Changed(); };
}

QString TKitShapeFill::Text() const {
    return Q(FillStyleText(style_));
}

bool TKitShapeFill::AssignFrom(const TKitSettingObject& source) {
    const auto* s = dynamic_cast<const TKitShapeFill*>(&source);
    if (!s) return false;
    style_ = s->style_;
    TileMode_ = s->TileMode_;
    Bitmap = s->Bitmap;
    gradient_->LockUpdates();
    gradient_->Assign(*s->gradient_);
    gradient_->UnlockUpdates(false);
    return true;
}

bool TKitFillObject::OffsetShows() const {
    return (style_ == sfBitmap || style_ == sfBitmapList) && TileMode() == tmNone;
}

void TKitFillObject::SetOffsetX(int value) {
    if (value == offsetX_) return;
    offsetX_ = value;
    if (OffsetShows()) Changed();
}

void TKitFillObject::SetOffsetY(int value) {
    if (value == offsetY_) return;
    offsetY_ = value;
    if (OffsetShows()) Changed();
}

bool TKitFillObject::AssignFrom(const TKitSettingObject& source) {
    if (!TKitShapeFill::AssignFrom(source)) return false;
    if (const auto* s = dynamic_cast<const TKitFillObject*>(&source)) {
        Alignment_ = s->Alignment_;
        Options_ = s->Options_;
        offsetX_ = s->offsetX_;
        offsetY_ = s->offsetY_;
        Brush = s->Brush;
    }
    return true;
}

// ---- Bevel --------------------------------------------------------------------------------

void TKitBevel::SetStyleInner(TKitBevelStyle value) {
    if (value == styleInner_) return;
    if (styleInner_ == bvShadow) styleOuter_ = bvNone;
    if (value == bvShadow) styleOuter_ = bvShadow;
    styleInner_ = value;
    Changed();
}

void TKitBevel::SetStandardStyle(TKitStandardStyle value) {
    if (value == standardStyle_) return;
    standardStyle_ = value;
    if (Mode() == bmStandard) Changed();
}

TKitBevelValues TKitBevel::Values() const {
    TKitBevelValues v;
    v.StyleInner = styleInner_;
    v.StyleOuter = styleOuter_;
    v.WidthInner = WidthInner_;
    v.WidthOuter = WidthOuter_;
    v.BorderSides = BorderSides_;
    v.BorderWidth = BorderWidth_;
    v.BorderInnerWidth = BorderInnerWidth_;
    v.Mode = Mode_;
    v.StandardStyle = standardStyle_;
    v.HostDrawsBorder = HostDrawsBorder;
    return v;
}

void TKitBevel::Changed() {
    extent_ = BevelExtent(Values());
    shadowExtent_ = BevelShadowExtent(Values());
    TKitSettingObject::Changed();
}

QString TKitBevel::Text() const {
    return Q(BevelModeText(Mode_));
}

bool TKitBevel::AssignFrom(const TKitSettingObject& source) {
    const auto* s = dynamic_cast<const TKitBevel*>(&source);
    if (!s) return false;
    WidthInner_ = s->WidthInner_;
    WidthOuter_ = s->WidthOuter_;
    BorderColor_ = s->BorderColor_;
    BorderSides_ = s->BorderSides_;
    BorderWidth_ = s->BorderWidth_;
    BorderInnerWidth_ = s->BorderInnerWidth_;
    EdgeStyle_ = s->EdgeStyle_;
    LightColor_ = s->LightColor_;
    Mode_ = s->Mode_;
    ShadowColor_ = s->ShadowColor_;
    styleInner_ = s->styleInner_;
    styleOuter_ = s->styleOuter_;
    standardStyle_ = s->standardStyle_;
    HostDrawsBorder = s->HostDrawsBorder;
    return true;
}

// ---- Alpha blending and bitmap effects ----------------------------------------------------

TKitAlphaObject::TKitAlphaObject() : fill_(std::make_unique<TKitFillObject>()) {
    fill_->OnChanged = [this](TKitObject*) { Changed(); };
    link_.OnChange = [this](QObject*) { ListChanged(); };
}

TKitAlphaObject::~TKitAlphaObject() = default;

TKitCustomContainer* TKitAlphaObject::ImageList() const {
    // A list destroyed meanwhile has detached the link; the pointer is then not to be used.
    return link_.Sender() ? imageList_ : nullptr;
}

void TKitAlphaObject::SetImageList(TKitCustomContainer* list) {
    if (list == ImageList()) return;
    if (ImageList()) imageList_->UnRegisterChanges(&link_);
    imageList_ = list;
    if (list) list->RegisterChanges(&link_);
    ListChanged();
}

void TKitAlphaObject::SetImageIndex(int value) {
    if (value == imageIndex_) return;
    imageIndex_ = value;
    ListChanged();
}

void TKitAlphaObject::SetListIndex(int value) {
    if (value == listIndex_) return;
    listIndex_ = value;
    ListChanged();
}

void TKitAlphaObject::ListChanged() {
    QImage frame;
    if (const auto* images = qobject_cast<TKitImageList*>(ImageList())) {
        if (const TKitImageListItem* item = images->ImageItem(listIndex_)) frame = item->Frame(imageIndex_);
    } else if (const auto* bitmaps = qobject_cast<TKitBitmapList*>(ImageList())) {
        if (const TKitBitmapListItem* item = bitmaps->BitmapItem(listIndex_); item && imageIndex_ == 0)
            frame = item->Bitmap;
    }
    fill_->ListBitmap = frame;
    Changed();
}

bool TKitAlphaObject::StoreStrength() const {
    return std::lround(static_cast<double>(strength_) * 1000000.0) != 600000;
}

std::string TKitAlphaObject::Internal() const {
    std::string out;
    const TKitCustomContainer* list = ImageList();
    if (!KitGlobalContainer || !list) return out;
    if (list == KitGlobalContainer->BitmapList()) WriteShortText(out, kKitSignatures[lkBitmapList]);
    if (list == KitGlobalContainer->ImageList()) WriteShortText(out, kKitSignatures[lkImageList]);
    return out;
}

bool TKitAlphaObject::ReadInternal(std::string_view bytes) {
    TKitReader in(bytes);
    const std::string signature = in.ShortText();
    if (!in.Ok() || !KitGlobalContainer) return false;
    if (signature == kKitSignatures[lkBitmapList]) SetImageList(KitGlobalContainer->BitmapList());
    else if (signature == kKitSignatures[lkImageList]) SetImageList(KitGlobalContainer->ImageList());
    else return false;
    return true;
}

QString TKitAlphaObject::Text() const {
    return Q(AlphaText(fill_->Style(), strength_));
}

bool TKitAlphaObject::AssignFrom(const TKitSettingObject& source) {
    const auto* s = dynamic_cast<const TKitAlphaObject*>(&source);
    if (!s) return false;
    strength_ = s->strength_;
    Transparent = s->Transparent;
    imageIndex_ = s->imageIndex_;
    listIndex_ = s->listIndex_;
    fill_->LockUpdates();
    fill_->Assign(*s->fill_);
    fill_->UnlockUpdates(false);
    LockUpdates();
    SetImageList(s->ImageList());
    UnlockUpdates(false);
    return true;
}

TKitBitmapEffectObject::TKitBitmapEffectObject() : alpha_(std::make_unique<TKitAlphaObject>()) {
    alpha_->OnChanged = [this](TKitObject*) { Changed(); };
}

void TKitBitmapEffectObject::SetBuffered(bool value) {
    if (value == buffered_) return;
    buffered_ = value;
    if (!value) {
        Buffer = QImage();
        BufferValid = false;
    }
    Changed();
}

QString TKitBitmapEffectObject::Text() const {
    return Q(EffectText(alpha_->FillObject().Style() != sfNone, FlipVertical_, FlipHorizontal_, GrayScale_, Invert_,
                        Lightness_));
}

bool TKitBitmapEffectObject::AssignFrom(const TKitSettingObject& source) {
    const auto* s = dynamic_cast<const TKitBitmapEffectObject*>(&source);
    if (!s) return false;
    FlipVertical_ = s->FlipVertical_;
    FlipHorizontal_ = s->FlipHorizontal_;
    GrayScale_ = s->GrayScale_;
    Invert_ = s->Invert_;
    Lightness_ = s->Lightness_;
    LockUpdates();
    SetBuffered(s->buffered_);
    alpha_->Assign(*s->alpha_);
    UnlockUpdates(false);
    return true;
}

// ---- Colour and control settings ----------------------------------------------------------

QString TKitColorObject::Text() const {
    return Q(ColorText(Color_));
}

bool TKitColorObject::AssignFrom(const TKitSettingObject& source) {
    const auto* s = dynamic_cast<const TKitColorObject*>(&source);
    if (!s) return false;
    Color_ = s->Color_;
    return true;
}

QString TKitCtlSettings::Text() const {
    return Q(CtlSettingsText(Transparent_, CtlThemed_));
}

bool TKitCtlSettings::AssignFrom(const TKitSettingObject& source) {
    const auto* s = dynamic_cast<const TKitCtlSettings*>(&source);
    if (!s) return false;
    Transparent_ = s->Transparent_;
    CtlThemed_ = s->CtlThemed_;
    return true;
}

// ---- Registration -------------------------------------------------------------------------

void RegisterKitSettingClasses() {
    Register<TKitBevel>("TKitBevel");
    Register<TKit3DCaption>("TKit3DCaption");
    Register<TKitFxCaption>("TKitFxCaption");
    Register<TKitFillObject>("TKitFillObject");
    // The font class is known by name; fonts are Qt's own.
    KitSettingClasses["TFont"] = nullptr;
    Register<TKitBitmapEffectObject>("TKitBitmapEffectObject");
    Register<TKitColorObject>("TKitColorObject");
    Register<TKitCtlSettings>("TKitCtlSettings");
    KitControlStates = ControlStateTable();
}

std::unique_ptr<TKitObject> CreateKitSetting(const std::string& name) {
    const auto it = KitSettingClasses.find(name);
    if (it == KitSettingClasses.end() || !it->second) return nullptr;
    return it->second();
}

} // namespace quorlet
