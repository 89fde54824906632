// A test plug-in whose InitPlugin throws.
#include <stdexcept>

#include "app/quorlet_plugin.h"

extern "C" __attribute__((visibility("default"))) void InitPlugin(TIPluginDemo*) {
    throw std::runtime_error("broken plug-in");
}
