// The vertex-processing generator: the triangle-strip drawer of the array
// and vertex-cache paths, the geometry cache of generated vertex routines,
// and the transform and lighting fragments those routines are built from.
#pragma once

#include <stdint.h>

#include "codegen/og_code.h"
#include "codegen/og_work.h"
#include "core/calling.h"
#include "core/gl_defs.h"

struct GlContext;
struct GlMatrix;

// ---- The strip drawer ----------------------------------------------------------
// The generated twin of __glDrawVertexes_Tstrip for the current state, from
// code cache 4; null when it could not be made (the C walk stays in use).
// `indexed` is ignored: the routine serves draws with and without a list.
void *__glGenerateDrawVerticesVcache(GlContext *gc, GLenum mode, GLbool8 indexed);
// The cache-4 key words of the drawer for the current state.
uint32_t __glDrawVerticesKey1(const GlContext *gc);
uint32_t __glDrawVerticesKey2(const GlContext *gc);

// ---- The geometry cache ---------------------------------------------------------
typedef uint32_t (*OgGeomKeyProc)(uint32_t *key, GlContext *gc, uint32_t flags, uint32_t n);
// The key of the compiled vertex routine for (flags, n) in the current state;
// returns its length in bytes.
uint32_t make_key(uint32_t *key, GlContext *gc, uint32_t flags, uint32_t n);
// The cell for (flags, n): *hit = 1 when it holds the routine already, else 0
// and the cell carries the new key for the caller to generate into. A victim
// is never one of the four compile routines now installed.
GlWorkRecord *gimme_space(uint32_t *hit, GlContext *gc, uint32_t flags, uint32_t n,
                          OgGeomKeyProc keyProc);
// The next victim draw, 0 .. 39.
uint32_t __glGeomCacheDraw(GlContext *gc);

// ---- Transform and lighting fragments -------------------------------------------
// Called right after x' is stored when doMatrix is given one.
typedef uint8_t *(*OgMatrixHook)(GlContext *gc, uint8_t *cb, uint32_t arg);
// The point at edx (x, y, z, w; z read as 0 when n = 2, w absent when n < 4)
// times `matrix`, whose address goes to ecx: x', y', z' stored to the three
// destinations (z' not for n = 2 with a diagonal type), w' left on the x87
// stack when it is computed and kept.
uint8_t *doMatrix(GlContext *gc, uint8_t *cb, OgCode *dstX, OgCode *dstY, OgCode *dstZ,
                  uint32_t type, const GlMatrix *matrix, uint32_t n, OgMatrixHook hook,
                  uint32_t hookArg);
// The normal at edx times the upper 3x3 of `matrix` (an inverse transpose).
uint8_t *doNormalMatrix(GlContext *gc, uint8_t *cb, OgCode *dstX, OgCode *dstY, OgCode *dstZ,
                        const GlMatrix *matrix);
// push esi; esi = the vertex array's base `has` word | (bits & 0x9).
uint8_t *set_esi(GlContext *gc, uint8_t *cb, uint32_t bits);
// The vertex fields generated code is to produce; 0 when the front colour is
// needed but lighting cannot be generated.
uint32_t what_needs(GlContext *gc);
// Lighting of the front colour: normal at [esi], record at edi; r, g, b and
// dot are scratch variables. The first three operands are for the normal
// transform, which lighting in object space never needs.
uint8_t *do_light(GlContext *gc, uint8_t *cb, OgCode *nx, OgCode *ny, OgCode *nz, OgCode *r,
                  OgCode *g, OgCode *b, OgCode *dot);
