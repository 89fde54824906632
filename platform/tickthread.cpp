#include "platform/tickthread.h"

namespace quorlet {

TTickThread::~TTickThread() {
    Stop();
}

void TTickThread::Start(std::chrono::microseconds interval, TCallback onTick) {
    Stop();
    if (interval.count() <= 0) interval = std::chrono::microseconds(1);
    {
        std::lock_guard lock(mutex_);
        stop_ = false;
    }
    worker_ =
        std::thread([this, interval, cb = std::move(onTick)]() mutable { Run(interval, std::move(cb)); });
}

void TTickThread::Stop() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    if (worker_.joinable()) worker_.join();
}

void TTickThread::Run(std::chrono::microseconds interval, TCallback onTick) {
    using clock = std::chrono::steady_clock;
    auto deadline = clock::now() + interval;
    std::unique_lock lock(mutex_);
    while (!stop_) {
        if (wake_.wait_until(lock, deadline, [this] { return stop_; })) break;
        lock.unlock();
        if (onTick) onTick();
        lock.lock();
        deadline += interval;
        // After a long stall (suspend, debugger) start afresh instead of firing a burst.
        const auto now = clock::now();
        if (now - deadline > std::chrono::seconds(1)) deadline = now + interval;
    }
}

} // namespace quorlet
