#include "glimmer/graphics/Sprite.h"

#include <SDL/SDL_image.h>
#include <SDL/SDL_rotozoom.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "glimmer/base/EngineInternal.h"
#include "glimmer/base/Config.h"
#include "glimmer/base/DebugLog.h"
#include "glimmer/base/Error.h"
#include "glimmer/graphics/Blitter.h"
#include "glimmer/graphics/Video.h"
#include "glimmer/graphics/PictureSize.h"
#include "glimmer/registry/DTable.h"
#include "glimmer/resources/FileSystem.h"

namespace {

struct SurfaceDeleter {
    void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

// Closing, not SDL_FreeRW: the compatibility layer keeps a second stream
// behind each memory stream that only closing releases.
struct RWDeleter {
    void operator()(SDL_RWops* stream) const { SDL_RWclose(stream); }
};
using RWPtr = std::unique_ptr<SDL_RWops, RWDeleter>;

// A stream opened through FS, closed through FS.
class FsFile {
public:
    explicit FsFile(FILE* stream) : stream_(stream) {}
    ~FsFile() { Close(); }
    FsFile(const FsFile&) = delete;
    FsFile& operator=(const FsFile&) = delete;
    FILE* Get() const { return stream_; }
    void Close() {
        if (stream_) FS->Fclose(stream_);
        stream_ = nullptr;
    }

private:
    FILE* stream_;
};

[[noreturn]] void SurfaceError(const char* what) {
    SDL_SetError("%s", what);
    Error(ErrorCode::SdlFailed);
}

// Per-pixel alpha only blends on the screen while the surface says so; some
// conversions drop the flag, so every sprite surface gets it back explicitly.
void KeepPerPixelAlpha(SDL_Surface* surface) {
    if (surface && surface->format->Amask) SDL_SetAlpha(surface, SDL_SRCALPHA, SDL_ALPHA_OPAQUE);
}

void SurfaceReport(const SDL_Surface* surface, bool withDepth) {
    DebugLog << ((surface->flags & SDL_HWSURFACE) ? "Hardware Surface created: " : "Software Surface created: ")
             << static_cast<const void*>(surface) << " X_s:" << surface->w << "y_s:" << surface->h;
    if (withDepth) DebugLog << "bpp:" << static_cast<unsigned int>(surface->format->BitsPerPixel);
    DebugLog << std::endl;
    DebugLog << "Surface flags is:" << std::hex << surface->flags << std::dec << std::endl;
    DebugLog << "Surface alfa:" << std::hex << (surface->flags & SDL_SRCALPHA) << std::dec << std::endl;
    DebugLog << "Surface hw acceleration:" << std::hex << (surface->flags & SDL_HWACCEL) << std::dec << std::endl;
    DebugLog << "Surface rle acceleration:" << std::hex << (surface->flags & SDL_RLEACCEL) << std::dec << std::endl;
    DebugLog << "Surface colorkey acceleration:" << std::hex << (surface->flags & SDL_SRCCOLORKEY) << std::dec
             << std::endl;
    DebugLog << "Surface alpha is:" << static_cast<unsigned int>(surface->format->alpha) << std::endl;
    DebugLog << "Surface colorkey is:" << surface->format->colorkey << std::endl;
}

// Blending a fully opaque pixel gives exactly its own colour, so a sprite
// without any translucent pixel can be drawn as a plain copy. SDL copies only
// between identical formats: the view describes Surface's pixels in the
// screen's format (the alpha byte is then the screen's unused byte). For a
// full-screen sky that is most of the cost of drawing it. The view is rebuilt
// whenever Surface or its alpha changes, and never outlives Surface.
void DropOpaqueView(Sprite& sprite) {
    // Every change of the picture or its pixels passes here.
    sprite.Touch();
    SDL_FreeSurface(sprite.OpaqueView);
    sprite.OpaqueView = nullptr;
    delete sprite.Spans;
    sprite.Spans = nullptr;
}

bool SameColourLayout(const SDL_PixelFormat* a, const SDL_PixelFormat* b) {
    return a->BytesPerPixel == 4 && b->BytesPerPixel == 4 && a->Rmask == b->Rmask && a->Gmask == b->Gmask &&
           a->Bmask == b->Bmask;
}

bool FullyOpaque(const SDL_Surface* surface) {
    const Uint32 amask = surface->format->Amask;
    for (int row = 0; row < surface->h; ++row) {
        const Uint32* line = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(surface->pixels) +
                                                             static_cast<ptrdiff_t>(row) * surface->pitch);
        for (int column = 0; column < surface->w; ++column)
            if ((line[column] & amask) != amask) return false;
    }
    return true;
}

// Whether the sprite's own blit would still only copy its pixels: no colour
// key and no translucency for the surface as a whole.
bool CopiesAsIs(const SDL_Surface* surface) {
    return !(surface->flags & SDL_SRCCOLORKEY) &&
           (!(surface->flags & SDL_SRCALPHA) || surface->format->alpha == SDL_ALPHA_OPAQUE);
}

// Only a picture as wide as the foreground ones has clear edges worth
// passing over; a flake's rows are a few pixels.
constexpr int SpansFromWidth = 64;

void TakeSpans(Sprite& sprite) {
    if (sprite.Surface->w < SpansFromWidth) return;
    RowSpans* spans = new (std::nothrow) RowSpans;
    // Without spans the picture is blended whole, which is never wrong.
    if (!spans) return;
    if (!TakeRowSpans(sprite.Surface, spans)) {
        delete spans;
        return;
    }
    spans->look = sprite.Look;
    sprite.Spans = spans;
}

void RefreshOpaqueView(Sprite& sprite) {
    DropOpaqueView(sprite);
    const SDL_Surface* surface = sprite.Surface;
    if (!surface || !surface->pixels || !SDL_FBSurface) return;
    const SDL_PixelFormat* format = surface->format;
    const SDL_PixelFormat* screen = SDL_FBSurface->format;
    if (format->Amask == 0 || screen->Amask != 0 || !SameColourLayout(format, screen)) return;
    if (!CopiesAsIs(surface) || !FullyOpaque(surface)) {
        TakeSpans(sprite);
        return;
    }
    // Without a view the sprite is blended as before, which is never wrong.
    sprite.OpaqueView = SDL_CreateRGBSurfaceFrom(surface->pixels, surface->w, surface->h, 32, surface->pitch,
                                                 format->Rmask, format->Gmask, format->Bmask, 0);
}

// The one way a sprite's surface changes hands: the view of the old pixels
// goes first, then the sprite's reference to the old surface (the surface
// itself goes with its last reference, see Sprite.h), and the new surface,
// if any, is taken with its per-pixel alpha in force.
void ReplaceSurface(Sprite& sprite, SDL_Surface* next) {
    DropOpaqueView(sprite);
    SDL_FreeSurface(sprite.Surface);
    sprite.Surface = next;
    KeepPerPixelAlpha(next);
}

// Before the pixels are written: a surface shared with copies is replaced
// by a private copy of itself, so writing leaves the others as they were.
void OwnPixels(Sprite& sprite) {
    SDL_Surface* shared = sprite.Surface;
    if (!shared || shared->refcount <= 1) return;
    SDL_Surface* own = SDL_ConvertSurface(shared, shared->format, shared->flags & ~static_cast<Uint32>(SDL_PREALLOC));
    if (!own) Error(ErrorCode::SdlFailed);
    ReplaceSurface(sprite, own);
}

// What to blit onto dst: the view where it draws the same pixels as Surface.
SDL_Surface* BlitSource(const Sprite& sprite, const SDL_Surface* dst) {
    const SDL_Surface* view = sprite.OpaqueView;
    if (view && view->pixels == sprite.Surface->pixels && dst->format->Amask == 0 &&
        SameColourLayout(view->format, dst->format) && CopiesAsIs(sprite.Surface))
        return sprite.OpaqueView;
    return sprite.Surface;
}

int Blit(const Sprite& sprite, SDL_Rect* src, SDL_Surface* target, SDL_Rect place) {
    return BlitPicture(BlitSource(sprite, target), src, target, &place);
}

// The part of a picture with that corner inside the clip.
bool Clip(long long left, long long top, const SDL_Surface* surface, const SDL_Rect* clip, ScreenBox* box) {
    const long long x0 = std::max<long long>(left, clip->x);
    const long long y0 = std::max<long long>(top, clip->y);
    const long long x1 = std::min<long long>(left + surface->w, static_cast<long long>(clip->x) + clip->w);
    const long long y1 = std::min<long long>(top + surface->h, static_cast<long long>(clip->y) + clip->h);
    if (x1 <= x0 || y1 <= y0) return false;
    *box = {static_cast<int>(x0), static_cast<int>(y0), static_cast<int>(x1), static_cast<int>(y1)};
    return true;
}

SDL_PixelFormat* TemplateFormat() {
    if (!CFG.PixelFormat) SurfaceError("no video mode has been set");
    return CFG.PixelFormat;
}

// The content of a picture file.
struct PictureBytes {
    std::unique_ptr<unsigned char[]> data;
    size_t size = 0;

