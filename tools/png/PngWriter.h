#pragma once

#include <cstdint>
#include <string>
#include <vector>

// An RGBA picture in memory, 8 bits per channel, rows top to bottom.
struct RgbaImage {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint8_t> Pixels;  // Width * Height * 4 bytes: r, g, b, a

    RgbaImage() = default;
    RgbaImage(int width, int height);
    std::uint8_t* At(int x, int y) { return &Pixels[(static_cast<size_t>(y) * Width + x) * 4]; }
};

// Writes the picture as a PNG file with an alpha channel; false on failure.
bool WritePng(const std::string& path, const RgbaImage& image);
