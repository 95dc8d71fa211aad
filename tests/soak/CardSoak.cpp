// The card as solvanewin runs it, for the soak tests.
//
//   cardsoak              the frame loop with a frame function that counts: once
//                         a second "frames N ms T" (frames drawn, milliseconds
//                         since the loop's first frame) on standard output
//   cardsoak night COUNT  COUNT frames back to back, each as the frame loop draws
//                         it, with the card's clock one second further every 33
//                         frames (the timer's rate), so the clock and countdown
//                         are rendered anew as through a real night; every
//                         10,000 frames "night FRAMES rss_kb R median_ms M
//                         mean_ms A cpu_median_ms C" for those 10,000 frames:
//                         wall time, and the processor time of the drawing
//                         thread, which other work on the machine hardly moves
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

#include "card/Card.h"
#include "glimmer/base/Error.h"
#include "glimmer/runtime/Engine.h"

namespace {

Uint32 FirstFrameTicks = 0;
Uint32 LastReport = 0;

void CountedCardFrame(unsigned int frame) {
    CardFrame(frame);
    const Uint32 now = SDL_GetTicks();
    if (frame == 0) FirstFrameTicks = LastReport = now;
    if (now - LastReport >= 1000) {
        LastReport = now;
        std::printf("frames %lu ms %u\n", Frames, static_cast<unsigned int>(now - FirstFrameTicks));
        std::fflush(stdout);
    }
}

time_t NightStart = 0;
const unsigned int FramesPerSecond = 33;
const unsigned int NightBlock = 10000;

void NightFrame(unsigned int frame) {
    CurrentTime = NightStart + static_cast<time_t>(frame / FramesPerSecond);
    ShowCardTime(CurrentTime);
    MoveCardParticles();
}

long ResidentKilobytes() {
    long pages = 0, resident = 0;
    FILE* statm = std::fopen("/proc/self/statm", "r");
    if (statm == nullptr) return -1;
    if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = -1;
    std::fclose(statm);
    return resident < 0 ? -1 : resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// The frame events the timer posted meanwhile, taken off the queue between
// frames as the frame loop would.
double ThreadMilliseconds() {
    timespec now;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

double Median(std::vector<double>& values) {
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

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

[[noreturn]] void RunNight(unsigned long count) {
    using Clock = std::chrono::steady_clock;
    NightStart = std::time(nullptr);
    StartCard();
    RegisterFrameFunction(NightFrame);
    std::vector<double> times, cpu;
    times.reserve(NightBlock);
    cpu.reserve(NightBlock);
    for (unsigned long drawn = 1; drawn <= count; ++drawn) {
        DrainQueue();
        const Clock::time_point start = Clock::now();
        const double cpuStart = ThreadMilliseconds();
        RunGlimmerFrame();
        cpu.push_back(ThreadMilliseconds() - cpuStart);
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        if (times.size() == NightBlock || drawn == count) {
            double sum = 0;
            for (double t : times) sum += t;
            const double mean = sum / static_cast<double>(times.size());
            std::printf("night %lu rss_kb %ld median_ms %.4f mean_ms %.4f cpu_median_ms %.4f\n", drawn,
                        ResidentKilobytes(), Median(times), mean, Median(cpu));
            std::fflush(stdout);
            times.clear();
            cpu.clear();
        }
    }
    Error(ErrorCode::Exit);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "night") == 0) {
        char* end = nullptr;
        const unsigned long count = std::strtoul(argv[2], &end, 10);
        if (*end == '\0' && count > 0) RunNight(count);
    }
    if (argc != 1) {
        std::fprintf(stderr, "usage: cardsoak [night FRAMES]\n");
        return 2;
    }
    StartCard();
    RegisterFrameFunction(CountedCardFrame);
    RunGlimmerEngine();
}
