#include "core/safewrite.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <vector>

namespace quorlet {
namespace {

// Long names are cut in the temporary's name so that it stays within a file name's 255 bytes.
constexpr std::size_t kTempNameChars = 200;
// Beyond this many links in a chain the target is not followed (as the system's own limit).
constexpr int kMaxLinkHops = 40;

bool IsRandomChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

bool EndsWithRandomPart(std::string_view name, std::string_view before) {
    if (name.size() < 1 + 1 + before.size() + 6) return false;
    const std::string_view random = name.substr(name.size() - 6);
    for (const char c : random)
        if (!IsRandomChar(c)) return false;
    return name.substr(name.size() - 6 - before.size(), before.size()) == before;
}

bool WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = EIO;
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// Copies the rest of `in` to `out`; 0, or the errno of the failure.
int CopyAll(int in, int out) {
    for (;;) {
        const ssize_t n = ::copy_file_range(in, nullptr, out, nullptr, std::size_t{1} << 30, 0);
        if (n > 0) continue;
        if (n == 0) return 0;
        if (errno == EINTR) continue;
        // Not offered between these two files: copied through a small buffer instead.
        if (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP) break;
        return errno;
    }
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = ::read(in, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return errno;
        if (n == 0) return 0;
        if (!WriteAll(out, buffer, static_cast<std::size_t>(n))) return errno;
    }
}

std::string Folder(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash == 0 ? 1 : slash);
}

// The folder's entry must reach the disk too, or a power loss can undo the rename.
void SyncFolder(const std::string& path) {
    const int fd = ::open(Folder(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

// The file a write to `path` replaces: a symbolic link, or a chain of them, is followed to the
// file it names (which may not exist yet). False (errno set) when a link cannot be read.
bool WriteTarget(const std::string& path, std::string& target) {
    target = path;
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat st {};
        if (::lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return true;
        std::vector<char> link(PATH_MAX + 1);
        const ssize_t n = ::readlink(target.c_str(), link.data(), link.size() - 1);
        if (n < 0) return false;
        const std::string to(link.data(), static_cast<std::size_t>(n));
        target = !to.empty() && to[0] == '/' ? to : Folder(target) + "/" + to;
    }
    errno = ELOOP;
    return false;
}

// Pieces are gathered up to this size before they go to the file.
constexpr std::size_t kStreamBuffer = std::size_t{1} << 20;

} // namespace

std::string SafeWriteTempPrefix(const std::string& path) {
    const auto slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return folder + "." + name.substr(0, kTempNameChars) + ".";
}

bool IsSafeWriteTempName(std::string_view name) {
    if (name.empty() || name[0] != '.') return false;
    if (name.size() > kSafeWriteTempSuffix.size() &&
        name.substr(name.size() - kSafeWriteTempSuffix.size()) == kSafeWriteTempSuffix)
        return EndsWithRandomPart(name.substr(0, name.size() - kSafeWriteTempSuffix.size()), ".");
    return EndsWithRandomPart(name, ".tmp.");
}

bool IsWriteProtected(const std::string& path) {
    struct stat st {};
    // Nothing there to protect; a folder in the file's place fails the rename by itself.
    if (::stat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
    if ((st.st_mode & 0222) == 0) return true;
    return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0 &&
           (errno == EACCES || errno == EPERM || errno == EROFS);
}

TSafeFileWriter::TSafeFileWriter(const std::string& path) {
    if (path.empty() || path.back() == '/') {
        Fail(EINVAL, "no file name");
        return;
    }
    if (!WriteTarget(path, path_)) {
        Fail(errno, ("cannot follow the link " + path).c_str());
        return;
    }
    if (IsWriteProtected(path_)) {
        Fail(0, "the file is read-only");
        return;
    }
    const std::string pattern = SafeWriteTempPrefix(path_) + "XXXXXX" + std::string(kSafeWriteTempSuffix);
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    fd_ = ::mkostemps(name.data(), static_cast<int>(kSafeWriteTempSuffix.size()), O_CLOEXEC);
    if (fd_ < 0) {
        Fail(errno, "cannot create a temporary file");
        return;
    }
    temp_ = name.data();

    // mkostemps makes the file private; a saved file gets the usual rights (or the old file's).
    mode_t mode = 0666;
    struct stat old {};
    if (::stat(path_.c_str(), &old) == 0) {
        mode = old.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode &= ~mask;
    }
    ::fchmod(fd_, mode);
}

TSafeFileWriter::~TSafeFileWriter() {
    if (fd_ >= 0) ::close(fd_);
    if (!committed_ && !temp_.empty()) ::unlink(temp_.c_str());
}

bool TSafeFileWriter::Fail(int code, const char* what) {
    if (error_.empty()) error_ = code ? std::string(what) + ": " + std::strerror(code) : std::string(what);
    return false;
}

bool TSafeFileWriter::Flush() {
    if (!error_.empty()) {
        buffer_.clear();
        return false;
    }
    const bool written = WriteAll(fd_, buffer_.data(), buffer_.size());
    buffer_.clear();
    return written || Fail(errno, "cannot write");
}

void TSafeFileWriter::Write(std::string_view bytes) {
    if (!error_.empty()) return;
    if (buffer_.size() + bytes.size() > kStreamBuffer) {
        Flush();
        if (bytes.size() > kStreamBuffer) { // a big piece goes straight through
            if (error_.empty() && !WriteAll(fd_, bytes.data(), bytes.size())) Fail(errno, "cannot write");
            return;
        }
    }
    buffer_.append(bytes);
}

void TSafeFileWriter::WriteFrom(int source) {
    if (!error_.empty() || !Flush()) return;
    if (const int code = CopyAll(source, fd_); code != 0) Fail(code, "cannot write");
}

char* TSafeFileWriter::Extend(std::size_t count) {
    if (buffer_.size() + count > kStreamBuffer && !buffer_.empty()) Flush();
    const std::size_t at = buffer_.size();
    buffer_.resize(at + count);
    // A piece larger than the buffer goes out at the next call.
    return buffer_.data() + at;
}

bool TSafeFileWriter::Commit(std::string* error) {
    const auto result = [&](bool ok) {
        if (!ok && error) *error = error_;
        return ok;
    };
    if (committed_) return result(true);
    if (!error_.empty() || !Flush()) return result(false);
    if (::fsync(fd_) != 0) return result(Fail(errno, "cannot flush"));
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) return result(Fail(errno, "cannot close"));
    if (::rename(temp_.c_str(), path_.c_str()) != 0) return result(Fail(errno, "cannot replace the file"));
    committed_ = true;
    SyncFolder(path_);
    return result(true);
}

bool SafeWriteFile(const std::string& path, std::string_view bytes, std::string* error) {
    TSafeFileWriter writer(path);
    writer.Write(bytes);
    return writer.Commit(error);
}

bool SafeCopyFile(const std::string& source, const std::string& target, std::string* error) {
    // Non-blocking, so that a fifo in the source's place is refused instead of waited on.
    const int in = ::open(source.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (in < 0) {
        if (error) *error = "cannot read " + source + ": " + std::strerror(errno);
        return false;
    }
    struct stat st {};
    if (::fstat(in, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(in);
        if (error) *error = "cannot read " + source + ": not a regular file";
        return false;
    }
    TSafeFileWriter writer(target);
    writer.WriteFrom(in);
    ::close(in);
    return writer.Commit(error);
}

} // namespace quorlet
