// Slow steps of the start that need no window: each runs on a thread of its own while the
// start goes on, so that the first window finds them done.
#pragma once

#include <functional>
#include <thread>

namespace quorlet {

// Runs `step` on its own thread; the thread is joined by Wait or when the object goes.
class TWarmUp {
  public:
    explicit TWarmUp(std::function<void()> step);
    ~TWarmUp();
    TWarmUp(const TWarmUp&) = delete;
    TWarmUp& operator=(const TWarmUp&) = delete;

    void Wait();

  private:
    std::thread thread_;
};

// Reads the system's font configuration, the largest single cost of the first text measured.
// The font library is the one Qt's GUI library loaded, looked up rather than linked: its
// initialisation may run on any thread, and Qt's own call then finds it done.
void ReadFontConfiguration();

// Connects to the desktop's session bus, which the accessibility bridge otherwise does, and
// waits for, at the first text put on a widget. Needs the application object.
void ConnectSessionBus();

} // namespace quorlet
