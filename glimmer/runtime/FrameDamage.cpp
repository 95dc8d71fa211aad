#include "glimmer/runtime/FrameDamage.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "glimmer/base/Config.h"
#include "glimmer/base/Error.h"
#include "glimmer/graphics/Blitter.h"
#include "glimmer/graphics/Video.h"
#include "glimmer/graphics/CText.h"
#include "glimmer/graphics/Sprite.h"
#include "glimmer/registry/DTable.h"
#include "glimmer/resources/CCategory.h"
#include "glimmer/resources/Catalog.h"
#include "glimmer/ui/Window.h"

namespace {

// A tile's row is one cache line of a 32-bit screen; four rows keep what is
// redrawn for a few-pixel flake close to what it covers (16 rows redrew
// twice the pixels, and the screen's memory is what a frame waits for).
constexpr int TileWidth = 16;
constexpr int TileHeight = 4;
// Beyond this share of changed tiles a whole redraw costs less than the parts.
constexpr int MostTilesPercent = 60;

enum Kind : unsigned char { ScreenSprite = 0, WindowSprite = 1, WindowText = 2 };

int WholeFramesSetting() {
    const char* value = std::getenv("GLIMMER_WHOLE_FRAMES");
    return value && std::strcmp(value, "1") == 0 ? 1 : 0;
}

int WholeFramesState = -1;

bool SameBox(const Sint16 (&a)[4], const Sint16 (&b)[4]) {
    return a[0] == b[0] && a[1] == b[1] && a[2] == b[2] && a[3] == b[3];
}

ScreenBox Inside(const ScreenBox& box, int width, int height) {
    return {std::max(box.x0, 0), std::max(box.y0, 0), std::min(box.x1, width), std::min(box.y1, height)};
}

// A listed box is kept in 16 bits, as SDL keeps screen places.
ScreenBox Wide(const Sint16 (&box)[4]) { return {box[0], box[1], box[2], box[3]}; }

// The bits of word `word` for the tiles first to last of a row.
Uint64 TileMask(int word, int first, int last) {
    const int lo = std::max(first - word * 64, 0);
    const int hi = std::min(last - word * 64, 63);
    return (~Uint64{0} >> (63 - hi)) & (~Uint64{0} << lo);
}

// The first tile at or after `from` whose bit is `set`, or `columns`.
int NextTile(const Uint64* row, int words, int columns, int from, bool set) {
    int word = from / 64;
    if (word >= words) return columns;
    Uint64 bits = (set ? row[word] : ~row[word]) & (~Uint64{0} << (from % 64));
    while (!bits) {
        if (++word == words) return columns;
        bits = set ? row[word] : ~row[word];
    }
    return std::min(columns, word * 64 + __builtin_ctzll(bits));
}

void Keep(const ScreenBox& from, Sint16 (&box)[4]) {
    box[0] = static_cast<Sint16>(from.x0);
    box[1] = static_cast<Sint16>(from.y0);
    box[2] = static_cast<Sint16>(from.x1);
    box[3] = static_cast<Sint16>(from.y1);
}

SDL_Rect ToRect(const ScreenBox& box) {
    return {static_cast<Sint16>(box.x0), static_cast<Sint16>(box.y0), static_cast<Uint16>(box.x1 - box.x0),
            static_cast<Uint16>(box.y1 - box.y0)};
}

}  // namespace

void SetWholeFrames(bool whole) {
    WholeFramesState = whole ? 1 : 0;
}

bool WholeFrames() {
    if (WholeFramesState < 0) WholeFramesState = WholeFramesSetting();
    return WholeFramesState == 1;
}

// Meets what the windows of the visible catalog draw.
class Lister : public WindowContents {
public:
    explicit Lister(FrameDamage& damage) : damage_(damage) {}
    void Object(const Descriptor& record, SDL_Rect* clip) override {
        if (record.Type == TypeSprite) damage_.Meet(record, WindowSprite, clip);
        else if (record.Type == TypeText) damage_.Meet(record, WindowText, clip);
    }

private:
    FrameDamage& damage_;
};

