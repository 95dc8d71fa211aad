#pragma once

#include <string>

// The sender's name from "txt/name.txt", shown in the credit.

// The name's first line: UTF-8 without control characters, blanks around it
// dropped, at most this many characters (a longer name is cut).
constexpr unsigned int CardNameCharsMax = 40;
extern std::string SenderName;

// Reads the name through the engine's file system. A missing or empty file
// leaves no name; a file that is not UTF-8 text leaves no name and says so on
// standard error, as does a name that had to be cut.
void LoadCardSender(const char* path);

// The name a line gives: false when the line is not UTF-8 text or holds a
// control character; cut tells whether it was longer than CardNameCharsMax.
bool CleanSenderName(const std::string& line, std::string& name, bool& cut);

// Whether text is UTF-8 without control characters (a tab is allowed).
bool IsPlainText(const std::string& text);

// The credit's words: "Author: " and the sender's name, or the card's own
// author without one.
std::string CreditText();
