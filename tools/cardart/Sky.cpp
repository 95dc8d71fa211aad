#include <algorithm>
#include <cmath>

#include "tools/cardart/Art.h"

namespace {

constexpr int W = 800;
constexpr int H = 600;
constexpr float MoonX = 548.0f;
constexpr float MoonY = 148.0f;
constexpr float MoonR = 30.0f;

float FarRidge(float x) {
    return 388.0f + 16.0f * std::sin(x * 0.011f + 0.4f) + 9.0f * std::sin(x * 0.027f + 2.1f) +
           10.0f * (Fractal(x / 55.0f, 0.5f, 4, 11) - 0.5f);
}

float MidRidge(float x) {
    return 440.0f + 22.0f * std::sin(x * 0.0075f + 2.6f) + 7.0f * std::sin(x * 0.021f + 0.3f) +
           6.0f * (Fractal(x / 50.0f, 3.5f, 4, 12) - 0.5f);
}

float NearRidge(float x) {
    return 500.0f + 22.0f * std::sin(x * 0.0062f + 3.3f) + 8.0f * std::sin(x * 0.019f + 1.0f) +
           4.0f * (Fractal(x / 40.0f, 7.5f, 4, 13) - 0.5f);
}

void PaintGradient(Canvas& c) {
    const Rgb top{0.012f, 0.016f, 0.075f};
    const Rgb middle{0.045f, 0.075f, 0.20f};
    const Rgb low{0.13f, 0.17f, 0.34f};
    for (int y = 0; y < H; ++y) {
        float t = y / static_cast<float>(H);
        Rgb row = t < 0.45f ? Mix(top, middle, SmoothStep(0.0f, 0.45f, t)) : Mix(middle, low, SmoothStep(0.45f, 0.7f, t));
        for (int x = 0; x < W; ++x) c.Set(x, y, row, 1.0f);
    }
}

// A faint band of distant stars across the sky.
float BandStrength(float x, float y) {
    const float ax = 40.0f, ay = 400.0f, bx = 780.0f, by = 30.0f;
    float dx = bx - ax, dy = by - ay;
    float len = std::hypot(dx, dy);
    float d = std::fabs((x - ax) * dy - (y - ay) * dx) / len;
    return std::exp(-(d / 75.0f) * (d / 75.0f));
}

void PaintMilkyWay(Canvas& c) {
    for (int y = 0; y < 470; ++y) {
        for (int x = 0; x < W; ++x) {
            float band = BandStrength(x, y);
            if (band < 0.01f) continue;
            float cloud = Fractal(x / 70.0f, y / 70.0f, 5, 7);
            float amount = band * SmoothStep(0.35f, 0.85f, cloud) * 0.11f;
            c.AddLight(x, y, {0.55f, 0.6f, 0.85f}, amount);
        }
    }
}

void PaintStar(Canvas& c, float x, float y, float brightness, Dice& dice) {
    float tint = dice.Next();
    Rgb colour = tint < 0.2f ? Rgb{1.0f, 0.9f, 0.75f} : (tint < 0.45f ? Rgb{0.75f, 0.85f, 1.0f} : Rgb{1.0f, 1.0f, 1.0f});
    c.Glow(x, y, 0.55f + 0.8f * brightness, colour, 0.25f + 0.9f * brightness);
    if (brightness > 0.9f) {
        c.Glow(x, y, 5.0f, colour, 0.12f);
        float reach = 6.0f + 8.0f * brightness;
        for (int i = 1; i <= static_cast<int>(reach); ++i) {
            float fade = 0.35f * (1.0f - i / reach);
            c.AddLight(static_cast<int>(x) + i, static_cast<int>(y), colour, fade);
            c.AddLight(static_cast<int>(x) - i, static_cast<int>(y), colour, fade);
            c.AddLight(static_cast<int>(x), static_cast<int>(y) + i, colour, fade);
            c.AddLight(static_cast<int>(x), static_cast<int>(y) - i, colour, fade);
        }
    }
}

void PaintStars(Canvas& c) {
    Dice dice(2003);
    for (int i = 0; i < 650; ++i) {
        float x = dice.Range(0, W), y = dice.Range(0, 460);
        float b = std::pow(dice.Next(), 3.5f);
        PaintStar(c, x, y, b, dice);
    }
    // More, fainter stars along the band.
    for (int placed = 0; placed < 500;) {
        float x = dice.Range(0, W), y = dice.Range(0, 460);
        if (dice.Next() > BandStrength(x, y)) continue;
        PaintStar(c, x, y, 0.5f * std::pow(dice.Next(), 2.0f), dice);
        ++placed;
    }
}

void PaintMoon(Canvas& c) {
    c.Glow(MoonX, MoonY, 150.0f, {0.25f, 0.3f, 0.5f}, 0.22f);
    c.Glow(MoonX, MoonY, 60.0f, {0.55f, 0.58f, 0.7f}, 0.35f);
    c.FillRegion(
        static_cast<int>(MoonX - MoonR - 2), static_cast<int>(MoonY - MoonR - 2), static_cast<int>(MoonX + MoonR + 2),
        static_cast<int>(MoonY + MoonR + 2),
        [](float x, float y) { return std::hypot(x - MoonX, y - MoonY) < MoonR; },
        [](float x, float y) {
            float seas = Fractal((x - MoonX) / 14.0f + 3.0f, (y - MoonY) / 14.0f + 9.0f, 4, 21);
            float fine = Fractal((x - MoonX) / 4.0f, (y - MoonY) / 4.0f, 3, 22);
            float rim = std::hypot(x - MoonX, y - MoonY) / MoonR;
            Rgb lit{0.98f, 0.96f, 0.88f};
            Rgb shade{0.78f, 0.78f, 0.74f};
            Rgb base = Mix(lit, shade, SmoothStep(0.5f, 0.7f, seas) * 0.8f + (fine - 0.5f) * 0.15f);
            return Scaled(base, 1.0f - 0.18f * rim * rim);
        });
}

// Snow under moonlight: bright on the crest, bluer and darker further down.
void PaintHill(Canvas& c, float (*ridge)(float), const Rgb& crest, const Rgb& base, float depth, std::uint32_t seed) {
    int top = H;
    for (int x = 0; x < W; ++x) top = std::min(top, static_cast<int>(ridge(x)));
    c.FillRegion(
        0, top - 1, W - 1, H - 1, [ridge](float x, float y) { return y > ridge(x); },
        [=](float x, float y) {
            float below = y - ridge(x);
            float drift = Fractal(x / 90.0f, y / 25.0f, 4, seed) - 0.5f;
            float t = Clamp01(below / depth + drift * 0.35f);
            return Mix(crest, base, SmoothStep(0.0f, 1.0f, t));
        });
}

void PaintFir(Canvas& c, float x, float groundY, float height, const Rgb& needles, const Rgb& snow, Dice& dice) {
    int tiers = 4 + static_cast<int>(height / 40.0f);
    float trunk = height * 0.08f;
    c.Stroke(x, groundY, x, groundY - height * 0.2f, height * 0.025f + 0.6f, height * 0.02f + 0.5f, {0.08f, 0.06f, 0.06f});
    for (int i = 0; i < tiers; ++i) {
        float f = i / static_cast<float>(tiers);
        float apex = groundY - trunk - height * (1.0f - f * 0.82f);
        float bottom = groundY - trunk - height * (0.78f - f * 0.78f) * 0.95f;
        float half = height * (0.12f + 0.26f * (f + 1.0f / tiers));
        float wobble = dice.Range(0.0f, 6.28f);
        auto inside = [=](float px, float py) {
            if (py < apex || py > bottom) return false;
            float t = (py - apex) / (bottom - apex);
            float edge = half * t * (1.0f + 0.06f * std::sin(py * 0.9f + wobble));
            float skirt = bottom - 2.5f * std::fabs(std::sin((px - x) * 0.35f + wobble));
            return std::fabs(px - x) < edge && py < skirt;
        };
        c.FillRegion(static_cast<int>(x - half - 2), static_cast<int>(apex - 1), static_cast<int>(x + half + 2),
                     static_cast<int>(bottom + 1), inside, [=](float, float) { return needles; });
        // Snow lying on the upper part of each tier, thicker on the moon's side.
        auto snowy = [=](float px, float py) {
            if (!inside(px, py)) return false;
            float t = (py - apex) / (bottom - apex);
            float line = 0.42f + 0.12f * std::sin((px - x) * 0.5f + wobble) + 0.1f * (px > x ? 1.0f : -1.0f);
            return t < line;
        };
        c.FillRegion(static_cast<int>(x - half - 2), static_cast<int>(apex - 1), static_cast<int>(x + half + 2),
                     static_cast<int>(bottom + 1), snowy,
                     [=](float px, float) { return Mix(snow, Scaled(snow, 0.72f), Clamp01((x - px) / half + 0.5f)); });
    }
}

void PaintFarForest(Canvas& c) {
    Dice dice(77);
    for (int i = 0; i < 150; ++i) {
        float x = dice.Range(0, W);
        if (x > 170 && x < 360) continue;
        float h = dice.Range(7.0f, 15.0f);
        PaintFir(c, x, FarRidge(x) + 3.0f, h, {0.10f, 0.14f, 0.25f}, {0.36f, 0.42f, 0.6f}, dice);
    }
}

void PaintHouse(Canvas& c, float x, float ground, float w, float h, bool church, Dice& dice) {
    const Rgb wall{0.10f, 0.10f, 0.17f};
    const Rgb roofSnow{0.78f, 0.82f, 0.95f};
    float top = ground - h;
    c.FillRegion(static_cast<int>(x), static_cast<int>(top), static_cast<int>(x + w), static_cast<int>(ground + 4),
                 [=](float px, float py) { return px >= x && px <= x + w && py >= top; },
                 [=](float, float) { return wall; });
    float roofH = w * 0.45f;
    c.FillRegion(static_cast<int>(x - 3), static_cast<int>(top - roofH), static_cast<int>(x + w + 3), static_cast<int>(top + 1),
                 [=](float px, float py) {
                     float t = (py - (top - roofH)) / roofH;
                     return py <= top + 1 && std::fabs(px - (x + w / 2)) < (w / 2 + 3) * t;
                 },
                 [=](float px, float) { return px < x + w / 2 ? Scaled(roofSnow, 0.78f) : roofSnow; });
    if (church) {
        float sx = x + w / 2;
        c.FillRegion(static_cast<int>(sx - 5), static_cast<int>(top - roofH - 26), static_cast<int>(sx + 5),
                     static_cast<int>(top),
                     [=](float px, float py) { return std::fabs(px - sx) < 4.0f && py > top - roofH - 14; },
                     [=](float, float) { return wall; });
        c.FillRegion(static_cast<int>(sx - 6), static_cast<int>(top - roofH - 30), static_cast<int>(sx + 6),
                     static_cast<int>(top - roofH - 13),
                     [=](float px, float py) {
                         float t = (py - (top - roofH - 28)) / 14.0f;
                         return t >= 0 && std::fabs(px - sx) < 5.0f * t;
                     },
                     [=](float, float) { return roofSnow; });
        c.Stroke(sx, top - roofH - 28, sx, top - roofH - 36, 0.6f, 0.6f, {0.9f, 0.8f, 0.5f});
        c.Stroke(sx - 2.5f, top - roofH - 33.5f, sx + 2.5f, top - roofH - 33.5f, 0.6f, 0.6f, {0.9f, 0.8f, 0.5f});
    } else if (dice.Next() < 0.7f) {
        float cx = x + w * dice.Range(0.6f, 0.8f);
        c.FillRegion(static_cast<int>(cx - 2), static_cast<int>(top - roofH), static_cast<int>(cx + 2), static_cast<int>(top),
                     [=](float px, float py) { return std::fabs(px - cx) < 1.6f && py > top - roofH * 0.75f; },
                     [=](float, float) { return wall; });
        for (int i = 0; i < 9; ++i) {
            float s = i / 9.0f;
            c.Disc(cx + s * 16.0f + 3.0f * std::sin(s * 5.0f), top - roofH * 0.8f - 5.0f - s * 34.0f, 2.0f + s * 5.0f,
                   {0.55f, 0.58f, 0.7f}, 0.10f * (1.0f - s), 3.0f);
        }
    }
    int windows = church ? 2 : 1 + dice.Below(2);
    for (int i = 0; i < windows; ++i) {
        float wx = x + w * (i + 0.5f) / windows;
        float wy = top + h * 0.45f;
        Rgb warm = dice.Next() < 0.5f ? Rgb{1.0f, 0.78f, 0.38f} : Rgb{1.0f, 0.86f, 0.5f};
        c.Glow(wx, wy, 9.0f, {1.0f, 0.65f, 0.3f}, 0.25f);
        float ww = church ? 1.6f : 2.2f, wh = church ? 3.2f : 2.2f;
        c.FillRegion(static_cast<int>(wx - 3), static_cast<int>(wy - 4), static_cast<int>(wx + 3), static_cast<int>(wy + 4),
                     [=](float px, float py) { return std::fabs(px - wx) < ww && std::fabs(py - wy) < wh; },
                     [=](float, float) { return warm; });
    }
}

void PaintVillage(Canvas& c) {
    Dice dice(1225);
    struct Spot {
        float x, w, h;
        bool church;
    };
    const Spot spots[] = {{186, 20, 13, false}, {214, 24, 15, false}, {246, 18, 12, false}, {270, 22, 22, true},
                          {300, 19, 13, false}, {326, 23, 14, false}, {232, 16, 11, false}};
    for (const Spot& s : spots) {
        float ground = MidRidge(s.x + s.w / 2) + 4.0f;
        PaintHouse(c, s.x, ground, s.w, s.h, s.church, dice);
    }
}

void PaintSparkles(Canvas& c) {
    Dice dice(31);
    for (int i = 0; i < 120; ++i) {
        float x = dice.Range(0, W);
        float ridge = NearRidge(x);
        float y = ridge + dice.Range(1.0f, 22.0f);
        c.Glow(x, y, 0.6f, {0.9f, 0.95f, 1.0f}, dice.Range(0.2f, 0.6f));
    }
}

}  // namespace

