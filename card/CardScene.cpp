#include "card/CardScene.h"

#include <cmath>

#include "card/CardEventFilter.h"
#include "card/CardFrame.h"
#include "card/CardParticles.h"
#include "card/CardRandom.h"
#include "card/CardSender.h"
#include "card/CardSettings.h"
#include "card/CardText.h"
#include "glimmer/base/Config.h"
#include "glimmer/runtime/Engine.h"
#include "glimmer/graphics/Video.h"
#include "glimmer/graphics/CText.h"
#include "glimmer/graphics/GObject.h"
#include "glimmer/graphics/Sprite.h"
#include "glimmer/registry/DTable.h"
#include "glimmer/ui/Window.h"

unsigned int CardWindow = 0;
unsigned int ScrollText = 0;
unsigned int CountdownText = 0;
unsigned int ClockText = 0;

Uint32 NextLine = 0;

namespace {

constexpr Uint32 OpenGLBits = 0xA;

double FlakeLimit(int snowNum, float snowDensity, short height) {
    return static_cast<double>(static_cast<unsigned int>(snowNum)) * snowDensity * height / 20.0;
}

unsigned int Create(DTable& table, int type, int x, int y) {
    short params[2] = {static_cast<short>(x), static_cast<short>(y)};
    return static_cast<unsigned int>(table.CreateDescriptor(type, params, 1));
}

Sprite* SpriteAt(unsigned int desc) { return ObjectOf<Sprite>(desc); }
CText* TextAt(unsigned int desc) { return ObjectOf<CText>(desc); }

void ShowSplash(DTable& table) {
    Sprite* splash = SpriteAt(Create(table, TypeSprite, 400, 300));
    splash->Load("bg/intro.spr", 0, 0.0f, 0.0f);
    splash->Run(nullptr);
    SDL_Flip(SDL_FBSurface);
    if ((CFG.VideoFlags & OpenGLBits) && (CFG.VideoFlags & SDL_DOUBLEBUF)) SDL_GL_SwapBuffers();
}

void AddCredit(DTable& table) {
    CText* credit = TextAt(Create(table, TypeText, 0, 599));
    credit->SetZLevel(1);
    credit->Create(CreditText().c_str(), "main 12");
    credit->ChangeColor(255, 0, 0);
    credit->Render();
    // The rendered size is already in screen pixels: the hot spot takes it
    // unscaled, so the bottom-left corner sits on the position at any size.
    credit->SetCenter(0, credit->GetYSize(), 1.0f, 1.0f);
    credit->Show();
}

void AddPicture(DTable& table, int x, int y, const char* name, unsigned char z) {
    Sprite* picture = SpriteAt(Create(table, TypeSprite, x, y));
    picture->Load(name, z, 0.0f, 0.0f);
    picture->Show();
}

void AddFlake(DTable& table) {
    int x = CardRandom(800.0);
    int y = CardRandom(600.0) - 600;
    const float fall = CardFallStep(SnowSpeed);
    unsigned int desc = Create(table, TypeSprite, x, y);
    AddParticle(desc, fall);
    int z = static_cast<int>(CardRand() * 120.0 / 32767.0 + 128.0);
    double depth = z / 248.0;
    float size = static_cast<float>(CardRand() * (depth * depth * 0.6) / 32767.0);
    Sprite* flake = SpriteAt(desc);
    flake->Load("snow/snow.spr", static_cast<unsigned char>(z), CFG.Scalex * size, CFG.Scaley * size);
    flake->SetAlpha(static_cast<unsigned char>(70 + CardRandom(130.0)));
    flake->Show();
}

void AddGreetingLine(DTable& table) {
    // The column is drawn first and placed once the line's width is known.
    int column = CardRand();
    int y = CardRandom(600.0) - 600;
    ScrollText = Create(table, TypeText, 0, y);
    CText* line = TextAt(ScrollText);
    line->SetZLevel(static_cast<unsigned char>(CardRand() * 120.0 / 32767.0 + 128.0));
    line->Create(GreetingText(0), "main 24");
    line->ChangeColor(255, 0, 0);
    line->Render();
    GDT.GetParams(ScrollText)[0] = GreetingLineColumn(column, 400.0, line->GetXSize(), CFG.Width, line->SX);
    line->Show();
    AddParticle(ScrollText, CardFallStep(TextSpeed));
    NextLine = 1;
}

unsigned int AddTimeText(DTable& table, int y, const char* font) {
    unsigned int desc = Create(table, TypeText, 400, y);
    CText* text = TextAt(desc);
    text->SetZLevel(255);
    text->ChangeColor(200, 200, 255);
    text->ChangeFont(font);
    return desc;
}

}  // namespace

unsigned long CardFlakeCount(int snowNum, float snowDensity, short height) {
    double limit = FlakeLimit(snowNum, snowDensity, height);
    if (!(limit > 0.0)) return 0;
    if (limit >= 4294967295.0) return 4294967295UL;
    return static_cast<unsigned long>(std::ceil(limit));
}

void BuildCardScene() {
    ParticleCount = 0;
    ScrollText = 0;
    short windowParams[2] = {3000, 0};
    CardWindow = static_cast<unsigned int>(GDT.CreateDescriptor(TypeWindow, windowParams, 3000));
    Window* window = ObjectOf<Window>(CardWindow);
    GObject& frame = *window;
    frame.SetCoord(0, 0, CFG.Scalex, CFG.Scaley);
    frame.SetSize(800, 600, CFG.Scalex, CFG.Scaley);
    frame.SetCenter(0, 0, CFG.Scalex, CFG.Scaley);
    frame.SetZLevel(0);
    DTable& table = window->Table;

    ShowSplash(table);
    AddCredit(table);
    AddPicture(table, 400, 300, "bg/skysong.spr", 0);
    AddPicture(table, 0, 0, "fg/bg2.spr", 255);
    AddPicture(table, 800, 0, "fg/bg1.spr", 255);
    Create(table, TypeSprite, 800, 0);
    window->Show();

    // The window's table runs out after 2991 flakes, which ends the program
    // with code 3 from the table itself.
    for (unsigned long i = 0; i < FlakeLimit(SnowNum, SnowDensity, CFG.Height); ++i) {
        // Thousands of flakes take seconds; a close request meanwhile is
        // answered at once.
        if (i % 64 == 0) EndCardIfCloseRequested();
        AddFlake(table);
    }

    // Without greeting lines there is nothing to let fall.
    if (LineCount > 0) AddGreetingLine(table);

    CountdownText = AddTimeText(table, 590, "main 24");
    ClockText = AddTimeText(table, 560, "system 12");

    for (Uint32 i = 0; i < ParticleCount; ++i) {
        Particles[i].DriftTimer = 0.0f;
        Particles[i].DX = 0.0f;
    }
    RegisterFrameFunction(CardFrame);
}
