#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kit/engine/kitblock.h"
#include "kit/engine/kitforms.h"
#include "kit_seeds.h"

namespace quorlet {
namespace {

TEST(KitForms, ValuesAreLittleEndianAndShortTextsStopAt255) {
    std::string out;
    WriteInteger(out, 0x01020304);
    WriteInteger(out, -1);
    WriteByte(out, 7);
    WriteShortText(out, std::string(300, 'x'));
    WriteShortText(out, "");
    ASSERT_EQ(out.size(), 4u + 4 + 1 + 256 + 1);
    EXPECT_EQ(out.substr(0, 4), std::string("\x04\x03\x02\x01", 4));
    EXPECT_EQ(static_cast<uint8_t>(out[9]), 255);
    TKitReader in(out);
    EXPECT_EQ(in.Integer(), 0x01020304);
    EXPECT_EQ(in.Integer(), -1);
    EXPECT_EQ(in.Byte(), 7);
    EXPECT_EQ(in.ShortText(), std::string(255, 'x'));
    EXPECT_EQ(in.ShortText(), "");
    EXPECT_TRUE(in.Ok());
    EXPECT_EQ(in.Byte(), 0);
    EXPECT_FALSE(in.Ok());
    // A failed read sticks: nothing is read past it.
    const std::string cutText("\x05" "abc", 4);
    TKitReader cut(cutText);
    EXPECT_EQ(cut.ShortText(), "");
    EXPECT_FALSE(cut.Ok());
}

TEST(KitForms, PlainAndCompressedFormsRoundTripAndRefuseCutBytes) {
    const std::vector<std::string> lines = {"first", "", "third line"};
    const std::string text = TextListText(lines);
    EXPECT_EQ(text, "first\r\n\r\nthird line\r\n");
    EXPECT_EQ(TextListLines(text), lines);
    EXPECT_EQ(TextListLines("a\nb\rc"), (std::vector<std::string>{"a", "b", "c"}));
    for (bool compressed : {false, true}) {
        SCOPED_TRACE(compressed);
        std::string out;
        WriteForm(out, text, compressed);
        WriteByte(out, 0x5A);
        TKitReader in(out);
        std::string back;
        ASSERT_TRUE(ReadForm(in, compressed, back));
        EXPECT_EQ(back, text);
        EXPECT_EQ(in.Byte(), 0x5A);
        TKitReader cut(std::string_view(out).substr(0, out.size() - 3));
        EXPECT_FALSE(ReadForm(cut, compressed, back));
        EXPECT_TRUE(back.empty());
    }
    std::string sized;
    WriteSized(sized, "abc");
    EXPECT_EQ(sized, std::string("\x03\x00\x00\x00" "abc", 7));
}

uint32_t U32(const std::string& b, size_t at) {
    return uint32_t{static_cast<uint8_t>(b[at])} | uint32_t{static_cast<uint8_t>(b[at + 1])} << 8 |
           uint32_t{static_cast<uint8_t>(b[at + 2])} << 16 | uint32_t{static_cast<uint8_t>(b[at + 3])} << 24;
}

std::string Hex4(std::string_view bytes) {
    std::string out;
    for (unsigned char c : bytes) {
        out += "0123456789abcdef"[c >> 4];
        out += "0123456789abcdef"[c & 15];
    }
    return out;
}

TKitPixels Picture(int w, int h, std::vector<uint32_t> rgb) {
    TKitPixels p;
    p.Width = w;
    p.Height = h;
    p.Rgb = std::move(rgb);
    return p;
}

TEST(KitBitmapFile, HeadersTablesAndRowsByDepth) {
    // 3 x 2: top row red, green, blue; bottom row black, white, grey.
    const TKitPixels p = Picture(3, 2, {0xFF0000, 0x00FF00, 0x0000FF, 0x000000, 0xFFFFFF, 0x808080});
    struct Case {
        TKitSavePixelFormat format;
        int bits;
        size_t colors;
        size_t rowSize;
    };
    const Case cases[] = {
        {spfMono, 1, 2, 4}, {spf4bit, 4, 16, 4}, {spf8bit, 8, 256, 4}, {spf16bit, 24, 0, 12}, {spfDefault, 24, 0, 12},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bits);
        const std::string b = BitmapFileBytes(p, c.format);
        const size_t offset = 14 + 40 + c.colors * 4;
        ASSERT_EQ(b.size(), offset + 2 * c.rowSize);
        EXPECT_EQ(b.substr(0, 2), "BM");
        EXPECT_EQ(U32(b, 2), b.size());
        EXPECT_EQ(U32(b, 10), offset);
        EXPECT_EQ(U32(b, 14), 40u);
        EXPECT_EQ(U32(b, 18), 3u);
        EXPECT_EQ(U32(b, 22), 2u);
        EXPECT_EQ(static_cast<uint8_t>(b[26]), 1);
        EXPECT_EQ(static_cast<uint8_t>(b[28]), c.bits);
        EXPECT_EQ(U32(b, 30), 0u);
        EXPECT_EQ(U32(b, 34), 2 * c.rowSize);
    }
    // 24 bits: the bottom row first, blue-green-red bytes, padded to 12.
    const std::string b24 = BitmapFileBytes(p, spf16bit);
    EXPECT_EQ(b24.substr(54, 12), std::string("\x00\x00\x00\xFF\xFF\xFF\x80\x80\x80\x00\x00\x00", 12));
    EXPECT_EQ(b24.substr(66, 9), std::string("\x00\x00\xFF\x00\xFF\x00\xFF\x00\x00", 9));
    // 1 bit against the fixed black-and-white table: bottom row 0 1 1 (grey is nearer white).
    const std::string b1 = BitmapFileBytes(p, spfMono);
    EXPECT_EQ(U32(b1, 54), 0u);
    EXPECT_EQ(U32(b1, 58), 0xFFFFFFu);
    EXPECT_EQ(static_cast<uint8_t>(b1[62]), 0b01100000);
    // 4 bits: the fixed sixteen colours hold every one of these exactly.
    const std::string b4 = BitmapFileBytes(p, spf4bit);
    const size_t rows4 = 14 + 40 + 64;
    EXPECT_EQ(Hex4(b4.substr(rows4, 2)), "0f80");
    EXPECT_EQ(Hex4(b4.substr(rows4 + 4, 2)), "9ac0");
}

TEST(KitBitmapFile, IndexedPicturesKeepTheirOwnTable) {
    TKitPixels p = Picture(2, 1, {0x112233, 0x445566});
    p.ColorTable = {0x112233, 0x445566, 0x778899};
    p.Indices = {0, 1};
    EXPECT_EQ(p.OwnBits(), 4);
    const std::string own = BitmapFileBytes(p, spfDefault);
    EXPECT_EQ(static_cast<uint8_t>(own[28]), 4);
    EXPECT_EQ(U32(own, 54), 0x112233u);
    EXPECT_EQ(U32(own, 62), 0x778899u);
    EXPECT_EQ(U32(own, 66), 0u); // unused entries are black
    EXPECT_EQ(static_cast<uint8_t>(own[14 + 40 + 64]), 0x01);
    // Written at 8 bits, the own table still fits.
    const std::string eight = BitmapFileBytes(p, spf8bit);
    EXPECT_EQ(U32(eight, 58), 0x445566u);
    // At 1 bit it does not: the fixed table, nearest colours.
    const std::string mono = BitmapFileBytes(p, spfMono);
    EXPECT_EQ(U32(mono, 58), 0xFFFFFFu);
    EXPECT_EQ(PixelFormatColors(spfDefault), -1);
    EXPECT_EQ(PixelFormatColors(spf16bit), 65536);
    EXPECT_EQ(FixedPalette(8).size(), 256u);
    EXPECT_EQ(FixedPalette(4).size(), 16u);
}

std::string WaveHeader(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits) {
    std::string b = "RIFF";
    WriteInteger(b, 36);
    b += "WAVEfmt ";
    WriteInteger(b, 16);
    b += static_cast<char>(tag);
    b += static_cast<char>(tag >> 8);
    b += static_cast<char>(channels);
    b += static_cast<char>(channels >> 8);
    WriteInteger(b, static_cast<int32_t>(rate));
    WriteInteger(b, static_cast<int32_t>(rate * channels * bits / 8));
    b += std::string("\x04\x00", 2);
    b += static_cast<char>(bits);
    b += static_cast<char>(bits >> 8);
    return b;
}

TEST(KitWaveCheck, HeaderFieldsAndRefusals) {
    const auto stereo = CheckWaveData(WaveHeader(1, 2, 44100, 16));
    ASSERT_TRUE(stereo);
    EXPECT_TRUE(stereo->Pcm);
    EXPECT_EQ(stereo->Channels, 2);
    EXPECT_EQ(stereo->SampleRate, 44100u);
    EXPECT_EQ(stereo->BitsPerSample, 16);
    const auto other = CheckWaveData(WaveHeader(3, 6, 8000, 8));
    ASSERT_TRUE(other);
    EXPECT_FALSE(other->Pcm);
    EXPECT_EQ(other->Channels, 0);
    std::string wrong = WaveHeader(1, 1, 8000, 8);
    wrong[8] = 'X';
    EXPECT_FALSE(CheckWaveData(wrong));
    EXPECT_FALSE(CheckWaveData(WaveHeader(1, 1, 8000, 8).substr(0, 35)));
    EXPECT_FALSE(CheckWaveData(""));
}

TEST(KitWaveCheck, WaveFormsRoundTripAndWriteTheFuzzSeeds) {
    const std::string wave = WaveHeader(1, 1, 8000, 8) + "data" + std::string("\x04\x00\x00\x00", 4) + "\x80\x81\x82\x83";
    const std::pair<const char*, std::string> seeds[] = {
        {"plain", WaveForm(wave, false)},
        {"compressed", WaveForm(wave, true)},
        {"silence", WaveForm(WaveHeader(1, 2, 44100, 16) + std::string(2000, '\0'), true)},
        {"not_a_wave", WaveForm("RIFF....AVI LIST", false)},
    };
    for (const auto& [name, bytes] : seeds) {
        for (bool compressed : {false, true}) {
            TKitReader in(bytes);
            std::string back;
            const bool expected = std::string(name) != "not_a_wave" && compressed == (std::string(name) != "plain");
            EXPECT_EQ(ReadWaveForm(in, compressed, back), expected) << name << compressed;
            if (expected && std::string(name) != "silence") {
                EXPECT_EQ(back, wave);
            }
        }
        test::WriteKitSeed("kitwave", name, bytes);
    }
}

} // namespace
} // namespace quorlet
