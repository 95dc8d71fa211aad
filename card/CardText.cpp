#include "card/CardText.h"

#include <cstdio>
#include <cstring>

#include "card/CardLanguage.h"
#include "glimmer/resources/FileSystem.h"

char TextLines[CardTextLinesMax][CardTextLineSize];
Uint32 LineCount = 0;
bool ShippedGreetings = false;

namespace {

// The lines of the shipped data/txt/txt.txt, in its order.
const char* const Shipped[] = {
    N_("С Новым годом!"),
    N_("Пусть снег укроет все вчерашние печали"),
    N_("Тёплого дома и светлых окон в долгие ночи"),
    N_("Пусть каждая снежинка принесёт удачу"),
    N_("Happy New Year!"),
    N_("Здоровья, смеха и верных друзей рядом"),
    N_("Пусть ёлка пахнет детством, а чай — мёдом"),
    N_("May your windows glow warm all winter long"),
    N_("Чудес, которые сбываются без спроса"),
    N_("Пусть год будет щедрым на добрые встречи"),
    N_("Wishing you light, laughter and good company"),
    N_("Тихих снегопадов и шумных праздников"),
    N_("Пусть сбудется всё, что загадано в полночь"),
    N_("С праздником, дорогие мои!"),
};

bool IsShipped() {
    if (LineCount != sizeof Shipped / sizeof Shipped[0]) return false;
    for (Uint32 i = 0; i < LineCount; ++i) {
        if (std::strcmp(TextLines[i], Shipped[i]) != 0) return false;
    }
    return true;
}

}  // namespace

void LoadCardText(const char* path) {
    LineCount = 0;
    ShippedGreetings = false;
    if (!FS) return;
    std::FILE* f = FS->Fopen(path, "rt");
    if (!f) return;
    while (!FS->Feof(f) && LineCount < CardTextLinesMax) {
        char* entry = TextLines[LineCount];
        entry[0] = '\0';
        // A read that meets the end at once leaves the entry empty; it still
        // counts, like the empty entry after a final line feed.
        if (!FS->Fgets(entry, 512, f)) entry[0] = '\0';
        size_t length = std::strlen(entry);
        if (length > 0 && entry[length - 1] == '\n') {
            entry[--length] = '\0';
            // Text written on Windows keeps its carriage return on a host
            // whose text mode does not remove it.
            if (length > 0 && entry[length - 1] == '\r') entry[--length] = '\0';
        }
        ++LineCount;
    }
    FS->Fclose(f);
    ShippedGreetings = IsShipped();
}

const char* GreetingText(unsigned int entry) {
    if (entry >= CardTextLinesMax || TextLines[entry][0] == '\0') return " ";
    return ShippedGreetings ? TranslatedLine(TextLines[entry]) : TextLines[entry];
}