    bool operator==(const PictureBytes& other) const {
        return size == other.size && std::memcmp(data.get(), other.data.get(), size) == 0;
    }
};

// The last picture decoded, kept so that many sprites loading one picture (a
// sky full of flakes) decode it once. It is reused only for identical file
// bytes, so a changed file is always decoded afresh.
struct DecodedPicture {
    std::string name;
    PictureBytes bytes;
    SurfacePtr converted;  // in the template format
    Uint32 decodedFlags = 0;
};

DecodedPicture& LastPicture() {
    static DecodedPicture picture;
    return picture;
}

struct SpriteFile {
    std::string picture;
    int cx = 0;
    int cy = 0;
};

// The readers below return 0, or the code that loading ends with.

int ReadSpriteFile(const char* name, SpriteFile* out) {
    FsFile file(FS && name ? FS->Fopen(name, "rt") : nullptr);
    if (!file.Get()) {
        SDL_SetError("sprite file \"%s\" does not open", name ? name : "");
        return ErrorCode::NoSprite;
    }
    char picture[256] = {};
    if (FS->Fscanf(file.Get(), "%255s", picture) != 1) picture[0] = '\0';
    if (FS->Fscanf(file.Get(), "%d", &out->cx) != 1) out->cx = 0;
    if (FS->Fscanf(file.Get(), "%d", &out->cy) != 1) out->cy = 0;
    out->picture = picture;
    return 0;
}

// The whole content of the picture file: 4 when it does not open, 2 when
// there is no memory for it, 8 when it cannot be read (an empty file or a
// folder included).
int ReadPictureFile(const std::string& name, PictureBytes* out) {
    if (name.empty()) {
        SDL_SetError("sprite file names no picture");
        return ErrorCode::NoSprite;
    }
    FsFile file(FS->Fopen(name.c_str(), "rb"));
    if (!file.Get()) {
        SDL_SetError("picture file \"%s\" does not open", name.c_str());
        return ErrorCode::NoSprite;
    }
    // One byte first: a folder opens like a file but reports a length that
    // no read can deliver.
    long length = -1;
    if (FS->Fgetc(file.Get()) != EOF && FS->Fseek(file.Get(), 0, SEEK_END) == 0) length = FS->Ftell(file.Get());
    if (length <= 0 || FS->Fseek(file.Get(), 0, SEEK_SET) != 0) {
        SDL_SetError("picture file \"%s\" is empty or unreadable", name.c_str());
        return ErrorCode::SpriteLoadFailed;
    }
    if (length > INT_MAX) return ErrorCode::NoMemory;
    out->size = static_cast<size_t>(length);
    out->data.reset(new (std::nothrow) unsigned char[out->size]);
    if (!out->data) return ErrorCode::NoMemory;
    if (FS->Fread(out->data.get(), static_cast<unsigned int>(length), 1, file.Get()) != 1) {
        SDL_SetError("picture file \"%s\" cannot be read", name.c_str());
        return ErrorCode::SpriteLoadFailed;
    }
    return 0;
}

int DecodePicture(const PictureBytes& bytes, SurfacePtr* out) {
    unsigned long width = 0, height = 0;
    if (PictureHeaderTooLarge(bytes.data.get(), bytes.size, &width, &height)) {
        SDL_SetError("picture of %lu x %lu pixels is too large", width, height);
        return ErrorCode::SpriteLoadFailed;
    }
    if (GifUnsafeToDecode(bytes.data.get(), bytes.size)) {
        SDL_SetError("GIF picture is damaged or holds an image of no size");
        return ErrorCode::SpriteLoadFailed;
    }
    RWPtr stream(SDL_RWFromMem(bytes.data.get(), static_cast<int>(bytes.size)));
    if (!stream) return ErrorCode::NoMemory;
    out->reset(IMG_Load_RW(stream.get(), 0));
    return *out ? 0 : ErrorCode::SpriteLoadFailed;
}

}  // namespace

