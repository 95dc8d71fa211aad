#pragma once

#include <initializer_list>
#include <string>
#include <utility>

// The language the card's own texts are written in: GNU gettext catalogs of
// the text domain "solvane", found as "locale/<code>/LC_MESSAGES/solvane.mo"
// below the working folder. The plural rules come from each catalog's
// Plural-Forms header, so a new language needs only its catalog.

// Mark a text, or a text of a context, for the catalogs without translating
// it where it stands.
#define N_(text) text
#define NC_(context, text) text

// The code of the language the card speaks, or "" while it speaks as it did
// before it had catalogs (no Language setting).
extern std::string SpokenLanguage;

// The language a Language setting names: "" for no setting; for "auto" the
// first entry of preferred (locale names or browser language tags, separated
// by ',' or ':') whose catalog is in the folder, else "en"; for a code, that
// code when its catalog is there. A language without a catalog, or a code
// that is none, gives "en" and says so on standard error.
std::string ChooseCardLanguage(const std::string& setting, const std::string& preferred);

// The desktop's choice for "auto": LC_ALL, else LC_MESSAGES, else LANG.
std::string LocaleLanguages();

// Makes the card speak code ("" for its texts as before) and returns the code
// it speaks from now on. A catalog that does not load gives English and a
// message on standard error.
std::string ActivateCardLanguage(const std::string& code);

// The desktop card's choice: the Language setting, with the locale for "auto".
void PickCardLanguage();

// The text of context in the language spoken; the text itself when no
// catalog holds it.
const char* Translated(const char* context, const char* text);

// The singular or plural text of context for n, chosen by the catalog's
// plural rule (English's without one).
const char* TranslatedPlural(const char* context, const char* singular, const char* plural, unsigned long long n);

// A greeting line of the shipped text in the language spoken.
const char* TranslatedLine(const char* line);

// text with every "{name}" of values replaced: pairs of placeholder and value.
std::string FillPlaceholders(std::string text, std::initializer_list<std::pair<const char*, std::string>> values);
