#pragma once

#include <ctime>

// The card's frame function and its two halves.

// The frame function: clock and countdown for time(NULL), then the particles.
void CardFrame(unsigned int frame);

void ShowCardTime(time_t now);
void MoveCardParticles();
