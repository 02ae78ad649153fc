// glTexGen. The eye plane is stored times the inverse of the model-view
// matrix in force when it is given; later matrix changes leave it.
#include "core/context.h"
#include "core/gl_entries.h"
#include "core/s_entry.h"
#include "core/s_error.h"
#include "geometry/s_xform.h"
#include "pixels/px_param_enum.h"
#include "pixels/px_texparam_size.h"
#include "pixels/px_texture.h"

namespace {

// Sphere mapping makes only s and t.
bool IsGenMode(GLenum mode, int32_t coord) {
  if (mode == GL_EYE_LINEAR || mode == GL_OBJECT_LINEAR) return true;
  return mode == GL_SPHERE_MAP && coord <= __GL_TEXGEN_T;
}

template <typename T>
void TexGen(GLenum coord, GLenum pname, const T *params) {
  GlContext *gc = __glContextOutsideBegin();
  if (!gc) return;
  const GLuint index = coord - GL_S;
  if (index > __GL_TEXGEN_Q || __glTexGenfv_size(pname) < 0) {
    __glSetError(GL_INVALID_ENUM);
    return;
  }
  if (!params) return;
  GlTexCoordGen &gen = gc->texture.texCoordGen[index];
  if (pname == GL_TEXTURE_GEN_MODE) {
    const GLenum mode = __glParamToEnum(params[0]);
    if (!IsGenMode(mode, int32_t(index))) {
      __glSetError(GL_INVALID_ENUM);
      return;
    }
    gen.mode = mode;
  } else {
    const GLfloat plane[4] = {GLfloat(params[0]), GLfloat(params[1]), GLfloat(params[2]),
                              GLfloat(params[3])};
    if (pname == GL_OBJECT_PLANE) {
      gen.objectPlane = {plane[0], plane[1], plane[2], plane[3]};
    } else {  // GL_EYE_PLANE: the plane times the inverse, as the clip planes
      GlTransform *mv = gc->transform.modelView;
      if (mv->stale) gc->procs.computeInverseTranspose(gc, mv);
      mv->inverseTranspose.xf4(&gen.eyePlane, plane, &mv->inverseTranspose);
    }
  }
  __glDelayValidate(gc, __GL_DIRTY_GENERIC);
}

}  // namespace

void GLENTRY __glim_TexGenfv(GLenum coord, GLenum pname, const GLfloat *params) {
  TexGen(coord, pname, params);
}

void GLENTRY __glim_TexGendv(GLenum coord, GLenum pname, const GLdouble *params) {
  TexGen(coord, pname, params);
}

void GLENTRY __glim_TexGeniv(GLenum coord, GLenum pname, const GLint *params) {
  TexGen(coord, pname, params);
}

void GLENTRY __glim_TexGenf(GLenum coord, GLenum pname, GLfloat param) {
  if (pname != GL_TEXTURE_GEN_MODE) {
    __glSetError(GL_INVALID_ENUM);
    return;
  }
  __glim_TexGenfv(coord, pname, &param);
}

void GLENTRY __glim_TexGend(GLenum coord, GLenum pname, GLdouble param) {
  if (pname != GL_TEXTURE_GEN_MODE) {
    __glSetError(GL_INVALID_ENUM);
    return;
  }
  __glim_TexGendv(coord, pname, &param);
}

void GLENTRY __glim_TexGeni(GLenum coord, GLenum pname, GLint param) {
  if (pname != GL_TEXTURE_GEN_MODE) {
    __glSetError(GL_INVALID_ENUM);
    return;
  }
  __glim_TexGeniv(coord, pname, &param);
}
