#include "card/CardLink.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "card/CardSender.h"
#include "card/CardSettings.h"
#include "card/CardText.h"

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// '+' is a blank and %XX a byte; false for a '%' without two hex digits.
bool Unescape(const std::string& text, std::string& out) {
    out.clear();
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '+') {
            out += ' ';
        } else if (text[i] != '%') {
            out += text[i];
        } else {
            const int high = i + 2 < text.size() ? HexDigit(text[i + 1]) : -1;
            const int low = high >= 0 ? HexDigit(text[i + 2]) : -1;
            if (low < 0) return false;
            out += static_cast<char>(high * 16 + low);
            i += 2;
        }
    }
    return true;
}

bool AllDigits(const std::string& text, size_t most) {
    return !text.empty() && text.size() <= most && text.find_first_not_of("0123456789") == std::string::npos;
}

// A language tag as browsers give it: two or three letters, optionally a
// region or script after '-' or '_'.
bool LanguageTag(const std::string& text) {
    size_t letters = 0;
    while (letters < text.size() && std::isalpha(static_cast<unsigned char>(text[letters]))) ++letters;
    if (letters < 2 || letters > 3) return false;
    if (letters == text.size()) return true;
    if (text[letters] != '-' && text[letters] != '_') return false;
    const std::string rest = text.substr(letters + 1);
    if (rest.size() < 2 || rest.size() > 8) return false;
    for (char c : rest)
        if (!std::isalnum(static_cast<unsigned char>(c))) return false;
    return true;
}

void ReadField(CardLink& link, const std::string& key, const std::string& value) {
    const auto note = [&](const std::string& what) { link.notes.push_back(key + ": " + what); };
    if (key == "from") {
        bool cut = false;
        if (!CleanSenderName(value, link.name, cut)) {
            note("not UTF-8 text; ignored");
            return;
        }
        if (cut) note("longer than 40 characters; the card shows the first 40");
        link.hasName = true;
    } else if (key == "line") {
        if (link.lines.size() == CardTextLinesMax)
            note("more than 500 lines; the rest are ignored");
        else if (value.size() > CardTextLineSize - 2)
            note("a line longer than 511 bytes; ignored");
        else if (!IsPlainText(value))
            note("a line that is not UTF-8 text; ignored");
        else
            link.lines.push_back(value);
    } else if (key == "year") {
        int year = 0;
        if (!ReadNewYearWord(value.c_str(), year) || value.size() != std::strlen(value.c_str())) {
            note("\"" + value.substr(0, 16) + "\" is neither nearest nor a year from 1 to 9999; ignored");
            return;
        }
        link.hasYear = true;
        link.year = year;
    } else if (key == "snow") {
        if (!AllDigits(value, 2)) {
            note("not a number from 0 to " + std::to_string(CardLinkSnowMax) + "; ignored");
            return;
        }
        link.hasSnow = true;
        link.snow = std::stoi(value);
    } else if (key == "lang") {
        if (!LanguageTag(value)) {
            note("not a language code; ignored");
            return;
        }
        link.language = value;
    } else {
        link.notes.push_back("unknown key \"" + key.substr(0, 16) + "\"; ignored");
    }
}

}  // namespace

CardLink ReadCardLink(const std::string& fragment) {
    CardLink link;
    if (fragment.size() > CardLinkBytesMax) {
        link.notes.push_back("the link is longer than " + std::to_string(CardLinkBytesMax) +
                             " characters; the shipped card is shown");
        return link;
    }
    size_t start = 0;
    while (start <= fragment.size()) {
        size_t end = fragment.find('&', start);
        if (end == std::string::npos) end = fragment.size();
        const std::string field = fragment.substr(start, end - start);
        start = end + 1;
        if (field.empty()) continue;
        const size_t equals = field.find('=');
        std::string key, value;
        if (!Unescape(field.substr(0, equals), key) ||
            (equals != std::string::npos && !Unescape(field.substr(equals + 1), value))) {
            link.notes.push_back("a field with a broken %-escape; ignored");
            continue;
        }
        ReadField(link, key, value);
    }
    return link;
}

void ApplyCardLink(const CardLink& link) {
    for (const std::string& note : link.notes) std::fprintf(stderr, "solvanewin: link: %s\n", note.c_str());
    if (link.hasName) SenderName = link.name;
    if (!link.lines.empty()) {
        LineCount = 0;
        for (const std::string& line : link.lines) {
            std::memcpy(TextLines[LineCount], line.c_str(), line.size() + 1);
            ++LineCount;
        }
    }
    if (link.hasYear) NewYear = link.year;
    if (link.hasSnow) SnowNum = link.snow;
    std::string taken;
    if (link.hasName) taken += ", name \"" + link.name + "\"";
    if (!link.lines.empty()) taken += ", lines " + std::to_string(link.lines.size());
    if (link.hasYear) taken += ", year " + (link.year == NewYearNearest ? std::string("nearest") : std::to_string(link.year));
    if (link.hasSnow) taken += ", snow " + std::to_string(link.snow);
    if (!link.language.empty()) taken += ", language " + link.language;
    if (!taken.empty()) std::fprintf(stderr, "solvanewin: link: the card takes%s\n", taken.c_str() + 1);
}
