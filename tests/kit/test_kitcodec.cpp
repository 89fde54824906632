#include <gtest/gtest.h>

#include <random>

#include "kit/engine/kitcodec.h"

namespace quorlet {
namespace {

std::string RandomBytes(std::mt19937& rng, size_t size) {
    std::string bytes(size, '\0');
    for (char& b : bytes) b = static_cast<char>(rng() & 0xFF);
    return bytes;
}

TEST(KitScramble, SameKeyRestoresAnyBytesAnotherKeyDoesNot) {
    std::mt19937 rng(7);
    for (size_t size : {1u, 2u, 17u, 256u}) {
        const std::string text = RandomBytes(rng, size);
        const std::string scrambled = ScrambleText(text, 23917);
        ASSERT_EQ(scrambled.size(), text.size());
        EXPECT_EQ(UnscrambleText(scrambled, 23917), text);
        if (size > 1) {
            EXPECT_NE(scrambled, text);
            EXPECT_NE(UnscrambleText(scrambled, 23918), text);
        }
    }
    EXPECT_EQ(ScrambleText("", 1), "");
}

TEST(KitScramble, KeepsNulBytesAndFollowsTheKeyStep) {
    const std::string text("a\0b", 3);
    const uint16_t key = 0x1234;
    const std::string s = ScrambleText(text, key);
    ASSERT_EQ(s.size(), 3u);
    // First byte: XOR with the key's high byte; the next key steps over the scrambled byte.
    EXPECT_EQ(static_cast<uint8_t>(s[0]), 'a' ^ 0x12);
    const auto next = static_cast<uint16_t>((static_cast<uint8_t>(s[0]) + key) * kScrambleMul + kScrambleAdd);
    EXPECT_EQ(static_cast<uint8_t>(s[1]), next >> 8);
    EXPECT_EQ(UnscrambleText(s, key), text);
}

TEST(KitEncodeText, ShapesOfTheEncodedForm) {
    EXPECT_EQ(EncodeText(""), "0:");
    // "A" padded with two blanks: 0x412020 -> groups 16, 18, 0, 32.
    EXPECT_EQ(EncodeText("A"), "1:@B0P");
    const std::string four = EncodeText("abcd");
    EXPECT_EQ(four.substr(0, 2), "4:");
    EXPECT_EQ(four.size(), 10u);
    const std::string all = EncodeText(std::string("\xFF\xFF\xFF", 3));
    EXPECT_EQ(all, "3:oooo");
}

TEST(KitEncodeText, DecodeRestoresRandomBytes) {
    std::mt19937 rng(11);
    for (size_t size = 0; size < 40; ++size) {
        const std::string bytes = RandomBytes(rng, size);
        std::string back = "stale";
        ASSERT_TRUE(DecodeText(EncodeText(bytes), back)) << size;
        EXPECT_EQ(back, bytes);
    }
}

TEST(KitEncodeText, DecodeRefusesWhatEncodeCannotMake) {
    const char* bad[] = {
        "",         // no colon
        "@B0P",     // no colon
        ":@B0P",    // no length
        "1x:@B0P",  // not decimal
        "-1:@B0P",  // not decimal
        "1:@B0",    // not whole groups
        "1:@B0p",   // 'p' is past "o"
        "1:@B/P",   // '/' is before "0"
        "4:@B0P",   // longer than the three bytes held
        "99999999999999999999999:", // a length no body can hold
    };
    for (const char* text : bad) {
        std::string out = "stale";
        EXPECT_FALSE(DecodeText(text, out)) << text;
        EXPECT_TRUE(out.empty()) << text;
    }
    std::string out;
    EXPECT_TRUE(DecodeText("0:", out));
    EXPECT_TRUE(out.empty());
    EXPECT_TRUE(DecodeText("2:@B0P", out));
    EXPECT_EQ(out, "A ");
}

} // namespace
} // namespace quorlet
