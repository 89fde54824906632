#include "kit/engine/kitlists.h"

namespace quorlet {

const char* const kKitSignatures[6] = {"KitIML30", "KitBML30", "KitWVL30", "KitSLL30", "KitGLL50", "KitRTL50"};

std::string KitFileExtension(int kind, bool withDot) {
    static const char* const extensions[6] = {"iml", "bmp", "wav", "txt", "*", "rtf"};
    if (kind < 0 || kind > 5) return {};
    return (withDot ? "." : "") + std::string(extensions[kind]);
}

uint8_t PixelFormatFlag(TKitSavePixelFormat format) {
    switch (format) {
    case spfMono: return 0x10;
    case spf4bit: return 0x20;
    case spf8bit: return 0x40;
    case spf16bit: return 0x80;
    default: return 0;
    }
}

TKitSavePixelFormat PixelFormatOfFlags(uint8_t flags) {
    if (flags & 0x10) return spfMono;
    if (flags & 0x20) return spf4bit;
    if (flags & 0x40) return spf8bit;
    if (flags & 0x80) return spf16bit;
    return spfDefault;
}

uint8_t ItemFlags(const TKitItemRecord& item) {
    uint8_t flags = PixelFormatFlag(item.PixelFormat);
    if (item.Compressed) flags |= ifCompressed;
    if (item.HasDescription) flags |= ifDescription;
    if (item.HasIdent) flags |= ifIdent;
    if (item.HasData || item.FrameCount > 0) flags |= ifData;
    return flags;
}

void WriteItemRecord(std::string& out, TKitListKind kind, const TKitItemRecord& item) {
    const uint8_t flags = ItemFlags(item);
    WriteByte(out, flags);
    if (item.HasDescription) WriteShortText(out, item.Description);
    if (item.HasIdent) WriteInteger(out, item.Ident);
    if (kind == lkImageList) {
        WriteInteger(out, item.Height);
        WriteInteger(out, item.Width);
        WriteInteger(out, item.AllocBy);
        WriteByte(out, item.Masked ? 1 : 0);
        WriteInteger(out, item.FrameCount);
        if (item.FrameCount > 0) {
            WriteForm(out, item.Strip, item.Compressed);
            if (item.Masked) WriteForm(out, item.Mask, item.Compressed);
        }
    } else if (item.HasData) {
        if (kind == lkWaveList)
            out += WaveForm(item.Data, item.Compressed);
        else
            WriteForm(out, item.Data, item.Compressed);
    }
}

bool ReadItemRecord(TKitReader& in, TKitListKind kind, TKitItemRecord& item) {
    item = TKitItemRecord{};
    const uint8_t flags = in.Byte();
    item.Compressed = flags & ifCompressed;
    item.PixelFormat = PixelFormatOfFlags(flags);
    if (flags & ifDescription) {
        item.HasDescription = true;
        item.Description = in.ShortText();
    }
    if (flags & ifIdent) {
        item.HasIdent = true;
        item.Ident = static_cast<uint16_t>(in.Unsigned());
    }
    if (!in.Ok()) return false;
    if (kind == lkImageList) {
        item.Height = in.Integer();
        item.Width = in.Integer();
        item.AllocBy = in.Integer();
        item.Masked = in.Byte() != 0;
        item.FrameCount = in.Integer();
        if (!in.Ok() || item.Height <= 0 || item.Width <= 0 || item.AllocBy <= 0 || item.FrameCount < 0 ||
            int64_t{item.FrameCount} * item.Width > kKitMaxStripWidth)
            return false;
        if (item.FrameCount > 0) {
            if (!ReadForm(in, item.Compressed, item.Strip)) return false;
            if (item.Masked && !ReadForm(in, item.Compressed, item.Mask)) return false;
        }
        return true;
    }
    if (!(flags & ifData)) return true;
    item.HasData = true;
    if (kind == lkWaveList) return ReadWaveForm(in, item.Compressed, item.Data);
    return ReadForm(in, item.Compressed, item.Data);
}

std::string ContainerBytes(TKitListKind kind, const std::vector<TKitItemRecord>& items, bool withIndex, size_t base) {
    std::string out;
    WriteInteger(out, static_cast<int32_t>(items.size()));
    const size_t indexAt = out.size();
    if (withIndex) out.append(items.size() * 4, '\0');
    for (size_t i = 0; i < items.size(); ++i) {
        if (withIndex) {
            std::string position;
            WriteInteger(position, static_cast<int32_t>(base + out.size()));
            out.replace(indexAt + i * 4, 4, position);
        }
        WriteItemRecord(out, kind, items[i]);
    }
    return out;
}

bool ReadContainer(TKitReader& in, TKitListKind kind, bool withIndex, std::vector<TKitItemRecord>& items) {
    items.clear();
    const uint32_t count = in.Unsigned();
    // Every record takes at least its flags byte (and four index bytes with the index).
    if (!in.Ok() || count > in.Remaining() / (withIndex ? 5 : 1)) return false;
    if (withIndex) in.Skip(size_t{count} * 4);
    items.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        TKitItemRecord item;
        if (!ReadItemRecord(in, kind, item)) {
            items.clear();
            return false;
        }
        items.push_back(std::move(item));
    }
    return true;
}

std::string LibraryFileBytes(TKitListKind kind, const std::vector<TKitItemRecord>& items) {
    std::string out;
    WriteShortText(out, kKitSignatures[kind]);
    out += ContainerBytes(kind, items, true, out.size());
    return out;
}

bool DetectLibraryFile(std::string_view bytes, TKitLibraryIndex& index) {
    index = TKitLibraryIndex{};
    TKitReader in(bytes);
    const std::string signature = in.ShortText();
    for (int i = 0; i < 6; ++i)
        if (signature == kKitSignatures[i]) index.Signature = i;
    if (index.Signature == kKitNoSignature) return false;
    const uint32_t count = in.Unsigned();
    if (!in.Ok() || count > in.Remaining() / 5) return false;
    const size_t firstRecord = in.Position() + size_t{count} * 4;
    index.Positions.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        const uint32_t position = in.Unsigned();
        if (position < firstRecord || position >= bytes.size()) {
            index.Positions.clear();
            return false;
        }
        index.Positions.push_back(position);
    }
    return in.Ok();
}

bool ReadLibraryItem(std::string_view bytes, const TKitLibraryIndex& index, size_t n, TKitListKind kind,
                     TKitItemRecord& item) {
    if (n >= index.Positions.size() || index.Positions[n] >= bytes.size()) return false;
    TKitReader in(bytes.substr(index.Positions[n]));
    return ReadItemRecord(in, kind, item);
}

bool ReadLibraryFile(std::string_view bytes, TKitListKind kind, std::vector<TKitItemRecord>& items) {
    items.clear();
    TKitLibraryIndex index;
    if (!DetectLibraryFile(bytes, index) || index.Signature != kind) return false;
    TKitReader in(bytes.substr(9));
    return ReadContainer(in, kind, true, items);
}

} // namespace quorlet
