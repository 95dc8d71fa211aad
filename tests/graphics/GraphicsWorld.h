#pragma once

// A small engine world for the graphics tests: a temporary folder with an
// engine configuration, a font configuration and a data root, the engine set
// up from it on the dummy video driver, and helpers for pictures and pixels.

#include <SDL/SDL.h>
#include <SDL/SDL_ttf.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include <glimmer/glimmer.h>
#include "tests/support/Pixels.h"
#include "tests/support/TestWorld.h"

struct WorldOptions {
    int Width = 800;
    int Height = 600;
    int Bpp = 16;
    std::string Extra;  // further configuration lines
};

class GraphicsWorld {
public:
    explicit GraphicsWorld(const WorldOptions& options = WorldOptions()) {
        const std::string data = dir_ / "data";
        WriteTextFile(data + "/fonts.cfg", std::string("2\nmain ") + DejaVuSans + " 2 12 24\nmono " +
                                                DejaVuSansMono + " 1 *16\n");
        const std::string config = dir_ / "engine.cfg";
        WriteTextFile(config, "Width " + std::to_string(options.Width) + "\nHeight " +
                                  std::to_string(options.Height) + "\nBpp " + std::to_string(options.Bpp) +
                                  "\nFileSystemFile " + data + "\nFontConfigFile fonts.cfg\n" + options.Extra +
                                  "\n");
        if (TTF_WasInit() == 0) TTF_Init();
        CFG.LoadConfig(config.c_str());
        CFG.Process();
        VideoInit();
    }

    // Path of a file below the data root.
    std::string Data(const std::string& name) const { return dir_ / ("data/" + name); }
    void WriteData(const std::string& name, const std::string& content) const { WriteTextFile(Data(name), content); }
    // A PNG picture below the data root, folders created on the way.
    bool WritePicture(const std::string& name, const RgbaImage& image) const {
        std::filesystem::create_directories(std::filesystem::path(Data(name)).parent_path());
        return WritePng(Data(name), image);
    }

private:
    TempDir dir_;
};

// A picture of one colour with a border of another, both with alpha.
inline RgbaImage FramedPicture(int width, int height, int border, const std::uint8_t inner[4],
                               const std::uint8_t outer[4]) {
    RgbaImage image(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const bool edge = x < border || y < border || x >= width - border || y >= height - border;
            const std::uint8_t* c = edge ? outer : inner;
            for (int i = 0; i < 4; ++i) image.At(x, y)[i] = c[i];
        }
    return image;
}

inline void Fill(SDL_Surface* surface, int r, int g, int b) {
    SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, r, g, b));
}

// A plain 32-bit canvas without alpha, like a screen.
inline SDL_Surface* Canvas(int width, int height) {
    return SDL_CreateRGBSurface(SDL_SWSURFACE, width, height, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0);
}
