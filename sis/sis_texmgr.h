// The DirectDraw texture manager: texture objects and levels with a video
// memory tail, a square DirectDraw surface (with its mipmap chain) per
// resident texture, the active list that eviction walks, and the surface
// formats with the copies that expand each storage format into 32-bit
// texels.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "core/calling.h"
#include "core/context.h"
#include "pixels/px_texture.h"
#include "platform/ddraw.h"
#include "sis/sis_context.h"

struct GlDDrawTextureObject;
struct GlDDrawTextureLevel;

// Converts the rectangle (x, y, w, h) of the level's texels into its surface
// memory, recorded at lock time.
typedef void (*GlDDrawCopyProc)(GlDDrawTextureObject *tex, GlDDrawTextureLevel *level, GLint x,
                                GLint y, GLint w, GLint h);

// A surface format with the copies into it.
typedef struct GlDDrawTexFormat {
  GlDDrawCopyProc squareCopy;
  GlDDrawCopyProc copy;
  DDPIXELFORMAT format;
} GlDDrawTexFormat;

static_assert(sizeof(GlDDrawTexFormat) == 40, "a surface format row is 40 bytes");

// A texture object of this manager: the generic record, then its tail.
typedef struct GlDDrawTextureObject {
  GlTextureObject base;
  GLfloat priority;  // 0.0; the active list's sentinel has -1.0
  LPDIRECTDRAWSURFACE surface;  // the top of the chain, or none
  GlDDrawTextureObject *nextRegistered;
  GlDDrawTextureObject *nextActive, *prevActive;
} GlDDrawTextureObject;

static_assert(offsetof(GlDDrawTextureObject, base) == 0 &&
                  offsetof(GlDDrawTextureObject, priority) == sizeof(GlTextureObject) &&
                  offsetof(GlDDrawTextureObject, prevActive) == sizeof(GlTextureObject) + 16,
              "the tail follows the generic record");

// A level of this manager: the generic record, then its tail.
typedef struct GlDDrawTextureLevel {
  GlTextureLevel base;
  LPDIRECTDRAWSURFACE surface;  // this level's surface of the chain
  uint8_t *address;             // its memory as of the last lock
  int32_t pitch;                // its row pitch in bytes as of the last lock
  int32_t bytesPerTexel;        // of the surface: 4
  GlDDrawCopyProc squareCopy;
  GlDDrawCopyProc copy;
  // Where the level lies in its square surface; set by the square copy,
  // read by nothing in this driver.
  GLfloat sScale, tScale;
} GlDDrawTextureLevel;

static_assert(offsetof(GlDDrawTextureLevel, base) == 0 &&
                  offsetof(GlDDrawTextureLevel, surface) == sizeof(GlTextureLevel),
              "the tail follows the generic record");

// The manager record, shared by the contexts of a share group.
typedef struct GlDDrawTextureManager {
  GlTextureManager base;  // refcount, release, invalidate-all
  const GlDDrawTexFormat *(*lookup)(int32_t id);
  LPDIRECTDRAW ddraw;
  GlDDrawTextureObject *textures;  // every object made through it, newest first
  GlDDrawTextureObject *sentinel;  // head of the active list
} GlDDrawTextureManager;

static_assert(sizeof(GlDDrawTextureManager) == 7 * 4, "the manager is seven words");

// ---- The manager ----------------------------------------------------------------------
// A reference to a manager in gc->texture.manager: a new one (with the
// DirectDraw object and the active list's sentinel) unless gc already
// holds one. False when it cannot be made.
GLbool8 __glDDrawInitTextureManager(GlContext *gc);
// The same with the SiS device's surface formats (the _BGRA8 rows); the
// SiS device's texture-manager slot.
GLbool8 __glSiSDDrawInitTextureManager(GlContext *gc);
void __glDDrawReleaseTextureManager(GlContext *gc);
// Every resident texture gives its surface back and is no longer resident.
void __glDDrawInvalidateTextureAll(GlContext *gc, GlTextureManager *manager);
// The surface format of a storage-format id: plain rows, and the _BGRA8
// rows; none outside 0..14.
const GlDDrawTexFormat *__glLookupDDrawTextureFormat(int32_t id);
const GlDDrawTexFormat *__glSiSLookupDDrawTextureFormat(int32_t id);

// ---- Texture objects ---------------------------------------------------------------------
GlTextureObject *__glDDrawCreateTexture(GlContext *gc, GLuint name, int32_t targetIndex);
void __glDDrawFreeTexture(GlContext *gc, GlTextureObject *tex);
uint8_t *__glDDrawTextureCreateLevel(GlContext *gc, GlTextureObject *tex, GLint level,
                                     GLenum internalFormat, GLint width, GLint height,
                                     GLint depth, GLint border, GLint dim);
