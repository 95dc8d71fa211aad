#include "card/CardSettings.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "card/CardTime.h"
#include "glimmer/base/Error.h"

int SnowNum = 0;
float SnowDensity = 0.0f;
int TextSpeed = 100;
int SnowSpeed = 5;
int NewYear = 2004;
std::string LanguageSetting;

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

// A year of one to four digits whose New Year mktime can represent.
bool ReadYear(const char* word, int& year) {
    if (!*word || std::strlen(word) > 4 || std::strspn(word, "0123456789") != std::strlen(word)) return false;
    const long value = std::strtol(word, nullptr, 10);
    if (value < 1 || NewYearMoment(value) == static_cast<time_t>(-1)) return false;
    year = static_cast<int>(value);
    return true;
}

// A value that is no year and not "nearest" is left for the next key, as the
// number readers leave a word that is no number.
void ReadNewYear(std::FILE* f, int& setting) {
    const long start = std::ftell(f);
    char word[100];
    if (std::fscanf(f, "%99s", word) != 1) return;
    if (!ReadNewYearWord(word, setting) && start >= 0) std::fseek(f, start, SEEK_SET);
}

void ReadWord(std::FILE* f, std::string& setting) {
    char word[100];
    if (std::fscanf(f, "%99s", word) == 1) setting = word;
}

}  // namespace

bool ReadNewYearWord(const char* word, int& setting) {
    if (std::strcmp(word, "nearest") != 0) return ReadYear(word, setting);
    setting = NewYearNearest;
    return true;
}

void LoadCardSettings(const char* path) {
    FileHandle file(std::fopen(path, "r"));
    if (!file) Error(ErrorCode::NoConfigFile);
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
        else if (std::strcmp(word, "NewYear") == 0) ReadNewYear(f, NewYear);
        else if (std::strcmp(word, "Language") == 0) ReadWord(f, LanguageSetting);
    }
}
