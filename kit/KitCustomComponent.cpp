#include "kit/KitCustomComponent.h"

namespace quorlet {

TKitCustomComponent::TKitCustomComponent(QObject* owner) : QObject(owner) {}

TKitCustomComponent::~TKitCustomComponent() = default;

void TKitCustomComponent::Changed() {
    if (!updating_ && OnChanged) OnChanged(this);
}

void TKitCustomComponent::ChangeFromLink(QObject*) {
    Changed();
}

void TKitCustomComponent::LockUpdates() {
    updating_ = true;
}

void TKitCustomComponent::UnlockUpdates(bool notify) {
    updating_ = false;
    if (notify) Changed();
}

void TKitObject::Changed() {
    if (!updating_ && OnChanged) OnChanged(this);
}

void TKitObject::ChangeFromLink(TKitObject*) {
    Changed();
}

void TKitObject::LockUpdates() {
    updating_ = true;
}

void TKitObject::UnlockUpdates(bool notify) {
    updating_ = false;
    if (notify) Changed();
}

} // namespace quorlet
