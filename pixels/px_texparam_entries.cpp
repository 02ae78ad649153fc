// glTexParameter: the wrap modes, filters and border colour go into both the
// context's copy and the bound object; the priority only into the copy (the
// object takes it when it is unbound).
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

void BorderColor(GlContext *gc, GLfloat out[4], const GLfloat *v) {
  GlColor c = {v[0], v[1], v[2], v[3]};
  __glClampColorf(gc, &c, &c);
  out[0] = c.r, out[1] = c.g, out[2] = c.b, out[3] = c.a;
}
void BorderColor(GlContext *gc, GLfloat out[4], const GLint *v) {
  GlColor c;
  __glClampColori(gc, &c, v);
  out[0] = c.r, out[1] = c.g, out[2] = c.b, out[3] = c.a;
}

GLfloat Priority(GlContext *, GLfloat v) { return __glClampRange(v, 0.0f, 1.0f); }
// The integer colour mapping: (2i + 1) / (2^32 - 1).
GLfloat Priority(GlContext *gc, GLint v) {
  const double p = (2.0 * double(v) + 1.0) * double(gc->constants.oneOverUIntMax);
  return __glClampRange(GLfloat(p), 0.0f, 1.0f);
}

bool IsMinFilter(GLenum f) {
  switch (f) {
    case GL_NEAREST:
    case GL_LINEAR:
    case GL_NEAREST_MIPMAP_NEAREST:
    case GL_LINEAR_MIPMAP_NEAREST:
    case GL_NEAREST_MIPMAP_LINEAR:
    case GL_LINEAR_MIPMAP_LINEAR: return true;
    default: return false;
  }
}
bool IsMagFilter(GLenum f) { return f == GL_NEAREST || f == GL_LINEAR; }
bool IsWrap(GLenum w) { return w == GL_CLAMP || w == GL_REPEAT; }

// The enum-valued names: where the value goes in the parameters and which
// values it takes.
struct EnumParam {
  GLenum GlTextureParams::*field;
  bool (*accepts)(GLenum);
};

bool FindEnumParam(GLenum pname, EnumParam *out) {
  switch (pname) {
    case GL_TEXTURE_WRAP_S: *out = {&GlTextureParams::wrapS, IsWrap}; return true;
    case GL_TEXTURE_WRAP_T: *out = {&GlTextureParams::wrapT, IsWrap}; return true;
    case GL_TEXTURE_MIN_FILTER: *out = {&GlTextureParams::minFilter, IsMinFilter}; return true;
    case GL_TEXTURE_MAG_FILTER: *out = {&GlTextureParams::magFilter, IsMagFilter}; return true;
    default: return false;
  }
}

template <typename T>
void TexParameter(GLenum target, GLenum pname, const T *params) {
  GlContext *gc = __glContextOutsideBegin();
  if (!gc) return;
  GlTextureParams *copy = __glLookUpTextureParams(gc, target);
  GlTextureObject *tex = __glLookUpTexture(gc, target);
  if (copy == nullptr || tex == nullptr) {
    __glSetError(GL_INVALID_ENUM);
    return;
  }
  // Another context has the object bound too: its parameters are not ours.
  if (tex->refcount > 2) {
    __glSetError(GL_INVALID_OPERATION);
    return;
  }
  if (__glTexParameterfv_size(pname) < 0) {
    __glSetError(GL_INVALID_ENUM);
    return;
  }
  if (!params) return;
  EnumParam e;
  if (FindEnumParam(pname, &e)) {
    const GLenum value = __glParamToEnum(params[0]);
    if (!e.accepts(value)) {
      __glSetError(GL_INVALID_ENUM);
      return;
    }
    copy->*e.field = value;
    __glLoadTextureParams(tex, copy);
  } else if (pname == GL_TEXTURE_BORDER_COLOR) {
    BorderColor(gc, copy->borderColor, params);
    __glLoadTextureParams(tex, copy);
  } else {  // GL_TEXTURE_PRIORITY
    __glLookUpTextureTexobjs(gc, target)->priority = Priority(gc, params[0]);
  }
  __glDelayValidate(gc, __GL_DIRTY_GENERIC);
}

bool IsScalarParameter(GLenum pname) { return __glTexParameterfv_size(pname) == 1; }

}  // namespace

void GLENTRY __glim_TexParameterfv(GLenum target, GLenum pname, const GLfloat *params) {
  TexParameter(target, pname, params);
}

void GLENTRY __glim_TexParameteriv(GLenum target, GLenum pname, const GLint *params) {
  TexParameter(target, pname, params);
}

void GLENTRY __glim_TexParameterf(GLenum target, GLenum pname, GLfloat param) {
  if (!IsScalarParameter(pname)) {
    __glSetError(GL_INVALID_ENUM);
    return;
  }
  __glim_TexParameterfv(target, pname, &param);
}

void GLENTRY __glim_TexParameteri(GLenum target, GLenum pname, GLint param) {
  if (!IsScalarParameter(pname)) {
    __glSetError(GL_INVALID_ENUM);
    return;
  }
  __glim_TexParameteriv(target, pname, &param);
}
