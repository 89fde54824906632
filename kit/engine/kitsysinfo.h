// Qt-free system facts and path texts of the kit: the version record and its classification
// into flags, the logged-on user's name, and the trailing-slash rules of folder texts.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quorlet {

// A text that is empty or only blanks.
bool IsBlank(std::string_view text);
// One "/" appended unless the text is not blank and already ends with "/".
std::string WithTrailingSlash(std::string_view text);
// The final "/" dropped when the text is not blank and ends with one; "/" itself stays, so
// the root folder never turns into the empty (relative) path.
std::string WithoutTrailingSlash(std::string_view text);

// The two platform families the version flags know; the running system is neither.
constexpr uint32_t kOsPlatformFamily1 = 1;
constexpr uint32_t kOsPlatformFamily2 = 2;
constexpr uint32_t kOsPlatformPosix = 0x100;

struct TKitOsVersion {
    uint32_t PlatformId = kOsPlatformPosix;
    uint32_t Major = 0;
    uint32_t Minor = 0;
    uint32_t Build = 0;
    uint16_t SuiteMask = 0;
    uint8_t ProductType = 0;
    bool ExtensionInstalled = false;
    bool MediaCenter = false;
    bool TabletPc = false;
};

// Version flags: families, generations and numbered editions.
enum TKitOsFlag : uint32_t {
    vfFamily1 = 1u << 0,
    vfFamily1Gen2 = 1u << 1,
    vfFamily1Gen3 = 1u << 2,
    vfExtension = 1u << 3,
    vfFamily2 = 1u << 4,
    vfGen5 = 1u << 5,
    vfGen5Minor = 1u << 6,
    vfServer = 1u << 7,
    vfEdition1 = 1u << 8,
    vfEdition2 = 1u << 9,
    vfEdition3 = 1u << 10,
    vfEdition4 = 1u << 11,
    vfEdition5 = 1u << 12,
    vfEdition6 = 1u << 13,
    vfGen6 = 1u << 14,
};

// The start-up classification of a version record. A platform of neither family gives no
// flags (the composition library is never looked for then).
uint32_t ClassifyOsVersion(const TKitOsVersion& version);

// The running system's record: platform kOsPlatformPosix, numbers from uname's release.
TKitOsVersion ReadOsVersion();
// Major, minor and build from a release text such as "6.1.0-18-amd64"; missing numbers 0.
TKitOsVersion ParseOsRelease(std::string_view release);

// The logged-on user's name; "(Unknown)" when the system gives none.
std::string KitUserName();
// The name as the kit keeps it: one of more than 63 bytes does not fit its buffer, and it and a
// missing or empty name give "(Unknown)".
std::string KitUserNameOf(const char* name);

} // namespace quorlet
