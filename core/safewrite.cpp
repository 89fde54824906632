#include "core/safewrite.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <vector>

namespace quorlet {
namespace {

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

} // namespace

std::string SafeWriteTempPrefix(const std::string& path) {
    const auto slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return folder + "." + name + ".tmp.";
}

namespace {

// Pieces are gathered up to this size before they go to the file.
constexpr std::size_t kStreamBuffer = std::size_t{1} << 20;

} // namespace

TSafeFileWriter::TSafeFileWriter(const std::string& path) : path_(path) {
    if (path.empty() || path.back() == '/') {
        Fail(EINVAL, "no file name");
        return;
    }
    std::string pattern = SafeWriteTempPrefix(path) + "XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    fd_ = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd_ < 0) {
        Fail(errno, "cannot create a temporary file");
        return;
    }
    temp_ = name.data();

    // mkostemp makes the file private; a saved file gets the usual rights (or the old file's).
    mode_t mode = 0666;
    struct stat old {};
    if (::stat(path.c_str(), &old) == 0) {
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
    if (error_.empty()) error_ = std::string(what) + ": " + std::strerror(code);
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

void RemoveStaleSafeWriteTemps(const std::string& path) {
    namespace fs = std::filesystem;
    const std::string prefix = SafeWriteTempPrefix(path);
    const auto slash = prefix.find_last_of('/');
    const fs::path folder = slash == std::string::npos ? fs::path(".") : fs::path(prefix.substr(0, slash + 1));
    const std::string namePrefix = slash == std::string::npos ? prefix : prefix.substr(slash + 1);
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string entry = it->path().filename().string();
        // Exactly the six characters mkostemp adds: never another file of the player's.
        if (entry.size() == namePrefix.size() + 6 && entry.compare(0, namePrefix.size(), namePrefix) == 0) {
            std::error_code rm;
            fs::remove(it->path(), rm);
        }
    }
}

} // namespace quorlet
