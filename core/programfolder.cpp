#include "core/programfolder.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace quorlet {

std::string ResolveProgramFolder() {
    namespace fs = std::filesystem;
    fs::path dir;
    if (const char* home = std::getenv("QUORLET_HOME"); home && *home) {
        dir = home;
    } else if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg) {
        dir = fs::path(xdg) / "quorlet";
    } else if (const char* user = std::getenv("HOME"); user && *user) {
        dir = fs::path(user) / ".local" / "share" / "quorlet";
    } else {
        dir = fs::current_path() / "quorlet";
    }
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (!fs::is_directory(dir, ec)) return {};
    std::string s = dir.lexically_normal().string();
    if (s.empty() || s.back() != '/') s += '/';
    return s;
}

} // namespace quorlet
