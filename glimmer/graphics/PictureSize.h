#pragma once

#include <cstddef>

// Decoders allocate the whole picture from the size its header states before
// they read a single pixel, so a file of a hundred bytes can ask for a
// gigabyte. Pictures larger than this are refused before decoding. A side of
// 16384 or more gets no surface from the SDL 1.2 layer, which the GIF decoder
// does not check.
constexpr unsigned long PictureMaxSide = 16383;
constexpr unsigned long long PictureMaxPixels = 8192ull * 8192ull;

// Whether the header of a PNG, GIF, BMP or QOI picture states a size beyond
// those limits; if so, the size is in *width and *height. Other formats, and
// headers too short to tell, are left to the decoder (false).
bool PictureHeaderTooLarge(const unsigned char* data, std::size_t size, unsigned long* width,
                           unsigned long* height);

// Whether a GIF must not reach the GIF decoder: it is damaged before its
// first image (an extension or the image descriptor cut short, an unknown
// block, no image at all), or that image has no width or no height, a side
// beyond PictureMaxSide or an LZW code size outside 1 to 11. On such files the
// decoder writes through a null pixel pointer or loops for minutes.
bool GifUnsafeToDecode(const unsigned char* data, std::size_t size);
