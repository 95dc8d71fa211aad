#include <cmath>
#include <cstdint>
#include <vector>

#include "tools/cardart/Art.h"

namespace {

constexpr int W = 360;
constexpr int H = 280;

struct Point {
    float X, Y;
};

struct Bough {
    Point From, Control, To;
    float Needle;  // needle length at the base
};

Point Along(const Bough& b, float t) {
    float u = 1.0f - t;
    return {u * u * b.From.X + 2 * u * t * b.Control.X + t * t * b.To.X,
            u * u * b.From.Y + 2 * u * t * b.Control.Y + t * t * b.To.Y};
}

Point Direction(const Bough& b, float t) {
    float dx = 2 * (1 - t) * (b.Control.X - b.From.X) + 2 * t * (b.To.X - b.Control.X);
    float dy = 2 * (1 - t) * (b.Control.Y - b.From.Y) + 2 * t * (b.To.Y - b.Control.Y);
    float len = std::hypot(dx, dy);
    return {dx / len, dy / len};
}

float Length(const Bough& b) {
    float sum = 0;
    Point last = Along(b, 0);
    for (int i = 1; i <= 50; ++i) {
        Point p = Along(b, i / 50.0f);
        sum += std::hypot(p.X - last.X, p.Y - last.Y);
        last = p;
    }
    return sum;
}

Rgb NeedleColour(Dice& dice, float light) {
    Rgb dark{0.03f, 0.13f, 0.09f};
    Rgb fresh{0.12f, 0.34f, 0.20f};
    Rgb blue{0.08f, 0.24f, 0.22f};
    Rgb c = Mix(dark, dice.Next() < 0.3f ? blue : fresh, Clamp01(dice.Range(0.0f, 0.8f) + light));
    return c;
}

// Needles on both sides of a twig; the back layer darker, the front lighter.
void PaintNeedles(Canvas& c, const Bough& b, Dice& dice, float light) {
    float length = Length(b);
    int steps = static_cast<int>(length / 1.5f);
    for (int pass = 0; pass < 2; ++pass) {
        for (int i = 0; i < steps; ++i) {
            float t = (i + dice.Next()) / steps;
            Point p = Along(b, t);
            Point d = Direction(b, t);
            float needle = b.Needle * (0.45f + 0.55f * std::sqrt(1.0f - t)) * dice.Range(0.8f, 1.1f);
            for (int side = -1; side <= 1; side += 2) {
                float angle = side * dice.Range(0.75f, 1.25f);
                float ca = std::cos(angle), sa = std::sin(angle);
                Point n{d.X * ca - d.Y * sa, d.X * sa + d.Y * ca};
                float len = needle * (pass == 0 ? 1.0f : 0.8f);
                Rgb colour = NeedleColour(dice, pass == 0 ? light - 0.3f : light);
                c.Stroke(p.X, p.Y, p.X + n.X * len, p.Y + n.Y * len, 0.85f, 0.35f, colour);
            }
        }
    }
}

// Snow lying along the upper side of a twig: a ridge of overlapping soft
// discs whose thickness wanders, so it breaks off here and there.
void PaintSnow(Canvas& c, const Bough& b, float thickness, std::uint32_t seed) {
    float length = Length(b);
    int steps = static_cast<int>(length / 1.2f);
    const Rgb white{0.93f, 0.96f, 1.0f};
    const Rgb shade{0.58f, 0.64f, 0.82f};
    for (int pass = 0; pass < 2; ++pass) {
        for (int i = 0; i < steps; ++i) {
            float t = i / static_cast<float>(steps);
            float along = t * length;
            float amount = Fractal(along / 22.0f, seed * 0.37f, 3, seed) - 0.42f;
            float lumps = 0.7f + 0.6f * ValueNoise(along / 5.0f, 3.0f, seed + 7u);
            float r = thickness * amount * 3.4f * lumps * (1.0f - 0.5f * t);
            if (r < 0.8f) continue;
            Point p = Along(b, t);
            Point d = Direction(b, t);
            Point up{d.Y, -d.X};
            if (up.Y > 0) up = {-up.X, -up.Y};
            float lift = b.Needle * 0.18f;
            float cx = p.X + up.X * lift, cy = p.Y + up.Y * lift;
            if (pass == 0) c.Disc(cx - up.X * r * 0.35f, cy - up.Y * r * 0.35f, r, shade, 1.0f, 1.2f);
            else c.Disc(cx + up.X * r * 0.1f, cy + up.Y * r * 0.1f, r * 0.8f, white, 1.0f, 1.2f);
        }
    }
}

void PaintTwig(Canvas& c, const Bough& b, float width) {
    const int n = 24;
    for (int i = 0; i < n; ++i) {
        Point p = Along(b, i / static_cast<float>(n));
        Point q = Along(b, (i + 1) / static_cast<float>(n));
        float r0 = width * (1.0f - 0.7f * i / n), r1 = width * (1.0f - 0.7f * (i + 1) / n);
        c.Stroke(p.X, p.Y, q.X, q.Y, r0, r1, {0.22f, 0.14f, 0.09f});
    }
}

void PaintBauble(Canvas& c, float x, float y, float r, const Rgb& base) {
    c.FillRegion(
        static_cast<int>(x - r - 2), static_cast<int>(y - r - 2), static_cast<int>(x + r + 2), static_cast<int>(y + r + 2),
        [=](float px, float py) { return std::hypot(px - x, py - y) < r; },
        [=](float px, float py) {
            float nx = (px - x) / r, ny = (py - y) / r;
            float nz = std::sqrt(std::max(0.0f, 1.0f - nx * nx - ny * ny));
            float light = Clamp01(-0.5f * nx - 0.6f * ny + 0.62f * nz);
            float spec = std::pow(light, 24.0f);
            Rgb lit = Scaled(base, 0.25f + 0.95f * light);
            // The snow below is mirrored faintly in the lower rim.
            lit = Mix(lit, {0.55f, 0.6f, 0.8f}, 0.25f * Clamp01(ny) * (1.0f - nz));
            return Mix(lit, {1.0f, 1.0f, 1.0f}, spec);
        });
    c.Glow(x - r * 0.35f, y - r * 0.4f, r * 0.18f, {1.0f, 1.0f, 1.0f}, 0.5f);
    const Rgb cap{0.78f, 0.66f, 0.36f};
    c.FillRegion(static_cast<int>(x - 4), static_cast<int>(y - r - 5), static_cast<int>(x + 4), static_cast<int>(y - r + 2),
                 [=](float px, float py) { return std::fabs(px - x) < r * 0.28f && py > y - r - 3.5f && py < y - r + 1.5f; },
                 [=](float px, float) { return Scaled(cap, 0.8f + 0.4f * Clamp01((x - px) / 4.0f + 0.5f)); });
}

void PaintOrnament(Canvas& c, Point hook, float drop, float r, const Rgb& colour) {
    float bx = hook.X, by = hook.Y + drop + r;
    c.Stroke(hook.X, hook.Y, bx, by - r - 3.0f, 0.45f, 0.45f, {0.85f, 0.75f, 0.45f}, 0.9f);
    PaintBauble(c, bx, by, r, colour);
}

void PaintLights(Canvas& c, const Bough& b, Dice& dice) {
    // A string of small lamps hanging in a soft curve below the bough.
    const Rgb lamps[] = {{1.0f, 0.82f, 0.35f}, {1.0f, 0.45f, 0.35f}, {0.45f, 0.75f, 1.0f}, {0.55f, 1.0f, 0.55f}};
    Point last{0, 0};
    const int n = 60;
    for (int i = 0; i <= n; ++i) {
        float t = 0.1f + 0.75f * i / n;
        Point p = Along(b, t);
        float sag = 14.0f * std::sin(3.14159f * std::fmod(t * 3.0f, 1.0f));
        Point q{p.X, p.Y + sag + 6.0f};
        if (i > 0) c.Stroke(last.X, last.Y, q.X, q.Y, 0.45f, 0.45f, {0.05f, 0.08f, 0.05f});
        last = q;
        if (i % 6 == 3) {
            Rgb lamp = lamps[dice.Below(4)];
            c.Glow(q.X, q.Y + 2.0f, 7.0f, lamp, 0.7f);
            c.Disc(q.X, q.Y + 2.0f, 2.0f, Mix(lamp, {1.0f, 1.0f, 1.0f}, 0.5f), 1.0f, 1.0f);
        }
    }
}

}  // namespace

