// The buffer sets: which kind serves each buffer of a new drawable, with the
// set's swap procedures and clip-list updater. A buffer the pixel format
// does not ask for stays empty.
#include "wgl/wgl_choosers.h"

#include "wgl/wgl_dci.h"
#include "wgl/wgl_ddraw.h"
#include "wgl/wgl_dib.h"

namespace {

uint32_t AccumDepth(const GlModes *m) {
  return m->accumRedBits + m->accumGreenBits + m->accumBlueBits + m->accumAlphaBits;
}

void SetSwaps(WglDrawablePrivate *drawable, WglSwapProc set, WglSwapProc memory) {
  drawable->swapBuffers = set;
  drawable->setSwapBuffers = set;
  drawable->memSwapBuffers = memory;
}

}  // namespace

uint32_t __wglColorDepth(const GlModes *modes) {
  return modes->colorIndexMode ? modes->indexBits : modes->colorBits;
}

void __wglDDrawInitDrawable(WglDrawablePrivate *drawable, const GlModes *modes) {
  GlDrawable *view = &drawable->drawable;
  SetSwaps(drawable, __wglDDrawDDrawSwapBuffers, __wglDDrawMemSwapBuffers);
  view->updateClipList = __wglDDrawUpdateClipList;
  __wglInitDDrawPrimary(&view->front, drawable);
  if (modes->doubleBufferMode)
    __wglInitDDraw(&view->back, drawable, __wglColorDepth(modes), __wglInitMem);
  if (modes->haveAccumBuffer) __wglInitMem(&view->accum, drawable, AccumDepth(modes));
  if (modes->haveDepthBuffer)
    __wglInitDDrawDepth(&view->depth, drawable, modes->depthBits, __wglInitMem);
  if (modes->haveStencilBuffer)
    __wglInitDDraw(&view->stencil, drawable, modes->stencilBits, __wglInitMem);
  view->yInverted = 1;
}

void __wglDCIInitDrawable(WglDrawablePrivate *drawable, const GlModes *modes) {
  GlDrawable *view = &drawable->drawable;
  SetSwaps(drawable, __wglDCIDIBSwapBuffers, nullptr);
  view->updateClipList = __wglDCIUpdateClipList;
  // The back buffer is a DIB section whose colour table follows the palette.
  drawable->updateDrawablePalette = __wglDIBUpdateDrawablePalette;
  const uint32_t color = __wglColorDepth(modes);
  __wglInitDCI(&view->front, drawable, color);
  if (modes->doubleBufferMode) __wglInitDIB(&view->back, drawable, color);
  if (modes->haveAccumBuffer) __wglInitMem(&view->accum, drawable, AccumDepth(modes));
  if (modes->haveDepthBuffer) __wglInitMem(&view->depth, drawable, modes->depthBits);
  if (modes->haveStencilBuffer) __wglInitDIB(&view->stencil, drawable, modes->stencilBits);
  view->yInverted = 1;
}

void __wglDIBInitDrawable(WglDrawablePrivate *drawable, const GlModes *modes) {
  GlDrawable *view = &drawable->drawable;
  SetSwaps(drawable, nullptr, nullptr);
  view->updateClipList = __wglDIBUpdateClipList;
  // The format's colour bits, not the sum of its components: a 32-bit
  // format has 24 component bits, and its bitmap's pixels are 4 bytes.
  // The bitmap kind sets yInverted from the bitmap's row order.
  __wglInitUnmanagedDIB(&view->front, drawable, __wglColorDepth(modes));
  if (modes->haveAccumBuffer) __wglInitMem(&view->accum, drawable, AccumDepth(modes));
  if (modes->haveDepthBuffer) __wglInitDIB(&view->depth, drawable, modes->depthBits);
  if (modes->haveStencilBuffer) __wglInitDIB(&view->stencil, drawable, modes->stencilBits);
}
