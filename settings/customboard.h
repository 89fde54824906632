// The rules of the custom board dialog: the mine limit, the density text, the checks of Apply,
// the standard sizes, and the board presets ("WxH-Mmines_(density).qbp" in "board_presets").
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quorlet {

inline constexpr int kCustomMinSide = 8;
inline constexpr int kCustomMaxSide = 30;

// Trunc(w x h x 0.99), in whole numbers: 63 on 8 x 8, 891 on 30 x 30.
int MaxCustomMines(int width, int height);

// The key of the interface text Apply shows for values it refuses, or empty when they are good
// (width first, then height, then mines).
std::string CustomBoardError(int width, int height, int mines);

// The standard level (0..2) whose size and mines these are, or nothing.
std::optional<uint8_t> StandardLevelOf(int width, int height, int mines);

// ---- Board presets ----

inline constexpr const char* kBoardPresetBody = "Quorlet Custom Board Preset\r\nversion=0.47\r\n";

// Options.LastPath + "board_presets/" (one separator).
std::string BoardPresetsFolder();
// Creates the folder when missing. False (logged with "#" + "Cannot create folder", and the
// message with the folder shown) when it cannot be made.
bool EnsureBoardPresetsFolder();
// "16x16-40mines_(15,625).qbp" (the density as DensityText writes it).
std::string BoardPresetFileName(int width, int height, int mines);
// Width, height and mines read from a preset's file name (its folder is ignored); nothing when
// the name is not a preset's.
struct TBoardPreset {
    int width = 0;
    int height = 0;
    int mines = 0;
};
std::optional<TBoardPreset> ParseBoardPresetName(const std::string& fileName);
// Writes the preset file (replacing one of the same name). False after logging "#" + "Cannot
// save file" and showing it.
bool SaveBoardPreset(int width, int height, int mines);
// The names of the files in the presets folder whose name holds ".qbp" (any case), sorted;
// nothing when the folder cannot be read.
std::optional<std::vector<std::string>> ListBoardPresets();
// Deletes one preset by its name in the folder; a failure is silent.
void DeleteBoardPreset(const std::string& fileName);

} // namespace quorlet
