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
struct GlPixelSpanInfo;
struct GlTexFormat;
struct GlTextureLevel;
struct GlTextureObject;

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

// One filtered texel: the bytes a filter produces for the texture's base
// format (alpha in a; luminance and intensity in r).
typedef struct GlTexel {
  GLubyte r, g, b, a;
} GlTexel;

// Reads the texel at (row, col) of the level's interior as R, G, B, A bytes
// into texel, writing only the bytes its format gives. `unused` is passed as
// 0. Plain cdecl: the fast rasterizer's extraction spanlets call it too.
typedef void (*GlTexelExtractProc)(GlTextureLevel *level, GlTextureObject *tex, int32_t unused,
                                   GLint row, GLint col, GLubyte *texel);

// One mipmap level. Sizes include the border; the "2" sizes exclude it. An
// empty level is all zero with requestedFormat 1.
typedef struct GlTextureLevel {
  GLubyte *image;     // texels, none while the level is empty
  GLubyte *auxImage;  // the copy in the draw buffer's pixel format, made on demand
  int32_t width, height, depth;  // a 1D level has height 2 border + 1
  int32_t area;
  int32_t width2, height2, depth2;
  GLfloat width2f, height2f, depth2f;
  int32_t widthLog2, heightLog2, depthLog2;
  int32_t border;
  GLenum requestedFormat;  // the internal format as asked for
  GLenum baseFormat;
  int32_t texFormatId;
  const GlTexFormat *texFormat;
  int32_t redBits, greenBits, blueBits, alphaBits, luminanceBits, intensityBits;
  // The format's extraction (its bordered form for border 1); a no-op while
  // the level is empty.
  GlTexelExtractProc extract;
} GlTextureLevel;

// Generated code reads the image, the cooked copy and the sizes; the fast
// rasterizer and the device manager read the rest.
static_assert(offsetof(GlTextureLevel, image) == 0 && offsetof(GlTextureLevel, auxImage) == 4 &&
                  offsetof(GlTextureLevel, width) == 8 && offsetof(GlTextureLevel, height) == 12 &&
                  offsetof(GlTextureLevel, depth) == 16 && offsetof(GlTextureLevel, area) == 20 &&
                  offsetof(GlTextureLevel, width2) == 24 &&
                  offsetof(GlTextureLevel, width2f) == 36 &&
                  offsetof(GlTextureLevel, height2f) == 40 &&
                  offsetof(GlTextureLevel, widthLog2) == 48 &&
                  offsetof(GlTextureLevel, heightLog2) == 52 &&
                  offsetof(GlTextureLevel, border) == 60 &&
                  offsetof(GlTextureLevel, baseFormat) == 68 &&
                  offsetof(GlTextureLevel, texFormat) == 76 &&
                  offsetof(GlTextureLevel, extract) == 104 && sizeof(GlTextureLevel) == 108,
              "generated code and device managers read these fields");

// The palette of a colour-index texture; in a new object it is empty with
// internalFormat GL_RGBA.
typedef struct GlColorTable {
  GLenum target;  // GL_TEXTURE_1D or GL_TEXTURE_2D; 0 in proxy objects
  GLubyte *table;
  GLenum internalFormat;
  GLenum type;
  int32_t width;
  int32_t redSize, greenSize, blueSize, alphaSize, luminanceSize, intensitySize;
  GLenum baseFormat;
  int32_t components;
} GlColorTable;

static_assert(sizeof(GlColorTable) == 13 * 4, "the colour table is 13 words");

// Samples the texture at (s, t) and applies the environment to the colour.
// The same type as the context's two fragment-texturing slots.
typedef void (*GlTextureFragmentProc)(GlContext *gc, GlColor *color, GLfloat s, GLfloat t,
                                      GLfloat rho);
// Combines a filtered texel with the fragment colour in place.
typedef void (*GlTextureEnvProc)(GlContext *gc, GlColor *color, const GlTexel *texel);
// Magnification or minification at normalised (s, t); lambda is the level
// value of the mipmap filters.
typedef void (*GlTextureFilterProc)(GlTextureObject *tex, GlTexel *result, GLfloat lambda,
                                    GLfloat s, GLfloat t);
// Nearest or linear sampling of one level at (u, v) in texels.
typedef void (*GlTextureLevelFilterProc)(GlTextureObject *tex, GlTextureLevel *level, GLfloat u,
                                         GLfloat v, GlTexel *result);
