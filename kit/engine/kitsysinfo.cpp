#include "kit/engine/kitsysinfo.h"

#include <pwd.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <vector>

namespace quorlet {

bool IsBlank(std::string_view text) {
    return text.find_first_not_of(' ') == std::string_view::npos;
}

std::string WithTrailingSlash(std::string_view text) {
    std::string result(text);
    if (IsBlank(text) || text.back() != '/') result += '/';
    return result;
}

std::string WithoutTrailingSlash(std::string_view text) {
    if (!IsBlank(text) && text.size() > 1 && text.back() == '/') text.remove_suffix(1);
    return std::string(text);
}

uint32_t ClassifyOsVersion(const TKitOsVersion& v) {
    uint32_t flags = 0;
    if (v.PlatformId == kOsPlatformFamily1) {
        flags |= vfFamily1;
        if (v.Minor > 9) flags |= vfFamily1Gen2;
        if (v.Major >= 4 && v.Minor >= 90) flags |= vfFamily1Gen3;
        if (v.ExtensionInstalled) flags |= vfExtension;
        return flags;
    }
    if (v.PlatformId != kOsPlatformFamily2) return 0;
    flags |= vfExtension | vfFamily2;
    const uint8_t lowByte = static_cast<uint8_t>(v.Major);
    if (lowByte == 5) {
        if (v.Minor != 0) {
            flags |= vfGen5Minor;
            if (v.ProductType > 1) flags |= vfServer;
            if (v.ProductType >= 2 && v.SuiteMask == 2)
                flags |= vfEdition1;
            else if (v.SuiteMask == 3)
                flags |= vfEdition2;
            else if (v.MediaCenter)
                flags |= vfEdition3;
            else if (v.TabletPc)
                flags |= vfEdition4;
            else
                flags |= vfEdition5;
        } else {
            flags |= vfGen5;
            if (v.SuiteMask == 2) flags |= vfEdition6;
        }
    }
    if (lowByte >= 6) flags |= vfGen6;
    return flags;
}

TKitOsVersion ParseOsRelease(std::string_view release) {
    uint32_t numbers[3] = {0, 0, 0};
    size_t at = 0;
    for (uint32_t& n : numbers) {
        if (at >= release.size() || release[at] < '0' || release[at] > '9') break;
        while (at < release.size() && release[at] >= '0' && release[at] <= '9') {
            n = n * 10 + static_cast<uint32_t>(release[at] - '0');
            if (n > 0xFFFFFFu) n = 0xFFFFFFu; // keeps an absurd release from overflowing
            ++at;
        }
        if (at >= release.size() || release[at] != '.') break;
        ++at;
    }
    TKitOsVersion v;
    v.Major = numbers[0];
    v.Minor = numbers[1];
    v.Build = numbers[2];
    return v;
}

TKitOsVersion ReadOsVersion() {
    struct utsname name {};
    if (::uname(&name) != 0) return {};
    return ParseOsRelease(name.release);
}

std::string KitUserName() {
    long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<size_t>(size) : 16384);
    struct passwd entry {};
    struct passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found)
        return KitUserNameOf(nullptr);
    return KitUserNameOf(found->pw_name);
}

std::string KitUserNameOf(const char* name) {
    const std::string_view user = name ? std::string_view(name) : std::string_view();
    if (user.empty() || user.size() > 63) return "(Unknown)";
    return std::string(user);
}

} // namespace quorlet
