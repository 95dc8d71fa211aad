#include "glimmer/resources/NativeFileSystem.h"

#include <cstring>
#include <memory>
#include <new>
#include <ostream>
#include <string>

#include "glimmer/base/EngineInternal.h"
#include "glimmer/base/DebugLog.h"

namespace {

struct FileCloser {
    FileSystem* fs;
    void operator()(FILE* f) const { fs->Fclose(f); }
};
using FileOwner = std::unique_ptr<FILE, FileCloser>;

// Trace lines print a missing root as an empty text rather than a null pointer.
const char* RootText(const char* root) { return root ? root : ""; }

}  // namespace

NativeFileSystem::NativeFileSystem() : Root(nullptr) {}

NativeFileSystem::~NativeFileSystem() { delete[] Root; }

void NativeFileSystem::Open(const char* root) {
    char* copy = CopyText(root);
    delete[] Root;
    Root = copy;
}

void NativeFileSystem::Close() {
    delete[] Root;
    Root = nullptr;
}

// Without a root the name stays as it is, relative to the working directory.
static std::string PathOf(const char* root, const char* name) {
    std::string path;
    if (root) {
        path = root;
        path += '/';
    }
    path += name ? name : "";
    return path;
}

FILE* NativeFileSystem::Fopen(const char* name, const char* mode) {
    DebugLog << "Opening " << (name ? name : "") << " in " << (mode ? mode : "")
             << " in filesystem opened from " << RootText(Root) << std::endl;
    if (!name || !mode) return nullptr;
    return std::fopen(PathOf(Root, name).c_str(), mode);
}

void NativeFileSystem::Fclose(FILE* stream) {
    if (stream) std::fclose(stream);
}

unsigned int NativeFileSystem::Fread(void* buffer, unsigned int size, unsigned int count, FILE* stream) {
    if (!stream) return 0;
    return static_cast<unsigned int>(std::fread(buffer, size, count, stream));
}

unsigned int NativeFileSystem::Fwrite(void* buffer, unsigned int size, unsigned int count, FILE* stream) {
    if (!stream) return 0;
    return static_cast<unsigned int>(std::fwrite(buffer, size, count, stream));
}

unsigned int NativeFileSystem::ReadFile(void* buffer, unsigned int maximum, const char* name) {
    DebugLog << "Read file:" << (name ? name : "") << " in filesystem opened from " << RootText(Root)
             << std::endl;
    if (!name) return 0;
    FileOwner file(std::fopen(PathOf(Root, name).c_str(), "rb"), FileCloser{this});
    if (!file) return 0;
    if (Fseek(file.get(), 0, SEEK_END) != 0) return 0;
    long end = Ftell(file.get());
    if (end <= 0 || Fseek(file.get(), 0, SEEK_SET) != 0) return 0;
    unsigned long length = static_cast<unsigned long>(end);
    if (length > maximum) length = maximum;
    if (length == 0) return 0;
    unsigned int len = static_cast<unsigned int>(length);
    return Fread(buffer, len, 1, file.get()) == 1 ? len : 0;
}

unsigned int NativeFileSystem::WriteFile(void* buffer, unsigned int length, const char* name) {
    DebugLog << "Write file:" << (name ? name : "") << " in filesystem opened from " << RootText(Root)
             << std::endl;
    if (!name) return 0;
    FileOwner file(std::fopen(PathOf(Root, name).c_str(), "wb"), FileCloser{this});
    if (!file) return 0;
    if (length == 0) return 0;
    if (Fwrite(buffer, length, 1, file.get()) != 1) return 0;
    // A write that only fails when the buffer is flushed is still a failure.
    FILE* raw = file.release();
    return std::fclose(raw) == 0 ? length : 0;
}

int NativeFileSystem::Fseek(FILE* stream, long offset, int origin) {
    if (!stream) return -1;
    return std::fseek(stream, offset, origin);
}

long NativeFileSystem::Ftell(FILE* stream) {
    if (!stream) return -1;
    return std::ftell(stream);
}

int NativeFileSystem::Fscanf(FILE* stream, const char* format, void* target) {
    if (!stream || !format) return EOF;
    return std::fscanf(stream, format, target);
}

char* NativeFileSystem::Fgets(char* buffer, int size, FILE* stream) {
    if (!stream || !buffer) return nullptr;
    return std::fgets(buffer, size, stream);
}

int NativeFileSystem::Fgetc(FILE* stream) {
    if (!stream) return EOF;
    return std::fgetc(stream);
}

unsigned int NativeFileSystem::Feof(FILE* stream) {
    if (!stream) return 1;
    return std::feof(stream) ? 1u : 0u;
}