// Answers whether the texture is resident; flag is the object's residency
// argument.
typedef GLbool8 (*GlTextureMakeResidentProc)(GlContext *gc, GlTextureObject *tex, uint32_t flag);

// A texture object. The fields up to `free` are the leading ones device
// managers rely on; the rest follow in their fixed order. Device managers
// make larger records that begin with this layout.
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
  // Level pointers, constants.maxMipMapLevel of them.
  GlTextureLevel **levels;
  // Releases the object once its count is 0 (the manager's).
  void (*free)(GlContext *gc, GlTextureObject *tex);
  GlTextureMakeResidentProc makeResident;
  // Called after every change of a level's texels.
  void (*removeResident)(GlContext *gc, GlTextureObject *tex);
  int32_t dim;      // 1 or 2
  int32_t maxLog2;  // the last mipmap level
  // Texturing magnifies while rho is at most this (set by the texture picker).
  GLfloat switchover;
  GlColorTable colorTable;
  // Level 0's base format, or in an RGBA context the colour table's when
  // level 0 holds colour indices (set by the texture picker).
  GLenum baseFormat;
  uint8_t *(*createLevel)(GlContext *gc, GlTextureObject *tex, GLint level, GLenum internalFormat,
                          GLint width, GLint height, GLint depth, GLint border, GLint dim);
  void (*deleteLevel)(GlContext *gc, GlTextureObject *tex, GLint level);
  void (*copyTexImage)(GlContext *gc, GlPixelSpanInfo *info, GlTextureObject *tex, GLint level);
  void (*readTexImage)(GlContext *gc, GlPixelSpanInfo *info, GlTextureObject *tex, GLint level);
  // Picked by the texture picker.
  GlTextureFragmentProc fragment;
  GlTextureEnvProc env;
  GlTextureFilterProc magnify, minify;
  GlTextureLevelFilterProc linear, nearest;
  const GlTexFormat *texFormat;  // of the level defined last
  int32_t targetIndex;
  uint32_t residencyArg;  // passed to makeResident
  // 0 until the manager makes the texture resident; while 0 every
  // validation that finds the texture current asks makeResident again.
  uint32_t resident;
} GlTextureObject;

static_assert(offsetof(GlTextureObject, owner) == 4 && offsetof(GlTextureObject, wrapS) == 8 &&
                  offsetof(GlTextureObject, minFilter) == 16 &&
                  offsetof(GlTextureObject, magFilter) == 20 &&
                  offsetof(GlTextureObject, borderColor) == 24 &&
                  offsetof(GlTextureObject, texobjs) == 40 &&
                  offsetof(GlTextureObject, chainLength) == 48 &&
                  offsetof(GlTextureObject, levels) == 52 && offsetof(GlTextureObject, free) == 56,
              "device managers extend this record");
// The fast rasterizer, the generated texel readers and the device manager
// read these.
static_assert(offsetof(GlTextureObject, makeResident) == 60 &&
                  offsetof(GlTextureObject, removeResident) == 64 &&
                  offsetof(GlTextureObject, dim) == 68 && offsetof(GlTextureObject, maxLog2) == 72 &&
                  offsetof(GlTextureObject, switchover) == 76 &&
                  offsetof(GlTextureObject, colorTable) == 80 &&
                  offsetof(GlTextureObject, colorTable.table) == 84 &&
                  offsetof(GlTextureObject, colorTable.width) == 96 &&
                  offsetof(GlTextureObject, colorTable.baseFormat) == 124 &&
                  offsetof(GlTextureObject, baseFormat) == 132 &&
                  offsetof(GlTextureObject, createLevel) == 136 &&
                  offsetof(GlTextureObject, fragment) == 152 &&
                  offsetof(GlTextureObject, texFormat) == 176 &&
                  offsetof(GlTextureObject, targetIndex) == 180 &&
                  offsetof(GlTextureObject, residencyArg) == 184 &&
                  offsetof(GlTextureObject, resident) == 188 && sizeof(GlTextureObject) == 192,
              "device managers extend this record");

// A target's texture parameters: the eight words the enables picker copies
// into the current texture.
typedef struct GlTextureParams {
  GLenum wrapS, wrapT;
  GLenum minFilter, magFilter;
  GLfloat borderColor[4];  // unscaled
} GlTextureParams;