Canvas PaintBranches(unsigned int seed, bool fromTheRight) {
    Canvas c(W, H);
    Dice dice(seed);
    std::vector<Bough> boughs = {
        {{-12, 6}, {150, -8}, {350, 58}, 25.0f},
        {{6, -12}, {-8, 130}, {48, 270}, 23.0f},
        {{-4, -2}, {110, 56}, {218, 150}, 24.0f},
    };
    if (seed % 2 == 1) boughs[2] = {{-4, 0}, {80, 70}, {150, 188}, 23.0f};
    std::vector<Bough> twigs;
    for (const Bough& b : boughs) {
        int side = 1;
        for (float t = 0.12f; t < 0.9f; t += dice.Range(0.07f, 0.11f)) {
            Point p = Along(b, t);
            Point d = Direction(b, t);
            float angle = side * dice.Range(0.45f, 0.7f);
            side = -side;
            float ca = std::cos(angle), sa = std::sin(angle);
            Point n{d.X * ca - d.Y * sa, d.X * sa + d.Y * ca};
            float len = dice.Range(35.0f, 60.0f) * (1.0f - t * 0.5f);
            Point end{p.X + n.X * len, p.Y + n.Y * len + len * 0.12f};
            Point mid{p.X + n.X * len * 0.5f, p.Y + n.Y * len * 0.5f};
            twigs.push_back({p, mid, end, b.Needle * 0.72f});
        }
    }
    // Where the boughs leave the tree the foliage is dense: an opaque corner.
    c.Disc(0, 0, 34.0f, {0.03f, 0.11f, 0.08f}, 1.0f, 1.5f);
    for (int i = 0; i < 220; ++i) {
        float a = dice.Range(-0.2f, 1.77f), r = dice.Range(0.0f, 32.0f);
        float x = r * std::cos(a), y = r * std::sin(a);
        float out = a + dice.Range(-0.5f, 0.5f), len = dice.Range(12.0f, 24.0f);
        c.Stroke(x, y, x + std::cos(out) * len, y + std::sin(out) * len, 0.85f, 0.35f, NeedleColour(dice, 0.1f));
    }
    for (const Bough& t : twigs) PaintTwig(c, t, 1.0f);
    for (const Bough& t : twigs) PaintNeedles(c, t, dice, 0.0f);
    for (const Bough& b : boughs) PaintTwig(c, b, 2.4f);
    for (const Bough& b : boughs) PaintNeedles(c, b, dice, 0.15f);
    std::uint32_t snowSeed = seed * 17u;
    for (const Bough& t : twigs) PaintSnow(c, t, 2.6f, ++snowSeed);
    for (const Bough& b : boughs) PaintSnow(c, b, 4.2f, ++snowSeed);
    PaintLights(c, boughs[0], dice);

    const Rgb red{0.78f, 0.07f, 0.12f};
    const Rgb gold{0.9f, 0.66f, 0.18f};
    const Rgb blue{0.16f, 0.32f, 0.82f};
    const Rgb silver{0.78f, 0.8f, 0.88f};
    if (seed % 2 == 0) {
        PaintOrnament(c, Along(boughs[0], 0.62f), 22.0f, 13.0f, red);
        PaintOrnament(c, Along(boughs[2], 0.72f), 12.0f, 11.0f, gold);
        PaintOrnament(c, Along(boughs[1], 0.55f), 8.0f, 10.0f, blue);
        PaintOrnament(c, Along(boughs[0], 0.86f), 10.0f, 8.5f, silver);
    } else {
        PaintOrnament(c, Along(boughs[0], 0.55f), 26.0f, 12.0f, gold);
        PaintOrnament(c, Along(boughs[2], 0.8f), 10.0f, 12.5f, red);
        PaintOrnament(c, Along(boughs[0], 0.8f), 8.0f, 9.0f, blue);
        PaintOrnament(c, Along(boughs[1], 0.62f), 6.0f, 9.5f, silver);
    }
    if (fromTheRight) c.FlipHorizontally();
    return c;
}
