// Turning a pixel-format descriptor into the GlModes a context and a
// drawable carry, and the element sizes of a drawable's buffers.
#include "wgl/wgl_modes.h"

#include <stdlib.h>
#include <string.h>

#include "wgl/wgl_drawable.h"

namespace {

// Shifts as the processor does them: both counts taken modulo 32.
uint32_t ComponentMask(uint32_t bits, uint32_t shift) {
  return ((1u << (bits & 31)) - 1) << (shift & 31);
}

// "GLFORCEZBITS" read as a decimal integer, whatever it holds (an empty or
// non-numeric value reads as 0). Values outside 0..32 are not depths any
// buffer can hold and are ignored.
bool ForcedDepthBits(uint32_t *bits) {
  const char *text = getenv("GLFORCEZBITS");
  if (text == nullptr) return false;
  long value = strtol(text, nullptr, 10);
  if (value < 0 || value > 32) return false;
  *bits = uint32_t(value);
  return true;
}

// Whole bytes holding `bits`; a buffer without any still takes one.
uint32_t BytesFor(uint32_t bits) { return bits == 0 ? 1 : (bits - 1) / 8 + 1; }

}  // namespace

void __wglFormatGLModes(GlModes *modes, const PIXELFORMATDESCRIPTOR *descriptor) {
  memset(modes, 0, sizeof *modes);
  const PIXELFORMATDESCRIPTOR &d = *descriptor;
  modes->rgbMode = d.iPixelType == PFD_TYPE_RGBA;
  modes->colorIndexMode = d.iPixelType == PFD_TYPE_COLORINDEX;
  modes->doubleBufferMode = uint8_t(d.dwFlags & PFD_DOUBLEBUFFER);
  modes->stereoMode = uint8_t(d.dwFlags & PFD_STEREO);
  modes->haveAccumBuffer = d.cAccumBits != 0;
  modes->haveDepthBuffer = d.cDepthBits != 0;
  modes->haveStencilBuffer = d.cStencilBits != 0;
  modes->redBits = d.cRedBits;
  modes->greenBits = d.cGreenBits;
  modes->blueBits = d.cBlueBits;
  modes->alphaBits = d.cAlphaBits;
  modes->redMask = ComponentMask(d.cRedBits, d.cRedShift);
  modes->greenMask = ComponentMask(d.cGreenBits, d.cGreenShift);
  modes->blueMask = ComponentMask(d.cBlueBits, d.cBlueShift);
  modes->alphaMask = ComponentMask(d.cAlphaBits, d.cAlphaShift);
  modes->colorBits = d.cColorBits;
  modes->indexBits = d.cColorBits;
  modes->accumRedBits = d.cAccumRedBits;
  modes->accumGreenBits = d.cAccumGreenBits;
  modes->accumBlueBits = d.cAccumBlueBits;
  modes->accumAlphaBits = d.cAccumAlphaBits;
  modes->depthBits = d.cDepthBits;
  ForcedDepthBits(&modes->depthBits);
  modes->stencilBits = d.cStencilBits;
}

uint32_t __wglDepthElementSize(uint32_t depthBits) {
  // The core keeps every depth above 16 bits in a 32-bit word.
  if (depthBits > 16) return 4;
  return BytesFor(depthBits);
}

uint32_t __wglBufferElementSize(const GlDrawableBuffer *buffer,
                                const WglDrawablePrivate *drawable, uint32_t depth) {
  if (drawable && buffer == &drawable->drawable.depth) return __wglDepthElementSize(depth);
  return BytesFor(depth);
}