void FrameDamage::Meet(const Descriptor& record, unsigned char kind, const SDL_Rect* clip) {
    Found found = {&record, NoClip, kind};
    if (clip) {
        const SDL_Rect* last = clips_.empty() ? nullptr : &clips_.back();
        if (!last || last->x != clip->x || last->y != clip->y || last->w != clip->w || last->h != clip->h)
            clips_.push_back(*clip);
        found.clip = static_cast<Uint32>(clips_.size() - 1);
    }
    const GObject* object = ObjectFound(found);
    __builtin_prefetch(object);
    __builtin_prefetch(reinterpret_cast<const char*>(object) + 64);
    found_.push_back(found);
}

GObject* FrameDamage::ObjectFound(const Found& found) {
    if (found.kind == WindowText) return static_cast<CText*>(found.record->Object);
    return static_cast<Sprite*>(found.record->Object);
}

void FrameDamage::WarmFound() const {
    // Each object leads to its picture and the picture to its layout, each
    // somewhere else in memory: asking for all of one step before taking the
    // next lets those loads overlap instead of following each other.
    for (const Found& found : found_)
        if (found.kind != WindowText) __builtin_prefetch(static_cast<const Sprite*>(ObjectFound(found))->Surface);
    for (const Found& found : found_) {
        if (found.kind == WindowText) continue;
        const SDL_Surface* surface = static_cast<const Sprite*>(ObjectFound(found))->Surface;
        if (surface) __builtin_prefetch(surface->format);
    }
}

unsigned int FrameDamage::Collect() {
    ++frame_;
    before_.swap(now_);
    now_.clear();
    plans_.clear();
    duplicate_ = false;
    covered_ = false;
    originKnown_ = false;
    width_ = SDL_FBSurface ? SDL_FBSurface->w : 0;
    height_ = SDL_FBSurface ? SDL_FBSurface->h : 0;
    Catalog* visible = GetLayerCatalog(CFG.VCDesc);
    if (!visible || !visible->Categories) return 0;
    unsigned int layers = CFG.VClayers;
    if (layers > visible->CategoryNum) layers = visible->CategoryNum;
    Lister lister(*this);
    found_.clear();
    clips_.clear();
    unsigned int met = 0;
    for (unsigned int l = 0; l < layers; ++l) {
        met += ForEachFiled(*(*visible)[l], [&](unsigned int desc) {
            Descriptor* record = GDT.GetData(desc);
            if (!record || !record->Object) return true;
            if (record->Type == TypeSprite) Meet(*record, ScreenSprite, nullptr);
            else if (record->Type == TypeWindow) static_cast<Window*>(record->Object)->Walk(lister);
            return true;
        }, PrefetchRecord);
    }
    WarmFound();
    const SDL_Rect none = {0, 0, 0, 0};
    for (const Found& found : found_) {
        const SDL_Rect* clip = found.clip == NoClip ? &none : &clips_[found.clip];
        Add(ObjectFound(found), found.kind, found.kind == ScreenSprite ? nullptr : clip, *found.record);
    }
    return met;
}

void FrameDamage::Origin(unsigned int udesc, int* ox, int* oy) {
    // Nothing moves while the list is made: one lookup per owner will do.
    if (!originKnown_ || udesc != originOf_) {
        OwnerOrigin(udesc, &originX_, &originY_);
        originOf_ = udesc;
        originKnown_ = true;
    }
    *ox = originX_;
    *oy = originY_;
}

