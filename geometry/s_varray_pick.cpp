// The vertex-array pickers: what each compiled vertex needs, which copies
// and which compile serve it, and the batch buffer for a lock.
#include "geometry/s_varray_pick.h"

#include "core/context.h"
#include "geometry/s_varray_compile.h"
#include "geometry/s_varray_copy.h"
#include "geometry/s_varray_og.h"
#include "pixels/px_texture.h"

namespace {

struct ArrayUse {
  int array;
  uint32_t fields;
  GlArrayCopyProc current;  // when the array is not in use
  GlArrayCopyProc plain;    // the float converter a direct read stands for
  uint32_t plainMask;
};

const ArrayUse kUses[] = {
    {__GL_VARRAY_NORMAL, __GL_VARRAY_NORMAL_FIELDS, CopyCurrentNormal,
     varray::CopyNormal<GLfloat>, 0x00000F00u},
    {__GL_VARRAY_COLOR, __GL_VARRAY_COLOR_FIELDS, CopyCurrentColor,
     varray::CopyColor<3, GLfloat>, 0xF00FF000u},
    {__GL_VARRAY_INDEX, __GL_VARRAY_INDEX_FIELDS, CopyCurrentIndex, varray::CopyIndex<GLfloat>,
     0xF00FF000u},
    {__GL_VARRAY_TEXCOORD, __GL_VARRAY_TEXCOORD_FIELDS, CopyCurrentTexCoord,
     varray::CopyTexCoord<2, GLfloat>, 0x07F00000u},
    {__GL_VARRAY_EDGEFLAG, __GL_VARRAY_EDGEFLAG_FIELDS, CopyCurrentEdgeFlag, nullptr, 0},
};

bool SphereMapped(const GlContext *gc, uint32_t enable, int coord) {
  return (gc->state.enables.texture & enable) &&
         gc->texture.texCoordGen[coord].mode == GL_SPHERE_MAP;
}

// The fields whose arrays are plain floats at the vertex array's stride:
// when they are all the state needs, the direct-read compiles serve.
uint32_t DirectFields(const GlVertexArrayMachine &va) {
  const GlArrayRecord *arrays = va.arrays;
  const uint32_t inUse = va.neededFields & va.enableFields;
  const int32_t vertexStride = arrays[__GL_VARRAY_VERTEX].stride;
  uint32_t mask = 0;
  const GlArrayRecord &vertex = arrays[__GL_VARRAY_VERTEX];
  if ((inUse & __GL_VARRAY_VERTEX_FIELDS) && vertex.copyProc == varray::CopyVertex<3, GLfloat>)
    mask |= __GL_VARRAY_VERTEX_FIELDS;
  for (const ArrayUse &u : kUses) {
    const GlArrayRecord &r = arrays[u.array];
    if ((inUse & u.fields) && r.copyProc && u.plain && r.copyProc == u.plain &&
        r.stride == vertexStride)
      mask |= u.plainMask;
  }
  return mask;
}

}  // namespace

GlCompileProc __glVarrayCCompile(const GlContext *gc) {
  const GlVertexArrayMachine &va = gc->vertexArray;
  if (va.compileIndex < 0) return CompileElementsAll;
  const bool rgb = gc->modes.rgbMode;
  const GlCompileProc *table =
      va.neededFields == DirectFields(va)
          ? (rgb ? RGBInterleavedCompileProcs : CIInterleavedCompileProcs)
          : (rgb ? RGBCompileProcs : CICompileProcs);
  return table[va.compileIndex];
}

