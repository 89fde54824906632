// The byte formats of the kit's lists: one item record, a container (count, optional index
// of item positions, the records) and the library file (signature, then the container with
// its index). Pictures travel as bitmap files, sounds as WAVE bytes, text lists as text;
// decoding pictures is the caller's.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "kit/engine/kitforms.h"

namespace quorlet {

enum TKitListKind : uint8_t { lkImageList = 0, lkBitmapList = 1, lkWaveList = 2, lkStringList = 3 };

// Signature index of a library file: 0..5 as kKitSignatures, kKitNoSignature for none.
constexpr int kKitNoSignature = 6;
extern const char* const kKitSignatures[6];
// "iml", "bmp", "wav", "txt", "*", "rtf" for kinds 0..5 (with a leading "." on request).
std::string KitFileExtension(int kind, bool withDot);

// Item record flags.
enum : uint8_t { ifCompressed = 0x01, ifDescription = 0x02, ifIdent = 0x04, ifData = 0x08 };
uint8_t PixelFormatFlag(TKitSavePixelFormat format);
TKitSavePixelFormat PixelFormatOfFlags(uint8_t flags);

// The widest strip of frames an image-list item holds.
constexpr int64_t kKitMaxStripWidth = 32768;

struct TKitItemRecord {
    bool Compressed = false;
    bool HasDescription = false;
    std::string Description;
    bool HasIdent = false;
    uint16_t Ident = 0;
    TKitSavePixelFormat PixelFormat = spfDefault;
    // Bitmap, wave and string items: the bitmap file, the WAVE bytes or the text list's text.
    bool HasData = false;
    std::string Data;
    // Image-list items: frame size, allocation step, mask flag, frames and the strips' files.
    int32_t Height = 16;
    int32_t Width = 16;
    int32_t AllocBy = 4;
    bool Masked = false;
    int32_t FrameCount = 0;
    std::string Strip;
    std::string Mask;
};

uint8_t ItemFlags(const TKitItemRecord& item);
void WriteItemRecord(std::string& out, TKitListKind kind, const TKitItemRecord& item);
// False for a record cut short, a description or data form that does not read, an image
// header without positive sizes, or a strip wider than kKitMaxStripWidth.
bool ReadItemRecord(TKitReader& in, TKitListKind kind, TKitItemRecord& item);

// Container form. With the index, the positions are absolute: base is where the form starts
// in its stream.
std::string ContainerBytes(TKitListKind kind, const std::vector<TKitItemRecord>& items, bool withIndex,
                           size_t base = 0);
// Never allocates by a count the bytes cannot hold.
bool ReadContainer(TKitReader& in, TKitListKind kind, bool withIndex, std::vector<TKitItemRecord>& items);

std::string LibraryFileBytes(TKitListKind kind, const std::vector<TKitItemRecord>& items);
struct TKitLibraryIndex {
    int Signature = kKitNoSignature;
    std::vector<uint32_t> Positions;
};
// The signature, the count and the item positions; false unless every position lies inside
// the file behind the index.
bool DetectLibraryFile(std::string_view bytes, TKitLibraryIndex& index);
bool ReadLibraryItem(std::string_view bytes, const TKitLibraryIndex& index, size_t n, TKitListKind kind,
                     TKitItemRecord& item);
// The whole file, when its signature is the kind's.
bool ReadLibraryFile(std::string_view bytes, TKitListKind kind, std::vector<TKitItemRecord>& items);

} // namespace quorlet
