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

}  // namespace

std::string PageLinkText() {
    std::unique_ptr<char, decltype(&std::free)> text(PageFragment(static_cast<int>(CardLinkBytesMax)), &std::free);
    return text ? std::string(text.get()) : std::string();
}
