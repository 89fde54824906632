#include "kit/KitGraphics.h"

#include <QBitmap>
#include <QGuiApplication>
#include <QPalette>
#include <QPixmap>

namespace quorlet {

namespace {

QPalette::ColorRole RoleOf(uint32_t index) {
    switch (index) {
    case 5: return QPalette::Base;
    case 6: return QPalette::Mid;
    case 7: case 8: return QPalette::Text;
    case 9: return QPalette::HighlightedText;
    case 13: return QPalette::Highlight;
    case 14: return QPalette::HighlightedText;
    case 15: return QPalette::Button;
    case 16: return QPalette::Dark;
    case 17: return QPalette::PlaceholderText;
    case 18: return QPalette::ButtonText;
    case 20: return QPalette::Light;
    case 21: return QPalette::Shadow;
    case 22: return QPalette::Midlight;
    case 23: return QPalette::ToolTipText;
    case 24: return QPalette::ToolTipBase;
    default: return QPalette::Window;
    }
}

QImage AsRgb32(const QImage& image) {
    return image.format() == QImage::Format_RGB32 ? image : image.convertToFormat(QImage::Format_RGB32);
}

} // namespace

QColor KitColor(uint32_t colour) {
    if (colour == kKitColorNone) return QColor(Qt::transparent);
    if (colour & 0x80000000u) {
        const QPalette palette = qobject_cast<QGuiApplication*>(QCoreApplication::instance())
                                     ? QGuiApplication::palette()
                                     : QPalette();
        return palette.color(RoleOf(colour & 0xFF));
    }
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>(colour >> 8 & 0xFF),
                  static_cast<int>(colour >> 16 & 0xFF));
}

uint32_t KitColorValue(const QColor& c) {
    return static_cast<uint32_t>(c.red()) | static_cast<uint32_t>(c.green()) << 8 |
           static_cast<uint32_t>(c.blue()) << 16;
}

TKitRect ToKitRect(const QRect& r) {
    return {r.x(), r.y(), r.width(), r.height()};
}

QRect ToQRect(const TKitRect& r) {
    return QRect(r.X, r.Y, r.W, r.H);
}

void FillBitmap(QImage* bitmap, const QRect& rect, uint32_t colour) {
    if (!bitmap || rect.isEmpty()) return;
    *bitmap = QImage(rect.size(), QImage::Format_RGB32);
    bitmap->fill(KitColor(colour));
}

void MakeTransparentMask(const QImage& canvas, const QRect& rect, QImage* image, uint32_t transparent, QImage* mask) {
    if (!image || !mask) return;
    const QImage area = AsRgb32(canvas.copy(rect));
    const QRgb key = KitColor(transparent).rgb() | 0xFF000000u;
    *image = area;
    *mask = QImage(area.size(), QImage::Format_RGB32);
    for (int y = 0; y < area.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(area.constScanLine(y));
        auto* out = reinterpret_cast<QRgb*>(image->scanLine(y));
        auto* m = reinterpret_cast<QRgb*>(mask->scanLine(y));
        for (int x = 0; x < area.width(); ++x) {
            const bool clear = (in[x] | 0xFF000000u) == key;
            m[x] = clear ? 0xFFFFFFFFu : 0xFF000000u;
            if (clear) out[x] = 0xFF000000u;
        }
    }
}

void BlitMasked(QImage& target, const QRect& dest, const QImage& mask, const QImage& image, const QRect& source,
                const QRect& clip) {
    const QRect from = source.isNull() ? image.rect() : source;
    QPainter painter(&target);
    if (!clip.isNull()) painter.setClipRect(clip);
    painter.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
    painter.drawImage(dest, AsRgb32(mask), from);
    painter.setCompositionMode(QPainter::RasterOp_SourceOrDestination);
    painter.drawImage(dest, AsRgb32(image), from);
}

uint32_t BitmapTransparentColor(const QImage& bitmap) {
    if (bitmap.isNull()) return kKitColorNone;
    return KitColorValue(QColor::fromRgb(bitmap.pixel(0, bitmap.height() - 1)));
}

