#include "card/CardCatalog.h"

#include "card/MoCatalog.h"

// The web page's C library maps a catalog into memory it cannot read back,
// and Windows' has no gettext at all: there the card reads the same catalogs
// itself.
namespace {

MoCatalog Catalog;

}  // namespace

bool OpenCardCatalog(const std::string& code) {
    return Catalog.Load("locale/" + code + "/LC_MESSAGES/solvane.mo") && *Catalog.Text("");
}

const char* CatalogText(const char* text) { return Catalog.Text(text); }

const char* CatalogPlural(const char* singular, const char* plural, unsigned long n) {
    return Catalog.Plural(singular, plural, n);
}
