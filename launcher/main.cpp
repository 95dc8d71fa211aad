#include <cstring>

#include "launcher/StartCard.h"

namespace {

// A lowercase t anywhere in the arguments means "do not start" (an uppercase
// T does not count). The program's own name is not an argument.
bool SuppressesStart(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (argv[i] != nullptr && std::strchr(argv[i], 't') != nullptr) {
            return true;
        }
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (SuppressesStart(argc, argv)) {
        return 0;
    }
    StartCard(CardFolder(argc > 0 ? argv[0] : nullptr));
    return 0;
}
