#include "kit/KitLists.h"

#include <QFile>
#include <QFileInfo>
#include <QPainter>

#include <algorithm>

#include "core/FData.h"
#include "core/safewrite.h"
#include "kit/KitGraphics.h"
#include "kit/engine/kiterror.h"

namespace quorlet {

namespace {

QByteArray ToBytes(const std::string& s) {
    return QByteArray(s.data(), static_cast<qsizetype>(s.size()));
}

std::string_view View(const QByteArray& bytes) {
    return {bytes.constData(), static_cast<size_t>(bytes.size())};
}

QImage DecodeBitmap(const std::string& file) {
    QImage image;
    if (!file.empty())
        image.loadFromData(reinterpret_cast<const uchar*>(file.data()), static_cast<int>(file.size()), "BMP");
    return image.isNull() ? image : image.convertToFormat(QImage::Format_RGB32);
}

// The file's bytes; raises "Cannot open file <name>" when it cannot be read.
std::string ReadWholeFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EKitError("Cannot open file " + path.toStdString(), TKitErrorKind::FileOpen);
    const QByteArray bytes = file.readAll();
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

constexpr QRgb kWhiteMask = 0xFFFFFFFFu;

template <typename TItem> void RegisterItemClass(const char* name) {
    if (!KitItemClasses.count(name)) KitItemClasses[name] = [] { return std::make_unique<TItem>(); };
}

} // namespace

// ---- Change links -------------------------------------------------------------------------

TKitChangeLink::~TKitChangeLink() {
    if (sender_) sender_->UnRegisterChanges(this);
}

void TKitChangeLink::Change() {
    if (OnChange) OnChange(sender_);
}

TKitBaseController::TKitBaseController(QObject* owner) : TKitCustomComponent(owner) {}

TKitBaseController::~TKitBaseController() {
    while (!links_.empty()) UnRegisterChanges(links_.back());
}

void TKitBaseController::RegisterChanges(TKitChangeLink* link) {
    if (!link || link->sender_ == this) return;
    if (link->sender_) link->sender_->UnRegisterChanges(link);
    link->sender_ = this;
    links_.push_back(link);
}

void TKitBaseController::UnRegisterChanges(TKitChangeLink* link) {
    const auto it = std::find(links_.begin(), links_.end(), link);
    if (it == links_.end()) return;
    (*it)->sender_ = nullptr;
    links_.erase(it);
}

void TKitBaseController::Changed() {
    if (Updating() || Loading) return;
    if (OnChanged) OnChanged(this);
    // A client may detach while told: walk a copy, skipping links gone meanwhile.
    const std::vector<TKitChangeLink*> links = links_;
    for (TKitChangeLink* link : links)
        if (std::find(links_.begin(), links_.end(), link) != links_.end()) link->Change();
}

// ---- Items --------------------------------------------------------------------------------

void TKitListItem::ToRecord(TKitItemRecord& record) const {
    record.Compressed = Compressed;
    record.HasDescription = !Description.isEmpty();
    record.Description = Description.toStdString();
    record.HasIdent = Ident != 0;
    record.Ident = Ident;
}

bool TKitListItem::FromRecord(const TKitItemRecord& record) {
    Compressed = record.Compressed;
    Description = QString::fromStdString(record.Description);
    Ident = record.Ident;
    return true;
}

void TKitListItem::AssignItem(const TKitListItem& source) {
    Description = source.Description;
    Ident = source.Ident;
    Compressed = source.Compressed;
}

uint8_t TKitListItem::Flags() const {
    TKitItemRecord record;
    ToRecord(record);
    return ItemFlags(record);
}

std::string TKitListItem::Internal(TKitListKind kind) const {
    TKitItemRecord record;
    ToRecord(record);
    std::string out;
    WriteItemRecord(out, kind, record);
    return out;
}

bool TKitListItem::ReadInternal(std::string_view bytes, TKitListKind kind) {
    TKitReader in(bytes);
    TKitItemRecord record;
    if (!ReadItemRecord(in, kind, record)) return false;
    if (FromRecord(record)) return true;
    Clear();
    return false;
}

void TKitListItem::Changed() {
    TKitCustomComponent::Changed();
    if (Container && !Updating() && Container->OnChanged) Container->OnChanged(this);
}

// ---- Containers ---------------------------------------------------------------------------

TKitCustomContainer::TKitCustomContainer(TKitListKind kind, QObject* owner)
    : TKitBaseController(owner), kind_(kind) {}

TKitCustomContainer::~TKitCustomContainer() = default;

TKitListItem* TKitCustomContainer::Item(int index) const {
    return index >= 0 && index < Count() ? items_[static_cast<size_t>(index)].get() : nullptr;
}

int TKitCustomContainer::Add(std::unique_ptr<TKitListItem> item) {
    if (!item) item = NewItem();
    item->Container = this;
    items_.push_back(std::move(item));
    Changed();
    return Count() - 1;
}

void TKitCustomContainer::Clear() {
    items_.clear();
    Changed();
}

void TKitCustomContainer::Assign(const TKitCustomContainer& source) {
    if (&source == this || source.Kind() != kind_) return;
    LockUpdates();
    Clear();
    DefaultCompressed = source.DefaultCompressed;
    for (int i = 0; i < source.Count(); ++i) {
        std::unique_ptr<TKitListItem> item = NewItem();
        item->AssignItem(*source.Item(i));
        Add(std::move(item));
    }
    UnlockUpdates(true);
}

std::string TKitCustomContainer::Bytes(bool withIndex, size_t base) const {
    std::vector<TKitItemRecord> records(items_.size());
    for (size_t i = 0; i < items_.size(); ++i) items_[i]->ToRecord(records[i]);
    return ContainerBytes(kind_, records, withIndex, base);
}

bool TKitCustomContainer::ReplaceFromRecords(const std::vector<TKitItemRecord>& records) {
    std::vector<std::unique_ptr<TKitListItem>> items;
    for (const TKitItemRecord& record : records) {
        std::unique_ptr<TKitListItem> item = NewItem();
        if (!item->FromRecord(record)) return false;
        item->Container = this;
        items.push_back(std::move(item));
    }
    items_ = std::move(items);
    Changed();
    return true;
}

bool TKitCustomContainer::ReadBytes(std::string_view bytes, bool withIndex) {
    TKitReader in(bytes);
    std::vector<TKitItemRecord> records;
    return ReadContainer(in, kind_, withIndex, records) && ReplaceFromRecords(records);
}

void TKitCustomContainer::LoadFromFile(const QString& path) {
    std::vector<TKitItemRecord> records;
    if (!ReadLibraryFile(ReadWholeFile(path), kind_, records) || !ReplaceFromRecords(records))
        throw EKitError("Cannot open file " + path.toStdString(), TKitErrorKind::FileOpen);
}

bool TKitCustomContainer::SaveToFile(const QString& path, std::string* error) const {
    std::vector<TKitItemRecord> records(items_.size());
    for (size_t i = 0; i < items_.size(); ++i) items_[i]->ToRecord(records[i]);
    return SafeWriteFile(path.toStdString(), LibraryFileBytes(kind_, records), error);
}

std::unique_ptr<TKitListItem> TKitCustomContainer::LibraryItem(const QString& path, size_t n) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return nullptr;
    const QByteArray bytes = file.readAll();
    TKitLibraryIndex index;
    TKitItemRecord record;
    if (!DetectLibraryFile(View(bytes), index) || index.Signature != kind_ ||
        !ReadLibraryItem(View(bytes), index, n, kind_, record))
        return nullptr;
    std::unique_ptr<TKitListItem> item = NewItem();
    if (!item->FromRecord(record)) return nullptr;
    return item;
}

