#include "glimmer/runtime/Engine.h"

#include <SDL/SDL_ttf.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <limits>
#include <new>
#include <ostream>
#include <vector>

#include "glimmer/base/Config.h"
#include "glimmer/base/DebugLog.h"
#include "glimmer/base/EngineInternal.h"
#include "glimmer/base/Error.h"
#include "glimmer/base/Platform.h"
#include "glimmer/graphics/Present.h"
#include "glimmer/runtime/FrameDamage.h"
#include "glimmer/runtime/Mouse.h"
#include "glimmer/graphics/Video.h"
#include "glimmer/graphics/CFont.h"
#include "glimmer/graphics/Sprite.h"
#include "glimmer/registry/DTable.h"
#include "glimmer/resources/CCategory.h"
#include "glimmer/resources/CItem.h"
#include "glimmer/resources/Catalog.h"
#include "glimmer/ui/Window.h"

unsigned long Frames = 0;
void (*FrameFunction)(unsigned int) = nullptr;
unsigned char FrameFunctionActive = 0;
Uint32 StartTicks = 0;
Uint32 FrameInterval = 30;

namespace {

// A rate text rendered once and kept: the readouts take only a handful of
// values in a steady run (1000 / milliseconds), so rendering each of them
// once saves the font rendering and its allocations in nearly every frame.
struct RenderedRate {
    char text[32] = "";
    SDL_Surface* surface = nullptr;
    unsigned long lastUse = 0;
};

// What the frame loop takes once when it starts and keeps for its whole run.
struct LoopState {
    bool started = false;
    TTF_Font* rateFont = nullptr;
    SDL_Color white = {255, 255, 255, 0};
    bool swap = false;
    Uint8 showFps = 0;
    Uint8 hideMouse = 0;
    Uint32 tenFrameMark = 0;
    char perFrameText[32] = "";
    char tenFramesText[32] = "";
    RenderedRate rendered[8];
    unsigned long uses = 0;
    // Where the readouts were drawn last frame: the draw pass paints them over.
    std::vector<ScreenBox> rateBoxes;
    std::vector<SDL_Rect> shown;
    bool lastWhole = true;
};

LoopState Loop;
FrameDamage Damage;

// Frame events the timer has posted and the loop has taken. The window system
// reports an exposure with the same event; one that is not a posted tick
// makes the next frame show the whole screen.
std::atomic<unsigned long> PostedTicks{0};
unsigned long TakenTicks = 0;
bool ShowWholeNext = true;
// Posted by the timer with each frame event, so the resting loop wakes for it.
std::atomic<SDL_sem*> FrameSignal{nullptr};

void StartLoop() {
    Loop.rateFont = TTF["system 0"];
    Loop.swap = (CFG.VideoFlags & OpenGLVideoFlags) != 0 && (CFG.VideoFlags & SDL_DOUBLEBUF) != 0;
    Loop.showFps = CFG.ShowFps;
    Loop.hideMouse = CFG.HideMouse;
    // Frame 0 has no earlier frame to measure its ten-frame rate from.
    Loop.tenFrameMark = SDL_GetTicks();
    Loop.started = true;
}

// frames / milliseconds × 1000, where no time at all gives an infinite rate
// (what the division itself would give) without dividing by zero.
double Rate(double frames, Uint32 milliseconds) {
    if (milliseconds == 0) return std::numeric_limits<double>::infinity();
    return frames / static_cast<double>(milliseconds) * 1000.0;
}

SDL_Surface* RateSurface(const char* text) {
    RenderedRate* slot = &Loop.rendered[0];
    for (RenderedRate& r : Loop.rendered) {
        if (r.surface && std::strcmp(r.text, text) == 0) {
            r.lastUse = ++Loop.uses;
            return r.surface;
        }
        if (slot->surface && (!r.surface || r.lastUse < slot->lastUse)) slot = &r;
    }
    if (slot->surface) SDL_FreeSurface(slot->surface);
    slot->surface = nullptr;
    if (!Loop.rateFont) {
        SDL_SetError("no font \"system 0\" for the rate display");
        Error(ErrorCode::TextRenderFailed);
    }
    slot->surface = TTF_RenderText_Solid(Loop.rateFont, text, Loop.white);
    if (!slot->surface) Error(ErrorCode::TextRenderFailed);
    std::snprintf(slot->text, sizeof slot->text, "%s", text);
    slot->lastUse = ++Loop.uses;
    return slot->surface;
}

void DrawRate(const char* text, Sint16 x, Sint16 y) {
    // Before its first measurement a readout has nothing to show.
    if (text[0] == '\0') return;
    SDL_Surface* surface = RateSurface(text);
    SDL_Rect at = {x, y, 0, 0};
    if (SDL_UpperBlit(surface, nullptr, SDL_FBSurface, &at) != 0) Error(ErrorCode::SdlFailed);
    Loop.rateBoxes.push_back({x, y, x + surface->w, y + surface->h});
}

// Draws every shown object of the visible catalog, lowest layer first;
// returns how many filed items were met, whatever their type.
unsigned int DrawVisibleCatalog() {
    unsigned int drawn = 0;
    Catalog* visible = GetLayerCatalog(CFG.VCDesc);
    if (!visible || !visible->Categories) return 0;
    unsigned int layers = CFG.VClayers;
    if (layers > visible->CategoryNum) layers = visible->CategoryNum;
    for (unsigned int l = 0; l < layers; ++l) {
        drawn += ForEachFiled(*(*visible)[l], [](unsigned int desc) {
            Descriptor* record = GDT.GetData(desc);
            if (record && record->Object) {
                if (record->Type == TypeSprite)
                    static_cast<Sprite*>(record->Object)->Run(nullptr);
                else if (record->Type == TypeWindow)
                    static_cast<Window*>(record->Object)->Run(nullptr);
            }
            return true;
        });
    }
    return drawn;
}

void WriteStatistics() {
    const Uint32 elapsed = SDL_GetTicks() - StartTicks;
    const double rate = Rate(static_cast<double>(Frames), SDL_GetTicks() - StartTicks);
    DebugLog << "INFO MESSAGE:\t" << "Average work speed=" << rate << " Frames:" << Frames << " in "
             << elapsed << " ms" << std::endl;
}

void SaveScreenshot() {
    if (!SDL_FBSurface) return;
    char name[32];
    std::snprintf(name, sizeof name, "%010d.bmp", static_cast<int>(Frames));
    SDL_RWops* file = SDL_RWFromFile(name, "wb");
    if (!file) return;
    SDL_SaveBMP_RW(SDL_FBSurface, file, 1);
}

}  // namespace

