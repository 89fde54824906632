// libFuzzer target: arbitrary bytes as "_autosave_template.txt", loaded, then the decision for
// one fixed game and, when a rule saves, its folder and file name.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/FData.h"
#include "fuzz/fuzz_folder.h"
#include "core/autosave.h"
#include "core/nametemplate.h"

namespace {

const std::string& Folder() {
    return FuzzFolder("autosave");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace quorlet;
    EmptyFuzzFolder(Folder());

    Options = tOptionsSet{};
    Options.LastPath = Folder();
    Options.BegName = "Beg";
    Options.ReplayName = "Ann";
    std::ofstream(AutosaveTemplatePath(), std::ios::binary)
        << std::string(reinterpret_cast<const char*>(data), size);
    LoadAutosaveTemplate();

    // A Beginner game won in 9.80 s, 3BV 20.
    GameLevel = glBeginner;
    GameClock = {9, 80};
    Board3BV = Solved3BV = 20;
    if (const auto first = FindAutosaveRule(AutosaveTemplateLines, CurrentAutosaveFacts())) {
        const std::string folder = AutosaveFolder(AutosaveTemplateLines[*first + 2]);
        (void)ExpandNameTemplate(AutosaveTemplateLines[*first + 1], folder);
    }
    return 0;
}
