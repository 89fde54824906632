#include "kit/engine/kitforms.h"

#include <unordered_map>

#include "kit/engine/kitblock.h"

namespace quorlet {

uint8_t TKitReader::Byte() {
    const std::string_view b = Bytes(1);
    return b.empty() ? 0 : static_cast<uint8_t>(b[0]);
}

int32_t TKitReader::Integer() {
    const std::string_view b = Bytes(4);
    if (b.size() != 4) return 0;
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<uint8_t>(b[i]);
    return static_cast<int32_t>(v);
}

std::string_view TKitReader::Bytes(size_t n) {
    if (!ok_ || n > Remaining()) {
        ok_ = false;
        return {};
    }
    const std::string_view b = bytes_.substr(pos_, n);
    pos_ += n;
    return b;
}

std::string TKitReader::ShortText() {
    const uint8_t n = Byte();
    return std::string(Bytes(n));
}

void WriteInteger(std::string& out, int32_t value) {
    const auto v = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i) out += static_cast<char>(v >> (8 * i));
}

void WriteByte(std::string& out, uint8_t value) {
    out += static_cast<char>(value);
}

void WriteShortText(std::string& out, std::string_view text) {
    if (text.size() > 255) text = text.substr(0, 255);
    WriteByte(out, static_cast<uint8_t>(text.size()));
    out += text;
}

void WriteSized(std::string& out, std::string_view bytes) {
    WriteInteger(out, static_cast<int32_t>(bytes.size()));
    out += bytes;
}

void WriteForm(std::string& out, std::string_view bytes, bool compressed) {
    if (compressed)
        out += CompressStream(bytes);
    else
        WriteSized(out, bytes);
}

bool ReadForm(TKitReader& in, bool compressed, std::string& out) {
    out.clear();
    if (compressed) {
        size_t used = 0;
        if (!in.Ok() || !DecompressStream(in.Rest(), out, &used)) {
            in.Fail();
            return false;
        }
        in.Skip(used);
        return true;
    }
    const uint32_t n = in.Unsigned();
    const std::string_view body = in.Bytes(n);
    if (!in.Ok()) return false;
    out.assign(body);
    return true;
}

