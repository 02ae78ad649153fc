// glGetLight and glGetMaterial: light colours unscaled, positions and
// directions as stored in eye space, material colours as given.
#include "core/context.h"
#include "core/gl_entries.h"
#include "core/s_entry.h"
#include "core/s_error.h"
#include "core/s_get_object.h"

namespace {

void GetLight(GLenum light, GLenum pname, void *params, int32_t resultType) {
  int32_t index;
  GlContext *gc = __glContextForNumbered(light, GL_LIGHT0, &GlConstants::numberOfLights, &index);
  if (!gc) return;
  const GlLight &l = gc->state.light.source[index];
  GlQueryValues q;
  switch (pname) {
    case GL_AMBIENT: q = __glQueryColor(__GL_SCALED_COLOR, l.ambient); break;
    case GL_DIFFUSE: q = __glQueryColor(__GL_SCALED_COLOR, l.diffuse); break;
    case GL_SPECULAR: q = __glQueryColor(__GL_SCALED_COLOR, l.specular); break;
    case GL_POSITION: q = __glQueryFloats(__GL_FLOAT, &l.positionEye.x, 4); break;
    case GL_SPOT_DIRECTION: q = __glQueryFloats(__GL_FLOAT, &l.direction.x, 3); break;
    case GL_SPOT_EXPONENT: q = __glQueryFloats(__GL_FLOAT, &l.spotLightExponent, 1); break;
    case GL_SPOT_CUTOFF: q = __glQueryFloats(__GL_FLOAT, &l.spotLightCutOffAngle, 1); break;
    case GL_CONSTANT_ATTENUATION: q = __glQueryFloats(__GL_FLOAT, &l.constantAttenuation, 1); break;
    case GL_LINEAR_ATTENUATION: q = __glQueryFloats(__GL_FLOAT, &l.linearAttenuation, 1); break;
    case GL_QUADRATIC_ATTENUATION:
      q = __glQueryFloats(__GL_FLOAT, &l.quadraticAttenuation, 1);
      break;
    default: __glSetError(GL_INVALID_ENUM); return;
  }
  __glWriteQuery(gc, q, resultType, params);
}

void GetMaterial(GLenum face, GLenum pname, void *params, int32_t resultType) {
  GlContext *gc = __glContextOutsideBegin();
  if (!gc) return;
  if (face != GL_FRONT && face != GL_BACK) {
    __glSetError(GL_INVALID_ENUM);
    return;
  }
  const GlMaterial &m = face == GL_FRONT ? gc->state.light.front : gc->state.light.back;
  GlQueryValues q;
  switch (pname) {
    case GL_AMBIENT: q = __glQueryColor(__GL_NORMALIZED, m.ambient); break;
    case GL_DIFFUSE: q = __glQueryColor(__GL_NORMALIZED, m.diffuse); break;
    case GL_SPECULAR: q = __glQueryColor(__GL_NORMALIZED, m.specular); break;
    case GL_EMISSION: q = __glQueryColor(__GL_SCALED_COLOR, m.emissive); break;
    case GL_SHININESS: q = __glQueryFloats(__GL_FLOAT, &m.specularExponent, 1); break;
    case GL_COLOR_INDEXES: {
      const GLfloat indexes[3] = {m.cmapa, m.cmapd, m.cmaps};
      q = __glQueryFloats(__GL_FLOAT, indexes, 3);
      break;
    }
    // Not colours: glGetMaterialiv rounds them as it rounds the indexes.
    case GL_INDEX_SHIFT: q = __glQueryFloats(__GL_FLOAT, &m.indexShift, 1); break;
    case GL_INDEX_OFFSET: q = __glQueryFloats(__GL_FLOAT, &m.indexOffset, 1); break;
    default: __glSetError(GL_INVALID_ENUM); return;
  }
  __glWriteQuery(gc, q, resultType, params);
}

}  // namespace

void GLENTRY __glim_GetLightfv(GLenum light, GLenum pname, GLfloat *params) {
  GetLight(light, pname, params, __GL_FLOAT32);
}

void GLENTRY __glim_GetLightiv(GLenum light, GLenum pname, GLint *params) {
  GetLight(light, pname, params, __GL_INT32);
}

void GLENTRY __glim_GetMaterialfv(GLenum face, GLenum pname, GLfloat *params) {
  GetMaterial(face, pname, params, __GL_FLOAT32);
}

void GLENTRY __glim_GetMaterialiv(GLenum face, GLenum pname, GLint *params) {
  GetMaterial(face, pname, params, __GL_INT32);
}
