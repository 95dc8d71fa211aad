#pragma once

// The Glimmer engine's whole programming interface.
//
// Calling order for an application: GlimmerInitEngine(config file), then its
// own set-up (objects created through GDT, RegisterFrameFunction, optionally
// SDL_SetEventFilter), then RunGlimmerEngine(), which never returns.

#include <SDL/SDL.h>
#include <SDL/SDL_ttf.h>

#include "glimmer/base/Config.h"
#include "glimmer/base/DebugLog.h"
#include "glimmer/base/Error.h"
#include "glimmer/resources/CCategory.h"
#include "glimmer/resources/CItem.h"
#include "glimmer/resources/Catalog.h"
#include "glimmer/resources/FileSystem.h"
#include "glimmer/resources/NativeFileSystem.h"
#include "glimmer/registry/DTable.h"
#include "glimmer/registry/Descriptor.h"
#include "glimmer/graphics/Blitter.h"
#include "glimmer/graphics/CFont.h"
#include "glimmer/graphics/CText.h"
#include "glimmer/graphics/GObject.h"
#include "glimmer/graphics/NoDisplay.h"
#include "glimmer/graphics/Sprite.h"
#include "glimmer/graphics/Video.h"
#include "glimmer/ui/Button.h"
#include "glimmer/ui/Window.h"
#include "glimmer/runtime/CInput.h"
#include "glimmer/runtime/Engine.h"
#include "glimmer/runtime/FrameDamage.h"
#include "glimmer/runtime/Mouse.h"
#include "glimmer/runtime/Signals.h"
