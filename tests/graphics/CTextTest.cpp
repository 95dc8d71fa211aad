#include <gtest/gtest.h>

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <iconv.h>
#endif

#include <cstring>
#include <memory>
#include <string>

#include <glimmer/glimmer.h>
#include "tests/graphics/GraphicsWorld.h"

namespace {

struct FreeSurface {
    void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
using SurfaceHolder = std::unique_ptr<SDL_Surface, FreeSurface>;

CText* NewText(DTable& table = GDT, short x = 0, short y = 0, unsigned int* desc = nullptr) {
    short params[2] = {x, y};
    const unsigned int d = static_cast<unsigned int>(table.CreateDescriptor(TypeText, params, 1));
    if (desc) *desc = d;
    return ObjectOf<CText>(d, table);
}

// Whether two surfaces of the same layout hold the same pixels.
bool SamePixels(SDL_Surface* a, SDL_Surface* b) {
    if (a->w != b->w || a->h != b->h || a->format->BytesPerPixel != b->format->BytesPerPixel) return false;
    for (int y = 0; y < a->h; ++y)
        if (std::memcmp(static_cast<Uint8*>(a->pixels) + y * a->pitch, static_cast<Uint8*>(b->pixels) + y * b->pitch,
                        static_cast<size_t>(a->w) * a->format->BytesPerPixel) != 0)
            return false;
    return true;
}

// The number of pixels that differ from the background colour.
int PaintedPixels(SDL_Surface* s, int r, int g, int b) {
    int n = 0;
    for (int y = 0; y < s->h; ++y)
        for (int x = 0; x < s->w; ++x) {
            const Rgba p = PixelAt(s, x, y);
            if (p.r != r || p.g != g || p.b != b) ++n;
        }
    return n;
}

// The darkest red value of the rendering's opaque pixels: the glyph colour.
int GlyphRed(SDL_Surface* s) {
    for (int y = 0; y < s->h; ++y)
        for (int x = 0; x < s->w; ++x) {
            const Rgba p = PixelAt(s, x, y);
            if (p.a == 255) return p.r;
        }
    return -1;
}

// The system's own converter: iconv on Linux, the code page tables on Windows.
std::string Cp1251ToUtf8BySystem(unsigned char byte) {
#ifdef _WIN32
    const char in[1] = {static_cast<char>(byte)};
    wchar_t wide[2] = {};
    const int units = MultiByteToWideChar(1251, MB_ERR_INVALID_CHARS, in, 1, wide, 2);
    // Windows' table fills the one gap of 1251 (0x98) with the control
    // character of that number, which is no character to show either.
    if (units <= 0 || (wide[0] >= 0x80 && wide[0] <= 0x9F)) return "";
    char out[8] = {};
    const int length = WideCharToMultiByte(CP_UTF8, 0, wide, units, out, sizeof out, nullptr, nullptr);
    return std::string(out, length > 0 ? length : 0);
#else
    iconv_t cd = iconv_open("UTF-8", "CP1251");
    if (cd == reinterpret_cast<iconv_t>(-1)) return "?";
    char in[1] = {static_cast<char>(byte)};
    char out[8] = {};
    char* inp = in;
    char* outp = out;
    size_t inLeft = 1, outLeft = sizeof out;
    const size_t done = iconv(cd, &inp, &inLeft, &outp, &outLeft);
    iconv_close(cd);
    if (done == static_cast<size_t>(-1)) return "";
    return std::string(out, sizeof out - outLeft);
#endif
}

}  // namespace

TEST(TextEncoding, Windows1251BytesMatchTheSystemConverter) {
    for (int byte = 0x80; byte <= 0xFF; ++byte) {
        const std::string expected = Cp1251ToUtf8BySystem(static_cast<unsigned char>(byte));
        const char text[2] = {static_cast<char>(byte), 0};
        if (expected.empty()) {
            EXPECT_EQ(TextToUtf8(text), "\xEF\xBF\xBD") << "byte " << byte;  // no character there
        } else {
            EXPECT_EQ(TextToUtf8(text), expected) << "byte " << byte;
        }
    }
}

TEST(TextEncoding, ValidUtf8StaysAndAnythingElseIsReadAsWindows1251) {
    const char* utf8 = "\xD0\xA1 \xD0\x9D\xD0\xBE\xD0\xB2\xD1\x8B\xD0\xBC \xE2\x82\xAC \xF0\x9F\x8E\x84 snow";
    EXPECT_EQ(TextToUtf8(utf8), utf8);
    EXPECT_EQ(TextToUtf8(""), "");
    EXPECT_EQ(TextToUtf8(nullptr), "");
    EXPECT_EQ(TextToUtf8("\xD1\xED\xE5\xE3"), "\xD0\xA1\xD0\xBD\xD0\xB5\xD0\xB3");  // "Снег"
    // Overlong forms, surrogates, code points past the last plane and cut
    // sequences are no UTF-8: every byte of such a text is taken as 1251.
    EXPECT_EQ(TextToUtf8("\xC0\xAF"), "\xD0\x90\xD0\x87");
    EXPECT_EQ(TextToUtf8("\xED\xA0\x80"), "\xD0\xBD\xC2\xA0\xD0\x82");
    EXPECT_EQ(TextToUtf8("\xF4\x90\x80\x80"), "\xD1\x84\xD1\x92\xD0\x82\xD0\x82");
    EXPECT_EQ(TextToUtf8("ab\xD0"), "ab\xD0\xA0");
    EXPECT_EQ(TextToUtf8("\xD0\xA1\xFF"), "\xD0\xA0\xD0\x8E\xD1\x8F");
}

TEST(CText, InitializingTracesItsOwnerAndDescriptor) {
    GraphicsWorld world;
    DebugLogReset();
    unsigned int desc = 0;
    CText* text = NewText(GDT, 0, 0, &desc);
    EXPECT_TRUE(TraceHas("Text initialized with UDesc=0\nInitialized text desc=" + std::to_string(desc) + "\n"))
        << DebugLogText();
    EXPECT_EQ(text->GetDesc(), desc);
    EXPECT_EQ(text->GetSurface(), nullptr);
    EXPECT_EQ(text->Text, nullptr);
    EXPECT_EQ(text->Color.r + text->Color.g + text->Color.b, 0);
}

TEST(CText, RenderGivesThePixelSizeOfTheLineAndClearsTheHotSpot) {
    GraphicsWorld world;
    CText* small = NewText();
    CText* large = NewText();
    small->Create("Happy New Year", "main 12");
    large->Create("Happy New Year", "main 24");
    EXPECT_EQ(small->GetSurface(), nullptr);  // Create does not render
    large->SetCenter(5, 7, 1, 1);
    small->Render();
    large->Render();
    ASSERT_NE(large->GetSurface(), nullptr);
    EXPECT_EQ(large->GetXSize(), large->GetSurface()->w);
    EXPECT_EQ(large->GetYSize(), large->GetSurface()->h);
    EXPECT_EQ(large->GetYSize(), TTF_FontHeight(TTF["main 24"]));
    EXPECT_EQ(large->GetXCenter(), 0);
    EXPECT_EQ(large->GetYCenter(), 0);
    EXPECT_GT(large->GetXSize(), small->GetXSize() * 3 / 2);
    EXPECT_GT(small->GetXSize(), 40);
    EXPECT_EQ(large->GetSurface()->format->BitsPerPixel, 32);
    EXPECT_NE(large->GetSurface()->format->Amask, 0u);
}

TEST(CText, FontAndColourChangesWaitForTheNextRendering) {
    GraphicsWorld world;
    CText* text = NewText();
    text->Create("Snow", "main 24");
    text->ChangeColor(255, 0, 0);
    text->Render();
    SDL_Surface* first = text->GetSurface();
    EXPECT_EQ(GlyphRed(first), 255);
    const short width = text->GetXSize();

    text->ChangeColor(0, 0, 0);
    text->ChangeFont("main 12");
    text->Run(nullptr);  // rendered and not stale: nothing renders again
    EXPECT_EQ(text->GetSurface(), first);
    EXPECT_EQ(GlyphRed(text->GetSurface()), 255);
    EXPECT_EQ(text->GetXSize(), width);

    text->ChangeText("Snow");  // the same text renders all the same
    text->Run(nullptr);
    EXPECT_EQ(GlyphRed(text->GetSurface()), 0);
    EXPECT_LT(text->GetXSize(), width);

    text->ChangeColor(255, 0, 0);
    text->Clear();
    EXPECT_EQ(text->GetSurface(), nullptr);
    text->Run(nullptr);
    EXPECT_EQ(GlyphRed(text->GetSurface()), 255);
}

TEST(CText, ClearedTextKeepsShowingItsLastPictureUntilANewOneComes) {
    WorldOptions options;
    options.Bpp = 32;
    GraphicsWorld world(options);
    CText* text = NewText(GDT, 10, 10);
    text->Create("Frost", "main 24");
    text->Render();
    const short width = text->GetXSize();
    text->ClearText();
    EXPECT_EQ(text->Dirty, 1);
    EXPECT_NE(text->GetSurface(), nullptr);
    Fill(SDL_FBSurface, 0, 0, 255);
    text->Run(nullptr);  // stale: nothing to render, the old picture is drawn
    EXPECT_GT(PaintedPixels(SDL_FBSurface, 0, 0, 255), 50);
    EXPECT_EQ(text->GetXSize(), width);

    text->Create("Frost and snow", "main 24");
    text->Run(nullptr);
    EXPECT_EQ(text->Dirty, 0);
    EXPECT_GT(text->GetXSize(), width);
}

TEST(CText, CreateOnARenderedTextKeepsTheOldPicture) {
    GraphicsWorld world;
    CText* text = NewText();
    text->Create("A", "main 24");
    text->Render();
    const short width = text->GetXSize();
    text->Create("A much longer line", "main 24");
    text->Run(nullptr);
    EXPECT_EQ(text->GetXSize(), width);
    text->Render();
    EXPECT_GT(text->GetXSize(), width);
}

TEST(CText, DrawingWithoutTextEndsWithCodeOne) {
    GraphicsWorld world;
    CText* never = NewText();
    CText* deleted = NewText();
    deleted->Create("gone", "main 12");
    deleted->Render();
    deleted->Delete();
    EXPECT_EQ(deleted->GetSurface(), nullptr);
    EXPECT_EQ(deleted->Text, nullptr);
    SDL_Rect clip = {0, 0, 800, 600};
    EXPECT_EXIT(never->Run(nullptr), ::testing::ExitedWithCode(1), "SDL error:");
    EXPECT_EXIT(deleted->Run(nullptr), ::testing::ExitedWithCode(1), "SDL error:");
    EXPECT_EXIT(deleted->Run(&clip, nullptr), ::testing::ExitedWithCode(1), "SDL error:");
}

TEST(CText, AnUnknownFontSpecEndsWithCodeSeven) {
    GraphicsWorld world;
    CText* family = NewText();
    family->Create("x", "fancy 12");
    CText* size = NewText();
    size->Create("x", "main 13");
    CText* none = NewText();
    none->ChangeText("x");
    EXPECT_EXIT(family->Render(), ::testing::ExitedWithCode(7), "Can`t render text:.*fancy 12");
    EXPECT_EXIT(size->Run(nullptr), ::testing::ExitedWithCode(7), "Can`t render text:");
    EXPECT_EXIT(none->Render(), ::testing::ExitedWithCode(7), "Can`t render text:");
}

TEST(CText, EmptyTextRendersAsAClearPixelColumnOneLineHigh) {
    WorldOptions options;
    options.Bpp = 32;
    GraphicsWorld world(options);
    CText* text = NewText(GDT, 5, 5);
    text->Create("", "main 24");
    Fill(SDL_FBSurface, 0, 0, 255);
    text->Run(nullptr);
    SDL_Surface* s = text->GetSurface();
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->w, 1);
    EXPECT_EQ(s->h, TTF_FontHeight(TTF["main 24"]));
    EXPECT_EQ(text->GetXSize(), 1);
    EXPECT_EQ(text->GetYSize(), s->h);
    for (int y = 0; y < s->h; ++y) EXPECT_EQ(PixelAt(s, 0, y).a, 0);
    EXPECT_EQ(PaintedPixels(SDL_FBSurface, 0, 0, 255), 0);

