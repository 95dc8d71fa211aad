#include "glimmer/resources/FileSystem.h"

#include "glimmer/base/EngineInternal.h"

FileSystem* FS = nullptr;

namespace {

// Error closes whatever file system FS names when the program ends.
struct CloseAtExit {
    CloseAtExit() {
        CloseFileSystemAtExit = [] {
            if (FS) FS->Close();
        };
    }
};
const CloseAtExit closeAtExit;

}  // namespace
