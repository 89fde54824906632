// The About box's texts: labels, links and the memo with its rotated thanks list.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace quorlet {

inline constexpr std::array<const char*, 24> kAboutThanks = {
    "  the testers of the first versions",
    "  the players who sent their first records",
    "  everyone who reported a bug",
    "  the translators of the language files",
    "  the players who kept their videos",
    "  the authors of the first counters templates",
    "  the players who asked for the statistics pages",
    "  everyone who wrote in the guestbook",
    "  the players of the speed ladder",
    "  the players of the no-flagging style",
    "  the players of the flagging style",
    "  the Beginner record holders",
    "  the Intermediate record holders",
    "  the Expert record holders",
    "  the players who tried the custom boards",
    "  the people who checked the 3BV figures",
    "  the people who suggested new formulas",
    "  the skin painters",
    "  the players who asked for a bigger history",
    "  the teams of the first tournaments",
    "  the players who found the hacked videos",
    "  everyone who sent a feature wish",
    "  everyone who reads this list",
    "  and you, for playing",
};
// The highest index of the thanks list.
inline constexpr uint8_t kAboutThanksLast = 23;

inline constexpr const char* kAboutWebPage = "https://example.org/minesweeper";

struct TAboutTexts {
    std::string name;
    std::string version;
    std::string copyright; // lcop
    std::string author;    // lAuth
    std::string webHint;   // llink's hint: the web page
    std::string mailHint;  // llink2's hint: the mail link
    std::vector<std::string> memo;
};

// The mail link: "mailto:" + the address + "?subject=" + the subject ending with ReplayName, the
// subject percent-encoded so that "&", "#" or "?" in a name do not break the link.
std::string AboutMailLink();

// The box's texts, the thanks list starting at `start` (0..23; larger is taken modulo 24).
TAboutTexts AboutTexts(uint32_t start);

// What the About command fills in: the thanks list from a fresh Random(24).
TAboutTexts FillAboutBox();

} // namespace quorlet
