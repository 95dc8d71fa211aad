// Times the card as it ships: start-up exactly as the card's main does it, then
// frames exactly as the frame loop draws them (RunGlimmerFrame: frame function,
// draw pass, flip). Run it in a copy of the card's folder.
//
//   card_frame_harness frames WARMUP COUNT [PAUSE_MS]
//                                            one line: "frame_ms <median> ...", ending
//                                            with how many frames were drawn whole;
//                                            PAUSE_MS sleeps before each timed frame,
//                                            as the running card does between frames
//   card_frame_harness build                 one line: "build_ms <ms>"
//
// Each run also prints "flakes <n>", the flakes the scene really holds, so a
// settings file that asks for another count is caught. The run ends through
// Error(0), the engine's own way out.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "card/Card.h"
#include <glimmer/glimmer.h>

namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The frame events the timer posted meanwhile: the frame loop would take them
// off the queue between frames, so the harness does too, outside the timing.
void DrainQueue() {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
    }
}

void StartCard() {
    TargetTime = CardTargetMoment();
    GlimmerInitEngine("solvane.cfg");
    LoadCardSettings("solvane.cfg");
    LoadCardText("txt/txt.txt");
    BuildCardScene();
    SDL_SetEventFilter(CardEventFilter);
}

unsigned int FlakeCount() { return LineCount > 0 ? ParticleCount - 1 : ParticleCount; }

double Percentile(std::vector<double> sorted, double p) {
    if (sorted.empty()) return 0.0;
    const size_t at = static_cast<size_t>(p * static_cast<double>(sorted.size() - 1) + 0.5);
    return sorted[std::min(at, sorted.size() - 1)];
}

int Usage() {
    std::fprintf(stderr, "usage: card_frame_harness frames WARMUP COUNT [PAUSE_MS] | build\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage();
    if (std::strcmp(argv[1], "build") == 0) {
        const Clock::time_point start = Clock::now();
        StartCard();
        RunGlimmerFrame();
        const double ms = MillisecondsSince(start);
        std::printf("flakes %u\nbuild_ms %.1f\n", FlakeCount(), ms);
        std::fflush(stdout);
        Error(0);
    }
    if (std::strcmp(argv[1], "frames") != 0 || argc < 4) return Usage();
    const int warmup = std::atoi(argv[2]);
    const int count = std::atoi(argv[3]);
    const int pause = argc > 4 ? std::atoi(argv[4]) : 0;
    if (warmup < 0 || count <= 0 || pause < 0) return Usage();

    StartCard();
    for (int i = 0; i < warmup; ++i) {
        DrainQueue();
        RunGlimmerFrame();
    }
    std::vector<double> times;
    times.reserve(static_cast<size_t>(count));
    int whole = 0;
    for (int i = 0; i < count; ++i) {
        // Between frames the machine's caches lose much of what a frame
        // reads; a pause shows what a frame costs the card as it runs.
        if (pause > 0) SDL_Delay(static_cast<Uint32>(pause));
        DrainQueue();
        const Clock::time_point start = Clock::now();
        RunGlimmerFrame();
        times.push_back(MillisecondsSince(start));
        whole += LastFrameWhole() ? 1 : 0;
    }
    std::sort(times.begin(), times.end());
    std::printf("flakes %u\nframe_ms %.3f p10 %.3f p90 %.3f max %.3f whole %d of %d\n", FlakeCount(),
                Percentile(times, 0.5), Percentile(times, 0.1), Percentile(times, 0.9), times.back(), whole, count);
    std::fflush(stdout);
    Error(0);
}
