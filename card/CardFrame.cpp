#include "card/Card.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "glimmer/base/Config.h"
#include "glimmer/graphics/CText.h"
#include "glimmer/graphics/GObject.h"
#include "glimmer/graphics/Sprite.h"
#include "glimmer/registry/DTable.h"

namespace {

const char* const BeforeTarget = "До Нового, 2004, года осталось %u часов %u минут %u секунд";
const char* const SinceTarget = "С Начала , 2004, года прошло %u часов %u минут %u секунд";

// An empty text cannot be rendered; a blank takes its place.
const char* Shown(const std::string& text) { return text.empty() ? " " : text.c_str(); }

// Stores a position in 16 bits the way an integer store does (low bits kept),
// also for values a float-to-short conversion could not hold.
short Store16(double value) {
    if (!(value > -9.0e15 && value < 9.0e15)) return 0;
    return static_cast<short>(static_cast<std::int64_t>(value));
}

ParticleShape ShapeOf(const GObject& object) {
    return {object.XSize, object.YSize, object.XCenter, object.YCenter};
}

unsigned char NewLevel() { return static_cast<unsigned char>(CardRand() * 120.0 / 32767.0 + 128.0); }

void ShowTimeText(unsigned int desc, const std::string& text) {
    CText* object = static_cast<CText*>(GDT[desc]);
    const char* shown = Shown(text);
    // The words change once a second, the frames come 33 times a second;
    // rendering an unchanged line again would be most of this function's work.
    if (!object->Rendered || object->Dirty || !object->Text || std::strcmp(object->Text, shown) != 0) {
        object->ChangeText(shown);
        object->Render();
    }
    // The rendered size is already in screen pixels, so the hot spot takes it
    // unscaled: the text stays centred on its position at any screen size.
    object->SetCenter(object->GetXSize() / 2, object->GetYSize(), 1.0f, 1.0f);
    object->Show();
}

void ReturnGreetingLine(Particle& particle, short* pos) {
    CText* line = static_cast<CText*>(GDT[ScrollText]);
    line->Hide();
    line->SetZLevel(NewLevel());
    if (NextLine == LineCount) NextLine = 0;
    pos[0] = Store16(CardRandom(799 - line->GetXSize()));
    pos[1] = Store16(-line->GetYSize() - line->GetYCenter());
    line->ChangeText(GreetingText(NextLine));
    particle.DY = CardFallStep(TextSpeed);
    ++NextLine;
    line->Show();
}

void ReturnFlake(Particle& particle, short* pos, unsigned int desc) {
    Sprite* flake = static_cast<Sprite*>(GDT[desc]);
    flake->SetAlpha(static_cast<unsigned char>(70 + CardRandom(130.0)));
    flake->Hide();
    flake->SetZLevel(NewLevel());
    flake->Show();
    pos[0] = Store16(CardRandom(800.0));
    pos[1] = Store16(-flake->GetYSize() - flake->GetYCenter());
    particle.DY = CardFallStep(SnowSpeed);
}

}  // namespace

std::string CountdownTextAt(time_t target, time_t now) {
    double left = std::difftime(target, now);
    double whole = std::trunc(std::fabs(left));
    // Moments further away than a 32-bit count of seconds wrap like one.
    std::uint32_t n = whole < 9.0e15 ? static_cast<std::uint32_t>(static_cast<std::int64_t>(whole)) : 0;
    unsigned int seconds = n % 60;
    unsigned int minutes = (n / 60) % 60;
    unsigned int hours = n / 3600;
    char text[160];
    std::snprintf(text, sizeof text, left <= 0.0 ? SinceTarget : BeforeTarget, hours, minutes, seconds);
    return text;
}

std::string ClockTextAt(time_t now) {
    struct tm local;
    if (!localtime_r(&now, &local)) return std::string();
    char text[64];
    if (!asctime_r(&local, text)) {
        // asctime gives up on years of more than four digits; same layout.
        static const char* const days[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
        static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                             "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
        std::snprintf(text, sizeof text, "%.3s %.3s%3d %.2d:%.2d:%.2d %lld\n", days[local.tm_wday % 7],
                      months[local.tm_mon % 12], local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
                      1900LL + local.tm_year);
    }
    std::string clock(text);
    if (!clock.empty()) clock.pop_back();
    return clock;
}

const char* GreetingText(unsigned int entry) {
    if (entry >= CardTextLinesMax || TextLines[entry][0] == '\0') return " ";
    return TextLines[entry];
}

void BounceParticle(Particle& particle, short x, const ParticleShape& shape, short width) {
    if (x - shape.XSize + shape.XCenter < 0 && particle.DX < 0) particle.DX = -particle.DX;
    else if (x + shape.XSize + shape.XCenter > width && particle.DX > 0) particle.DX = -particle.DX;
}

bool ParticleBelowScreen(short y, const ParticleShape& shape, short height) {
    return y >= height + shape.YSize;
}

void DriftAndMoveParticle(Particle& particle, short* pos) {
    if (particle.DriftTimer == 0.0f) {
        particle.DriftTimer = static_cast<float>(CardRandom(99.0));
        particle.DX = static_cast<float>(CardRandom(5.0) - 2);
    }
    pos[0] = Store16(std::trunc(pos[0] + static_cast<double>(particle.DX)));
    pos[1] = Store16(std::trunc(pos[1] + static_cast<double>(particle.DY)));
    particle.DriftTimer -= 1.0f;
}

void ShowCardTime(time_t now) {
    ShowTimeText(ClockText, ClockTextAt(now));
    ShowTimeText(CountdownText, CountdownTextAt(TargetTime, now));
}

void MoveCardParticles() {
    for (Uint32 i = 0; i < ParticleCount; ++i) {
        unsigned int desc = ParticleDescs[i];
        GObject* object = GetGObject(desc);
        short* pos = GDT.GetParams(desc);
        if (!object || !pos) continue;
        Particle& particle = Particles[i];
        BounceParticle(particle, pos[0], ShapeOf(*object), CFG.Width);
        if (ParticleBelowScreen(pos[1], ShapeOf(*object), CFG.Height)) {
            if (LineCount > 0 && desc == ScrollText) ReturnGreetingLine(particle, pos);
            else ReturnFlake(particle, pos, desc);
        }
        DriftAndMoveParticle(particle, pos);
    }
}

void CardFrame(unsigned int) {
    CurrentTime = std::time(nullptr);
    ShowCardTime(CurrentTime);
    MoveCardParticles();
}
