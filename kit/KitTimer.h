// The kit's high-resolution timer. Two ways to tick: a periodic tick thread that only posts
// to a hidden receiver on the GUI thread (UseThread false: the game clock), or a worker
// thread that sleeps between ticks and runs them synchronised or on itself.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>

#include "kit/KitCustomComponent.h"

namespace quorlet {

class TTickReceiver;
class TTickThread;
class TKitHiTimer;

enum class TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

// The worker of the thread path. Terminate wakes and joins it, so it never outlives its owner.
// A tick may stop the timer (and so destroy this worker) from inside its own handler: the
// state the tick still touches afterwards is shared, never freed under it, and a worker
// stopped from its own thread is let go instead of joining itself.
class TKitThreadedTimer {
  public:
    explicit TKitThreadedTimer(TKitHiTimer* owner);
    ~TKitThreadedTimer();
    TKitThreadedTimer(const TKitThreadedTimer&) = delete;
    TKitThreadedTimer& operator=(const TKitThreadedTimer&) = delete;

    uint16_t SleepTime = 1000;
    TThreadPriority Priority = TThreadPriority::tpNormal;

    void Resume();
    void Terminate();

  private:
    struct TShared;
    // Takes only what it owns a share of, so a worker let go by Terminate never reads this.
    static void Execute(const std::shared_ptr<TShared>& shared, uint16_t sleepTime, TTickReceiver* sync);

    std::shared_ptr<TShared> shared_;
    std::unique_ptr<TTickReceiver> sync_; // GUI-thread receiver of synchronised ticks
    std::thread worker_;
};

class TKitHiTimer : public TKitCustomComponent {
    Q_OBJECT

  public:
    explicit TKitHiTimer(QObject* owner = nullptr);
    ~TKitHiTimer() override;

    // Read by the worker at each tick, so shared with it.
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    // Set while a tick of the posting path is being handled.
    bool Busy() const { return busy_; }
    uint32_t Interval() const { return interval_; }
    // Clamped into the period range; an equal value changes nothing.
    void SetInterval(uint32_t value);
    // The generation of the running periodic tick; 0 when none.
    uint32_t EventId() const { return eventId_; }
    uint32_t PeriodMin() const { return periodMin_; }
    uint32_t PeriodMax() const { return periodMax_; }
    const TNotifyEvent& OnTimer() const { return onTimer_; }
    // Always re-arms, even with the same handler.
    void SetOnTimer(TNotifyEvent handler);
    TThreadPriority ThreadPriority() const { return priority_; }
    void SetThreadPriority(TThreadPriority value);
    bool UseThread() const { return useThread_; }
    void SetUseThread(bool value);
    // Read by the worker at each tick.
    std::atomic<bool> Synchronize{true};

    // The hidden receiver of posted ticks, null when none.
    TTickReceiver* TimerWindow() const { return timerWindow_.get(); }
    bool ThreadRunning() const { return thread_ != nullptr; }

    static std::pair<uint32_t, uint32_t> GetPeriodRange();

    virtual void DoTimer();

  private:
    void UpdateTimer();
    void TimerWndProc(uint32_t id);

    std::atomic<bool> enabled_{false};
    bool busy_ = false;
    uint32_t interval_ = 1000;
    uint32_t eventId_ = 0;
    uint32_t lastEventId_ = 0;
    uint32_t periodMin_ = 1;
    uint32_t periodMax_ = 1000000;
    TNotifyEvent onTimer_;
    TThreadPriority priority_ = TThreadPriority::tpNormal;
    bool useThread_ = true;
    bool destroying_ = false;
    std::unique_ptr<TTickReceiver> timerWindow_;
    std::unique_ptr<TTickThread> ticker_;
    std::unique_ptr<TKitThreadedTimer> thread_;
};

} // namespace quorlet