std::string TextListText(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

std::vector<std::string> TextListLines(std::string_view text) {
    std::vector<std::string> lines;
    size_t at = 0;
    while (at < text.size()) {
        const size_t end = text.find_first_of("\r\n", at);
        if (end == std::string_view::npos) {
            lines.emplace_back(text.substr(at));
            break;
        }
        lines.emplace_back(text.substr(at, end - at));
        at = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
    }
    return lines;
}

int32_t PixelFormatColors(TKitSavePixelFormat format) {
    switch (format) {
    case spfDefault: return -1;
    case spfMono: return 2;
    case spf4bit: return 16;
    case spf8bit: return 256;
    case spf16bit: return 65536;
    }
    return -1;
}

int TKitPixels::OwnBits() const {
    if (ColorTable.empty() || Indices.size() != Rgb.size()) return 24;
    if (ColorTable.size() <= 2) return 1;
    if (ColorTable.size() <= 16) return 4;
    return ColorTable.size() <= 256 ? 8 : 24;
}

int BitmapFileBits(const TKitPixels& picture, TKitSavePixelFormat format) {
    switch (PixelFormatColors(format)) {
    case 2: return 1;
    case 16: return 4;
    case 256: return 8;
    case -1: return picture.OwnBits();
    default: return 24;
    }
}

const std::vector<uint32_t>& FixedPalette(int bits) {
    static const std::vector<uint32_t> mono = {0x000000, 0xFFFFFF};
    // The sixteen colours: dark and bright halves of the RGB corners, with two greys.
    static const std::vector<uint32_t> sixteen = {
        0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
        0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
    };
    // A 6 x 6 x 6 colour cube, then 40 greys.
    static const std::vector<uint32_t> cube = [] {
        std::vector<uint32_t> p;
        for (uint32_t r = 0; r < 6; ++r)
            for (uint32_t g = 0; g < 6; ++g)
                for (uint32_t b = 0; b < 6; ++b) p.push_back(r * 51 << 16 | g * 51 << 8 | b * 51);
        for (uint32_t i = 0; i < 40; ++i) {
            const uint32_t v = (i * 255 + 20) / 40;
            p.push_back(v << 16 | v << 8 | v);
        }
        return p;
    }();
    return bits == 1 ? mono : bits == 4 ? sixteen : cube;
}

namespace {

uint8_t NearestIndex(const std::vector<uint32_t>& palette, uint32_t rgb) {
    int best = 0;
    long bestDistance = -1;
    for (size_t i = 0; i < palette.size(); ++i) {
        long d = 0;
        for (int shift = 0; shift <= 16; shift += 8) {
            const long a = static_cast<long>(rgb >> shift & 0xFF) - static_cast<long>(palette[i] >> shift & 0xFF);
            d += a * a;
        }
        if (bestDistance < 0 || d < bestDistance) {
            bestDistance = d;
            best = static_cast<int>(i);
        }
    }
    return static_cast<uint8_t>(best);
}

void PutU16(std::string& out, uint16_t v) {
    out += static_cast<char>(v);
    out += static_cast<char>(v >> 8);
}

} // namespace

std::string BitmapFileBytes(const TKitPixels& picture, TKitSavePixelFormat format) {
    const int bits = BitmapFileBits(picture, format);
    const int width = picture.Width > 0 ? picture.Width : 0;
    const int height = picture.Height > 0 ? picture.Height : 0;
    const bool whole = picture.Rgb.size() == static_cast<size_t>(width) * static_cast<size_t>(height);
    const size_t rowSize = (static_cast<size_t>(width) * bits + 31) / 32 * 4;
    const size_t colors = bits < 24 ? size_t{1} << bits : 0;
    const bool ownTable = bits < 24 && picture.OwnBits() <= bits;
    std::vector<uint32_t> table;
    if (colors) {
        table = ownTable ? picture.ColorTable : FixedPalette(bits);
        table.resize(colors, 0);
    }
    const size_t infoSize = 40 + colors * 4;
    const size_t imageSize = rowSize * static_cast<size_t>(height);
    std::string out;
    out.reserve(14 + infoSize + imageSize);
    out += "BM";
    WriteInteger(out, static_cast<int32_t>(14 + infoSize + imageSize));
    WriteInteger(out, 0);
    WriteInteger(out, static_cast<int32_t>(14 + infoSize));
    WriteInteger(out, 40);
    WriteInteger(out, width);
    WriteInteger(out, height);
    PutU16(out, 1);
    PutU16(out, static_cast<uint16_t>(bits));
    WriteInteger(out, 0);
    WriteInteger(out, static_cast<int32_t>(imageSize));
    WriteInteger(out, 0);
    WriteInteger(out, 0);
    WriteInteger(out, static_cast<int32_t>(colors));
    WriteInteger(out, 0);
    for (uint32_t c : table) {
        out += static_cast<char>(c);
        out += static_cast<char>(c >> 8);
        out += static_cast<char>(c >> 16);
        out += '\0';
    }
    std::unordered_map<uint32_t, uint8_t> nearest;
    auto indexOf = [&](size_t pixel) -> uint8_t {
        if (ownTable) return picture.Indices[pixel];
        const uint32_t rgb = picture.Rgb[pixel] & 0xFFFFFF;
        const auto found = nearest.find(rgb);
        if (found != nearest.end()) return found->second;
        return nearest[rgb] = NearestIndex(table, rgb);
    };
    std::string row;
    for (int y = height - 1; y >= 0; --y) {
        row.assign(rowSize, '\0');
        for (int x = 0; whole && x < width; ++x) {
            const size_t pixel = static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x);
            if (bits == 24) {
                const uint32_t c = picture.Rgb[pixel];
                row[static_cast<size_t>(x) * 3] = static_cast<char>(c);
                row[static_cast<size_t>(x) * 3 + 1] = static_cast<char>(c >> 8);
                row[static_cast<size_t>(x) * 3 + 2] = static_cast<char>(c >> 16);
                continue;
            }
            const uint8_t index = indexOf(pixel);
            const size_t bit = static_cast<size_t>(x) * bits;
            const int shift = 8 - bits - static_cast<int>(bit % 8);
            row[bit / 8] = static_cast<char>(static_cast<uint8_t>(row[bit / 8]) | (index & ((1 << bits) - 1)) << shift);
        }
        out += row;
    }
    return out;
}

std::optional<TKitWaveFormat> CheckWaveData(std::string_view b) {
    if (b.size() < 36) return std::nullopt;
    if (b.substr(0, 4) != "RIFF" || b.substr(8, 4) != "WAVE" || b.substr(12, 4) != "fmt ") return std::nullopt;
    TKitReader in(b.substr(20));
    TKitWaveFormat format;
    const uint8_t tag0 = in.Byte(), tag1 = in.Byte();
    format.Pcm = tag0 == 1 && tag1 == 0;
    const uint8_t ch0 = in.Byte(), ch1 = in.Byte();
    const int channels = ch0 | ch1 << 8;
    format.Channels = channels == 1 || channels == 2 ? channels : 0;
    format.SampleRate = in.Unsigned();
    in.Skip(6); // byte rate, block align
    const uint8_t bps0 = in.Byte(), bps1 = in.Byte();
    format.BitsPerSample = static_cast<uint16_t>(bps0 | bps1 << 8);
    return format;
}

bool ReadWaveForm(TKitReader& in, bool compressed, std::string& out) {
    std::string form;
    if (!ReadForm(in, compressed, form)) return false;
    if (compressed) {
        TKitReader plain(form);
        if (!ReadForm(plain, false, out)) return false;
    } else {
        out = std::move(form);
    }
    if (CheckWaveData(out)) return true;
    out.clear();
    return false;
}

std::string WaveForm(std::string_view wave, bool compressed) {
    std::string plain;
    WriteSized(plain, wave);
    if (!compressed) return plain;
    return CompressStream(plain);
}

} // namespace quorlet
