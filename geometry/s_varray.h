// Client vertex-array state of a context (`gc->vertexArray`): the six array
// records, the words derived from them, the batch buffer that array drawing
// and the vertex cache compile into, and the procedures the pickers choose.
// The vertex-processing generator reads this record by offset.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "core/calling.h"
#include "core/gl_defs.h"
#include "geometry/s_vertex.h"
#include "geometry/s_xform.h"

struct GlContext;
struct GlVertex;

// The glInterleavedArrays formats: OpenGL 1.1's and the index formats of
// GL_VLX_index_array_formats.
#define GL_V2F 0x2A20
#define GL_V3F 0x2A21
#define GL_C4UB_V2F 0x2A22
#define GL_C4UB_V3F 0x2A23
#define GL_C3F_V3F 0x2A24
#define GL_N3F_V3F 0x2A25
#define GL_C4F_N3F_V3F 0x2A26
#define GL_T2F_V3F 0x2A27
#define GL_T4F_V4F 0x2A28
#define GL_T2F_C4UB_V3F 0x2A29
#define GL_T2F_C3F_V3F 0x2A2A
#define GL_T2F_N3F_V3F 0x2A2B
#define GL_T2F_C4F_N3F_V3F 0x2A2C
#define GL_T4F_C4F_N3F_V4F 0x2A2D
#define GL_IUI_V2F_VLX 0x81AD
#define GL_IUI_V3F_VLX 0x81AE
#define GL_IUI_N3F_V2F_VLX 0x81AF
#define GL_IUI_N3F_V3F_VLX 0x81B0
#define GL_T2F_IUI_V2F_VLX 0x81B1
#define GL_T2F_IUI_V3F_VLX 0x81B2
#define GL_T2F_IUI_N3F_V2F_VLX 0x81B3
#define GL_T2F_IUI_N3F_V3F_VLX 0x81B4

// The API entry glArrayElement calls with one element's address.
typedef void(GLENTRY *GlArrayImmediateProc)(const void *element);
// Converts one element (or copies a current value) into a vertex.
typedef void (*GlArrayCopyProc)(GlContext *gc, const void *element, GlVertex *v);
// Compiles `count` elements from `first` into batch positions from `position`.
typedef void(GLFASTCALL *GlCompileProc)(GlContext *gc, int32_t position, int32_t first,
                                         int32_t count);
// The same with an element list: element elements[first + i] goes to
// position + i; without a list, as GlCompileProc.
typedef void(GLFASTCALL *GlCompileIndexedProc)(GlContext *gc, int32_t position, int32_t first,
                                                int32_t count, const uint32_t *elements);
// Recompiles one culled vertex of the batch, coming from array `element`.
typedef void(GLFASTCALL *GlCompileSilhouetteProc)(GlContext *gc, GlVertex *v, int32_t element);
// Draws `count` elements of one primitive mode from `first` or from a list.
typedef void(GLFASTCALL *GlDrawVertexesProc)(GlContext *gc, int32_t first, int32_t count,
                                              const uint32_t *elements);

typedef struct GlArrayRecord {
  const void *pointer;
  int32_t size;
  GLenum type;
  int32_t stride;      // as used: the packed size when the given stride is 0
  int32_t userStride;  // as given
  int32_t count;       // from the EXT entries; 0 after a 1.1 call
  GlArrayImmediateProc immediateProc;
  GlArrayCopyProc copyProc;
} GlArrayRecord;

static_assert(sizeof(GlArrayRecord) == 32, "array record layout");

// The records in their fixed order.
enum {
  __GL_VARRAY_VERTEX,
  __GL_VARRAY_NORMAL,
  __GL_VARRAY_COLOR,
  __GL_VARRAY_INDEX,
  __GL_VARRAY_TEXCOORD,
  __GL_VARRAY_EDGEFLAG,
  __GL_VARRAY_COUNT
};

// Fields of `formatWord` (also the bits of `enableFields` and `neededFields`).
#define __GL_VARRAY_VERTEX_FIELDS 0x000000FFu
#define __GL_VARRAY_NORMAL_FIELDS 0x00000F00u
#define __GL_VARRAY_COLOR_FIELDS 0x000FF000u
#define __GL_VARRAY_TEXCOORD_FIELDS 0x07F00000u
#define __GL_VARRAY_EDGEFLAG_FIELDS 0x08000000u
#define __GL_VARRAY_INDEX_FIELDS 0xF0000000u

// Bits of `enables`.
#define __GL_VARRAY_NORMAL_ENABLE 0x1u
#define __GL_VARRAY_COLOR_ENABLE 0x2u
#define __GL_VARRAY_TEXCOORD_ENABLE 0x4u
#define __GL_VARRAY_INDEX_ENABLE 0x8u
#define __GL_VARRAY_EDGEFLAG_ENABLE 0x10u
#define __GL_VARRAY_VERTEX_ENABLE 0x20u

// Bits of `flags`.
#define __GL_VARRAY_LOCK_COMPILED 0x1u  // the locked range sits in the buffer
#define __GL_VARRAY_COMPILE_PENDING 0x2u
#define __GL_VARRAY_LOCKED 0x4u
#define __GL_VARRAY_CULL_VERTEX 0x8u
#define __GL_VARRAY_CULL_POSITION 0x10u  // the cull point's w is not 0
#define __GL_VARRAY_COLOR_MATERIAL 0x20u
#define __GL_VARRAY_NO_VERTEX 0x40u