void FrameDamage::Add(GObject* object, unsigned char kind, const SDL_Rect* clip, const Descriptor& record) {
    // The record it was found by holds its position unless it was filed
    // under another number than its own.
    const short* params = record.Desc == object->Desc ? record.Params : GDT.GetParams(object->Desc);
    int ox, oy;
    Origin(object->UDesc, &ox, &oy);
    Listed listed = {};
    listed.object = object;
    listed.kind = kind;
    if (clip) listed.clip = *clip;
    const SDL_Surface* surface = nullptr;
    long long left = 0, top = 0;
    ScreenBox box;
    bool drawsSomething = false;
    bool opaque = false;
    if (kind == WindowText) {
        CText* text = static_cast<CText*>(object);
        if (!text->Rendered || text->Dirty) text->Render();
        // Drawing it ends the program, as the draw pass always has.
        if (!text->Surface) text->Run(&listed.clip, nullptr);
        surface = text->Surface;
        drawsSomething = text->Placement(params, ox, oy, &listed.clip, &left, &top, &box);

    } else {
        Sprite* sprite = static_cast<Sprite*>(object);
        if (!sprite->Surface) {
            if (kind == ScreenSprite) sprite->Run(nullptr);
            else sprite->Run(&listed.clip, nullptr);
        }
        surface = sprite->Surface;
        drawsSomething =
            sprite->Placement(params, ox, oy, kind == ScreenSprite ? nullptr : &listed.clip, &left, &top, &box);
        opaque = sprite->DrawsOpaque();

    }
    if (!drawsSomething) return;
    box = Inside(box, width_, height_);
    if (box.Empty()) return;
    Keep(box, listed.box);
    // Part of the picture shows, so its corner lies within its size of the
    // screen: well inside an int.
    listed.left = static_cast<int>(left);
    listed.top = static_cast<int>(top);
    listed.surface = surface;
    listed.look = object->Look;
    listed.flags = surface->flags;
    listed.colorkey = surface->format->colorkey;
    listed.alpha = surface->format->alpha;
    listed.before = object->ListedFrame + 1 == frame_ ? static_cast<int>(object->ListedAt) : -1;
    if (object->ListedFrame == frame_) duplicate_ = true;
    object->ListedFrame = frame_;
    object->ListedAt = static_cast<unsigned int>(now_.size());
    if (opaque && box.x0 == 0 && box.y0 == 0 && box.x1 == width_ && box.y1 == height_)
        covered_ = true;
    now_.push_back(listed);
    plans_.push_back(PlanBlit(kind == WindowText ? static_cast<CText*>(object)->Surface
                                                 : static_cast<Sprite*>(object)->DrawnSurface(SDL_FBSurface),
                              SDL_FBSurface));
    if (kind != WindowText) {
        const Sprite* sprite = static_cast<Sprite*>(object);
        if (sprite->Spans && sprite->Spans->look == sprite->Look) UseRowSpans(&plans_.back(), sprite->Spans);
    }
}

bool FrameDamage::SameAsBefore(const Listed& now, const Listed& before) const {
    return now.kind == before.kind && now.left == before.left && now.top == before.top &&
           SameBox(now.box, before.box) && now.surface == before.surface && now.look == before.look &&
           now.flags == before.flags && now.colorkey == before.colorkey && now.alpha == before.alpha &&
           (now.kind == ScreenSprite || (now.clip.x == before.clip.x && now.clip.y == before.clip.y &&
                                         now.clip.w == before.clip.w && now.clip.h == before.clip.h));
}

void FrameDamage::Forget() {
    coveredBefore_ = false;
    screenBefore_ = nullptr;
    now_.clear();
    before_.clear();
}

void FrameDamage::MarkBox(const ScreenBox& given) {
    const ScreenBox box = Inside(given, width_, height_);
    if (box.Empty()) return;
    const int c0 = box.x0 / TileWidth, c1 = (box.x1 - 1) / TileWidth;
    for (int r = box.y0 / TileHeight; r <= (box.y1 - 1) / TileHeight; ++r) {
        Uint64* row = &tiles_[static_cast<size_t>(r) * words_];
        for (int w = c0 / 64; w <= c1 / 64; ++w) row[w] |= TileMask(w, c0, c1);
    }
}

