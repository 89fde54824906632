#include "settings/fileassoc.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "core/debuglog.h"
#include "core/safewrite.h"
#include "core/shell.h"
#include "core/uihooks.h"
#include "settings/FCap.h"

namespace quorlet {

const char* const kQvfMimeType = "application/x-quorlet-video";

namespace {

const char* const kMimePackage = "mime/packages/quorlet-qvf.xml";
const char* const kDesktopFile = "applications/quorlet.desktop";

bool WriteWithFolder(const std::string& path, const std::string& text, std::string& error) {
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::u8path(path).parent_path(), ec);
    return SafeWriteFile(path, text, &error);
}

} // namespace

std::string UserDataFolder() {
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && data[0] == '/') return data;
    if (const char* home = std::getenv("HOME"); home && home[0]) return std::string(home) + "/.local/share";
    return {};
}

std::string QvfMimePackageText() {
    return std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                       "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                       "  <mime-type type=\"") +
           kQvfMimeType +
           "\">\n"
           "    <comment>Minesweeper Quorlet Video File</comment>\n"
           "    <glob pattern=\"*.qvf\"/>\n"
           "  </mime-type>\n"
           "</mime-info>\n";
}

std::string QvfDesktopEntryText(const std::string& executable, const std::string& icon) {
    // Always quoted, so a path with blanks or shell characters stays one argument.
    std::string quoted = DesktopExecArgument(executable);
    if (quoted.empty() || quoted.front() != '"') quoted = '"' + quoted + '"';
    std::string text = "[Desktop Entry]\nType=Application\nVersion=1.0\nName=Minesweeper Quorlet\n";
    text += "Exec=" + DesktopEntryValue(quoted + " %f") + "\n";
    text += std::string("MimeType=") + kQvfMimeType + ";\n";
    if (!icon.empty()) text += "Icon=" + DesktopEntryValue(icon) + "\n";
    text += "Terminal=false\nNoDisplay=true\n";
    return text;
}

void RegisterVideoFileType() {
    const std::string data = UserDataFolder();
    const std::string executable = ExecutablePath();
    std::string error = data.empty() ? "no data folder" : executable.empty() ? "no executable path" : "";
    if (error.empty()) {
        const std::string icon = UiHooks.ProgramIconFile ? UiHooks.ProgramIconFile() : std::string();
        if (WriteWithFolder(data + "/" + kMimePackage, QvfMimePackageText(), error) &&
            WriteWithFolder(data + "/" + kDesktopFile, QvfDesktopEntryText(executable, icon), error))
            error.clear();
        else if (error.empty())
            error = "cannot write";
    }
    if (!error.empty()) {
        DebugLog("#" + UIText("0182") + ": " + error);
        ShowMessageBox(UIText("0182"));
        return;
    }
    // Each tool is optional: the files alone are found at the desktop's next refresh.
    RunDesktopTool({"update-mime-database", data + "/mime"});
    RunDesktopTool({"update-desktop-database", data + "/applications"});
    RunDesktopTool({"xdg-mime", "default", "quorlet.desktop", kQvfMimeType});
    ShowMessageBox(UIText("0181"));
}

void DebugCmdRemoteSystemInfo() {
    DebugLog("multiplayer under construction");
}

void DebugCmdRemoteProcessList() {
    DebugLog("multiplayer under construction");
}

} // namespace quorlet