QString TKitCustomContainer::LibraryPath() const {
    return PrefixedFileName(Prefix, FileName);
}

// ---- Image lists --------------------------------------------------------------------------

void TKitImageListItem::SetWidth(int value) {
    if (value <= 0 || value == width_) return;
    width_ = value;
    Clear();
}

void TKitImageListItem::SetHeight(int value) {
    if (value <= 0 || value == height_) return;
    height_ = value;
    Clear();
}

void TKitImageListItem::Clear() {
    frames_.clear();
    usedWidth_ = 0;
    strip_ = QImage();
    mask_ = QImage();
}

void TKitImageListItem::AddStrip(const QImage& strip, const QImage& mask) {
    if (strip.isNull() || strip.height() != height_ || strip.width() % width_ != 0 ||
        (!mask.isNull() && mask.size() != strip.size()))
        throw EKitError("Invalid image size", TKitErrorKind::InvalidOperation);
    const int frames = strip.width() / width_;
    const int64_t newWidth = int64_t{frames} * width_ + usedWidth_;
    if (newWidth > kKitMaxStripWidth) throw EKitError("Too many images", TKitErrorKind::InvalidOperation);
    QImage image = strip.convertToFormat(QImage::Format_RGB32);
    QImage frameMask;
    if (!mask.isNull()) {
        frameMask = mask.convertToFormat(QImage::Format_RGB32);
    } else if (Masked) {
        // Each frame keyed on its own bottom-left colour.
        frameMask = QImage(image.size(), QImage::Format_RGB32);
        QPainter painter(&frameMask);
        for (int f = 0; f < frames; ++f) {
            const QRect r(f * width_, 0, width_, height_);
            QImage part, partMask;
            MakeTransparentMask(image, r, &part, BitmapTransparentColor(image.copy(r)), &partMask);
            painter.drawImage(r.topLeft(), partMask);
        }
    }
    QImage grown(static_cast<int>(newWidth), height_, QImage::Format_RGB32);
    grown.fill(Qt::black);
    QImage grownMask;
    {
        QPainter painter(&grown);
        if (!strip_.isNull()) painter.drawImage(0, 0, strip_, 0, 0, usedWidth_, height_);
        painter.drawImage(usedWidth_, 0, image);
    }
    if (Masked || !mask_.isNull() || !frameMask.isNull()) {
        grownMask = QImage(grown.size(), QImage::Format_RGB32);
        grownMask.fill(Qt::black);
        QPainter painter(&grownMask);
        if (!mask_.isNull()) painter.drawImage(0, 0, mask_, 0, 0, usedWidth_, height_);
        if (!frameMask.isNull()) painter.drawImage(usedWidth_, 0, frameMask);
    }
    for (int f = 0; f < frames; ++f)
        frames_.push_back({static_cast<uint16_t>(usedWidth_ + f * width_), !frameMask.isNull()});
    usedWidth_ = static_cast<int>(newWidth);
    strip_ = grown;
    mask_ = grownMask;
    Changed();
}

