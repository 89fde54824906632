#include "kit/KitTimer.h"

#include <QCoreApplication>
#include <QThread>

#include <chrono>
#include <exception>
#include <stdexcept>
#include <string>
#include <system_error>

#include "core/debuglog.h"
#include "platform/tickreceiver.h"
#include "platform/tickthread.h"

namespace quorlet {

// ---- Worker thread path ----

struct TKitThreadedTimer::TShared {
    TKitHiTimer* owner = nullptr;
    std::mutex mutex;
    std::condition_variable wake;
    bool terminated = false;
    bool inTick = false;
    uint32_t posted = 0;
    uint32_t done = 0;

    bool StopTest() const { return terminated || owner == nullptr || QCoreApplication::closingDown(); }
};

TKitThreadedTimer::TKitThreadedTimer(TKitHiTimer* owner)
    : shared_(std::make_shared<TShared>()), sync_(std::make_unique<TTickReceiver>()) {
    shared_->owner = owner;
    sync_->OnTick = [shared = shared_](uint32_t) {
        bool run;
        {
            std::lock_guard lock(shared->mutex);
            run = !shared->terminated;
            shared->inTick = run;
        }
        if (run) {
            try {
                shared->owner->DoTimer();
            } catch (const std::exception& e) {
                DebugLog(std::string("#timer tick failed: ") + e.what());
            } catch (...) {
                DebugLog("#timer tick failed");
            }
        }
        {
            std::lock_guard lock(shared->mutex);
            shared->inTick = false;
            ++shared->done;
        }
        shared->wake.notify_all();
    };
}

TKitThreadedTimer::~TKitThreadedTimer() {
    Terminate();
    bool inTick;
    {
        std::lock_guard lock(shared_->mutex);
        inTick = shared_->inTick;
    }
    // Deleting the receiver inside its own tick would pull it from under the running handler;
    // a worker stopping itself must leave the GUI thread's object to the GUI thread.
    if (inTick || QThread::currentThread() != sync_->thread()) sync_.release()->deleteLater();
}

void TKitThreadedTimer::Resume() {
    if (worker_.joinable()) return;
    // Held while the handle is stored: the worker takes the lock first, so a tick that stops
    // its own timer sees the handle complete.
    std::lock_guard lock(shared_->mutex);
    worker_ = std::thread(
        [shared = shared_, sleepTime = SleepTime, sync = sync_.get()] { Execute(shared, sleepTime, sync); });
}

void TKitThreadedTimer::Terminate() {
    {
        std::lock_guard lock(shared_->mutex);
        shared_->terminated = true;
    }
    shared_->wake.notify_all();
    if (!worker_.joinable()) return;
    // A tick on the worker that stops its own timer cannot join itself: the worker sees the
    // flag once the tick returns and ends alone, keeping the shared state alive until then.
    if (worker_.get_id() == std::this_thread::get_id())
        worker_.detach();
    else
        worker_.join();
}

void TKitThreadedTimer::Execute(const std::shared_ptr<TShared>& shared, uint16_t sleepTime,
                                TTickReceiver* sync) {
    TShared& s = *shared;
    std::unique_lock lock(s.mutex);
    while (!s.StopTest()) {
        // Relative sleep, as the worker path always did; a terminate wakes it at once.
        if (s.wake.wait_for(lock, std::chrono::milliseconds(sleepTime), [&s] { return s.terminated; })) break;
        if (s.StopTest() || !s.owner->Enabled()) continue;
        if (s.owner->Synchronize) {
            const uint32_t ticket = ++s.posted;
            sync->Post(ticket);
            s.wake.wait(lock, [&] { return s.terminated || s.done >= ticket; });
        } else {
            lock.unlock();
            // An exception leaving a thread ends the process: a failed tick is logged instead,
            // by the GUI thread, which owns the log.
            std::string failure;
            try {
                s.owner->DoTimer();
            } catch (const std::exception& e) {
                failure = std::string("#timer tick failed: ") + e.what();
            } catch (...) {
                failure = "#timer tick failed";
            }
            if (!failure.empty())
                QMetaObject::invokeMethod(
                    QCoreApplication::instance(), [failure] { DebugLog(failure); }, Qt::QueuedConnection);
            lock.lock();
        }
    }
}

// ---- The component ----

TKitHiTimer::TKitHiTimer(QObject* owner) : TKitCustomComponent(owner) {
    std::tie(periodMin_, periodMax_) = GetPeriodRange();
}

TKitHiTimer::~TKitHiTimer() {
    destroying_ = true;
    onTimer_ = nullptr;
    UpdateTimer();
    enabled_ = false;
    timerWindow_.reset();
}

std::pair<uint32_t, uint32_t> TKitHiTimer::GetPeriodRange() {
    return {1, 1000000};
}

void TKitHiTimer::SetEnabled(bool value) {
    if (value == enabled_) return;
    enabled_ = value;
    UpdateTimer();
}

void TKitHiTimer::SetInterval(uint32_t value) {
    if (value == interval_) return;
    interval_ = value < periodMin_ ? periodMin_ : value > periodMax_ ? periodMax_ : value;
    UpdateTimer();
}

void TKitHiTimer::SetOnTimer(TNotifyEvent handler) {
    onTimer_ = std::move(handler);
    UpdateTimer();
}

void TKitHiTimer::SetThreadPriority(TThreadPriority value) {
    if (value == priority_) return;
    priority_ = value;
    if (useThread_) UpdateTimer();
}

void TKitHiTimer::SetUseThread(bool value) {
    if (value == useThread_) return;
    useThread_ = value;
    UpdateTimer();
}

void TKitHiTimer::DoTimer() {
    if (onTimer_) onTimer_(this);
}

void TKitHiTimer::UpdateTimer() {
    thread_.reset();
    if (eventId_ != 0) {
        ticker_.reset();
        eventId_ = 0;
    }
    if (destroying_) return;
    if (useThread_) {
        timerWindow_.reset();
        if (enabled_ && onTimer_) {
            thread_ = std::make_unique<TKitThreadedTimer>(this);
            thread_->SleepTime = static_cast<uint16_t>(interval_ & 0xFFFF);
            thread_->Priority = priority_;
            thread_->Resume();
        }
        return;
    }
    if (!timerWindow_) {
        timerWindow_ = std::make_unique<TTickReceiver>();
        timerWindow_->OnTick = [this](uint32_t id) { TimerWndProc(id); };
    }
    if (interval_ != 0 && enabled_ && onTimer_) {
        const uint32_t id = ++lastEventId_ == 0 ? ++lastEventId_ : lastEventId_;
        auto ticker = std::make_unique<TTickThread>();
        TTickReceiver* window = timerWindow_.get();
        try {
            ticker->Start(std::chrono::milliseconds(interval_), [window, id] { window->Post(id); });
        } catch (const std::system_error&) {
            throw std::runtime_error("Not enough timers available");
        }
        ticker_ = std::move(ticker);
        eventId_ = id;
        busy_ = false;
    }
}

void TKitHiTimer::TimerWndProc(uint32_t id) {
    // Ticks of an earlier arming (queued before a stop) carry an old id and are lost.
    if (id == 0 || id != eventId_) return;
    if (busy_) return;
    busy_ = true;
    try {
        DoTimer();
    } catch (const std::exception& e) {
        DebugLog(std::string("#timer tick failed: ") + e.what());
    } catch (...) {
        DebugLog("#timer tick failed");
    }
    // Cleared even after a failed tick, or the clock would freeze until re-armed.
    busy_ = false;
}

} // namespace quorlet
