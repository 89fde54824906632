#include "kit/KitTrayIcon.h"

#include <QCursor>
#include <QEvent>
#include <QMenu>
#include <QWidget>

#include "kit/KitGraphics.h"
#include "kit/KitLists.h"

namespace quorlet {

TKitTrayIcon::TKitTrayIcon(QObject* owner) : TKitWndProcComponent(owner) {
    TrayAvailable = [] { return QSystemTrayIcon::isSystemTrayAvailable(); };
}

QSystemTrayIcon* TKitTrayIcon::NotifyIconObject() {
    // Made when first needed: asking the desktop for its notification area costs the start.
    if (!tray_) {
        tray_ = new QSystemTrayIcon(this);
        tray_->setContextMenu(popupMenu_.data());
        connect(tray_, &QSystemTrayIcon::activated, this,
                [this](QSystemTrayIcon::ActivationReason reason) { IconActivated(reason); });
    }
    return tray_;
}

TKitTrayIcon::~TKitTrayIcon() {
    FreeAnimationTimer();
    SetHookEnabled(false);
    NotifyIcon(TNotifyAction::Delete);
}

void TKitTrayIcon::NotifyIcon(TNotifyAction action) {
    switch (action) {
    case TNotifyAction::Add:
    case TNotifyAction::Modify:
        NotifyIconObject()->setIcon(icon_);
        // The desktop's record holds 63 characters of tip.
        tray_->setToolTip(hint_.left(63));
        if (action == TNotifyAction::Add) tray_->show();
        break;
    case TNotifyAction::Delete:
        if (tray_) tray_->hide();
        break;
    }
}

void TKitTrayIcon::SetActive(bool value) {
    if (value == active_) return;
    active_ = value;
    if (value) {
        SetHookEnabled(true);
        CreateAnimationTimer();
        NotifyIcon(TNotifyAction::Add);
        StartAnimation(true);
        HideOwnerIntoTray();
    } else {
        SetHookEnabled(false);
        NotifyIcon(TNotifyAction::Delete);
        FreeAnimationTimer();
    }
}

void TKitTrayIcon::SetHint(const QString& value) {
    if (value == hint_) return;
    hint_ = value;
    if (active_) NotifyIcon(TNotifyAction::Modify);
}

void TKitTrayIcon::SetIcon(const QIcon& value) {
    icon_ = value;
    if (active_) NotifyIcon(TNotifyAction::Modify);
}

void TKitTrayIcon::SetPopupMenu(QMenu* menu) {
    popupMenu_ = menu;
    if (tray_) tray_->setContextMenu(menu);
}

void TKitTrayIcon::SetImageList(TKitTrayFrameSource* list) {
    imageList_ = list;
    frame_ = 0;
}

void TKitTrayIcon::SetTimerMode(TKitTimerMode value) {
    if (value == timerMode_) return;
    const bool hadTimer = animationTimer_ != nullptr;
    FreeAnimationTimer();
    timerMode_ = value;
    if (hadTimer) CreateAnimationTimer();
}

void TKitTrayIcon::SetAnimated(bool value) {
    if (value == animated_) return;
    animated_ = value;
    if (!value) {
        FreeAnimationTimer();
        return;
    }
    CreateAnimationTimer();
    StartAnimation(true);
}

void TKitTrayIcon::Loaded() {
    TKitWndProcComponent::Loaded();
    if (active_) {
        active_ = false;
        SetActive(true);
    }
}

void TKitTrayIcon::CreateAnimationTimer() {
    if (!animated_ || animationTimer_) return;
    // Every mode runs on the high-resolution timer; only tmThreaded uses its thread.
    animationTimer_ = new TKitHiTimer(this);
    animationTimer_->SetUseThread(timerMode_ == TKitTimerMode::tmThreaded);
    animationTimer_->SetOnTimer([this](QObject*) { AnimateStep(); });
}

void TKitTrayIcon::FreeAnimationTimer() {
    delete animationTimer_;
    animationTimer_ = nullptr;
}

void TKitTrayIcon::StartAnimation(bool start) {
    if (!animated_ || !animationTimer_) return;
    frame_ = 0;
    if (start) {
        animationTimer_->SetInterval(Interval);
        animationTimer_->SetThreadPriority(ThreadPriority);
    }
    animationTimer_->SetEnabled(start);
}

int TKitImageListFrames::ItemCount() const {
    return list_ ? list_->Count() : 0;
}

int TKitImageListFrames::FrameCount(int item) const {
    const TKitImageListItem* i = list_ && item >= 0 && item < list_->Count() ? list_->ImageItem(item) : nullptr;
    return i ? i->FrameCount() : 0;
}

QIcon TKitImageListFrames::Frame(int item, int frame) const {
    if (frame < 0 || frame >= FrameCount(item)) return {};
    const TKitImageListItem* i = list_->ImageItem(item);
    return BitmapToIcon(i->Frame(frame), i->Width(), i->Height());
}

void TKitTrayIcon::AnimateStep() {
    if (!imageList_ || ListIndex < 0 || ListIndex >= imageList_->ItemCount()) return;
    const int frames = imageList_->FrameCount(ListIndex);
    if (frames <= 0) return;
    if (frame_ >= frames) frame_ = 0;
    NotifyIconObject()->setIcon(imageList_->Frame(ListIndex, frame_));
    if (++frame_ >= frames) frame_ = 0;
}

void TKitTrayIcon::HideOwnerIntoTray() {
    QWidget* owner = OwnerControl();
    if (!owner || !active_ || ShowMinimizedIcon || !owner->isMinimized()) return;
    if (!TrayAvailable || !TrayAvailable()) return;
    // After the event: showMinimized() makes the window visible again once its state is set.
    QPointer<QWidget> target(owner);
    QMetaObject::invokeMethod(
        this,
        [this, target] {
            if (target && active_ && target->isMinimized()) target->hide();
        },
        Qt::QueuedConnection);
}

void TKitTrayIcon::MouseDown(Qt::MouseButton button, bool doubleClick) {
    if (OnMouseDown) OnMouseDown(this, button, Qt::NoModifier, doubleClick, cursor_.x(), cursor_.y());
}

void TKitTrayIcon::MouseUp(Qt::MouseButton button) {
    if (OnClick) OnClick(this);
    if (OnMouseUp) OnMouseUp(this, button, Qt::NoModifier, false, cursor_.x(), cursor_.y());
}

void TKitTrayIcon::IconActivated(QSystemTrayIcon::ActivationReason reason) {
    cursor_ = QCursor::pos();
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        MouseDown(Qt::LeftButton, false);
        MouseUp(Qt::LeftButton);
        break;
    case QSystemTrayIcon::DoubleClick:
        if (OnDblClick) OnDblClick(this);
        MouseDown(Qt::LeftButton, true);
        break;
    case QSystemTrayIcon::Context:
        MouseDown(Qt::RightButton, false);
        // The desktop pops the context menu up itself.
        if (popupMenu_ && OnPopUp) OnPopUp(this);
        MouseUp(Qt::RightButton);
        break;
    case QSystemTrayIcon::MiddleClick:
        MouseDown(Qt::MiddleButton, false);
        MouseUp(Qt::MiddleButton);
        break;
    default: break;
    }
}

bool TKitTrayIcon::OwnerWndProc(QEvent* event) {
    QWidget* owner = OwnerControl();
    if (owner && event->type() == QEvent::WindowStateChange) {
        const bool swallowed = TKitWndProcComponent::OwnerWndProc(event);
        HideOwnerIntoTray();
        return swallowed;
    }
    if (owner && event->type() == QEvent::Close && NoClose && active_ && TrayAvailable && TrayAvailable()) {
        owner->hide();
        if (OnNoClose) OnNoClose(owner);
        event->ignore();
        return true;
    }
    return TKitWndProcComponent::OwnerWndProc(event);
}

} // namespace quorlet
