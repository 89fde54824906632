// The player-ID check against the banned words.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "core/FData.h"
#include "core/textutil.h"
#include "settings/playerid.h"
#include "tests/testutil.h"

namespace quorlet {
namespace {

class PlayerIdTest : public test::EngineTest {};

TEST_F(PlayerIdTest, BannedWordAnywhereInAnyCaseIsRefused) {
    struct Case {
        const char* id;
        bool allowed;
    };
    const Case cases[] = {
        {"", true},
        {"Anonymous! Press F5 for Setup", true},
        {"Player ID Text was not correct. Press F5 for setup", true},
        {"Jan Novak, CZ", true},
        {"shit", false},
        {"SuperSHITman", false}, // inside another word
        {"xX5hitXx", false},     // digit spelling
        {"BiTcH please", false}, // mixed case
        {"ok then shit", false}, // at the end
        {"s h i t", true},       // words are matched whole, not letter by letter
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsPlayerIdAllowed(c.id), c.allowed) << '"' << c.id << '"';
}

TEST_F(PlayerIdTest, EveryBuiltInWordIsRefusedBeforeAndAfterStartUpUpperCasesTheList) {
    const std::vector<std::string> words = DefaultBannedWords();
    ASSERT_EQ(words.size(), kBannedWordCount);
    std::set<std::string> seen;
    for (const std::string& word : words) {
        EXPECT_FALSE(word.empty());
        EXPECT_TRUE(seen.insert(word).second) << "twice: " << word;
    }
    EXPECT_EQ(BannedWords, words); // a fresh start holds the built-in list
    for (bool upperCased : {false, true}) {
        if (upperCased) InitMemoryLogAndWordList();
        for (const std::string& word : words)
            EXPECT_FALSE(IsPlayerIdAllowed("x" + word + "x")) << word << " " << upperCased;
    }
}

TEST_F(PlayerIdTest, AnEmptyEntryRefusesNothing) {
    BannedWords = {"", "BADWORD"};
    EXPECT_TRUE(IsPlayerIdAllowed("Jan"));
    EXPECT_FALSE(IsPlayerIdAllowed("a badword"));
}

} // namespace
} // namespace quorlet
