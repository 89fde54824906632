#include "core/shell.h"

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "core/FData.h"
#include "core/boardfile.h"
#include "core/debuglog.h"
#include "core/safewrite.h"
#include "core/uihooks.h"
#include "settings/FCap.h"

extern char** environ;

namespace quorlet {

const char* const kHomepageUrl = "https://quorlet.example.org/";
const char* const kFeedbackAddress = "feedback@quorlet.example.org";
const char* const kCommunitySite1Url = "https://community.example.org/minesweeper";
const char* const kCommunityGuestbookUrl = "https://community.example.org/guestbook";
const char* const kCommunityRankingUrl = "https://community.example.org/index.php?page=scores&menu=15";
const char* const kCommunitySite2Url = "https://players.example.org/";
const char* const kChatServerHost = "irc.example.org";

std::string PercentEncode(const std::string& text) {
    static const char* const kHex = "0123456789ABCDEF";
    std::string out;
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
            c == '_' || c == '~') {
            out += ch;
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

std::string FeedbackMailUrl(const std::string& playerName) {
    return std::string("mailto:") + kFeedbackAddress + "?subject=" +
           PercentEncode("Minesweeper Quorlet 0.47 feedback by " + playerName);
}

std::string DesktopExecArgument(const std::string& argument) {
    static const std::string kReserved = " \t\n\"'\\><~|&;$*?#()`";
    std::string out;
    const bool quote = argument.empty() || argument.find_first_of(kReserved) != std::string::npos;
    for (const char ch : argument) {
        if (quote && (ch == '"' || ch == '`' || ch == '$' || ch == '\\')) out += '\\';
        out += ch;
        if (ch == '%') out += '%';
    }
    return quote ? '"' + out + '"' : out;
}

std::string DesktopEntryValue(const std::string& value) {
    std::string out;
    for (const char ch : value) {
        switch (ch) {
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        case '\r': out += "\\r"; break;
        default: out += ch;
        }
    }
    return out;
}

std::string DesktopShortcutText(const std::string& target, const std::string& arguments, const std::string& icon) {
    std::string exec = DesktopExecArgument(target);
    std::size_t at = 0;
    while ((at = arguments.find_first_not_of(" \t", at)) != std::string::npos) {
        const std::size_t end = arguments.find_first_of(" \t", at);
        exec += ' ' + DesktopExecArgument(arguments.substr(at, end - at));
        at = end;
    }
    const std::string folder = std::filesystem::u8path(target).parent_path().string();
    std::string text = "[Desktop Entry]\nType=Application\nVersion=1.0\nName=Minesweeper Quorlet\n";
    text += "Exec=" + DesktopEntryValue(exec) + "\n";
    text += "Path=" + DesktopEntryValue(folder) + "\n";
    if (!icon.empty()) text += "Icon=" + DesktopEntryValue(icon) + "\n";
    text += "Terminal=false\nCategories=Game;LogicGame;\n";
    return text;
}

bool CreateDesktopShortcut(const std::string& target, const std::string& linkFile, const std::string& arguments) {
    try {
        std::filesystem::path link = std::filesystem::u8path(linkFile);
        link.replace_extension(".desktop");
        std::error_code ec;
        // No desktop folder is made: a desktop that has none shows no launchers either.
        const std::string folder = link.parent_path().string();
        if (!std::filesystem::is_directory(link.parent_path(), ec)) {
            DebugLog("desktop shortcut creation fail");
            DebugLog("#" + UIText("0293") + " " + folder);
            ShowMessageBox(UIText("0293") + "\r\n" + folder);
            return false;
        }
        std::filesystem::remove(link, ec);
        const std::string icon = UiHooks.ProgramIconFile ? UiHooks.ProgramIconFile() : std::string();
        std::string error;
        if (!SafeWriteFile(link.string(), DesktopShortcutText(target, arguments, icon), &error) ||
            ::chmod(link.c_str(), 0755) != 0) {
            DebugLog("desktop shortcut creation fail");
            ReportFileSaveFailure(link.string(), error.empty() ? "not made executable" : error);
            return false;
        }
        return true;
    } catch (...) {
        DebugLog("desktop shortcut creation fail");
        return false;
    }
}

std::string ExecutablePath() {
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : self.string();
}

std::string FindExecutableInPath(const std::string& name) {
    const char* path = std::getenv("PATH");
    if (!path || name.empty() || name.find('/') != std::string::npos) return {};
    const std::string folders = path;
    std::size_t at = 0;
    while (at <= folders.size()) {
        std::size_t end = folders.find(':', at);
        if (end == std::string::npos) end = folders.size();
        const std::string folder = folders.substr(at, end - at);
        if (!folder.empty()) {
            const std::string file = folder + "/" + name;
            struct stat info {};
            if (::stat(file.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(file.c_str(), X_OK) == 0)
                return file;
        }
        at = end + 1;
    }
    return {};
}

bool RunDesktopTool(const std::vector<std::string>& argv) {
    if (argv.empty()) return false;
    const std::string file = FindExecutableInPath(argv[0]);
    if (file.empty()) return false;
    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid = 0;
    if (::posix_spawn(&pid, file.c_str(), nullptr, nullptr, args.data(), environ) != 0) return false;
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0)
        if (errno != EINTR) return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace quorlet
