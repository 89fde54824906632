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

void ConnectSessionBus() {
    QDBusConnection::sessionBus();
}

} // namespace quorlet
