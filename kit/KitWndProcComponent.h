// A component that sees every event of its owner widget before the owner does: the owner's
// window procedure becomes an event filter installed by the component.
#pragma once

#include <QPointer>
#include <QWidget>

#include "kit/KitCustomComponent.h"

class QEvent;

namespace quorlet {

class TKitWndProcComponent : public TKitCustomComponent {
    Q_OBJECT

  public:
    // Owner: the widget to hook (any other owner never hooks). Nothing is hooked until Loaded.
    explicit TKitWndProcComponent(QObject* owner = nullptr);
    ~TKitWndProcComponent() override;

    bool HookEnabled() const { return hookEnabled_; }
    void SetHookEnabled(bool value);
    bool DesignHook = false;
    bool HookFrameDirectly = false;
    bool HookApplication() const { return hookApplication_; }
    // Stored only while loading, as the owner's layout is read.
    void SetHookApplication(bool value);
    // 0 plain owner; sub-window kinds have no hooking difference here.
    int MDIKind = 0;
    bool AppHooked() const { return appHooked_; }

    QWidget* OwnerControl() const;
    // Non-zero while an owner widget exists.
    quintptr OwnerHandle() const;
    bool IsHooked() const { return hooked_; }
    bool HookOwner();
    bool UnhookOwner();

    // The owner's layout has been read: attach from now on.
    virtual void Loaded();
    virtual void Attach();
    virtual void Detach();

  protected:
    // Application-wide events while HookApplication is on; the result is informative only.
    virtual bool AppWindowMessage(QEvent* event);
    // Every owner event passes here first; true swallows it. Descendants end with this base.
    virtual bool OwnerWndProc(QEvent* event);
    // Hands the event on to the owner (false: not swallowed).
    bool ChainToOwner(QEvent* event);
    virtual void DesignModeChanged() {}
    virtual void EnabledStateChanged() {}

    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QPointer<QWidget> owner_;
    bool hookEnabled_ = true;
    bool hookApplication_ = false;
    bool loading_ = true;
    bool hooked_ = false;
    bool appHooked_ = false;
};

} // namespace quorlet
