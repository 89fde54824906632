// A periodic tick on its own thread. It sleeps to absolute steady_clock deadlines, so late
// wake-ups do not accumulate into drift, and calls back on that thread: the callback must do
// nothing but hand the tick over (post an event).
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

namespace quorlet {

class TTickThread {
  public:
    using TCallback = std::function<void()>;

    TTickThread() = default;
    TTickThread(const TTickThread&) = delete;
    TTickThread& operator=(const TTickThread&) = delete;
    ~TTickThread();

    // Stops any running tick, then fires onTick every interval (first one interval from now).
    void Start(std::chrono::microseconds interval, TCallback onTick);
    // Wakes the thread and joins it: no callback runs once this returns.
    void Stop();
    bool Running() const { return worker_.joinable(); }

  private:
    void Run(std::chrono::microseconds interval, TCallback onTick);

    std::thread worker_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stop_ = false;
};

} // namespace quorlet
