#include "core/programfolder.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "core/debuglog.h"
#include "core/safewrite.h"
#include "core/uihooks.h"

namespace quorlet {

namespace {

// The files the program itself rewrites in its folder.
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

void RemoveStaleTemporaries(const std::string& folder) {
    std::error_code ec;
    for (const char* name : kOwnFiles) {
        const std::string path = folder + name;
        RemoveStaleSafeWriteTemps(path);
        // Earlier versions wrote a fixed "name.tmp"; a left-over one is never the player's file.
        std::filesystem::remove(path + ".tmp", ec);
    }
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
    RemoveStaleTemporaries(folder);
    return folder;
}

} // namespace quorlet
