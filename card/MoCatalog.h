#pragma once

#include <map>
#include <string>

// A compiled gettext catalog (.mo) read whole into memory, for a C library
// that cannot read one itself (the web page's). Lookups follow gettext's:
// a text the catalog lacks is given back as it was asked for, and plural
// forms are chosen by the catalog's own Plural-Forms rule.
class MoCatalog {
public:
    // Reads the file; false (and an empty catalog) when it is missing, is
    // larger than a card's catalog can be, or is not a well-formed catalog.
    bool Load(const std::string& path);

    // The translation of text, or text itself (the same pointer) when none.
    const char* Text(const char* text) const;

    // The form for n of the translation of singular; without one, singular
    // for n == 1 and plural otherwise, as the arguments themselves.
    const char* Plural(const char* singular, const char* plural, unsigned long n) const;

private:
    std::map<std::string, std::string> entries_;  // plural forms separated by '\0'
    std::string rule_;                            // the plural expression
    unsigned long forms_ = 2;
};

// The value of a gettext plural expression (C syntax: n, numbers, ?:, ||, &&,
// comparisons, + - * / %, !, parentheses) for n; 0 for an expression that
// does not parse or divides by zero.
unsigned long EvaluatePluralRule(const std::string& rule, unsigned long n);
