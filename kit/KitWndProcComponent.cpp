#include "kit/KitWndProcComponent.h"

#include <QCoreApplication>
#include <QEvent>

namespace quorlet {

TKitWndProcComponent::TKitWndProcComponent(QObject* owner)
    : TKitCustomComponent(owner), owner_(qobject_cast<QWidget*>(owner)) {}

TKitWndProcComponent::~TKitWndProcComponent() {
    UnhookOwner();
}

void TKitWndProcComponent::SetHookEnabled(bool value) {
    if (value == hookEnabled_) return;
    hookEnabled_ = value;
    if (value)
        Attach();
    else
        Detach();
    EnabledStateChanged();
}

void TKitWndProcComponent::SetHookApplication(bool value) {
    if (loading_) hookApplication_ = value;
}

QWidget* TKitWndProcComponent::OwnerControl() const {
    return owner_.data();
}

quintptr TKitWndProcComponent::OwnerHandle() const {
    return reinterpret_cast<quintptr>(owner_.data());
}

bool TKitWndProcComponent::HookOwner() {
    if (!owner_ || OwnerHandle() == 0 || IsHooked()) return false;
    if (hookApplication_ && QCoreApplication::instance()) {
        QCoreApplication::instance()->installEventFilter(this);
        appHooked_ = true;
    }
    owner_->installEventFilter(this);
    hooked_ = true;
    return true;
}

bool TKitWndProcComponent::UnhookOwner() {
    if (hooked_ && owner_) owner_->removeEventFilter(this);
    hooked_ = false;
    if (hookApplication_ && appHooked_) {
        if (QCoreApplication::instance()) QCoreApplication::instance()->removeEventFilter(this);
        appHooked_ = false;
    }
    return true;
}

void TKitWndProcComponent::Loaded() {
    loading_ = false;
    Attach();
}

void TKitWndProcComponent::Attach() {
    if (hookEnabled_ && !IsHooked()) HookOwner();
}

void TKitWndProcComponent::Detach() {
    UnhookOwner();
}

bool TKitWndProcComponent::AppWindowMessage(QEvent*) {
    return true;
}

bool TKitWndProcComponent::OwnerWndProc(QEvent* event) {
    const bool swallowed = ChainToOwner(event);
    // A re-created native window keeps the filter; re-attaching covers a lost hook anyway.
    if (event->type() == QEvent::WinIdChange) Attach();
    return swallowed;
}

bool TKitWndProcComponent::ChainToOwner(QEvent*) {
    return false;
}

bool TKitWndProcComponent::eventFilter(QObject* watched, QEvent* event) {
    if (hooked_ && watched == owner_.data()) return OwnerWndProc(event);
    if (appHooked_ && watched != owner_.data()) AppWindowMessage(event);
    return false;
}

} // namespace quorlet
