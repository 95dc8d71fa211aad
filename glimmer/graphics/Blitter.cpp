#include "glimmer/graphics/Blitter.h"

#include <cstddef>
#include <cstring>
#include <memory>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr Uint32 AlphaByte = 0xff000000u;

// SDL's rule for each byte: the picture's value times its alpha plus the
// screen's times 255 - alpha, each product shifted down 8 bits on its own;
// the alpha byte takes the picture's alpha times 255 instead, saturating.
// A clear pixel leaves the screen as it is, an opaque one replaces it whole.
inline Uint32 BlendPixel(Uint32 from, Uint32 to) {
    const Uint32 alpha = from >> 24;
    if (alpha == 0) return to;
    if (alpha == 255) return from;
    Uint32 out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const Uint32 weight = shift == 24 ? 255 : alpha;
        Uint32 value = ((((from >> shift) & 0xff) * weight) >> 8) + ((((to >> shift) & 0xff) * (255 - alpha)) >> 8);
        if (value > 255) value = 255;
        out |= value << shift;
    }
    return out;
}

#if defined(__SSE2__)
// Two pixels spread to 16 bits a byte, blended by the rule above.
inline __m128i BlendTwo(__m128i from, __m128i to) {
    const __m128i alphaLanes = _mm_set_epi16(0xff, 0, 0, 0, 0xff, 0, 0, 0);
    const __m128i alpha = _mm_shufflehi_epi16(_mm_shufflelo_epi16(from, 0xff), 0xff);
    const __m128i fromWeight = _mm_or_si128(alpha, alphaLanes);
    const __m128i toWeight = _mm_xor_si128(alpha, _mm_set1_epi16(0xff));
    return _mm_add_epi16(_mm_srli_epi16(_mm_mullo_epi16(from, fromWeight), 8),
                         _mm_srli_epi16(_mm_mullo_epi16(to, toWeight), 8));
}
#endif

struct Span {
    int fromX, fromY, toX, toY, w, h;
};

// SDL_UpperBlit's clipping: the part inside the picture, then inside the
// target's clip rectangle.
bool ClipAsSdl(const SDL_Surface* from, const SDL_Rect* part, const SDL_Surface* to, int x, int y, Span* span) {
    int fromX = 0, fromY = 0, w = from->w, h = from->h;
    if (part) {
        fromX = part->x;
        fromY = part->y;
        w = part->w;
        h = part->h;
        if (fromX < 0) {
            w += fromX;
            x -= fromX;
            fromX = 0;
        }
        if (from->w - fromX < w) w = from->w - fromX;
        if (fromY < 0) {
            h += fromY;
            y -= fromY;
            fromY = 0;
        }
        if (from->h - fromY < h) h = from->h - fromY;
    }
    const SDL_Rect& clip = to->clip_rect;
    int over = clip.x - x;
    if (over > 0) {
        w -= over;
        x += over;
        fromX += over;
    }
    over = x + w - clip.x - clip.w;
    if (over > 0) w -= over;
    over = clip.y - y;
    if (over > 0) {
        h -= over;
        y += over;
        fromY += over;
    }
    over = y + h - clip.y - clip.h;
    if (over > 0) h -= over;
    *span = {fromX, fromY, x, y, w, h};
    return w > 0 && h > 0;
}

bool SameChannels(const SDL_PixelFormat* a, const SDL_PixelFormat* b) {
    return a->BytesPerPixel == 4 && b->BytesPerPixel == 4 && a->Rmask == b->Rmask && a->Gmask == b->Gmask &&
           a->Bmask == b->Bmask;
}

bool Plain(const SDL_Surface* surface) {
    return surface->pixels && !SDL_MUSTLOCK(surface);
}

bool Copies(const SDL_Surface* from, const SDL_Surface* to) {
    return SameChannels(from->format, to->format) && from->format->Amask == 0 && to->format->Amask == 0 &&
           !(from->flags & (SDL_SRCCOLORKEY | SDL_SRCALPHA));
}

bool Blends(const SDL_Surface* from, const SDL_Surface* to) {
    const SDL_PixelFormat* f = from->format;
    return SameChannels(f, to->format) && f->Amask == AlphaByte && to->format->Amask == 0 &&
           (f->Rmask | f->Gmask | f->Bmask) == 0x00ffffffu && (from->flags & SDL_SRCALPHA) &&
           !(from->flags & (SDL_SRCCOLORKEY | SDL_RLEACCEL)) && f->alpha == SDL_ALPHA_OPAQUE;
}

