// The country table: a country code (CountryNumber) is a name's place in it, and the flag
// picture of a code is the file the code maps to in the system's flag collection.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quorlet {

inline constexpr std::size_t kCountryCount = 84;

// The names in code order; 0 is "(N/A)" (no country).
extern const std::array<const char*, kCountryCount> CountryTable;

// The code of an exact name; 0 (no country) for a name the table does not hold.
uint8_t CountryCode(std::string_view name);

// The names as the country list shows them: "(N/A)" first, then the rest sorted without
// regard to letter case. A list position is not a code.
std::vector<std::string> CountryListNames();

// Where the 16 x 11 flag pictures are installed (Debian famfamfam-flag-png).
inline constexpr const char* kFlagFolder = "/usr/share/flags/countries/16x11/";

// The picture file name of a code ("us.png"); empty for 0 and for codes past the table.
std::string CountryFlagFile(std::size_t code);

} // namespace quorlet
