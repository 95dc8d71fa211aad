#pragma once

#include <SDL/SDL.h>

// The greeting lines from "txt/txt.txt".

constexpr unsigned int CardTextLinesMax = 500;
constexpr unsigned int CardTextLineSize = 513;
extern char TextLines[CardTextLinesMax][CardTextLineSize];
extern Uint32 LineCount;

// Fills TextLines and LineCount through the engine's file system: one entry
// per line (a line of more than 511 characters continues in the next entry),
// at most 500 entries. A text that does not open leaves LineCount 0, and the
// card then runs without a greeting line.
void LoadCardText(const char* path);

// Whether TextLines hold the greeting lines the card ships with, line for
// line; only those are shown in the language the card speaks.
extern bool ShippedGreetings;

// The greeting text shown for an entry of TextLines; an empty entry shows as
// a blank, since an empty line cannot be rendered.
const char* GreetingText(unsigned int entry);
