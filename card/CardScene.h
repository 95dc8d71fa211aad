#pragma once

#include <SDL/SDL.h>

// The card's scene: one window with splash, credit, sky, foreground, flakes,
// greeting line, countdown and clock.

// Descriptors of the card's window and of its three texts.
extern unsigned int CardWindow;
extern unsigned int ScrollText;
extern unsigned int CountdownText;
extern unsigned int ClockText;

extern Uint32 NextLine;  // entry of TextLines the greeting line shows next

// Builds the window with splash, credit, sky, foreground, flakes, greeting
// line, countdown and clock, and makes CardFrame the frame function.
void BuildCardScene();

// How many flakes the scene asks for: every whole i below
// SnowNum (as unsigned) x SnowDensity x height / 20.
unsigned long CardFlakeCount(int snowNum, float snowDensity, short height);
