#include "glimmer/graphics/Blitter.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr Uint32 AlphaByte = 0xff000000u;

#if defined(__SSE2__)
// SDL's rule for each byte, two pixels at a time spread to 16 bits a byte:
// the picture's value times its alpha plus the screen's times 255 - alpha,
// each product shifted down 8 bits on its own; the alpha byte takes the
// picture's alpha times 255 instead, saturating.
inline __m128i BlendTwo(__m128i from, __m128i to) {
    const __m128i alphaLanes = _mm_set_epi16(0xff, 0, 0, 0, 0xff, 0, 0, 0);
    const __m128i alpha = _mm_shufflehi_epi16(_mm_shufflelo_epi16(from, 0xff), 0xff);
    const __m128i fromWeight = _mm_or_si128(alpha, alphaLanes);
    const __m128i toWeight = _mm_xor_si128(alpha, _mm_set1_epi16(0xff));
    return _mm_add_epi16(_mm_srli_epi16(_mm_mullo_epi16(from, fromWeight), 8),
                         _mm_srli_epi16(_mm_mullo_epi16(to, toWeight), 8));
}

// Four pixels of a picture: 0 all clear, 1 all opaque, 2 anything else.
inline int Group(__m128i source) {
    const __m128i alpha = _mm_and_si128(source, _mm_set1_epi32(static_cast<int>(AlphaByte)));
    if (_mm_movemask_epi8(_mm_cmpeq_epi32(alpha, _mm_setzero_si128())) == 0xffff) return 0;
    if (_mm_movemask_epi8(_mm_cmpeq_epi32(alpha, _mm_set1_epi32(static_cast<int>(AlphaByte)))) == 0xffff) return 1;
    return 2;
}

inline __m128i BlendFour(__m128i source, __m128i screen) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i alphaByte = _mm_set1_epi32(static_cast<int>(AlphaByte));
    const __m128i alpha = _mm_and_si128(source, alphaByte);
    const __m128i clear = _mm_cmpeq_epi32(alpha, zero);
    const __m128i opaque = _mm_cmpeq_epi32(alpha, alphaByte);
    __m128i out = _mm_packus_epi16(BlendTwo(_mm_unpacklo_epi8(source, zero), _mm_unpacklo_epi8(screen, zero)),
                                   BlendTwo(_mm_unpackhi_epi8(source, zero), _mm_unpackhi_epi8(screen, zero)));
    // A clear pixel leaves the screen as it is, an opaque one replaces it whole.
    out = _mm_or_si128(_mm_and_si128(opaque, source), _mm_andnot_si128(opaque, out));
    return _mm_or_si128(_mm_and_si128(clear, screen), _mm_andnot_si128(clear, out));
}
// One to three pixels, the rest of the group zero.
inline __m128i LoadFew(const Uint32* pixels, int count) {
    const __m128i first = count == 1 ? _mm_cvtsi32_si128(static_cast<int>(pixels[0]))
                                     : _mm_loadl_epi64(reinterpret_cast<const __m128i*>(pixels));
    if (count < 3) return first;
    return _mm_unpacklo_epi64(first, _mm_cvtsi32_si128(static_cast<int>(pixels[2])));
}

inline void StoreFew(Uint32* pixels, int count, __m128i group) {
    if (count == 1) {
        pixels[0] = static_cast<Uint32>(_mm_cvtsi128_si32(group));
        return;
    }
    _mm_storel_epi64(reinterpret_cast<__m128i*>(pixels), group);
    if (count == 3) pixels[2] = static_cast<Uint32>(_mm_cvtsi128_si32(_mm_srli_si128(group, 8)));
}

// Blends count pixels of a picture onto a row of the screen.
void BlendRow(const Uint32* from, Uint32* to, int count) {
    int i = 0;
    for (; i + 4 <= count; i += 4) {
        __m128i* target = reinterpret_cast<__m128i*>(to + i);
        const __m128i source = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i));
        switch (Group(source)) {
        case 0:
            break;
        case 1:
            _mm_storeu_si128(target, source);
            break;
        default:
            _mm_storeu_si128(target, BlendFour(source, _mm_loadu_si128(target)));
        }
    }
    // A flake's rows are a few pixels wide: the last one to three go through
    // the same four-pixel blend, the missing ones clear.
    const int rest = count - i;
    if (rest == 0) return;
    const __m128i source = LoadFew(from + i, rest);
    if (Group(source) == 0) return;
    StoreFew(to + i, rest, BlendFour(source, LoadFew(to + i, rest)));
}
#endif

struct Span {
    int fromX, fromY, toX, toY, w, h;
};

// SDL_UpperBlit's clipping along one axis: the run from `from` (length
// `length`, placed at `at`) kept inside the picture's size, then inside the
// target's clip range.
void ClipAxis(int& from, int& length, int& at, int size, int clipStart, int clipLength, bool part) {
    if (part) {
        if (from < 0) {
            length += from;
            at -= from;
            from = 0;
        }
        if (size - from < length) length = size - from;
    }
    const int before = clipStart - at;
    if (before > 0) {
        length -= before;
        at += before;
        from += before;
    }
    const int after = at + length - clipStart - clipLength;
    if (after > 0) length -= after;
}

