#include <gtest/gtest.h>
#include <signal.h>
#ifndef _WIN32
#include <unistd.h>
#endif

#include <cstdio>
#include <string>
#include <vector>

#include <glimmer/glimmer.h>
#include "tests/support/EngineWorld.h"
#include "tests/support/TestWorld.h"

namespace {

std::vector<unsigned int> FrameNumbers;

void PrintFramesAtExit() {
    std::atexit([] {
        std::string seen;
        for (unsigned int f : FrameNumbers) seen += std::to_string(f) + ",";
        std::fprintf(stderr, "frames seen: %s\n", seen.c_str());
    });
}

// Asks the process to stop from inside frame 2, as a terminal or a session
// manager would while the card runs.
void TerminateAtFrameTwo(unsigned int frame) {
    FrameNumbers.push_back(frame);
    if (frame != 2) return;
#ifdef _WIN32
    // Windows has no kill(); the console's Ctrl+C reaches the same handler.
    raise(SIGTERM);
#else
    kill(getpid(), SIGTERM);
#endif
}

// Sends window close requests from frame 1 on; ends the program at frame 5.
void CloseRequestsUntilFrameFive(unsigned int frame) {
    FrameNumbers.push_back(frame);
    SDL_Event quit;
    SDL_memset(&quit, 0, sizeof quit);
    quit.type = SDL_QUIT;
    if (frame >= 1) SDL_PushEvent(&quit);
    if (frame == 5) raise(SIGINT);
}

bool QuitEventQueued() {
    SDL_PumpEvents();
    SDL_Event event;
    return SDL_PeepEvents(&event, 1, SDL_PEEKEVENT, SDL_QUITMASK) == 1;
}

}  // namespace

TEST(StopSignals, SigtermEndsTheLoopWithStatusZero) {
    EngineWorld world;
    PrintTraceAtExit();
    raise(SIGTERM);
    EXPECT_EXIT(RunGlimmerEngine(), ::testing::ExitedWithCode(0),
                "INFO MESSAGE:\tStop requested by signal 15\n"
                "INFO MESSAGE:\tExited normally\n"
                "Timer unsetted\n");
}

TEST(StopSignals, SigintEndsTheLoopWithStatusZero) {
    EngineWorld world;
    PrintTraceAtExit();
    raise(SIGINT);
    EXPECT_EXIT(RunGlimmerEngine(), ::testing::ExitedWithCode(0),
                "Stop requested by signal 2\nINFO MESSAGE:\tExited normally\n");
}

TEST(StopSignals, RequestDuringAFrameEndsBeforeTheNextFrame) {
    EngineWorld world;
    RegisterFrameFunction(TerminateAtFrameTwo);
    PrintFramesAtExit();
    SDL_SetTimer(FrameInterval, FrameTick);
    EXPECT_EXIT(RunGlimmerEngine(), ::testing::ExitedWithCode(0), "frames seen: 0,1,2,\n");
}

TEST(StopSignals, RequestBecomesNoQuitEventForSdl) {
    EngineWorld world;
    SDL_Event drained;
    while (SDL_PollEvent(&drained)) {
    }
    raise(SIGTERM);
    EXPECT_FALSE(QuitEventQueued());
    EXPECT_EQ(StopRequested(), SIGTERM);
}

TEST(StopSignals, NoRequestLeavesTheLoopRunning) {
    EngineWorld world;
    EXPECT_EQ(StopRequested(), 0);
    EndIfStopRequested();
    RunGlimmerFrame();
    EXPECT_EQ(Frames, 1u);
}

TEST(StopSignals, CloseRequestsDoNotEndTheLoop) {
    EngineWorld world;
    RegisterFrameFunction(CloseRequestsUntilFrameFive);
    PrintFramesAtExit();
    SDL_SetTimer(FrameInterval, FrameTick);
    EXPECT_EXIT(RunGlimmerEngine(), ::testing::ExitedWithCode(0), "frames seen: 0,1,2,3,4,5,\n");
}

// Windows has neither a death by a signal nor sigaction.
#ifndef _WIN32
TEST(StopSignals, SecondRequestWhileTheFirstWaitsEndsAtOnce) {
    EngineWorld world;
    // The main thread never gets back to the loop here, as when it hangs.
    EXPECT_EXIT(
        {
            raise(SIGTERM);
            raise(SIGTERM);
            std::fprintf(stderr, "still running\n");
            std::_Exit(3);
        },
        ::testing::KilledBySignal(SIGTERM), "");
}

TEST(StopSignals, HandlersStayAfterSdlStarts) {
    EngineWorld world;
    for (int signal : {SIGINT, SIGTERM}) {
        struct sigaction current = {};
        ASSERT_EQ(sigaction(signal, nullptr, &current), 0);
        EXPECT_NE(current.sa_handler, SIG_DFL) << signal;
        EXPECT_NE(current.sa_handler, SIG_IGN) << signal;
    }
}
#endif
