#include "glimmer/graphics/CText.h"

#include <SDL/SDL_ttf.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <new>

#include "glimmer/base/EngineInternal.h"
#include "glimmer/base/DebugLog.h"
#include "glimmer/base/Error.h"
#include "glimmer/graphics/Blitter.h"
#include "glimmer/graphics/Video.h"
#include "glimmer/graphics/CFont.h"
#include "glimmer/registry/DTable.h"

namespace {

// Code points of Windows-1251 bytes 0x80 to 0xFF; 0x98 has no character.
constexpr unsigned short Cp1251High[128] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,  // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0xFFFD, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,  // 98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,  // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,  // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,  // B8
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,  // C0
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F,  // C8
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427,  // D0
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,  // D8
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,  // E0
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,  // E8
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,  // F0
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,  // F8
};

bool IsValidUtf8(const unsigned char* s) {
    while (*s) {
        const unsigned char lead = *s;
        if (lead < 0x80) {
            ++s;
            continue;
        }
        int extra;
        unsigned int code;
        unsigned int lowest;
        if (lead >= 0xC2 && lead <= 0xDF) {
            extra = 1;
            code = lead & 0x1Fu;
            lowest = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            extra = 2;
            code = lead & 0x0Fu;
            lowest = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            extra = 3;
            code = lead & 0x07u;
            lowest = 0x10000;
        } else {
            return false;
        }
        for (int i = 1; i <= extra; ++i) {
            if ((s[i] & 0xC0u) != 0x80u) return false;  // also stops at the terminator
            code = (code << 6) | (s[i] & 0x3Fu);
        }
        if (code < lowest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
        s += extra + 1;
    }
    return true;
}

void AppendUtf8(std::string& out, unsigned int code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// A line with nothing to show: fully transparent, one pixel wide, one line high.
SDL_Surface* BlankLine(TTF_Font* font) {
    const int height = std::max(1, TTF_FontHeight(font));
    SDL_Surface* surface = SDL_CreateRGBSurface(SDL_SWSURFACE | SDL_SRCALPHA, 1, height, 32, 0x00FF0000,
                                                0x0000FF00, 0x000000FF, 0xFF000000);
    if (!surface) Error(ErrorCode::NoMemory);
    SDL_FillRect(surface, nullptr, 0);
    SDL_SetAlpha(surface, SDL_SRCALPHA, SDL_ALPHA_OPAQUE);
    return surface;
}

}  // namespace

std::string TextToUtf8(const char* text) {
    if (!text) return std::string();
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text);
    if (IsValidUtf8(bytes)) return std::string(text);
    std::string out;
    for (; *bytes; ++bytes) {
        if (*bytes < 0x80) out += static_cast<char>(*bytes);
        else AppendUtf8(out, Cp1251High[*bytes - 0x80]);
    }
    return out;
}

CText::CText() : GObject(), Text(nullptr), Font(nullptr), Surface(nullptr), Rendered(0), Dirty(0), Color() {
    Color.r = 0;
    Color.g = 0;
    Color.b = 0;
    Color.unused = 0;
}

CText::~CText() {
    SDL_FreeSurface(Surface);
    delete[] Text;
    delete[] Font;
}

void CText::Initializing(unsigned int desc, int, unsigned int udesc) {
    Desc = desc;
    delete[] Font;
    Font = nullptr;
    delete[] Text;
    Text = nullptr;
    SDL_FreeSurface(Surface);
    Surface = nullptr;
    Rendered = 0;
    Dirty = 0;
    Touch();
    UDesc = udesc;
    DebugLog << "Text initialized with UDesc=" << udesc << std::endl;
    DebugLog << "Initialized text desc=" << desc << std::endl;
}

void CText::Create(const char* text, const char* font) {
    char* newText = CopyText(text);
    char* newFont = CopyText(font);
    delete[] Text;
    delete[] Font;
    Text = newText;
    Font = newFont;
}

void CText::ChangeFont(const char* font) {
    char* newFont = CopyText(font);
    delete[] Font;
    Font = newFont;
}

void CText::ChangeColor(unsigned char r, unsigned char g, unsigned char b) {
    Color.r = r;
    Color.g = g;
    Color.b = b;
}

void CText::ChangeText(const char* text) {
    Clear();
    ClearText();
    Text = CopyText(text);
}

void CText::Clear() {
    Touch();
    if (Rendered) SDL_FreeSurface(Surface);
    Surface = nullptr;
    Rendered = 0;
}

void CText::ClearText() {
    delete[] Text;
    Text = nullptr;
    Dirty = Rendered ? 1 : 0;
}

void CText::Delete() {
    Clear();
    ClearText();
}

