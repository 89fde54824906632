// Replacing a file: the old one survives every failure, and no temporary file stays behind.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/safewrite.h"
#include "testutil.h"

namespace quorlet {
namespace {

namespace fs = std::filesystem;

class SafeWriteTest : public test::EngineTest {};

std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

int EntryCount(const std::string& folder) {
    int n = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(folder)) ++n;
    return n;
}

TEST_F(SafeWriteTest, ReplacesTheFileAndLeavesNothingElse) {
    const std::string path = Home() + "a.dat";
    ASSERT_TRUE(SafeWriteFile(path, "old"));
    ASSERT_TRUE(SafeWriteFile(path, std::string("new\0bytes", 9)));
    EXPECT_EQ(Read(path), std::string("new\0bytes", 9));
    EXPECT_EQ(EntryCount(Home()), 1);
}

TEST_F(SafeWriteTest, KeepsTheOldRightsOfAReplacedFile) {
    const std::string path = Home() + "a.dat";
    ASSERT_TRUE(SafeWriteFile(path, "old"));
    ::chmod(path.c_str(), 0640);
    ASSERT_TRUE(SafeWriteFile(path, "new"));
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST_F(SafeWriteTest, AFailureKeepsTheOldFileAndSaysWhy) {
    // A folder in the target's place: the rename fails after the data was written.
    const std::string path = Home() + "taken";
    fs::create_directories(path + "/inside");
    std::string error;
    EXPECT_FALSE(SafeWriteFile(path, "data", &error));
    EXPECT_NE(error.find("cannot replace"), std::string::npos) << error;
    EXPECT_TRUE(fs::is_directory(path));
    EXPECT_EQ(EntryCount(Home()), 1);

    // A folder that does not exist: nothing can be created.
    EXPECT_FALSE(SafeWriteFile(Home() + "missing/x.dat", "data", &error));
    EXPECT_NE(error.find("temporary"), std::string::npos) << error;
    EXPECT_FALSE(SafeWriteFile(Home(), "data", &error));
}

// A stream of pieces larger than the writer's buffer arrives whole and in order, and the target
// keeps its old bytes until the commit renames the new file over it.
TEST_F(SafeWriteTest, AStreamReplacesTheFileOnlyAtItsCommit) {
    const std::string path = Home() + "big.html";
    ASSERT_TRUE(SafeWriteFile(path, "old"));
    std::string expected;
    {
        TSafeFileWriter writer(path);
        for (int i = 0; i < 40000; ++i) {
            const std::string piece = "<tr>" + std::to_string(i) + "</tr>\n";
            if (i % 2) {
                writer.Write(piece);
            } else {
                char* room = writer.Extend(piece.size());
                std::copy(piece.begin(), piece.end(), room);
            }
            expected += piece;
        }
        const std::string large(3 << 20, 'x'); // past the buffer at once
        writer.Write(large);
        expected += large;
        EXPECT_EQ(Read(path), "old");
        EXPECT_TRUE(writer.Commit());
    }
    EXPECT_EQ(Read(path), expected);
    EXPECT_EQ(EntryCount(Home()), 1);
}

TEST_F(SafeWriteTest, AStreamEndedWithoutCommitLeavesTheOldFileAndNoTemporary) {
    const std::string path = Home() + "a.csv";
    ASSERT_TRUE(SafeWriteFile(path, "old"));
    {
        TSafeFileWriter writer(path);
        writer.Write(std::string(2 << 20, 'y'));
    }
    EXPECT_EQ(Read(path), "old");
    EXPECT_EQ(EntryCount(Home()), 1);

    std::string error;
    TSafeFileWriter nowhere(Home() + "missing/x.csv");
    nowhere.Write("data");
    EXPECT_FALSE(nowhere.Commit(&error));
    EXPECT_NE(error.find("temporary"), std::string::npos) << error;
}

TEST_F(SafeWriteTest, StaleTemporariesOfTheFileAreRemovedButNothingElse) {
    const std::string path = Home() + "stats.dat";
    const std::string prefix = SafeWriteTempPrefix(path);
    EXPECT_EQ(prefix, Home() + ".stats.dat.tmp.");
    for (const std::string& name : {prefix + "abc123", prefix + "ZZZZZZ"}) std::ofstream(name) << "x";
    std::ofstream(prefix + "abc1234") << "kept";  // not one of ours
    std::ofstream(Home() + "stats.dat") << "kept";
    std::ofstream(Home() + ".other.dat.tmp.abc123") << "kept";
    RemoveStaleSafeWriteTemps(path);
    EXPECT_EQ(EntryCount(Home()), 3);
    EXPECT_TRUE(fs::exists(prefix + "abc1234"));
}

} // namespace
} // namespace quorlet
