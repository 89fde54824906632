#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

#include "core/FData.h"
#include "kit/KitGraphics.h"
#include "kit/KitLists.h"
#include "kit/KitTrayIcon.h"
#include "kit/engine/kiterror.h"

namespace quorlet {
namespace {

constexpr QRgb kRed = 0xFFFF0000, kBlue = 0xFF0000FF, kWhite = 0xFFFFFFFF, kGreen = 0xFF00FF00;

// Frames of 4 x 4: frame f is filled with colours[f], its bottom-left pixel white.
QImage Strip(std::initializer_list<QRgb> colours) {
    QImage strip(int(colours.size()) * 4, 4, QImage::Format_RGB32);
    int f = 0;
    for (QRgb c : colours) {
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x) strip.setPixel(f * 4 + x, y, c);
        strip.setPixel(f * 4, 3, kWhite);
        ++f;
    }
    return strip;
}

TEST(KitChangeLinks, ControllersTellEveryLinkAndLinksDetachThemselves) {
    auto controller = std::make_unique<TKitBaseController>();
    std::vector<int> told;
    TKitChangeLink first;
    first.OnChange = [&](QObject* sender) {
        EXPECT_EQ(sender, controller.get());
        told.push_back(1);
    };
    auto second = std::make_unique<TKitChangeLink>();
    second->OnChange = [&](QObject*) { told.push_back(2); };
    controller->OnChanged = [&](QObject*) { told.push_back(0); };
    controller->RegisterChanges(&first);
    controller->RegisterChanges(second.get());
    EXPECT_EQ(first.Sender(), controller.get());
    controller->Changed();
    EXPECT_EQ(told, (std::vector<int>{0, 1, 2}));
    second.reset();
    EXPECT_EQ(controller->LinkCount(), 1);
    told.clear();
    controller->LockUpdates();
    controller->Changed();
    EXPECT_TRUE(told.empty());
    controller->UnlockUpdates(true);
    EXPECT_EQ(told, (std::vector<int>{0, 1}));
    controller.reset();
    EXPECT_EQ(first.Sender(), nullptr);
}

TEST(KitImageList, FramesMasksAndTheirLimits) {
    TKitImageListItem item;
    item.SetWidth(4);
    item.SetHeight(4);
    item.Masked = true;
    item.AddStrip(Strip({kRed, kBlue}));
    ASSERT_EQ(item.FrameCount(), 2);
    EXPECT_EQ(item.FrameBounds(1), QRect(4, 0, 4, 4));
    EXPECT_EQ(item.TransparentColor(0), 0xFFFFFFu);
    EXPECT_EQ(item.TransparentColor(5), 0xFFFFFFu);

    TKitImageListItem other;
    other.SetWidth(4);
    other.SetHeight(4);
    other.AddStrip(Strip({kGreen}));
    item.AddFrames(other);
    EXPECT_EQ(item.FrameCount(), 3);
    EXPECT_EQ(item.UsedWidth(), 12);

    TKitImageListItem wrongSize;
    wrongSize.SetWidth(8);
    try {
        item.AddFrames(wrongSize);
        FAIL();
    } catch (const EKitError& e) {
        EXPECT_STREQ(e.what(), "Invalid image size");
    }
    TKitImageListItem wide;
    wide.SetWidth(4);
    wide.SetHeight(4);
    try {
        wide.AddStrip(QImage(32772, 4, QImage::Format_RGB32));
        FAIL();
    } catch (const EKitError& e) {
        EXPECT_STREQ(e.what(), "Too many images");
    }
    // A new frame size clears the frames.
    wide.AddStrip(Strip({kRed}));
    wide.SetWidth(5);
    EXPECT_EQ(wide.FrameCount(), 0);
    wide.SetWidth(-3);
    EXPECT_EQ(wide.Width(), 5);
}

TEST(KitImageList, DrawingStylesOverTheMask) {
    TKitImageListItem item;
    item.SetWidth(4);
    item.SetHeight(4);
    item.Masked = true;
    item.AddStrip(Strip({kRed}));
    struct Case {
        int style;
        uint32_t bk, blend;
        QRgb transparent; // the frame's white corner (3 down) shows
        QRgb at00, at11;
    };
    const Case cases[] = {
        {3, kKitColorNone, kKitColorNone, kGreen, kRed, kRed},
        {2, kKitColorNone, kKitColorNone, kGreen, kRed, kRed},
        {2, 0x00FFFF /* yellow */, kKitColorNone, 0xFFFFFF00, kRed, kRed},
        {1, kKitColorNone, 0xFF0000 /* blue */, kBlue, kRed, kRed},   // (0,3) differs in parity
        {0, kKitColorNone, 0xFF0000, kBlue, kBlue, kRed},             // even column or row
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.style);
        item.DrawingStyle = c.style;
        item.BkColor = c.bk;
        item.BlendColor = c.blend;
        QImage canvas(8, 8, QImage::Format_RGB32);
        canvas.fill(kGreen);
        item.DrawFrame(canvas, QPoint(2, 2), 0);
        EXPECT_EQ(canvas.pixel(2, 5), c.transparent);
        EXPECT_EQ(canvas.pixel(2, 2), c.at00);
        EXPECT_EQ(canvas.pixel(3, 3), c.at11);
        EXPECT_EQ(canvas.pixel(7, 7), kGreen);
    }
    EXPECT_EQ(QColor(KitColor(0xFF0000)).rgb(), kBlue);
}