void FrameDamage::Draw(const std::vector<ScreenBox>& extra) {
    SDL_Surface* screen = SDL_FBSurface;
    parts_.clear();
    whole_ = true;
    SDL_Rect clip = {0, 0, 0, 0};
    if (screen) SDL_GetClipRect(screen, &clip);
    const bool fullClip = screen && clip.x == 0 && clip.y == 0 && clip.w == screen->w && clip.h == screen->h;
    const bool sameScreen = screen && screen == screenBefore_ && width_ == widthBefore_ && height_ == heightBefore_;
    const bool usable = coveredBefore_ && covered_ && !duplicate_ && sameScreen && fullClip;
    coveredBefore_ = covered_ && !duplicate_;
    screenBefore_ = screen;
    widthBefore_ = width_;
    heightBefore_ = height_;
    if (!usable) {
        DrawWhole();
        return;
    }

    columns_ = (width_ + TileWidth - 1) / TileWidth;
    rows_ = (height_ + TileHeight - 1) / TileHeight;
    words_ = (columns_ + 63) / 64;
    tiles_.assign(static_cast<size_t>(words_) * rows_, 0);
    matched_.assign(before_.size(), 0);
    long lastInOrder = -1;
    for (const Listed& listed : now_) {
        const long b = listed.before;
        if (b < 0 || b >= static_cast<long>(before_.size()) || before_[b].object != listed.object) {
            MarkBox(Wide(listed.box));
            continue;
        }
        matched_[b] = 1;
        // Moved in the drawing order relative to an earlier object, or
        // changed: the old and the new place.
        if (b < lastInOrder || !SameAsBefore(listed, before_[b])) {
            MarkBox(Wide(listed.box));
            MarkBox(Wide(before_[b].box));
        } else {
            lastInOrder = b;
        }
    }
    for (size_t b = 0; b < before_.size(); ++b)
        if (!matched_[b]) MarkBox(Wide(before_[b].box));
    for (const ScreenBox& box : extra) MarkBox(box);

    long changed = 0;
    for (Uint64 word : tiles_) changed += __builtin_popcountll(word);
    if (changed * 100 > static_cast<long>(columns_) * rows_ * MostTilesPercent) {
        DrawWhole();
        return;
    }
    whole_ = false;
    BuildParts();
    DrawParts();
}

void FrameDamage::BuildParts() {
    partTopRow_.clear();
    rowParts_.clear();
    rowStart_.assign(static_cast<size_t>(rows_) + 1, 0);
    std::vector<int> open, next;
    for (int r = 0; r < rows_; ++r) {
        next.clear();
        const Uint64* row = &tiles_[static_cast<size_t>(r) * words_];
        for (int c = NextTile(row, words_, columns_, 0, true); c < columns_;) {
            const int end = NextTile(row, words_, columns_, c, false);
            const int x0 = c * TileWidth;
            const int x1 = std::min(width_, end * TileWidth);
            const int y0 = r * TileHeight;
            const int y1 = std::min(height_, (r + 1) * TileHeight);
            // A run under one of the same columns in the row above continues it.
            int index = -1;
            for (int candidate : open)
                if (parts_[candidate].x == x0 && parts_[candidate].w == x1 - x0) index = candidate;
            if (index >= 0) {
                parts_[index].h = static_cast<Uint16>(y1 - parts_[index].y);
            } else {
                index = static_cast<int>(parts_.size());
                parts_.push_back(ToRect({x0, y0, x1, y1}));
                partTopRow_.push_back(r);
            }
            next.push_back(index);
            rowParts_.push_back(index);
            c = NextTile(row, words_, columns_, end, true);
        }
        open.swap(next);
        rowStart_[static_cast<size_t>(r) + 1] = static_cast<int>(rowParts_.size());
    }
}

