#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "kit/engine/kitblock.h"
#include "kit/engine/kitforms.h"
#include "kit_seeds.h"

namespace quorlet {
namespace {

std::string Hex(std::string_view bytes) {
    static const char* digits = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        if (!out.empty()) out += ' ';
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

std::string RandomBytes(uint32_t seed, size_t size) {
    std::mt19937 rng(seed);
    std::string bytes(size, '\0');
    for (char& b : bytes) b = static_cast<char>(rng() & 0xFF);
    return bytes;
}

std::string Decompressed(std::string_view block) {
    std::string out;
    EXPECT_TRUE(DecompressBlock(block, out)) << Hex(block);
    return out;
}

TEST(KitBlockCodec, HandWrittenBlocks) {
    struct Case {
        std::string source;
        const char* block;
    };
    const Case cases[] = {
        // One run item: 0, run - 16 (two bytes), the byte.
        {std::string(20, 'A'), "40 80 00 00 00 04 41"},
        // Three literals, then a match 3 back of 6 bytes (control bits 0001).
        {"abcabcabc", "40 10 00 61 62 63 00 33"},
        // Too short to gain: stored.
        {"x", "80 78"},
        {"abc", "80 61 62 63"},
        // The longest run is 4095: one more byte is a literal.
        {std::string(4096, 'A'), "40 80 00 00 0f ef 41 41"},
        // A match reaches back 4095 bytes at most (distance 4095, length 3)...
        {"abc" + std::string(4092, 'z') + "abc", "40 18 00 61 62 63 00 0f ec 7a ff f0"},
        // ...and 4096 back is out of reach: literals.
        {"abc" + std::string(4093, 'z') + "abc", "40 10 00 61 62 63 00 0f ed 7a 61 62 63"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source);
        const std::string block = CompressBlock(c.source);
        EXPECT_EQ(Hex(block), c.block);
        EXPECT_EQ(Decompressed(block), c.source);
    }
}

TEST(KitBlockCodec, RoundTripsOverlapsLongRunsAndRandomBytes) {
    std::vector<std::string> sources = {
        "x" + std::string(15, 'a') + "y",                // a match one back, copied over itself
        std::string(4095, 'z'),                      // the longest run item
        std::string(4096, 'z') + "tail",             // a run and literals after it
        std::string(kKitChunkSize, '\0'),            // a whole chunk of one byte
        "the quick brown fox jumps over the quick brown fox and the lazy dog, the quick dog",
    };
    std::string mixed;
    for (int i = 0; i < 3000; ++i) mixed += "line " + std::to_string(i % 37) + (i % 5 ? " ok\r\n" : " error\r\n");
    sources.push_back(mixed.substr(0, kKitChunkSize));
    for (const std::string& s : sources) {
        const std::string block = CompressBlock(s);
        EXPECT_EQ(static_cast<uint8_t>(block[0]), kKitMethodCompressed);
        EXPECT_LT(block.size(), s.size());
        EXPECT_EQ(Decompressed(block), s);
    }
    const std::string noise = RandomBytes(3, 1000);
    const std::string stored = CompressBlock(noise);
    EXPECT_EQ(stored.size(), 1001u);
    EXPECT_EQ(static_cast<uint8_t>(stored[0]), kKitMethodStored);
    EXPECT_EQ(Decompressed(stored), noise);
}

TEST(KitBlockCodec, DecompressorRefusesBlocksTheCompressorCannotMake) {
    using namespace std::string_literals;
    const std::string bad[] = {
        ""s,                             // no method byte
        "\x41"s,                         // unknown method
        "\x40\x80"s,                     // control word cut
        "\x40\x80\x00\x00\x00"s,         // run item cut
        "\x40\x40\x00\x61\x00"s,         // match item cut
        "\x40\x40\x00\x61\x00\x20"s,     // a match 2 back after one byte of output
        "\x40\x80\x00\x00\x10"s,         // a match before any output
    };
    for (const std::string& block : bad) {
        std::string out;
        EXPECT_FALSE(DecompressBlock(block, out)) << Hex(block);
    }
    std::string out;
    // Output past a chunk: sixteen run items of the longest run a block can hold (4111).
    std::string runs("\x40\xFF\xFF", 3);
    for (int i = 0; i < 16; ++i) runs += std::string("\x00\x0F\xFF\x7A", 4);
    out.clear();
    EXPECT_FALSE(DecompressBlock(runs, out));
    EXPECT_LE(out.size(), kKitChunkSize);
    std::string stored(1, '\x80');
    stored += std::string(kKitChunkSize + 1, 'q');
    out.clear();
    EXPECT_FALSE(DecompressBlock(stored, out));
}

TEST(KitBlockStream, ChunksAndTotals) {
    const std::string source = RandomBytes(5, kKitChunkSize + 1);
    const std::string stream = CompressStream(source);
    TKitReader in(stream);
    const uint32_t total = in.Unsigned();
    EXPECT_EQ(total, stream.size() - 4);
    const uint32_t first = in.Unsigned();
    EXPECT_EQ(first, kKitChunkSize + 1); // stored chunk: method byte + the bytes
    in.Skip(first);
    EXPECT_EQ(in.Unsigned(), 2u);        // the last byte, stored
    in.Skip(2);
    EXPECT_EQ(in.Remaining(), 0u);
    std::string back;
    size_t used = 0;
    ASSERT_TRUE(DecompressStream(stream + "after", back, &used));
    EXPECT_EQ(back, source);
    EXPECT_EQ(used, stream.size());

    EXPECT_EQ(Hex(CompressStream("")), "00 00 00 00");
    ASSERT_TRUE(DecompressStream(std::string(4, '\0'), back));
    EXPECT_TRUE(back.empty());
}

TEST(KitBlockStream, ReaderBoundsTheTotalAndEachBlock) {
    const std::string good = CompressStream(std::string(100, 'k'));
    auto patched = [&](size_t at, uint32_t value) {
        std::string s = good;
        for (int i = 0; i < 4; ++i) s[at + i] = static_cast<char>(value >> (8 * i));
        return s;
    };
    const std::vector<std::string> bad = {
        good.substr(0, 3),                              // no total
        good.substr(0, good.size() - 1),                // total past the stream
        patched(0, 3),                                  // total too small for a block header
        patched(4, static_cast<uint32_t>(good.size())), // block past the total
        patched(4, 70000),                              // block length beyond 65,535
        patched(0, 0xFFFFFFFF),
    };
    for (const std::string& s : bad) {
        std::string out = "stale";
        EXPECT_FALSE(DecompressStream(s, out)) << Hex(s);
        EXPECT_TRUE(out.empty());
    }
}

// Stable seeds for the codec's fuzz target (fuzz/corpus/kitblock/), checked as they are
// written so the corpus holds streams that decode.
TEST(KitBlockStream, WritesTheFuzzSeeds) {
    std::string text;
    for (int i = 0; i < 200; ++i) text += "row " + std::to_string(i % 9) + "\r\n";
    const std::vector<std::pair<std::string, std::string>> seeds = {
        {"runs", CompressStream(std::string(5000, 'A') + std::string(300, 'B'))},
        {"text", CompressStream(text)},
        {"stored", CompressStream(RandomBytes(9, 200))},
        {"two_chunks", CompressStream(std::string(kKitChunkSize, 'c') + "de")},
        {"empty", CompressStream("")},
    };
    for (const auto& [name, bytes] : seeds) {
        std::string out;
        ASSERT_TRUE(DecompressStream(bytes, out)) << name;
        test::WriteKitSeed("kitblock", name, bytes);
    }
}

} // namespace
} // namespace quorlet