Canvas PaintSky() {
    Canvas c(W, H);
    PaintGradient(c);
    PaintMilkyWay(c);
    PaintStars(c);
    PaintMoon(c);
    // Haze above the far hills.
    for (int y = 300; y < 440; ++y)
        for (int x = 0; x < W; ++x)
            c.AddLight(x, y, {0.25f, 0.3f, 0.5f}, 0.10f * std::exp(-std::pow((y - 395.0f) / 40.0f, 2.0f)));
    PaintHill(c, FarRidge, {0.27f, 0.32f, 0.50f}, {0.17f, 0.21f, 0.38f}, 45.0f, 41);
    PaintFarForest(c);
    PaintHill(c, MidRidge, {0.60f, 0.66f, 0.84f}, {0.28f, 0.33f, 0.54f}, 60.0f, 42);
    PaintVillage(c);
    PaintHill(c, NearRidge, {0.70f, 0.76f, 0.93f}, {0.10f, 0.13f, 0.27f}, 55.0f, 43);
    PaintSparkles(c);
    Dice dice(5);
    PaintFir(c, 52, NearRidge(52) + 14.0f, 150.0f, {0.04f, 0.10f, 0.11f}, {0.74f, 0.79f, 0.93f}, dice);
    PaintFir(c, 112, NearRidge(112) + 10.0f, 105.0f, {0.05f, 0.11f, 0.12f}, {0.74f, 0.79f, 0.93f}, dice);
    PaintFir(c, 700, NearRidge(700) + 10.0f, 118.0f, {0.05f, 0.11f, 0.12f}, {0.74f, 0.79f, 0.93f}, dice);
    PaintFir(c, 758, NearRidge(758) + 16.0f, 165.0f, {0.04f, 0.10f, 0.11f}, {0.74f, 0.79f, 0.93f}, dice);
    return c;
}
