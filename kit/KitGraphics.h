// The kit's drawing utilities on QImage (RGB32) through QPainter: placing a bitmap in a
// rectangle (centred, stretched, fitted or tiled; opaque, keyed on a colour or through a
// mask), masks, icons from bitmaps, palettes. Palettes are colour tables: nothing realises them.
#pragma once

#include <QColor>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QVector>

#include <cstdint>
#include <vector>

#include "kit/engine/kitdraw.h"

namespace quorlet {

constexpr uint32_t kKitColorNone = 0x1FFFFFFF;
// 0x00BBGGRR, or 0x80000000 | a palette role of the application.
QColor KitColor(uint32_t colour);
uint32_t KitColorValue(const QColor& colour);

TKitRect ToKitRect(const QRect& r);
QRect ToQRect(const TKitRect& r);

// Nothing for no bitmap or an empty rectangle; else the bitmap becomes the rectangle's size,
// filled with the colour.
void FillBitmap(QImage* bitmap, const QRect& rect, uint32_t colour);
// From the canvas area: mask white where the pixel is the transparent colour and black
// elsewhere; image the area with its transparent pixels black. Nothing without both.
void MakeTransparentMask(const QImage& canvas, const QRect& rect, QImage* image, uint32_t transparent, QImage* mask);
// AND of the mask, then OR of the image, at pos (scaled to size): black-on-white masks keep the
// target where the mask is white. source: the part of mask and image to use (null: all).
void BlitMasked(QImage& target, const QRect& dest, const QImage& mask, const QImage& image,
                const QRect& source = QRect(), const QRect& clip = QRect());

// The bitmap's transparent colour, as the framework keys it: its bottom-left pixel.
uint32_t BitmapTransparentColor(const QImage& bitmap);

// Places sourceRect of source into targetRect by the layout flags and draws each copy by the
// drawing flags (0x80 keyed on the bitmap's transparent colour, shown in colour; 0x100
// through bitmap as mask; 0x40 keyed on colour; else plain). result gets the drawn area.
void DrawImageRect(QImage& target, const QRect& targetRect, const QImage& source, QRect* result,
                   const QImage* bitmap, const QVector<QRgb>* palette, uint32_t colour, uint32_t flags,
                   const QRect& sourceRect);
// Flag 1 clips to rect (shrunk by inset) while drawing.
void DrawBitmapClipped(QImage& target, const QRect& rect, const QImage& source, const QImage* bitmap,
                       uint32_t colour, int inset, uint32_t flags, const QRect& sourceRect);
void DrawBitmap(QImage& target, const QRect& rect, const QImage& bitmap, uint32_t colour, int inset, uint32_t flags);
void DrawBitmapPalette(QImage& target, const QRect& rect, const QImage& bitmap, QRect* result, uint32_t colour,
                       uint32_t flags);

// The bitmap at width x height as an icon; white pixels are transparent.
QIcon BitmapToIcon(const QImage& bitmap, int width, int height);
// One colour-table entry per colour (0x00BBGGRR in, QRgb out); empty for no colours.
QVector<QRgb> PaletteFromColors(const std::vector<uint32_t>* colours);

} // namespace quorlet