SDL_Surface* ReadSpritePicture(const char* name, short* xc, short* yc, int* code) {
    SpriteFile spriteFile;
    PictureBytes bytes;
    SurfacePtr decoded;
    *code = ReadSpriteFile(name, &spriteFile);
    if (*code == 0) *code = ReadPictureFile(spriteFile.picture, &bytes);
    if (*code == 0) *code = DecodePicture(bytes, &decoded);
    if (*code != 0) return nullptr;
    *xc = static_cast<short>(spriteFile.cx);
    *yc = static_cast<short>(spriteFile.cy);
    return decoded.release();
}

Sprite::Sprite() : GObject() {
    DebugLog << "Sprite constructing...";
    Surface = nullptr;
    TextBuffer = nullptr;
    OpaqueView = nullptr;
    Spans = nullptr;
    DebugLog << ".." << std::endl;
}

Sprite::Sprite(Sprite& src) : GObject(), Surface(nullptr), TextBuffer(nullptr), OpaqueView(nullptr), Spans(nullptr) {
    DebugLog << "Sprite copying" << std::endl;
    *this = src;
}

Sprite& Sprite::operator=(Sprite& src) {
    if (&src == this) return *this;
    // Shares the source's surface and holds a reference to it, so the pixels
    // stay as long as the last sprite that draws them.
    SDL_Surface* shared = src.Surface;
    if (shared) ++shared->refcount;
    ReplaceSurface(*this, shared);
    RefreshOpaqueView(*this);
    char* text = CopyText(src.TextBuffer);
    delete[] TextBuffer;
    TextBuffer = text;
    Desc = 0;
    return *this;
}

