#include "app/skins.h"

#include <QPainter>
#include <QPolygon>

#include <string_view>

#include "core/FData.h"

namespace quorlet {

namespace {

struct TCellPalette {
    QColor face, light, shadow, openFace, openLine;
};

// Skin 0 is the classic grey; skin 1 a cooler blue-grey.
const TCellPalette kCellPalettes[2] = {
    {QColor(0xC0, 0xC0, 0xC0), Qt::white, QColor(0x80, 0x80, 0x80), QColor(0xC0, 0xC0, 0xC0),
     QColor(0x80, 0x80, 0x80)},
    {QColor(0x9C, 0xB4, 0xCC), QColor(0xE4, 0xF0, 0xFC), QColor(0x50, 0x68, 0x84), QColor(0xDC, 0xE4, 0xEC),
     QColor(0x98, 0xA8, 0xB8)},
};

const QColor kNumberColours[9] = {
    Qt::transparent,          QColor(0x00, 0x00, 0xFF), QColor(0x00, 0x80, 0x00),
    QColor(0xFF, 0x00, 0x00), QColor(0x00, 0x00, 0x80), QColor(0x80, 0x00, 0x00),
    QColor(0x00, 0x80, 0x80), QColor(0x00, 0x00, 0x00), QColor(0x80, 0x80, 0x80),
};

// 7 x 9 bold digits and a question mark, drawn pixel by pixel for crisp edges at 16 px.
constexpr std::string_view kDigitRows[10][9] = {
    {}, // no picture for 0
    {"..##...", ".###...", "####...", "..##...", "..##...", "..##...", "..##...", "..##...", "######."},
    {".#####.", "##...##", ".....##", "....##.", "...##..", "..##...", ".##....", "##.....", "#######"},
    {".#####.", "##...##", ".....##", "..####.", ".....##", ".....##", ".....##", "##...##", ".#####."},
    {"....##.", "...###.", "..####.", ".##.##.", "##..##.", "#######", "....##.", "....##.", "....##."},
    {"#######", "##.....", "##.....", "######.", ".....##", ".....##", ".....##", "##...##", ".#####."},
    {".#####.", "##...##", "##.....", "######.", "##...##", "##...##", "##...##", "##...##", ".#####."},
    {"#######", ".....##", "....##.", "....##.", "...##..", "...##..", "..##...", "..##...", "..##..."},
    {".#####.", "##...##", "##...##", ".#####.", "##...##", "##...##", "##...##", "##...##", ".#####."},
    {".#####.", "##...##", ".....##", "....##.", "...##..", "...##..", ".......", "...##..", "...##.."},
};

void DrawPattern(QPainter& p, const std::string_view (&rows)[9], int x, int y, const QColor& colour) {
    for (int r = 0; r < 9; ++r)
        for (int c = 0; c < static_cast<int>(rows[r].size()); ++c)
            if (rows[r][c] == '#') p.fillRect(x + c, y + r, 1, 1, colour);
}

void DrawRaised(QPainter& p, const TCellPalette& pal) {
    p.fillRect(0, 0, 16, 16, pal.face);
    p.fillRect(0, 0, 16, 2, pal.light);
    p.fillRect(0, 0, 2, 16, pal.light);
    p.fillRect(0, 14, 16, 2, pal.shadow);
    p.fillRect(14, 0, 2, 16, pal.shadow);
    // The corners where light meets shadow split diagonally: the outer light line runs one
    // pixel further than the inner one.
    p.fillRect(14, 0, 1, 1, pal.light);
    p.fillRect(0, 14, 1, 1, pal.light);
}

void DrawOpened(QPainter& p, const TCellPalette& pal, const QColor& fill) {
    p.fillRect(0, 0, 16, 16, fill);
    p.fillRect(0, 0, 16, 1, pal.openLine);
    p.fillRect(0, 0, 1, 16, pal.openLine);
}

void DrawMine(QPainter& p) {
    const QColor black(0, 0, 0);
    p.fillRect(7, 2, 2, 12, black);
    p.fillRect(2, 7, 12, 2, black);
    p.fillRect(5, 4, 6, 8, black);
    p.fillRect(4, 5, 8, 6, black);
    p.fillRect(4, 4, 1, 1, black);
    p.fillRect(11, 4, 1, 1, black);
    p.fillRect(4, 11, 1, 1, black);
    p.fillRect(11, 11, 1, 1, black);
    p.fillRect(6, 6, 2, 2, Qt::white);
}

void DrawFlag(QPainter& p) {
    const QColor red(0xFF, 0, 0), black(0, 0, 0);
    p.setPen(Qt::NoPen);
    p.setBrush(red);
    p.drawPolygon(QPolygon({QPoint(9, 3), QPoint(9, 8), QPoint(4, 6)}));
    p.fillRect(4, 6, 6, 1, red);
    p.fillRect(9, 3, 1, 7, black);
    p.fillRect(6, 10, 5, 1, black);
    p.fillRect(4, 11, 9, 2, black);
}

QImage CellPicture(int skin, int state) {
    const TCellPalette& pal = kCellPalettes[skin];
    QImage img(16, 16, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    if (state <= 8) {
        DrawOpened(p, pal, pal.openFace);
        if (state > 0) DrawPattern(p, kDigitRows[state], 5, 4, kNumberColours[state]);
        return img;
    }
    switch (state) {
    case csCovered: DrawRaised(p, pal); break;
    case csQuestion:
        DrawRaised(p, pal);
        DrawPattern(p, kDigitRows[9], 4, 3, Qt::black);
        break;
    case csBlasted:
        DrawOpened(p, pal, QColor(0xFF, 0, 0));
        DrawMine(p);
        break;
    case csWrongMark:
        DrawOpened(p, pal, pal.openFace);
        DrawMine(p);
        for (int i = 0; i < 11; ++i) {
            p.fillRect(3 + i, 3 + i, 1, 1, QColor(0xFF, 0, 0));
            p.fillRect(4 + i, 3 + i, 1, 1, QColor(0xFF, 0, 0));
            p.fillRect(13 - i, 3 + i, 1, 1, QColor(0xFF, 0, 0));
            p.fillRect(12 - i, 3 + i, 1, 1, QColor(0xFF, 0, 0));
        }
        break;
    case csMine:
        DrawOpened(p, pal, pal.openFace);
        DrawMine(p);
        break;
    case csPressedQuestion:
        DrawOpened(p, pal, pal.openFace);
        DrawPattern(p, kDigitRows[9], 5, 4, Qt::black);
        break;
    case csFlag:
        DrawRaised(p, pal);
        DrawFlag(p);
        break;
    case csPressedCovered: DrawOpened(p, pal, pal.openFace); break;
    default: DrawRaised(p, pal); break;
    }
    return img;
}

// Seven segments a..g as bits 0..6; glyph order: blank, minus, 0..9.
constexpr uint8_t kSegments[kLedGlyphs] = {0x00, 0x40, 0x3F, 0x06, 0x5B, 0x4F,
                                           0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F};

// Each segment is a 3-pixel bar that narrows towards its inner side (outer bars) or both
// sides (the middle bar), with a one-pixel gap between neighbours, as on a real LED display.
struct TSegmentLine {
    bool vertical;
    int at;       // column of a vertical line, row of a horizontal one
    int from, to; // inclusive extent along the line
};
constexpr TSegmentLine kSegmentLines[7][3] = {
    {{false, 1, 2, 10}, {false, 2, 3, 9}, {false, 3, 4, 8}},     // a: top
    {{true, 11, 2, 10}, {true, 10, 3, 9}, {true, 9, 4, 8}},      // b: upper right
    {{true, 11, 12, 20}, {true, 10, 13, 19}, {true, 9, 14, 18}}, // c: lower right
    {{false, 21, 2, 10}, {false, 20, 3, 9}, {false, 19, 4, 8}},  // d: bottom
    {{true, 1, 12, 20}, {true, 2, 13, 19}, {true, 3, 14, 18}},   // e: lower left
    {{true, 1, 2, 10}, {true, 2, 3, 9}, {true, 3, 4, 8}},        // f: upper left
    {{false, 10, 3, 9}, {false, 11, 2, 10}, {false, 12, 3, 9}},  // g: middle
};

void DrawSegment(QPainter& p, int segment, const QColor& colour) {
    for (const TSegmentLine& line : kSegmentLines[segment]) {
        const int length = line.to - line.from + 1;
        if (line.vertical)
            p.fillRect(line.at, line.from, 1, length, colour);
        else
            p.fillRect(line.from, line.at, length, 1, colour);
    }
}

QImage LedGlyph(int skin, int glyph) {
    const QColor lit = skin == 1 ? QColor(0x20, 0xFF, 0x40) : QColor(0xFF, 0x00, 0x00);
    const QColor dim = skin == 1 ? QColor(0x00, 0x2C, 0x0C) : QColor(0x38, 0x00, 0x00);
    QImage img(kLedWidth, kLedHeight, QImage::Format_RGB32);
    img.fill(Qt::black);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    for (int s = 0; s < 7; ++s)
        DrawSegment(p, s, (kSegments[glyph] >> s & 1) ? lit : dim);
    return img;
}

enum class TFaceKind { Pressed, Normal, Surprised, Won, Lost };

QImage FacePicture(TFaceKind kind) {
    QImage img(kFacePicture, kFacePicture, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    const QColor face(0xC0, 0xC0, 0xC0), shadow(0x80, 0x80, 0x80), black(0, 0, 0), yellow(0xFF, 0xFF, 0x00);
    p.fillRect(0, 0, kFacePicture, kFacePicture, face);
    const bool pressed = kind == TFaceKind::Pressed;
    p.fillRect(0, 0, kFacePicture, 1, shadow);
    p.fillRect(0, 0, 1, kFacePicture, shadow);
    if (!pressed) {
        p.fillRect(1, 1, kFacePicture - 2, 2, Qt::white);
        p.fillRect(1, 1, 2, kFacePicture - 2, Qt::white);
        p.fillRect(1, kFacePicture - 3, kFacePicture - 2, 2, shadow);
        p.fillRect(kFacePicture - 3, 1, 2, kFacePicture - 2, shadow);
    }
    const int o = pressed ? 1 : 0;
    p.setPen(black);
    p.setBrush(yellow);
    p.drawEllipse(QRect(4 + o, 4 + o, 17, 17));
    auto dot = [&](int x, int y, int w, int h) { p.fillRect(x + o, y + o, w, h, black); };
    switch (kind) {
    case TFaceKind::Pressed:
    case TFaceKind::Normal:
    case TFaceKind::Surprised:
        dot(9, 9, 2, 2);
        dot(15, 9, 2, 2);
        break;
    case TFaceKind::Won:
        dot(7, 9, 12, 1);
        dot(8, 10, 4, 2);
        dot(14, 10, 4, 2);
        dot(7, 9, 1, 2);
        dot(18, 9, 1, 2);
        break;
    case TFaceKind::Lost:
        for (int i = 0; i < 3; ++i) {
            dot(8 + i, 8 + i, 1, 1);
            dot(10 - i, 8 + i, 1, 1);
            dot(14 + i, 8 + i, 1, 1);
            dot(16 - i, 8 + i, 1, 1);
        }
        break;
    }
    switch (kind) {
    case TFaceKind::Surprised:
        dot(11, 14, 4, 1);
        dot(11, 17, 4, 1);
        dot(10, 15, 1, 2);
        dot(15, 15, 1, 2);
        break;
    case TFaceKind::Lost:
        dot(10, 15, 6, 1);
        dot(9, 16, 1, 1);
        dot(16, 16, 1, 1);
        dot(8, 17, 1, 1);
        dot(17, 17, 1, 1);
        break;
    default:
        dot(8, 15, 1, 1);
        dot(17, 15, 1, 1);
        dot(9, 16, 1, 1);
        dot(16, 16, 1, 1);
        dot(10, 17, 6, 1);
        break;
    }
    return img;
}

TSkins BuildSkins() {
    TSkins s;
    for (int skin = 0; skin < 2; ++skin) {
        for (int state = 0; state < kCellPictures; ++state)
            s.cells[skin][state] = CellPicture(skin, state);
        for (int g = 0; g < kLedGlyphs; ++g)
            s.leds[skin][g] = LedGlyph(skin, g);
    }
    s.faces = {FacePicture(TFaceKind::Pressed), FacePicture(TFaceKind::Normal),
               FacePicture(TFaceKind::Surprised), FacePicture(TFaceKind::Won), FacePicture(TFaceKind::Lost)};
    return s;
}

} // namespace

const TSkins& Skins() {
    static const TSkins skins = BuildSkins();
    return skins;
}

} // namespace quorlet
