// Draws the card's desktop icon: a night sky in a rounded square, a moon,
// falling snow and a snowy hill. Usage: solvane-icon SIZE OUTPUT.png
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tools/png/PngWriter.h"

namespace {

struct Colour {
    double R, G, B, A;
};

Colour Over(Colour top, Colour under) {
    double a = top.A + under.A * (1 - top.A);
    if (a <= 0) {
        return {0, 0, 0, 0};
    }
    auto mix = [&](double t, double u) { return (t * top.A + u * under.A * (1 - top.A)) / a; };
    return {mix(top.R, under.R), mix(top.G, under.G), mix(top.B, under.B), a};
}

// Everything is drawn on a unit square, (0,0) top left.
Colour Sample(double x, double y) {
    // Rounded square outline of the icon.
    const double radius = 0.18, inset = 0.04;
    double dx = std::max({inset + radius - x, x - (1 - inset - radius), 0.0});
    double dy = std::max({inset + radius - y, y - (1 - inset - radius), 0.0});
    if (std::hypot(dx, dy) > radius) {
        return {0, 0, 0, 0};
    }
    Colour c{0.03 + 0.10 * y, 0.05 + 0.16 * y, 0.20 + 0.30 * y, 1};

    // Moon: a disc with a second disc cut away.
    if (std::hypot(x - 0.70, y - 0.28) < 0.14 && std::hypot(x - 0.76, y - 0.23) > 0.12) {
        c = Over({1.0, 0.95, 0.70, 1}, c);
    }
    // Snow, at fixed places so every size shows the same picture.
    static const double flakes[][3] = {
        {0.20, 0.20, 0.035}, {0.38, 0.14, 0.025}, {0.30, 0.40, 0.045}, {0.52, 0.33, 0.030},
        {0.15, 0.58, 0.030}, {0.62, 0.55, 0.040}, {0.82, 0.48, 0.028}, {0.45, 0.62, 0.022},
    };
    for (const auto& f : flakes) {
        double d = std::hypot(x - f[0], y - f[1]);
        if (d < f[2]) {
            c = Over({1, 1, 1, 0.9 - 0.4 * d / f[2]}, c);
        }
    }
    // Snowy hill along the bottom.
    if (y > 0.78 - 0.10 * std::sin(x * 3.1)) {
        c = Over({0.90, 0.94, 1.0, 1}, c);
    }
    return c;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: solvane-icon SIZE OUTPUT.png\n");
        return 2;
    }
    int size = std::atoi(argv[1]);
    if (size < 16 || size > 1024) {
        std::fprintf(stderr, "solvane-icon: size must be 16 to 1024, not %s\n", argv[1]);
        return 2;
    }
    RgbaImage image(size, size);
    const int grid = 4;  // samples per pixel side, for smooth edges
    for (int py = 0; py < size; ++py) {
        for (int px = 0; px < size; ++px) {
            double r = 0, g = 0, b = 0, a = 0;
            for (int sy = 0; sy < grid; ++sy) {
                for (int sx = 0; sx < grid; ++sx) {
                    Colour c = Sample((px + (sx + 0.5) / grid) / size, (py + (sy + 0.5) / grid) / size);
                    r += c.R * c.A;
                    g += c.G * c.A;
                    b += c.B * c.A;
                    a += c.A;
                }
            }
            std::uint8_t* out = image.At(px, py);
            auto channel = [](double v) { return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255)); };
            out[0] = a > 0 ? channel(r / a) : 0;
            out[1] = a > 0 ? channel(g / a) : 0;
            out[2] = a > 0 ? channel(b / a) : 0;
            out[3] = channel(a / (grid * grid));
        }
    }
    if (!WritePng(argv[2], image)) {
        std::fprintf(stderr, "solvane-icon: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