void __glDDrawTextureDeleteLevel(GlContext *gc, GlTextureObject *tex, GLint level);
// Gives the texture a surface holding every level it samples; false when
// DirectDraw fails (the texture is then not resident).
GLbool8 __glDDrawTextureMakeResident(GlContext *gc, GlTextureObject *tex, uint32_t flag);
void __glDDrawTextureRemoveResident(GlContext *gc, GlTextureObject *tex);

// ---- The active list ----------------------------------------------------------------------
namespace ddtex {
// Links the texture in at the tail; false for a priority below -1.
bool InsertActive(GlDDrawTextureManager *m, GlDDrawTextureObject *tex);
// Unlinks the texture; false when it is not in the list.
bool TexMgrRemoveActive(GlDDrawTextureManager *m, GlDDrawTextureObject *tex);
// Evicts the tail (the texture inserted last); false when the list is empty.
bool MakeResidentRemoveActive(GlContext *gc, GlDDrawTextureManager *m);
// Gives the texture's surface back once the chip is idle; false when
// someone else still holds it.
bool ReleaseActiveTexture(GlContext *gc, GlDDrawTextureObject *tex);
// Out of the list, surface released, not resident; false when the surface
// could not be released.
bool RemoveResidency(GlContext *gc, GlDDrawTextureObject *tex);
}  // namespace ddtex

// The manager of gc's share group; none when gc holds no manager of this
// kind.
inline GlDDrawTextureManager *__glDDrawManager(GlContext *gc) {
  GlTextureManager *m = gc->texture.manager;
  if (m == nullptr || m->release != __glDDrawReleaseTextureManager) return nullptr;
  return reinterpret_cast<GlDDrawTextureManager *>(m);
}

// ---- Surface formats and level copies ---------------------------------------------------
// Every storage-format id with its plain row (memory bytes R, G, B, A) and
// its _BGRA8 row (A, R, G, B from the top byte down), and the conversion
// both share.
#define __GL_DDRAW_TEX_ROWS(X)                  \
  X(0, L, L_BGRA8, Luminance)                   \
  X(1, LA, LA_BGRA8, LuminanceAlpha)            \
  X(2, RGB, RGB8_BGRA8, Rgb)                    \
  X(3, RGB332, RGB332_BGRA8, Rgb332)            \
  X(4, RGB5, RGB5_BGRA8, Rgb5)                  \
  X(5, RGB565, RGB565_BGRA8, Rgb565)            \
  X(6, RGBA, RGBA8_BGRA8, Rgba)                 \
  X(7, RGBA4, RGBA4_BGRA8, Rgba4)               \
  X(8, ARGB4, ARGB4_BGRA8, Argb4)               \
  X(9, RGB5A1, RGB5A1_BGRA8, Rgb5A1)            \
  X(10, A1RGB5, A1RGB5_BGRA8, A1Rgb5)           \
  X(11, A, A_BGRA8, Alpha)                      \
  X(12, I, I_BGRA8, Intensity)                  \
  X(13, CI8, CI8_BGRA8, Index8)                 \
  X(14, CI16, CI16_BGRA8, Index16)

#define __GL_DDRAW_DECLARE_ROW(id, plain, bgra, conversion)                                   \
  void __glDDTexMgrCopyActive##plain(GlDDrawTextureObject *tex, GlDDrawTextureLevel *level,   \
                                     GLint x, GLint y, GLint w, GLint h);                     \
  void __glDDTexMgrCopyActive##bgra(GlDDrawTextureObject *tex, GlDDrawTextureLevel *level,    \
                                    GLint x, GLint y, GLint w, GLint h);                      \
  extern const GlDDrawTexFormat &__glDDrawTexFormat##plain;                                   \
  extern const GlDDrawTexFormat &__glDDrawTexFormat##bgra;
__GL_DDRAW_TEX_ROWS(__GL_DDRAW_DECLARE_ROW)
#undef __GL_DDRAW_DECLARE_ROW

#define __GL_DDRAW_TEX_FORMATS 15
// The 15 plain rows by id, then the 15 _BGRA8 rows.
extern const GlDDrawTexFormat __glDDrawTexFormats[2 * __GL_DDRAW_TEX_FORMATS];

// Copies the whole rectangle, then fills the rest of a non-square level's
// square: further copies of it along the direction whose wrap repeats, the
// border colour otherwise. The plain and the _BGRA8 byte order.
void __glDDTexMgrCopyActiveSquare_RGBA8(GlDDrawTextureObject *tex, GlDDrawTextureLevel *level,
                                        GLint x, GLint y, GLint w, GLint h);
void __glDDTexMgrCopyActiveSquare_BGRA8(GlDDrawTextureObject *tex, GlDDrawTextureLevel *level,
                                        GLint x, GLint y, GLint w, GLint h);
