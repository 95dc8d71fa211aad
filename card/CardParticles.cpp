#include "card/CardParticles.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "card/CardRandom.h"
#include "glimmer/registry/DTable.h"

Particle Particles[CardParticlesMax];
unsigned int ParticleDescs[CardParticlesMax];
Uint32 ParticleCount = 0;
GObject* ParticleObjects[CardParticlesMax];
short* ParticlePositions[CardParticlesMax];

void AddParticle(unsigned int desc, float fall) {
    Particles[ParticleCount].DY = fall;
    ParticleDescs[ParticleCount] = desc;
    ParticleObjects[ParticleCount] = GetGObject(desc);
    ParticlePositions[ParticleCount] = GDT.GetParams(desc);
    ++ParticleCount;
}

short StorePosition16(double value) {
    if (!(value > -9.0e15 && value < 9.0e15)) return 0;
    return static_cast<short>(static_cast<std::int64_t>(value));
}

void BounceParticle(Particle& particle, short x, const ParticleShape& shape, short width) {
    const int left = x - shape.XCenter;
    const int right = left + shape.XSize;
    if (left < 0 && particle.DX < 0) particle.DX = -particle.DX;
    else if (right > width && particle.DX > 0) particle.DX = -particle.DX;
}

short GreetingLineColumn(int draw, double span, short width, short screenWidth, float scale) {
    const double perUnit = scale > 0.0f ? scale : 1.0;
    const int room = screenWidth - width;
    if (room < 0) return StorePosition16(std::trunc(room / 2.0 / perUnit));
    const double roomUnits = std::min(span, room / perUnit);
    return StorePosition16(std::trunc(draw * roomUnits / 32767.0));
}

bool ParticleBelowScreen(short y, const ParticleShape& shape, short height) {
    return y >= height + shape.YSize;
}

void DriftAndMoveParticle(Particle& particle, short* pos, bool steady) {
    if (particle.DriftTimer == 0.0f) {
        particle.DriftTimer = static_cast<float>(CardRandom(99.0));
        particle.DX = static_cast<float>(CardRandom(5.0) - 2);
    }
    if (steady) particle.DX = 0.0f;
    pos[0] = StorePosition16(std::trunc(pos[0] + static_cast<double>(particle.DX)));
    pos[1] = StorePosition16(std::trunc(pos[1] + static_cast<double>(particle.DY)));
    particle.DriftTimer -= 1.0f;
}
