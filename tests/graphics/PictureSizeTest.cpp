#include <gtest/gtest.h>

#include <SDL/SDL.h>

#include <cstdint>
#include <string>
#include <vector>

#include "glimmer/graphics/PictureSize.h"
#include "tests/support/EngineWorld.h"
#include "tests/support/TestWorld.h"

namespace {

using Bytes = std::vector<unsigned char>;

void PutBigEndian32(Bytes& b, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) b.push_back(static_cast<unsigned char>(v >> shift));
}

void PutLittleEndian(Bytes& b, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) b.push_back(static_cast<unsigned char>(v >> (8 * i)));
}

// The first bytes of a PNG: signature, then the IHDR chunk's length, type,
// width and height (all a decoder reads before it allocates).
Bytes PngHeader(std::uint32_t w, std::uint32_t h) {
    Bytes b = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    PutBigEndian32(b, 13);
    for (char c : std::string("IHDR")) b.push_back(static_cast<unsigned char>(c));
    PutBigEndian32(b, w);
    PutBigEndian32(b, h);
    for (int i = 0; i < 9; ++i) b.push_back(i == 0 ? 8 : 0);
    return b;
}

Bytes GifHeader(std::uint32_t w, std::uint32_t h) {
    Bytes b = {'G', 'I', 'F', '8', '9', 'a'};
    PutLittleEndian(b, w, 2);
    PutLittleEndian(b, h, 2);
    b.insert(b.end(), {0, 0, 0});
    return b;
}

Bytes BmpHeader(std::int32_t w, std::int32_t h) {
    Bytes b = {'B', 'M'};
    PutLittleEndian(b, 0, 4);
    PutLittleEndian(b, 0, 4);
    PutLittleEndian(b, 54, 4);
    PutLittleEndian(b, 40, 4);
    PutLittleEndian(b, static_cast<std::uint32_t>(w), 4);
    PutLittleEndian(b, static_cast<std::uint32_t>(h), 4);
    PutLittleEndian(b, 1, 2);
    PutLittleEndian(b, 24, 2);
    return b;
}

Bytes QoiHeader(std::uint32_t w, std::uint32_t h) {
    Bytes b = {'q', 'o', 'i', 'f'};
    PutBigEndian32(b, w);
    PutBigEndian32(b, h);
    b.insert(b.end(), {4, 0});
    return b;
}

bool TooLarge(const Bytes& b, unsigned long* w = nullptr, unsigned long* h = nullptr) {
    unsigned long width = 0, height = 0;
    const bool result = PictureHeaderTooLarge(b.data(), b.size(), &width, &height);
    if (w) *w = width;
    if (h) *h = height;
    return result;
}

}  // namespace

TEST(PictureSize, RefusesHeadersBeyondTheLimits) {
    unsigned long w = 0, h = 0;
    EXPECT_TRUE(TooLarge(PngHeader(16000, 16000), &w, &h));
    EXPECT_EQ(w, 16000u);
    EXPECT_EQ(h, 16000u);
    EXPECT_TRUE(TooLarge(PngHeader(8193, 8192)));
    EXPECT_TRUE(TooLarge(PngHeader(16384, 1)));
    EXPECT_TRUE(TooLarge(PngHeader(1, 0xFFFFFFFFu)));
    EXPECT_TRUE(TooLarge(GifHeader(65535, 65535)));
    EXPECT_TRUE(TooLarge(BmpHeader(30000, 30000)));
    EXPECT_TRUE(TooLarge(BmpHeader(100, -20000)));
    EXPECT_TRUE(TooLarge(QoiHeader(20000, 20000)));
}

TEST(PictureSize, AcceptsOrdinaryAndLimitSizes) {
    EXPECT_FALSE(TooLarge(PngHeader(800, 600)));
    EXPECT_FALSE(TooLarge(PngHeader(8192, 8192)));
    EXPECT_FALSE(TooLarge(PngHeader(16383, 4096)));
    EXPECT_FALSE(TooLarge(GifHeader(640, 480)));
    EXPECT_FALSE(TooLarge(BmpHeader(1024, -768)));
    EXPECT_FALSE(TooLarge(QoiHeader(32, 32)));
}

