// Texture state of a context (`gc->texture`): texture objects, their names
// and the environments.
#pragma once

#include <stdint.h>

struct GlContext;
struct GlNamesArray;

typedef struct GlTextureMachine {
  // Filled in with the textures.
  GlNamesArray *shared;  // the texture-object names, shared between contexts
} GlTextureMachine;

#include "core/calling.h"

// Early initialisation: the device's texture manager, the limits
// (numberOfTextures 4, maxTextureSize 1024), the environments and the
// texture-object names unless the context shares them. False when an
// allocation fails.
GLbool8 __glEarlyInitTextureState(GlContext *gc);
void __glInitTextureState(GlContext *gc);
void __glFreeTextureState(GlContext *gc);
// The generic texture manager's initialiser, for devices that use it.
GLbool8 __glInitTextureManager(GlContext *gc);
// gc gives up its texture objects (or manager) and takes share's.
void __glShareTextureObjects(GlContext *gc, GlContext *share);
void __glShareTextureManager(GlContext *gc, GlContext *share);
