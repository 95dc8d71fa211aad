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

// The size and hot spot of a moving object, in screen pixels.
struct ParticleShape {
    short XSize;
    short YSize;
    short XCenter;
    short YCenter;
};

// Turns the horizontal step around at a side edge the particle is heading for.
void BounceParticle(Particle& particle, short x, const ParticleShape& shape, short width);

// Stores a position in 16 bits the way an integer store does (low bits kept),
// also for values a float-to-short conversion could not hold.
short StorePosition16(double value);

// Whether the particle has left the screen at the bottom.
bool ParticleBelowScreen(short y, const ParticleShape& shape, short height);

// The rest of a particle's frame: a new drift when its timer is 0, the move
// by (DX, DY) written into pos, and the timer counted down.
void DriftAndMoveParticle(Particle& particle, short* pos);
