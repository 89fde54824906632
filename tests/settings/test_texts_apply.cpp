// Where ApplyTexts puts each text, and the density and menu-shortening arithmetic.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>

#include "settings/FCap.h"
#include "settings/languageapply.h"

namespace quorlet {
namespace {

TEST(TextBindingsTest, EveryBindingNamesAKnownEntryAndOneTarget) {
    std::set<std::tuple<std::string, std::string, int, int>> seen;
    for (const TTextBinding& b : TextBindings) {
        EXPECT_GE(UITextIndex(b.key), 0) << b.window << "." << b.control;
        const bool onWindow = b.target == TTextTarget::Caption || b.target == TTextTarget::DebugCaption;
        EXPECT_EQ(onWindow, std::string(b.control).empty()) << b.window << "." << b.control;
        EXPECT_EQ(b.target == TTextTarget::ListItem, b.item > 0) << b.window << "." << b.control;
        EXPECT_TRUE(seen.emplace(b.window, b.control, static_cast<int>(b.target), b.item).second)
            << "twice: " << b.window << "." << b.control << " " << int(b.item);
    }
}

TEST(TextBindingsTest, PageListsGetEveryItemOnce) {
    struct Case {
        const char* window;
        int items;
    };
    for (const Case c : {Case{"THistory", 27}, Case{"TOptions_window", 8}}) {
        std::set<int> items;
        for (const TTextBinding& b : TextBindings)
            if (b.target == TTextTarget::ListItem && std::string(b.window) == c.window) items.insert(b.item);
        EXPECT_EQ(items.size(), static_cast<std::size_t>(c.items)) << c.window;
        EXPECT_EQ(*items.begin(), 1) << c.window;
        EXPECT_EQ(*items.rbegin(), c.items) << c.window;
    }
}

TEST(TextBindingsTest, SharedAndSpecialTargetsAreBound) {
    auto has = [](const char* window, const char* control, const char* key, TTextTarget target) {
        for (const TTextBinding& b : TextBindings)
            if (std::string(b.window) == window && std::string(b.control) == control &&
                std::string(b.key) == key && b.target == target)
                return true;
        return false;
    };
    EXPECT_TRUE(has("TMain", "sbSavereplay", "0029", TTextTarget::Text));
    EXPECT_TRUE(has("TCounters", "cntSaveReplayBtn", "0029", TTextTarget::Text));
    EXPECT_TRUE(has("THistory", "defaultBtn", "0120", TTextTarget::UpperText));
    EXPECT_TRUE(has("TFormula", "undoBtn", "0323", TTextTarget::Hint));
    EXPECT_TRUE(has("Tdebug", "", "0046", TTextTarget::DebugCaption));
    EXPECT_TRUE(has("TLocal_High_Scores", "savehtmlbtn", "0383", TTextTarget::Text));
    EXPECT_TRUE(has("TAbout", "", "0021", TTextTarget::Caption));
}

TEST(DensityTextTest, ThousandthsOfAPercentWithTheCommaBeforeTheThirdCharacter) {
    struct Case {
        const char* mines;
        const char* width;
        const char* height;
        const char* text;
    };
    const Case cases[] = {
        {"10", "8", "8", "15,625 %"}, {"99", "30", "16", "20,625 %"},  {"1", "30", "30", "00,111 %"},
        {"0", "8", "8", "00,000 %"},  {"891", "30", "30", "99,000 %"}, {"10", "0", "8", "-"},
        {"10", "8", "", "-"},         {"ten", "8", "8", "-"},          {"10", "8x", "8", "-"},
        {"-1", "8", "8", "-"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DensityText(c.mines, c.width, c.height), c.text)
            << c.mines << " " << c.width << " " << c.height;
}

TEST(MenuShorteningTest, DropsLastCharactersUntilItFitsOrElevenRemain) {
    struct Case {
        const char *help, *game, *options;
        int fitsAfter; // fits() turns true on this call (from 1)
        const char *helpAfter, *gameAfter, *optionsAfter;
    };
    const Case cases[] = {
        {"Hilfe und mehr", "Spiel", "Optionen", 1, "Hilfe und mehr", "Spiel", "Optionen"},
        {"Hilfe und mehr", "Spiel", "Optionen", 2, "Hilfe und meh", "Spie", "Optione"},
        {"Helpx", "Game", "Optio", 100, "Help", "Gam", "Opti"},
        {"Help", "Game", "Options", 100, "Help", "Gam", "Opti"},
        {"Hilfe\xC3\xA4\xC3\xA4", "Sp\xC3\xA4", "Opt\xC3\xA4", 100, "Hilf", "Sp\xC3\xA4", "Opt\xC3\xA4"},
        {"Aide", "Jeu", "Opts", 100, "Aide", "Jeu", "Opts"},
    };
    for (const Case& c : cases) {
        std::string help = c.help, game = c.game, options = c.options;
        int calls = 0;
        ShortenMenuCaptions(help, game, options, [&] { return ++calls >= c.fitsAfter; });
        EXPECT_EQ(help, c.helpAfter) << c.help;
        EXPECT_EQ(game, c.gameAfter) << c.help;
        EXPECT_EQ(options, c.optionsAfter) << c.help;
    }
}

} // namespace
} // namespace quorlet
