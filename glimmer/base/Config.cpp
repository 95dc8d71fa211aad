#include "glimmer/base/Config.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include "glimmer/base/EngineInternal.h"
#include "glimmer/base/DebugLog.h"
#include "glimmer/base/Error.h"

Config CFG;

namespace {

// Field widths of the reader: a key word, and a word value.
constexpr int WordLength = 99;
constexpr int ValueLength = 1023;

struct FileCloser {
    void operator()(FILE* f) const { std::fclose(f); }
};
using ConfigFile = std::unique_ptr<FILE, FileCloser>;

const char* Printable(const char* text) { return text ? text : ""; }

bool ReadInt(FILE* f, int& value) { return std::fscanf(f, "%d", &value) == 1; }

bool ReadFloat(FILE* f, float& value) { return std::fscanf(f, "%f", &value) == 1; }

// The next run of non-blank characters; a longer run is cut to ValueLength and
// the rest of it dropped, so that no tail of a value is mistaken for a key.
bool ReadValueWord(FILE* f, char (&value)[ValueLength + 1]) {
    if (std::fscanf(f, "%1023s", value) != 1) return false;
    int c;
    while ((c = std::fgetc(f)) != EOF && !std::isspace(static_cast<unsigned char>(c))) {
    }
    if (c != EOF) std::ungetc(c, f);
    return true;
}

// Replaces an owned text with a heap copy of value.
void ReplaceText(char*& field, const char* value) {
    char* copy = CopyText(value);
    delete[] field;
    field = copy;
}

void AddFlagIfOne(FILE* f, Uint32& flags, Uint32 flag) {
    int value;
    if (ReadInt(f, value) && value == 1) flags |= flag;
}

// Integers are not range-checked: only the field's low bits are kept.
template <typename Field>
void ReadTruncated(FILE* f, Field& field) {
    int value;
    if (ReadInt(f, value)) field = static_cast<Field>(static_cast<unsigned int>(value));
}

void ReadGamma(FILE* f, float& gamma, const char* label) {
    float value;
    if (ReadFloat(f, value)) gamma = value;
    DebugLog << label << gamma << std::endl;
}

}  // namespace

Config::Config()
    : PixelFormat(nullptr),
      VideoFlags(0),
      Bpp(16),
      Width(800),
      Height(600),
      Rmask(0),
      Gmask(0),
      Bmask(0),
      Amask(0),
      RGamma(1.0f),
      GGamma(1.0f),
      BGamma(1.0f),
      VCCsize(500),
      WCCsize(100),
      GDTsize(20),
      VClayers(256),
      WClayers(256),
      VCDesc(0),
      WCDesc(0),
      HideMouse(0),
      ShowFps(1),
      FileSystemType(0),
      FileSystemFile(nullptr),
      FontConfigFile(nullptr),
      ScaleType(0),
      Scalex(1.0f),
      Scaley(1.0f),
      TimerID(0),
      Caption(nullptr) {}

void Config::LoadConfig(const char* path) {
    ConfigFile file(path ? std::fopen(path, "r") : nullptr);
    if (!file) Error(ErrorCode::NoConfigFile);
    FILE* f = file.get();

    char word[WordLength + 1];
    char value[ValueLength + 1];
    while (std::fscanf(f, "%99s", word) == 1) {
        DebugLog << word << " " << std::endl;

        if (!std::strcmp(word, "FullScreen")) {
            AddFlagIfOne(f, VideoFlags, SDL_FULLSCREEN);
        } else if (!std::strcmp(word, "DoubleBuffer")) {
            AddFlagIfOne(f, VideoFlags, SDL_DOUBLEBUF);
        } else if (!std::strcmp(word, "HardWare")) {
            AddFlagIfOne(f, VideoFlags, SDL_HWSURFACE);
        } else if (!std::strcmp(word, "NoFrame")) {
            AddFlagIfOne(f, VideoFlags, SDL_NOFRAME);
        } else if (!std::strcmp(word, "OpenGL")) {
            AddFlagIfOne(f, VideoFlags, SDL_OPENGLBLIT);
        } else if (!std::strcmp(word, "Bpp")) {
            ReadTruncated(f, Bpp);
        } else if (!std::strcmp(word, "HideMouse")) {
            ReadTruncated(f, HideMouse);
        } else if (!std::strcmp(word, "VCCsize")) {
            ReadTruncated(f, VCCsize);
        } else if (!std::strcmp(word, "GDTsize")) {
            ReadTruncated(f, GDTsize);
        } else if (!std::strcmp(word, "WCCsize")) {
            ReadTruncated(f, WCCsize);
        } else if (!std::strcmp(word, "VClayers")) {
            ReadTruncated(f, VClayers);
        } else if (!std::strcmp(word, "WClayers")) {
            ReadTruncated(f, WClayers);
        } else if (!std::strcmp(word, "Width")) {
            ReadTruncated(f, Width);
        } else if (!std::strcmp(word, "Height")) {
            ReadTruncated(f, Height);
        } else if (!std::strcmp(word, "////")) {
            char rest[WordLength + 1];
            if (!std::fgets(rest, sizeof rest, f)) break;
        } else if (!std::strcmp(word, "RGamma")) {
            ReadGamma(f, RGamma, "RGamma is ");
        } else if (!std::strcmp(word, "GGamma")) {
            ReadGamma(f, GGamma, "GGamma is ");
        } else if (!std::strcmp(word, "BGamma")) {
            ReadGamma(f, BGamma, "BGamma is ");
        } else if (!std::strcmp(word, "AllowAnyFormat")) {
            int flag;
            if (ReadInt(f, flag) && flag != 0) VideoFlags |= SDL_ANYFORMAT;
        } else if (!std::strcmp(word, "ShowFps")) {
            int show;
            if (ReadInt(f, show)) ShowFps = show == 1 ? 1 : 0;
            DebugLog << "ShowFps is " << static_cast<unsigned int>(ShowFps) << std::endl;
        } else if (!std::strcmp(word, "FileSystemType")) {
            if (ReadValueWord(f, value) && !std::strcmp(value, "native")) FileSystemType = 0;
            DebugLog << "FileSystemType is " << FileSystemType << std::endl;
        } else if (!std::strcmp(word, "FileSystemFile")) {
            if (ReadValueWord(f, value)) ReplaceText(FileSystemFile, value);
            DebugLog << "FileSystemFile is " << Printable(FileSystemFile) << std::endl;
        } else if (!std::strcmp(word, "FontConfigFile")) {
            if (ReadValueWord(f, value)) ReplaceText(FontConfigFile, value);
            DebugLog << "FontConfigFile is " << Printable(FontConfigFile) << std::endl;
        } else if (!std::strcmp(word, "Scale")) {
            if (ReadValueWord(f, value) && !std::strcmp(value, "smooth")) ScaleType = 1;
            DebugLog << "Scale type is " << static_cast<unsigned int>(ScaleType) << std::endl;
        } else if (!std::strcmp(word, "Caption")) {
            if (ReadValueWord(f, value)) ReplaceText(Caption, value);
            DebugLog << "Caption is " << Printable(Caption) << std::endl;
        }
    }

    Scalex = static_cast<float>(static_cast<double>(Width) / 800.0);
    Scaley = static_cast<float>(static_cast<double>(Height) / 600.0);
    DebugLog << "Scalex is:" << Scalex << " Scaley is:" << Scaley << std::endl;
}
