#include "settings/debugcommand.h"

#include <algorithm>
#include <cctype>
#include <functional>
#include <string_view>

#include "core/debuglog.h"
#include "core/metrics.h"
#include "core/sysinfo.h"
#include "settings/fileassoc.h"

namespace quorlet {

namespace {

std::string Upper(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

struct TCommand {
    const char* name;
    std::function<void()> run;
};

// In the order the typed text is tested.
const std::array<TCommand, 12>& Commands() {
    static const std::array<TCommand, 12> commands = {{
        {"session_info", [] { LogDebugSessionInfo(); }},
        {"help", [] { DebugLog("please read the help file for more information"); }},
        {"beg_3bv_distribution_table_full", [] { Calc3BVDistributionBeginner(1000000); }},
        {"int_3bv_distribution_table_full", [] { Calc3BVDistributionIntermediate(1000000); }},
        {"exp_3bv_distribution_table_full", [] { Calc3BVDistributionExpert(1000000); }},
        {"beg_3bv_distribution_table_easy", [] { Calc3BVDistributionBeginner(100000); }},
        {"int_3bv_distribution_table_easy", [] { Calc3BVDistributionIntermediate(100000); }},
        {"exp_3bv_distribution_table_easy", [] { Calc3BVDistributionExpert(100000); }},
        {"custom_3bv_distribution_table", [] { Calc3BVDistributionCustom(); }},
        {"get_cpu_speed", [] { LogCpuSpeed(); }},
        {"grab_remote_systeminfo", [] { DebugCmdRemoteSystemInfo(); }},
        {"grab_remote_processlist", [] { DebugCmdRemoteProcessList(); }},
    }};
    return commands;
}

} // namespace

std::optional<TCompletion> CompleteDebugCommand(const std::string& text) {
    if (text.empty()) return std::nullopt;
    const std::string typed = Upper(text);
    for (const char* entry : kDebugCommands) {
        const std::string upper = Upper(entry);
        if (upper.compare(0, typed.size(), typed) == 0 && typed.size() <= upper.size())
            return TCompletion{entry, text.size(), upper.size() - text.size()};
    }
    return std::nullopt;
}

TCompletion DebugCommandBackspace(const std::string& text, std::size_t caret) {
    caret = std::min(caret, text.size());
    const std::string kept = text.substr(0, caret > 0 ? caret - 1 : 0);
    if (std::optional<TCompletion> done = CompleteDebugCommand(kept)) return *done;
    return TCompletion{kept, kept.size(), 0};
}

void RunDebugCommand(const std::string& text) {
    DebugLog("processing debug command \"" + Lower(text) + "\"");
    for (const TCommand& command : Commands())
        if (text == command.name) {
            command.run();
            return;
        }
    DebugLog("unknown debug command \"" + Lower(text) + "\"");
}

} // namespace quorlet
