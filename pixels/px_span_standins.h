// Stand-ins for the pixel-span readers and renderers the core fills the
// procedure table's sixteen span slots with: readers (gc, info, out) read
// one span of a pixel rectangle from a buffer, renderers (gc, info, in)
// write one. The pixel paths replace them.
#pragma once

struct GlContext;
struct GlPixelSpanInfo;

#define GL_PIXEL_SPAN(name) void name(GlContext *gc, GlPixelSpanInfo *info, void *span)
GL_PIXEL_SPAN(__glSpanReadCI);
GL_PIXEL_SPAN(__glSpanReadCI2);
GL_PIXEL_SPAN(__glSpanReadRGBA);
GL_PIXEL_SPAN(__glSpanReadRGBA2);
GL_PIXEL_SPAN(__glSpanReadDepth);
GL_PIXEL_SPAN(__glSpanReadDepth2);
GL_PIXEL_SPAN(__glSpanReadStencil);
GL_PIXEL_SPAN(__glSpanReadStencil2);
GL_PIXEL_SPAN(__glSpanRenderCI);
GL_PIXEL_SPAN(__glSpanRenderCI2);
GL_PIXEL_SPAN(__glSpanRenderRGBA);
GL_PIXEL_SPAN(__glSpanRenderRGBA2);
GL_PIXEL_SPAN(__glSpanRenderDepth);
GL_PIXEL_SPAN(__glSpanRenderDepth2);
GL_PIXEL_SPAN(__glSpanRenderStencil);
GL_PIXEL_SPAN(__glSpanRenderStencil2);
#undef GL_PIXEL_SPAN
