#include "glimmer/graphics/PictureSize.h"

#include <cstring>

namespace {

unsigned long BigEndian32(const unsigned char* p) {
    return static_cast<unsigned long>(p[0]) << 24 | static_cast<unsigned long>(p[1]) << 16 |
           static_cast<unsigned long>(p[2]) << 8 | p[3];
}

unsigned long LittleEndian16(const unsigned char* p) { return static_cast<unsigned long>(p[0]) | p[1] << 8; }

long LittleEndian32Signed(const unsigned char* p) {
    const unsigned long value = static_cast<unsigned long>(p[0]) | static_cast<unsigned long>(p[1]) << 8 |
                                static_cast<unsigned long>(p[2]) << 16 | static_cast<unsigned long>(p[3]) << 24;
    return value >= 0x80000000ul ? -static_cast<long>(0x100000000ul - value) : static_cast<long>(value);
}

unsigned long Magnitude(long value) { return value < 0 ? 0ul - static_cast<unsigned long>(value) : value; }

bool StartsWith(const unsigned char* data, std::size_t size, const char* magic, std::size_t length) {
    return size >= length && std::memcmp(data, magic, length) == 0;
}

// The size the header states, if it is one of the formats known here.
bool HeaderSize(const unsigned char* data, std::size_t size, unsigned long* width, unsigned long* height) {
    if (StartsWith(data, size, "\x89PNG\r\n\x1a\n", 8) && size >= 24) {
        *width = BigEndian32(data + 16);
        *height = BigEndian32(data + 20);
        return true;
    }
    if ((StartsWith(data, size, "GIF87a", 6) || StartsWith(data, size, "GIF89a", 6)) && size >= 10) {
        *width = LittleEndian16(data + 6);
        *height = LittleEndian16(data + 8);
        return true;
    }
    // BITMAPINFOHEADER and its successors: 32-bit signed sizes (a negative
    // height means rows stored top-down).
    if (StartsWith(data, size, "BM", 2) && size >= 26 && LittleEndian32Signed(data + 14) >= 40) {
        *width = Magnitude(LittleEndian32Signed(data + 18));
        *height = Magnitude(LittleEndian32Signed(data + 22));
        return true;
    }
    if (StartsWith(data, size, "qoif", 4) && size >= 12) {
        *width = BigEndian32(data + 4);
        *height = BigEndian32(data + 8);
        return true;
    }
    return false;
}

std::size_t ColourTableSize(unsigned char packed) {
    return (packed & 0x80) ? 3u << ((packed & 7) + 1) : 0;
}

// Skips data sub-blocks (a length byte, that many bytes, ..., a zero);
// returns the position after them, or size when the data ends first.
std::size_t SkipSubBlocks(const unsigned char* data, std::size_t size, std::size_t at) {
    while (at < size && data[at] != 0) at += 1 + data[at];
    return at < size ? at + 1 : size;
}

}  // namespace

bool GifUnsafeToDecode(const unsigned char* data, std::size_t size) {
    if (!data || !(StartsWith(data, size, "GIF87a", 6) || StartsWith(data, size, "GIF89a", 6))) return false;
    if (size < 13) return true;
    std::size_t at = 13 + ColourTableSize(data[10]);
    while (at < size) {
        const unsigned char block = data[at++];
        if (block == '!') {
            // A label, then data sub-blocks up to an empty one.
            if (at >= size) return true;
            at = SkipSubBlocks(data, size, at + 1);
            if (at >= size) return true;
            continue;
        }
        if (block != ',' || at + 9 > size) return true;
        const unsigned long width = LittleEndian16(data + at + 4);
        const unsigned long height = LittleEndian16(data + at + 6);
        if (width == 0 || height == 0 || width > PictureMaxSide || height > PictureMaxSide) return true;
        // The LZW code size: the decoder shifts by it and sizes its tables
        // for at most 12-bit codes.
        const std::size_t codeSize = at + 9 + ColourTableSize(data[at + 8]);
        return codeSize >= size || data[codeSize] < 1 || data[codeSize] > 11;
    }
    return true;
}

bool PictureHeaderTooLarge(const unsigned char* data, std::size_t size, unsigned long* width,
                           unsigned long* height) {
    unsigned long w = 0;
    unsigned long h = 0;
    if (!data || !HeaderSize(data, size, &w, &h)) return false;
    *width = w;
    *height = h;
    return w > PictureMaxSide || h > PictureMaxSide ||
           static_cast<unsigned long long>(w) * h > PictureMaxPixels;
}