TEST(KitImageList, TheTrayAnimatesOverItsFramesAsIcons) {
    TKitImageList images;
    auto image = std::make_unique<TKitImageListItem>();
    image->SetWidth(4);
    image->SetHeight(4);
    image->AddStrip(Strip({kRed, kWhite, kBlue}));
    images.Add(std::move(image));
    TKitImageListFrames frames(&images);
    EXPECT_EQ(frames.ItemCount(), 1);
    EXPECT_EQ(frames.FrameCount(0), 3);
    EXPECT_EQ(frames.FrameCount(1), 0);
    EXPECT_TRUE(frames.Frame(0, 3).isNull());
    // White is the transparent colour of an icon made from a frame.
    const QImage white = frames.Frame(0, 1).pixmap(4, 4).toImage().convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(qAlpha(white.pixel(1, 1)), 0);
    const QImage red = frames.Frame(0, 0).pixmap(4, 4).toImage().convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(red.pixel(1, 1), kRed);
    QWidget owner;
    TKitTrayIcon icon(&owner);
    icon.SetImageList(&frames);
    for (int expected : {1, 2, 0}) {
        icon.AnimateStep();
        EXPECT_EQ(icon.FrameIndex(), expected);
    }
}

TEST(KitContainers, EveryKindRoundTripsThroughALibraryFile) {
    QTemporaryDir dir;
    TKitImageList images;
    auto image = std::make_unique<TKitImageListItem>();
    image->SetWidth(4);
    image->SetHeight(4);
    image->Masked = true;
    image->Description = "faces";
    image->AddStrip(Strip({kRed, kBlue}));
    images.Add(std::move(image));
    TKitBitmapList bitmaps;
    bitmaps.DefaultCompressed = true;
    const int b = bitmaps.Add();
    bitmaps.BitmapItem(b)->Bitmap = Strip({kBlue});
    bitmaps.BitmapItem(b)->Ident = 0x345;
    TKitStringList strings;
    auto text = std::make_unique<TKitStringListItem>();
    text->Lines = {"one", "two"};
    strings.Add(std::move(text));
    TKitWaveList waves;
    waves.Add();
    // An item without frames keeps its mask flag through the file.
    auto empty = std::make_unique<TKitImageListItem>();
    empty->Masked = true;
    images.Add(std::move(empty));

    const std::pair<TKitCustomContainer*, const char*> lists[] = {
        {&images, "a.iml"}, {&bitmaps, "b.bml"}, {&strings, "c.txt"}, {&waves, "d.wvl"}};
    for (const auto& [list, name] : lists) {
        const QString path = dir.filePath(name);
        ASSERT_TRUE(list->SaveToFile(path)) << name;
        std::unique_ptr<TKitCustomContainer> back;
        switch (list->Kind()) {
        case lkImageList: back = std::make_unique<TKitImageList>(); break;
        case lkBitmapList: back = std::make_unique<TKitBitmapList>(); break;
        case lkStringList: back = std::make_unique<TKitStringList>(); break;
        case lkWaveList: back = std::make_unique<TKitWaveList>(); break;
        }
        back->LoadFromFile(path);
        ASSERT_EQ(back->Count(), list->Count()) << name;
        EXPECT_EQ(back->Bytes(true), list->Bytes(true)) << name;
    }
    TKitImageList imagesBack;
    imagesBack.LoadFromFile(dir.filePath("a.iml"));
    EXPECT_EQ(imagesBack.ImageItem(0)->Description, "faces");
    EXPECT_EQ(imagesBack.ImageItem(0)->Frame(1), images.ImageItem(0)->Frame(1));
    EXPECT_EQ(imagesBack.ImageItem(0)->MaskStrip(), images.ImageItem(0)->MaskStrip());
    EXPECT_TRUE(imagesBack.ImageItem(1)->Masked);

    // The wrong kind, a missing file and a corrupt one all name the file.
    TKitWaveList wrong;
    const QString wrongPath = dir.filePath("a.iml");
    for (const QString& path : {wrongPath, dir.filePath("missing.wvl")}) {
        try {
            wrong.LoadFromFile(path);
            FAIL();
        } catch (const EKitError& e) {
            EXPECT_EQ(std::string(e.what()), "Cannot open file " + path.toStdString());
        }
    }
    // One item straight from the library by its position.
    auto one = bitmaps.LibraryItem(dir.filePath("b.bml"), 0);
    ASSERT_NE(one, nullptr);
    EXPECT_EQ(one->Ident, 0x345);
    EXPECT_EQ(bitmaps.LibraryItem(dir.filePath("b.bml"), 1), nullptr);
}

