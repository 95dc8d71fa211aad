#include "card/CardFrame.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "card/CardLanguage.h"
#include "card/CardParticles.h"
#include "card/CardRandom.h"
#include "card/CardScene.h"
#include "card/CardSettings.h"
#include "card/CardText.h"
#include "card/CardTime.h"
#include "glimmer/base/Config.h"
#include "glimmer/graphics/CFont.h"
#include "glimmer/graphics/CText.h"
#include "glimmer/graphics/GObject.h"
#include "glimmer/graphics/Sprite.h"
#include "glimmer/registry/DTable.h"

namespace {

// An empty text cannot be rendered; a blank takes its place.
const char* Shown(const std::string& text) { return text.empty() ? " " : text.c_str(); }

ParticleShape ShapeOf(const GObject& object) {
    return {object.XSize, object.YSize, object.XCenter, object.YCenter};
}

unsigned char NewLevel() { return static_cast<unsigned char>(CardRand() * 120.0 / 32767.0 + 128.0); }

// On a screen taller than 4:3 the font grows by more than the width: a text
// wider than the screen steps down to the next smaller size of its family
// that the font table holds.
void FitToScreen(CText* object) {
    static const int smaller[] = {22, 20, 18, 16, 12};
    const char* blank = object->Font ? std::strchr(object->Font, ' ') : nullptr;
    if (!blank) return;
    const std::string family(object->Font, static_cast<size_t>(blank - object->Font));
    const int size = std::atoi(blank + 1);
    for (int candidate : smaller) {
        if (object->GetXSize() <= CFG.Width) return;
        const std::string font = family + " " + std::to_string(candidate);
        if (candidate >= size || !TTF[font.c_str()]) continue;
        object->ChangeFont(font.c_str());
        object->Render();
    }
}

void ShowTimeText(unsigned int desc, const std::string& text, bool fit) {
    CText* object = ObjectOf<CText>(desc);
    const char* shown = Shown(text);
    // The words change once a second, the frames come 33 times a second;
    // rendering an unchanged line again would be most of this function's work.
    if (!object->Rendered || object->Dirty || !object->Text || std::strcmp(object->Text, shown) != 0) {
        object->ChangeText(shown);
        object->Render();
        if (fit) FitToScreen(object);
    }
    // The rendered size is already in screen pixels, so the hot spot takes it
    // unscaled: the text stays centred on its position at any screen size.
    object->SetCenter(object->GetXSize() / 2, object->GetYSize(), 1.0f, 1.0f);
    object->Show();
}

void ReturnGreetingLine(Particle& particle, short* pos) {
    CText* line = ObjectOf<CText>(ScrollText);
    line->Hide();
    line->SetZLevel(NewLevel());
    if (NextLine == LineCount) NextLine = 0;
    const int column = CardRand();
    // Placed by the line it now shows, not by the one that has just left.
    line->ChangeText(GreetingText(NextLine));
    line->Render();
    pos[0] = GreetingLineColumn(column, 799.0, line->GetXSize(), CFG.Width, line->SX);
    pos[1] = StorePosition16(-line->GetYSize() - line->GetYCenter());
    particle.DY = CardFallStep(TextSpeed);
    ++NextLine;
    line->Show();
}

void ReturnFlake(Particle& particle, short* pos, unsigned int desc) {
    Sprite* flake = ObjectOf<Sprite>(desc);
    flake->SetAlpha(static_cast<unsigned char>(70 + CardRandom(130.0)));
    flake->Hide();
    flake->SetZLevel(NewLevel());
    flake->Show();
    pos[0] = StorePosition16(CardRandom(800.0));
    pos[1] = StorePosition16(-flake->GetYSize() - flake->GetYCenter());
    particle.DY = CardFallStep(SnowSpeed);
}

}  // namespace

void ShowCardTime(time_t now) {
    // The target moves only with the second shown (with NewYear nearest) or
    // the setting.
    static time_t targetFor = 0;
    static int targetSetting = -1;
    if (now != targetFor || NewYear != targetSetting) {
        TargetTime = CardTargetAt(now);
        targetFor = now;
        targetSetting = NewYear;
    }
    // The words are those of the last frame unless the second, the target,
    // the language or the time zone changed: writing them out again (the
    // local time, two formatted lines) cost a sizeable part of a frame.
    static time_t wordsFor = 0;
    static time_t wordsTarget = 0;
    static std::string wordsLanguage, wordsZone, clock, countdown;
    const char* zone = std::getenv("TZ");
    if (clock.empty() || now != wordsFor || TargetTime != wordsTarget || SpokenLanguage != wordsLanguage ||
        wordsZone != (zone ? zone : "")) {
        clock = ClockTextAt(now);
        countdown = CountdownTextAt(TargetTime, now);
        wordsFor = now;
        wordsTarget = TargetTime;
        wordsLanguage = SpokenLanguage;
        wordsZone = zone ? zone : "";
    }
    ShowTimeText(ClockText, clock, false);
    ShowTimeText(CountdownText, countdown, true);
}

void MoveCardParticles() {
    // Each flake's object and place lie elsewhere in memory; asking for those
    // of a flake a few ahead lets their loads overlap (an eighth off this
    // loop's time with 2970 flakes).
    constexpr Uint32 Ahead = 8;
    for (Uint32 i = 0; i < ParticleCount; ++i) {
        if (i + Ahead < ParticleCount) {
            __builtin_prefetch(ParticleObjects[i + Ahead]);
            __builtin_prefetch(ParticlePositions[i + Ahead]);
        }
        unsigned int desc = ParticleDescs[i];
        GObject* object = ParticleObjects[i];
        short* pos = ParticlePositions[i];
        if (!object || !pos) continue;
        Particle& particle = Particles[i];
        BounceParticle(particle, StorePosition16(std::trunc(pos[0] * static_cast<double>(object->SX))),
                       ShapeOf(*object), CFG.Width);
        if (ParticleBelowScreen(pos[1], ShapeOf(*object), CFG.Height)) {
            if (LineCount > 0 && desc == ScrollText) ReturnGreetingLine(particle, pos);
            else ReturnFlake(particle, pos, desc);
        }
        DriftAndMoveParticle(particle, pos, object->GetXSize() > CFG.Width);
    }
}

void CardFrame(unsigned int) {
    CurrentTime = std::time(nullptr);
    ShowCardTime(CurrentTime);
    MoveCardParticles();
}
