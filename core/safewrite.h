// The one way this program replaces a file: a power loss, a full disk or a kill mid-write
// leaves either the old file or the new one, never a torn or empty one.
#pragma once

#include <string>
#include <string_view>

namespace quorlet {

// Writes `bytes` to a unique hidden temporary file beside `path` (".<name>.tmp.XXXXXX"),
// flushes it to disk, and renames it over `path`. Returns true on success. On failure the
// temporary file is removed, `path` is left as it was, and `error` (when given) says why.
bool SafeWriteFile(const std::string& path, std::string_view bytes, std::string* error = nullptr);

// The prefix of the temporary files SafeWriteFile makes for `path` (for removing stale ones).
std::string SafeWriteTempPrefix(const std::string& path);

// Removes temporary files that an interrupted SafeWriteFile left beside `path`.
void RemoveStaleSafeWriteTemps(const std::string& path);

} // namespace quorlet
