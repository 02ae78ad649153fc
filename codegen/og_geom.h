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

// ---- Array conversion fragments -------------------------------------------------
// The source element is at eax and the record at edi; ebx and ecx are scratch.
// A type's component size in bytes and its normalising scale.
void calc_size_and_scale(uint32_t *size, float *scale, GLenum type);
// One normal or colour component onto the x87 stack: 2c + 1 for signed
// integer types, c for the others.
uint8_t *conv_load(GlContext *gc, uint8_t *cb, OgCode *src, GLenum type, OgCode *temp);
// One coordinate component onto the x87 stack, unscaled.
uint8_t *do_load(GlContext *gc, uint8_t *cb, OgCode *src, GLenum type, OgCode *temp);
// One coordinate element into d0 .. d3; missing components are 0, 0 and 1.
uint8_t *CopyCoord(GlContext *gc, uint8_t *cb, GLenum type, uint32_t size, OgCode *d0,
                   OgCode *d1, OgCode *d2, OgCode *d3);
// One normal into the record's normal.
uint8_t *CopyNormal(GlContext *gc, uint8_t *cb, GLenum type, OgCode *temp);
// One RGBA colour into the record's front colour, through the scratch words
// r, g, b, a, every channel limited to [0, its scale].
uint8_t *CopyColor(GlContext *gc, uint8_t *cb, GLenum type, uint32_t size, OgCode *temp,
                   OgCode *r, OgCode *g, OgCode *b, OgCode *a);
// reg (a float's bit pattern) limited to [0, limit]; a NaN becomes 0.
uint8_t *clamp(GlContext *gc, uint8_t *cb, OgCode *reg, OgCode *limit);
// The factor a component of `type` is multiplied by for a channel of scale
// `channelScale`, in float; for byte and short types the largest component
// reaches the scale exactly.
float __glOgColorFactor(GLenum type, float channelScale);

// ---- The compiled vertex routine ------------------------------------------------
// The routine for vertex size n and `flags` (0x8000: vertex-cache mode, else
// the array validity bits 0x2 and 0x4); null when it could not be made.
// Fastcall (gc, dst, first, count), removing 8 bytes.
void *__glGenerateCompileVcache(GlContext *gc, uint32_t n, uint32_t flags);
// The frustum codes of clip x, y, z, w as the C clip check gives them; the
// routine calls it for every vertex its quick test cannot pass.
uint32_t GLFASTCALL __glOgClipCodes(const GLfloat *clip);
