// Reading the small files of the program folder: only what a player's own file can be. A folder,
// a fifo, a device or a huge file in a file's place never stops or slows the start.
#pragma once

#include <cstddef>
#include <string>

namespace quorlet {

// The size that none of the small files the program reads (templates, the settings, pictures
// of the cursor) comes near.
inline constexpr std::size_t kMaxSmallFileBytes = std::size_t{1} << 20;

// Reads a regular file (a symbolic link is followed) of at most `limit` bytes into `bytes`.
// Returns false for anything else (missing, a folder, a fifo or device, larger, unreadable),
// `bytes` then empty and `error` (when given) saying why. Never waits on a fifo; never throws
// but for memory.
bool ReadRegularFile(const std::string& path, std::size_t limit, std::string& bytes,
                     std::string* error = nullptr);

// As ReadRegularFile, but a larger regular file gives its first `limit` bytes.
bool ReadRegularFilePrefix(const std::string& path, std::size_t limit, std::string& bytes,
                           std::string* error = nullptr);

// True for a regular file (a symbolic link is followed) of at most `limit` bytes: what a reader
// that opens the file itself (a picture) may be handed.
bool IsRegularFileUpTo(const std::string& path, std::size_t limit);

} // namespace quorlet
