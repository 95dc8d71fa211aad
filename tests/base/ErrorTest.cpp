#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include <glimmer/glimmer.h>
#include "tests/support/TestWorld.h"

namespace {

// The trace lives in memory only; a child that ends through Error hands it to
// the test by writing it to a file from an exit handler.
std::string traceFile;

void SaveTraceAtExit() {
    WriteTextFile(traceFile, DebugLogText());
}

void KeepTraceIn(const std::string& path) {
    traceFile = path;
    std::atexit(SaveTraceAtExit);
    DebugLogReset();
}

const std::string Shutdown =
    "Timer unsetted\n"
    "File System is closed\n"
    "Exited SDL\n"
    "Closing debug file\n";

// Records its Close in the trace so the shutdown order can be seen.
class RecordingFileSystem : public NativeFileSystem {
public:
    void Close() override {
        DebugLog << "recorded Close" << std::endl;
        NativeFileSystem::Close();
    }
};

struct CodeCase {
    int code;
    const char* message;  // after "INFO MESSAGE:\t"; null for codes without one
};

}  // namespace

TEST(Error, EveryCodeWritesItsMessageLineThenTheShutdownLines) {
    const CodeCase cases[] = {
        {0, "Exited normally"},
        {1, "SDL error:mode not available"},
        {2, "Not enought memory"},
        {3, "No free descriptors left"},
        {4, "Can`t find sprite:mode not available"},
        {5, "Can`t init TTF engine:mode not available"},
        {6, "Can`t load font:mode not available"},
        {7, "Can`t render text:mode not available"},
        {8, "Error while loading sprite:mode not available"},
        {9, "Error while loading file system from \"\""},
        {10, "Can`t find config file."},
        {11, nullptr},
        {-1, nullptr},
    };
    for (const CodeCase& c : cases) {
        SCOPED_TRACE(c.code);
        TempDir dir;
        const std::string file = dir / "trace.txt";
        int status = c.code >= 0 && c.code <= 10 ? c.code : 1;
        EXPECT_EXIT(
            {
                KeepTraceIn(file);
                SDL_SetError("mode not available");
                Error(c.code);
            },
            ::testing::ExitedWithCode(status), "");
        std::string expected = c.message ? std::string("INFO MESSAGE:\t") + c.message + "\n" : "";
        EXPECT_EQ(ReadTextFile(file), expected + Shutdown);
    }
}

TEST(Error, ExitStatusIsTheCodeUpToTenAndOneBeyond) {
    EXPECT_EXIT(Error(0), ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT(Error(3), ::testing::ExitedWithCode(3), "");
    EXPECT_EXIT(Error(10), ::testing::ExitedWithCode(10), "");
    EXPECT_EXIT(Error(11), ::testing::ExitedWithCode(1), "");
    EXPECT_EXIT(Error(256), ::testing::ExitedWithCode(1), "");
    EXPECT_EXIT(Error(-7), ::testing::ExitedWithCode(1), "");
}

TEST(Error, FailureCodesAlsoTellStandardError) {
    EXPECT_EXIT(Error(3), ::testing::ExitedWithCode(3), "^INFO MESSAGE:\tNo free descriptors left\n$");
    EXPECT_EXIT(Error(10), ::testing::ExitedWithCode(10), "^INFO MESSAGE:\tCan`t find config file.\n$");
    EXPECT_EXIT(
        {
            SDL_SetError("no video device");
            Error(1);
        },
        ::testing::ExitedWithCode(1), "^INFO MESSAGE:\tSDL error:no video device\n$");
}

TEST(Error, NormalEndAndCodesWithoutMessageLeaveStandardErrorQuiet) {
    EXPECT_EXIT(Error(0), ::testing::ExitedWithCode(0), "^$");
    EXPECT_EXIT(Error(42), ::testing::ExitedWithCode(1), "^$");
}

TEST(Error, ClosesTheFileSystemBetweenTimerAndSdlShutdown) {
    TempDir dir;
    const std::string file = dir / "trace.txt";
    EXPECT_EXIT(
        {
            RecordingFileSystem* fs = new RecordingFileSystem;
            fs->Open("somewhere");
            FS = fs;
            KeepTraceIn(file);
            Error(0);
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_EQ(ReadTextFile(file),
              "INFO MESSAGE:\tExited normally\n"
              "Timer unsetted\n"
              "recorded Close\n"
              "File System is closed\n"
              "Exited SDL\n"
              "Closing debug file\n");
}

TEST(Error, WithoutFileSystemStillWritesItsClosedLine) {
    TempDir dir;
    const std::string file = dir / "trace.txt";
    ASSERT_EQ(FS, nullptr);
    EXPECT_EXIT(
        {
            KeepTraceIn(file);
            Error(5);
        },
        ::testing::ExitedWithCode(5), "");
    EXPECT_NE(ReadTextFile(file).find("Timer unsetted\nFile System is closed\n"), std::string::npos);
}

TEST(Error, FileSystemMessageNamesTheConfiguredFolder) {
    TempDir dir;
    const std::string file = dir / "trace.txt";
    EXPECT_EXIT(
        {
            static char folder[] = "data/files";
            CFG.FileSystemFile = folder;
            KeepTraceIn(file);
            Error(9);
        },
        ::testing::ExitedWithCode(9), "from \"data/files\"\n$");
    const std::string text = ReadTextFile(file);
    EXPECT_EQ(text.substr(0, text.find('\n') + 1),
              "INFO MESSAGE:\tError while loading file system from \"data/files\"\n");
}

TEST(DebugLog, KeepsOnlyTheFirst2048CharactersAndCarriesOn) {
    DebugLogReset();
    const std::string line(99, 'a');
    for (int i = 0; i < 30; ++i) DebugLog << line << std::endl;  // 3000 characters
    const std::string text = DebugLogText();
    ASSERT_EQ(text.size(), 2048u);
    EXPECT_EQ(text.substr(0, 100), line + "\n");
    EXPECT_EQ(text.back(), 'a');  // 20 whole lines, then 48 characters of the 21st

    DebugLog << "later" << std::endl;
    EXPECT_EQ(std::string(DebugLogText()), text);

    DebugLogReset();
    DebugLog << "fresh" << std::endl;
    EXPECT_STREQ(DebugLogText(), "fresh\n");
}

TEST(DebugLog, ShutdownLinesBeyondTheCutAreLostButTheExitIsTheSame) {
    TempDir dir;
    const std::string file = dir / "trace.txt";
    EXPECT_EXIT(
        {
            KeepTraceIn(file);
            DebugLog << std::string(2040, 'x') << std::endl;
            Error(0);
        },
        ::testing::ExitedWithCode(0), "");
    const std::string text = ReadTextFile(file);
    ASSERT_EQ(text.size(), 2048u);
    EXPECT_EQ(text.substr(2041), "INFO ME");
    EXPECT_EQ(text.find("Timer unsetted"), std::string::npos);
}
