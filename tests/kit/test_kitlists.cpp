#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kit/engine/kitlists.h"
#include "kit_seeds.h"

namespace quorlet {
namespace {

std::string Bytes(std::initializer_list<int> values) {
    std::string s;
    for (int v : values) s += static_cast<char>(v);
    return s;
}

std::string WaveBytes() {
    std::string b = "RIFF";
    WriteInteger(b, 36);
    b += "WAVEfmt ";
    WriteInteger(b, 16);
    b += Bytes({1, 0, 1, 0});
    WriteInteger(b, 8000);
    WriteInteger(b, 8000);
    b += Bytes({1, 0, 8, 0});
    return b;
}

TEST(KitItemRecord, FlagBitsAndHandWrittenRecord) {
    TKitItemRecord item;
    item.HasDescription = true;
    item.Description = "ab";
    item.HasIdent = true;
    item.Ident = static_cast<uint16_t>(0x12345);
    item.HasData = true;
    item.Data = "xyz";
    item.PixelFormat = spf8bit;
    EXPECT_EQ(item.Ident, 0x2345);
    EXPECT_EQ(ItemFlags(item), 0x40 | 0x08 | 0x04 | 0x02);
    item.Compressed = true;
    EXPECT_EQ(ItemFlags(item), 0x4F);
    item.Compressed = false;
    std::string out;
    WriteItemRecord(out, lkBitmapList, item);
    EXPECT_EQ(out, Bytes({0x4E, 2, 'a', 'b', 0x45, 0x23, 0, 0, 3, 0, 0, 0, 'x', 'y', 'z'}));
    TKitReader in(out);
    TKitItemRecord back;
    ASSERT_TRUE(ReadItemRecord(in, lkBitmapList, back));
    EXPECT_EQ(back.Description, "ab");
    EXPECT_EQ(back.Ident, 0x2345);
    EXPECT_EQ(back.PixelFormat, spf8bit);
    EXPECT_EQ(back.Data, "xyz");
    EXPECT_EQ(in.Remaining(), 0u);

    // The identifier's high bits on file are dropped on reading.
    const std::string wide = Bytes({0x04, 0x45, 0x23, 0x01, 0x00});
    TKitReader wideIn(wide);
    ASSERT_TRUE(ReadItemRecord(wideIn, lkStringList, back));
    EXPECT_EQ(back.Ident, 0x2345);
    EXPECT_FALSE(back.HasData);
}

TEST(KitItemRecord, EveryKindRoundTripsPlainAndCompressed) {
    for (bool compressed : {false, true}) {
        SCOPED_TRACE(compressed);
        TKitItemRecord image;
        image.Compressed = compressed;
        image.Width = 8;
        image.Height = 4;
        image.Masked = true;
        image.FrameCount = 3;
        image.Strip = std::string(200, 's');
        image.Mask = std::string(50, 'm');
        TKitItemRecord wave;
        wave.Compressed = compressed;
        wave.HasData = true;
        wave.Data = WaveBytes();
        TKitItemRecord text;
        text.Compressed = compressed;
        text.HasData = true;
        text.Data = TextListText({"one", "two"});
        const std::pair<TKitListKind, TKitItemRecord> cases[] = {
            {lkImageList, image}, {lkWaveList, wave}, {lkStringList, text}, {lkBitmapList, text}, {lkStringList, {}}};
        for (const auto& [kind, item] : cases) {
            std::string out;
            WriteItemRecord(out, kind, item);
            TKitReader in(out);
            TKitItemRecord back;
            ASSERT_TRUE(ReadItemRecord(in, kind, back)) << int(kind);
            EXPECT_EQ(in.Remaining(), 0u);
            EXPECT_EQ(back.Data, item.Data);
            EXPECT_EQ(back.Strip, item.Strip);
            EXPECT_EQ(back.Mask, item.Mask);
            EXPECT_EQ(back.FrameCount, item.FrameCount);
            EXPECT_EQ(back.Width, item.Width);
        }
    }
}

TEST(KitItemRecord, ImageHeadersAreBounded) {
    struct Case {
        int32_t height, width, alloc, frames;
        bool reads = false;
    };
    // The strip may be 32768 pixels wide, not one more.
    const Case cases[] = {{0, 16, 4, 0},           {16, -1, 4, 0},    {16, 16, 0, 0},
                          {16, 16, 4, -1},         {16, 16, 4, 2049}, {16, 0x40000000, 4, 4},
                          {16, 16, 4, 2048, true}, {16, 32769, 4, 1}};
    for (const Case& c : cases) {
        std::string out;
        WriteByte(out, 0);
        WriteInteger(out, c.height);
        WriteInteger(out, c.width);
        WriteInteger(out, c.alloc);
        WriteByte(out, 0);
        WriteInteger(out, c.frames);
        out += std::string(64, '\0');
        TKitReader in(out);
        TKitItemRecord item;
        EXPECT_EQ(ReadItemRecord(in, lkImageList, item), c.reads)
            << c.height << " " << c.width << " " << c.frames;
    }
    // A wave item whose data is not a wave does not read.
    TKitItemRecord notWave;
    notWave.HasData = true;
    notWave.Data = "RIFF";
    std::string out;
    WriteByte(out, ifData);
    WriteSized(out, notWave.Data);
    TKitReader in(out);
    EXPECT_FALSE(ReadItemRecord(in, lkWaveList, notWave));
}

std::vector<TKitItemRecord> SampleItems() {
    std::vector<TKitItemRecord> items(3);
    items[0].HasDescription = true;
    items[0].Description = "first";
    items[0].HasData = true;
    items[0].Data = TextListText({"a", "b"});
    items[1].HasIdent = true;
    items[1].Ident = 7;
    items[2].Compressed = true;
    items[2].HasData = true;
    items[2].Data = std::string(1000, 'q');
    return items;
}

TEST(KitLibraryFile, ContainerIndexAndItemsByPosition) {
    const std::vector<TKitItemRecord> items = SampleItems();
    const std::string file = LibraryFileBytes(lkStringList, items);
    EXPECT_EQ(file.substr(0, 9), "\x08KitSLL30");
    TKitLibraryIndex index;
    ASSERT_TRUE(DetectLibraryFile(file, index));
    EXPECT_EQ(index.Signature, lkStringList);
    ASSERT_EQ(index.Positions.size(), 3u);
    EXPECT_EQ(index.Positions[0], 9u + 4 + 12);
    TKitItemRecord item;
    ASSERT_TRUE(ReadLibraryItem(file, index, 2, lkStringList, item));
    EXPECT_EQ(item.Data, std::string(1000, 'q'));
    ASSERT_TRUE(ReadLibraryItem(file, index, 1, lkStringList, item));
    EXPECT_EQ(item.Ident, 7);
    EXPECT_FALSE(ReadLibraryItem(file, index, 3, lkStringList, item));
    std::vector<TKitItemRecord> back;
    ASSERT_TRUE(ReadLibraryFile(file, lkStringList, back));
    ASSERT_EQ(back.size(), 3u);
    EXPECT_EQ(back[0].Description, "first");
    // Another kind's file is not read as this kind.
    EXPECT_FALSE(ReadLibraryFile(file, lkWaveList, back));
    // Without the index the container is count and records only.
    const std::string plain = ContainerBytes(lkStringList, items, false);
    TKitReader in(plain);
    ASSERT_TRUE(ReadContainer(in, lkStringList, false, back));
    EXPECT_EQ(back.size(), 3u);
    EXPECT_EQ(KitFileExtension(0, true), ".iml");
    EXPECT_EQ(KitFileExtension(4, false), "*");
    EXPECT_EQ(KitFileExtension(6, false), "");
}

TEST(KitLibraryFile, CorruptFilesAreRefused) {
    const std::string file = LibraryFileBytes(lkStringList, SampleItems());
    auto patched = [&](size_t at, uint32_t value) {
        std::string s = file;
        for (int i = 0; i < 4; ++i) s[at + i] = static_cast<char>(value >> (8 * i));
        return s;
    };
    const std::vector<std::string> bad = {
        "",
        "\x08KitXXX30" + file.substr(9),     // unknown signature
        file.substr(0, 12),                  // count cut
        patched(9, 0x7FFFFFFF),              // a count no file can hold
        patched(13, 3),                      // a position inside the header
        patched(13, static_cast<uint32_t>(file.size())), // a position past the end
    };
    for (const std::string& s : bad) {
        TKitLibraryIndex index;
        EXPECT_FALSE(DetectLibraryFile(s, index));
        std::vector<TKitItemRecord> items;
        EXPECT_FALSE(ReadLibraryFile(s, lkStringList, items));
        EXPECT_TRUE(items.empty());
    }
    // A record cut at the end.
    std::vector<TKitItemRecord> items;
    EXPECT_FALSE(ReadLibraryFile(file.substr(0, file.size() - 1), lkStringList, items));
}

TEST(KitLibraryFile, WritesTheFuzzSeeds) {
    TKitItemRecord image;
    image.Width = 4;
    image.Height = 4;
    image.FrameCount = 2;
    image.Masked = true;
    image.Strip = "BMstrip";
    image.Mask = "BMmask";
    TKitItemRecord wave;
    wave.HasData = true;
    wave.Compressed = true;
    wave.Data = WaveBytes();
    std::string record;
    WriteItemRecord(record, lkImageList, image);
    const std::pair<const char*, std::string> seeds[] = {
        {"strings", LibraryFileBytes(lkStringList, SampleItems())},
        {"images", LibraryFileBytes(lkImageList, {image, image})},
        {"waves", LibraryFileBytes(lkWaveList, {wave})},
        {"bitmaps", LibraryFileBytes(lkBitmapList, SampleItems())},
        {"image_record", record},
    };
    for (const auto& [name, bytes] : seeds) {
        std::vector<TKitItemRecord> items;
        if (std::string(name) != "image_record") {
            TKitLibraryIndex index;
            ASSERT_TRUE(DetectLibraryFile(bytes, index)) << name;
            EXPECT_TRUE(ReadLibraryFile(bytes, static_cast<TKitListKind>(index.Signature), items)) << name;
        }
        test::WriteKitSeed("kitlists", name, bytes);
    }
}

} // namespace
} // namespace quorlet