Sprite::~Sprite() {
    ReplaceSurface(*this, nullptr);
    delete[] TextBuffer;
    TextBuffer = nullptr;
    Released = 1;
}

void Sprite::Initializing(unsigned int desc, int, unsigned int udesc) {
    Desc = desc;
    ReplaceSurface(*this, nullptr);
    delete[] TextBuffer;
    TextBuffer = nullptr;
    UDesc = udesc;
    DebugLog << "Sprite initialized with UDesc=" << udesc << std::endl;
    DebugLog << "Initialized Sprite desc=" << desc << std::endl;
}

void Sprite::Load(const char* name, unsigned char z, float kx, float ky) {
    if (!name) name = "";
    DebugLog << "SX=" << kx << " SY=" << ky << std::endl;
    if (kx == 0.0f) kx = SX;
    if (ky == 0.0f) ky = SY;
    DebugLog << "SX=" << kx << " SY=" << ky << std::endl;
    DebugLog << "Loading sprite:" << name << "..." << std::endl;
    ZLevel = z;

    SpriteFile spriteFile;
    if (const int code = ReadSpriteFile(name, &spriteFile)) Error(code);
    DebugLog << spriteFile.picture << std::endl;
    XCenter = static_cast<short>(spriteFile.cx);
    YCenter = static_cast<short>(spriteFile.cy);
    DebugLog << "CX:" << XCenter << "CY:" << YCenter << std::endl;

    PictureBytes bytes;
    if (const int code = ReadPictureFile(spriteFile.picture, &bytes)) Error(code);
    DecodedPicture& last = LastPicture();
    if (!last.converted || last.name != spriteFile.picture || !(last.bytes == bytes)) {
        last.converted.reset();
        SurfacePtr decoded;
        if (const int code = DecodePicture(bytes, &decoded)) Error(code);
        SurfacePtr converted(SDL_ConvertSurface(decoded.get(), TemplateFormat(), 0));
        if (!converted) Error(ErrorCode::SdlFailed);
        KeepPerPixelAlpha(converted.get());
        last.name = spriteFile.picture;
        last.bytes = std::move(bytes);
        last.decodedFlags = decoded->flags;
        last.converted = std::move(converted);
    }
    SDL_Surface* picture = last.converted.get();
    DebugLog << "TMP flags is:" << std::hex << last.decodedFlags << std::dec << std::endl;
    XSize = static_cast<short>(picture->w);
    YSize = static_cast<short>(picture->h);

    SDL_Surface* own = SDL_ConvertSurface(picture, TemplateFormat(), 0);
    if (!own) Error(ErrorCode::SdlFailed);
    ReplaceSurface(*this, own);
    SurfaceReport(Surface, true);
    DebugLog << static_cast<const void*>(Surface) << std::endl;
    DebugLog << "Sprite#" << Desc << "with UDesc=" << UDesc << " loaded from " << name << std::endl;

    Scale(kx, ky);
}

