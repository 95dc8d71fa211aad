#include "card/CardCatalog.h"

#include <libintl.h>
#include <unistd.h>

#include <clocale>
#include <cstdlib>

namespace {

const char* const Domain = "solvane";

}  // namespace

bool OpenCardCatalog(const std::string& code) {
    std::string folder = "locale";
    char cwd[4096];
    if (getcwd(cwd, sizeof cwd)) folder = std::string(cwd) + "/locale";
    bindtextdomain(Domain, folder.c_str());
    bind_textdomain_codeset(Domain, "UTF-8");
    // A C library that reads LANGUAGE ignores it only in the plain "C"
    // locale, and C.UTF-8 is there without any locale being generated; one
    // that reads the message locale's name instead takes the code itself.
    setenv("LANGUAGE", code.c_str(), 1);
    if (std::setlocale(LC_MESSAGES, "C.UTF-8") == nullptr) std::setlocale(LC_MESSAGES, "C.utf8");
    // Setting the domain again tells the C library that translations changed.
    textdomain(Domain);
    // A catalog answers with its header as the translation of "".
    if (*dgettext(Domain, "")) return true;
    if (std::setlocale(LC_MESSAGES, code.c_str()) == nullptr) return false;
    textdomain(Domain);
    return *dgettext(Domain, "") != '\0';
}

const char* CatalogText(const char* text) { return dgettext(Domain, text); }

const char* CatalogPlural(const char* singular, const char* plural, unsigned long n) {
    return dngettext(Domain, singular, plural, n);
}
