#include "core/programfolder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <system_error>
#include <vector>

#include "core/debuglog.h"
#include "core/safewrite.h"
#include "core/uihooks.h"

namespace quorlet {

namespace {

// The files the program itself rewrites in its folder; earlier versions wrote each through a
// fixed "name.tmp".
constexpr const char* kOwnFiles[] = {
    "quorlet.dat", "stats.dat", "_counter_template.txt", "_english.lng", "_debug_protocol_last.txt",
};

} // namespace

std::string ResolveProgramFolder(std::string* problem) {
    namespace fs = std::filesystem;
    fs::path dir;
    if (const char* home = std::getenv("QUORLET_HOME"); home && *home) {
        dir = home;
    } else if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg) {
        dir = fs::path(xdg) / "quorlet";
    } else if (const char* user = std::getenv("HOME"); user && *user) {
        dir = fs::path(user) / ".local" / "share" / "quorlet";
    } else {
        // Not the folder the process happens to run in: its files are not the player's.
        if (problem) *problem = "no home folder is set (HOME, XDG_DATA_HOME and QUORLET_HOME are empty)";
        return {};
    }
    std::error_code ec;
    if (dir.is_relative()) dir = fs::absolute(dir, ec);
    fs::create_directories(dir, ec);
    std::error_code isDir;
    if (ec || !fs::is_directory(dir, isDir)) {
        if (problem)
            *problem = "\"" + dir.string() + "\": " +
                       (ec ? ec.message() : std::string("it is not a folder"));
        return {};
    }
    std::string s = dir.lexically_normal().string();
    if (s.empty() || s.back() != '/') s += '/';
    return s;
}

namespace {

bool IsOwnFixedTemporary(const std::string& name) {
    for (const char* own : kOwnFiles)
        if (name == std::string(own) + ".tmp") return true;
    return false;
}

// Removes the temporaries among the entries of one folder; returns its subfolders.
std::vector<std::string> RemoveTemporariesIn(const std::string& folder, bool top, bool keepYoung) {
    namespace fs = std::filesystem;
    std::vector<std::string> subfolders;
    const std::time_t now = std::time(nullptr);
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        std::error_code type;
        if (top && it->is_directory(type) && !it->is_symlink(type)) subfolders.push_back(folder + name + "/");
        if (!IsSafeWriteTempName(name) && !(top && IsOwnFixedTemporary(name))) continue;
        const std::string path = folder + name;
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
        if (keepYoung && now - st.st_mtime < kLiveTemporarySeconds) continue;
        ::unlink(path.c_str());
    }
    return subfolders;
}

} // namespace

void RemoveStaleTemporaries(const std::string& folder, bool anotherInstanceMayRun) {
    if (folder.empty()) return;
    const std::string top = folder.back() == '/' ? folder : folder + "/";
    for (const std::string& subfolder : RemoveTemporariesIn(top, true, anotherInstanceMayRun))
        RemoveTemporariesIn(subfolder, false, anotherInstanceMayRun);
}

std::string OpenProgramFolder() {
    std::string problem;
    const std::string folder = ResolveProgramFolder(&problem);
    if (folder.empty()) {
        DebugLog("#no program folder: " + problem);
        ShowMessageBox("The program folder cannot be used: " + problem +
                       ".\r\n\r\nYou can play, but no game, setting or record will be saved.");
        return {};
    }
    return folder;
}

} // namespace quorlet
