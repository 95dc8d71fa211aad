#include "card/CardRandom.h"

#include <cstdint>

namespace {

// An additive feedback generator of 31 words with taps 31 and 3, seeded with
// 1 by the minimal-standard generator and run 310 steps before its first
// value: the construction glibc's rand() uses, kept here so that the card's
// snow does not depend on the C library it is built with.
class FeedbackGenerator {
public:
    FeedbackGenerator() { Seed(1); }

    void Seed(std::int32_t seed) {
        state_[0] = static_cast<std::uint32_t>(seed);
        std::int32_t word = seed;
        for (int i = 1; i < Degree; ++i) {
            // 16807 * word mod (2^31 - 1) without overflow (Schrage's method).
            const std::int32_t hi = word / 127773;
            const std::int32_t lo = word % 127773;
            word = 16807 * lo - 2836 * hi;
            if (word < 0) word += 2147483647;
            state_[i] = static_cast<std::uint32_t>(word);
        }
        front_ = Separation;
        rear_ = 0;
        for (int i = 0; i < Degree * 10; ++i) Next();
    }

    // 0 .. 2^31 - 1.
    std::uint32_t Next() {
        state_[front_] += state_[rear_];
        const std::uint32_t value = state_[front_] >> 1;
        if (++front_ == Degree) front_ = 0;
        if (++rear_ == Degree) rear_ = 0;
        return value;
    }

private:
    static constexpr int Degree = 31;
    static constexpr int Separation = 3;
    std::uint32_t state_[Degree];
    int front_ = 0;
    int rear_ = 0;
};

FeedbackGenerator Generator;

}  // namespace

int CardRand() { return static_cast<int>(Generator.Next() >> 16); }

int CardRandom(double span) { return static_cast<int>(CardRand() * span / 32767.0); }

// 1 + trunc(rand() x speed / 32767), in integers wide enough for any speed.
float CardFallStep(int speed) {
    return static_cast<float>(1 + static_cast<long long>(CardRand()) * speed / 32767);
}
