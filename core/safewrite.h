// The one way this program replaces a file: a power loss, a full disk or a kill mid-write
// leaves either the old file or the new one, never a torn or empty one.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quorlet {

// Writes `bytes` to a unique hidden temporary file beside `path` (".<name>.tmp.XXXXXX"),
// flushes it to disk, and renames it over `path`. Returns true on success. On failure the
// temporary file is removed, `path` is left as it was, and `error` (when given) says why.
bool SafeWriteFile(const std::string& path, std::string_view bytes, std::string* error = nullptr);

// The same safe replacement for a file written as a stream: the pieces pass through a small
// buffer into the temporary file, so a long export never lies whole in memory. Commit flushes
// it to disk and renames it over the target; a writer that ends without a successful Commit
// removes its temporary file and leaves the target as it was.
class TSafeFileWriter {
  public:
    explicit TSafeFileWriter(const std::string& path);
    TSafeFileWriter(const TSafeFileWriter&) = delete;
    TSafeFileWriter& operator=(const TSafeFileWriter&) = delete;
    ~TSafeFileWriter();

    void Write(std::string_view bytes);
    // Room for `count` bytes at the end of the stream, to be filled in place before the next call.
    char* Extend(std::size_t count);
    // True when every step so far worked, the rename included.
    bool Commit(std::string* error = nullptr);

  private:
    bool Fail(int code, const char* what);
    bool Flush();

    std::string path_;
    std::string temp_;
    int fd_ = -1;
    std::string buffer_;
    std::string error_;
    bool committed_ = false;
};

// The prefix of the temporary files SafeWriteFile makes for `path` (for removing stale ones).
std::string SafeWriteTempPrefix(const std::string& path);

// Removes temporary files that an interrupted SafeWriteFile left beside `path`.
void RemoveStaleSafeWriteTemps(const std::string& path);

} // namespace quorlet
