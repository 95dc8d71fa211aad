#pragma once

// The Glimmer engine's whole programming interface.
//
// Calling order for an application: GlimmerInitEngine(config file), then its
// own set-up (objects created through GDT, RegisterFrameFunction, optionally
// SDL_SetEventFilter), then RunGlimmerEngine(), which never returns.

#include <SDL/SDL.h>
#include <SDL/SDL_ttf.h>

#include "engine/core/CInput.h"
#include "engine/core/Config.h"
#include "engine/core/DebugLog.h"
#include "engine/core/Engine.h"
#include "engine/core/Error.h"
#include "engine/core/FrameDamage.h"
#include "engine/core/Mouse.h"
#include "engine/core/Video.h"
#include "engine/graphics/CFont.h"
#include "engine/graphics/CText.h"
#include "engine/graphics/GObject.h"
#include "engine/graphics/Sprite.h"
#include "engine/registry/DTable.h"
#include "engine/registry/Descriptor.h"
#include "engine/resources/CCategory.h"
#include "engine/resources/CItem.h"
#include "engine/resources/Catalog.h"
#include "engine/resources/FileSystem.h"
#include "engine/resources/NativeFileSystem.h"
#include "engine/ui/Button.h"
#include "engine/ui/Window.h"
