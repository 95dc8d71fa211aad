#pragma once

// The card's random values: rand() brought into 0..32767, never seeded, so
// every run with the same settings draws the same sequence.

// rand() brought into 0..32767. Where RAND_MAX is 32767 this is rand() itself;
// a larger range (glibc: 2147483647) is scaled down, keeping the high-order
// bits: rand() * 32768 / (RAND_MAX + 1).
int CardRand();

// trunc(CardRand() * span / 32767.0), the card's one rule for random values.
int CardRandom(double span);

// A new falling speed: 1 + trunc(CardRand() * speed / 32767), 1 to speed + 1.
float CardFallStep(int speed);