    CText* invisible = NewText();
    invisible->Create("\xE2\x80\x8B", "main 24");  // one zero-width space
    invisible->Render();  // the font library yields no picture for it either
    EXPECT_EQ(invisible->GetXSize(), 1);
    EXPECT_EQ(invisible->GetYSize(), s->h);
}

TEST(CText, CyrillicInUtf8AndInWindows1251RendersToIdenticalPixels) {
    GraphicsWorld world;
    CText* utf8 = NewText();
    CText* cp1251 = NewText();
    // "С Новым 2004 годом!"
    utf8->Create("\xD0\xA1 \xD0\x9D\xD0\xBE\xD0\xB2\xD1\x8B\xD0\xBC 2004 \xD0\xB3\xD0\xBE\xD0\xB4\xD0\xBE\xD0\xBC!",
                 "main 24");
    cp1251->Create("\xD1 \xCD\xEE\xE2\xFB\xEC 2004 \xE3\xEE\xE4\xEE\xEC!", "main 24");
    utf8->Render();
    cp1251->Render();
    ASSERT_NE(utf8->GetSurface(), nullptr);
    ASSERT_NE(cp1251->GetSurface(), nullptr);
    EXPECT_TRUE(SamePixels(utf8->GetSurface(), cp1251->GetSurface()));
    // Not the missing-glyph boxes: Latin letters of the same count are narrower.
    CText* latin = NewText();
    latin->Create("S Novym 2004 godom!", "main 24");
    latin->Render();
    EXPECT_FALSE(SamePixels(utf8->GetSurface(), latin->GetSurface()));
}

