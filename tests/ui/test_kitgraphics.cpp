#include <QBuffer>
#include <QGuiApplication>
#include <QPalette>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "kit/KitGraphics.h"
#include "kit/KitStreams.h"
#include "kit/engine/kiterror.h"

namespace quorlet {
namespace {

constexpr QRgb kRed = 0xFFFF0000, kBlue = 0xFF0000FF, kGreen = 0xFF00FF00, kWhite = 0xFFFFFFFF,
               kBlack = 0xFF000000;

QImage Filled(int w, int h, QRgb colour) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// A 4 x 4 source: left half red, right half blue; the bottom-left pixel is red.
QImage Source() {
    QImage image = Filled(4, 4, kRed);
    for (int y = 0; y < 4; ++y)
        for (int x = 2; x < 4; ++x) image.setPixel(x, y, kBlue);
    return image;
}

TEST(KitGraphics, PlainCopyTilesClippedToTheTarget) {
    QImage target = Filled(20, 20, kWhite);
    QRect result;
    DrawImageRect(target, QRect(2, 2, 10, 6), Source(), &result, nullptr, nullptr, 0, kDrawTile, QRect());
    EXPECT_EQ(result, QRect(2, 2, 10, 6));
    EXPECT_EQ(target.pixel(2, 2), kRed);
    EXPECT_EQ(target.pixel(4, 2), kBlue);
    EXPECT_EQ(target.pixel(6, 7), kRed);   // second row of tiles
    EXPECT_EQ(target.pixel(11, 7), kRed);  // the third column, cut at the target's edge
    EXPECT_EQ(target.pixel(12, 2), kWhite);
    EXPECT_EQ(target.pixel(2, 8), kWhite);
}

TEST(KitGraphics, TransparentColourFlagKeysOnTheColourArgument) {
    QImage target = Filled(8, 8, kGreen);
    DrawImageRect(target, QRect(0, 0, 4, 4), Source(), nullptr, nullptr, nullptr, 0xFF0000 /* blue */,
                  kDrawTransparentColor, QRect());
    EXPECT_EQ(target.pixel(0, 0), kRed);
    EXPECT_EQ(target.pixel(3, 3), kGreen); // blue pixels let the target through
    EXPECT_EQ(target.pixel(5, 5), kGreen);
}

TEST(KitGraphics, TransparentBitmapFlagShowsTheColourWhereTheBitmapIsTransparent) {
    QImage target = Filled(8, 8, kWhite);
    const QImage source = Source();
    DrawImageRect(target, QRect(0, 0, 8, 8), source, nullptr, &source, nullptr, 0x00FF00 /* green */,
                  kDrawTransparentBitmap | kDrawStretch, QRect());
    EXPECT_EQ(target.pixel(0, 0), kGreen); // red is the bitmap's transparent colour
    EXPECT_EQ(target.pixel(7, 7), kBlue);
}

TEST(KitGraphics, MaskFlagKeepsTheTargetWhereTheMaskIsWhite) {
    QImage target = Filled(8, 8, kGreen);
    QImage mask = Filled(4, 4, kBlack);
    for (int y = 0; y < 4; ++y) mask.setPixel(0, y, kWhite);
    QImage image = Source();
    for (int y = 0; y < 4; ++y) image.setPixel(0, y, kBlack); // black where the mask is white
    DrawImageRect(target, QRect(0, 0, 4, 4), image, nullptr, &mask, nullptr, 0, kDrawMasked, QRect());
    EXPECT_EQ(target.pixel(0, 1), kGreen);
    EXPECT_EQ(target.pixel(1, 1), kRed);
    EXPECT_EQ(target.pixel(3, 1), kBlue);
    EXPECT_EQ(target.pixel(5, 1), kGreen);
}

TEST(KitGraphics, ClippedDrawingStaysInsideTheInset) {
    QImage target = Filled(10, 10, kWhite);
    DrawBitmap(target, QRect(0, 0, 10, 10), Filled(10, 10, kRed), 0, 2, kDrawClip);
    EXPECT_EQ(target.pixel(1, 1), kWhite);
    EXPECT_EQ(target.pixel(2, 2), kRed);
    EXPECT_EQ(target.pixel(7, 7), kRed);
    EXPECT_EQ(target.pixel(8, 8), kWhite);
}

TEST(KitGraphics, MasksFillsIconsAndColours) {
    QImage image, mask;
    MakeTransparentMask(Source(), QRect(1, 0, 2, 1), &image, 0xFF0000, &mask);
    ASSERT_EQ(image.size(), QSize(2, 1));
    EXPECT_EQ(mask.pixel(0, 0), kBlack);
    EXPECT_EQ(mask.pixel(1, 0), kWhite);
    EXPECT_EQ(image.pixel(0, 0), kRed);
    EXPECT_EQ(image.pixel(1, 0), kBlack);

    QImage fill;
    FillBitmap(&fill, QRect(0, 0, 3, 2), 0x0000FF);
    ASSERT_EQ(fill.size(), QSize(3, 2));
    EXPECT_EQ(fill.pixel(2, 1), kRed);
    FillBitmap(&fill, QRect(), 0);
    EXPECT_EQ(fill.size(), QSize(3, 2));

    QImage face = Filled(8, 8, kWhite);
    face.setPixel(3, 3, kBlack);
    const QIcon icon = BitmapToIcon(face, 16, 16);
    const QImage shown = icon.pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(qAlpha(shown.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(shown.pixel(6, 6)), 255);

    EXPECT_EQ(KitColor(0x0000FF).rgb(), kRed);
    EXPECT_EQ(KitColorValue(QColor(kBlue)), 0xFF0000u);
    EXPECT_EQ(KitColor(kKitColorNone).alpha(), 0);
    EXPECT_EQ(KitColor(0x80000000u | 15), QGuiApplication::palette().color(QPalette::Button));
    const std::vector<uint32_t> colours = {0x0000FF, 0x00FF00};
    EXPECT_EQ(PaletteFromColors(&colours), (QVector<QRgb>{kRed, kGreen}));
    EXPECT_TRUE(PaletteFromColors(nullptr).isEmpty());
}

// Our bitmap files must be what an independent reader (Qt's) sees.
TEST(KitBitmapFile, QtReadsEveryDepthBack) {
    QImage picture(5, 3, QImage::Format_RGB32);
    const QRgb colours[] = {kRed, kGreen, kBlue, kWhite, kBlack};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) picture.setPixel(x, y, colours[(x + y) % 5]);
    for (TKitSavePixelFormat format : {spfMono, spf4bit, spf8bit, spf16bit, spfDefault}) {
        SCOPED_TRACE(format);
        const std::string bytes = BitmapFile(picture, format);
        QImage back;
        ASSERT_TRUE(back.loadFromData(reinterpret_cast<const uchar*>(bytes.data()), int(bytes.size()), "BMP"));
        ASSERT_EQ(back.size(), picture.size());
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x) {
                const QRgb want = picture.pixel(x, y);
                const QRgb got = back.pixel(x, y);
                if (format == spfMono) // the nearest of black and white
                    EXPECT_EQ(got | 0xFF000000u, want == kWhite ? kWhite : kBlack) << x << "," << y;
                else
                    EXPECT_EQ(got | 0xFF000000u, want) << x << "," << y;
            }
        const std::string form = BitmapForm(picture, format, true);
        TKitReader in(form);
        EXPECT_EQ(ReadBitmapForm(in, true).size(), picture.size());
    }
    EXPECT_THROW(BitmapFile(QImage(), spfDefault), EKitError);
}

std::string Wave() {
    std::string b = "RIFF";
    WriteInteger(b, 40);
    b += "WAVEfmt ";
    WriteInteger(b, 16);
    b += std::string("\x01\x00\x01\x00", 4);
    WriteInteger(b, 8000);
    WriteInteger(b, 8000);
    b += std::string("\x01\x00\x08\x00", 4);
    b += "data";
    WriteInteger(b, 4);
    b += "\x80\x90\xA0\xB0";
    return b;
}

TEST(KitWave, LoadsOnlyWaveBytesAndRoundTripsItsForms) {
    const std::string wave = Wave();
    TKitWave w;
    int changes = 0;
    w.OnChanged = [&](TKitObject*) { ++changes; };
    QByteArray bytes(wave.data(), qsizetype(wave.size()));
    QBuffer device(&bytes);
    device.open(QIODevice::ReadOnly);
    ASSERT_TRUE(w.LoadFromStream(device));
    EXPECT_EQ(w.Size(), qsizetype(wave.size()));
    EXPECT_EQ(changes, 1);

    // Not a wave, or fewer bytes than asked: unchanged, no notice.
    QByteArray other("RIFF0000AVI LIST0000000000000000000000000000");
    QBuffer otherDevice(&other);
    otherDevice.open(QIODevice::ReadOnly);
    EXPECT_FALSE(w.LoadFromStream(otherDevice));
    device.seek(0);
    EXPECT_FALSE(w.LoadFromStream(device, bytes.size() + 1));
    EXPECT_EQ(w.Size(), qsizetype(wave.size()));
    EXPECT_EQ(changes, 1);

    const std::string form = w.WriteData();
    TKitReader in(form);
    TKitWave copy;
    ASSERT_TRUE(copy.ReadData(in));
    EXPECT_EQ(copy.Data(), w.Data());
    copy.Assign(nullptr);
    EXPECT_TRUE(copy.Empty());
    EXPECT_FALSE(copy.HasDataProperty());
    copy.Assign(&w);
    EXPECT_EQ(copy.Data(), w.Data());

    QTemporaryDir dir;
    const QString path = dir.filePath("beep.wav");
    ASSERT_TRUE(w.SaveToFile(path));
    TKitWave loaded;
    ASSERT_TRUE(loaded.LoadFromFile(path));
    EXPECT_EQ(loaded.Data(), w.Data());

    QByteArray empty;
    QBuffer emptyDevice(&empty);
    emptyDevice.open(QIODevice::ReadOnly);
    EXPECT_TRUE(loaded.LoadFromStream(emptyDevice));
    EXPECT_TRUE(loaded.Empty());
}

} // namespace
} // namespace quorlet
