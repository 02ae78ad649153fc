// A pixel-format descriptor (size 40, version 1) with these flags, pixel type
// and buffer sizes: how the fake driver describes its formats and how the
// tests ask for one.
#pragma once

#include "platform/gdi.h"

inline PIXELFORMATDESCRIPTOR PixelFormatDescriptor(DWORD flags, BYTE type, BYTE color = 0,
                                                   BYTE alpha = 0, BYTE accum = 0, BYTE depth = 0,
                                                   BYTE stencil = 0) {
  PIXELFORMATDESCRIPTOR pfd = {};
  pfd.nSize = sizeof pfd;
  pfd.nVersion = 1;
  pfd.dwFlags = flags;
  pfd.iPixelType = type;
  pfd.cColorBits = color;
  pfd.cAlphaBits = alpha;
  pfd.cAccumBits = accum;
  pfd.cDepthBits = depth;
  pfd.cStencilBits = stencil;
  return pfd;
}
