// Reading the small files of the program folder: whatever stands in a file's place, the reader
// returns at once and reads no more than its limit.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "core/fileread.h"
#include "testutil.h"

namespace quorlet {
namespace {

namespace fs = std::filesystem;

class FileReadTest : public test::EngineTest {};

void SparseFile(const std::string& path, off_t size) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, size), 0);
    ::close(fd);
}

TEST_F(FileReadTest, OnlyARegularFileWithinTheLimitIsRead) {
    const std::string path = Home() + "file";
    struct TCase {
        const char* what;
        std::function<void()> make;
        bool read;
        std::size_t size;
    };
    const std::size_t limit = 4096;
    const TCase cases[] = {
        {"a small file", [&] { std::ofstream(path) << "A|1\r\n"; }, true, 5},
        {"an empty file", [&] { std::ofstream(path).flush(); }, true, 0},
        {"a file of the limit", [&] { SparseFile(path, limit); }, true, limit},
        {"a link to a file",
         [&] {
             std::ofstream(Home() + "real") << "abc";
             fs::create_symlink("real", path);
         },
         true, 3},
        {"one byte over the limit", [&] { SparseFile(path, limit + 1); }, false, 0},
        {"a gigabyte", [&] { SparseFile(path, off_t{1} << 30); }, false, 0},
        {"a folder", [&] { fs::create_directories(path + "/inside"); }, false, 0},
        {"a link to a folder",
         [&] {
             fs::create_directories(Home() + "dir");
             fs::create_symlink("dir", path);
         },
         false, 0},
        {"a fifo", [&] { ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0); }, false, 0},
        {"a link to /dev/zero", [&] { fs::create_symlink("/dev/zero", path); }, false, 0},
        {"a dangling link", [&] { fs::create_symlink("nothing", path); }, false, 0},
        {"nothing", [] {}, false, 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        for (const auto& e : fs::directory_iterator(Home()))
            fs::remove_all(e.path());
        c.make();
        std::string bytes = "stale";
        std::string error;
        EXPECT_EQ(ReadRegularFile(path, limit, bytes, &error), c.read) << error;
        EXPECT_EQ(bytes.size(), c.size);
        if (!c.read) {
            EXPECT_FALSE(error.empty());
        }
        EXPECT_EQ(IsRegularFileUpTo(path, limit), c.read);
    }
}

TEST_F(FileReadTest, APrefixReadTakesTheFirstBytesOfALargerFile) {
    std::ofstream(Home() + "file") << "0123456789";
    std::string bytes;
    ASSERT_TRUE(ReadRegularFilePrefix(Home() + "file", 4, bytes));
    EXPECT_EQ(bytes, "0123");
    ASSERT_TRUE(ReadRegularFilePrefix(Home() + "file", 40, bytes));
    EXPECT_EQ(bytes, "0123456789");
    ASSERT_EQ(::mkfifo((Home() + "fifo").c_str(), 0600), 0);
    EXPECT_FALSE(ReadRegularFilePrefix(Home() + "fifo", 40, bytes));
}

} // namespace
} // namespace quorlet
