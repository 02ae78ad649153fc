// The depth and stencil groups. Stencil values are kept within the bits the
// stencil buffer has.
#include "core/context.h"
#include "core/gl_entries.h"
#include "core/s_entry.h"
#include "core/s_error.h"
#include "core/s_setters.h"

namespace {

bool IsStencilOp(GLenum op) {
  return op == GL_KEEP || op == GL_ZERO || op == GL_REPLACE || op == GL_INCR || op == GL_DECR ||
         op == GL_INVERT;
}

}  // namespace

void GLENTRY __glim_ClearDepth(GLclampd depth) {
  GlContext *gc = __glContextOutsideBegin();
  if (!gc) return;
  gc->state.depth.clear = __glClampRange(depth, 0.0, 1.0);
  __glDelayValidate(gc, __GL_DIRTY_GENERIC);
}

void GLENTRY __glim_ClearStencil(GLint s) {
  GlContext *gc = __glContextOutsideBegin();
  if (!gc) return;
  gc->state.stencil.clear = uint16_t(GLuint(s) & __glStencilValueMask(gc));
  __glDelayValidate(gc, __GL_DIRTY_GENERIC);
}

void GLENTRY __glim_DepthFunc(GLenum func) {
  GlContext *gc = __glContextOutsideBegin();
  if (!gc) return;
  if (!__glIsComparisonFunc(func)) {
    __glSetError(GL_INVALID_ENUM);
    return;
  }
  gc->state.depth.testFunc = func;
  __glDelayValidate(gc, __GL_DIRTY_DEPTH);
}

void GLENTRY __glim_DepthMask(GLboolean flag) {
  GlContext *gc = __glContextOutsideBegin();
  if (!gc) return;
  gc->state.depth.writeEnable = flag != 0;
  __glDelayValidate(gc, __GL_DIRTY_DEPTH);
}

void GLENTRY __glim_StencilFunc(GLenum func, GLint ref, GLuint mask) {
  GlContext *gc = __glContextOutsideBegin();
  if (!gc) return;
  if (!__glIsComparisonFunc(func)) {
    __glSetError(GL_INVALID_ENUM);
    return;
  }
  uint16_t all = __glStencilValueMask(gc);
  GlStencilState &s = gc->state.stencil;
  s.testFunc = func;
  s.reference = uint16_t(ref < 0 ? 0 : GLuint(ref) > all ? all : GLuint(ref));
  s.mask = uint16_t(mask & all);
  __glDelayValidateTables(gc, __GL_DIRTY_GENERIC, __GL_TABLE_DIRTY_STENCIL_FUNC);
}

void GLENTRY __glim_StencilMask(GLuint mask) {
  GlContext *gc = __glContextOutsideBegin();
  if (!gc) return;
  gc->state.stencil.writeMask = uint16_t(mask & __glStencilValueMask(gc));
  __glDelayValidateTables(gc, __GL_DIRTY_GENERIC, __GL_TABLE_DIRTY_STENCIL_FUNC);
}

void GLENTRY __glim_StencilOp(GLenum fail, GLenum zfail, GLenum zpass) {
  GlContext *gc = __glContextOutsideBegin();
  if (!gc) return;
  if (!IsStencilOp(fail) || !IsStencilOp(zfail) || !IsStencilOp(zpass)) {
    __glSetError(GL_INVALID_ENUM);
    return;
  }
  GlStencilState &s = gc->state.stencil;
  s.fail = fail;
  s.depthFail = zfail;
  s.depthPass = zpass;
  __glDelayValidateTables(gc, __GL_DIRTY_GENERIC, __GL_TABLE_DIRTY_STENCIL_OP);
}
