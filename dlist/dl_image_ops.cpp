// The list ops of glBitmap, glPolygonStipple and glDrawPixels: the client
// image packed into the op at compile time, handed on as packed when the
// list runs.
#include <string.h>

#include "core/context.h"
#include "core/current.h"
#include "core/gl_entries.h"
#include "core/s_entry.h"
#include "dlist/dl_error_ops.h"
#include "dlist/dl_image.h"
#include "dlist/dl_op_layout.h"
#include "dlist/dl_opcodes.h"
#include "dlist/dl_ops.h"
#include "geometry/s_feedback.h"
#include "pixels/px_args.h"
#include "pixels/px_bitmap.h"

namespace {

// The begin-mode step of the drawing ops: refused inside glBegin/glEnd,
// the procedures picked first when validation is pending.
bool ReadyToDraw(GlContext *gc) {
  gc->procs.waitIdle(gc);
  if (gc->beginMode == __GL_IN_BEGIN) {
    __glSetError(GL_INVALID_OPERATION);
    return false;
  }
  __glValidateIfPending(gc);
  return true;
}

constexpr uint32_t kBitmapHead = 32;  // the GlBitmap record, S, a spare word
constexpr uint32_t kDrawPixelsHead = 16;

}  // namespace

void GLENTRY __gllc_Bitmap(GLsizei width, GLsizei height, GLfloat xorig, GLfloat yorig,
                           GLfloat xmove, GLfloat ymove, const GLubyte *bitmap) {
  GlContext *gc = __glGetTLSCXValue();
  if (width < 0 || height < 0) {
    __gllc_InvalidValue(gc);
    return;
  }
  const DlImage image = {width, height, GL_COLOR_INDEX, GL_BITMAP, bitmap};
  __glDlistRecordImage(gc, GL_DLOP_Bitmap, __glle_Bitmap, kBitmapHead, image,
                       [&](GLubyte *data, uint32_t bytes) {
                         const GlBitmap desc = {width, height, xorig, yorig, xmove, ymove};
                         memcpy(data, &desc, sizeof desc);
                         DlPut(data + 24, bytes);
                         DlPut(data + 28, uint32_t(0));
                       });
}

// The op's first six words are the renderer's record; an empty bitmap is
// handed over without bits, as the immediate command does, and still moves
// the raster position.
const GLubyte *__glle_Bitmap(const GLubyte *data) {
  GlContext *gc = __glGetTLSCXValue();
  const auto *desc = reinterpret_cast<const GlBitmap *>(data);
  const GLubyte *bits = data + kBitmapHead;
  if (ReadyToDraw(gc))
    gc->procs.renderBitmap(gc, desc, desc->width > 0 && desc->height > 0 ? bits : nullptr);
  return bits + DlWord(data + 24);
}

void GLENTRY __gllc_PolygonStipple(const GLubyte *mask) {
  const DlImage image = {32, 32, GL_COLOR_INDEX, GL_BITMAP, mask};
  __glDlistRecordImage(__glGetTLSCXValue(), GL_DLOP_PolygonStipple, __glle_PolygonStipple, 0,
                       image, [](GLubyte *, uint32_t) {});
}

const GLubyte *__glle_PolygonStipple(const GLubyte *data) {
  __gllei_PolygonStipple(__glGetTLSCXValue(), data);
  return data + 128;
}

// As the immediate command: the rasterizer's form made at once, the
// pickers told (the hardware back end uploads the pattern at validation).
void __gllei_PolygonStipple(GlContext *gc, const GLubyte *stipple) {
  if (gc->beginMode == __GL_IN_BEGIN) {
    __glSetError(GL_INVALID_OPERATION);
    return;
  }
  memcpy(gc->state.polygonStipple.stipple, stipple, sizeof gc->state.polygonStipple.stipple);
  gc->procs.convertStipple(gc);
  __glDelayValidate(gc, __GL_DIRTY_POLYGON);
}

void GLENTRY __gllc_DrawPixels(GLsizei width, GLsizei height, GLenum format, GLenum type,
                               const GLvoid *pixels) {
  GlContext *gc = __glGetTLSCXValue();
  if (width < 0 || height < 0) {
    __gllc_InvalidValue(gc);
    return;
  }
  if (!__glDlistImageFormatOk(gc, format, type, false)) return;
  const DlImage image = {width, height, format, type, pixels};
  __glDlistRecordImage(gc, GL_DLOP_DrawPixels, __glle_DrawPixels, kDrawPixelsHead, image,
                       [&](GLubyte *data, uint32_t) {
                         DlPut(data, width);
                         DlPut(data + 4, height);
                         DlPut(data + 8, format);
                         DlPut(data + 12, type);
                       });
}

// What depends on the context when the list runs (a stencil image needs a
// stencil buffer, colours an RGBA one) is checked then, as the immediate
// command checks it.
const GLubyte *__glle_DrawPixels(const GLubyte *data) {
  GlContext *gc = __glGetTLSCXValue();
  const DlImage image = {DlGet<GLsizei>(data), DlGet<GLsizei>(data + 4), DlWord(data + 8),
                         DlWord(data + 12), data + kDrawPixelsHead};
  const GLubyte *next = data + kDrawPixelsHead + uint32_t(__glDlistImageSize(image));
  if (!ReadyToDraw(gc) ||
      !__glCheckDrawPixelArgs(gc, image.width, image.height, image.format, image.type))
    return next;
  if (!gc->state.current.validRasterPos) return next;
  if (gc->renderMode == GL_RENDER)
    gc->procs.drawPixels(gc, image.width, image.height, image.format, image.type, image.pixels,
                         1);
  else if (gc->renderMode == GL_FEEDBACK)
    __glFeedbackDrawPixels(gc, &gc->state.current.rasterPos);
  return next;
}