void TKitImageListItem::AddFrames(const TKitImageListItem& other) {
    if (other.width_ != width_ || other.height_ != height_)
        throw EKitError("Invalid image size", TKitErrorKind::InvalidOperation);
    if (other.frames_.empty()) return;
    const QRect used(0, 0, other.usedWidth_, other.height_);
    AddStrip(other.strip_.copy(used), other.mask_.isNull() ? QImage() : other.mask_.copy(used));
}

QRect TKitImageListItem::FrameBounds(int n) const {
    if (n < 0 || n >= FrameCount()) return {};
    return QRect(frames_[static_cast<size_t>(n)].X, 0, width_, height_);
}

QImage TKitImageListItem::Frame(int n) const {
    const QRect r = FrameBounds(n);
    return r.isNull() ? QImage() : strip_.copy(r);
}

uint32_t TKitImageListItem::TransparentColor(int n) const {
    const QRect r = FrameBounds(n);
    if (r.isNull()) return 0xFFFFFF;
    return KitColorValue(QColor::fromRgb(strip_.pixel(r.left(), r.bottom())));
}

void TKitImageListItem::DrawFrame(QImage& canvas, const QPoint& at, int n) const {
    const QRect r = FrameBounds(n);
    if (r.isNull()) return;
    const QRect dest(at, r.size());
    const bool masked = frames_[static_cast<size_t>(n)].Masked && !mask_.isNull() && ImageType != 1;
    if (!masked) {
        QPainter painter(&canvas);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(at, strip_, r);
        return;
    }
    const bool throughBitmap = DrawingStyle == 0 || DrawingStyle == 1 || (DrawingStyle == 2 && BkColor != kKitColorNone);
    // The strip keeps the frame's own colours: black them out where the mask is white, as
    // the OR of a masked copy needs.
    const QImage mask = mask_.copy(r);
    QImage image = strip_.copy(r);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (mask.pixel(x, y) == kWhiteMask) image.setPixel(x, y, 0xFF000000u);
    if (!throughBitmap) {
        BlitMasked(canvas, dest, mask, image);
        return;
    }
    QImage temp = canvas.copy(dest).convertToFormat(QImage::Format_RGB32);
    if (BkColor != kKitColorNone) temp.fill(KitColor(BkColor));
    BlitMasked(temp, temp.rect(), mask, image);
    if ((DrawingStyle == 0 || DrawingStyle == 1) && BlendColor != kKitColorNone) {
        const QRgb blend = KitColor(BlendColor).rgb();
        for (int y = 0; y < temp.height(); ++y)
            for (int x = 0; x < temp.width(); ++x) {
                const bool dot = DrawingStyle == 1 ? (x % 2) != (y % 2) : (x % 2 == 0 || y % 2 == 0);
                if (dot) temp.setPixel(x, y, blend);
            }
    }
    QPainter painter(&canvas);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(at, temp);
}