void CText::Render() {
    if (!Text) return;
    if (Rendered) Clear();
    TTF_Font* font = Font ? TTF[Font] : nullptr;
    if (!font) {
        SDL_SetError("no font for \"%s\"", Font ? Font : "");
        Error(ErrorCode::TextRenderFailed);
    }
    const std::string line = TextToUtf8(Text);
    if (line.empty()) {
        Surface = BlankLine(font);
    } else {
        Surface = TTF_RenderUTF8_Blended(font, line.c_str(), Color);
        int width = 0, height = 0;
        // A line of nothing but zero-width characters has no picture either.
        if (!Surface && TTF_SizeUTF8(font, line.c_str(), &width, &height) == 0 && width == 0)
            Surface = BlankLine(font);
        if (!Surface) Error(ErrorCode::TextRenderFailed);
    }
    if (SDL_LockSurface(Surface) != 0) Error(ErrorCode::SdlFailed);
    XCenter = 0;
    YCenter = 0;
    XSize = static_cast<short>(Surface->w);
    YSize = static_cast<short>(Surface->h);
    SDL_UnlockSurface(Surface);
    Rendered = 1;
    Dirty = 0;
    Touch();
}

namespace {

// Where a text's top-left corner lands: its position parameters scaled from
// design units, from its owner's origin, less its hot spot.
void TextCorner(const CText& text, const short* p, int ox, int oy, int* left, int* top) {
    const int p0 = p ? p[0] : 0;
    const int p1 = p ? p[1] : 0;
    const short x = static_cast<short>(TruncToInt(p0 * static_cast<double>(text.SX)) + ox);
    const short y = static_cast<short>(TruncToInt(p1 * static_cast<double>(text.SY)) + oy);
    *left = x - text.XCenter;
    *top = y - text.YCenter;
}

void TextCorner(const CText& text, int* left, int* top) {
    int ox, oy;
    OwnerOrigin(text.UDesc, &ox, &oy);
    TextCorner(text, GDT.GetParams(text.Desc), ox, oy, left, top);
}

[[noreturn]] void NoSurface() {
    SDL_SetError("text has no rendering to draw");
    Error(ErrorCode::SdlFailed);
}

}  // namespace

void CText::Run(SDL_Surface* dst) {
    if (!Rendered || Dirty) Render();
    if (!Surface) NoSurface();
    int left, top;
    TextCorner(*this, &left, &top);
    SDL_Rect place = {static_cast<Sint16>(left), static_cast<Sint16>(top), 0, 0};
    if (BlitPicture(Surface, nullptr, dst ? dst : SDL_FBSurface, &place) != 0) Error(ErrorCode::SdlFailed);
}

void CText::Run(SDL_Rect* clip, SDL_Surface* dst) {
    if (!Rendered || Dirty) Render();
    if (!Surface) NoSurface();
    if (!clip) {
        Run(dst);
        return;
    }
    long long left = 0, top = 0;
    ScreenBox box;
    // Only the part inside the owner's rectangle is drawn, at its true place.
    if (!Placement(clip, &left, &top, &box)) return;
    SDL_Rect source = {static_cast<Sint16>(box.x0 - left), static_cast<Sint16>(box.y0 - top),
                       static_cast<Uint16>(box.x1 - box.x0), static_cast<Uint16>(box.y1 - box.y0)};
    SDL_Rect place = {static_cast<Sint16>(box.x0), static_cast<Sint16>(box.y0), 0, 0};
    if (BlitPicture(Surface, &source, dst ? dst : SDL_FBSurface, &place) != 0) Error(ErrorCode::SdlFailed);
}

bool CText::Placement(const SDL_Rect* clip, long long* left, long long* top, ScreenBox* box) const {
    if (!Surface) return false;
    int ox, oy;
    OwnerOrigin(UDesc, &ox, &oy);
    return Placement(GDT.GetParams(Desc), ox, oy, clip, left, top, box);
}

bool CText::Placement(const short* params, int ox, int oy, const SDL_Rect* clip, long long* left, long long* top,
                      ScreenBox* box) const {
    if (!Surface) return false;
    int x, y;
    TextCorner(*this, params, ox, oy, &x, &y);
    if (!clip) {
        *left = static_cast<Sint16>(x);
        *top = static_cast<Sint16>(y);
        *box = {static_cast<int>(*left), static_cast<int>(*top), static_cast<int>(*left) + Surface->w,
                static_cast<int>(*top) + Surface->h};
        return true;
    }
    *left = x;
    *top = y;
    const long long x0 = std::max<long long>(x, clip->x);
    const long long y0 = std::max<long long>(y, clip->y);
    const long long x1 = std::min<long long>(static_cast<long long>(x) + Surface->w,
                                             static_cast<long long>(clip->x) + clip->w);
    const long long y1 = std::min<long long>(static_cast<long long>(y) + Surface->h,
                                             static_cast<long long>(clip->y) + clip->h);
    if (x1 <= x0 || y1 <= y0) return false;
    *box = {static_cast<int>(x0), static_cast<int>(y0), static_cast<int>(x1), static_cast<int>(y1)};
    return true;
}
