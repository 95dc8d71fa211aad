#pragma once

#include <cstddef>

// Decoders allocate the whole picture from the size its header states before
// they read a single pixel, so a file of a hundred bytes can ask for a
// gigabyte. Pictures larger than this are refused before decoding.
constexpr unsigned long PictureMaxSide = 16384;
constexpr unsigned long long PictureMaxPixels = 8192ull * 8192ull;

// Whether the header of a PNG, GIF, BMP or QOI picture states a size beyond
// those limits; if so, the size is in *width and *height. Other formats, and
// headers too short to tell, are left to the decoder (false).
bool PictureHeaderTooLarge(const unsigned char* data, std::size_t size, unsigned long* width,
                           unsigned long* height);

// Whether a GIF holds an image of no width or no height, on which the GIF
// decoder writes through a null pixel pointer. Walks the blocks up to the
// first such image; damaged or short data is left to the decoder (false).
bool GifHasEmptyImage(const unsigned char* data, std::size_t size);