TEST(PictureSize, LeavesUnknownAndShortHeadersToTheDecoder) {
    const Bytes jpeg = {0xFF, 0xD8, 0xFF, 0xE0, 0, 16, 'J', 'F', 'I', 'F'};
    EXPECT_FALSE(TooLarge(jpeg));
    Bytes shortPng = PngHeader(16000, 16000);
    shortPng.resize(20);
    EXPECT_FALSE(TooLarge(shortPng));
    EXPECT_FALSE(TooLarge(Bytes()));
    EXPECT_FALSE(PictureHeaderTooLarge(nullptr, 0, nullptr, nullptr));
}

TEST(PictureSize, SpriteWithAHugePictureHeaderEndsWithCode8BeforeDecoding) {
    EngineWorld world;
    WriteTextFile(world.Dir() / "data/huge.spr", "huge.png 0 0\n");
    const Bytes png = PngHeader(16000, 16000);
    WriteTextFile(world.Dir() / "data/huge.png", std::string(png.begin(), png.end()));
    short xc = 0, yc = 0;
    int code = 0;
    EXPECT_EQ(ReadSpritePicture("huge.spr", &xc, &yc, &code), nullptr);
    EXPECT_EQ(code, 8);
    EXPECT_STREQ(SDL_GetError(), "picture of 16000 x 16000 pixels is too large");
}

namespace {

// A GIF of one w x h image after a global colour table and a graphic control
// extension.
Bytes GifWithImage(std::uint32_t w, std::uint32_t h) {
    Bytes b = GifHeader(8, 8);
    b[10] = 0x80;  // a global colour table of two entries
    b.insert(b.end(), {0, 0, 0, 255, 255, 255});
    b.insert(b.end(), {0x21, 0xF9, 4, 1, 0, 0, 3, 0});
    b.push_back(0x2C);
    PutLittleEndian(b, 0, 2);
    PutLittleEndian(b, 0, 2);
    PutLittleEndian(b, w, 2);
    PutLittleEndian(b, h, 2);
    b.push_back(0);
    b.insert(b.end(), {2, 2, 0x4C, 0x01, 0, 0x3B});
    return b;
}

}  // namespace

TEST(PictureSize, KeepsDamagedGifsAndGifImagesOfNoSizeFromTheDecoder) {
    auto unsafe = [](const Bytes& b) { return GifUnsafeToDecode(b.data(), b.size()); };
    EXPECT_TRUE(unsafe(GifWithImage(0, 0)));
    EXPECT_TRUE(unsafe(GifWithImage(8, 0)));
    EXPECT_FALSE(unsafe(GifWithImage(8, 8)));
    EXPECT_TRUE(unsafe(GifWithImage(16384, 7)));
    EXPECT_TRUE(unsafe(GifWithImage(7, 65534)));
    EXPECT_FALSE(unsafe(GifWithImage(16383, 7)));
    Bytes wideCodes = GifWithImage(8, 8);
    wideCodes[wideCodes.size() - 6] = 32;
    EXPECT_TRUE(unsafe(wideCodes));
    EXPECT_FALSE(unsafe(PngHeader(1, 1)));

    Bytes cut = GifWithImage(8, 8);
    cut.resize(cut.size() - 10);
    EXPECT_TRUE(unsafe(cut));
    // The graphic control extension without its closing empty sub-block: the
    // image descriptor after it is then read as the length of another one.
    Bytes unclosed = GifWithImage(0, 8);
    unclosed.erase(unclosed.begin() + 26);
    EXPECT_TRUE(unsafe(unclosed));
    Bytes noImage = GifHeader(8, 8);
    noImage.push_back(0x3B);
    EXPECT_TRUE(unsafe(noImage));
}

TEST(PictureSize, SpriteWithAGifImageOfNoSizeEndsWithCode8) {
    EngineWorld world;
    WriteTextFile(world.Dir() / "data/empty.spr", "empty.gif 0 0\n");
    const Bytes gif = GifWithImage(0, 0);
    WriteTextFile(world.Dir() / "data/empty.gif", std::string(gif.begin(), gif.end()));
    short xc = 0, yc = 0;
    int code = 0;
    EXPECT_EQ(ReadSpritePicture("empty.spr", &xc, &yc, &code), nullptr);
    EXPECT_EQ(code, 8);
    EXPECT_STREQ(SDL_GetError(), "GIF picture is damaged or holds an image of no size");
}