void Sprite::Create(SDL_Surface* src, short xc, short yc, unsigned char z, float kx, float ky) {
    DebugLog << "Creating sprite from surface" << std::endl;
    if (!src) SurfaceError("no surface to create a sprite from");
    XSize = static_cast<short>(src->w);
    YSize = static_cast<short>(src->h);
    XCenter = xc;
    YCenter = yc;
    ZLevel = z;
    DebugLog << "SRC surface alfa:" << std::hex << (src->flags & SDL_SRCALPHA) << std::dec << std::endl;
    // Pixel memory lent by the caller is not ours to pass on.
    const Uint32 flags = (src->flags & ~static_cast<Uint32>(SDL_PREALLOC)) | SDL_ANYFORMAT;
    SDL_Surface* own = SDL_ConvertSurface(src, TemplateFormat(), flags);
    if (!own) Error(ErrorCode::SdlFailed);
    ReplaceSurface(*this, own);
    SurfaceReport(Surface, false);
    DebugLog << static_cast<const void*>(Surface) << std::endl;
    Scale(kx, ky);
}

void Sprite::Scale(float kx, float ky) {
    DebugLog << "SX=" << kx << " SY=" << ky << std::endl;
    if (kx == 1.0f && ky == 1.0f) {
        RefreshOpaqueView(*this);
        return;
    }
    XSize = ScaleTrunc(XSize, kx);
    YSize = ScaleTrunc(YSize, ky);
    XCenter = ScaleTrunc(XCenter, kx);
    YCenter = ScaleTrunc(YCenter, ky);
    DebugLog << "New xs=" << XSize << " new ys=" << YSize << std::endl;
    if (!Surface) {
        RefreshOpaqueView(*this);
        return;
    }
    if (!std::isfinite(kx) || !std::isfinite(ky)) SurfaceError("scale factor is not a finite number");
    SurfacePtr zoomed(zoomSurface(Surface, kx, ky, CFG.ScaleType == 1 ? SMOOTHING_ON : SMOOTHING_OFF));
    if (!zoomed) SurfaceError("picture cannot be scaled");
    // The zoom allocates guard rows below the picture and only shortens the
    // height it reports; converting a view of exactly the reported size keeps
    // those rows out of the sprite.
    const SDL_PixelFormat* zf = zoomed->format;
    SurfacePtr visible(SDL_CreateRGBSurfaceFrom(zoomed->pixels, zoomed->w, zoomed->h, zf->BitsPerPixel, zoomed->pitch,
                                                zf->Rmask, zf->Gmask, zf->Bmask, zf->Amask));
    if (!visible) Error(ErrorCode::NoMemory);
    SDL_Surface* own = SDL_ConvertSurface(visible.get(), TemplateFormat(), zoomed->flags & ~static_cast<Uint32>(SDL_PREALLOC));
    if (!own) Error(ErrorCode::SdlFailed);
    ReplaceSurface(*this, own);
    RefreshOpaqueView(*this);
}

