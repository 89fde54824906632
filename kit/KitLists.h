// The kit's list components: change links and their controllers, list items and containers
// of images (frame strips with masks), bitmaps, waves and text lists, streamed in the forms
// of kit/engine/kitlists.h and kept in library files of their own.
#pragma once

#include <QImage>
#include <QString>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "kit/KitCustomComponent.h"
#include "kit/KitStreams.h"
#include "kit/KitSysUtils.h"
#include "kit/engine/kitlists.h"

namespace quorlet {

class TKitBaseController;
class TKitCustomContainer;

// Joins a client to a controller's changes; detaches itself when destroyed.
class TKitChangeLink {
  public:
    TKitChangeLink() = default;
    virtual ~TKitChangeLink();
    TKitChangeLink(const TKitChangeLink&) = delete;
    TKitChangeLink& operator=(const TKitChangeLink&) = delete;

    TKitBaseController* Sender() const { return sender_; }
    TNotifyEvent OnChange;
    virtual void Change();

  private:
    friend class TKitBaseController;
    TKitBaseController* sender_ = nullptr;
};

class TKitBaseController : public TKitCustomComponent {
    Q_OBJECT

  public:
    explicit TKitBaseController(QObject* owner = nullptr);
    // Detaches every link, from the last.
    ~TKitBaseController() override;

    void RegisterChanges(TKitChangeLink* link);
    void UnRegisterChanges(TKitChangeLink* link);
    int LinkCount() const { return static_cast<int>(links_.size()); }
    // Not while updating or loading: OnChanged, then every link in order.
    void Changed() override;
    bool Loading = false;

  private:
    std::vector<TKitChangeLink*> links_;
};

class TKitListItem : public TKitCustomComponent {
    Q_OBJECT

  public:
    explicit TKitListItem(QObject* owner = nullptr) : TKitCustomComponent(owner) {}

    QString Description;
    uint16_t Ident = 0;
    bool Compressed = false;
    TKitCustomContainer* Container = nullptr;

    virtual void Clear() = 0;
    virtual bool IsEmpty() const = 0;
    virtual void ToRecord(TKitItemRecord& record) const;
    // False when the record's data cannot be taken (the item is then left empty).
    virtual bool FromRecord(const TKitItemRecord& record);
    virtual void AssignItem(const TKitListItem& source);
    uint8_t Flags() const;
    // The form property "Internal": the item's record.
    std::string Internal(TKitListKind kind) const;
    bool ReadInternal(std::string_view bytes, TKitListKind kind);
    // Also tells the container's OnChanged, with the item as sender.
    void Changed() override;
};

class TKitCustomContainer : public TKitBaseController {
    Q_OBJECT

  public:
    TKitCustomContainer(TKitListKind kind, QObject* owner);
    ~TKitCustomContainer() override;

    TKitListKind Kind() const { return kind_; }
    bool DefaultCompressed = false;
    // Where bitmaps come from: 0 own, 1 library file, 2 resource, 3 module, 4 single files.
    int Source = 0;
    QString FileName;
    TKitPathPrefix Prefix = ppProgram;

    int Count() const { return static_cast<int>(items_.size()); }
    bool IsEmpty() const { return items_.empty(); }
    TKitListItem* Item(int index) const;
    // The given item, or a new one of the list's item class; returns its index.
    int Add(std::unique_ptr<TKitListItem> item = nullptr);
    void Clear();
    // From a container of the same kind (others are ignored).
    virtual void Assign(const TKitCustomContainer& source);
    virtual std::unique_ptr<TKitListItem> NewItem() = 0;

    std::string Bytes(bool withIndex, size_t base = 0) const;
    // Replaces the items; false (list unchanged) for bytes that do not read.
    bool ReadBytes(std::string_view bytes, bool withIndex);
    // Library files: raise "Cannot open file <name>" for a file that is not of this kind.
    void LoadFromFile(const QString& path);
    bool SaveToFile(const QString& path, std::string* error = nullptr) const;
    // Item n of a library file (null when the file has no such item or is not of this kind).
    std::unique_ptr<TKitListItem> LibraryItem(const QString& path, size_t n);
    // The library file of Source 1: the prefix folder and FileName.
    QString LibraryPath() const;

  protected:
    bool ReplaceFromRecords(const std::vector<TKitItemRecord>& records);

  private:
    TKitListKind kind_;
    std::vector<std::unique_ptr<TKitListItem>> items_;
};

// ---- Image lists --------------------------------------------------------------------------

class TKitImageListItem : public TKitListItem {
    Q_OBJECT

  public:
    struct TFrame {
        uint16_t X = 0;
        bool Masked = false;
    };

    explicit TKitImageListItem(QObject* owner = nullptr) : TKitListItem(owner) {}

    int Width() const { return width_; }
    int Height() const { return height_; }
    // Positive values only; a change clears the frames.
    void SetWidth(int value);
    void SetHeight(int value);
    int32_t AllocBy = 4;
    uint32_t BkColor = 0x1FFFFFFF;
    uint32_t BlendColor = 0x1FFFFFFF;
    int DrawingStyle = 2;
    int ImageType = 0;
    bool Shared = false;
    bool Masked = false;
    TKitSavePixelFormat PixelFormat = spfDefault;

