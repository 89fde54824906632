// Screenshot files: their numbered names and the JPEG form of a captured picture.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace quorlet {

// folder + "ScreenShot_" + a number of at least four digits + extension, for the first number
// from 0000 whose file does not exist (past 9999 the count goes on, so nothing is overwritten).
// When a name cannot be checked (the folder cannot be searched) the search ends there: the
// result is empty and `error` names the file and the reason.
std::string NextScreenshotName(const std::string& folder, const std::string& extension,
                               std::string* error = nullptr);

// A picture of width x height pixels, 3 bytes (R, G, B) each, rows `stride` bytes apart, as a
// baseline JPEG of quality 100. A library error returns false with the reason in `error`;
// `out` is then left empty.
bool EncodeJpeg(const uint8_t* rgb, int width, int height, std::size_t stride, std::string& out,
                std::string* error = nullptr);

// LastPath + "screenshots/", created when missing (a failure is reported; empty result).
std::string ScreenshotFolder();

// Writes an encoded screenshot under the next free name of its extension in the folder.
// Nothing is logged on success; a failure (empty bytes, a folder that cannot be searched
// included) is reported.
bool SaveScreenshotBytes(const std::string& folder, const std::string& extension, const std::string& bytes);

} // namespace quorlet
