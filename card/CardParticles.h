#pragma once

#include <SDL/SDL.h>

// The falling objects: flakes first, the greeting line last.

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

class GObject;

// Each particle's object and position, found once when the scene is built:
// the card never frees what it registers, so they stay valid for the run and
// the frame need not look every particle up again.
extern GObject* ParticleObjects[CardParticlesMax];
extern short* ParticlePositions[CardParticlesMax];

// Files desc as the next particle, falling by fall design units a frame.
void AddParticle(unsigned int desc, float fall);

// The size and hot spot of a moving object, in screen pixels.
struct ParticleShape {
    short XSize;
    short YSize;
    short XCenter;
    short YCenter;
};

// Turns the horizontal step around at a side edge the particle is heading for;
// x is the position in screen pixels, the object's edges are x - XCenter and
// x - XCenter + XSize.
void BounceParticle(Particle& particle, short x, const ParticleShape& shape, short width);

// The column, in design units, where a greeting line of width pixels starts
// its fall on a screen of screenWidth pixels and scale pixels per design unit:
// trunc(draw x room / 32767) with room the smaller of span and the room the
// line leaves, so that it starts fully inside; a line wider than the screen
// starts centred.
short GreetingLineColumn(int draw, double span, short width, short screenWidth, float scale);

// Stores a position in 16 bits the way an integer store does (low bits kept),
// also for values a float-to-short conversion could not hold.
short StorePosition16(double value);

// Whether the particle has left the screen at the bottom.
bool ParticleBelowScreen(short y, const ParticleShape& shape, short height);

// The rest of a particle's frame: a new drift when its timer is 0, the move
// by (DX, DY) written into pos, and the timer counted down. A steady particle
// (one wider than the screen) draws its drift but keeps DX 0.
void DriftAndMoveParticle(Particle& particle, short* pos, bool steady = false);