void FrameDamage::DrawOne(const Listed& listed, const BlitPlan& plan, const ScreenBox& part) {
    // The part of the picture that lands there, as its own draw would place it.
    SDL_Rect source = {static_cast<Sint16>(part.x0 - listed.left), static_cast<Sint16>(part.y0 - listed.top),
                       static_cast<Uint16>(part.x1 - part.x0), static_cast<Uint16>(part.y1 - part.y0)};
    if (RunBlit(plan, &source, SDL_FBSurface, part.x0, part.y0)) return;
    if (listed.kind == WindowText) {
        SDL_Rect place = {static_cast<Sint16>(part.x0), static_cast<Sint16>(part.y0), 0, 0};
        if (BlitPicture(static_cast<CText*>(listed.object)->Surface, &source, SDL_FBSurface, &place) != 0) Error(ErrorCode::SdlFailed);
        return;
    }
    static_cast<Sprite*>(listed.object)->PutSprite(part.x0, part.y0, &source, nullptr);
}

void FrameDamage::PrefetchAhead(size_t i) const {
    // Far enough ahead for a few pictures' loads to be under way at once.
    constexpr size_t Ahead = 4;
    if (i + Ahead >= now_.size()) return;
    const Listed& next = now_[i + Ahead];
    PrefetchBlit(plans_[i + Ahead], SDL_FBSurface, next.left, next.top, next.box[0], next.box[1], next.box[2], next.box[3]);
}

void FrameDamage::DrawWhole() {
    for (size_t i = 0; i < now_.size(); ++i) {
        PrefetchAhead(i);
        DrawOne(now_[i], plans_[i], Wide(now_[i].box));
    }
}

void FrameDamage::DrawParts() {
    for (size_t i = 0; i < now_.size(); ++i) {
        PrefetchAhead(i);
        const Listed& listed = now_[i];
        const BlitPlan& plan = plans_[i];
        const ScreenBox box = Wide(listed.box);
        const int c0 = box.x0 / TileWidth, c1 = (box.x1 - 1) / TileWidth;
        const int r0 = box.y0 / TileHeight, r1 = (box.y1 - 1) / TileHeight;
        bool all = true;
        for (int r = r0; r <= r1 && all; ++r) {
            const Uint64* row = &tiles_[static_cast<size_t>(r) * words_];
            for (int w = c0 / 64; w <= c1 / 64 && all; ++w) {
                const Uint64 mask = TileMask(w, c0, c1);
                all = (row[w] & mask) == mask;
            }
        }
        // Everything it covers is redrawn: one draw does.
        if (all) {
            DrawOne(listed, plan, box);
            continue;
        }
        overlaps_.clear();
        for (int r = r0; r <= r1; ++r) {
            for (int k = rowStart_[r]; k < rowStart_[r + 1]; ++k) {
                const int index = rowParts_[k];
                if (std::max(partTopRow_[index], r0) != r) continue;
                const SDL_Rect& part = parts_[index];
                const ScreenBox overlap = {std::max(box.x0, static_cast<int>(part.x)), std::max(box.y0, static_cast<int>(part.y)),
                                           std::min(box.x1, part.x + part.w), std::min(box.y1, part.y + part.h)};
                if (!overlap.Empty()) overlaps_.push_back(overlap);
            }
        }
        // A large picture is drawn in many small parts far apart: loading a
        // few parts ahead keeps their loads in flight together.
        constexpr size_t Ahead = 4;
        for (size_t k = 0; k < overlaps_.size(); ++k) {
            if (k + Ahead < overlaps_.size()) {
                const ScreenBox& next = overlaps_[k + Ahead];
                PrefetchBlit(plan, SDL_FBSurface, listed.left, listed.top, next.x0, next.y0, next.x1, next.y1);
            }
            DrawOne(listed, plan, overlaps_[k]);
        }
    }
}
