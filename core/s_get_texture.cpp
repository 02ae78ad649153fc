// The texture queries: environment, coordinate generation, a target's
// parameters and a level's sizes.
#include "core/context.h"
#include "core/gl_entries.h"
#include "core/gl_get_enums.h"
#include "core/s_entry.h"
#include "core/s_error.h"
#include "core/s_get_object.h"
#include "pixels/px_texture.h"

namespace {

// The environment colour is kept in frame-buffer units: at the buffer's
// largest value of a component it reads back as 1.
GlQueryValues EnvColor(GlContext *gc, const GlColor &c) {
  const GlConstants &k = gc->constants;
  const GlColorBuffer &fb = gc->frontBuffer;  // holds the reciprocals of both buffers
  const GlColor scaled = {
      c.r * k.redScale * fb.oneOverRedScale, c.g * k.greenScale * fb.oneOverGreenScale,
      c.b * k.blueScale * fb.oneOverBlueScale, c.a * k.alphaScale * fb.oneOverAlphaScale};
  return __glQueryColor(__GL_SCALED_COLOR, scaled);
}

void GetTexEnv(GLenum target, GLenum pname, void *params, int32_t resultType) {
  GlContext *gc = __glContextOutsideBegin();
  if (!gc) return;
  if (target != GL_TEXTURE_ENV) {
    __glSetError(GL_INVALID_ENUM);
    return;
  }
  const GlTextureEnv &env = gc->texture.env[0];
  GlQueryValues q;
  switch (pname) {
    case GL_TEXTURE_ENV_MODE: q = __glQueryInt(GLint(env.mode)); break;
    case GL_TEXTURE_ENV_COLOR: q = EnvColor(gc, env.color); break;
    default: __glSetError(GL_INVALID_ENUM); return;
  }
  __glWriteQuery(gc, q, resultType, params);
}

void GetTexGen(GLenum coord, GLenum pname, void *params, int32_t resultType) {
  GlContext *gc = __glContextOutsideBegin();
  if (!gc) return;
  GLuint index = coord - GL_S;
  if (index > __GL_TEXGEN_Q) {
    __glSetError(GL_INVALID_ENUM);
    return;
  }
  const GlTexCoordGen &gen = gc->texture.texCoordGen[index];
  GlQueryValues q;
  switch (pname) {
    case GL_TEXTURE_GEN_MODE: q = __glQueryInt(GLint(gen.mode)); break;
    case GL_OBJECT_PLANE: q = __glQueryFloats(__GL_FLOAT, &gen.objectPlane.x, 4); break;
    case GL_EYE_PLANE: q = __glQueryFloats(__GL_FLOAT, &gen.eyePlane.x, 4); break;
    default: __glSetError(GL_INVALID_ENUM); return;
  }
  __glWriteQuery(gc, q, resultType, params);
}

void GetTexParameter(GLenum target, GLenum pname, void *params, int32_t resultType) {
  GlContext *gc = __glContextOutsideBegin();
  if (!gc) return;
  const GlTextureParams *p = __glLookUpTextureParams(gc, target);
  if (p == nullptr) {
    __glSetError(GL_INVALID_ENUM);
    return;
  }
  GlQueryValues q;
  switch (pname) {
    case GL_TEXTURE_MAG_FILTER: q = __glQueryInt(GLint(p->magFilter)); break;
    case GL_TEXTURE_MIN_FILTER: q = __glQueryInt(GLint(p->minFilter)); break;
    case GL_TEXTURE_WRAP_S: q = __glQueryInt(GLint(p->wrapS)); break;
    case GL_TEXTURE_WRAP_T: q = __glQueryInt(GLint(p->wrapT)); break;
    case GL_TEXTURE_BORDER_COLOR: q = __glQueryFloats(__GL_NORMALIZED, p->borderColor, 4); break;
    case GL_TEXTURE_PRIORITY:
      q = __glQueryFloats(__GL_NORMALIZED, &__glLookUpTextureTexobjs(gc, target)->priority, 1);
      break;
    case GL_TEXTURE_RESIDENT: {
      const GlTextureObject *tex = __glLookUpTexture(gc, target);
      q = __glQueryInt(tex != nullptr && tex->resident ? GL_TRUE : GL_FALSE);
      break;
    }
    default: __glSetError(GL_INVALID_ENUM); return;
  }
  __glWriteQuery(gc, q, resultType, params);
}

void GetTexLevelParameter(GLenum target, GLint level, GLenum pname, void *params,
                          int32_t resultType) {
  GlContext *gc = __glContextOutsideBegin();
  if (!gc) return;
  const GlTextureObject *tex = __glLookUpTexture(gc, target);
  if (tex == nullptr) {
    __glSetError(GL_INVALID_ENUM);
    return;
  }
  if (level < 0 || level >= gc->constants.maxMipMapLevel) {
    __glSetError(GL_INVALID_VALUE);
    return;
  }
  GlTextureLevel empty{};
  empty.requestedFormat = 1;
  const GlTextureLevel &l = tex->levels && tex->levels[level] ? *tex->levels[level] : empty;
  GLint value;
  switch (pname) {
    case GL_TEXTURE_WIDTH: value = l.width; break;
    // A one-dimensional level is kept 2 x border + 1 rows high.
    case GL_TEXTURE_HEIGHT: value = tex->dim == 1 ? l.height - 2 * l.border : l.height; break;
    case GL_TEXTURE_COMPONENTS: value = GLint(l.requestedFormat); break;
    case GL_TEXTURE_BORDER: value = l.border; break;
    case GL_TEXTURE_RED_SIZE: value = l.redBits; break;
    case GL_TEXTURE_GREEN_SIZE: value = l.greenBits; break;
    case GL_TEXTURE_BLUE_SIZE: value = l.blueBits; break;
    case GL_TEXTURE_ALPHA_SIZE: value = l.alphaBits; break;
    case GL_TEXTURE_LUMINANCE_SIZE: value = l.luminanceBits; break;
    case GL_TEXTURE_INTENSITY_SIZE: value = l.intensityBits; break;
    default: __glSetError(GL_INVALID_ENUM); return;
  }
  __glWriteQuery(gc, __glQueryInt(value), resultType, params);
}

}  // namespace

