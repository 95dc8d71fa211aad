#include "card/Card.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "glimmer/runtime/Engine.h"
#include "glimmer/base/Error.h"
#include "glimmer/resources/FileSystem.h"

time_t TargetTime = 0;
time_t CurrentTime = 0;

int SnowNum = 0;
float SnowDensity = 0.0f;
int TextSpeed = 100;
int SnowSpeed = 5;

char TextLines[CardTextLinesMax][CardTextLineSize];
Uint32 LineCount = 0;

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

void ReadInt(std::FILE* f, int& setting) {
    int value = 0;
    if (std::fscanf(f, "%d", &value) == 1) setting = value;
}

void ReadFloat(std::FILE* f, float& setting) {
    float value = 0.0f;
    if (std::fscanf(f, "%f", &value) == 1) setting = value;
}

}  // namespace

void LoadCardSettings(const char* path) {
    FileHandle file(std::fopen(path, "r"));
    if (!file) Error(10);
    std::FILE* f = file.get();
    // A word longer than the buffer is read in pieces; none of the pieces is
    // a key unless the word was one.
    char word[100];
    while (!std::feof(f)) {
        if (std::fscanf(f, "%99s", word) != 1) break;
        if (std::strcmp(word, "SnowNum") == 0) ReadInt(f, SnowNum);
        else if (std::strcmp(word, "SnowDensity") == 0) ReadFloat(f, SnowDensity);
        else if (std::strcmp(word, "TextSpeed") == 0) ReadInt(f, TextSpeed);
        else if (std::strcmp(word, "SnowSpeed") == 0) ReadInt(f, SnowSpeed);
    }
}

void LoadCardText(const char* path) {
    LineCount = 0;
    if (!FS) return;
    std::FILE* f = FS->Fopen(path, "rt");
    if (!f) return;
    while (!FS->Feof(f) && LineCount < CardTextLinesMax) {
        char* entry = TextLines[LineCount];
        entry[0] = '\0';
        // A read that meets the end at once leaves the entry empty; it still
        // counts, like the empty entry after a final line feed.
        if (!FS->Fgets(entry, 512, f)) entry[0] = '\0';
        size_t length = std::strlen(entry);
        if (length > 0 && entry[length - 1] == '\n') {
            entry[--length] = '\0';
            // Text written on Windows keeps its carriage return on a host
            // whose text mode does not remove it.
            if (length > 0 && entry[length - 1] == '\r') entry[--length] = '\0';
        }
        ++LineCount;
    }
    FS->Fclose(f);
}

int CardEventFilter(const SDL_Event* event) {
    if (Frames == 0) return 1;
    switch (event->type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
    case SDL_MOUSEMOTION:
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        Error(0);
    default:
        return 1;
    }
}

time_t CardTargetMoment() {
    struct tm start = {};
    start.tm_year = 104;
    start.tm_mon = 0;
    start.tm_mday = 1;
    start.tm_hour = 0;
    start.tm_min = 0;
    start.tm_sec = 0;
    start.tm_isdst = -1;
    return std::mktime(&start);
}

int CardRand() {
    if (RAND_MAX == 32767) return std::rand();
    return static_cast<int>(static_cast<long long>(std::rand()) * 32768 /
                            (static_cast<long long>(RAND_MAX) + 1));
}

int CardRandom(double span) { return static_cast<int>(CardRand() * span / 32767.0); }
