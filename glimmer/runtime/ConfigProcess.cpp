// Config::Process builds the engine's resources from the settings, so it
// lives above everything it builds; the settings themselves are in base/.
#include "glimmer/base/Config.h"

#include <new>

#include "glimmer/base/Error.h"
#include "glimmer/graphics/CFont.h"
#include "glimmer/registry/DTable.h"
#include "glimmer/resources/Catalog.h"
#include "glimmer/resources/NativeFileSystem.h"

void Config::Process() {
    if (FileSystemType == 0) {
        FS = new (std::nothrow) NativeFileSystem;
        if (!FS) Error(ErrorCode::FileSystemFailed);
    }
    // Without a configured root the native file system resolves names against
    // the working directory.
    if (FS) FS->Open(FileSystemFile);

    if (!TTF.LoadFonts(FontConfigFile)) Error(ErrorCode::FontLoadFailed);

    GDT.CreateDT(GDTsize);
    VCDesc = static_cast<Uint32>(GDT.CreateDescriptor(TypeCatalog, nullptr, VClayers));
    WCDesc = static_cast<Uint32>(GDT.CreateDescriptor(TypeCatalog, nullptr, WClayers));

    Catalog* visible = GetLayerCatalog(VCDesc);
    if (!visible) Error(ErrorCode::NoMemory);
    for (unsigned int i = 0; i < VClayers; ++i)
        if (!(*visible)[i]->Initializing(i, VCCsize)) Error(ErrorCode::NoMemory);

    Catalog* windows = GetLayerCatalog(WCDesc);
    if (!windows) Error(ErrorCode::NoMemory);
    for (unsigned int i = 0; i < WClayers; ++i)
        if (!(*windows)[i]->Initializing(i, WCCsize)) Error(ErrorCode::NoMemory);
}
