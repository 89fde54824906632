// The program folder of a fuzz target: a fresh temporary folder, memory-backed when there is
// one (damaged inputs make synced copies), removed when the run ends so that nothing piles up.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

// The folder with a trailing "/", made on the first call; `target` names it.
inline const std::string& FuzzFolder(const std::string& target) {
    static const std::string folder = [&] {
        std::string shm = "/dev/shm/quorlet-fuzz-" + target + "-XXXXXX";
        std::string tmp = "/tmp/quorlet-fuzz-" + target + "-XXXXXX";
        const char* made = ::mkdtemp(shm.data());
        if (!made) made = ::mkdtemp(tmp.data());
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

// Empties the folder, so that each input starts from nothing.
inline void EmptyFuzzFolder(const std::string& folder) {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec))
        std::filesystem::remove_all(entry.path(), ec);
}
