#pragma once

#include <cstdio>

// Abstract access to the engine's data files; the engine reaches it through FS.
// Names are relative to the root given to Open. The stream operations behave
// as the C library's do and treat a null stream as a failure.
class FileSystem {
public:
    virtual void Open(const char* root) = 0;  // names are found below root from now on
    virtual void Close() = 0;                  // forgets the root
    virtual FILE* Fopen(const char* name, const char* mode) = 0;  // null when it does not open
    virtual void Fclose(FILE* stream) = 0;  // streams from Fopen are closed here
    virtual unsigned int Fread(void* buffer, unsigned int size, unsigned int count, FILE* stream) = 0;
    virtual unsigned int Fwrite(void* buffer, unsigned int size, unsigned int count, FILE* stream) = 0;
    // Reads up to maximum bytes of a whole file; the bytes read, 0 on failure.
    virtual unsigned int ReadFile(void* buffer, unsigned int maximum, const char* name) = 0;
    // Writes a whole file; length on success, 0 on failure.
    virtual unsigned int WriteFile(void* buffer, unsigned int length, const char* name) = 0;
    virtual int Fseek(FILE* stream, long offset, int origin) = 0;
    virtual long Ftell(FILE* stream) = 0;
    // Reads one value with one conversion of format into target.
    virtual int Fscanf(FILE* stream, const char* format, void* target) = 0;
    virtual char* Fgets(char* buffer, int size, FILE* stream) = 0;
    virtual int Fgetc(FILE* stream) = 0;
    virtual unsigned int Feof(FILE* stream) = 0;

protected:
    ~FileSystem() = default;
};

// Created by Config::Process and never deleted; null before that. Error
// closes it when the program ends.
extern FileSystem* FS;
