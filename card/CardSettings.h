#pragma once

#include <string>

// The card's own settings in "solvane.cfg".

extern int SnowNum;        // default 0
extern float SnowDensity;  // default 0.0
extern int TextSpeed;      // default 100
extern int SnowSpeed;      // default 5

// The year whose 1 January the countdown counts to, or NewYearNearest for the
// New Year nearest to the moment shown; default 2004.
constexpr int NewYearNearest = 0;
extern int NewYear;

// The Language setting: a language code, "auto", or "" without the key.
extern std::string LanguageSetting;

// Reads a NewYear value: the word nearest, or a year of one to four digits
// whose New Year the C library can represent. False leaves setting as it was.
bool ReadNewYearWord(const char* word, int& setting);

// Reads SnowNum, SnowDensity, TextSpeed, SnowSpeed, NewYear and Language from the file;
// every other word is passed over. A value that does not parse keeps the
// setting. NewYear takes a year from 1 to 9999 whose New Year the C library
// can represent, or the word nearest.
// A file that does not open ends the program with code 10.
void LoadCardSettings(const char* path);
