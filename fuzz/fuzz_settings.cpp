// libFuzzer target: arbitrary bytes as "quorlet.dat" and as a language file, each read once.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/FData.h"
#include "fuzz/fuzz_folder.h"
#include "settings/FCap.h"
#include "settings/settingsfile.h"

namespace {

const std::string& Folder() {
    return FuzzFolder("settings");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace quorlet;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    // Rejected files are moved aside under numbered names: start each input from an empty folder.
    EmptyFuzzFolder(Folder());

    Options = tOptionsSet{};
    Options.LastPath = Folder();
    std::ofstream(Folder() + kSettingsFileName, std::ios::binary) << bytes;
    LoadSettings();

    Options.langFileName = "fuzz.lng";
    std::ofstream(Folder() + Options.langFileName, std::ios::binary) << bytes;
    LoadLanguageFile();
    return 0;
}