void Sprite::SetAlpha(unsigned char a) {
    if (!Surface) SurfaceError("sprite has no surface");
    OwnPixels(*this);
    SDL_Surface* surface = Surface;
    if (SDL_LockSurface(surface) != 0) Error(ErrorCode::SdlFailed);
    SDL_PixelFormat* format = surface->format;
    DebugLog << "Source amask=" << std::hex << format->Amask << std::dec << std::endl;
    const int bytesPerPixel = format->BytesPerPixel;
    // Every pixel of the surface, even where the truncated size is a pixel
    // short of the zoomed picture: an untouched edge would stay opaque.
    if (bytesPerPixel == 4 && format->Amask && !format->Rloss && !format->Gloss && !format->Bloss &&
        !format->Aloss) {
        // Full 8-bit channels, as in the template format: splitting and
        // joining reduce to masking, which a sky of flakes needs to be quick.
        const Uint32 colour = format->Rmask | format->Gmask | format->Bmask;
        const Uint32 alpha = static_cast<Uint32>(a) << format->Ashift;
        for (int row = 0; row < surface->h; ++row) {
            Uint32* line = reinterpret_cast<Uint32*>(static_cast<Uint8*>(surface->pixels) +
                                                     static_cast<ptrdiff_t>(row) * surface->pitch);
            for (int column = 0; column < surface->w; ++column) {
                const Uint32 pixel = line[column];
                line[column] = (pixel & format->Amask) ? (pixel & colour) | alpha : pixel & colour;
            }
        }
        SDL_UnlockSurface(surface);
        KeepPerPixelAlpha(surface);
        RefreshOpaqueView(*this);
        return;
    }
    for (int row = 0; row < surface->h; ++row) {
        Uint8* line = static_cast<Uint8*>(surface->pixels) + static_cast<ptrdiff_t>(row) * surface->pitch;
        for (int column = 0; column < surface->w; ++column) {
            Uint8* at = line + static_cast<ptrdiff_t>(column) * bytesPerPixel;
            Uint32 pixel = 0;
            for (int i = 0; i < bytesPerPixel; ++i) pixel |= static_cast<Uint32>(at[i]) << (8 * i);
            Uint8 r, g, b, alpha;
            SDL_GetRGBA(pixel, format, &r, &g, &b, &alpha);
            if (alpha != 0) alpha = a;
            pixel = SDL_MapRGBA(format, r, g, b, alpha);
            for (int i = 0; i < bytesPerPixel; ++i) at[i] = static_cast<Uint8>(pixel >> (8 * i));
        }
    }
    SDL_UnlockSurface(surface);
    KeepPerPixelAlpha(surface);
    RefreshOpaqueView(*this);
}

void Sprite::Run(SDL_Surface* dst) {
    const short* p = GDT.GetParams(Desc);
    const int p0 = p ? p[0] : 0;
    const int p1 = p ? p[1] : 0;
    int ox, oy;
    OwnerOrigin(UDesc, &ox, &oy);
    PutSprite(TruncToInt(p0 * static_cast<double>(SX) + ox), TruncToInt(p1 * static_cast<double>(SY) + oy), dst);
}