void __glGenericPickVertexArrayEnables(GlContext *gc) {
  GlVertexArrayMachine &va = gc->vertexArray;
  GlArrayRecord *arrays = va.arrays;
  const int size = arrays[__GL_VARRAY_VERTEX].size;
  const GlMatrix &m = gc->transform.modelView->mvp;
  va.transformProc = size == 2 ? m.xf2 : size == 3 ? m.xf3 : m.xf4;
  va.clipCheckProc = gc->procs.clipCheck[size - 2];
  va.validateProc = gc->procs.validateVertex[size - 1];
  va.sizeBits = uint32_t(size - 1) << 14;

  // An array that never received a pointer is not in use: its copyProc is
  // still empty.
  const uint32_t inUse = va.neededFields & va.enableFields;
  const GlArrayRecord &vertex = arrays[__GL_VARRAY_VERTEX];
  if ((inUse & __GL_VARRAY_VERTEX_FIELDS) && vertex.copyProc) {
    va.copy[__GL_VARRAY_VERTEX] = vertex.copyProc;
    va.flags &= ~__GL_VARRAY_NO_VERTEX;
  } else {
    va.copy[__GL_VARRAY_VERTEX] = CopyNothing;
    va.flags |= __GL_VARRAY_NO_VERTEX;
  }
  for (const ArrayUse &u : kUses) {
    const GlArrayRecord &r = arrays[u.array];
    va.copy[u.array] = (inUse & u.fields) && r.copyProc ? r.copyProc : u.current;
  }

  // Colour and index land in the same field, and the general compile copies
  // both: the one the visual does not use copies nothing, rather than
  // overwrite the other with a colour of the wrong kind.
  va.copy[gc->modes.rgbMode ? __GL_VARRAY_INDEX : __GL_VARRAY_COLOR] = CopyNothing;

  va.compileProc = __glVarrayCCompile(gc);

  // A range the buffer cannot hold is not compiled: draws then take the
  // batched walk through the buffer as it is.
  va.flags &= ~__GL_VARRAY_LOCK_COMPILED;
  if (va.flags & __GL_VARRAY_LOCKED) {
    if (AllocateVbuf(gc, va.lockFirst, va.lockCount)) va.flags |= __GL_VARRAY_LOCK_COMPILED;
  } else {
    AllocateVbuf(gc, 0, 0);
  }
  va.flags |= __GL_VARRAY_COMPILE_PENDING;
  __glVarrayInstallGenerated(gc, false);
}

void __glGenericPickVertexArrayProcs(GlContext *gc) {
  GlVertexArrayMachine &va = gc->vertexArray;
  const GlEnableState &e = gc->state.enables;
  const uint32_t general = e.general;
  const bool lighting = general & __GL_LIGHTING_ENABLE;
  if (lighting && (general & __GL_COLOR_MATERIAL_ENABLE))
    va.flags |= __GL_VARRAY_COLOR_MATERIAL;
  else
    va.flags &= ~__GL_VARRAY_COLOR_MATERIAL;

  const bool cullVertex = general & __GL_CULL_VERTEX_ENABLE;
  va.flags &= ~(__GL_VARRAY_CULL_VERTEX | __GL_VARRAY_CULL_POSITION);
  if (cullVertex) {
    const GlTransformMachine &t = gc->transform;
    const GLfloat w = t.cullObjPosInForce ? t.cullObjPos.w : t.cullEyePos.w;
    if (w != 0.0f) va.flags |= __GL_VARRAY_CULL_POSITION;
    const GLenum face = gc->state.polygon.cull;
    va.frontCullBits = face != GL_BACK ? __GL_HAS_CULLED : 0;
    va.backCullBits = face != GL_FRONT ? __GL_HAS_CULLED : 0;
    va.flags |= __GL_VARRAY_CULL_VERTEX;
  }

  // Feedback reports every attribute, as selection does.
  const GlPolygonState &polygon = gc->state.polygon;
  if (gc->renderMode != GL_RENDER || polygon.frontMode != GL_FILL ||
      polygon.backMode != GL_FILL) {
    va.neededFields = ~0u;
    va.compileIndex = -1;
  } else {
    uint32_t needed = __GL_VARRAY_VERTEX_FIELDS;
    int32_t index = 0;
    if (lighting) {
      needed |= __GL_VARRAY_NORMAL_FIELDS;
      index |= 0x1;
    } else {
      needed |= __GL_VARRAY_COLOR_FIELDS | __GL_VARRAY_INDEX_FIELDS;
      index |= 0x2;
    }
    // The cull test runs only in the compiles that copy the normal.
    if (cullVertex) {
      needed |= __GL_VARRAY_NORMAL_FIELDS;
      index |= 0x1;
    }
    if (e.texture & (__GL_TEXTURE_1D_ENABLE | __GL_TEXTURE_2D_ENABLE)) {
      needed |= __GL_VARRAY_TEXCOORD_FIELDS;
      index |= 0x4;
      if (SphereMapped(gc, __GL_TEXTURE_GEN_S_ENABLE, __GL_TEXGEN_S) ||
          SphereMapped(gc, __GL_TEXTURE_GEN_T_ENABLE, __GL_TEXGEN_T)) {
        needed |= __GL_VARRAY_NORMAL_FIELDS;
        index |= 0x1;
      }
    }
    va.neededFields = needed;
    va.compileIndex = index;
  }
  va.compileIndexed = CompileElementsIndexed;
  va.compileNoCull = CompileElementsAllNoCull;
  va.compileSilhouette = CompileElementsSilhouette;
  __glGenericPickVertexArrayEnables(gc);
  va.lockModes = ~0u;
}