#define __GL_VARRAY_BATCH_SIZE 36
#define __GL_VARRAY_GROW_SIZE 4096

typedef struct GlVertexArrayMachine {
  // vertex, normal, colour, index, texture coordinate, edge flag
  GlArrayRecord arrays[__GL_VARRAY_COUNT];
  uint32_t formatWord;
  // The format-word fields and the enable bits of the arrays
  // glEnableClientState turned on.
  uint32_t enableFields;
  uint32_t enables;
  const void *interleavedPointer;
  GLenum interleavedFormat;
  uint32_t flags;
  uint32_t sizeBits;  // the `has` size class of the vertex array
  int32_t lockFirst, lockCount;
  int32_t growSize;
  int32_t bufferBytes;
  GlVertex *buffer;
  // Batch position i is cursor[i]: `buffer` less `lockFirst` vertices while
  // a locked range is compiled. That address may lie outside the buffer, so
  // it is only ever formed as an integer (see __glVarrayBatchVertex).
  uintptr_t cursor;
  int32_t batchSize;
  // The batch walk in progress.
  int32_t batchMode;
  int32_t batchFirst;
  const uint32_t *batchElements;
  int32_t batchPosition;
  uint32_t frontCullBits, backCullBits;
  GlDrawVertexesProc drawVertexes[10];
  uint32_t lockModes;
  // The copies in use: vertex, normal, colour, index, texture coordinate,
  // edge flag.
  GlArrayCopyProc copy[__GL_VARRAY_COUNT];
  int32_t compileIndex;
  uint32_t neededFields;
  GlCompileProc generatedCompile;
  GlCompileProc compileProc;
  GlCompileIndexedProc compileIndexed;
  GlCompileProc compileNoCull;
  GlCompileSilhouetteProc compileSilhouette;
  GlXformProc transformProc;
  uint32_t (*clipCheckProc)(GlContext *gc, GlVertex *v);
  uint32_t (*validateProc)(GlContext *gc, GlVertex *v, uint32_t needs);
  uint8_t vertexCacheContinued;
} GlVertexArrayMachine;

static_assert(offsetof(GlVertexArrayMachine, formatWord) == 192, "vertex-array layout");
static_assert(offsetof(GlVertexArrayMachine, enableFields) == 196, "vertex-array layout");
static_assert(offsetof(GlVertexArrayMachine, flags) == 212, "vertex-array layout");
static_assert(offsetof(GlVertexArrayMachine, sizeBits) == 216, "vertex-array layout");
static_assert(offsetof(GlVertexArrayMachine, buffer) == 236, "vertex-array layout");
static_assert(offsetof(GlVertexArrayMachine, cursor) == 240, "vertex-array layout");
static_assert(offsetof(GlVertexArrayMachine, frontCullBits) == 264, "vertex-array layout");
static_assert(offsetof(GlVertexArrayMachine, drawVertexes) == 272, "vertex-array layout");
static_assert(offsetof(GlVertexArrayMachine, copy) == 316, "vertex-array layout");
static_assert(offsetof(GlVertexArrayMachine, compileIndex) == 340, "vertex-array layout");
static_assert(offsetof(GlVertexArrayMachine, compileProc) == 352, "vertex-array layout");
static_assert(offsetof(GlVertexArrayMachine, transformProc) == 368, "vertex-array layout");
static_assert(offsetof(GlVertexArrayMachine, vertexCacheContinued) == 380, "vertex-array layout");

// Batch position i, counted from `cursor`.
inline GlVertex *__glVarrayBatchVertex(const GlVertexArrayMachine &va, int32_t i) {
  return reinterpret_cast<GlVertex *>(va.cursor + uintptr_t(i) * sizeof(GlVertex));
}
// The batch position of a vertex of the buffer. `cursor` lies before the
// buffer only for a compiled lock, by `lockFirst` vertices.
inline int32_t __glVarrayBatchPosition(const GlVertexArrayMachine &va, const GlVertex *v) {
  // Counted from the buffer: a locked range's first element times a vertex
  // may not fit in an address.
  const uintptr_t buffer = reinterpret_cast<uintptr_t>(va.buffer);
  const int32_t base = va.cursor == buffer ? 0 : va.lockFirst;
  return int32_t((reinterpret_cast<uintptr_t>(v) - buffer) / sizeof(GlVertex)) + base;
}

void __glInitVertexArrayState(GlContext *gc);
void __glFreeVertexArrayState(GlContext *gc);
// The 38-vertex batch buffer, made with the context so that a context never
// lives without one; false when it cannot be had.
GLbool8 __glEarlyInitVertexArrayState(GlContext *gc);
// Makes the buffer hold `count` vertices and points `cursor` at `first`
// vertices before it. False, with the buffer and `cursor` = `buffer` left
// as they were, when that size cannot be had.
GLbool8 AllocateVbuf(GlContext *gc, int32_t first, int32_t count);

// The process-wide switches "__GL_DISABLE_OG_VARRAY" and
// "__GL_DISABLE_OG_DRAWVERTEXES".
extern uint8_t __glDisableOgVarray;
extern uint8_t __glDisableOgDrawVertexes;
