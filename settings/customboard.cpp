#include "settings/customboard.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "core/FData.h"
#include "core/debuglog.h"
#include "core/safewrite.h"
#include "settings/FCap.h"
#include "settings/languageapply.h"

namespace quorlet {

namespace {

namespace fs = std::filesystem;

std::string Upper(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

// A plain decimal number of at most six digits.
std::optional<int> PlainNumber(const std::string& text) {
    if (text.empty() || text.size() > 6) return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

} // namespace

int MaxCustomMines(int width, int height) {
    return width * height * 99 / 100;
}

std::string CustomBoardError(int width, int height, int mines) {
    if (width < kCustomMinSide || width > kCustomMaxSide) return "0042";
    if (height < kCustomMinSide || height > kCustomMaxSide) return "0043";
    if (mines <= 0 || mines > MaxCustomMines(width, height)) return "0044";
    return {};
}

std::optional<uint8_t> StandardLevelOf(int width, int height, int mines) {
    if (width == 8 && height == 8 && mines == 10) return uint8_t{0};
    if (width == 16 && height == 16 && mines == 40) return uint8_t{1};
    if (width == 30 && height == 16 && mines == 99) return uint8_t{2};
    return std::nullopt;
}

std::string BoardPresetsFolder() {
    std::string folder = Options.LastPath;
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder + "board_presets/";
}

bool EnsureBoardPresetsFolder() {
    const std::string folder = BoardPresetsFolder();
    std::error_code ec;
    if (!Options.LastPath.empty() && (fs::is_directory(fs::u8path(folder), ec) ||
                                      (fs::create_directories(fs::u8path(folder), ec) && !ec)))
        return true;
    DebugLog("#" + UIText("0292"));
    ShowMessageBox(UIText("0292") + "\r\n" + folder);
    return false;
}

std::string BoardPresetFileName(int width, int height, int mines) {
    return std::to_string(width) + "x" + std::to_string(height) + "-" + std::to_string(mines) + "mines_(" +
           DensityText(mines, width, height).substr(0, 6) + ").qbp";
}

std::optional<TBoardPreset> ParseBoardPresetName(const std::string& fileName) {
    const std::size_t slash = fileName.find_last_of('/');
    std::string name = slash == std::string::npos ? fileName : fileName.substr(slash + 1);
    const std::string upper = Upper(name);
    // 0-based positions of the Part's 1-based "position > n" tests.
    const auto after = [&](const char* what, std::size_t minimum) {
        const std::size_t at = upper.find(what);
        return at != std::string::npos && at >= minimum;
    };
    if (!after("X", 1) || !after("_(", 10) || !after("-", 3) || !after("MINES_(", 5)) return std::nullopt;
    TBoardPreset preset;
    std::string rest = upper;
    const std::size_t x = rest.find('X');
    const auto width = PlainNumber(rest.substr(0, x));
    rest.erase(0, x + 1);
    const std::size_t dash = rest.find('-');
    if (dash == std::string::npos) return std::nullopt;
    const auto height = PlainNumber(rest.substr(0, dash));
    rest.erase(0, dash + 1);
    const std::size_t mines = rest.find("MINES_(");
    if (mines == std::string::npos) return std::nullopt;
    const auto count = PlainNumber(rest.substr(0, mines));
    if (!width || !height || !count) return std::nullopt;
    return TBoardPreset{*width, *height, *count};
}

bool SaveBoardPreset(int width, int height, int mines) {
    if (!EnsureBoardPresetsFolder()) return false;
    std::string why;
    if (SafeWriteFile(BoardPresetsFolder() + BoardPresetFileName(width, height, mines), kBoardPresetBody, &why))
        return true;
    DebugLog("#" + UIText("0290"));
    if (!why.empty()) DebugLog("#" + why);
    ShowMessageBox(UIText("0290"));
    return false;
}

std::optional<std::vector<std::string>> ListBoardPresets() {
    std::vector<std::string> names;
    std::error_code ec;
    fs::directory_iterator it(fs::u8path(BoardPresetsFolder()), ec);
    if (ec) return std::nullopt;
    for (const fs::directory_entry& entry : it) {
        const std::string name = entry.path().filename().string();
        if (entry.is_regular_file(ec) && Upper(name).find(".QBP") != std::string::npos) names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

void DeleteBoardPreset(const std::string& fileName) {
    // Only a name inside the folder: a list entry never names a path.
    if (fileName.empty() || fileName.find('/') != std::string::npos) return;
    std::error_code ec;
    fs::remove(fs::u8path(BoardPresetsFolder() + fileName), ec);
}

} // namespace quorlet