struct SurfaceDeleter {
    void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

// Blends every alpha over a spread of colours both through SDL and through
// BlendRow; any difference leaves the blending to SDL.
bool SdlAgrees(const SDL_PixelFormat* target) {
    constexpr int Rows = 8;
    SurfacePtr picture(SDL_CreateRGBSurface(SDL_SWSURFACE, 256, Rows, 32, target->Rmask, target->Gmask,
                                            target->Bmask, AlphaByte));
    SurfacePtr screen(
        SDL_CreateRGBSurface(SDL_SWSURFACE, 256, Rows, 32, target->Rmask, target->Gmask, target->Bmask, 0));
    if (!picture || !screen || SDL_SetAlpha(picture.get(), SDL_SRCALPHA, SDL_ALPHA_OPAQUE) != 0) return false;
    if (SDL_MUSTLOCK(picture.get()) || SDL_MUSTLOCK(screen.get())) return false;
    Uint32 seed = 12345;
    auto next = [&seed]() {
        seed = seed * 1103515245u + 12345u;
        return seed;
    };
    Uint32 expected[Rows][256];
    for (int y = 0; y < Rows; ++y) {
        Uint32* from = reinterpret_cast<Uint32*>(static_cast<Uint8*>(picture->pixels) + y * picture->pitch);
        Uint32* to = reinterpret_cast<Uint32*>(static_cast<Uint8*>(screen->pixels) + y * screen->pitch);
        for (int x = 0; x < 256; ++x) {
            from[x] = (next() & 0x00ffffffu) | (static_cast<Uint32>(x) << 24);
            to[x] = next();
        }
        std::memcpy(expected[y], to, sizeof expected[y]);
        BlendRow(from, expected[y], 256);
    }
    SDL_Rect at = {0, 0, 0, 0};
    if (SDL_UpperBlit(picture.get(), nullptr, screen.get(), &at) != 0) return false;
    for (int y = 0; y < Rows; ++y)
        if (std::memcmp(expected[y], static_cast<Uint8*>(screen->pixels) + y * screen->pitch, sizeof expected[y]) != 0)
            return false;
    return true;
}

struct Verdict {
    bool known = false;
    Uint32 r = 0, g = 0, b = 0;
    bool agrees = false;
};

Verdict Last;

}  // namespace

void BlendRow(const Uint32* from, Uint32* to, int count) {
    int i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i alphaByte = _mm_set1_epi32(static_cast<int>(AlphaByte));
    for (; i + 4 <= count; i += 4) {
        const __m128i source = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i));
        const __m128i alpha = _mm_and_si128(source, alphaByte);
        const __m128i clear = _mm_cmpeq_epi32(alpha, zero);
        if (_mm_movemask_epi8(clear) == 0xffff) continue;
        const __m128i opaque = _mm_cmpeq_epi32(alpha, alphaByte);
        __m128i* target = reinterpret_cast<__m128i*>(to + i);
        if (_mm_movemask_epi8(opaque) == 0xffff) {
            _mm_storeu_si128(target, source);
            continue;
        }
        const __m128i screen = _mm_loadu_si128(target);
        __m128i out = _mm_packus_epi16(BlendTwo(_mm_unpacklo_epi8(source, zero), _mm_unpacklo_epi8(screen, zero)),
                                       BlendTwo(_mm_unpackhi_epi8(source, zero), _mm_unpackhi_epi8(screen, zero)));
        out = _mm_or_si128(_mm_and_si128(opaque, source), _mm_andnot_si128(opaque, out));
        out = _mm_or_si128(_mm_and_si128(clear, screen), _mm_andnot_si128(clear, out));
        _mm_storeu_si128(target, out);
    }
#endif
    for (; i < count; ++i) to[i] = BlendPixel(from[i], to[i]);
}

bool BlendsAsSdl(const SDL_PixelFormat* target) {
    if (!Last.known || Last.r != target->Rmask || Last.g != target->Gmask || Last.b != target->Bmask) {
        Last.known = true;
        Last.r = target->Rmask;
        Last.g = target->Gmask;
        Last.b = target->Bmask;
        Last.agrees = SdlAgrees(target);
    }
    return Last.agrees;
}

bool QuickBlit(SDL_Surface* from, const SDL_Rect* part, SDL_Surface* to, int x, int y) {
    if (!from || !to || from == to || !Plain(from) || !Plain(to)) return false;
    const bool copy = Copies(from, to);
    if (!copy && !(Blends(from, to) && BlendsAsSdl(to->format))) return false;
    Span span;
    if (!ClipAsSdl(from, part, to, x, y, &span)) return true;
    const Uint8* source = static_cast<const Uint8*>(from->pixels) + static_cast<ptrdiff_t>(span.fromY) * from->pitch +
                          static_cast<ptrdiff_t>(span.fromX) * 4;
    Uint8* target = static_cast<Uint8*>(to->pixels) + static_cast<ptrdiff_t>(span.toY) * to->pitch +
                    static_cast<ptrdiff_t>(span.toX) * 4;
    for (int row = 0; row < span.h; ++row, source += from->pitch, target += to->pitch) {
        if (copy) std::memcpy(target, source, static_cast<size_t>(span.w) * 4);
        else BlendRow(reinterpret_cast<const Uint32*>(source), reinterpret_cast<Uint32*>(target), span.w);
    }
    return true;
}

int BlitPicture(SDL_Surface* from, SDL_Rect* part, SDL_Surface* to, SDL_Rect* place) {
    if (place && QuickBlit(from, part, to, place->x, place->y)) return 0;
    return SDL_UpperBlit(from, part, to, place);
}
