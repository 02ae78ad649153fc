// Materials, colour material and index material. glMaterial is accepted
// between glBegin and glEnd: it rebuilds the derived material at once
// instead of marking the context, after lighting the vertices already given
// with the old material.
#include "core/context.h"
#include "core/gl_entries.h"
#include "core/s_entry.h"
#include "core/s_error.h"
#include "core/s_setters.h"
#include "geometry/s_color.h"
#include "geometry/s_lighting.h"

namespace {

GlColor Unscaled(GlContext *gc, const GLfloat *v) { return {v[0], v[1], v[2], v[3]}; }

// The full signed range onto [-1, 1].
GlColor Unscaled(GlContext *gc, const GLint *v) {
  double factor = gc->constants.oneOverUIntMax;
  auto component = [factor](GLint c) { return GLfloat((2.0 * c + 1.0) * factor); };
  return {component(v[0]), component(v[1]), component(v[2]), component(v[3])};
}

// Stores the parameter in one face's material; what changed, as the
// __GL_MATERIAL_ bits.
template <typename T>
uint32_t Apply(GlContext *gc, GlMaterial *m, GLenum pname, const T *v) {
  switch (pname) {
    case GL_AMBIENT: m->ambient = Unscaled(gc, v); return __GL_MATERIAL_AMBIENT;
    case GL_DIFFUSE: m->diffuse = Unscaled(gc, v); return __GL_MATERIAL_DIFFUSE;
    case GL_SPECULAR: m->specular = Unscaled(gc, v); return __GL_MATERIAL_SPECULAR;
    case GL_EMISSION: __glScaleColorParam(gc, &m->emissive, v); return __GL_MATERIAL_EMISSIVE;
    case GL_SHININESS: m->specularExponent = GLfloat(v[0]); return __GL_MATERIAL_SHININESS;
    case GL_AMBIENT_AND_DIFFUSE:
      m->ambient = m->diffuse = Unscaled(gc, v);
      return __GL_MATERIAL_AMBIENT | __GL_MATERIAL_DIFFUSE;
    case GL_COLOR_INDEXES:
      m->cmapa = GLfloat(v[0]);
      m->cmapd = GLfloat(v[1]);
      m->cmaps = GLfloat(v[2]);
      return __GL_MATERIAL_COLORINDEXES;
    case GL_INDEX_SHIFT: m->indexShift = GLfloat(v[0]); return __GL_MATERIAL_COLORINDEXES;
    case GL_INDEX_OFFSET: m->indexOffset = GLfloat(v[0]); return __GL_MATERIAL_COLORINDEXES;
  }
  return 0;
}

template <typename T>
void Material(GLenum face, GLenum pname, const T *params) {
  GlContext *gc = __glGetTLSCXValue();
  GLenum error = __glErrorCheckMaterial(face, pname, params ? GLfloat(params[0]) : 0.0f);
  if (error != 0) {
    __glSetError(error);
    return;
  }
  if (!params) return;
  __glLightPendingVertices(gc);
  GlLightState &l = gc->state.light;
  uint32_t front = 0, back = 0;
  if (face != GL_FRONT) back = Apply(gc, &l.back, pname, params);
  if (face != GL_BACK) front = Apply(gc, &l.front, pname, params);
  __glValidateMaterial(gc, front, back);
  if (gc->state.enables.general & __GL_COLOR_MATERIAL_ENABLE) gc->procs.applyColor(gc);
}

}  // namespace

GLenum __glErrorCheckMaterial(GLenum face, GLenum pname, GLfloat firstValue) {
  if (!__glIsFace(face)) return GL_INVALID_ENUM;
  switch (pname) {
    case GL_SHININESS:
      if (!(firstValue >= 0.0f && firstValue <= 128.0f)) return GL_INVALID_VALUE;  // NaN too
      return 0;
    case GL_AMBIENT:
    case GL_DIFFUSE:
    case GL_SPECULAR:
    case GL_EMISSION:
    case GL_AMBIENT_AND_DIFFUSE:
    case GL_COLOR_INDEXES:
    case GL_INDEX_SHIFT:
    case GL_INDEX_OFFSET: return 0;
    default: return GL_INVALID_ENUM;
  }
}

// The index shift and offset give -1, as any pname the list compiler does
// not count.
GLint __glMaterialfv_size(GLenum pname) {
  switch (pname) {
    case GL_AMBIENT:
    case GL_DIFFUSE:
    case GL_SPECULAR:
    case GL_EMISSION:
    case GL_AMBIENT_AND_DIFFUSE: return 4;
    case GL_SHININESS: return 1;
    case GL_COLOR_INDEXES: return 3;
    default: return -1;
  }
}

GLint __glMaterialiv_size(GLenum pname) { return __glMaterialfv_size(pname); }

void __glMaterialValuesi(GlContext *gc, GLenum pname, const GLint *in, GLfloat *out) {
  switch (pname) {
    case GL_AMBIENT:
    case GL_DIFFUSE:
    case GL_SPECULAR:
    case GL_EMISSION:
    case GL_AMBIENT_AND_DIFFUSE: {
      const GlColor c = Unscaled(gc, in);
      out[0] = c.r, out[1] = c.g, out[2] = c.b, out[3] = c.a;
      return;
    }
    default:
      for (GLint i = 0; i < __glMaterialiv_size(pname); ++i) out[i] = GLfloat(in[i]);
  }
}

void GLENTRY __glim_Materialfv(GLenum face, GLenum pname, const GLfloat *params) {
  Material(face, pname, params);
}

void GLENTRY __glim_Materialiv(GLenum face, GLenum pname, const GLint *params) {
  Material(face, pname, params);
}

void GLENTRY __glim_Materialf(GLenum face, GLenum pname, GLfloat param) {
  if (pname != GL_SHININESS) {
    __glSetError(GL_INVALID_ENUM);
    return;
  }
  __glim_Materialfv(face, pname, &param);
}

void GLENTRY __glim_Materiali(GLenum face, GLenum pname, GLint param) {
  if (pname != GL_SHININESS && pname != GL_INDEX_SHIFT && pname != GL_INDEX_OFFSET) {
    __glSetError(GL_INVALID_ENUM);
    return;
  }
  __glim_Materialiv(face, pname, &param);
}

void GLENTRY __glim_ColorMaterial(GLenum face, GLenum mode) {
  GlContext *gc = __glContextOutsideBegin();
  if (!gc) return;
  bool isMode = mode == GL_EMISSION || mode == GL_AMBIENT || mode == GL_DIFFUSE ||
                mode == GL_SPECULAR || mode == GL_AMBIENT_AND_DIFFUSE;
  if (!__glIsFace(face) || !isMode) {
    __glSetError(GL_INVALID_ENUM);
    return;
  }
  gc->state.light.colorMaterialFace = face;
  gc->state.light.colorMaterialParam = mode;
  if (gc->state.enables.general & __GL_COLOR_MATERIAL_ENABLE) {
    gc->procs.pickColorMaterialProcs(gc);
    gc->procs.applyColor(gc);
  }
}

void GLENTRY __glim_IndexMaterialVLX(GLenum face, GLenum mode) {
  GlContext *gc = __glContextOutsideBegin();
  if (!gc) return;
  if (!__glIsFace(face) || mode != GL_INDEX_OFFSET) {
    __glSetError(GL_INVALID_ENUM);
    return;
  }
  gc->state.light.indexMaterialFace = face;
  gc->state.light.indexMaterialParam = mode;
  // Nothing is marked, so the index-offset sources follow the face now.
  ComputeIndexMaterialState(gc, 0, 0);
}
