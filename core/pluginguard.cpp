#include "core/pluginguard.h"

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <system_error>

#include "core/debuglog.h"
#include "core/fileread.h"
#include "core/safewrite.h"
#include "core/shell.h"

namespace quorlet {

const char* const kPluginMarkerName = "_plugin_marker.txt";

namespace {

// A marker is a few lines; anything bigger is not one.
constexpr std::size_t kMaxMarkerBytes = 64 * 1024;

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

bool PercentDecode(const std::string& text, std::string& out) {
    out.clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (i + 2 >= text.size()) return false;
        const int high = HexDigit(text[i + 1]), low = HexDigit(text[i + 2]);
        if (high < 0 || low < 0) return false;
        out += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return !out.empty();
}

// The size and time of a library file; false when it cannot be read.
bool FileStamp(const std::string& path, uint64_t& size, int64_t& modified) {
    std::error_code ec;
    const std::filesystem::path file = std::filesystem::u8path(path);
    size = std::filesystem::file_size(file, ec);
    if (ec) return false;
    const auto time = std::filesystem::last_write_time(file, ec);
    if (ec) return false;
    modified = static_cast<int64_t>(time.time_since_epoch().count());
    return true;
}

} // namespace

std::string PluginMarkerText(const std::vector<TPluginMark>& marks) {
    std::string text;
    for (const TPluginMark& m : marks)
        text += std::string(m.broken ? "broken " : "loading ") + std::to_string(m.size) + " " +
                std::to_string(m.modified) + " " + PercentEncode(m.name) + "\n";
    return text;
}

std::vector<TPluginMark> ParsePluginMarker(const std::string& text) {
    std::vector<TPluginMark> marks;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string state, name, rest;
        TPluginMark m;
        if (!(fields >> state >> m.size >> m.modified >> name) || (fields >> rest)) continue;
        if ((state != "broken" && state != "loading") || !PercentDecode(name, m.name)) continue;
        if (m.name.find('/') != std::string::npos) continue;
        m.broken = state == "broken";
        marks.push_back(std::move(m));
    }
    return marks;
}

TPluginGuard::TPluginGuard(std::string programFolder, std::string pluginFolder)
    : markerPath_(programFolder + kPluginMarkerName), pluginFolder_(std::move(pluginFolder)) {
    std::vector<std::string> ended;
    std::string text;
    ReadRegularFile(markerPath_, kMaxMarkerBytes, text);
    for (TPluginMark& m : ParsePluginMarker(text)) {
        uint64_t size = 0;
        int64_t modified = 0;
        // A library the player took away needs no note; nor one noted twice.
        if (!FileStamp(pluginFolder_ + m.name, size, modified)) continue;
        if (std::any_of(marks_.begin(), marks_.end(), [&](const TPluginMark& k) { return k.name == m.name; }))
            continue;
        if (!m.broken) ended.push_back(m.name);
        m.broken = true;
        marks_.push_back(std::move(m));
    }
    // Noted before the message: a start that dies at the message does not show it again.
    Write();
    if (ended.empty()) return;
    std::string names;
    for (const std::string& name : ended)
        names += (names.empty() ? "\"" : ", \"") + name + "\"";
    ShowMessageBox("The plug-in " + names +
                   " ended the last start of the program and is not loaded.\r\n\r\nReplace the file in the "
                   "\"plugins\" folder to use it again.");
}

bool TPluginGuard::MayStart(const std::string& name) {
    TPluginMark now{name, 0, 0, false};
    const bool stamped = FileStamp(pluginFolder_ + name, now.size, now.modified);
    const auto noted = std::find_if(marks_.begin(), marks_.end(),
                                    [&](const TPluginMark& m) { return m.broken && m.name == name; });
    if (noted != marks_.end()) {
        if (!stamped || (noted->size == now.size && noted->modified == now.modified)) {
            DebugLog("#plugin skipped: \"" + name + "\" ended an earlier start");
            return false;
        }
        marks_.erase(noted); // replaced: it gets another chance
    }
    marks_.push_back(std::move(now));
    Write();
    return true;
}

void TPluginGuard::Started() {
    if (marks_.empty() || marks_.back().broken) return;
    marks_.pop_back();
    Write();
}

void TPluginGuard::Write() {
    if (marks_.empty()) {
        std::error_code ec;
        std::filesystem::remove(std::filesystem::u8path(markerPath_), ec);
        if (ec) DebugLog("#plugin marker not removed: " + ec.message());
        return;
    }
    std::string error;
    if (!SafeWriteFile(markerPath_, PluginMarkerText(marks_), &error))
        DebugLog("#plugin marker not written: " + error);
}

} // namespace quorlet