namespace {

// DrawImageRect with an extra clip (null: none besides the tiles' own).
void DrawClipped(QImage& target, const QRect& targetRect, const QImage& source, QRect* result, const QImage* bitmap,
                 const QVector<QRgb>* palette, uint32_t colour, uint32_t flags, const QRect& sourceRect,
                 QRect clip) {
    const QRect from = sourceRect.isNull() ? source.rect() : sourceRect;
    const TKitPlacement place = PlaceImage(ToKitRect(targetRect), from.width(), from.height(), flags);
    if (result) *result = ToQRect(place.Result);
    if (place.Copies.empty()) return;
    if (place.Clipped) clip = clip.isNull() ? targetRect : clip.intersected(targetRect);

    // What each copy draws: the image and, for masked drawing, its mask.
    QImage image = AsRgb32(source);
    QImage mask;
    QRect part = from;
    if (flags & kDrawTransparentBitmap) {
        // Pixels of the bitmap's transparent colour show the colour argument.
        const QImage& keyed = bitmap ? *bitmap : source;
        const QRgb key = KitColor(BitmapTransparentColor(keyed)).rgb() | 0xFF000000u;
        const QRgb fill = KitColor(colour).rgb() | 0xFF000000u;
        image = AsRgb32(keyed);
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x)
                if ((line[x] | 0xFF000000u) == key) line[x] = fill;
        }
    } else if ((flags & kDrawMasked) && bitmap) {
        mask = AsRgb32(*bitmap);
    } else if (flags & kDrawTransparentColor) {
        MakeTransparentMask(source, from, &image, colour, &mask);
        if (palette && !palette->isEmpty()) {
            QImage indexed = image.convertToFormat(QImage::Format_Indexed8, *palette);
            image = AsRgb32(indexed);
        }
        part = image.rect();
    }

    if (!mask.isNull()) {
        for (const TKitRect& copy : place.Copies) BlitMasked(target, ToQRect(copy), mask, image, part, clip);
        return;
    }
    QPainter painter(&target);
    if (!clip.isNull()) painter.setClipRect(clip);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    for (const TKitRect& copy : place.Copies) painter.drawImage(ToQRect(copy), image, part);
}

} // namespace

void DrawImageRect(QImage& target, const QRect& targetRect, const QImage& source, QRect* result,
                   const QImage* bitmap, const QVector<QRgb>* palette, uint32_t colour, uint32_t flags,
                   const QRect& sourceRect) {
    DrawClipped(target, targetRect, source, result, bitmap, palette, colour, flags, sourceRect, QRect());
}

void DrawBitmapClipped(QImage& target, const QRect& rect, const QImage& source, const QImage* bitmap,
                       uint32_t colour, int inset, uint32_t flags, const QRect& sourceRect) {
    QRect clip;
    if (flags & kDrawClip) clip = inset != 0 ? rect.adjusted(inset, inset, -inset, -inset) : rect;
    DrawClipped(target, rect, source, nullptr, bitmap, nullptr, colour, flags, sourceRect, clip);
}

void DrawBitmap(QImage& target, const QRect& rect, const QImage& bitmap, uint32_t colour, int inset, uint32_t flags) {
    if (bitmap.isNull() || bitmap.width() == 0 || bitmap.height() == 0) return;
    DrawBitmapClipped(target, rect, bitmap, (flags & kDrawTransparentBitmap) ? &bitmap : nullptr, colour, inset,
                      flags, bitmap.rect());
}

void DrawBitmapPalette(QImage& target, const QRect& rect, const QImage& bitmap, QRect* result, uint32_t colour,
                       uint32_t flags) {
    if (bitmap.isNull()) return;
    const QVector<QRgb> palette = bitmap.colorTable();
    DrawImageRect(target, rect, bitmap, result, (flags & kDrawTransparentBitmap) ? &bitmap : nullptr,
                  palette.isEmpty() ? nullptr : &palette, colour, flags, bitmap.rect());
}

QIcon BitmapToIcon(const QImage& bitmap, int width, int height) {
    if (bitmap.isNull() || width <= 0 || height <= 0) return {};
    const QImage sized = AsRgb32(bitmap.scaled(width, height, Qt::IgnoreAspectRatio, Qt::FastTransformation));
    QPixmap pixmap = QPixmap::fromImage(sized);
    pixmap.setMask(QBitmap::fromImage(sized.createMaskFromColor(0xFFFFFFFFu, Qt::MaskInColor)));
    return QIcon(pixmap);
}

QVector<QRgb> PaletteFromColors(const std::vector<uint32_t>* colours) {
    QVector<QRgb> table;
    if (!colours) return table;
    for (uint32_t c : *colours) table.push_back(KitColor(c & 0xFFFFFF).rgb());
    return table;
}

} // namespace quorlet