    int FrameCount() const { return static_cast<int>(frames_.size()); }
    int UsedWidth() const { return usedWidth_; }
    const QImage& Strip() const { return strip_; }
    const QImage& MaskStrip() const { return mask_; }
    // Frames side by side (strip width a multiple of Width); without a mask a masked item
    // keys each frame on its bottom-left colour. Raise "Invalid image size" / "Too many images".
    void AddStrip(const QImage& strip, const QImage& mask = QImage());
    void AddFrames(const TKitImageListItem& other);
    QRect FrameBounds(int n) const;
    QImage Frame(int n) const;
    // Bottom-left pixel of frame n; white beyond the list.
    uint32_t TransparentColor(int n) const;
    void DrawFrame(QImage& canvas, const QPoint& at, int n) const;

    void Clear() override;
    bool IsEmpty() const override { return frames_.empty(); }
    void ToRecord(TKitItemRecord& record) const override;
    bool FromRecord(const TKitItemRecord& record) override;
    void AssignItem(const TKitListItem& source) override;

  private:
    int width_ = 16;
    int height_ = 16;
    int usedWidth_ = 0;
    QImage strip_;
    QImage mask_;
    std::vector<TFrame> frames_;
};

class TKitImageList : public TKitCustomContainer {
    Q_OBJECT

  public:
    explicit TKitImageList(QObject* owner = nullptr);
    TKitSavePixelFormat DefaultPixelFormat = spfDefault;
    TKitImageListItem* ImageItem(int index) const { return static_cast<TKitImageListItem*>(Item(index)); }
    uint32_t TransparentColor(int item, int frame) const;
    std::unique_ptr<TKitListItem> NewItem() override;
    void Assign(const TKitCustomContainer& source) override;
};

// ---- Bitmap, wave and string lists --------------------------------------------------------

class TKitBitmapListItem : public TKitListItem {
    Q_OBJECT

  public:
    explicit TKitBitmapListItem(QObject* owner = nullptr) : TKitListItem(owner) {}
    QImage Bitmap;
    TKitSavePixelFormat PixelFormat = spfDefault;
    // The bitmap by the container's source when the own one is empty (a null image when the
    // source has none).
    QImage FetchBitmap() const;
    void Clear() override { Bitmap = QImage(); }
    bool IsEmpty() const override { return Bitmap.isNull(); }
    void ToRecord(TKitItemRecord& record) const override;
    bool FromRecord(const TKitItemRecord& record) override;
    void AssignItem(const TKitListItem& source) override;
};

class TKitBitmapList : public TKitCustomContainer {
    Q_OBJECT

  public:
    explicit TKitBitmapList(QObject* owner = nullptr);
    TKitBitmapListItem* BitmapItem(int index) const { return static_cast<TKitBitmapListItem*>(Item(index)); }
    uint32_t TransparentColor(int index) const;
    void Draw(int index, QImage& target, const QRect& rect, uint32_t colour, int inset, uint32_t flags) const;
    std::unique_ptr<TKitListItem> NewItem() override;
};

class TKitWaveListItem : public TKitListItem {
    Q_OBJECT

  public:
    explicit TKitWaveListItem(QObject* owner = nullptr) : TKitListItem(owner) {}
    TKitWave Wave;
    void Clear() override { Wave.SetData({}); }
    bool IsEmpty() const override { return Wave.Empty(); }
    void ToRecord(TKitItemRecord& record) const override;
    bool FromRecord(const TKitItemRecord& record) override;
    void AssignItem(const TKitListItem& source) override;
};

class TKitWaveList : public TKitCustomContainer {
    Q_OBJECT

  public:
    explicit TKitWaveList(QObject* owner = nullptr);
    std::unique_ptr<TKitListItem> NewItem() override;
};

class TKitStringListItem : public TKitListItem {
    Q_OBJECT

  public:
    explicit TKitStringListItem(QObject* owner = nullptr) : TKitListItem(owner) {}
    std::vector<std::string> Lines;
    void Clear() override { Lines.clear(); }
    bool IsEmpty() const override { return Lines.empty(); }
    void ToRecord(TKitItemRecord& record) const override;
    bool FromRecord(const TKitItemRecord& record) override;
    void AssignItem(const TKitListItem& source) override;
};

class TKitStringList : public TKitCustomContainer {
    Q_OBJECT

  public:
    explicit TKitStringList(QObject* owner = nullptr);
    std::unique_ptr<TKitListItem> NewItem() override;
};

// One list of each kind, each joined to the container's change link.
class TKitContainer : public TKitBaseController {
    Q_OBJECT

  public:
    explicit TKitContainer(QObject* owner = nullptr);
    ~TKitContainer() override;

    TKitBitmapList* BitmapList() const { return bitmapList_.get(); }
    TKitImageList* ImageList() const { return imageList_.get(); }
    TKitStringList* StringList() const { return stringList_.get(); }
    TKitWaveList* WaveList() const { return waveList_.get(); }

  private:
    std::array<TKitChangeLink, 4> links_;
    std::unique_ptr<TKitBitmapList> bitmapList_;
    std::unique_ptr<TKitImageList> imageList_;
    std::unique_ptr<TKitStringList> stringList_;
    std::unique_ptr<TKitWaveList> waveList_;
};

} // namespace quorlet
