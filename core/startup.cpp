#include "core/startup.h"

#include <filesystem>
#include <system_error>

#include "core/FData.h"
#include "core/debuglog.h"
#include "core/textutil.h"

namespace quorlet {

TStartupResult RunStartupSteps(const std::vector<TStartupStep>& steps, uint8_t first, uint8_t* reached) {
    uint8_t counter = first;
    TStartupResult result = TStartupResult::Completed;
    try {
        for (const TStartupStep& step : steps) {
            if (step.run && !step.run()) {
                result = TStartupResult::Refused;
                break;
            }
            counter = static_cast<uint8_t>(counter + step.advances);
        }
    } catch (...) {
        ReportStartupFailure(counter);
        result = TStartupResult::Failed;
    }
    if (reached) *reached = counter;
    return result;
}

void ReportStartupFailure(uint8_t step) {
    const std::string number = std::to_string(step);
    DebugLog("an unknown error #" + number + " occured at the program process launch");
    SaveDebugLog();
    ShowMessageBox("Unknown error #" + number + " occured. Trying to process.");
}

void ClassifyStartupArgument(const std::string& argument) {
    StartupVideoFile = argument;
    if (AsciiUpperCase(argument) == "DEBUGMODE") DebugModeFlag = 1;
    if (argument.empty()) return;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(argument, ec)) {
        StartupVideoFile.clear();
    } else if (argument.size() >= 4 && AsciiUpperCase(argument.substr(argument.size() - 4)) == ".QVF") {
        // The playback bar plays it once playback exists.
        ReplayMode = 1;
    } else {
        ShowMessageBox("File \"" + argument + "\"\r\n\r\nis not a Quorlet Video File (.QVF)");
        StartupVideoFile.clear();
    }
}

} // namespace quorlet
