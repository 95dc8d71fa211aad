#include "tools/cardart/Paint.h"

#include <algorithm>
#include <cmath>

Rgb Mix(const Rgb& a, const Rgb& b, float t) {
    return {a.R + (b.R - a.R) * t, a.G + (b.G - a.G) * t, a.B + (b.B - a.B) * t};
}

Rgb Scaled(const Rgb& c, float k) { return {c.R * k, c.G * k, c.B * k}; }

float Clamp01(float v) { return v < 0.0f ? 0.0f : (v > 1.0f ? 1.0f : v); }

float SmoothStep(float edge0, float edge1, float x) {
    float t = Clamp01((x - edge0) / (edge1 - edge0));
    return t * t * (3.0f - 2.0f * t);
}

Canvas::Canvas(int width, int height)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height * 4, 0.0f) {}

void Canvas::Over(int x, int y, const Rgb& c, float opacity) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    float a = Clamp01(opacity);
    if (a <= 0.0f) return;
    float* p = &pixels_[(static_cast<size_t>(y) * width_ + x) * 4];
    float out = a + p[3] * (1.0f - a);
    if (out <= 0.0f) return;
    float keep = p[3] * (1.0f - a);
    p[0] = (c.R * a + p[0] * keep) / out;
    p[1] = (c.G * a + p[1] * keep) / out;
    p[2] = (c.B * a + p[2] * keep) / out;
    p[3] = out;
}

void Canvas::AddLight(int x, int y, const Rgb& c, float amount) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_ || amount <= 0.0f) return;
    float* p = &pixels_[(static_cast<size_t>(y) * width_ + x) * 4];
    // Premultiplied sum, then back to straight alpha.
    float a = p[3];
    float r = p[0] * a + c.R * amount;
    float g = p[1] * a + c.G * amount;
    float b = p[2] * a + c.B * amount;
    float lit = std::max({r, g, b});
    float out = std::min(1.0f, std::max(a, lit));
    if (out <= 0.0f) return;
    p[0] = std::min(1.0f, r / out);
    p[1] = std::min(1.0f, g / out);
    p[2] = std::min(1.0f, b / out);
    p[3] = out;
}

void Canvas::Set(int x, int y, const Rgb& c, float alpha) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    float* p = &pixels_[(static_cast<size_t>(y) * width_ + x) * 4];
    p[0] = c.R;
    p[1] = c.G;
    p[2] = c.B;
    p[3] = alpha;
}

Rgb Canvas::ColorAt(int x, int y) const {
    const float* p = &pixels_[(static_cast<size_t>(y) * width_ + x) * 4];
    return {p[0], p[1], p[2]};
}

float Canvas::AlphaAt(int x, int y) const { return pixels_[(static_cast<size_t>(y) * width_ + x) * 4 + 3]; }

void Canvas::FillRegion(int x0, int y0, int x1, int y1, const std::function<bool(float, float)>& inside,
                        const std::function<Rgb(float, float)>& colour, float opacity) {
    x0 = std::max(x0, 0);
    y0 = std::max(y0, 0);
    x1 = std::min(x1, width_ - 1);
    y1 = std::min(y1, height_ - 1);
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            int hits = 0;
            for (int sy = 0; sy < 4; ++sy)
                for (int sx = 0; sx < 4; ++sx)
                    if (inside(x + (sx + 0.5f) / 4.0f, y + (sy + 0.5f) / 4.0f)) ++hits;
            if (hits == 0) continue;
            Over(x, y, colour(x + 0.5f, y + 0.5f), opacity * hits / 16.0f);
        }
    }
}

void Canvas::Disc(float cx, float cy, float radius, const Rgb& c, float opacity, float softness) {
    int x0 = static_cast<int>(std::floor(cx - radius - softness - 1));
    int x1 = static_cast<int>(std::ceil(cx + radius + softness + 1));
    int y0 = static_cast<int>(std::floor(cy - radius - softness - 1));
    int y1 = static_cast<int>(std::ceil(cy + radius + softness + 1));
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy);
            float cover = Clamp01((radius - d) / softness + 0.5f);
            if (cover > 0.0f) Over(x, y, c, opacity * cover);
        }
    }
}

