// The kit units' start-up and shutdown, run around the program's windows: the application
// object with its pool, lock and settings control, the version flags and the theme watcher.
#pragma once

namespace quorlet {

// After the application instance exists and before the main window. Calling it twice keeps
// the first objects.
void KitStartup();
// Frees what KitStartup made, in the reverse order; harmless when nothing was made.
void KitShutdown();

} // namespace quorlet

namespace quorlet {

// KitStartup on construction, KitShutdown on destruction: declared before the windows, the
// kit's objects outlive them on every way out of main.
class TKitStartupScope {
  public:
    TKitStartupScope() { KitStartup(); }
    ~TKitStartupScope() { KitShutdown(); }
    TKitStartupScope(const TKitStartupScope&) = delete;
    TKitStartupScope& operator=(const TKitStartupScope&) = delete;
};

} // namespace quorlet
