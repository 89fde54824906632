#include <gtest/gtest.h>

#include "kit/engine/kitsysinfo.h"

namespace quorlet {
namespace {

TEST(KitPathText, TrailingSlashRules) {
    struct Case {
        const char* text;
        const char* with;
        const char* without;
    };
    const Case cases[] = {
        {"", "/", ""},           {"   ", "   /", "   "}, {"/", "/", "/"},
        {"/usr", "/usr/", "/usr"}, {"/usr/", "/usr/", "/usr"}, {"a//", "a//", "a/"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(WithTrailingSlash(c.text), c.with);
        EXPECT_EQ(WithoutTrailingSlash(c.text), c.without);
    }
    EXPECT_TRUE(IsBlank(""));
    EXPECT_TRUE(IsBlank("  "));
    EXPECT_FALSE(IsBlank(" x "));
}

TEST(KitOsVersion, ClassificationTable) {
    auto rec = [](uint32_t platform, uint32_t major, uint32_t minor, uint8_t product = 1, uint16_t suite = 0) {
        TKitOsVersion v;
        v.PlatformId = platform;
        v.Major = major;
        v.Minor = minor;
        v.ProductType = product;
        v.SuiteMask = suite;
        return v;
    };
    struct Case {
        TKitOsVersion version;
        uint32_t flags;
    };
    TKitOsVersion ext = rec(kOsPlatformFamily1, 4, 0);
    ext.ExtensionInstalled = true;
    TKitOsVersion media = rec(kOsPlatformFamily2, 5, 1);
    media.MediaCenter = true;
    TKitOsVersion tablet = rec(kOsPlatformFamily2, 5, 1);
    tablet.TabletPc = true;
    const uint32_t nt = vfExtension | vfFamily2;
    const Case cases[] = {
        {rec(kOsPlatformFamily1, 4, 0), vfFamily1},
        {ext, vfFamily1 | vfExtension},
        {rec(kOsPlatformFamily1, 4, 10), vfFamily1 | vfFamily1Gen2},
        {rec(kOsPlatformFamily1, 4, 90), vfFamily1 | vfFamily1Gen2 | vfFamily1Gen3},
        {rec(kOsPlatformFamily1, 6, 0), vfFamily1}, // the first family never reaches generation 6
        {rec(kOsPlatformFamily2, 5, 0), nt | vfGen5},
        {rec(kOsPlatformFamily2, 5, 0, 3, 2), nt | vfGen5 | vfEdition6},
        {rec(kOsPlatformFamily2, 5, 1), nt | vfGen5Minor | vfEdition5},
        {rec(kOsPlatformFamily2, 5, 2, 3, 2), nt | vfGen5Minor | vfServer | vfEdition1},
        {rec(kOsPlatformFamily2, 5, 1, 1, 3), nt | vfGen5Minor | vfEdition2},
        {media, nt | vfGen5Minor | vfEdition3},
        {tablet, nt | vfGen5Minor | vfEdition4},
        {rec(kOsPlatformFamily2, 4, 0), nt},
        {rec(kOsPlatformFamily2, 6, 1), nt | vfGen6},
        {rec(kOsPlatformFamily2, 10, 0), nt | vfGen6},
        {rec(kOsPlatformPosix, 6, 1), 0},
        {rec(0, 5, 1), 0},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(ClassifyOsVersion(cases[i].version), cases[i].flags);
    }
}

TEST(KitOsVersion, ReleaseNumbers) {
    struct Case {
        const char* release;
        uint32_t major, minor, build;
    };
    const Case cases[] = {
        {"6.1.0-18-amd64", 6, 1, 0}, {"5.15.153.1-microsoft", 5, 15, 153}, {"6", 6, 0, 0},
        {"", 0, 0, 0},               {"x.1", 0, 0, 0},                      {"4.x.9", 4, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.release);
        const TKitOsVersion v = ParseOsRelease(c.release);
        EXPECT_EQ(v.PlatformId, kOsPlatformPosix);
        EXPECT_EQ(v.Major, c.major);
        EXPECT_EQ(v.Minor, c.minor);
        EXPECT_EQ(v.Build, c.build);
    }
    // The running system is of neither family: no flags.
    EXPECT_EQ(ClassifyOsVersion(ReadOsVersion()), 0u);
}

TEST(KitUserName, NamesTheUserWithinSixtyThreeBytes) {
    const std::string name = KitUserName();
    EXPECT_FALSE(name.empty());
    EXPECT_LE(name.size(), 63u);
    // A longer name does not fit: it is no name, not a cut one.
    EXPECT_EQ(KitUserNameOf(std::string(63, 'a').c_str()), std::string(63, 'a'));
    EXPECT_EQ(KitUserNameOf(std::string(64, 'a').c_str()), "(Unknown)");
    EXPECT_EQ(KitUserNameOf(""), "(Unknown)");
    EXPECT_EQ(KitUserNameOf(nullptr), "(Unknown)");
}

} // namespace
} // namespace quorlet