void Canvas::Stroke(float x0, float y0, float x1, float y1, float r0, float r1, const Rgb& c, float opacity) {
    float rmax = std::max(r0, r1);
    int bx0 = static_cast<int>(std::floor(std::min(x0, x1) - rmax - 1));
    int bx1 = static_cast<int>(std::ceil(std::max(x0, x1) + rmax + 1));
    int by0 = static_cast<int>(std::floor(std::min(y0, y1) - rmax - 1));
    int by1 = static_cast<int>(std::ceil(std::max(y0, y1) + rmax + 1));
    float dx = x1 - x0, dy = y1 - y0;
    float len2 = dx * dx + dy * dy;
    for (int y = by0; y <= by1; ++y) {
        for (int x = bx0; x <= bx1; ++x) {
            float px = x + 0.5f - x0, py = y + 0.5f - y0;
            float t = len2 > 0.0f ? Clamp01((px * dx + py * dy) / len2) : 0.0f;
            float d = std::hypot(px - t * dx, py - t * dy);
            float r = r0 + (r1 - r0) * t;
            float cover = Clamp01(r - d + 0.5f);
            if (cover > 0.0f) Over(x, y, c, opacity * cover);
        }
    }
}

void Canvas::Glow(float cx, float cy, float radius, const Rgb& c, float strength) {
    int reach = static_cast<int>(std::ceil(radius * 3.0f));
    for (int y = static_cast<int>(cy) - reach; y <= static_cast<int>(cy) + reach; ++y) {
        for (int x = static_cast<int>(cx) - reach; x <= static_cast<int>(cx) + reach; ++x) {
            float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy) / radius;
            float amount = strength * std::exp(-d * d);
            if (amount > 0.002f) AddLight(x, y, c, amount);
        }
    }
}

void Canvas::FlipHorizontally() {
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_ / 2; ++x)
            for (int k = 0; k < 4; ++k)
                std::swap(pixels_[(static_cast<size_t>(y) * width_ + x) * 4 + k],
                          pixels_[(static_cast<size_t>(y) * width_ + (width_ - 1 - x)) * 4 + k]);
}

RgbaImage Canvas::Image() const {
    RgbaImage image(width_, height_);
    for (size_t i = 0; i < pixels_.size(); ++i)
        image.Pixels[i] = static_cast<std::uint8_t>(std::lround(Clamp01(pixels_[i]) * 255.0f));
    return image;
}

bool Canvas::Save(const std::string& path) const { return WritePng(path, Image()); }

Dice::Dice(std::uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ULL + 0x2545F4914F6CDD1DULL) {}

float Dice::Next() {
    state_ ^= state_ >> 12;
    state_ ^= state_ << 25;
    state_ ^= state_ >> 27;
    std::uint64_t v = state_ * 0x2545F4914F6CDD1DULL;
    return static_cast<float>(v >> 40) / 16777216.0f;
}

float Dice::Range(float low, float high) { return low + (high - low) * Next(); }

int Dice::Below(int n) { return std::min(n - 1, static_cast<int>(Next() * n)); }

namespace {

float Lattice(int x, int y, std::uint32_t seed) {
    std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u + static_cast<std::uint32_t>(y) * 668265263u +
                      seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return static_cast<float>(h & 0xFFFFFF) / 16777215.0f;
}

}  // namespace

float ValueNoise(float x, float y, std::uint32_t seed) {
    int xi = static_cast<int>(std::floor(x));
    int yi = static_cast<int>(std::floor(y));
    float fx = x - xi, fy = y - yi;
    float sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
    float a = Lattice(xi, yi, seed), b = Lattice(xi + 1, yi, seed);
    float c = Lattice(xi, yi + 1, seed), d = Lattice(xi + 1, yi + 1, seed);
    return (a + (b - a) * sx) + ((c + (d - c) * sx) - (a + (b - a) * sx)) * sy;
}

float Fractal(float x, float y, int octaves, std::uint32_t seed) {
    float sum = 0.0f, amplitude = 0.5f, total = 0.0f;
    for (int i = 0; i < octaves; ++i) {
        sum += amplitude * ValueNoise(x, y, seed + i * 101u);
        total += amplitude;
        x *= 2.03f;
        y *= 2.03f;
        amplitude *= 0.5f;
    }
    return sum / total;
}