void GlimmerInitEngine(const char* configPath) {
    std::set_new_handler(nullptr);
    InstallStopSignals();
    if (TTF_Init() != 0) Error(ErrorCode::TtfInitFailed);
    CFG.LoadConfig(configPath);
    CFG.Process();
    VideoInit();
    ResetPresentation();
    Damage.Forget();
    ShowWholeNext = true;
    SDL_WM_SetCaption(CFG.Caption, nullptr);
    SDL_SetEventFilter(EngineEventFilter);
    StartTicks = SDL_GetTicks();
    CFG.TimerID = static_cast<Uint32>(SDL_SetTimer(FrameInterval, FrameTick));
    DebugLog << "GlimmerKernel=" << static_cast<int>(CFG.TimerID) << std::endl;
}

void RegisterFrameFunction(void (*f)(unsigned int)) {
    FrameFunction = f;
    FrameFunctionActive = 1;
}

void UnregisterFrameFunction() {
    FrameFunctionActive = 0;
}

Uint32 FrameTick(Uint32 interval) {
    SDL_Event frame;
    std::memset(&frame, 0, sizeof frame);
    frame.type = SDL_VIDEOEXPOSE;
    // Counted first: the loop may take the event before this thread goes on.
    ++PostedTicks;
    if (SDL_PushEvent(&frame) != 0) {
        --PostedTicks;
        return interval;
    }
    if (SDL_sem* signal = FrameSignal.load()) SDL_SemPost(signal);
    return interval;
}

void RestUntilFrame(Uint32 most) {
    SDL_sem* signal = FrameSignal.load();
    if (!signal) {
        // Made by the loop's own thread on its first rest; the timer posts
        // nothing before that, and the loop has just emptied its queue.
        signal = SDL_CreateSemaphore(0);
        FrameSignal.store(signal);
    }
    if (!signal) {
        SDL_Delay(most);
        return;
    }
    if (SDL_SemWaitTimeout(signal, most) != 0) return;
    // Frames posted while the last step ran are in the queue already.
    while (SDL_SemTryWait(signal) == 0) {
    }
}