static_assert(sizeof(GlTextureParams) == 8 * 4, "eight words of parameters");

// The context's copy of a target's parameters and binding.
typedef struct GlTextureTargetState {
  GlTextureParams params;
  GlTextureNamePriority texobjs;
} GlTextureTargetState;

// Texture-coordinate generation of one coordinate.
typedef struct GlTexCoordGen {
  GLenum mode;          // GL_EYE_LINEAR, GL_OBJECT_LINEAR or GL_SPHERE_MAP
  GlCoord eyePlane;     // already times the inverse modelview matrix
  GlCoord objectPlane;
} GlTexCoordGen;

// Indices of texCoordGen.
#define __GL_TEXGEN_S 0
#define __GL_TEXGEN_T 1
#define __GL_TEXGEN_R 2
#define __GL_TEXGEN_Q 3

// Bits of gc->state.enables.texture.
#define __GL_TEXTURE_1D_ENABLE 0x1u
#define __GL_TEXTURE_2D_ENABLE 0x2u
#define __GL_TEXTURE_GEN_S_ENABLE 0x4u
#define __GL_TEXTURE_GEN_T_ENABLE 0x8u
#define __GL_TEXTURE_GEN_R_ENABLE 0x10u
#define __GL_TEXTURE_GEN_Q_ENABLE 0x20u

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
  // The parameters and binding of GL_TEXTURE_1D and GL_TEXTURE_2D, by
  // target index; setters write both these and the bound object.
  GlTextureTargetState targets[2];
  GlTexCoordGen texCoordGen[4];  // s, t, r, q
} GlTextureMachine;

// Early initialisation: the device's texture manager (the generic one when
// there is no device), the limits (numberOfTextures 4, maxTextureSize 1024),
// the environments, the texture-object names unless the context shares
// them, and the four default objects, each bound to its target. False when
// an allocation fails; __glFreeTextureState then releases what was taken.
GLbool8 __glEarlyInitTextureState(GlContext *gc);
// The texture defaults of the soft reset.
void __glInitTextureState(GlContext *gc);
// Binds the default objects again (dropping this context's bindings of
// named ones), frees them and releases everything else the early
// initialisation took; safe after a failed one.
void __glFreeTextureState(GlContext *gc);
// Binds `name` on the target of index `index`: name 0 gives the target's
// default object; a name without an object gets a new one. A name whose
// object belongs to the other dimension records GL_INVALID_OPERATION, and
// an object that cannot be made GL_OUT_OF_MEMORY; the binding then stays.
void __glBindTexture(GlContext *gc, int32_t index, GLuint name);
// False for a name glBindTexture would refuse on the target: one that
// names a texture of the other dimension in gc's names. Records nothing.
GLbool8 __glCanBindTexture(GlContext *gc, int32_t index, GLuint name);
// Makes `tex` (whose binding reference the caller holds, or a default
// object) the bound object of the target: the context's copy goes back into
// the object bound so far, whose binding reference is dropped, and is loaded
// from `tex`.
void __glBindTextureObject(GlContext *gc, int32_t index, GlTextureObject *tex);
// The generic residency rule: every level a filter reads has an image.
GLbool8 IsTextureResident(GlContext *gc, GlTextureObject *tex);
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

// The object bound to GL_TEXTURE_1D, GL_TEXTURE_2D or a proxy target; none
// for any other target (or while nothing is bound).
GlTextureObject *__glLookUpTexture(GlContext *gc, GLenum target);
// The context's parameters of GL_TEXTURE_1D or GL_TEXTURE_2D; none for any
// other target.
GlTextureParams *__glLookUpTextureParams(GlContext *gc, GLenum target);
// The name and priority of GL_TEXTURE_1D or GL_TEXTURE_2D; none for any
// other target.
GlTextureNamePriority *__glLookUpTextureTexobjs(GlContext *gc, GLenum target);
// Copies a target's parameters into the texture object.
void __glLoadTextureParams(GlTextureObject *tex, const GlTextureParams *params);
// Whether the texture can be used as it stands: level 0 defined, the
// format fits the context and the first environment, and every level a
// mipmapping filter reads is defined to match.
GLbool8 __glIsTextureConsistent(GlContext *gc, GlTextureObject *tex);
