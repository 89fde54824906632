// The things a player's folder can hold in a file's place after a mistake, for the tests of
// the readers that must refuse them at once.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace quorlet::test {

struct TOddFile {
    const char* what;
    // Makes the thing at `path`; `folder` (with a trailing "/") may hold what a link points to.
    std::function<void(const std::string& path, const std::string& folder)> make;
};

inline std::vector<TOddFile> OddFiles() {
    namespace fs = std::filesystem;
    auto sized = [](uintmax_t size) {
        return [size](const std::string& path, const std::string&) {
            std::ofstream(path) << "A|1\r\n";
            fs::resize_file(path, size); // sparse: the size costs no disk
        };
    };
    return {
        {"a folder",
         [](const std::string& path, const std::string&) { fs::create_directories(path + "/inside"); }},
        {"a link to a folder",
         [](const std::string& path, const std::string& folder) {
             fs::create_directories(folder + "dir");
             fs::create_symlink("dir", path);
         }},
        {"a fifo", [](const std::string& path, const std::string&) { ::mkfifo(path.c_str(), 0600); }},
        {"a link to /dev/zero",
         [](const std::string& path, const std::string&) { fs::create_symlink("/dev/zero", path); }},
        {"one byte over 1 MiB", sized((uintmax_t{1} << 20) + 1)},
        {"a file of 64 MiB", sized(uintmax_t{64} << 20)},
        {"a file of 1 GiB", sized(uintmax_t{1} << 30)},
    };
}

} // namespace quorlet::test
