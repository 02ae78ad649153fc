// The light sources and the light model. Colours are kept scaled to the
// colour buffer; the position and the spot direction also in eye
// coordinates, taken there by the model-view matrix in force when they are
// given.
#include "core/context.h"
#include "core/gl_entries.h"
#include "core/s_entry.h"
#include "core/s_error.h"
#include "core/s_setters.h"
#include "geometry/s_color.h"
#include "geometry/s_xform.h"

namespace {

// The range checks: a NaN is in none of them.
bool IsSpotExponent(GLfloat e) { return e >= 0.0f && e <= 128.0f; }
bool IsSpotCutoff(GLfloat c) { return c == 180.0f || (c >= 0.0f && c <= 90.0f); }
bool IsAttenuation(GLfloat a) { return a >= 0.0f; }

template <typename T>
void Light(GLenum light, GLenum pname, const T *params) {
  int32_t index;
  GlContext *gc = __glContextForNumbered(light, GL_LIGHT0, &GlConstants::numberOfLights, &index);
  if (!gc) return;
  if (__glLightfv_size(pname) < 0) {
    __glSetError(GL_INVALID_ENUM);
    return;
  }
  if (!params) return;
  GlLight &l = gc->state.light.source[index];
  GLfloat value = GLfloat(params[0]);
  switch (pname) {
    case GL_AMBIENT: __glScaleColorParam(gc, &l.ambient, params); break;
    case GL_DIFFUSE: __glScaleColorParam(gc, &l.diffuse, params); break;
    case GL_SPECULAR: __glScaleColorParam(gc, &l.specular, params); break;
    case GL_POSITION: {
      l.position = {GLfloat(params[0]), GLfloat(params[1]), GLfloat(params[2]),
                    GLfloat(params[3])};
      const GlMatrix &m = gc->transform.modelView->matrix;
      m.xf4(&l.positionEye, &l.position.x, &m);
      break;
    }
    case GL_SPOT_DIRECTION:
      l.direction = {GLfloat(params[0]), GLfloat(params[1]), GLfloat(params[2]), 1.0f};
      __glTransformLightDirection(gc, &l);
      break;
    case GL_SPOT_EXPONENT:
      if (!IsSpotExponent(value)) {
        __glSetError(GL_INVALID_VALUE);
        return;
      }
      l.spotLightExponent = value;
      break;
    case GL_SPOT_CUTOFF:
      if (!IsSpotCutoff(value)) {
        __glSetError(GL_INVALID_VALUE);
        return;
      }
      l.spotLightCutOffAngle = value;
      break;
    default: {  // the three attenuations
      if (!IsAttenuation(value)) {
        __glSetError(GL_INVALID_VALUE);
        return;
      }
      GLfloat *attenuation[] = {&l.constantAttenuation, &l.linearAttenuation,
                                &l.quadraticAttenuation};
      *attenuation[pname - GL_CONSTANT_ATTENUATION] = value;
      break;
    }
  }
  __glDelayValidate(gc, __GL_DIRTY_LIGHTING);
}

template <typename T>
void LightModel(GLenum pname, const T *params) {
  GlContext *gc = __glContextOutsideBegin();
  if (!gc) return;
  if (__glLightModelfv_size(pname) < 0) {
    __glSetError(GL_INVALID_ENUM);
    return;
  }
  if (!params) return;
  GlLightModelState &model = gc->state.light.model;
  switch (pname) {
    case GL_LIGHT_MODEL_LOCAL_VIEWER: model.localViewer = params[0] != 0; break;
    case GL_LIGHT_MODEL_TWO_SIDE: model.twoSided = params[0] != 0; break;
    default: __glScaleColorParam(gc, &model.ambient, params); break;
  }
  __glDelayValidate(gc, __GL_DIRTY_LIGHTING);
}

bool IsScalarLightParameter(GLenum pname) {
  return pname >= GL_SPOT_EXPONENT && pname <= GL_QUADRATIC_ATTENUATION;
}

bool IsScalarLightModelParameter(GLenum pname) {
  return pname == GL_LIGHT_MODEL_LOCAL_VIEWER || pname == GL_LIGHT_MODEL_TWO_SIDE;
}

}  // namespace

// The direction is taken as the normal of a plane through the light's
// position, so that it moves with the inverse transpose as planes do.
void __glTransformLightDirection(GlContext *gc, GlLight *light) {
  const GlCoord &d = light->direction;
  const GlCoord &p = light->position;
  GLfloat w = 0.0f;
  if (p.w != 0.0f) w = -(p.x * d.x + p.y * d.y + p.z * d.z) / p.w;
  GLfloat plane[4] = {d.x, d.y, d.z, w};
  GlTransform *mv = gc->transform.modelView;
  if (mv->stale) gc->procs.computeInverseTranspose(gc, mv);
  const GlMatrix &it = mv->inverseTranspose;
  it.xf4(&light->direction, plane, &it);
  GlLightCache &cache = gc->light.lightCaches[light - gc->state.light.source];
  gc->procs.normalize(cache.direction, &light->direction.x);
}

GLint __glLightfv_size(GLenum pname) {
  switch (pname) {
    case GL_AMBIENT:
    case GL_DIFFUSE:
    case GL_SPECULAR:
    case GL_POSITION: return 4;
    case GL_SPOT_DIRECTION: return 3;
    default: return IsScalarLightParameter(pname) ? 1 : -1;
  }
}

GLint __glLightiv_size(GLenum pname) { return __glLightfv_size(pname); }

GLint __glLightModelfv_size(GLenum pname) {
  if (IsScalarLightModelParameter(pname)) return 1;
  return pname == GL_LIGHT_MODEL_AMBIENT ? 4 : -1;
}

GLint __glLightModeliv_size(GLenum pname) { return __glLightModelfv_size(pname); }

void GLENTRY __glim_Lightfv(GLenum light, GLenum pname, const GLfloat *params) {
  Light(light, pname, params);
}

void GLENTRY __glim_Lightiv(GLenum light, GLenum pname, const GLint *params) {
  Light(light, pname, params);
}

void GLENTRY __glim_Lightf(GLenum light, GLenum pname, GLfloat param) {
  if (!IsScalarLightParameter(pname)) {
    __glSetError(GL_INVALID_ENUM);
    return;
  }
  __glim_Lightfv(light, pname, &param);
}

void GLENTRY __glim_Lighti(GLenum light, GLenum pname, GLint param) {
  if (!IsScalarLightParameter(pname)) {
    __glSetError(GL_INVALID_ENUM);
    return;
  }
  __glim_Lightiv(light, pname, &param);
}

void GLENTRY __glim_LightModelfv(GLenum pname, const GLfloat *params) { LightModel(pname, params); }

void GLENTRY __glim_LightModeliv(GLenum pname, const GLint *params) { LightModel(pname, params); }

void GLENTRY __glim_LightModelf(GLenum pname, GLfloat param) {
  if (!IsScalarLightModelParameter(pname)) {
    __glSetError(GL_INVALID_ENUM);
    return;
  }
  __glim_LightModelfv(pname, &param);
}

void GLENTRY __glim_LightModeli(GLenum pname, GLint param) {
  if (!IsScalarLightModelParameter(pname)) {
    __glSetError(GL_INVALID_ENUM);
    return;
  }
  __glim_LightModeliv(pname, &param);
}
