#include "glimmer/graphics/CFont.h"

#include <SDL/SDL.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "glimmer/base/Config.h"
#include "glimmer/base/DebugLog.h"
#include "glimmer/resources/FileSystem.h"

CFont TTF;

namespace {

constexpr int NameLength = 1023;

// Real sizes outside this range cannot be opened sensibly, and the lookup
// keeps sizes in 16 bits.
constexpr double SmallestSize = 1;
constexpr double LargestSize = 32767;

struct FsFileCloser {
    void operator()(FILE* f) const { FS->Fclose(f); }
};
using FontConfig = std::unique_ptr<FILE, FsFileCloser>;

// What is left of the file from the current position; every family and every
// size entry takes at least one byte, so a larger count cannot be true.
long BytesLeft(FILE* f) {
    long here = FS->Ftell(f);
    if (here < 0 || FS->Fseek(f, 0, SEEK_END) != 0) return 0;
    long end = FS->Ftell(f);
    FS->Fseek(f, here, SEEK_SET);
    return end > here ? end - here : 0;
}

bool ReadCount(FILE* f, int& count) {
    if (FS->Fscanf(f, "%d", &count) != 1) return false;
    return count >= 0 && count <= BytesLeft(f);
}

bool ReadName(FILE* f, char (&name)[NameLength + 1]) { return FS->Fscanf(f, "%1023s", name) == 1; }

// Fonts are closed by the table that opened them, when it is reloaded or at
// program end; a font library already shut down took its fonts with it.
void CloseFonts(Catalog& table) {
    if (!TTF_WasInit()) return;
    for (unsigned int c = 0; c < table.CategoryNum; ++c) {
        CCategory* family = table[c];
        if (family->IsEmpty()) continue;
        for (unsigned int p = 0; p < family->GetMaxNum(); ++p) {
            CItem* item = (*family)[p];
            if (!item->IsEmpty()) TTF_CloseFont(reinterpret_cast<TTF_Font*>(item->GetData()));
            item->Clear();
        }
    }
}

}  // namespace

CFont::CFont() {}

CFont::~CFont() { CloseFonts(*this); }

int CFont::LoadFonts(const char* name) {
    if (!name) {
        SDL_SetError("no font configuration file is configured");
        return 0;
    }
    if (!FS) return 0;
    FontConfig file(FS->Fopen(name, "rb"));
    if (!file) {
        SDL_SetError("cannot open the font configuration file %s", name);
        return 0;
    }
    FILE* f = file.get();

    int families;
    if (!ReadCount(f, families)) {
        SDL_SetError("no number of families in %s", name);
        return 0;
    }
    DebugLog << "fsum=" << families << std::endl;
    CloseFonts(*this);
    if (!Initializing(0, static_cast<unsigned int>(families), 0)) return 0;
    DebugLog << "fsum=" << families << std::endl;

    char family[NameLength + 1];
    char fontFile[NameLength + 1];
    for (int i = 0; i < families; ++i) {
        int sizes;
        if (!ReadName(f, family) || !ReadName(f, fontFile) || !ReadCount(f, sizes)) {
            SDL_SetError("family %d of %s is incomplete", i, name);
            return 0;
        }
        DebugLog << "A=" << i << "(of" << families << ") Name: " << family << " snum=" << sizes
                 << " fname: " << fontFile << std::endl;
        CCategory* category = Catalog::operator[](static_cast<unsigned int>(i));
        if (!category->Init(static_cast<unsigned int>(sizes))) return 0;
        DebugLog << "Data[" << i << "]=" << static_cast<const void*>(category) << " and name is: " << family
                 << std::endl;
        category->SetName(family);

        for (int s = 0; s < sizes; ++s) {
            int c;
            do {
                c = FS->Fgetc(f);
                if (c == EOF) {
                    SDL_SetError("size %d of family %s is missing", s, family);
                    return 0;
                }
                DebugLog << "Scalable:" << static_cast<char>(c) << std::endl;
            } while (c != '*' && !std::isdigit(c));

            bool scalable = c != '*';
            if (scalable) FS->Fseek(f, -1, SEEK_CUR);

            int nominal;
            if (FS->Fscanf(f, "%d", &nominal) != 1) {
                SDL_SetError("size %d of family %s is not a number", s, family);
                return 0;
            }
            double real = nominal;
            if (scalable) real = nominal * (static_cast<double>(CFG.Scalex) + CFG.Scaley) / 2;
            if (!(real >= SmallestSize && real < LargestSize + 1)) {
                SDL_SetError("font size %d of family %s is out of range", nominal, family);
                return 0;
            }
            int realSize = static_cast<int>(real);

            DebugLog << "Loading font " << fontFile << " as " << family << " with size=" << nominal
                     << " and realsize=" << realSize << std::endl;
            // The same as TTF_OpenFont, whose own failure path would read an
            // unopenable name as a printf format ("%" in a file name).
            SDL_RWops* stream = SDL_RWFromFile(fontFile, "rb");
            if (!stream) return 0;
            TTF_Font* font = TTF_OpenFontRW(stream, 1, realSize);
            if (!font) return 0;
            int position = category->AddItem(reinterpret_cast<char*>(font), 0);
            if (position < 0) {
                TTF_CloseFont(font);
                return 0;
            }
            (*category)[position]->SetName(std::to_string(nominal).c_str());
        }
    }
    return 1;
}

TTF_Font* CFont::operator[](const char* spec) {
    if (!spec) return nullptr;

    const char* p = spec;
    while (*p && std::isspace(static_cast<unsigned char>(*p))) ++p;
    const char* nameEnd = p;
    while (*nameEnd && !std::isspace(static_cast<unsigned char>(*nameEnd))) ++nameEnd;
    std::string name(p, nameEnd);
    int number = 0;
    if (std::sscanf(nameEnd, "%d", &number) != 1) number = 0;
    short size = static_cast<short>(static_cast<unsigned short>(number));

    DebugLog << "CFont::operator[](" << spec << "\"" << std::endl;
    DebugLog << "name: " << name << " size=" << size << std::endl;

    CCategory* category = Catalog::operator[](name.c_str());
    DebugLog << "tmp=" << static_cast<const void*>(category) << std::endl;
    if (!category) return nullptr;

    CItem* item = nullptr;
    if (size == 0) {
        if (category->GetMaxNum() > 0) item = (*category)[0u];
    } else {
        std::string text = std::to_string(size);
        DebugLog << "size in text:" << text << std::endl;
        item = (*category)[text.c_str()];
    }
    if (!item || item->IsEmpty()) return nullptr;
    return reinterpret_cast<TTF_Font*>(item->GetData());
}
