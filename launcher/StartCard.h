#pragma once

#include <string>

// The platform part of the launcher: where the card lives and how it is
// started. A Windows form would replace StartCardPosix.cpp and nothing else.

// The card's folder: SOLVANE_DIR when set and not empty; otherwise the
// folder of the launcher's own binary when it holds solvane.cfg (the launcher
// inside the card's installed folder), then ../lib/solvane beside it (the
// start command in an installed tree), then ./solvane beside it (the build
// tree), then the folder of the configured install prefix. launcherPath is argv[0], used only when the platform cannot name
// the running binary itself.
std::string CardFolder(const char* launcherPath);

// Enters folder and starts "solvanewin" there, with that folder as working
// directory and no arguments, in a session of its own and without waiting
// for it. Nothing is started when the folder cannot be entered. Returns
// whether the program was started; the launcher reports failures on stderr
// only, never through its exit status.
bool StartCard(const std::string& folder);

// Enters folder and replaces the calling process with "solvanewin" there, so
// that signals meant for the caller reach the card. Returns only on failure,
// false, after a message on stderr that starts with who.
bool ExecCard(const std::string& folder, const char* who);
