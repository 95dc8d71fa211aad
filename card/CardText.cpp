#include "card/CardText.h"

#include <cstdio>
#include <cstring>

#include "glimmer/resources/FileSystem.h"

char TextLines[CardTextLinesMax][CardTextLineSize];
Uint32 LineCount = 0;

void LoadCardText(const char* path) {
    LineCount = 0;
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
}

const char* GreetingText(unsigned int entry) {
    if (entry >= CardTextLinesMax || TextLines[entry][0] == '\0') return " ";
    return TextLines[entry];
}
