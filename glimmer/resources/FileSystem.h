#pragma once

#include <cstdio>

// Abstract access to the engine's data files; the engine reaches it through FS.
class FileSystem {
public:
    virtual void Open(const char* root) = 0;
    virtual void Close() = 0;
    virtual FILE* Fopen(const char* name, const char* mode) = 0;
    virtual void Fclose(FILE* stream) = 0;
    virtual unsigned int Fread(void* buffer, unsigned int size, unsigned int count, FILE* stream) = 0;
    virtual unsigned int Fwrite(void* buffer, unsigned int size, unsigned int count, FILE* stream) = 0;
    virtual unsigned int ReadFile(void* buffer, unsigned int maximum, const char* name) = 0;
    virtual unsigned int WriteFile(void* buffer, unsigned int length, const char* name) = 0;
    virtual int Fseek(FILE* stream, long offset, int origin) = 0;
    virtual long Ftell(FILE* stream) = 0;
    virtual int Fscanf(FILE* stream, const char* format, void* target) = 0;
    virtual char* Fgets(char* buffer, int size, FILE* stream) = 0;
    virtual int Fgetc(FILE* stream) = 0;
    virtual unsigned int Feof(FILE* stream) = 0;

protected:
    ~FileSystem() = default;
};

// Created by Config::Process and never deleted; null before that.
extern FileSystem* FS;
