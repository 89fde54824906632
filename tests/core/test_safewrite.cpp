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
#include "writefail.h"

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

// Every temporary the writer makes carries the hidden prefix and the suffix by which the start
// finds the ones a kill left; a player's file never looks like one.
TEST_F(SafeWriteTest, TemporaryNamesAreRecognisableAndNoOtherNameIs) {
    const std::string path = Home() + "stats.dat";
    EXPECT_EQ(SafeWriteTempPrefix(path), Home() + ".stats.dat.");
    struct TCase {
        const char* name;
        bool temporary;
    };
    const TCase cases[] = {
        {".stats.dat.Ab12Cd.quorlet-tmp", true},
        {".x.000000.quorlet-tmp", true},
        {".stats.dat.tmp.abc123", true}, // the name earlier versions gave
        {"stats.dat.Ab12Cd.quorlet-tmp", false},
        {".stats.dat.Ab1-Cd.quorlet-tmp", false},
        {".stats.dat.Ab12C.quorlet-tmp", false},
        {"..Ab12Cd.quorlet-tmp", false},
        {".quorlet-tmp", false},
        {".stats.dat.tmp.abc1234", false},
        {".stats.dat.tmp.abc12", false},
        {"stats.dat.tmp.abc123", false},
        {"stats.dat", false},
        {"my.tmp", false},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(IsSafeWriteTempName(c.name), c.temporary) << c.name;

    // A long name is cut in its temporary's name, which stays within a file name's 255 bytes.
    const std::string longName(250, 'n');
    ASSERT_TRUE(SafeWriteFile(Home() + longName, "ok"));
    const std::string temp = SafeWriteTempPrefix(longName) + "Ab12Cd" + std::string(kSafeWriteTempSuffix);
    EXPECT_LE(temp.size(), 255u);
    EXPECT_TRUE(IsSafeWriteTempName(temp));
}

// A rename needs only the folder's write right: a file the player made read-only was replaced
// without a word. Root may write any file, so the rule reads the permission bits.
TEST_F(SafeWriteTest, AReadOnlyFileIsNotReplaced) {
    const std::string path = Home() + "a.dat";
    ASSERT_TRUE(SafeWriteFile(path, "old"));
    for (const mode_t mode : {0444, 0400, 0000}) {
        SCOPED_TRACE(mode);
        ::chmod(path.c_str(), mode);
        EXPECT_TRUE(IsWriteProtected(path));
        std::string error;
        EXPECT_FALSE(SafeWriteFile(path, "new", &error));
        EXPECT_NE(error.find("read-only"), std::string::npos) << error;
        EXPECT_EQ(Read(path), "old");
        struct stat st {};
        ASSERT_EQ(::stat(path.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, mode);
        EXPECT_EQ(EntryCount(Home()), 1);
    }
    ::chmod(path.c_str(), 0200);
    EXPECT_FALSE(IsWriteProtected(path));
    EXPECT_TRUE(SafeWriteFile(path, "new"));
    EXPECT_FALSE(IsWriteProtected(Home() + "missing.dat"));
    EXPECT_FALSE(IsWriteProtected(Home()));
}

// A symbolic link was replaced by a plain file at the next save: the file it names never
// changed. The file is written where the link points, and the link stays.
TEST_F(SafeWriteTest, AWriteThroughALinkReplacesTheFileItNames) {
    fs::create_directories(Home() + "elsewhere");
    const std::string real = Home() + "elsewhere/real.dat";
    std::ofstream(real) << "old";
    ::chmod(real.c_str(), 0640);
    fs::create_symlink("elsewhere/real.dat", Home() + "first");
    fs::create_symlink(Home() + "first", Home() + "a.dat"); // a chain, absolute then relative
    ASSERT_TRUE(SafeWriteFile(Home() + "a.dat", "new"));
    EXPECT_TRUE(fs::is_symlink(Home() + "a.dat"));
    EXPECT_TRUE(fs::is_symlink(Home() + "first"));
    EXPECT_EQ(Read(real), "new");
    struct stat st {};
    ASSERT_EQ(::stat(real.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(EntryCount(Home()), 3);
    EXPECT_EQ(EntryCount(Home() + "elsewhere"), 1) << "the temporary was renamed beside the target";

    // A link to nothing yet makes the file it names; a read-only target is refused as any.
    fs::create_symlink("elsewhere/new.dat", Home() + "b.dat");
    ASSERT_TRUE(SafeWriteFile(Home() + "b.dat", "made"));
    EXPECT_EQ(Read(Home() + "elsewhere/new.dat"), "made");
    ::chmod(real.c_str(), 0444);
    EXPECT_FALSE(SafeWriteFile(Home() + "a.dat", "again"));
    EXPECT_EQ(Read(real), "new");
    // A loop of links is refused, and nothing is left behind.
    fs::create_symlink("loop2", Home() + "loop1");
    fs::create_symlink("loop1", Home() + "loop2");
    std::string error;
    EXPECT_FALSE(SafeWriteFile(Home() + "loop1", "x", &error));
    EXPECT_NE(error.find("link"), std::string::npos) << error;
    EXPECT_TRUE(fs::is_symlink(Home() + "loop1"));
}

TEST_F(SafeWriteTest, ACopyIsStreamedWholeAndRefusesWhatIsNoRegularFile) {
    const std::string source = Home() + "source.dat";
    std::string bytes;
    for (int i = 0; i < 300000; ++i)
        bytes += static_cast<char>(i * 7 + i / 256);
    std::ofstream(source, std::ios::binary) << bytes;
    ASSERT_TRUE(SafeCopyFile(source, Home() + "copy.dat"));
    EXPECT_EQ(Read(Home() + "copy.dat"), bytes);
    ASSERT_TRUE(SafeCopyFile(source, Home() + "copy.dat")) << "an older copy is replaced";
    EXPECT_EQ(EntryCount(Home()), 2);

    ASSERT_EQ(::mkfifo((Home() + "fifo").c_str(), 0600), 0);
    fs::create_directories(Home() + "folder");
    for (const std::string& what :
         {Home() + "fifo", Home() + "folder", std::string("/dev/zero"), Home() + "none"}) {
        SCOPED_TRACE(what);
        std::string error;
        EXPECT_FALSE(SafeCopyFile(what, Home() + "out.dat", &error));
        EXPECT_NE(error.find("cannot read"), std::string::npos) << error;
        EXPECT_FALSE(fs::exists(Home() + "out.dat"));
    }
    // A full disk keeps the old copy and leaves no temporary.
    std::ofstream(Home() + "kept.dat") << "kept";
    {
        test::TFileSizeLimit full(1000);
        EXPECT_FALSE(SafeCopyFile(source, Home() + "kept.dat"));
    }
    EXPECT_EQ(Read(Home() + "kept.dat"), "kept");
    for (const auto& e : fs::directory_iterator(Home()))
        EXPECT_FALSE(IsSafeWriteTempName(e.path().filename().string())) << e.path();
}

} // namespace
} // namespace quorlet
