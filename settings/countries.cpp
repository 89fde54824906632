#include "settings/countries.h"

#include <algorithm>
#include <cctype>

namespace quorlet {

namespace {

struct TCountry {
    const char* Name;
    const char* Flag; // file stem in the flag collection; "" for none
};

constexpr std::array<TCountry, kCountryCount> kCountries = {{
    {"(N/A)", ""},          {"Australia", "au"},     {"Austria", "at"},         {"Belgium", "be"},
    {"Bosnia", "ba"},       {"Brazil", "br"},        {"Bulgaria", "bg"},        {"Canada", "ca"},
    {"China", "cn"},        {"Denmark", "dk"},       {"England", "england"},    {"Finland", "fi"},
    {"France", "fr"},       {"Germany", "de"},       {"Greece", "gr"},          {"Hong Kong", "hk"},
    {"Hungary", "hu"},      {"Iceland", "is"},       {"India", "in"},           {"Iran", "ir"},
    {"Ireland", "ie"},      {"Israel", "il"},        {"Italy", "it"},           {"Korea South", "kr"},
    {"Malaysia", "my"},     {"Mexico", "mx"},        {"Netherlands", "nl"},     {"New Zealand", "nz"},
    {"Norway", "no"},       {"Poland", "pl"},        {"Romania", "ro"},         {"Russia", "ru"},
    {"Serbia", "rs"},       {"Singapore", "sg"},     {"Spain", "es"},           {"Sweden", "se"},
    {"Switzerland", "ch"},  {"Taiwan", "tw"},        {"Thailand", "th"},        {"Turkey", "tr"},
    {"Ukraine", "ua"},      {"USA", "us"},           {"Vietnam", "vn"},         {"Wales", "wales"},
    {"Montenegro", "me"},   {"Afganistan", "af"},    {"Albania", "al"},         {"Algeria", "dz"},
    {"Andorra", "ad"},      {"Angola", "ao"},        {"Argentina", "ar"},       {"Armenia", "am"},
    {"Azerbaijan", "az"},   {"Bangladesh", "bd"},    {"Belarus", "by"},         {"Belize", "bz"},
    {"Cambodia", "kh"},     {"Chad", "td"},          {"Chile", "cl"},           {"Colombia", "co"},
    {"Croatia", "hr"},      {"Cuba", "cu"},          {"Cyprus", "cy"},          {"Czech Republic", "cz"},
    {"Egypt", "eg"},        {"Estonia", "ee"},       {"Euro Union", "europeanunion"},
    {"Indonesia", "id"},    {"Iraq", "iq"},          {"Japan", "jp"},           {"Korea North", "kp"},
    {"Latvia", "lv"},       {"Liechtenstein", "li"}, {"Luxembourg", "lu"},      {"Moldova", "md"},
    {"Monaco", "mc"},       {"Palestine", "ps"},     {"Portugal", "pt"},        {"Qatar", "qa"},
    {"Slovakia", "sk"},     {"Slovenia", "si"},      {"South Africa", "za"},    {"UAE", "ae"},
    // The collection's Serbia-and-Montenegro flag is the last flag of that union.
    {"Yugoslavia", "cs"},
}};

constexpr std::array<const char*, kCountryCount> Names() {
    std::array<const char*, kCountryCount> names{};
    for (std::size_t i = 0; i < kCountryCount; ++i)
        names[i] = kCountries[i].Name;
    return names;
}

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

} // namespace

const std::array<const char*, kCountryCount> CountryTable = Names();

uint8_t CountryCode(std::string_view name) {
    for (std::size_t i = 0; i < kCountryCount; ++i)
        if (name == CountryTable[i]) return static_cast<uint8_t>(i);
    return 0;
}

std::vector<std::string> CountryListNames() {
    std::vector<std::string> names(CountryTable.begin() + 1, CountryTable.end());
    std::stable_sort(names.begin(), names.end(),
                     [](const std::string& a, const std::string& b) { return Lower(a) < Lower(b); });
    names.insert(names.begin(), CountryTable[0]);
    return names;
}

std::string CountryFlagFile(std::size_t code) {
    if (code == 0 || code >= kCountryCount) return {};
    return std::string(kCountries[code].Flag) + ".png";
}

} // namespace quorlet
