// The stream forms of the kit's values (little-endian integers, short texts, text lists,
// bitmaps and waves, plain or as a block stream), the bitmap-file writer and the wave check.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorlet {

// Reads values from a byte span, never past its end: a failed read leaves ok false and
// every later read fails too.
class TKitReader {
  public:
    explicit TKitReader(std::string_view bytes) : bytes_(bytes) {}
    // The reader only views its bytes: a temporary would be gone before the first read.
    explicit TKitReader(std::string&&) = delete;
    bool Ok() const { return ok_; }
    size_t Position() const { return pos_; }
    size_t Remaining() const { return bytes_.size() - pos_; }
    std::string_view Rest() const { return bytes_.substr(pos_); }
    uint8_t Byte();
    int32_t Integer();
    uint32_t Unsigned() { return static_cast<uint32_t>(Integer()); }
    // n bytes, or an empty result and ok false when fewer remain.
    std::string_view Bytes(size_t n);
    std::string ShortText();
    void Skip(size_t n) { Bytes(n); }
    void Fail() { ok_ = false; }

  private:
    std::string_view bytes_;
    size_t pos_ = 0;
    bool ok_ = true;
};

void WriteInteger(std::string& out, int32_t value);
void WriteByte(std::string& out, uint8_t value);
// At most 255 bytes after the length byte.
void WriteShortText(std::string& out, std::string_view text);
// 4-byte length, then the bytes (the plain form of text lists, bitmaps and waves).
void WriteSized(std::string& out, std::string_view bytes);
// The plain or compressed form of some bytes.
void WriteForm(std::string& out, std::string_view bytes, bool compressed);
// Reads what WriteForm wrote; false (and out empty) when the form is cut or corrupt.
bool ReadForm(TKitReader& in, bool compressed, std::string& out);

// Text lists: lines ended by CR LF, read back at CR LF, CR or LF.
std::string TextListText(const std::vector<std::string>& lines);
std::vector<std::string> TextListLines(std::string_view text);

// Pixel-format table values: spfDefault -1, spfMono 2, spf4bit 16, spf8bit 256, spf16bit 65536.
enum TKitSavePixelFormat : uint8_t { spfDefault, spfMono, spf4bit, spf8bit, spf16bit };
int32_t PixelFormatColors(TKitSavePixelFormat format);

// A picture for the bitmap-file writer: 0x00RRGGBB pixels row by row from the top, and for
// an indexed picture its colour table and one index per pixel.
struct TKitPixels {
    int Width = 0;
    int Height = 0;
    std::vector<uint32_t> Rgb;
    std::vector<uint32_t> ColorTable;
    std::vector<uint8_t> Indices;
    // Depth of the picture's own form: 1, 4 or 8 when indexed, else 24.
    int OwnBits() const;
};

// Bits per pixel written for a format: 1, 4, 8, else 24 (16 and 32 bits are written as 24).
int BitmapFileBits(const TKitPixels& picture, TKitSavePixelFormat format);
// A BMP file: 14-byte file header, 40-byte info header, colour table below 24 bits (the
// picture's own when it fits, else the fixed palette of that depth), rows bottom-up, each
// padded to 4 bytes.
std::string BitmapFileBytes(const TKitPixels& picture, TKitSavePixelFormat format);
// The fixed palettes used when a picture brings none: 2, 16 or 256 entries (0x00RRGGBB).
const std::vector<uint32_t>& FixedPalette(int bits);

struct TKitWaveFormat {
    bool Pcm = false;
    // 1 mono, 2 stereo, 0 other.
    int Channels = 0;
    uint32_t SampleRate = 0;
    uint16_t BitsPerSample = 0;
};
// The header check of a WAVE file: at least 36 bytes, "RIFF", size, "WAVE", "fmt ", chunk
// size and the format record. Empty for anything else.
std::optional<TKitWaveFormat> CheckWaveData(std::string_view bytes);
// A wave form (plain: 4-byte size and the bytes; or a block stream of that) whose bytes pass
// the check; false and out empty otherwise.
bool ReadWaveForm(TKitReader& in, bool compressed, std::string& out);
// The wave's form, plain or compressed (the compressed one holds the plain form).
std::string WaveForm(std::string_view wave, bool compressed);

} // namespace quorlet