void GLENTRY __glim_GetTexEnvfv(GLenum target, GLenum pname, GLfloat *params) {
  GetTexEnv(target, pname, params, __GL_FLOAT32);
}

void GLENTRY __glim_GetTexEnviv(GLenum target, GLenum pname, GLint *params) {
  GetTexEnv(target, pname, params, __GL_INT32);
}

void GLENTRY __glim_GetTexGenfv(GLenum coord, GLenum pname, GLfloat *params) {
  GetTexGen(coord, pname, params, __GL_FLOAT32);
}

void GLENTRY __glim_GetTexGendv(GLenum coord, GLenum pname, GLdouble *params) {
  GetTexGen(coord, pname, params, __GL_FLOAT64);
}

void GLENTRY __glim_GetTexGeniv(GLenum coord, GLenum pname, GLint *params) {
  GetTexGen(coord, pname, params, __GL_INT32);
}

void GLENTRY __glim_GetTexParameterfv(GLenum target, GLenum pname, GLfloat *params) {
  GetTexParameter(target, pname, params, __GL_FLOAT32);
}

void GLENTRY __glim_GetTexParameteriv(GLenum target, GLenum pname, GLint *params) {
  GetTexParameter(target, pname, params, __GL_INT32);
}

void GLENTRY __glim_GetTexLevelParameterfv(GLenum target, GLint level, GLenum pname,
                                           GLfloat *params) {
  GetTexLevelParameter(target, level, pname, params, __GL_FLOAT32);
}

void GLENTRY __glim_GetTexLevelParameteriv(GLenum target, GLint level, GLenum pname,
                                           GLint *params) {
  GetTexLevelParameter(target, level, pname, params, __GL_INT32);
}
