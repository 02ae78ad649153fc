// The colour-buffer group: alpha test, blending, logic op, clear values,
// write masks, the draw buffer and the colour-index test.
#include "core/context.h"
#include "core/gl_entries.h"
#include "core/s_entry.h"
#include "core/s_error.h"
#include "core/s_setters.h"

namespace {

bool IsBlendSource(GLenum f) {
  return f == GL_ZERO || f == GL_ONE || (f >= GL_SRC_ALPHA && f <= GL_SRC_ALPHA_SATURATE);
}

bool IsBlendDestination(GLenum f) {
  return f == GL_ZERO || f == GL_ONE || (f >= GL_SRC_COLOR && f <= GL_ONE_MINUS_DST_ALPHA);
}

GlColor Clamped(GLfloat r, GLfloat g, GLfloat b, GLfloat a, GLfloat lo, GLfloat hi) {
  return {__glClampRange(r, lo, hi), __glClampRange(g, lo, hi), __glClampRange(b, lo, hi),
          __glClampRange(a, lo, hi)};
}

// The draw buffer in force for a request, or the error it raises.
GLenum DrawBufferInForce(const GlContext *gc, GLenum mode, GLenum *error) {
  bool doubleBuffered = gc->modes.doubleBufferMode != 0;
  *error = GL_NO_ERROR;
  switch (mode) {
    case GL_NONE: return GL_NONE;
    case GL_FRONT_LEFT:
    case GL_FRONT: return GL_FRONT;
    case GL_BACK_LEFT:
    case GL_BACK:
      if (!doubleBuffered) *error = GL_INVALID_OPERATION;
      return GL_BACK;
    case GL_LEFT:
    case GL_FRONT_AND_BACK: return doubleBuffered ? GL_FRONT_AND_BACK : GL_FRONT;
    case GL_FRONT_RIGHT:
    case GL_BACK_RIGHT:
    case GL_RIGHT: *error = GL_INVALID_OPERATION; return GL_NONE;  // no stereo
    default: break;
  }
  if (mode >= GL_AUX0 && mode < 0x500) {
    if (mode - GL_AUX0 >= __GL_AUX_BUFFERS) *error = GL_INVALID_OPERATION;
    return mode;
  }
  *error = GL_INVALID_ENUM;
  return GL_NONE;
}

}  // namespace

void GLENTRY __glim_AlphaFunc(GLenum func, GLclampf ref) {
  GlContext *gc = __glContextOutsideBegin();
  if (!gc) return;
  if (!__glIsComparisonFunc(func)) {
    __glSetError(GL_INVALID_ENUM);
    return;
  }
  gc->state.raster.alphaFunction = func;
  gc->state.raster.alphaReference = __glClampRange(ref, 0.0f, 1.0f);
  __glDelayValidateTables(gc, __GL_DIRTY_GENERIC, __GL_TABLE_DIRTY_ALPHA_TEST);
}

void GLENTRY __glim_BlendFunc(GLenum sfactor, GLenum dfactor) {
  GlContext *gc = __glContextOutsideBegin();
  if (!gc) return;
  if (!IsBlendSource(sfactor) || !IsBlendDestination(dfactor)) {
    __glSetError(GL_INVALID_ENUM);
    return;
  }
  gc->state.raster.blendSrc = sfactor;
  gc->state.raster.blendDst = dfactor;
  __glDelayValidate(gc, __GL_DIRTY_GENERIC);
}

void GLENTRY __glim_ClearAccum(GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha) {
  GlContext *gc = __glContextOutsideBegin();
  if (!gc) return;
  gc->state.accum.clear = Clamped(red, green, blue, alpha, -1.0f, 1.0f);
  __glDelayValidate(gc, __GL_DIRTY_GENERIC);
}

void GLENTRY __glim_ClearColor(GLclampf red, GLclampf green, GLclampf blue, GLclampf alpha) {
  GlContext *gc = __glContextOutsideBegin();
  if (!gc) return;
  gc->state.raster.clear = Clamped(red, green, blue, alpha, 0.0f, 1.0f);
}

// Four fraction bits are kept; the integer part is masked to the indexes the
// buffer can hold.
void GLENTRY __glim_ClearIndex(GLfloat c) {
  GlContext *gc = __glContextOutsideBegin();
  if (!gc) return;
  int64_t range = (int64_t(__glFullIndexMask(gc)) << 4) | 15;
  int64_t sixteenths = int64_t(__glTruncateToInt(double(c) * 16.0)) & range;
  gc->state.raster.clearIndex = GLfloat(sixteenths) / 16.0f;
}

void GLENTRY __glim_ColorMask(GLboolean red, GLboolean green, GLboolean blue, GLboolean alpha) {
  GlContext *gc = __glContextOutsideBegin();
  if (!gc) return;
  GlRasterState &r = gc->state.raster;
  r.rMask = red != 0;
  r.gMask = green != 0;
  r.bMask = blue != 0;
  r.aMask = alpha != 0;
  __glDelayValidate(gc, __GL_DIRTY_GENERIC);
}

void GLENTRY __glim_DrawBuffer(GLenum mode) {
  GlContext *gc = __glContextOutsideBegin();
  if (!gc) return;
  GLenum error;
  GLenum inForce = DrawBufferInForce(gc, mode, &error);
  if (error != GL_NO_ERROR) {
    __glSetError(error);
    return;
  }
  gc->state.raster.drawBuffer = inForce;
  gc->state.raster.drawBufferReturn = mode;
  __glDelayValidate(gc, __GL_DIRTY_GENERIC);
}

void GLENTRY __glim_IndexFuncVLX(GLenum func, GLclampf ref) {
  GlContext *gc = __glContextOutsideBegin();
  if (!gc) return;
  if (!__glIsComparisonFunc(func)) {
    __glSetError(GL_INVALID_ENUM);
    return;
  }
  gc->state.raster.indexFunction = func;
  gc->state.raster.indexReference = ref;
  __glDelayValidateTables(gc, __GL_DIRTY_GENERIC, __GL_TABLE_DIRTY_INDEX_TEST);
}

void GLENTRY __glim_IndexMask(GLuint mask) {
  GlContext *gc = __glContextOutsideBegin();
  if (!gc) return;
  gc->state.raster.writeMask = mask & __glFullIndexMask(gc);
  __glDelayValidate(gc, __GL_DIRTY_GENERIC);
}

void GLENTRY __glim_LogicOp(GLenum opcode) {
  GlContext *gc = __glContextOutsideBegin();
  if (!gc) return;
  if (opcode < GL_CLEAR || opcode > GL_SET) {
    __glSetError(GL_INVALID_ENUM);
    return;
  }
  gc->state.raster.logicOp = opcode;
  __glDelayValidate(gc, __GL_DIRTY_GENERIC);
}
