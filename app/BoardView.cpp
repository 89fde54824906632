#include "app/BoardView.h"

#include <QMouseEvent>
#include <QPainter>

namespace quorlet {

TImageView::TImageView(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TImageView::SetImage(const QImage& image) {
    image_ = image;
    update();
}

void TImageView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, image_);
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
