#include "card/CardLanguage.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "card/CardCatalog.h"
#include "card/CardSettings.h"
#include "glimmer/base/DebugLog.h"

std::string SpokenLanguage;

namespace {

const char* const Fallback = "en";

void Say(const std::string& what) {
    DebugLog << "Language: " << what << std::endl;
    std::fprintf(stderr, "solvanewin: %s\n", what.c_str());
}

std::string CatalogPath(const std::string& code) { return "locale/" + code + "/LC_MESSAGES/solvane.mo"; }

// Only a plain file: the C library would wait forever on a pipe, and it loses
// memory on a folder.
bool HasCatalog(const std::string& code) {
    struct stat info;
    return stat(CatalogPath(code).c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool IsLetters(const std::string& s, size_t from, size_t to, bool digits) {
    if (to <= from) return false;
    for (size_t i = from; i < to; ++i) {
        const char c = s[i];
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (!letter && !(digits && c >= '0' && c <= '9')) return false;
    }
    return true;
}

// The catalog names a language tag or locale name may go by, most specific
// first: "de-AT", "de_AT.UTF-8@euro" and "DE_at" give de_AT, then de. None
// for what is no language ("C", "POSIX") or no tag at all.
std::vector<std::string> CatalogNames(std::string tag) {
    tag = tag.substr(0, tag.find_first_of(".@;"));
    const size_t cut = tag.find_first_of("-_");
    const std::string language = tag.substr(0, cut);
    if (language.size() < 2 || language.size() > 8 || !IsLetters(language, 0, language.size(), false)) return {};
    std::string lower;
    for (char c : language) lower += static_cast<char>(c | 0x20);
    if (cut == std::string::npos) return {lower};
    const std::string region = tag.substr(cut + 1, tag.find_first_of("-_", cut + 1) - cut - 1);
    if (region.size() > 8 || !IsLetters(region, 0, region.size(), true)) return {lower};
    std::string upper;
    for (char c : region) upper += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
    return {lower + "_" + upper, lower};
}

bool IsNoLanguage(const std::string& tag) {
    const std::string name = tag.substr(0, tag.find_first_of(".@"));
    return name.empty() || name == "C" || name == "POSIX";
}

std::string FirstWithCatalog(const std::string& tag) {
    for (const std::string& name : CatalogNames(tag)) {
        if (HasCatalog(name)) return name;
    }
    return std::string();
}

std::string Trimmed(const std::string& s) {
    const size_t first = s.find_first_not_of(" \t");
    if (first == std::string::npos) return std::string();
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

// Whether the catalog of code answers.
bool Speaks(const std::string& code) { return OpenCardCatalog(code); }

}  // namespace

std::string ChooseCardLanguage(const std::string& setting, const std::string& preferred) {
    const std::string wanted = Trimmed(setting);
    if (wanted.empty()) return std::string();
    if (wanted == "auto") {
        std::string missed;
        size_t start = 0;
        while (start <= preferred.size()) {
            size_t end = preferred.find_first_of(",:", start);
            if (end == std::string::npos) end = preferred.size();
            const std::string tag = Trimmed(preferred.substr(start, end - start));
            start = end + 1;
            if (IsNoLanguage(tag)) continue;
            const std::string found = FirstWithCatalog(tag);
            if (!found.empty()) return found;
            if (missed.empty()) missed = tag;
        }
        if (!missed.empty()) Say("the card has no texts in \"" + missed + "\"; it speaks English");
        return Fallback;
    }
    if (CatalogNames(wanted).empty()) {
        Say("Language \"" + wanted + "\" is no language code; the card speaks English");
        return Fallback;
    }
    const std::string found = FirstWithCatalog(wanted);
    if (!found.empty()) return found;
    Say("the card has no texts in \"" + wanted + "\" (no " + CatalogPath(CatalogNames(wanted).front()) +
        "); it speaks English");
    return Fallback;
}

std::string LocaleLanguages() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value && *value) return value;
    }
    return std::string();
}

std::string ActivateCardLanguage(const std::string& code) {
    SpokenLanguage = code;
    if (code.empty() || Speaks(code)) return code;
    Say(CatalogPath(code) + " does not load; the card speaks English");
    SpokenLanguage = Fallback;
    if (code != Fallback && !Speaks(Fallback)) Say(CatalogPath(Fallback) + " does not load either");
    return SpokenLanguage;
}

void PickCardLanguage() { ActivateCardLanguage(ChooseCardLanguage(LanguageSetting, LocaleLanguages())); }

const char* Translated(const char* context, const char* text) {
    if (SpokenLanguage.empty()) return text;
    const std::string key = std::string(context) + '\004' + text;
    const char* found = CatalogText(key.c_str());
    return found == key.c_str() ? text : found;
}

const char* TranslatedPlural(const char* context, const char* singular, const char* plural, unsigned long long n) {
    // The rules look at the last digits and at size: a count beyond what an
    // unsigned long holds everywhere keeps both.
    const unsigned long count = n > 4000000000ULL ? static_cast<unsigned long>(1000000000 + n % 1000000000) : n;
    if (SpokenLanguage.empty()) return count == 1 ? singular : plural;
    const std::string key = std::string(context) + '\004' + singular;
    const char* found = CatalogPlural(key.c_str(), plural, count);
    return found == key.c_str() ? singular : found;
}

const char* TranslatedLine(const char* line) {
    if (SpokenLanguage.empty() || !*line) return line;
    return CatalogText(line);
}

std::string FillPlaceholders(std::string text, std::initializer_list<std::pair<const char*, std::string>> values) {
    for (const auto& value : values) {
        const size_t length = std::strlen(value.first);
        for (size_t at = text.find(value.first); at != std::string::npos;
             at = text.find(value.first, at + value.second.size())) {
            text.replace(at, length, value.second);
        }
    }
    return text;
}
