#include <SDL/SDL.h>
#include <SDL/SDL_ttf.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "tools/cardart/Art.h"

namespace {

constexpr int W = 800;
constexpr int H = 600;

struct FontCloser {
    void operator()(TTF_Font* f) const { TTF_CloseFont(f); }
};
struct SurfaceFreer {
    void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};

// Coverage of a line of text, 0..1 per pixel, left-top at (x, y) of a
// canvas-sized mask.
struct Mask {
    std::vector<float> Cover = std::vector<float>(static_cast<size_t>(W) * H, 0.0f);
    float& At(int x, int y) { return Cover[static_cast<size_t>(y) * W + x]; }
};

bool LetterMask(Mask& mask, const std::string& font, int size, const char* text, int centreX, int top) {
    std::unique_ptr<TTF_Font, FontCloser> face(TTF_OpenFont(font.c_str(), size));
    if (!face) return false;
    SDL_Color white = {255, 255, 255, 0};
    std::unique_ptr<SDL_Surface, SurfaceFreer> line(TTF_RenderUTF8_Blended(face.get(), text, white));
    if (!line) return false;
    SDL_LockSurface(line.get());
    int left = centreX - line->w / 2;
    for (int y = 0; y < line->h; ++y) {
        const Uint32* row = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(line->pixels) + y * line->pitch);
        for (int x = 0; x < line->w; ++x) {
            Uint8 r, g, b, a;
            SDL_GetRGBA(row[x], line->format, &r, &g, &b, &a);
            int cx = left + x, cy = top + y;
            if (cx >= 0 && cy >= 0 && cx < W && cy < H) mask.At(cx, cy) = std::max(mask.At(cx, cy), a / 255.0f);
        }
    }
    SDL_UnlockSurface(line.get());
    return true;
}

Mask Blurred(const Mask& in, int radius, int passes) {
    Mask a = in, b;
    for (int p = 0; p < passes; ++p) {
        for (int y = 0; y < H; ++y) {
            float sum = 0;
            for (int x = -radius; x < W + radius; ++x) {
                if (x + radius < W) sum += a.Cover[static_cast<size_t>(y) * W + x + radius];
                if (x - radius - 1 >= 0) sum -= a.Cover[static_cast<size_t>(y) * W + x - radius - 1];
                if (x >= 0 && x < W) b.At(x, y) = sum / (2 * radius + 1);
            }
        }
        for (int x = 0; x < W; ++x) {
            float sum = 0;
            for (int y = -radius; y < H + radius; ++y) {
                if (y + radius < H) sum += b.Cover[static_cast<size_t>(y + radius) * W + x];
                if (y - radius - 1 >= 0) sum -= b.Cover[static_cast<size_t>(y - radius - 1) * W + x];
                if (y >= 0 && y < H) a.At(x, y) = sum / (2 * radius + 1);
            }
        }
    }
    return a;
}

void PaintCrystal(Canvas& c, float cx, float cy, float r, const Rgb& colour) {
    for (int arm = 0; arm < 6; ++arm) {
        float a = arm * 3.14159265f / 3.0f - 3.14159265f / 2.0f;
        float dx = std::cos(a), dy = std::sin(a);
        c.Stroke(cx, cy, cx + dx * r, cy + dy * r, 2.6f, 1.0f, colour);
        for (float at : {0.32f, 0.55f, 0.76f}) {
            float bx = cx + dx * r * at, by = cy + dy * r * at;
            float len = r * (0.36f - at * 0.3f);
            for (int side = -1; side <= 1; side += 2) {
                float b = a + side * 0.9f;
                c.Stroke(bx, by, bx + std::cos(b) * len, by + std::sin(b) * len, 1.6f, 0.7f, colour);
            }
        }
        c.Disc(cx + dx * r, cy + dy * r, 3.0f, colour, 1.0f, 1.0f);
    }
    // A small hexagon at the heart.
    c.FillRegion(static_cast<int>(cx - 16), static_cast<int>(cy - 16), static_cast<int>(cx + 16),
                 static_cast<int>(cy + 16),
                 [=](float x, float y) {
                     float px = std::fabs(x - cx), py = std::fabs(y - cy);
                     return px * 0.866f + py * 0.5f < 11.0f && px < 11.0f;
                 },
                 [=](float, float) { return colour; });
}

}  // namespace

Canvas PaintSplash(const char* fontFolder) {
    Canvas c(W, H);
    for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x) {
            float d = std::hypot((x - 400.0f) / 500.0f, (y - 280.0f) / 420.0f);
            c.Set(x, y, Mix({0.06f, 0.09f, 0.23f}, {0.008f, 0.012f, 0.045f}, Clamp01(d)), 1.0f);
        }
    }
    Dice dice(44);
    for (int i = 0; i < 260; ++i) {
        float b = std::pow(dice.Next(), 3.0f);
        c.Glow(dice.Range(0, W), dice.Range(0, H), 0.6f + b, {0.85f, 0.9f, 1.0f}, 0.2f + 0.7f * b);
    }
    const Rgb gold{1.0f, 0.86f, 0.55f};
    c.Glow(400, 200, 120.0f, {0.3f, 0.35f, 0.6f}, 0.3f);
    PaintCrystal(c, 400, 200, 95.0f, {0.86f, 0.9f, 1.0f});
    c.Glow(400, 200, 30.0f, {0.9f, 0.95f, 1.0f}, 0.25f);

    std::string folder = fontFolder;
    Mask title, small;
    bool ok = TTF_Init() == 0 &&
              LetterMask(title, folder + "/DejaVuSerif.ttf", 58, "С Новым годом!", 400, 335) &&
              LetterMask(small, folder + "/DejaVuSans.ttf", 17, "открытка готовится…", 400, 440);
    if (ok) {
        Mask halo = Blurred(title, 6, 3);
        for (int y = 0; y < H; ++y) {
            for (int x = 0; x < W; ++x) {
                c.AddLight(x, y, {1.0f, 0.7f, 0.3f}, halo.At(x, y) * 0.9f);
                c.Over(x, y, Mix(gold, {1.0f, 0.97f, 0.88f}, Clamp01((y - 335.0f) / -70.0f + 0.9f)), title.At(x, y));
                c.Over(x, y, {0.7f, 0.76f, 0.95f}, small.At(x, y));
            }
        }
    }
    if (TTF_WasInit()) TTF_Quit();
    // A thin gold frame, as on a paper card.
    for (float inset : {18.0f, 24.0f}) {
        float opacity = inset < 20.0f ? 0.75f : 0.35f;
        c.Stroke(inset, inset, W - inset, inset, 0.8f, 0.8f, gold, opacity);
        c.Stroke(inset, H - inset, W - inset, H - inset, 0.8f, 0.8f, gold, opacity);
        c.Stroke(inset, inset, inset, H - inset, 0.8f, 0.8f, gold, opacity);
        c.Stroke(W - inset, inset, W - inset, H - inset, 0.8f, 0.8f, gold, opacity);
    }
    return c;
}
