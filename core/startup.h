// The main window's start-up sequence as engine rules: the counted steps with their one
// failure report, and the command line's first argument.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace quorlet {

struct TStartupStep {
    // How far the step advances the start-up counter (the number the failure report shows).
    uint8_t advances = 1;
    // False ends start-up at once, as refused (another instance runs): no further step runs.
    std::function<bool()> run;
};

enum class TStartupResult : uint8_t {
    Completed,
    // A step failed: reported with the counter, the remaining steps skipped; the program runs
    // on with what was set up.
    Failed,
    Refused,
};

// Runs the steps in order, the counter starting at `first`. An exception leaving a step is
// reported by ReportStartupFailure with the counter as it stood when the step began. `counter`
// (when given) gets the counter where the steps ended, so a start run in two parts counts on.
TStartupResult RunStartupSteps(const std::vector<TStartupStep>& steps, uint8_t first = 0,
                               uint8_t* counter = nullptr);

// "an unknown error #" + step + " occured at the program process launch" in the debug log, the
// log saved to its dated file, and the message "Unknown error #" + step + " occured. Trying to
// process.".
void ReportStartupFailure(uint8_t step);

// The first command-line argument: "DEBUGMODE" in any case sets DebugModeFlag; an existing
// file ending in ".QVF" (any case) is kept in StartupVideoFile with ReplayMode := 1; an
// existing file with another ending shows the not-a-video message; otherwise (no file of that
// name, or a folder) StartupVideoFile is cleared silently.
void ClassifyStartupArgument(const std::string& argument);

} // namespace quorlet
