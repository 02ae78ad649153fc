// Placeholder bodies until this file is written.
#include "wgl/wgl_modes.h"

void __wglFormatGLModes(GlModes *, const PIXELFORMATDESCRIPTOR *) {}
uint32_t __wglDepthElementSize(uint32_t) { return 0; }
uint32_t __wglBufferElementSize(const GlDrawableBuffer *, const WglDrawablePrivate *, uint32_t) { return 0; }
