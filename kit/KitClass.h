// The kit's application object and its timer pool: many logical timers on one window timer
// ticking every MinInterval ms; an item fires on the pool counts its step count divides.
#pragma once

#include <QObject>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "kit/KitCustomComponent.h"
#include "kit/KitIniCtrl.h"
#include "kit/KitSysUtils.h"

class QTimer;

namespace quorlet {

class TKitTimerPool;
class TKitTimerItem;
using TKitTimerList = std::vector<std::unique_ptr<TKitTimerItem>>;

class TKitTimerItem {
  public:
    // Raises "TKitTimerItem: Invalid Owner or List" without a pool or list.
    TKitTimerItem(TKitTimerPool* pool, uint16_t identifier, TKitTimerList* list);
    ~TKitTimerItem();
    TKitTimerItem(const TKitTimerItem&) = delete;
    TKitTimerItem& operator=(const TKitTimerItem&) = delete;

    uint16_t Identifier() const { return identifier_; }
    // -1: unlimited; the item disables itself when its counter reaches this.
    int32_t CallCount = -1;
    int32_t Counter() const { return counter_; }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    uint16_t Interval() const { return interval_; }
    // Ignored unless a multiple of the pool's MinInterval; 0 means MinInterval.
    void SetInterval(uint16_t value);
    uint16_t StepCount() const { return stepCount_; }
    TNotifyEvent OnTimer;

    void Fire();

  private:
    friend class TKitTimerPool;
    TKitTimerPool* pool_;
    uint16_t identifier_;
    int32_t counter_ = 0;
    bool enabled_ = true;
    uint16_t interval_ = 1000;
    uint16_t stepCount_ = 1;
    uint64_t serial_ = 0; // tells a live item from one removed during a round of firing
};

class TKitTimerPool : public TKitCustomComponent {
    Q_OBJECT

  public:
    using TPoolEvent = std::function<void(QObject* sender, uint16_t identifier, int32_t counter)>;

    explicit TKitTimerPool(QObject* owner = nullptr, uint16_t minInterval = 1000);
    ~TKitTimerPool() override;

    uint16_t MinInterval() const { return minInterval_; }
    // Stored only while the pool's properties are being loaded (BeginLoad .. EndLoad).
    void SetMinInterval(uint16_t value);
    void BeginLoad() { loading_ = true; }
    void EndLoad() { loading_ = false; }
    TPoolEvent OnTimer;

    // Raises "List index out of bounds (<id>)" for an identifier in use and "Interval not
    // compatible with MinInterval property!"; returns the new item's index.
    int AddTimer(uint16_t identifier, uint16_t interval, TNotifyEvent handler);
    void RemoveTimer(uint16_t identifier);
    void ClearTimers();
    int ActiveTimers() const;
    int Count() const { return static_cast<int>(items_.size()); }
    TKitTimerItem* Item(uint16_t identifier) const;
    // Raises "Not enough timers available" when the window timer cannot start.
    void UpdateMainTimer(bool on);

    bool Active() const { return active_; }
    bool Busy() const { return busy_; }
    int32_t PoolCounter() const { return poolCounter_; }
    QTimer* MainTimer() const { return timer_.get(); }

    // The window timer's tick: HandleTimers unless busy; failures are logged, never raised.
    void Tick();
    void HandleTimers();

  private:
    uint16_t minInterval_;
    bool loading_ = false;
    bool active_ = false;
    bool busy_ = false;
    bool updating_ = false;
    int32_t poolCounter_ = 0;
    uint64_t nextSerial_ = 1;
    std::unique_ptr<QTimer> timer_;
    TKitTimerList items_;
};

class TKitApplication : public QObject {
    Q_OBJECT

  public:
    static constexpr uint16_t kGlobalTimerBase = 0xFD00;
    static constexpr int kGlobalTimerSlots = 250;

    // Takes the instance lock, makes the pool (MinInterval 50) and the settings control.
    explicit TKitApplication(QObject* owner = nullptr);
    ~TKitApplication() override;

    QString FileMask = QStringLiteral("#tdl");
    uint8_t OptionSet = 0x36;
    uint8_t EditMode = 1;
    uint8_t EffectDelay = 3;
    uint32_t LastColor = 0x1FFFFFFF;
    TKitPathPrefix LogPrefix = ppProgram;
    int32_t LogMaxSize = -1;
    int64_t PerfFrequency = 0;
    uint32_t StartTime = 0;
    int CheckWidth = 0;
    int CheckHeight = 0;

    const QString& LogName() const { return logName_; }
    // "" becomes the program's path + ".LOG"; a name without extension gets ".LOG"; unless
    // LogPrefix is ppFixed, the prefix folder goes before the name's file part.
    void SetLogName(const QString& value);

    // The lock file's descriptor (-1 when none was taken) and whether another object had it.
    int InstanceMutex() const { return mutexFd_; }
    bool PreviousInstance() const { return previousInstance_; }

    // No theme library here: themes are never active.
    bool ThemesActive() const { return false; }
    bool UseThemes() const { return useThemes_ && ThemesActive(); }
    void SetUseThemes(bool value);
    void RefreshThemes() { useThemes_ = ThemesActive(); }

    TKitTimerPool* TimerPool() const { return timerPool_.get(); }
    TKitIniCtrl* SettingsControl() const { return settingsControl_.get(); }

    // 0xFD00 + the first free slot n (1..250); 0 when no slot is free or the pool refuses.
    uint16_t AddGlobalTimer(uint16_t interval, TNotifyEvent handler);
    void RemoveGlobalTimer(uint16_t identifier);
    TKitTimerItem* TimerItem(uint16_t identifier) const;

  private:
    QString logName_;
    int mutexFd_ = -1;
    bool previousInstance_ = false;
    bool useThemes_ = true;
    std::array<uint8_t, kGlobalTimerSlots> timerSlots_{};
    std::unique_ptr<TKitTimerPool> timerPool_;
    std::unique_ptr<TKitIniCtrl> settingsControl_;
};

// A timer that is a window timer of its own, or (global) an item of the application's pool,
// its interval then rounded up to a multiple of 50 ms.
class TKitTimer : public QObject {
    Q_OBJECT

  public:
    // application: whose pool serves a global timer (null: the kit's start-up object).
    // Raises "Not enough timers available" when a global timer gets no slot.
    TKitTimer(uint16_t interval, bool global, bool enabled, TNotifyEvent handler,
              TKitApplication* application = nullptr);
    ~TKitTimer() override;

    uint16_t Identifier() const { return identifier_; }
    bool Global() const { return global_; }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    uint16_t Interval() const { return interval_; }
    void SetInterval(uint16_t value);
    // The pool item's interval of a global timer.
    static uint16_t GlobalInterval(uint16_t interval);
    TNotifyEvent OnTimer;
    QTimer* WindowTimer() const { return windowTimer_.get(); }

    void Start();
    void Stop();
    void Fire();

  private:
    TKitApplication* Application() const;
    void UpdateWindowTimer();

    TKitApplication* application_;
    uint16_t identifier_ = 0;
    bool global_;
    bool enabled_;
    uint16_t interval_;
    std::unique_ptr<QTimer> windowTimer_;
};

} // namespace quorlet
