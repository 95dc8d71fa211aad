#pragma once

#include "glimmer/resources/FileSystem.h"

// Maps every name onto root + "/" + name of the host file system. Without a
// root (never opened, or closed) names are taken relative to the working
// directory.
class NativeFileSystem : public FileSystem {
public:
    char* Root;  // owned copy, or null

    NativeFileSystem();
    ~NativeFileSystem();
    NativeFileSystem(const NativeFileSystem&) = delete;
    NativeFileSystem& operator=(const NativeFileSystem&) = delete;

    void Open(const char* root) override;
    void Close() override;
    FILE* Fopen(const char* name, const char* mode) override;
    void Fclose(FILE* stream) override;
    unsigned int Fread(void* buffer, unsigned int size, unsigned int count, FILE* stream) override;
    unsigned int Fwrite(void* buffer, unsigned int size, unsigned int count, FILE* stream) override;
    unsigned int ReadFile(void* buffer, unsigned int maximum, const char* name) override;
    unsigned int WriteFile(void* buffer, unsigned int length, const char* name) override;
    int Fseek(FILE* stream, long offset, int origin) override;
    long Ftell(FILE* stream) override;
    int Fscanf(FILE* stream, const char* format, void* target) override;
    char* Fgets(char* buffer, int size, FILE* stream) override;
    int Fgetc(FILE* stream) override;
    unsigned int Feof(FILE* stream) override;
};
