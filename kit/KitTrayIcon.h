// The notification-area icon: shows the program's icon with a tip, turns the icon's clicks into
// component events, pops a menu up, and hooks its owner window so that minimising hides the
// window into the icon. The icon can be animated from a frame source.
#pragma once

#include <QIcon>
#include <QMenu>
#include <QPointer>
#include <QSystemTrayIcon>

#include <cstdint>
#include <functional>

#include "kit/KitTimer.h"
#include "kit/KitWndProcComponent.h"

class QMenu;

namespace quorlet {

enum class TKitTimerMode { tmNormal, tmGlobalTimer, tmHiTimer, tmThreaded };

// (sender, button, modifiers, double click, cursor x, cursor y)
using TKitMouseEvent =
    std::function<void(QObject* sender, Qt::MouseButton button, Qt::KeyboardModifiers shift, bool doubleClick, int x, int y)>;
using TKitMouseMoveEvent = std::function<void(QObject* sender, Qt::KeyboardModifiers shift, int x, int y)>;

// The animation's frames: items of icons, each with its own frame count.
class TKitTrayFrameSource {
  public:
    virtual ~TKitTrayFrameSource() = default;
    virtual int ItemCount() const = 0;
    virtual int FrameCount(int item) const = 0;
    virtual QIcon Frame(int item, int frame) const = 0;
};

class TKitImageList;

// The frames of a kit image list: item n's frames, each made an icon with white transparent.
class TKitImageListFrames : public TKitTrayFrameSource {
  public:
    explicit TKitImageListFrames(const TKitImageList* list) : list_(list) {}
    int ItemCount() const override;
    int FrameCount(int item) const override;
    QIcon Frame(int item, int frame) const override;

  private:
    const TKitImageList* list_;
};

class TKitTrayIcon : public TKitWndProcComponent {
    Q_OBJECT

  public:
    explicit TKitTrayIcon(QObject* owner = nullptr);
    ~TKitTrayIcon() override;

    bool Active() const { return active_; }
    void SetActive(bool value);
    const QString& Hint() const { return hint_; }
    void SetHint(const QString& value);
    const QIcon& Icon() const { return icon_; }
    void SetIcon(const QIcon& value);
    QMenu* PopupMenu() const { return popupMenu_.data(); }
    void SetPopupMenu(QMenu* menu);
    TKitTrayFrameSource* ImageList() const { return imageList_; }
    void SetImageList(TKitTrayFrameSource* list);
    TKitTimerMode TimerMode() const { return timerMode_; }
    void SetTimerMode(TKitTimerMode value);
    bool Animated() const { return animated_; }
    void SetAnimated(bool value);

    bool NoClose = false;
    bool ShowMinimizedIcon = false;
    int32_t ListIndex = 0;
    TThreadPriority ThreadPriority = TThreadPriority::tpNormal;
    uint16_t Interval = 200;

    TNotifyEvent OnNoClose;
    TNotifyEvent OnDblClick;
    TNotifyEvent OnClick;
    TNotifyEvent OnPopUp;
    TKitMouseEvent OnMouseDown;
    TKitMouseEvent OnMouseUp;
    // Kept for completeness: the desktop reports no moves over the icon.
    TKitMouseMoveEvent OnMouseMove;

    // Whether the desktop has a notification area (offscreen and bare X servers have none);
    // without one the owner is never hidden into it.
    std::function<bool()> TrayAvailable;
    // The desktop's icon object, made at its first use (tests drive its activated signal).
    QSystemTrayIcon* NotifyIconObject();
    // Cursor position taken at the last icon message.
    QPoint CursorPos() const { return cursor_; }

    // The icon's activation, as the desktop reports it.
    void IconActivated(QSystemTrayIcon::ActivationReason reason);
    // Shows the next animation frame; an item out of range or without frames is skipped.
    void AnimateStep();
    // The current animation frame.
    int FrameIndex() const { return frame_; }
    // The animation timer while it exists (the seam for tests).
    TKitHiTimer* AnimationTimer() const { return animationTimer_; }

    void Loaded() override;

  protected:
    bool OwnerWndProc(QEvent* event) override;

  private:
    enum class TNotifyAction { Add, Modify, Delete };
    void NotifyIcon(TNotifyAction action);
    void CreateAnimationTimer();
    void FreeAnimationTimer();
    void StartAnimation(bool start);
    void HideOwnerIntoTray();
    void MouseDown(Qt::MouseButton button, bool doubleClick);
    void MouseUp(Qt::MouseButton button);

    QSystemTrayIcon* tray_ = nullptr;
    QIcon icon_;
    QString hint_;
    QPointer<QMenu> popupMenu_;
    TKitTrayFrameSource* imageList_ = nullptr;
    TKitHiTimer* animationTimer_ = nullptr;
    TKitTimerMode timerMode_ = TKitTimerMode::tmNormal;
    QPoint cursor_;
    int frame_ = 0;
    bool active_ = true;
    bool animated_ = false;
};

} // namespace quorlet
