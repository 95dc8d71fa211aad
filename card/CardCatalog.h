#pragma once

#include <string>

// Where the card's translations come from: the C library's gettext where it
// reads compiled catalogs (CardCatalogGettext.cpp), a reader of the same
// catalogs of the card's own where it cannot (the web page's C library and
// Windows', CardCatalogMo.cpp). The catalog of a code is
// "locale/<code>/LC_MESSAGES/solvane.mo" below the working folder.

// Makes code's catalog the one asked; false when it does not answer.
bool OpenCardCatalog(const std::string& code);

// The open catalog's translation of text, or text itself (the same pointer).
const char* CatalogText(const char* text);

// The open catalog's form for n of singular's translation; without one,
// singular or plural themselves by English's rule.
const char* CatalogPlural(const char* singular, const char* plural, unsigned long n);
