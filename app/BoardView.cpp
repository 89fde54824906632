#include "app/BoardView.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cstdlib>
#include <new>

namespace quorlet {

TImageView::TImageView(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TImageView::SetImage(const QImage& image) {
    image_ = image;
    surface_ = {};
    update();
}

void TImageView::SetSurface(int width, int height, const QColor& fill) {
    image_ = QImage();
    surface_ = QSize(width, height);
    fill_ = fill;
    filledRows_ = 0;
    update();
}

void TImageView::FillSurface(const QColor& fill) {
    if (surface_.isEmpty()) {
        image_.fill(fill);
    } else {
        fill_ = fill;
        filledRows_ = 0;
    }
    update();
}

void TImageView::FillRows(int rows) const {
    if (surface_.isEmpty()) return;
    rows = std::clamp(rows, 0, surface_.height());
    if (rows <= filledRows_) return;
    if (image_.isNull()) {
        // Zeroed pages from the system: untouched rows cost no memory.
        const auto bytesPerLine = static_cast<qsizetype>(surface_.width()) * 4;
        void* bits = std::calloc(static_cast<std::size_t>(bytesPerLine * surface_.height()), 1);
        if (!bits) throw std::bad_alloc();
        image_ = QImage(static_cast<uchar*>(bits), surface_.width(), surface_.height(), bytesPerLine,
                        QImage::Format_RGB32, std::free, bits);
    }
    const QRgb colour = fill_.rgb();
    for (int y = filledRows_; y < rows; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image_.scanLine(y));
        std::fill(line, line + surface_.width(), colour);
    }
    filledRows_ = rows;
}

QImage& TImageView::ImageRows(int rows) {
    FillRows(rows);
    return image_;
}

QImage& TImageView::Image() {
    FillRows(surface_.height());
    return image_;
}

const QImage& TImageView::Image() const {
    FillRows(surface_.height());
    return image_;
}

void TImageView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (surface_.isEmpty()) {
        p.drawImage(0, 0, image_);
        return;
    }
    // Rows not yet drawn on show their colour without being made.
    const int drawn = std::min(filledRows_, height());
    if (drawn > 0) p.drawImage(QPoint(0, 0), image_, QRect(0, 0, std::min(width(), surface_.width()), drawn));
    if (drawn < height()) p.fillRect(0, drawn, width(), height() - drawn, fill_);
}

void TImageView::mousePressEvent(QMouseEvent* event) {
    if (OnPress)
        OnPress(event);
    else
        event->ignore();
}

void TImageView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (OnPress)
        OnPress(event);
    else
        event->ignore();
}

void TImageView::mouseMoveEvent(QMouseEvent* event) {
    if (OnMove)
        OnMove(event);
    else
        event->ignore();
}

void TImageView::mouseReleaseEvent(QMouseEvent* event) {
    if (OnRelease)
        OnRelease(event);
    else
        event->ignore();
}

TBevelPanel::TBevelPanel(int bevel, bool raised, QWidget* parent)
    : QWidget(parent), bevel_(bevel), raised_(raised) {}

void TBevelPanel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QColor face(0xC0, 0xC0, 0xC0), light(Qt::white), shadow(0x80, 0x80, 0x80);
    const QColor& topLeft = raised_ ? light : shadow;
    const QColor& bottomRight = raised_ ? shadow : light;
    const int w = width(), h = height();
    p.fillRect(rect(), face);
    for (int i = 0; i < bevel_; ++i) {
        p.fillRect(i, i, w - 2 * i, 1, topLeft);
        p.fillRect(i, i, 1, h - 2 * i, topLeft);
        p.fillRect(i + 1, h - 1 - i, w - 1 - 2 * i, 1, bottomRight);
        p.fillRect(w - 1 - i, i + 1, 1, h - 1 - 2 * i, bottomRight);
    }
}

void TBevelPanel::mousePressEvent(QMouseEvent* event) {
    if (!OnClick) event->ignore();
    if (event->button() == Qt::LeftButton && OnLeftPress) OnLeftPress();
}

void TBevelPanel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && OnLeftRelease) OnLeftRelease();
    if (!OnClick) {
        event->ignore();
        return;
    }
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) OnClick();
}

} // namespace quorlet
