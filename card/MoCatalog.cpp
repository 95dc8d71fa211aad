#include "card/MoCatalog.h"

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

constexpr long CatalogBytesMax = 4 * 1024 * 1024;

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

// A recursive-descent reader of the plural expression; any fault makes the
// whole value 0, which every catalog's rule maps to its first form.
class RuleReader {
public:
    RuleReader(const std::string& rule, unsigned long n) : text_(rule), n_(n) {}

    unsigned long Value() {
        const unsigned long value = Conditional();
        Blanks();
        return ok_ && at_ == text_.size() ? value : 0;
    }

private:
    void Blanks() {
        while (at_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[at_]))) ++at_;
    }
    bool Take(const char* token) {
        Blanks();
        const size_t length = std::strlen(token);
        if (text_.compare(at_, length, token) != 0) return false;
        // "<" is not the start of "<=", nor "!" of "!=".
        if (length == 1 && at_ + 1 < text_.size() && text_[at_ + 1] == '=' && std::strchr("<>!=", token[0]))
            return false;
        at_ += length;
        return true;
    }
    unsigned long Conditional() {
        const unsigned long test = Or();
        if (!Take("?")) return test;
        const unsigned long yes = Conditional();
        if (!Take(":")) ok_ = false;
        const unsigned long no = Conditional();
        return test ? yes : no;
    }
    unsigned long Or() {
        unsigned long value = And();
        while (Take("||")) value = (And() != 0) | (value != 0);
        return value;
    }
    unsigned long And() {
        unsigned long value = Equality();
        while (Take("&&")) value = (Equality() != 0) & (value != 0);
        return value;
    }
    unsigned long Equality() {
        unsigned long value = Relation();
        for (;;) {
            if (Take("==")) value = value == Relation();
            else if (Take("!=")) value = value != Relation();
            else return value;
        }
    }
    unsigned long Relation() {
        unsigned long value = Sum();
        for (;;) {
            if (Take("<=")) value = value <= Sum();
            else if (Take(">=")) value = value >= Sum();
            else if (Take("<")) value = value < Sum();
            else if (Take(">")) value = value > Sum();
            else return value;
        }
    }
    unsigned long Sum() {
        unsigned long value = Product();
        for (;;) {
            if (Take("+")) value += Product();
            else if (Take("-")) value -= Product();
            else return value;
        }
    }
    unsigned long Product() {
        unsigned long value = Unary();
        for (;;) {
            const bool multiply = Take("*");
            const bool divide = !multiply && Take("/");
            const bool modulo = !multiply && !divide && Take("%");
            if (!multiply && !divide && !modulo) return value;
            const unsigned long right = Unary();
            if ((divide || modulo) && right == 0) {
                ok_ = false;
                return 0;
            }
            value = multiply ? value * right : divide ? value / right : value % right;
        }
    }
    unsigned long Unary() {
        if (Take("!")) return !Unary();
        Blanks();
        if (at_ < text_.size() && text_[at_] == 'n') {
            ++at_;
            return n_;
        }
        if (Take("(")) {
            const unsigned long value = Conditional();
            if (!Take(")")) ok_ = false;
            return value;
        }
        if (at_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[at_]))) {
            unsigned long value = 0;
            while (at_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[at_])))
                value = value * 10 + static_cast<unsigned long>(text_[at_++] - '0');
            return value;
        }
        ok_ = false;
        return 0;
    }

    const std::string& text_;
    const unsigned long n_;
    size_t at_ = 0;
    bool ok_ = true;
};

// The value after "key" in the catalog header's Plural-Forms line.
std::string HeaderField(const std::string& header, const char* key) {
    const size_t line = header.find("Plural-Forms:");
    if (line == std::string::npos) return std::string();
    const size_t end = header.find('\n', line);
    const std::string forms = header.substr(line, end == std::string::npos ? std::string::npos : end - line);
    const size_t at = forms.find(key);
    if (at == std::string::npos) return std::string();
    const size_t start = at + std::strlen(key);
    const size_t stop = forms.find(';', start);
    return forms.substr(start, stop == std::string::npos ? std::string::npos : stop - start);
}

}  // namespace

unsigned long EvaluatePluralRule(const std::string& rule, unsigned long n) { return RuleReader(rule, n).Value(); }

bool MoCatalog::Load(const std::string& path) {
    entries_.clear();
    rule_.clear();
    forms_ = 2;
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) return false;
    std::string data;
    char chunk[16384];
    for (size_t got; (got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0;) {
        data.append(chunk, got);
        if (static_cast<long>(data.size()) > CatalogBytesMax) return false;
    }
    if (data.size() < 28) return false;
    const auto word = [&](size_t at, bool swapped) {
        std::uint32_t v = 0;
        std::memcpy(&v, data.data() + at, 4);
        return swapped ? (v >> 24) | ((v >> 8) & 0xFF00) | ((v << 8) & 0xFF0000) | (v << 24) : v;
    };
    const std::uint32_t magic = word(0, false);
    const bool swapped = magic == 0xDE120495u;
    if (!swapped && magic != 0x950412DEu) return false;
    const std::uint32_t count = word(8, swapped);
    const std::uint32_t originals = word(12, swapped);
    const std::uint32_t translations = word(16, swapped);
    const auto tableFits = [&](std::uint32_t table) {
        return table <= data.size() && count <= (data.size() - table) / 8;
    };
    if (!tableFits(originals) || !tableFits(translations)) return false;
    const auto string = [&](std::uint32_t table, std::uint32_t i, std::string& out) {
        const std::uint32_t length = word(table + 8 * i, swapped);
        const std::uint32_t offset = word(table + 8 * i + 4, swapped);
        if (offset > data.size() || length >= data.size() - offset) return false;
        out.assign(data, offset, length);
        return true;
    };
    for (std::uint32_t i = 0; i < count; ++i) {
        std::string original, translation;
        if (!string(originals, i, original) || !string(translations, i, translation)) {
            entries_.clear();
            return false;
        }
        // A plural entry's key is its singular, before the '\0'.
        entries_[original.substr(0, original.find('\0'))] = translation;
    }
    const auto header = entries_.find("");
    if (header != entries_.end()) {
        rule_ = HeaderField(header->second, "plural=");
        const unsigned long forms = std::strtoul(HeaderField(header->second, "nplurals=").c_str(), nullptr, 10);
        if (forms > 0) forms_ = forms;
    }
    return true;
}

const char* MoCatalog::Text(const char* text) const {
    const auto found = entries_.find(text);
    return found == entries_.end() ? text : found->second.c_str();
}

const char* MoCatalog::Plural(const char* singular, const char* plural, unsigned long n) const {
    const auto found = entries_.find(singular);
    if (found == entries_.end() || rule_.empty()) return n == 1 ? singular : plural;
    unsigned long form = EvaluatePluralRule(rule_, n);
    if (form >= forms_) form = 0;
    const std::string& forms = found->second;
    size_t start = 0;
    for (unsigned long i = 0; i < form; ++i) {
        start = forms.find('\0', start);
        if (start == std::string::npos) return n == 1 ? singular : plural;
        ++start;
    }
    return forms.c_str() + start;
}