TEST(CText, TopLevelTextIsPlacedFromTheScreenCorner) {
    WorldOptions options;
    options.Width = 1024;
    options.Height = 768;
    GraphicsWorld world(options);
    CText* text = NewText(GDT, 400, 300);
    text->Create("Midnight", "main 12");
    text->ChangeColor(255, 255, 0);
    text->Render();
    SurfaceHolder expected(Canvas(1024, 768));
    SurfaceHolder drawn(Canvas(1024, 768));
    Fill(expected.get(), 0, 0, 80);
    Fill(drawn.get(), 0, 0, 80);
    SDL_Rect place = {511, 383, 0, 0};  // 400 × 1.28 and 300 × 1.28 fall just short
    SDL_BlitSurface(text->GetSurface(), nullptr, expected.get(), &place);
    text->Run(drawn.get());
    EXPECT_TRUE(SamePixels(expected.get(), drawn.get()));
    EXPECT_GT(PaintedPixels(drawn.get(), 0, 0, 80), 20);
}

TEST(CText, WindowTextIsPlacedFromTheWindowOriginAndCutToItsRectangle) {
    GraphicsWorld world;
    short windowParams[2] = {10, 0};
    const unsigned int w = static_cast<unsigned int>(GDT.CreateDescriptor(TypeWindow, windowParams, 4));
    Window* window = ObjectOf<Window>(w);
    window->SetCoord(100, 50, 1, 1);
    // The text starts 10 pixels left of the window's left edge and its top
    // lies above the window's top.
    CText* text = NewText(*window->GetTable(), -10, -4);
    EXPECT_EQ(text->GetUDesc(), w);
    text->Create("WWWWWWWW", "main 24");
    text->ChangeColor(255, 255, 255);
    text->Render();
    const int tw = text->GetXSize(), th = text->GetYSize();

    SurfaceHolder whole(Canvas(400, 200));
    SurfaceHolder cut(Canvas(400, 200));
    Fill(whole.get(), 0, 0, 0);
    Fill(cut.get(), 0, 0, 0);
    text->Run(whole.get());
    SDL_Rect clip = {100, 50, 60, 100};
    text->Run(&clip, cut.get());

    EXPECT_GT(PaintedPixels(whole.get(), 0, 0, 0), PaintedPixels(cut.get(), 0, 0, 0));
    EXPECT_GT(PaintedPixels(cut.get(), 0, 0, 0), 20);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 400; ++x) {
            const bool inside = x >= clip.x && x < clip.x + clip.w && y >= clip.y && y < clip.y + clip.h;
            const Rgba c = PixelAt(cut.get(), x, y);
            if (inside) {
                const Rgba o = PixelAt(whole.get(), x, y);
                ASSERT_TRUE(c.r == o.r && c.g == o.g && c.b == o.b) << x << "," << y;
            } else {
                ASSERT_EQ(c.r + c.g + c.b, 0) << x << "," << y;
            }
        }
    // The unclipped drawing starts at the window origin less (10, 4).
    int leftmost = 400;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 400; ++x)
            if (PixelAt(whole.get(), x, y).r > 0 && x < leftmost) leftmost = x;
    EXPECT_GE(leftmost, 90);
    EXPECT_LT(leftmost, 90 + tw / 8);
    EXPECT_GT(th, 4);
}
