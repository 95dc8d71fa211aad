#pragma once

#include "tools/cardart/Paint.h"

// The card's pictures.
Canvas PaintSky();                                // 800 x 600 night landscape
Canvas PaintSplash(const char* fontFolder);        // 800 x 600 loading card
Canvas PaintBranches(unsigned int seed, bool fromTheRight);  // corner framing
Canvas PaintFlake();                              // one soft snowflake
