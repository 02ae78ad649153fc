// glTexEnv. The colour is kept in the drawn buffer's units, the units
// fragment colours reach the environment procedures in: clamped, scaled by
// the context's colour scales and then by the rescale words.
#include "core/context.h"
#include "core/gl_entries.h"
#include "core/s_entry.h"
#include "core/s_error.h"
#include "core/s_setters.h"
#include "geometry/s_color.h"
#include "pixels/px_param_enum.h"
#include "pixels/px_texparam_size.h"
#include "pixels/px_texture.h"

namespace {

void ClampAndScale(GlContext *gc, GlColor *dst, const GLfloat *v) {
  GlColor c = {v[0], v[1], v[2], v[3]};
  __glClampAndScaleColorf(gc, dst, &c);
}
void ClampAndScale(GlContext *gc, GlColor *dst, const GLint *v) {
  __glClampAndScaleColori(gc, dst, v);
}

bool IsEnvMode(GLenum mode) {
  switch (mode) {
    case GL_ADD:
    case GL_BLEND:
    case GL_REPLACE:
    case GL_MODULATE:
    case GL_DECAL: return true;
    default: return false;
  }
}

template <typename T>
void TexEnv(GLenum target, GLenum pname, const T *params) {
  int32_t index;
  GlContext *gc =
      __glContextForNumbered(target, GL_TEXTURE_ENV, &GlConstants::numberOfTextureEnvs, &index);
  if (!gc) return;
  if (__glTexEnvfv_size(pname) < 0) {
    __glSetError(GL_INVALID_ENUM);
    return;
  }
  if (!params) return;
  GlTextureEnv &env = gc->texture.env[index];
  if (pname == GL_TEXTURE_ENV_MODE) {
    const GLenum mode = __glParamToEnum(params[0]);
    if (!IsEnvMode(mode)) {
      __glSetError(GL_INVALID_ENUM);
      return;
    }
    env.mode = mode;
  } else {  // GL_TEXTURE_ENV_COLOR
    const GlConstants &k = gc->constants;
    GlColor c;
    ClampAndScale(gc, &c, params);
    env.color = {c.r * k.redRescale, c.g * k.greenRescale, c.b * k.blueRescale,
                 c.a * k.alphaRescale};
  }
  __glDelayValidate(gc, __GL_DIRTY_GENERIC);
}

}  // namespace

void GLENTRY __glim_TexEnvfv(GLenum target, GLenum pname, const GLfloat *params) {
  TexEnv(target, pname, params);
}

void GLENTRY __glim_TexEnviv(GLenum target, GLenum pname, const GLint *params) {
  TexEnv(target, pname, params);
}

void GLENTRY __glim_TexEnvf(GLenum target, GLenum pname, GLfloat param) {
  if (pname != GL_TEXTURE_ENV_MODE) {
    __glSetError(GL_INVALID_ENUM);
    return;
  }
  __glim_TexEnvfv(target, pname, &param);
}

void GLENTRY __glim_TexEnvi(GLenum target, GLenum pname, GLint param) {
  if (pname != GL_TEXTURE_ENV_MODE) {
    __glSetError(GL_INVALID_ENUM);
    return;
  }
  __glim_TexEnviv(target, pname, &param);
}
