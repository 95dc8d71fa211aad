#pragma once

// The card's own settings in "solvane.cfg".

extern int SnowNum;        // default 0
extern float SnowDensity;  // default 0.0
extern int TextSpeed;      // default 100
extern int SnowSpeed;      // default 5

// Reads SnowNum, SnowDensity, TextSpeed and SnowSpeed from the file; every
// other word is passed over. A value that does not parse keeps the setting.
// A file that does not open ends the program with code 10.
void LoadCardSettings(const char* path);
