#include "platform/warmup.h"

#include <QDBusConnection>

#include <dlfcn.h>

#include <utility>

namespace quorlet {

TWarmUp::TWarmUp(std::function<void()> step) : thread_(std::move(step)) {}

TWarmUp::~TWarmUp() {
    Wait();
}

void TWarmUp::Wait() {
    if (thread_.joinable()) thread_.join();
}

void ReadFontConfiguration() {
    using TFcInit = int (*)();
    if (const auto init = reinterpret_cast<TFcInit>(::dlsym(RTLD_DEFAULT, "FcInit"))) init();
}

#if defined(__SANITIZE_ADDRESS__)
#define QUORLET_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QUORLET_ADDRESS_SANITIZER 1
#endif
#endif

void ConnectSessionBus() {
#if defined(QUORLET_ADDRESS_SANITIZER)
    // With no bus address given, the bus library forks a launcher from its own thread, and the
    // sanitizer's allocator does not hold its lock across a fork: the child hangs for good if
    // the main thread was allocating at that moment. The main thread connects when it needs to.
    return;
#else
    QDBusConnection::sessionBus();
#endif
}

} // namespace quorlet
