#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tools/png/PngWriter.h"

// A small painting kit for the card's pictures: a float canvas with straight
// alpha, soft shapes, glows, value noise and a random source whose sequence is
// the same on every machine, so the same pictures come out of every build.

struct Rgb {
    float R, G, B;
};

Rgb Mix(const Rgb& a, const Rgb& b, float t);
Rgb Scaled(const Rgb& c, float k);
float Clamp01(float v);
float SmoothStep(float edge0, float edge1, float x);

class Canvas {
public:
    Canvas(int width, int height);
    int Width() const { return width_; }
    int Height() const { return height_; }

    // Paints colour c over the pixel with the given opacity (0..1).
    void Over(int x, int y, const Rgb& c, float opacity);
    // Adds light to the pixel; on a transparent pixel the light also makes it
    // partly opaque, so glows show on pictures with transparent surroundings.
    void AddLight(int x, int y, const Rgb& c, float amount);
    void Set(int x, int y, const Rgb& c, float alpha);
    Rgb ColorAt(int x, int y) const;
    float AlphaAt(int x, int y) const;

    // Fills the region where inside(x, y) holds, 4 x 4 samples per pixel for
    // soft edges; colour(x, y) gives the paint at a point.
    void FillRegion(int x0, int y0, int x1, int y1, const std::function<bool(float, float)>& inside,
                    const std::function<Rgb(float, float)>& colour, float opacity = 1.0f);
    void Disc(float cx, float cy, float radius, const Rgb& c, float opacity = 1.0f, float softness = 1.0f);
    // A stroke from (x0, y0) to (x1, y1) whose half-width runs from r0 to r1.
    void Stroke(float x0, float y0, float x1, float y1, float r0, float r1, const Rgb& c, float opacity = 1.0f);
    // Light falling off as exp(-(d / radius)^2) around a point.
    void Glow(float cx, float cy, float radius, const Rgb& c, float strength);

    void FlipHorizontally();
    RgbaImage Image() const;
    bool Save(const std::string& path) const;

private:
    int width_;
    int height_;
    std::vector<float> pixels_;  // r, g, b, a per pixel, 0..1
};

// A random source with a fixed sequence for a seed (xorshift-multiply).
class Dice {
public:
    explicit Dice(std::uint64_t seed);
    float Next();                        // 0 <= value < 1
    float Range(float low, float high);  // low <= value < high
    int Below(int n);                    // 0 <= value < n

private:
    std::uint64_t state_;
};

// Smooth value noise in 0..1 and its sum over octaves.
float ValueNoise(float x, float y, std::uint32_t seed);
float Fractal(float x, float y, int octaves, std::uint32_t seed);
