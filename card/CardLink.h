#pragma once

#include <string>
#include <vector>

// The card carried by a link: what follows the '#' of the web page's address,
// as application/x-www-form-urlencoded UTF-8. The keys are from (the sender's
// name), line (repeated: the greeting lines, in order), year (nearest or a
// year), snow (the SnowNum value) and lang (the card's language). A link is
// untrusted: every field passes the checks the card's own files pass, and a
// field that fails them is left out with a note.

// A link longer than this is not read at all.
constexpr size_t CardLinkBytesMax = 65536;
// The highest snow a link may ask for: as many flakes as the card's window
// holds at its shipped density.
constexpr int CardLinkSnowMax = 99;

struct CardLink {
    bool hasName = false;
    std::string name;
    std::vector<std::string> lines;  // none: the shipped lines stay
    bool hasYear = false;
    int year = 0;  // a NewYear value
    bool hasSnow = false;
    int snow = 0;
    std::string language;  // empty: none asked for
    // One line per field left out or cut, for the console.
    std::vector<std::string> notes;
};

// Reads a link's fragment (without its '#').
CardLink ReadCardLink(const std::string& fragment);

// Puts what the link carries in place of the card's own settings, greeting
// lines and sender's name; call it after they are loaded and before the
// scene is built. Writes the link's notes to standard error.
void ApplyCardLink(const CardLink& link);
