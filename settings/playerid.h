// The player-ID check: an ID that contains one of the banned words, in any letter case, is refused.
// The live list is BannedWords (core/FData.h), filled from the built-in words below.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quorlet {

inline constexpr std::size_t kBannedWordCount = 127;

// The built-in words, lower case, with the usual digit-for-letter spellings.
std::vector<std::string> DefaultBannedWords();

// False when any entry of BannedWords occurs anywhere in the upper-cased ID (entries compare
// upper-cased too, so the check holds before start-up has upper-cased the list). An empty ID is
// allowed; an empty entry matches nothing.
bool IsPlayerIdAllowed(std::string_view id);

} // namespace quorlet
