// Base classes of the kit's components: change notification with an update lock.
#pragma once

#include <QObject>
#include <QString>

#include <functional>

namespace quorlet {

// A handler that takes the component that changed (or ticked).
using TNotifyEvent = std::function<void(QObject* sender)>;

// Non-visual component: Changed fires OnChanged unless updates are locked.
class TKitCustomComponent : public QObject {
    Q_OBJECT

  public:
    explicit TKitCustomComponent(QObject* owner = nullptr);
    ~TKitCustomComponent() override;

    QString About;
    TNotifyEvent OnChanged;

    virtual void Changed();
    void ChangeFromLink(QObject* sender);
    void LockUpdates();
    // No nesting count: one unlock ends any number of locks.
    void UnlockUpdates(bool notify);
    bool Updating() const { return updating_; }

    // Empty in every kit class; kept as the hook descendants may use.
    virtual void StyleChanged() {}

  private:
    bool updating_ = false;
};

// Persistent setting object with the same change protocol (not a QObject: it is copied by value).
class TKitObject {
  public:
    TKitObject() = default;
    virtual ~TKitObject() = default;

    std::function<void(TKitObject* sender)> OnChanged;

    virtual void Changed();
    void ChangeFromLink(TKitObject* sender);
    void LockUpdates();
    void UnlockUpdates(bool notify);
    bool Updating() const { return updating_; }
    // A description of the settings; empty in the base.
    virtual QString Text() const { return {}; }

  private:
    bool updating_ = false;
};

} // namespace quorlet
