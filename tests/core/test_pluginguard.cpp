// The plug-in marker: a library whose start ended the program is skipped until replaced.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/debuglog.h"
#include "core/pluginguard.h"
#include "testutil.h"

namespace quorlet::test {
namespace {

namespace fs = std::filesystem;

class PluginGuardTest : public EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        DebugWindowOn = 1;
        UiHooks.ShowMessageBox = [this](const std::string& text) { shown.push_back(text); };
        fs::create_directories(Plugins());
    }
    std::string Plugins() const { return Home() + "plugins/"; }
    std::string Marker() const { return Home() + "_plugin_marker.txt"; }
    void Put(const std::string& name, const std::string& bytes) {
        std::ofstream(Plugins() + name, std::ios::binary) << bytes;
    }
    static int Logged(const std::string& text) {
        int count = 0;
        for (const std::string& line : DebugLogLines)
            count += line.size() > 13 && line.compare(13, std::string::npos, text) == 0;
        return count;
    }
    std::vector<std::string> shown;
};

TEST(PluginMarker, EveryFileNameReadsBackAndForeignLinesAreDropped) {
    const std::vector<TPluginMark> marks = {{"a.so", 10, -5, true},
                                            {"my plug 100%.so", 7, 1712345678901234567, false},
                                            {"two\nlines.so", 1, 2, true}};
    const std::string text = PluginMarkerText(marks);
    EXPECT_EQ(text.substr(0, text.find('\n')), "broken 10 -5 a.so");
    const std::vector<TPluginMark> back = ParsePluginMarker(
        text +
        "loading 1 2\nbroken x 2 b.so\nlost 1 2 c.so\nbroken 1 2 d.so extra\nbroken 1 2 %2Fetc%2Fx.so\n"
        "broken 1 2 bad%4\n");
    ASSERT_EQ(back.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(back[i].name, marks[i].name);
        EXPECT_EQ(back[i].size, marks[i].size);
        EXPECT_EQ(back[i].modified, marks[i].modified);
        EXPECT_EQ(back[i].broken, marks[i].broken);
    }
}

TEST_F(PluginGuardTest, ALibraryWhoseStartNeverEndedIsSkippedUntilItIsReplaced) {
    Put("crash.so", "first build");
    Put("good.so", "fine");
    {
        TPluginGuard start(Home(), Plugins());
        ASSERT_TRUE(start.MayStart("good.so"));
        EXPECT_NE(ReadFileText(Marker()).find(" good.so\n"), std::string::npos);
        start.Started();
        EXPECT_FALSE(fs::exists(Marker())); // nothing noted once every start ended
        ASSERT_TRUE(start.MayStart("crash.so"));
        // The process dies here: Started() never comes.
    }
    EXPECT_EQ(ReadFileText(Marker()).rfind("loading ", 0), 0u);
    for (int later = 0; later < 2; ++later) {
        SCOPED_TRACE(later);
        DebugLogLines.clear();
        shown.clear();
        TPluginGuard start(Home(), Plugins());
        // Said once, at the first start after the crash; skipped and logged at each.
        EXPECT_EQ(shown.size(), later == 0 ? 1u : 0u);
        if (!shown.empty()) {
            EXPECT_EQ(shown[0].rfind("The plug-in \"crash.so\" ended the last start", 0), 0u);
        }
        EXPECT_FALSE(start.MayStart("crash.so"));
        EXPECT_EQ(Logged("#plugin skipped: \"crash.so\" ended an earlier start"), 1);
        ASSERT_TRUE(start.MayStart("good.so"));
        start.Started();
        EXPECT_EQ(ReadFileText(Marker()).rfind("broken ", 0), 0u);
    }
    // Another file under the same name gets its chance; loaded cleanly, it is used again.
    Put("crash.so", "the mended build");
    {
        TPluginGuard start(Home(), Plugins());
        ASSERT_TRUE(start.MayStart("crash.so"));
        start.Started();
        EXPECT_FALSE(fs::exists(Marker()));
    }
    TPluginGuard next(Home(), Plugins());
    EXPECT_TRUE(next.MayStart("crash.so"));
    EXPECT_TRUE(shown.empty());
}

TEST_F(PluginGuardTest, ANoteOfALibraryTheFolderNoLongerHoldsIsDropped) {
    Put("gone.so", "x");
    {
        TPluginGuard start(Home(), Plugins());
        ASSERT_TRUE(start.MayStart("gone.so"));
    }
    fs::remove(Plugins() + "gone.so");
    TPluginGuard next(Home(), Plugins());
    EXPECT_TRUE(shown.empty());
    EXPECT_FALSE(fs::exists(Marker()));
}

} // namespace
} // namespace quorlet::test
