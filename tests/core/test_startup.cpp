// The start-up sequence's rules: counted steps, the one failure report, the first argument,
// and the name line's mouse tag.
#include <gtest/gtest.h>

#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/FData.h"
#include "core/nameline.h"
#include "core/startup.h"
#include "testutil.h"

namespace quorlet {
namespace {

class StartupTest : public test::EngineTest {
  protected:
    void SetUp() override {
        test::EngineTest::SetUp();
        DebugWindowOn = 1;
        UiHooks.ShowMessageBox = [this](const std::string& text) { messages.push_back(text); };
    }
    bool Logged(const std::string& text) const {
        for (const std::string& line : DebugLogLines)
            if (line.size() >= 13 && line.compare(13, std::string::npos, text) == 0) return true;
        return false;
    }
    std::vector<std::string> messages;
};

TEST_F(StartupTest, AFailedStepIsReportedWithItsNumberAndTheStartRunsOn) {
    // Guards against an early failure ending the program: only a refusal does.
    struct Case {
        int failAt; // index of the throwing step, -1 for none
        int refuseAt;
        TStartupResult result;
        int ran; // steps that ran to their end
        const char* number;
    };
    const Case cases[] = {
        {-1, -1, TStartupResult::Completed, 6, nullptr}, {0, -1, TStartupResult::Failed, 0, "0"},
        {2, -1, TStartupResult::Failed, 2, "5"}, // the second step counts four
        {5, -1, TStartupResult::Failed, 5, "8"},         {-1, 2, TStartupResult::Refused, 2, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.failAt * 10 + c.refuseAt);
        messages.clear();
        DebugLogLines.clear();
        int ran = 0;
        std::vector<TStartupStep> steps;
        for (int i = 0; i < 6; ++i)
            steps.push_back({static_cast<uint8_t>(i == 1 ? 4 : 1), [&ran, i, c] {
                                 if (i == c.failAt) throw std::runtime_error("step failed");
                                 if (i == c.refuseAt) return false;
                                 ++ran;
                                 return true;
                             }});
        EXPECT_EQ(RunStartupSteps(steps), c.result);
        EXPECT_EQ(ran, c.ran);
        if (!c.number) {
            EXPECT_TRUE(messages.empty());
            continue;
        }
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0], "Unknown error #" + std::string(c.number) + " occured. Trying to process.");
        EXPECT_TRUE(
            Logged("an unknown error #" + std::string(c.number) + " occured at the program process launch"));
    }
}

TEST_F(StartupTest, FirstArgumentIsSortedByWhatItNames) {
    std::ofstream(Home() + "game.QvF") << "x";
    std::ofstream(Home() + "notes.txt") << "x";
    std::filesystem::create_directories(Home() + "folder.qvf");
    struct Case {
        std::string argument;
        uint8_t debugMode, replayMode;
        bool kept;
        bool message;
    };
    const Case cases[] = {
        {"", 0, 0, false, false},
        {"debugmode", 1, 0, false, false},
        {"DebugMode", 1, 0, false, false},
        {Home() + "game.QvF", 0, 1, true, false},
        {Home() + "notes.txt", 0, 0, false, true},
        {Home() + "missing.qvf", 0, 0, false, false},
        {Home() + "folder.qvf", 0, 0, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.argument);
        DebugModeFlag = ReplayMode = 0;
        messages.clear();
        ClassifyStartupArgument(c.argument);
        EXPECT_EQ(DebugModeFlag, c.debugMode);
        EXPECT_EQ(ReplayMode, c.replayMode);
        EXPECT_EQ(StartupVideoFile, c.kept ? c.argument : std::string());
        ASSERT_EQ(messages.size(), c.message ? 1u : 0u);
        if (c.message) {
            EXPECT_EQ(messages[0], "File \"" + c.argument + "\"\r\n\r\nis not a Quorlet Video File (.QVF)");
        }
    }
}

TEST_F(StartupTest, NameLineCutsTheMouseTagAndLogsAVideosMouse) {
    struct Case {
        const char* name;
        bool fromVideo;
        const char* shown;
        const char* log; // null: nothing logged
    };
    const Case cases[] = {
        {"Ann<mouse>Logi G1", true, "Ann", "mouse_type: Logi G1"},
        {"Ann <MOUSE>", false, "Ann ", nullptr},
        {"Ann", true, "Ann", "mouse_type: none - type <mouse>[mouse_type] in the User ID Text"},
        {"Ann", false, "Ann", nullptr},
        {"<Mouse>x", true, "", "mouse_type: x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DebugLogLines.clear();
        EXPECT_EQ(NameLineText(c.name, c.fromVideo), c.shown);
        if (c.log)
            EXPECT_TRUE(Logged(c.log));
        else
            EXPECT_TRUE(DebugLogLines.empty());
    }
}

} // namespace
} // namespace quorlet
