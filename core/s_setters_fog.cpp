// The fog group. Besides the values as given, fog keeps what the fog
// procedures blend with: the index masked to the buffer's index bits, the
// colour in colour-buffer units and as bytes, and 1 / (end - start).
#include "core/context.h"
#include "core/gl_entries.h"
#include "core/s_entry.h"
#include "core/s_error.h"
#include "core/s_setters.h"
#include "geometry/s_color.h"

namespace {

int32_t ToInt(GLfloat v) { return __glTruncateToInt(v); }
int32_t ToInt(GLint v) { return v; }

void ClampAndScale(GlContext *gc, GlColor *dst, const GLfloat *v) {
  GlColor c = {v[0], v[1], v[2], v[3]};
  __glClampAndScaleColorf(gc, dst, &c);
}
void ClampAndScale(GlContext *gc, GlColor *dst, const GLint *v) {
  __glClampAndScaleColori(gc, dst, v);
}

uint32_t IndexBitsMask(const GlContext *gc) {
  uint32_t bits = gc->modes.indexBits;
  return bits >= 32 ? 0xFFFFFFFFu : (1u << bits) - 1;
}

// The colour is kept at the context's scales; the fragment procedures blend
// in the drawn buffer's units (the rescale words), and the hardware takes
// bytes.
void DeriveColor(const GlContext *gc, GlFogState *fog) {
  const GlConstants &k = gc->constants;
  fog->scaledColor[0] = fog->color.r * k.redRescale;
  fog->scaledColor[1] = fog->color.g * k.greenRescale;
  fog->scaledColor[2] = fog->color.b * k.blueRescale;
  fog->color8[0] = uint8_t(int32_t(fog->color.r * k.oneOverRedScale * 255.0f));
  fog->color8[1] = uint8_t(int32_t(fog->color.g * k.oneOverGreenScale * 255.0f));
  fog->color8[2] = uint8_t(int32_t(fog->color.b * k.oneOverBlueScale * 255.0f));
}

void SetIndex(const GlContext *gc, GlFogState *fog, uint32_t index) {
  index &= IndexBitsMask(gc);
  fog->index = GLfloat(index);
  fog->indexByte = uint8_t(index);
}

template <typename T>
void Fog(GLenum pname, const T *params) {
  GlContext *gc = __glContextOutsideBegin();
  if (!gc) return;
  if (__glFogfv_size(pname) < 0) {
    __glSetError(GL_INVALID_ENUM);
    return;
  }
  if (!params) return;
  GlFogState &fog = gc->state.fog;
  switch (pname) {
    case GL_FOG_INDEX: SetIndex(gc, &fog, uint32_t(ToInt(params[0]))); break;
    case GL_FOG_DENSITY: {
      GLfloat density = GLfloat(params[0]);
      if (!(density >= 0.0f)) {  // NaN too
        __glSetError(GL_INVALID_VALUE);
        return;
      }
      fog.density = density;
      break;
    }
    case GL_FOG_START: fog.start = GLfloat(params[0]); break;
    case GL_FOG_END: fog.end = GLfloat(params[0]); break;
    case GL_FOG_MODE: {
      GLenum mode = GLenum(ToInt(params[0]));
      if (mode != GL_EXP && mode != GL_EXP2 && mode != GL_LINEAR) {
        __glSetError(GL_INVALID_ENUM);
        return;
      }
      fog.mode = mode;
      break;
    }
    case GL_FOG_COLOR:
      ClampAndScale(gc, &fog.color, params);
      DeriveColor(gc, &fog);
      break;
  }
  if (fog.mode == GL_LINEAR)
    fog.oneOverEMinusS = fog.end == fog.start ? 0.0f : 1.0f / (fog.end - fog.start);
  __glDelayValidate(gc, __GL_DIRTY_GENERIC);
}

// The scalar forms take every pname but the colour; they leave the
// glBegin check to the vector entry.
bool IsScalarFogParameter(GLenum pname) { return pname >= GL_FOG_INDEX && pname <= GL_FOG_MODE; }

}  // namespace

void __glRederiveFog(GlContext *gc) {
  GlFogState &fog = gc->state.fog;
  DeriveColor(gc, &fog);
  SetIndex(gc, &fog, __glTruncateToUint(fog.index));
}

GLint __glFogfv_size(GLenum pname) {
  if (IsScalarFogParameter(pname)) return 1;
  return pname == GL_FOG_COLOR ? 4 : -1;
}

GLint __glFogiv_size(GLenum pname) { return __glFogfv_size(pname); }

void GLENTRY __glim_Fogfv(GLenum pname, const GLfloat *params) { Fog(pname, params); }

void GLENTRY __glim_Fogiv(GLenum pname, const GLint *params) { Fog(pname, params); }

void GLENTRY __glim_Fogf(GLenum pname, GLfloat param) {
  if (!IsScalarFogParameter(pname)) {
    __glSetError(GL_INVALID_ENUM);
    return;
  }
  __glim_Fogfv(pname, &param);
}

void GLENTRY __glim_Fogi(GLenum pname, GLint param) {
  if (!IsScalarFogParameter(pname)) {
    __glSetError(GL_INVALID_ENUM);
    return;
  }
  __glim_Fogiv(pname, &param);
}