bool ClipAsSdl(int fromW, int fromH, const SDL_Rect* part, const SDL_Surface* to, int x, int y, Span* span) {
    int fromX = part ? part->x : 0, fromY = part ? part->y : 0;
    int w = part ? part->w : fromW, h = part ? part->h : fromH;
    const SDL_Rect& clip = to->clip_rect;
    ClipAxis(fromX, w, x, fromW, clip.x, clip.w, part != nullptr);
    ClipAxis(fromY, h, y, fromH, clip.y, clip.h, part != nullptr);
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
// BlendRow; any difference leaves the blending to SDL. Without SSE2, SDL
// blends by another rule (the web's, for one).
#if defined(__SSE2__)
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
#else
bool SdlAgrees(const SDL_PixelFormat*) { return false; }

// Never reached: SdlAgrees refuses every picture.
void BlendRow(const Uint32*, Uint32*, int) {}
#endif

struct Verdict {
    bool known = false;
    Uint32 r = 0, g = 0, b = 0;
    bool agrees = false;
};

Verdict Last;

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

}  // namespace

BlitPlan PlanBlit(SDL_Surface* from, SDL_Surface* to) {
    BlitPlan plan;
    if (!from || !to || from == to || !Plain(from) || !Plain(to)) return plan;
    if (Copies(from, to)) plan.mode = BlitPlan::Copy;
    else if (Blends(from, to) && BlendsAsSdl(to->format)) plan.mode = BlitPlan::Blend;
    else return plan;
    plan.pixels = static_cast<const Uint8*>(from->pixels);
    plan.pitch = from->pitch;
    plan.w = from->w;
    plan.h = from->h;
    return plan;
}

bool TakeRowSpans(const SDL_Surface* picture, RowSpans* spans) {
    if (!picture || !picture->pixels || picture->format->BytesPerPixel != 4 || picture->format->Amask != AlphaByte ||
        picture->w > 0xffff)
        return false;
    spans->pixels = picture->pixels;
    spans->w = picture->w;
    spans->h = picture->h;
    spans->pitch = picture->pitch;
    spans->begin.assign(static_cast<size_t>(picture->h), 0);
    spans->end.assign(static_cast<size_t>(picture->h), 0);
    for (int row = 0; row < picture->h; ++row) {
        const Uint32* line = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(picture->pixels) +
                                                             static_cast<ptrdiff_t>(row) * picture->pitch);
        int first = 0, last = picture->w;
        while (first < last && (line[first] & AlphaByte) == 0) ++first;
        while (last > first && (line[last - 1] & AlphaByte) == 0) --last;
        spans->begin[static_cast<size_t>(row)] = static_cast<Uint16>(first);
        spans->end[static_cast<size_t>(row)] = static_cast<Uint16>(last);
    }
    return true;
}

void UseRowSpans(BlitPlan* plan, const RowSpans* spans) {
    if (plan->mode == BlitPlan::Blend && spans && spans->pixels == plan->pixels && spans->w == plan->w &&
        spans->h == plan->h && spans->pitch == plan->pitch)
        plan->spans = spans;
}

bool RunBlit(const BlitPlan& plan, const SDL_Rect* part, SDL_Surface* to, int x, int y) {
    if (plan.mode == BlitPlan::Sdl) return false;
    Span span;
    if (!ClipAsSdl(plan.w, plan.h, part, to, x, y, &span)) return true;
    const Uint8* source =
        plan.pixels + static_cast<ptrdiff_t>(span.fromY) * plan.pitch + static_cast<ptrdiff_t>(span.fromX) * 4;
    Uint8* target = static_cast<Uint8*>(to->pixels) + static_cast<ptrdiff_t>(span.toY) * to->pitch +
                    static_cast<ptrdiff_t>(span.toX) * 4;
    const RowSpans* spans = plan.spans;
    for (int row = 0; row < span.h; ++row, source += plan.pitch, target += to->pitch) {
        if (plan.mode == BlitPlan::Copy) {
            std::memcpy(target, source, static_cast<size_t>(span.w) * 4);
        } else if (spans) {
            const size_t at = static_cast<size_t>(span.fromY + row);
            const int first = std::max(static_cast<int>(spans->begin[at]) - span.fromX, 0);
            const int last = std::min(static_cast<int>(spans->end[at]) - span.fromX, span.w);
            if (first < last)
                BlendRow(reinterpret_cast<const Uint32*>(source) + first, reinterpret_cast<Uint32*>(target) + first,
                         last - first);
        } else {
            BlendRow(reinterpret_cast<const Uint32*>(source), reinterpret_cast<Uint32*>(target), span.w);
        }
    }
    return true;
}

void PrefetchBlit(const BlitPlan& plan, const SDL_Surface* to, int left, int top, int x0, int y0, int x1, int y1) {
    // Enough rows to cover a small picture or a few tiles of a large one.
    constexpr int MostRows = 32;
    if (plan.mode == BlitPlan::Sdl || !to || !to->pixels || x1 <= x0 || y1 <= y0) return;
    if (x0 < left || y0 < top || x1 - left > plan.w || y1 - top > plan.h) return;
    y1 = std::min(y1, y0 + MostRows);
    const Uint8* source = plan.pixels + static_cast<ptrdiff_t>(y0 - top) * plan.pitch + static_cast<ptrdiff_t>(x0 - left) * 4;
    const Uint8* target = static_cast<const Uint8*>(to->pixels) + static_cast<ptrdiff_t>(y0) * to->pitch + static_cast<ptrdiff_t>(x0) * 4;
    PrefetchRows(source, plan.pitch, (x1 - x0) * 4, y1 - y0, false);
    PrefetchRows(target, to->pitch, (x1 - x0) * 4, y1 - y0, true);
}

bool QuickBlit(SDL_Surface* from, const SDL_Rect* part, SDL_Surface* to, int x, int y) {
    return RunBlit(PlanBlit(from, to), part, to, x, y);
}

int BlitPicture(SDL_Surface* from, SDL_Rect* part, SDL_Surface* to, SDL_Rect* place) {
    if (place && QuickBlit(from, part, to, place->x, place->y)) return 0;
    return SDL_UpperBlit(from, part, to, place);
}
