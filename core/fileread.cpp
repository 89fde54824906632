#include "core/fileread.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

namespace quorlet {

namespace {

bool Fail(std::string& bytes, std::string* error, const std::string& why) {
    bytes.clear();
    if (error) *error = why;
    return false;
}

bool Read(const std::string& path, std::size_t limit, bool prefix, std::string& bytes, std::string* error) {
    // Non-blocking, so that opening a fifo returns at once; a regular file ignores the flag.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return Fail(bytes, error, std::string("cannot open: ") + std::strerror(errno));
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return Fail(bytes, error, "not a regular file");
    }
    const auto size = static_cast<std::size_t>(st.st_size);
    if (!prefix && size > limit) {
        ::close(fd);
        return Fail(bytes, error, "larger than " + std::to_string(limit) + " bytes");
    }
    // One byte past the limit tells a file that grew since fstat.
    const std::size_t wanted = prefix ? limit : limit + 1;
    bytes.clear();
    bytes.resize(size < wanted ? size : wanted);
    std::size_t held = 0;
    for (;;) {
        if (held == bytes.size()) {
            if (held >= wanted) break;
            bytes.resize(held + 4096 < wanted ? held + 4096 : wanted);
        }
        const ssize_t n = ::read(fd, bytes.data() + held, bytes.size() - held);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            const int code = errno;
            ::close(fd);
            return Fail(bytes, error, std::string("cannot read: ") + std::strerror(code));
        }
        if (n == 0) break;
        held += static_cast<std::size_t>(n);
    }
    ::close(fd);
    bytes.resize(held);
    if (!prefix && held > limit) return Fail(bytes, error, "larger than " + std::to_string(limit) + " bytes");
    return true;
}

} // namespace

bool ReadRegularFile(const std::string& path, std::size_t limit, std::string& bytes, std::string* error) {
    return Read(path, limit, false, bytes, error);
}

bool ReadRegularFilePrefix(const std::string& path, std::size_t limit, std::string& bytes,
                           std::string* error) {
    return Read(path, limit, true, bytes, error);
}

bool IsRegularFileUpTo(const std::string& path, std::size_t limit) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
           static_cast<uint64_t>(st.st_size) <= limit;
}

} // namespace quorlet
