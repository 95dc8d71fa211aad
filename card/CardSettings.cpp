#include "card/CardSettings.h"

#include <cstdio>
#include <cstring>
#include <memory>

#include "engine/core/Error.h"

int SnowNum = 0;
float SnowDensity = 0.0f;
int TextSpeed = 100;
int SnowSpeed = 5;

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
