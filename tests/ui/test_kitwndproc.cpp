#include <QCoreApplication>
#include <QEvent>
#include <QWidget>
#include <gtest/gtest.h>

#include <vector>

#include "kit/KitWndProcComponent.h"

namespace quorlet {
namespace {

// Records what passes through the hook; swallows the event types it is told to.
class TRecordingHook : public TKitWndProcComponent {
public:
    using TKitWndProcComponent::TKitWndProcComponent;
    std::vector<QEvent::Type> seen;
    QEvent::Type swallow = QEvent::None;

protected:
    bool OwnerWndProc(QEvent* event) override {
        seen.push_back(event->type());
        if (event->type() == swallow) return true;
        return TKitWndProcComponent::OwnerWndProc(event);
    }
};

// Counts the events that reach the owner itself.
class TCountingWidget : public QWidget {
public:
    int userEvents = 0;

protected:
    bool event(QEvent* e) override {
        if (e->type() == QEvent::User) ++userEvents;
        return QWidget::event(e);
    }
};

void SendUser(QWidget& w) {
    QEvent e(QEvent::User);
    QCoreApplication::sendEvent(&w, &e);
}

TEST(WndProcComponent, HooksOnlyAfterLoadedAndPassesEventsOn) {
    TCountingWidget owner;
    auto* hook = new TRecordingHook(&owner);
    EXPECT_FALSE(hook->IsHooked());
    hook->Loaded();
    ASSERT_TRUE(hook->IsHooked());
    SendUser(owner);
    EXPECT_EQ(owner.userEvents, 1);
    EXPECT_FALSE(hook->seen.empty());
}

TEST(WndProcComponent, UnhookAndHookAgainRestoresTheOwnerExactly) {
    TCountingWidget owner;
    auto* hook = new TRecordingHook(&owner);
    hook->swallow = QEvent::User;
    hook->Loaded();
    SendUser(owner);
    EXPECT_EQ(owner.userEvents, 0);
    hook->SetHookEnabled(false);
    EXPECT_FALSE(hook->IsHooked());
    SendUser(owner);
    EXPECT_EQ(owner.userEvents, 1);
    hook->SetHookEnabled(true);
    EXPECT_TRUE(hook->IsHooked());
    SendUser(owner);
    EXPECT_EQ(owner.userEvents, 1);
    hook->Detach();
    hook->Attach();
    EXPECT_TRUE(hook->IsHooked());
    EXPECT_FALSE(hook->HookOwner()); // hooking twice is refused
}

TEST(WndProcComponent, OwnerThatIsNoWidgetNeverHooks) {
    QObject owner;
    TRecordingHook hook(&owner);
    hook.Loaded();
    EXPECT_FALSE(hook.IsHooked());
    EXPECT_EQ(hook.OwnerHandle(), 0u);
    hook.Detach();
    hook.Attach();
    EXPECT_FALSE(hook.IsHooked());
}

TEST(KitComponent, ChangeNotificationRespectsTheUpdateLock) {
    TKitCustomComponent component;
    int changes = 0;
    component.OnChanged = [&](QObject* sender) {
        EXPECT_EQ(sender, &component);
        ++changes;
    };
    component.Changed();
    EXPECT_EQ(changes, 1);
    component.LockUpdates();
    component.Changed();
    component.ChangeFromLink(nullptr);
    EXPECT_EQ(changes, 1);
    component.UnlockUpdates(false);
    EXPECT_EQ(changes, 1);
    component.LockUpdates();
    component.LockUpdates();
    component.UnlockUpdates(true); // no nesting: one unlock ends the lock
    EXPECT_EQ(changes, 2);
}

TEST(KitComponent, SettingObjectsFollowTheSameProtocol) {
    TKitObject object;
    int changes = 0;
    object.OnChanged = [&](TKitObject*) { ++changes; };
    object.LockUpdates();
    object.Changed();
    object.UnlockUpdates(true);
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(object.Text().isEmpty());
}

} // namespace
} // namespace quorlet