void RunGlimmerFrame() {
    if (!Loop.started) StartLoop();

    DebugLog << "*****Frame " << Frames << " start*****" << std::endl;
    const Uint32 t0 = SDL_GetTicks();
    if (FrameFunctionActive == 1 && FrameFunction) FrameFunction(static_cast<unsigned int>(Frames));

    // A new screen holds nothing of the frames before it.
    if (FollowWindowSurface()) {
        Damage.Forget();
        ShowWholeNext = true;
    }
    if (Loop.hideMouse) SDL_ShowCursor(0);
    // OpenGL modes and the switch draw every frame whole, the plain way.
    const bool whole = WholeFrames() || (CFG.VideoFlags & OpenGLVideoFlags) != 0;
    unsigned int drawn = 0;
    if (whole) {
        drawn = DrawVisibleCatalog();
    } else {
        drawn = Damage.Collect();
        Damage.Draw(Loop.rateBoxes);
    }
    Loop.rateBoxes.clear();

    if (Loop.showFps) {
        const Uint32 t1 = SDL_GetTicks();
        std::snprintf(Loop.perFrameText, sizeof Loop.perFrameText, "%.3f", Rate(1.0, t1 - t0));
        if (Frames % 10 == 0) {
            const Uint32 now = SDL_GetTicks();
            std::snprintf(Loop.tenFramesText, sizeof Loop.tenFramesText, "%.3f",
                          Rate(10.0, now - Loop.tenFrameMark));
            Loop.tenFrameMark = SDL_GetTicks();
        }
        DrawRate(Loop.perFrameText, 100, 0);
        DrawRate(Loop.tenFramesText, 0, 0);
        DebugLog << "*****Frame " << Frames << " end*****" << std::endl;
    }

    if (Loop.hideMouse) SDL_ShowCursor(1);
    DebugLog << "Drawed " << drawn << " sprites" << std::endl;
    if (whole || ShowWholeNext || !SDL_FBSurface) {
        PresentWhole();
    } else if (Damage.Whole()) {
        // A copy of the whole screen through the same path is still far
        // less work than a flip.
        SDL_Rect all = {0, 0, static_cast<Uint16>(SDL_FBSurface->w), static_cast<Uint16>(SDL_FBSurface->h)};
        PresentParts(&all, 1);
    } else {
        Loop.shown = Damage.Parts();
        for (const ScreenBox& box : Loop.rateBoxes)
            Loop.shown.push_back({static_cast<Sint16>(box.x0), static_cast<Sint16>(box.y0),
                                  static_cast<Uint16>(box.x1 - box.x0), static_cast<Uint16>(box.y1 - box.y0)});
        PresentParts(Loop.shown.data(), static_cast<int>(Loop.shown.size()));
    }
    ShowWholeNext = false;
    Loop.lastWhole = whole || Damage.Whole();
    if (Loop.swap) SDL_GL_SwapBuffers();
    Frames += 1;
}

bool LastFrameWhole() {
    return Loop.lastWhole;
}

Uint32 IdleWait(Uint32 sinceFrame) {
    // Frame events come every FrameInterval ms, and the timer's post ends the
    // rest at once: one wake-up a frame, right behind the timer's. Should
    // that post not come, the loop looks a millisecond after the frame was
    // due, then every millisecond. Input waits at most one frame interval,
    // as drawing does.
    if (sinceFrame >= FrameInterval) return 1;
    return FrameInterval - sinceFrame + 1;
}

namespace {

// SDL runs the event filters inside the poll; Error needs to know that.
int PollEvent(SDL_Event* event) {
    InsideEventPolling = true;
    const int got = SDL_PollEvent(event);
    InsideEventPolling = false;
    return got;
}

}  // namespace

namespace {

Uint32 LastFrameTicks = 0;
unsigned long PostedBeforePause = 0;

// Takes every queued event, drawing a frame for each frame event.
void LoopStep() {
    EndIfStopRequested();
    SDL_Event event;
    // Checked per event too: slow frames can keep the queue from emptying.
    while (PollEvent(&event)) {
        EndIfStopRequested();
        if (event.type == SDL_VIDEOEXPOSE) {
            if (PostedTicks > TakenTicks) ++TakenTicks;
            else ShowWholeNext = true;
            LastFrameTicks = SDL_GetTicks();
            RunGlimmerFrame();
        }
    }
    // Ticks taken elsewhere (by a frame function's own polling) would
    // otherwise make later exposures pass for ticks. Only ticks counted
    // before the last pause count as gone: one counted just now may still
    // be on its way into the queue.
    if (TakenTicks < PostedBeforePause) TakenTicks = PostedBeforePause;
    PostedBeforePause = PostedTicks;
}

// Nothing queued: sleep rather than spin a whole core.
void LoopRest() { RestUntilFrame(IdleWait(SDL_GetTicks() - LastFrameTicks)); }

}  // namespace

void RunGlimmerEngine() {
    StartLoop();
    LastFrameTicks = SDL_GetTicks();
    PostedBeforePause = PostedTicks;
    PlatformRunForever(LoopStep, LoopRest);
}

int EngineEventFilter(const SDL_Event* event) {
    switch (event->type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        if (event->key.keysym.sym == SDLK_ESCAPE) {
            WriteStatistics();
            Error(ErrorCode::Exit);
        }
        if (event->type == SDL_KEYDOWN && event->key.keysym.sym == SDLK_PRINT) SaveScreenshot();
        MouseKey(event);
        return 0;
    case SDL_MOUSEMOTION:
        MouseTrack(event);
        return 0;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        MouseKey(event);
        return 0;
    case SDL_QUIT:
        WriteStatistics();
        return 1;
    default:
        return 0;
    }
}
