// The settings file "quorlet.dat" in the program folder: sectioned key=value lines, CR LF, with a
// checksum line over the texts and cheat flags so that hand edits are noticed.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quorlet {

constexpr const char* kSettingsFileName = "quorlet.dat";

// Writes Options to the program folder (Options.LastPath) through a temporary file renamed over
// the old one, so a failed write leaves the previous file whole. Window positions come from the
// live windows where they exist, else from Options; Options is not changed. Also saves both
// templates. Logs, never throws. A failure (of the file or a template) also shows "Cannot save
// file", once, and returns false.
bool SaveSettings();

// Reads the settings file into Options, or applies the defaults when there is none. A file that
// fails its checksum or cannot be read is kept under a dated backup name and the defaults apply.
// Logs, never throws.
void LoadSettings();

// The checksum text of Options as it stands: byte sum of the texts, then the flag weights.
std::string MakeOptionsChecksum();

// The settings file's value forms.
std::string BoolToBitText(bool flag);
// True only for the exact text "1".
bool BitTextToBool(std::string_view text);
// The decimal value of text truncated to 8 bits; throws std::invalid_argument on anything that is
// not a whole number.
uint8_t TextToByte(std::string_view text);
int BoolToInt(bool flag);
int32_t BoolToChecksumWeight(bool flag);
// Sum of the unsigned byte values; 17 for an empty text.
int32_t StringByteSum(std::string_view text);

} // namespace quorlet
