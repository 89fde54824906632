// The one way this program replaces a file: a power loss, a full disk or a kill mid-write
// leaves either the old file or the new one, never a torn or empty one.
//
// The same rules hold for every file it writes, its own files included:
// - a file the player made read-only is never replaced (IsWriteProtected);
// - a symbolic link in the file's place is followed: the file it names is replaced, with the
//   temporary file beside that file, and the link stays a link;
// - every temporary file is named ".<name>.XXXXXX.quorlet-tmp" (IsSafeWriteTempName), so that
//   one left by a kill can be told from every other file and removed at the next start.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quorlet {

// Writes `bytes` to a unique hidden temporary file beside `path`, flushes it to disk, and
// renames it over `path`. Returns true on success. On failure the temporary file is removed,
// `path` is left as it was, and `error` (when given) says why.
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
    // Appends the rest of the open file `source`, copied by the kernel in pieces.
    void WriteFrom(int source);
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

// As SafeWriteFile with the bytes of the regular file `source`, copied by the kernel in pieces:
// a file of any size costs no memory.
bool SafeCopyFile(const std::string& source, const std::string& target, std::string* error = nullptr);

// True when `path` (a link followed) is an existing file that has no write permission at all,
// or none for this user: a rename would replace it, as a rename needs only the folder's right,
// so every writer refuses it instead. Decided by the permission bits too, as root may write all.
bool IsWriteProtected(const std::string& path);

// The prefix of the temporary files SafeWriteFile makes for `path` (the folder, ".", the
// file's name, "."); six random characters and kSafeWriteTempSuffix follow it.
std::string SafeWriteTempPrefix(const std::string& path);
inline constexpr std::string_view kSafeWriteTempSuffix = ".quorlet-tmp";

// True for a file name (no folder) that the safe writer gives its temporary files, and for the
// ".<name>.tmp.XXXXXX" names of earlier versions.
bool IsSafeWriteTempName(std::string_view name);

} // namespace quorlet
