#include "card/CardRandom.h"

#include <cstdlib>

int CardRand() {
    if (RAND_MAX == 32767) return std::rand();
    return static_cast<int>(static_cast<long long>(std::rand()) * 32768 /
                            (static_cast<long long>(RAND_MAX) + 1));
}

int CardRandom(double span) { return static_cast<int>(CardRand() * span / 32767.0); }

// 1 + trunc(rand() x speed / 32767), in integers wide enough for any speed.
float CardFallStep(int speed) {
    return static_cast<float>(1 + static_cast<long long>(CardRand()) * speed / 32767);
}
