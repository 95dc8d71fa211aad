#include "card/WebLink.h"

#include <emscripten.h>

#include <cstdlib>
#include <memory>

#include "card/CardLink.h"

namespace {

EM_JS(char*, PageFragment, (int most), {
    var text = (window.location.hash || "").replace(/^#/, "");
    if (text.length > most) text = text.substring(0, most + 1);
    var size = lengthBytesUTF8(text) + 1;
    var copy = _malloc(size);
    if (copy) stringToUTF8(text, copy, size);
    return copy;
});

EM_JS(char*, BrowserLanguages, (), {
    var list = navigator.languages && navigator.languages.length ? navigator.languages : [navigator.language || ""];
    var text = Array.prototype.join.call(list, ",").substring(0, 1000);
    var size = lengthBytesUTF8(text) + 1;
    var copy = _malloc(size);
    if (copy) stringToUTF8(text, copy, size);
    return copy;
});

std::string Taken(char* text) {
    std::unique_ptr<char, decltype(&std::free)> owned(text, &std::free);
    return owned ? std::string(owned.get()) : std::string();
}

}  // namespace

std::string PageLinkText() { return Taken(PageFragment(static_cast<int>(CardLinkBytesMax))); }

std::string PageLanguages() { return Taken(BrowserLanguages()); }
