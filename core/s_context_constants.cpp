// The constants the soft reset derives: the GL strings, the conversion
// maxima, and the words that depend on the drawing buffer's scales and on
// the window bias.
#include <string.h>

#include "core/context.h"
#include "core/s_context_steps.h"
#include "core/s_cpu.h"

namespace {

const char kVendor[] = "VLX";
const char kVersion[] = "1.1.3 VLX";
// The blank at the end is part of the string.
const char kExtensions[] =
    "GL_EXT_abgr GL_EXT_bgra GL_EXT_packed_pixels GL_EXT_paletted_texture "
    "GL_EXT_vertex_array GL_VLX_compiled_vertex_array GL_VLX_cull_vertex "
    "GL_VLX_index_array_formats GL_VLX_index_func GL_VLX_index_material "
    "GL_VLX_index_texture GL_WIN_swap_hint ";

const char *RendererFor(GlCpuFlags flags) {
  if (flags & __GL_CPU_K3D) return "Generic/MMX/K3D";
  if (flags & __GL_CPU_MMX) return "Generic/MMX";
  return "Generic";
}

// 4294964992.0: the float just below 2^32, standing for the largest
// unsigned 32-bit value.
GLfloat UIntMax() {
  const uint32_t bits = 0x4F7FFFF7u;
  GLfloat f;
  memcpy(&f, &bits, sizeof f);
  return f;
}

// The smallest power of two, halving from 1, whose single-precision sum
// with the bias still differs from the bias: window coordinates closer than
// this to a pixel edge cannot be told apart from it.
GLfloat ViewportEpsilon(GLfloat bias) {
  volatile GLfloat eps = 1.0f;
  for (;;) {
    volatile GLfloat half = eps * 0.5f;
    volatile GLfloat sum = bias + half;
    if (sum == bias || half == 0.0f) return eps;
    eps = half;
  }
}

}  // namespace

void __glResetConstants(GlContext *gc) {
  GlConstants &c = gc->constants;
  __glI386GetCPUFlags(gc);
  c.vendor = kVendor;
  c.renderer = RendererFor(c.cpuFlags);
  c.version = kVersion;
  c.extensions = kExtensions;

  c.uByteMax = 255.0f;
  c.oneOverUByteMax = 1.0f / c.uByteMax;
  c.uShortMax = 65535.0f;
  c.oneOverUShortMax = 1.0f / c.uShortMax;
  c.uIntMax = UIntMax();
  c.oneOverUIntMax = 1.0f / c.uIntMax;

  // The drawing buffer's scales; a context without buffers yet takes its
  // own, which makes every rescale 1.
  GlColor scale = {c.redScale, c.greenScale, c.blueScale, c.alphaScale};
  if (const GlColorBuffer *cfb = gc->drawBuffer)
    scale = {cfb->redScale, cfb->greenScale, cfb->blueScale, cfb->alphaScale};
  if (c.alphaTestSize == 0) c.alphaTestSize = 256;
  c.alphaTableConv = GLfloat(c.alphaTestSize - 1) / scale.a;
  c.oneOverRedScale = 1.0f / c.redScale;
  c.oneOverGreenScale = 1.0f / c.greenScale;
  c.oneOverBlueScale = 1.0f / c.blueScale;
  c.oneOverAlphaScale = 1.0f / c.alphaScale;
  c.redRescale = c.oneOverRedScale * scale.r;
  c.greenRescale = c.oneOverGreenScale * scale.g;
  c.blueRescale = c.oneOverBlueScale * scale.b;
  c.alphaRescale = c.oneOverAlphaScale * scale.a;

  c.oneOverDepthScale = 1.0f / c.depthScale;
  c.depthMax = GLfloat(gc->depthBuffer.scale) * c.oneOverDepthScale;

  for (int i = 0; i < 256; i++) c.uByteToFloat[i] = GLfloat(i) * c.oneOverUByteMax;

  c.viewportEpsilon = ViewportEpsilon(c.fviewportXAdjust);
  c.viewportAlmostHalf = c.half - c.viewportEpsilon;
}
