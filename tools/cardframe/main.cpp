// cardframe FOLDER OUT.png: draws the card of FOLDER (its solvane.cfg, data
// and fonts) off screen and writes frame 100 as a picture, with the clock
// half a minute before the coming New Year. The web page shows it where a
// link to the card is shared.

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "card/Card.h"
#include <glimmer/glimmer.h>
#include "tools/png/PngWriter.h"

namespace {

time_t Moment = 0;

void FixedClockFrame(unsigned int) {
    ShowCardTime(Moment);
    MoveCardParticles();
}

RgbaImage ScreenImage() {
    SDL_Surface* s = SDL_FBSurface;
    RgbaImage image(s->w, s->h);
    for (int y = 0; y < s->h; ++y) {
        for (int x = 0; x < s->w; ++x) {
            const Uint8* p = static_cast<const Uint8*>(s->pixels) + y * s->pitch + x * s->format->BytesPerPixel;
            Uint8* out = image.At(x, y);
            SDL_GetRGB(*reinterpret_cast<const Uint32*>(p), s->format, &out[0], &out[1], &out[2]);
            out[3] = 255;
        }
    }
    return image;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: cardframe FOLDER OUT.png\n");
        return 2;
    }
    if (chdir(argv[1]) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    GlimmerInitEngine("solvane.cfg");
    SDL_SetTimer(0, nullptr);
    LoadCardSettings("solvane.cfg");
    LoadCardText("txt/txt.txt");
    LoadCardSender("txt/name.txt");
    NewYear = NewYearNearest;
    Moment = NearestNewYear(std::time(nullptr) + 200 * 86400) - 30;
    TargetTime = CardTargetAt(Moment);
    BuildCardScene();
    RegisterFrameFunction(FixedClockFrame);
    for (int frame = 0; frame <= 100; ++frame) RunGlimmerFrame();
    if (!WritePng(argv[2], ScreenImage())) {
        std::fprintf(stderr, "cardframe: cannot write %s\n", argv[2]);
        return 1;
    }
    Error(ErrorCode::Exit);
}