void Sprite::Run(SDL_Rect* clip, SDL_Surface* dst) {
    if (!Surface) SurfaceError("sprite has no surface");
    if (!clip) {
        long long left = 0, top = 0;
        ClippedPlacement(nullptr, &left, &top, nullptr);
        SDL_Rect whole = {0, 0, static_cast<Uint16>(Surface->w), static_cast<Uint16>(Surface->h)};
        PutSprite(static_cast<int>(left), static_cast<int>(top), &whole, dst);
        return;
    }
    long long left = 0, top = 0;
    ScreenBox box;
    // Only the part inside the owner's rectangle is drawn, at its true place.
    if (!ClippedPlacement(clip, &left, &top, &box)) return;
    SDL_Rect source = {static_cast<Sint16>(box.x0 - left), static_cast<Sint16>(box.y0 - top),
                       static_cast<Uint16>(box.x1 - box.x0), static_cast<Uint16>(box.y1 - box.y0)};
    PutSprite(box.x0, box.y0, &source, dst);
}

bool Sprite::ClippedPlacement(const SDL_Rect* clip, long long* left, long long* top, ScreenBox* box) const {
    const short* p = GDT.GetParams(Desc);
    const int p0 = p ? p[0] : 0;
    const int p1 = p ? p[1] : 0;
    int ox, oy;
    OwnerOrigin(UDesc, &ox, &oy);
    *left = TruncToInt(p0 * static_cast<double>(SX) + ox - XCenter);
    *top = TruncToInt(p1 * static_cast<double>(SY) + oy - YCenter);
    if (!clip || !Surface) return false;
    return Clip(*left, *top, Surface, clip, box);
}

bool Sprite::Placement(const short* p, int ox, int oy, const SDL_Rect* clip, long long* left, long long* top,
                       ScreenBox* box) const {
    if (!Surface) return false;
    const int p0 = p ? p[0] : 0;
    const int p1 = p ? p[1] : 0;
    if (clip) {
        *left = TruncToInt(p0 * static_cast<double>(SX) + ox - XCenter);
        *top = TruncToInt(p1 * static_cast<double>(SY) + oy - YCenter);
        return Clip(*left, *top, Surface, clip, box);
    }
    // As Run(dst) and PutSprite place it: the corner kept in 16 bits.
    const int x = TruncToInt(p0 * static_cast<double>(SX) + ox);
    const int y = TruncToInt(p1 * static_cast<double>(SY) + oy);
    *left = static_cast<Sint16>(x - XCenter);
    *top = static_cast<Sint16>(y - YCenter);
    *box = {static_cast<int>(*left), static_cast<int>(*top), static_cast<int>(*left) + Surface->w,
            static_cast<int>(*top) + Surface->h};
    return true;
}

SDL_Surface* Sprite::DrawnSurface(const SDL_Surface* target) const {
    return Surface && target ? BlitSource(*this, target) : Surface;
}

bool Sprite::DrawsOpaque() const {
    return Surface && SDL_FBSurface && OpaqueView && BlitSource(*this, SDL_FBSurface) == OpaqueView;
}

void Sprite::PutSprite(int x, int y, SDL_Surface* dst) {
    if (!Surface) SurfaceError("sprite has no surface");
    SDL_Rect place = {static_cast<Sint16>(x - XCenter), static_cast<Sint16>(y - YCenter), 0, 0};
    if (Blit(*this, nullptr, dst ? dst : SDL_FBSurface, place) != 0) Error(ErrorCode::SdlFailed);
}

void Sprite::PutSprite(int x, int y, SDL_Rect* src, SDL_Surface* dst) {
    if (!Surface) SurfaceError("sprite has no surface");
    SDL_Rect place = {static_cast<Sint16>(x), static_cast<Sint16>(y), 0, 0};
    if (Blit(*this, src, dst ? dst : SDL_FBSurface, place) != 0) Error(ErrorCode::SdlFailed);
}

void Sprite::Reload() {
    DebugLog << "Sprite reload" << std::endl;
}
