#include "engine/resources/FileSystem.h"

FileSystem* FS = nullptr;
