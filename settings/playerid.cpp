#include "settings/playerid.h"

#include <algorithm>
#include <array>

#include "core/FData.h"

namespace quorlet {

namespace {

// clang-format off
constexpr std::array<std::string_view, kBannedWordCount> kBuiltInBannedWords{{
    "fuck", "fucker", "fucking", "fucked", "fuckoff", "fuckyou", "fuckface", "fuckwit",
    "motherfucker", "mothafucka", "fvck", "phuck", "fcuk", "shit", "sh1t", "5hit", "shithead",
    "sh1thead", "shitface", "bullshit", "bullsh1t", "cunt", "cvnt", "kunt", "bitch", "b1tch",
    "biatch", "8itch", "bitches", "bastard", "b4stard", "basterd", "asshole", "a55hole", "assh0le",
    "a55h0le", "arsehole", "ar5ehole", "asswipe", "a55wipe", "dumbass", "jackass", "j4ckass",
    "dickhead", "d1ckhead", "dickh3ad", "cocksucker", "c0cksucker", "cocksuck3r", "wanker",
    "w4nker", "wank3r", "twat", "tw4t", "pussy", "pu55y", "pus5y", "whore", "wh0re", "slut",
    "5lut", "nigger", "n1gger", "nigg3r", "n1gg3r", "nigga", "n1gga", "faggot", "f4ggot", "fagg0t",
    "f4gg0t", "retard", "r3tard", "ret4rd", "r3t4rd", "penis", "pen1s", "p3nis", "p3n1s", "vagina",
    "vag1na", "v4gina", "dildo", "d1ldo", "dild0", "blowjob", "bl0wjob", "blowj0b", "handjob",
    "h4ndjob", "jerkoff", "jerk0ff", "cumshot", "cumsh0t", "cumslut", "bollocks", "b0ll0cks",
    "bollox", "tosser", "t0sser", "pr1ck", "scumbag", "scumb4g", "douchebag", "d0uchebag", "porn",
    "p0rn", "porno", "boobs", "b00bs", "titties", "t1tties", "bugger", "bugg3r", "skank", "sk4nk",
    "milf", "m1lf", "goddamn", "g0ddamn", "nutsack", "ballsack", "clitoris", "cl1toris", "smegma",
    "queef", "stfu",
}};
// clang-format on

std::string AsciiUpper(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

} // namespace

std::vector<std::string> DefaultBannedWords() {
    return {kBuiltInBannedWords.begin(), kBuiltInBannedWords.end()};
}

bool IsPlayerIdAllowed(std::string_view id) {
    const std::string upper = AsciiUpper(id);
    return std::none_of(BannedWords.begin(), BannedWords.end(), [&](const std::string& word) {
        return !word.empty() && upper.find(AsciiUpper(word)) != std::string::npos;
    });
}

} // namespace quorlet
