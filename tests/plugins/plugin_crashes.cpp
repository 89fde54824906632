// A test plug-in whose InitPlugin crashes with a null write, ending the process.
#include "app/quorlet_plugin.h"

extern "C" __attribute__((visibility("default"))) void InitPlugin(TIPluginDemo*) {
    // Through a volatile pointer the compiler cannot see the null: a real write, a real crash.
    volatile int* volatile target = nullptr;
    *target = 1;
}