void TKitImageListItem::ToRecord(TKitItemRecord& record) const {
    TKitListItem::ToRecord(record);
    record.Width = width_;
    record.Height = height_;
    record.AllocBy = AllocBy;
    // An item without frames has no mask strip yet, but keeps its flag.
    record.Masked = !mask_.isNull() || (Masked && frames_.empty());
    record.FrameCount = FrameCount();
    record.PixelFormat = PixelFormat;
    if (!frames_.empty()) {
        const QRect used(0, 0, usedWidth_, height_);
        record.Strip = BitmapFile(strip_.copy(used), PixelFormat);
        if (record.Masked) record.Mask = BitmapFile(mask_.copy(used), spfMono);
    }
}

bool TKitImageListItem::FromRecord(const TKitItemRecord& record) {
    TKitListItem::FromRecord(record);
    Clear();
    width_ = record.Width;
    height_ = record.Height;
    AllocBy = record.AllocBy;
    PixelFormat = record.PixelFormat;
    Masked = record.Masked;
    if (record.FrameCount == 0) return true;
    const QImage strip = DecodeBitmap(record.Strip);
    const int used = record.FrameCount * record.Width;
    if (strip.width() < used || strip.height() != record.Height) return false;
    QImage mask;
    if (record.Masked) {
        mask = DecodeBitmap(record.Mask);
        if (mask.width() < used || mask.height() != record.Height) return false;
        mask = mask.copy(0, 0, used, record.Height);
    }
    try {
        AddStrip(strip.copy(0, 0, used, record.Height), mask);
    } catch (const EKitError&) {
        Clear();
        return false;
    }
    return true;
}

void TKitImageListItem::AssignItem(const TKitListItem& source) {
    TKitListItem::AssignItem(source);
    if (const auto* other = qobject_cast<const TKitImageListItem*>(&source)) {
        Clear();
        width_ = other->width_;
        height_ = other->height_;
        AllocBy = other->AllocBy;
        BkColor = other->BkColor;
        BlendColor = other->BlendColor;
        DrawingStyle = other->DrawingStyle;
        ImageType = other->ImageType;
        Masked = other->Masked;
        PixelFormat = other->PixelFormat;
        strip_ = other->strip_;
        mask_ = other->mask_;
        frames_ = other->frames_;
        usedWidth_ = other->usedWidth_;
    }
}

TKitImageList::TKitImageList(QObject* owner) : TKitCustomContainer(lkImageList, owner) {
    RegisterItemClass<TKitImageListItem>("TKitImageListItem");
}

uint32_t TKitImageList::TransparentColor(int item, int frame) const {
    const TKitImageListItem* i = ImageItem(item);
    return i ? i->TransparentColor(frame) : 0xFFFFFF;
}

std::unique_ptr<TKitListItem> TKitImageList::NewItem() {
    auto item = std::make_unique<TKitImageListItem>();
    item->PixelFormat = DefaultPixelFormat;
    item->Compressed = DefaultCompressed;
    return item;
}

void TKitImageList::Assign(const TKitCustomContainer& source) {
    if (const auto* other = qobject_cast<const TKitImageList*>(&source)) DefaultPixelFormat = other->DefaultPixelFormat;
    TKitCustomContainer::Assign(source);
}

// ---- Bitmap lists -------------------------------------------------------------------------

QImage TKitBitmapListItem::FetchBitmap() const {
    if (!Bitmap.isNull() || !Container) return Bitmap;
    switch (Container->Source) {
    case 1: {
        // Ident is the item's number in the library file.
        const std::unique_ptr<TKitListItem> item = Container->LibraryItem(Container->LibraryPath(), Ident);
        const auto* bitmap = qobject_cast<const TKitBitmapListItem*>(item.get());
        return bitmap ? bitmap->Bitmap : QImage();
    }
    case 2: return QImage(QStringLiteral(":/bitmaps/%1").arg(Ident));
    case 4: {
        const QString name = QFileInfo(Container->FileName).fileName().left(3) + QString::number(Ident) +
                             QStringLiteral(".bmp");
        const QString folder = Container->Prefix == ppFixed ? QFileInfo(Container->FileName).path() + QLatin1Char('/')
                                                            : PathPrefix(Container->Prefix, true);
        return QImage(folder + name, "BMP");
    }
    default: return {};
    }
}

void TKitBitmapListItem::ToRecord(TKitItemRecord& record) const {
    TKitListItem::ToRecord(record);
    record.PixelFormat = PixelFormat;
    record.HasData = !Bitmap.isNull();
    if (record.HasData) record.Data = BitmapFile(Bitmap, PixelFormat);
}

