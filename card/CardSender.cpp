#include "card/CardSender.h"

#include <cstdio>

#include "card/CardLanguage.h"
#include "glimmer/base/DebugLog.h"
#include "glimmer/resources/FileSystem.h"

std::string SenderName;

namespace {

// More than a name of CardNameCharsMax characters of four bytes each needs.
constexpr unsigned int NameFileBytesMax = 4096;

// The code point of the UTF-8 sequence at s[i] and its length; 0 for a byte
// that starts no well-formed sequence (overlong forms, surrogates and values
// above U+10FFFF included).
unsigned int DecodeUtf8(const std::string& s, size_t i, unsigned int& point) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char lead = byte(i);
    unsigned int length = 0;
    unsigned int low = 0;
    if (lead < 0x80) {
        point = lead;
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, point = lead & 0x1F, low = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, point = lead & 0x0F, low = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, point = lead & 0x07, low = 0x10000;
    } else {
        return 0;
    }
    if (i + length > s.size()) return 0;
    for (unsigned int k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
        point = point << 6 | (byte(i + k) & 0x3F);
    }
    if (point < low || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)) return 0;
    return length;
}

bool IsControl(unsigned int point) { return point < 0x20 || (point >= 0x7F && point <= 0x9F); }

void Warn(const char* path, const char* what) {
    DebugLog << path << ": " << what << std::endl;
    std::fprintf(stderr, "solvanewin: %s: %s\n", path, what);
}

}  // namespace

bool IsPlainText(const std::string& text) {
    for (size_t i = 0; i < text.size();) {
        unsigned int point = 0;
        const unsigned int length = DecodeUtf8(text, i, point);
        if (length == 0 || (IsControl(point) && point != '\t')) return false;
        i += length;
    }
    return true;
}

bool CleanSenderName(const std::string& line, std::string& name, bool& cut) {
    name.clear();
    cut = false;
    unsigned int chars = 0;
    size_t end = 0;  // just after the last character that is no blank
    for (size_t i = 0; i < line.size();) {
        unsigned int point = 0;
        const unsigned int length = DecodeUtf8(line, i, point);
        if (length == 0 || (IsControl(point) && point != '\t')) {
            name.clear();
            return false;
        }
        const bool blank = point == ' ' || point == '\t';
        const bool leading = blank && name.empty();
        if (!leading && chars < CardNameCharsMax) {
            name.append(blank ? std::string(" ") : line.substr(i, length));
            ++chars;
            if (!blank) end = name.size();
        } else if (!blank) {
            cut = true;
        }
        i += length;
    }
    name.resize(end);
    return true;
}

void LoadCardSender(const char* path) {
    SenderName.clear();
    if (!FS) return;
    std::FILE* f = FS->Fopen(path, "rb");
    if (!f) return;
    std::string content(NameFileBytesMax, '\0');
    content.resize(FS->Fread(&content[0], 1, NameFileBytesMax, f));
    FS->Fclose(f);
    std::string line = content.substr(0, content.find('\n'));
    if (!line.empty() && line.back() == '\r') line.pop_back();
    // A line longer than what was read may end inside a character.
    if (line.size() == NameFileBytesMax) {
        size_t last = line.size() - 1;
        while (last > 0 && line.size() - last < 4 && (static_cast<unsigned char>(line[last]) & 0xC0) == 0x80) --last;
        unsigned int point = 0;
        if (DecodeUtf8(line, last, point) == 0) line.resize(last);
    }
    bool cut = false;
    if (!CleanSenderName(line, SenderName, cut)) {
        SenderName.clear();
        Warn(path, "the name is not UTF-8 text; the card shows no name");
    } else if (cut) {
        Warn(path, "the name is longer than 40 characters; the card shows the first 40");
    }
}

std::string CreditText() {
    if (SpokenLanguage.empty()) return SenderName.empty() ? "Author: Tarnwell" : "Author: " + SenderName;
    // The shipped name is the card's own author's, written as the reader's
    // language writes it; a sender's name stays as it was written.
    const char* const author = "Tarnwell";
    const bool shipped = SenderName.empty() || SenderName == author;
    // TRANSLATORS: the credit in the corner; {name} is the sender's name.
    return FillPlaceholders(Translated("credit", "Author: {name}"),
                            {{"{name}", shipped ? Translated("sender", "Tarnwell") : SenderName}});
}
