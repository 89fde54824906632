#include "settings/about.h"

#include "core/FData.h"
#include "core/random.h"
#include "core/shell.h"

namespace quorlet {

std::string AboutMailLink() {
    return FeedbackMailUrl(Options.ReplayName);
}

TAboutTexts AboutTexts(uint32_t start) {
    TAboutTexts t;
    t.version = "version 0.47";
    t.name = "Minesweeper Quorlet";
    t.copyright = "Free software, made for the players";
    t.author = "Written by the Quorlet developers";
    t.mailHint = AboutMailLink();
    t.webHint = kAboutWebPage;
    std::vector<std::string>& m = t.memo;
    m.push_back("to be edited... BUT THANKS LIST IS UP TO DATE :) ALSO THIS IS A VERSION 0.47");
    m.push_back("  This program is free to use, copy and give away, as long as it is given whole and "
                "unchanged and nobody is asked to pay for it.");
    m.push_back("");
    m.push_back("  It was written to play the classic mine-clearing game as fast as possible, to keep "
                "every game won and to show how each one was played.");
    m.push_back("  The interface follows the classic game; every text can be translated in a language "
                "file, the statistics keep every won game, and the options set the game up as each "
                "player likes it.");
    m.push_back("  --> Good Luck and Have Fun :)");
    m.push_back("\r\n");
    m.push_back("  Special Thanks to:");
    m.push_back("  (in special order)");
    m.push_back("");
    const uint32_t count = uint32_t{kAboutThanksLast} + 1;
    const uint32_t s = start % count;
    for (uint32_t i = 0; i < count; ++i)
        m.push_back(kAboutThanks[(s + i) % count]);
    m.push_back("");
    m.push_back(std::string("  ") + kAboutWebPage + "\r\n  https://example.org/guestbook");
    m.push_back("");
    m.push_back("-----");
    m.push_back("  See the Help file for the antihack features info");
    return t;
}

TAboutTexts FillAboutBox() {
    return AboutTexts(Random(uint32_t{kAboutThanksLast} + 1));
}

} // namespace quorlet
