// Texture state of a context (`gc->texture`): the texture manager, texture
// objects, their names and the environments.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "core/calling.h"
#include "core/gl_defs.h"
#include "geometry/s_vertex.h"

struct GlContext;
struct GlNamesArray;
struct GlTextureLevel;

// Target indices used throughout the texture code.
#define __GL_TEXTURE_1D_INDEX 0
#define __GL_TEXTURE_2D_INDEX 1
#define __GL_PROXY_TEXTURE_1D_INDEX 2
#define __GL_PROXY_TEXTURE_2D_INDEX 3
#define __GL_NUM_TEXTURE_TARGETS 4

// A texture manager, shared by the contexts of a share group. Device
// managers begin with these three words and add their own behind them.
typedef struct GlTextureManager {
  int32_t refcount;  // contexts holding it
  // Drops gc's reference (freeing the manager at zero) and clears
  // gc->texture.manager.
  void (*release)(GlContext *gc);
  // Makes every object drop the storage the device holds for it.
  void (*invalidateAll)(GlContext *gc, GlTextureManager *manager);
} GlTextureManager;

static_assert(offsetof(GlTextureManager, release) == 4 &&
                  offsetof(GlTextureManager, invalidateAll) == 8,
              "device managers extend this record");

typedef struct GlTextureNamePriority {
  GLuint name;  // 0 for a default object
  GLfloat priority;
} GlTextureNamePriority;

// The leading fields of a texture object, in their fixed order; the level,
// residency and picked procedures follow `free` when texture images arrive.
// Device managers make larger records that begin with the same layout.
typedef struct GlTextureObject {
  // 1 for the name array's entry (a default object's own), 1 per target
  // binding, 1 per lock through the name manager.
  int32_t refcount;
  GlContext *owner;
  GLenum wrapS, wrapT;
  GLenum minFilter, magFilter;
  GLfloat borderColor[4];
  GlTextureNamePriority texobjs;
  int32_t chainLength;
  GlTextureLevel **levels;
  // Releases the object once its count is 0 (the manager's).
  void (*free)(GlContext *gc, GlTextureObject *tex);
} GlTextureObject;

static_assert(offsetof(GlTextureObject, owner) == 4 && offsetof(GlTextureObject, wrapS) == 8 &&
                  offsetof(GlTextureObject, borderColor) == 24 &&
                  offsetof(GlTextureObject, texobjs) == 40 &&
                  offsetof(GlTextureObject, chainLength) == 48 &&
                  offsetof(GlTextureObject, levels) == 52 && offsetof(GlTextureObject, free) == 56,
              "device managers extend this record");

typedef struct GlTextureEnv {
  GLenum mode;
  GlColor color;  // in frame-buffer units
} GlTextureEnv;

typedef struct GlTextureMachine {
  GlTextureManager *manager;
  GlTextureObject *bound[__GL_NUM_TEXTURE_TARGETS];
  GlTextureObject *defaults[__GL_NUM_TEXTURE_TARGETS];  // the objects of name 0
  GlTextureObject *current;  // the texture the pickers use, or none
  uint8_t active;            // 1 exactly when there is a current texture
  // The texture-object names (the name array of type GL_NAMES_TEXOBJ),
  // shared between contexts.
  GlNamesArray *shared;
  // The manager's constructor of texture objects.
  GlTextureObject *(*createTexture)(GlContext *gc, GLuint name, int32_t targetIndex);
  GlTextureEnv *env;  // constants.numberOfTextureEnvs of them
} GlTextureMachine;

// Early initialisation: the device's texture manager (the generic one when
// there is no device), the limits (numberOfTextures 4, maxTextureSize 1024),
// the environments and the texture-object names unless the context shares
// them. False when an allocation fails; __glFreeTextureState then releases
// what was taken.
GLbool8 __glEarlyInitTextureState(GlContext *gc);
// The texture defaults of the soft reset.
void __glInitTextureState(GlContext *gc);
// Releases everything the early initialisation took; safe after a failed
// one.
void __glFreeTextureState(GlContext *gc);
// The name manager's release procedure for texture objects: drops one
// reference and frees the object through its own free procedure at zero.
void __glDisposeTexObj(GlContext *gc, void *texobj);

// The generic texture manager's initialiser, for devices that use it: a new
// manager with one reference in gc->texture.manager. False when it cannot be
// allocated.
GLbool8 __glInitTextureManager(GlContext *gc);
void __glReleaseTextureManager(GlContext *gc);
void __glInvalidateTextureAll(GlContext *gc, GlTextureManager *manager);
// gc gives up its texture objects (or manager) and takes share's; nothing
// changes when share has none.
void __glShareTextureObjects(GlContext *gc, GlContext *share);
void __glShareTextureManager(GlContext *gc, GlContext *share);
