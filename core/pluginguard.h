// The plug-in marker: plug-ins run inside the program, so one whose start-up crashes ends the
// program with it. Before a library is loaded its name, size and time are noted in
// "_plugin_marker.txt" in the program folder and taken out again once its InitPlugin has
// returned; a note left behind names the library that ended the start, and later starts skip
// it until the player replaces the file (another size or modification time).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quorlet {

extern const char* const kPluginMarkerName;

struct TPluginMark {
    std::string name; // the library's file name in the plug-in folder
    uint64_t size = 0;
    int64_t modified = 0; // modification time, in the file system's ticks
    bool broken = false;  // it ended a start already (false: being started now)
};

// The marker's text, one entry a line: "loading" or "broken", the size, the time and the
// percent-encoded name. Lines that do not read are dropped.
std::string PluginMarkerText(const std::vector<TPluginMark>& marks);
std::vector<TPluginMark> ParsePluginMarker(const std::string& text);

class TPluginGuard {
  public:
    // Reads the marker of `programFolder` for the libraries of `pluginFolder` (both with a
    // trailing "/"). A library the marker names as being started ended the last start: it is
    // now broken, which the marker keeps, and one message names every such library. Entries of
    // libraries no longer in the folder are dropped.
    TPluginGuard(std::string programFolder, std::string pluginFolder);

    // Before the library `name` is loaded. False when it is broken and the same file is still
    // there (logged with "#"); else the marker names it until Started() is called, and a broken
    // entry of an older file of that name is dropped.
    bool MayStart(const std::string& name);
    // The library's start is over (InitPlugin returned or threw, or it was no plug-in).
    void Started();

  private:
    void Write();

    std::string markerPath_;
    std::string pluginFolder_;
    std::vector<TPluginMark> marks_; // the broken ones, and at the end the one being started
};

} // namespace quorlet
