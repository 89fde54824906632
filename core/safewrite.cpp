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

bool SafeWriteFile(const std::string& path, std::string_view bytes, std::string* error) {
    auto fail = [&](int code, const char* what) {
        if (error) *error = std::string(what) + ": " + std::strerror(code);
        return false;
    };
    if (path.empty() || path.back() == '/') return fail(EINVAL, "no file name");
    std::string pattern = SafeWriteTempPrefix(path) + "XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) return fail(errno, "cannot create a temporary file");
    const std::string temp(name.data());

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
    ::fchmod(fd, mode);

    if (!WriteAll(fd, bytes.data(), bytes.size())) {
        const int code = errno;
        ::close(fd);
        ::unlink(temp.c_str());
        return fail(code, "cannot write");
    }
    if (::fsync(fd) != 0) {
        const int code = errno;
        ::close(fd);
        ::unlink(temp.c_str());
        return fail(code, "cannot flush");
    }
    if (::close(fd) != 0) {
        const int code = errno;
        ::unlink(temp.c_str());
        return fail(code, "cannot close");
    }
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        const int code = errno;
        ::unlink(temp.c_str());
        return fail(code, "cannot replace the file");
    }
    SyncFolder(path);
    return true;
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