TEST(KitContainers, AssignCopiesItemsAndNotifiesOnce) {
    TKitStringList source;
    source.DefaultCompressed = true;
    for (const char* line : {"x", "y"}) {
        auto item = std::make_unique<TKitStringListItem>();
        item->Lines = {line};
        source.Add(std::move(item));
    }
    TKitStringList copy;
    copy.Add();
    int changes = 0;
    copy.OnChanged = [&](QObject*) { ++changes; };
    copy.Assign(source);
    EXPECT_EQ(changes, 1);
    ASSERT_EQ(copy.Count(), 2);
    EXPECT_TRUE(copy.DefaultCompressed);
    EXPECT_EQ(static_cast<TKitStringListItem*>(copy.Item(1))->Lines, std::vector<std::string>{"y"});
    // An item's change reaches its container's OnChanged with the item as sender.
    QObject* sender = nullptr;
    copy.OnChanged = [&](QObject* s) { sender = s; };
    copy.Item(0)->Changed();
    EXPECT_EQ(sender, copy.Item(0));
    EXPECT_TRUE(KitItemClasses.count("TKitStringListItem"));
}

TEST(KitContainers, BitmapSourcesAndTheGlobalContainer) {
    QTemporaryDir dir;
    // Source 1 takes the library's item by its number, whatever identifiers the items carry.
    TKitBitmapList library;
    for (const QRgb colour : {kRed, kGreen, kBlue}) {
        const int i = library.Add();
        library.BitmapItem(i)->Bitmap = Strip({colour});
        library.BitmapItem(i)->Ident = static_cast<uint16_t>(7 + i);
    }
    ASSERT_TRUE(library.SaveToFile(dir.filePath("pics.bml")));
    QImage single = Strip({kWhite});
    ASSERT_TRUE(single.save(dir.filePath("pic2.bmp"), "BMP"));

    TKitBitmapList list;
    const int n = list.Add();
    TKitBitmapListItem* item = list.BitmapItem(n);
    list.FileName = dir.filePath("pics.bml");
    list.Prefix = ppFixed;
    list.Source = 1;
    for (const auto& [ident, colour] : {std::pair{0, kRed}, {1, kGreen}, {2, kBlue}}) {
        item->Ident = static_cast<uint16_t>(ident);
        EXPECT_EQ(item->FetchBitmap().pixel(1, 1), colour) << ident;
    }
    item->Ident = 3;
    EXPECT_TRUE(item->FetchBitmap().isNull());
    item->Ident = 2;
    list.Source = 4;
    EXPECT_EQ(item->FetchBitmap().pixel(1, 1), kWhite);
    list.Source = 3;
    EXPECT_TRUE(item->FetchBitmap().isNull());
    list.Source = 2;
    EXPECT_TRUE(item->FetchBitmap().isNull());
    EXPECT_EQ(list.TransparentColor(n), kKitColorNone); // its own bitmap is empty
    EXPECT_EQ(list.TransparentColor(9), 0xFFFFFFu);

    TKitContainer container;
    int changes = 0;
    container.OnChanged = [&](QObject*) { ++changes; };
    container.WaveList()->Add();
    container.ImageList()->Add();
    EXPECT_EQ(changes, 2);
}

} // namespace
} // namespace quorlet
