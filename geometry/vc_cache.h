// Vertex-cache state of a context (`gc->vcache`): immediate-mode vertices
// gathered in the batch buffer and drawn in batches through the array
// drawing procedures. Generated code reads this record by offset.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "core/gl_defs.h"
#include "geometry/s_varray.h"

struct GlContext;
struct GlVertex;

// Copies the current attributes the state needs into a new cached vertex.
typedef void (*GlVcacheSaveProc)(GlContext *gc, GlVertex *v);
// Processes the cache: how = 2 when it is full and the primitive goes on,
// 1 at glEnd.
typedef void (*GlVcacheProcessProc)(GlContext *gc, int32_t how);

// How a cache is processed.
#define __GL_VC_FULL 2
#define __GL_VC_END 1

// Bits of `flags`.
#define __GL_VC_LOOP_CONTINUED 0x1u
#define __GL_VC_POLYGON_CONTINUED 0x2u
#define __GL_VC_MATERIAL_VALIDATED 0x8u

// Bits of `sizeMask`.
#define __GL_VC_SIZE2 0x1u
#define __GL_VC_SIZE3 0x2u
#define __GL_VC_SIZE4 0x4u

#define __GL_VC_MAXSIZE 36

typedef struct GlVertexCacheMachine {
  GlVertex *vertices;  // the batch buffer of the vertex-array state
  int32_t vertexCount;
  int32_t vertexIncrement;  // 1 between the cache's glBegin and glEnd
  uint32_t flags;
  uint8_t enabled;
  // Set by the immediate colour and index entries; cleared by the cache's
  // glBegin.
  uint8_t colorChanged;
  GLenum mode;
  int32_t validatedCount;  // vertices at the front lit for a material change
  uint32_t sizeMask;
  GlVcacheSaveProc save;
  GlCompileProc compile[3];  // vertex sizes 2, 3, 4
  GlVcacheProcessProc process[10];
  GlVcacheProcessProc processMode[10];
} GlVertexCacheMachine;

static_assert(offsetof(GlVertexCacheMachine, vertexCount) == 4, "vertex-cache layout");
static_assert(offsetof(GlVertexCacheMachine, vertexIncrement) == 8, "vertex-cache layout");
static_assert(offsetof(GlVertexCacheMachine, flags) == 12, "vertex-cache layout");
static_assert(offsetof(GlVertexCacheMachine, enabled) == 16, "vertex-cache layout");
static_assert(offsetof(GlVertexCacheMachine, mode) == 20, "vertex-cache layout");
static_assert(offsetof(GlVertexCacheMachine, validatedCount) == 24, "vertex-cache layout");
static_assert(offsetof(GlVertexCacheMachine, sizeMask) == 28, "vertex-cache layout");
static_assert(offsetof(GlVertexCacheMachine, save) == 32, "vertex-cache layout");
static_assert(offsetof(GlVertexCacheMachine, compile) == 36, "vertex-cache layout");
static_assert(offsetof(GlVertexCacheMachine, process) == 48, "vertex-cache layout");
static_assert(offsetof(GlVertexCacheMachine, processMode) == 88, "vertex-cache layout");
static_assert(sizeof(GlVertexCacheMachine) == 128, "vertex-cache layout");

// The process-wide switch "__GL_DISABLE_OG_VCACHE": generated compiles off.
extern uint8_t __glDisableOgVcache;

void __glInitVertexCacheState(GlContext *gc);
void __glFreeVertexCacheState(GlContext *gc);
// Run by the vertex picker while the cache is on: the five entries of the
// immediate table in force, the material validator, the compiles and the
// save procedure.
void __glPickVcacheProcs(GlContext *gc);
void __glMatValidateVcache(GlContext *gc);
void __glProcessVertexCacheLock(GlContext *gc, int32_t how);

// Indexed 1-7 by 0x1 normal, 0x2 colour or index, 0x4 texture coordinates.
extern const GlVcacheSaveProc RGBSaveProcs[8];
extern const GlVcacheSaveProc CISaveProcs[8];
// The processors in mode order.
extern const GlVcacheProcessProc __glProcessCacheProcs2[10];

void __glVCSaveN(GlContext *gc, GlVertex *v);
void __glVCSaveC(GlContext *gc, GlVertex *v);
void __glVCSaveCI(GlContext *gc, GlVertex *v);
void __glVCSaveNC(GlContext *gc, GlVertex *v);
void __glVCSaveNCI(GlContext *gc, GlVertex *v);
void __glVCSaveT(GlContext *gc, GlVertex *v);
void __glVCSaveNT(GlContext *gc, GlVertex *v);
void __glVCSaveCT(GlContext *gc, GlVertex *v);
void __glVCSaveCIT(GlContext *gc, GlVertex *v);
void __glVCSaveCAll(GlContext *gc, GlVertex *v);
void __glVCSaveCIAll(GlContext *gc, GlVertex *v);
