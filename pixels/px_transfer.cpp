// glPixelTransfer and glPixelZoom: the transfer modes.
#include "core/context.h"
#include "core/gl_entries.h"
#include "core/s_entry.h"
#include "core/s_error.h"
#include "pixels/px_enums.h"
#include "pixels/px_round.h"

namespace {

// The scale or bias a name sets; null for any other name.
GLfloat *ScaleOrBias(GlPixelTransferMode &tm, GLenum pname) {
  switch (pname) {
    case GL_RED_SCALE: return &tm.redScale;
    case GL_RED_BIAS: return &tm.redBias;
    case GL_GREEN_SCALE: return &tm.greenScale;
    case GL_GREEN_BIAS: return &tm.greenBias;
    case GL_BLUE_SCALE: return &tm.blueScale;
    case GL_BLUE_BIAS: return &tm.blueBias;
    case GL_ALPHA_SCALE: return &tm.alphaScale;
    case GL_ALPHA_BIAS: return &tm.alphaBias;
    case GL_DEPTH_SCALE: return &tm.depthScale;
    case GL_DEPTH_BIAS: return &tm.depthBias;
    default: return nullptr;
  }
}

// A whole multiple of the window-coordinate step, so that zoomed edges fall
// where the rasterizer's positions can.
GLfloat Quantised(const GlContext *gc, GLfloat factor) {
  const double step = gc->constants.viewportEpsilon;
  if (!(step > 0.0)) return 0.0f;
  return GLfloat(double(__glPixelRound(factor / step)) * step);
}

}  // namespace

void GLENTRY __glim_PixelTransferf(GLenum pname, GLfloat param) {
  GlContext *gc = __glContextOutsideBegin();
  if (!gc) return;
  GlPixelTransferMode &tm = gc->pixel.transferMode;
  switch (pname) {
    case GL_MAP_COLOR: tm.mapColor = param != 0.0f; break;
    case GL_MAP_STENCIL: tm.mapStencil = param != 0.0f; break;
    case GL_INDEX_SHIFT: tm.indexShift = __glPixelRound(param); break;
    case GL_INDEX_OFFSET: tm.indexOffset = __glPixelRound(param); break;
    default: {
      GLfloat *value = ScaleOrBias(tm, pname);
      if (value == nullptr) {  // GL_ZOOM_X and GL_ZOOM_Y belong to glPixelZoom
        __glSetError(GL_INVALID_ENUM);
        return;
      }
      *value = param;
      break;
    }
  }
  __glDelayValidate(gc, __GL_DIRTY_PIXEL);
}

void GLENTRY __glim_PixelTransferi(GLenum pname, GLint param) {
  __glim_PixelTransferf(pname, GLfloat(param));
}

void GLENTRY __glim_PixelZoom(GLfloat xfactor, GLfloat yfactor) {
  GlContext *gc = __glContextOutsideBegin();
  if (!gc) return;
  gc->pixel.transferMode.zoomX = Quantised(gc, xfactor);
  gc->pixel.transferMode.zoomY = Quantised(gc, yfactor);
  __glDelayValidate(gc, __GL_DIRTY_PIXEL);
}
