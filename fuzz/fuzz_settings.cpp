// libFuzzer target: arbitrary bytes as "quorlet.dat" and as a language file, each read once.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/FData.h"
#include "settings/FCap.h"
#include "settings/settingsfile.h"

namespace {

const std::string& Folder() {
    static const std::string folder = [] {
        char shm[] = "/dev/shm/quorlet-fuzz-settings-XXXXXX";
        char tmp[] = "/tmp/quorlet-fuzz-settings-XXXXXX";
        const char* made = ::mkdtemp(shm);
        if (!made) made = ::mkdtemp(tmp);
        if (!made) return std::string("/tmp/");
        static const std::string path = made;
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(path, ec);
        });
        return path + "/";
    }();
    return folder;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace quorlet;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    // Rejected files are moved aside under numbered names: start each input from an empty folder.
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(Folder(), ec))
        std::filesystem::remove_all(entry.path(), ec);

    Options = tOptionsSet{};
    Options.LastPath = Folder();
    std::ofstream(Folder() + kSettingsFileName, std::ios::binary) << bytes;
    LoadSettings();

    Options.langFileName = "fuzz.lng";
    std::ofstream(Folder() + Options.langFileName, std::ios::binary) << bytes;
    LoadLanguageFile();
    return 0;
}