bool TKitBitmapListItem::FromRecord(const TKitItemRecord& record) {
    TKitListItem::FromRecord(record);
    PixelFormat = record.PixelFormat;
    Bitmap = record.HasData ? DecodeBitmap(record.Data) : QImage();
    return !record.HasData || !Bitmap.isNull();
}

void TKitBitmapListItem::AssignItem(const TKitListItem& source) {
    TKitListItem::AssignItem(source);
    if (const auto* other = qobject_cast<const TKitBitmapListItem*>(&source)) {
        Bitmap = other->Bitmap;
        PixelFormat = other->PixelFormat;
    }
}

TKitBitmapList::TKitBitmapList(QObject* owner) : TKitCustomContainer(lkBitmapList, owner) {
    RegisterItemClass<TKitBitmapListItem>("TKitBitmapListItem");
}

uint32_t TKitBitmapList::TransparentColor(int index) const {
    const TKitBitmapListItem* item = BitmapItem(index);
    return item ? BitmapTransparentColor(item->Bitmap) : 0xFFFFFF;
}

void TKitBitmapList::Draw(int index, QImage& target, const QRect& rect, uint32_t colour, int inset,
                          uint32_t flags) const {
    if (const TKitBitmapListItem* item = BitmapItem(index)) DrawBitmap(target, rect, item->FetchBitmap(), colour, inset, flags);
}

std::unique_ptr<TKitListItem> TKitBitmapList::NewItem() {
    auto item = std::make_unique<TKitBitmapListItem>();
    item->Compressed = DefaultCompressed;
    return item;
}

// ---- Wave and string lists ----------------------------------------------------------------

void TKitWaveListItem::ToRecord(TKitItemRecord& record) const {
    TKitListItem::ToRecord(record);
    record.HasData = !Wave.Empty();
    if (record.HasData) record.Data = std::string(View(Wave.Data()));
}

bool TKitWaveListItem::FromRecord(const TKitItemRecord& record) {
    TKitListItem::FromRecord(record);
    Wave.SetData(record.HasData ? ToBytes(record.Data) : QByteArray());
    return true;
}

void TKitWaveListItem::AssignItem(const TKitListItem& source) {
    TKitListItem::AssignItem(source);
    if (const auto* other = qobject_cast<const TKitWaveListItem*>(&source)) Wave.Assign(&other->Wave);
}

TKitWaveList::TKitWaveList(QObject* owner) : TKitCustomContainer(lkWaveList, owner) {
    RegisterItemClass<TKitWaveListItem>("TKitWaveListItem");
}

std::unique_ptr<TKitListItem> TKitWaveList::NewItem() {
    auto item = std::make_unique<TKitWaveListItem>();
    item->Compressed = DefaultCompressed;
    return item;
}

void TKitStringListItem::ToRecord(TKitItemRecord& record) const {
    TKitListItem::ToRecord(record);
    record.HasData = !Lines.empty();
    if (record.HasData) record.Data = TextListText(Lines);
}

bool TKitStringListItem::FromRecord(const TKitItemRecord& record) {
    TKitListItem::FromRecord(record);
    Lines = record.HasData ? TextListLines(record.Data) : std::vector<std::string>();
    return true;
}

void TKitStringListItem::AssignItem(const TKitListItem& source) {
    TKitListItem::AssignItem(source);
    if (const auto* other = qobject_cast<const TKitStringListItem*>(&source)) Lines = other->Lines;
}

TKitStringList::TKitStringList(QObject* owner) : TKitCustomContainer(lkStringList, owner) {
    RegisterItemClass<TKitStringListItem>("TKitStringListItem");
}

std::unique_ptr<TKitListItem> TKitStringList::NewItem() {
    auto item = std::make_unique<TKitStringListItem>();
    item->Compressed = DefaultCompressed;
    return item;
}

// ---- The container of one list of each kind -----------------------------------------------

TKitContainer::TKitContainer(QObject* owner)
    : TKitBaseController(owner), bitmapList_(std::make_unique<TKitBitmapList>()),
      imageList_(std::make_unique<TKitImageList>()), stringList_(std::make_unique<TKitStringList>()),
      waveList_(std::make_unique<TKitWaveList>()) {
    // A link joins one controller: one link per list, each telling the container.
    TKitBaseController* lists[] = {bitmapList_.get(), imageList_.get(), stringList_.get(), waveList_.get()};
    for (size_t i = 0; i < links_.size(); ++i) {
        links_[i].OnChange = [this](QObject*) { Changed(); };
        lists[i]->RegisterChanges(&links_[i]);
    }
}

TKitContainer::~TKitContainer() = default;

} // namespace quorlet
