#pragma once

// The card's random values. The card draws them from a generator of its own,
// never seeded, which gives exactly the sequence of glibc's unseeded rand():
// so every run with the same settings draws the same snow, and the same on
// every platform whatever its C library's rand() does.

// The next value of the card's generator, 0..32767 (the high-order bits of
// the generator's 31-bit value: value * 32768 / 2^31).
int CardRand();

// trunc(CardRand() * span / 32767.0), the card's one rule for random values.
int CardRandom(double span);

// A new falling speed: 1 + trunc(CardRand() * speed / 32767), 1 to speed + 1.
float CardFallStep(int speed);
