// Stand-ins for the pixel-span readers and renderers (pixels/px_span_standins.h).
#include "pixels/px_span_standins.h"

#include "core/s_standin.h"

#define PIXEL_SPAN(name) \
  void name(GlContext *, GlPixelSpanInfo *, void *) GL_STANDIN_VOID_BODY(name)
PIXEL_SPAN(__glSpanReadCI)
PIXEL_SPAN(__glSpanReadCI2)
PIXEL_SPAN(__glSpanReadRGBA)
PIXEL_SPAN(__glSpanReadRGBA2)
PIXEL_SPAN(__glSpanReadDepth)
PIXEL_SPAN(__glSpanReadDepth2)
PIXEL_SPAN(__glSpanReadStencil)
PIXEL_SPAN(__glSpanReadStencil2)
PIXEL_SPAN(__glSpanRenderCI)
PIXEL_SPAN(__glSpanRenderCI2)
PIXEL_SPAN(__glSpanRenderRGBA)
PIXEL_SPAN(__glSpanRenderRGBA2)
PIXEL_SPAN(__glSpanRenderDepth)
PIXEL_SPAN(__glSpanRenderDepth2)
PIXEL_SPAN(__glSpanRenderStencil)
PIXEL_SPAN(__glSpanRenderStencil2)
