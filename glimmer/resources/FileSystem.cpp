#include "glimmer/resources/FileSystem.h"

FileSystem* FS = nullptr;
