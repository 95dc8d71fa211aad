#include <cmath>

#include "tools/cardart/Art.h"

// A six-armed crystal inside a soft round glow. The card replaces the alpha
// of every visible pixel by the flake's own translucency, so the softness is
// also carried by the colour, which dims toward the edge; transparent pixels
// keep the flake's colour so that smoothing while scaling adds no dark rim.
Canvas PaintFlake() {
    constexpr int Size = 32;
    constexpr float Mid = Size / 2.0f;
    Canvas c(Size, Size);
    const Rgb edge{0.48f, 0.55f, 0.75f};
    const Rgb core{1.0f, 1.0f, 1.0f};
    for (int y = 0; y < Size; ++y) {
        for (int x = 0; x < Size; ++x) {
            float d = std::hypot(x + 0.5f - Mid, y + 0.5f - Mid) / (Mid - 1.0f);
            float alpha = d < 1.0f ? std::pow(1.0f - d, 1.6f) : 0.0f;
            c.Set(x, y, Mix(core, edge, std::pow(Clamp01(d), 0.8f)), alpha * 0.75f);
        }
    }
    for (int arm = 0; arm < 6; ++arm) {
        float a = arm * 3.14159265f / 3.0f + 3.14159265f / 2.0f;
        float dx = std::cos(a), dy = std::sin(a);
        float reach = Mid - 3.0f;
        c.Stroke(Mid, Mid, Mid + dx * reach, Mid + dy * reach, 1.1f, 0.5f, core, 0.9f);
        for (float at : {0.45f, 0.7f}) {
            float bx = Mid + dx * reach * at, by = Mid + dy * reach * at;
            float len = reach * (at < 0.5f ? 0.32f : 0.22f);
            for (int side = -1; side <= 1; side += 2) {
                float b = a + side * 3.14159265f / 3.0f;
                c.Stroke(bx, by, bx + std::cos(b) * len, by + std::sin(b) * len, 0.7f, 0.4f, core, 0.85f);
            }
        }
    }
    c.Disc(Mid, Mid, 2.2f, core, 1.0f, 1.0f);
    for (int y = 0; y < Size; ++y)
        for (int x = 0; x < Size; ++x)
            if (c.AlphaAt(x, y) <= 0.0f) c.Set(x, y, edge, 0.0f);
    return c;
}
