#pragma once

#include <ctime>
#include <string>

#include <SDL/SDL.h>

// The greeting card: its settings, greeting lines, scene and frame function.

// The countdown's target: local midnight at the start of 1 January 2004.
extern time_t TargetTime;
// The time of the frame being drawn.
extern time_t CurrentTime;

// Settings read from "solvane.cfg" by the card's own reader.
extern int SnowNum;        // default 0
extern float SnowDensity;  // default 0.0
extern int TextSpeed;      // default 100
extern int SnowSpeed;      // default 5

constexpr unsigned int CardTextLinesMax = 500;
constexpr unsigned int CardTextLineSize = 513;
extern char TextLines[CardTextLinesMax][CardTextLineSize];
extern Uint32 LineCount;

// Descriptors of the card's window and of its three texts.
extern unsigned int CardWindow;
extern unsigned int ScrollText;
extern unsigned int CountdownText;
extern unsigned int ClockText;

// Motion of one falling object; the steps are whole design units per frame.
struct Particle {
    float DriftTimer;  // frames until a new horizontal step; drawn when it is 0
    float DX;
    float DY;
};

constexpr unsigned int CardParticlesMax = 3000;
extern Particle Particles[CardParticlesMax];
extern unsigned int ParticleDescs[CardParticlesMax];
extern Uint32 ParticleCount;  // flakes first, the greeting line last
extern Uint32 NextLine;       // entry of TextLines the greeting line shows next

// Reads SnowNum, SnowDensity, TextSpeed and SnowSpeed from the file; every
// other word is passed over. A value that does not parse keeps the setting.
// A file that does not open ends the program with code 10.
void LoadCardSettings(const char* path);

// Fills TextLines and LineCount through the engine's file system: one entry
// per line (a line of more than 511 characters continues in the next entry),
// at most 500 entries. A text that does not open leaves LineCount 0, and the
// card then runs without a greeting line.
void LoadCardText(const char* path);

// Keeps every event until the first frame is on screen; after that any key or
// mouse event ends the program normally.
int CardEventFilter(const SDL_Event* event);

// Builds the window with splash, credit, sky, foreground, flakes, greeting
// line, countdown and clock, and makes CardFrame the frame function.
void BuildCardScene();

// The frame function: clock and countdown for time(NULL), then the particles.
void CardFrame(unsigned int frame);

// The two halves of CardFrame.
void ShowCardTime(time_t now);
void MoveCardParticles();

// Local midnight at the start of 1 January 2004 (daylight saving left to the
// C library).
time_t CardTargetMoment();

// rand() brought into 0..32767. Where RAND_MAX is 32767 this is rand() itself;
// a larger range (glibc: 2147483647) is scaled down, keeping the high-order
// bits: rand() * 32768 / (RAND_MAX + 1).
int CardRand();

// trunc(CardRand() * span / 32767.0), the card's one rule for random values.
int CardRandom(double span);

// A new falling speed: 1 + trunc(CardRand() * speed / 32767), 1 to speed + 1.
float CardFallStep(int speed);

// How many flakes the scene asks for: every whole i below
// SnowNum (as unsigned) x SnowDensity x height / 20.
unsigned long CardFlakeCount(int snowNum, float snowDensity, short height);

// The countdown text (UTF-8) at the moment now: hours, minutes and seconds
// left until target, or passed since it from the target on.
std::string CountdownTextAt(time_t target, time_t now);

// The clock text: asctime of the local time without its line feed.
std::string ClockTextAt(time_t now);

// The greeting text shown for an entry of TextLines; an empty entry shows as
// a blank, since an empty line cannot be rendered.
const char* GreetingText(unsigned int entry);

// The size and hot spot of a moving object, in screen pixels.
struct ParticleShape {
    short XSize;
    short YSize;
    short XCenter;
    short YCenter;
};

// Turns the horizontal step around at a side edge the particle is heading for.
void BounceParticle(Particle& particle, short x, const ParticleShape& shape, short width);

// Whether the particle has left the screen at the bottom.
bool ParticleBelowScreen(short y, const ParticleShape& shape, short height);

// The rest of a particle's frame: a new drift when its timer is 0, the move
// by (DX, DY) written into pos, and the timer counted down.
void DriftAndMoveParticle(Particle& particle, short* pos);
