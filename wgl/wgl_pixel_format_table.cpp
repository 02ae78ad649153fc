// The generic pixel formats before they are edited against the display:
// four colour depths, each RGBA and colour index, single- and
// double-buffered, with a 32-bit or a 16-bit depth buffer.
#include "wgl/wgl_pixel_format.h"

namespace {

constexpr DWORD kSingle =
    PFD_DRAW_TO_WINDOW | PFD_DRAW_TO_BITMAP | PFD_SUPPORT_GDI | PFD_SUPPORT_OPENGL;
constexpr DWORD kDouble = PFD_DOUBLEBUFFER | PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL;
constexpr BYTE kRgba = PFD_TYPE_RGBA;
constexpr BYTE kIndex = PFD_TYPE_COLORINDEX;

// Components as bits at shift; RGBA rows carry a 64-bit accumulation
// buffer (16 bits a component), every row 8 stencil bits.
constexpr PIXELFORMATDESCRIPTOR Row(BYTE colorBits, BYTE type, DWORD flags, BYTE redBits,
                                    BYTE redShift, BYTE greenBits, BYTE greenShift,
                                    BYTE blueBits, BYTE blueShift, BYTE depthBits) {
  const BYTE accum = type == PFD_TYPE_RGBA ? 16 : 0;
  return PIXELFORMATDESCRIPTOR{
      sizeof(PIXELFORMATDESCRIPTOR), 1, flags, type, colorBits,
      redBits, redShift, greenBits, greenShift, blueBits, blueShift, 0, 0,
      BYTE(accum * 4), accum, accum, accum, accum,
      depthBits, 8, 0, PFD_MAIN_PLANE, 0, 0, 0, 0};
}

}  // namespace

// Rows are edited in place by every rebuild of the list.
PIXELFORMATDESCRIPTOR wglRawPixelFormats[WGL_RAW_PIXEL_FORMATS] = {
    Row(32, kRgba, kSingle, 0, 0, 0, 0, 0, 0, 32),
    Row(32, kRgba, kSingle, 0, 0, 0, 0, 0, 0, 16),
    Row(32, kRgba, kDouble, 0, 0, 0, 0, 0, 0, 32),
    Row(32, kRgba, kDouble, 0, 0, 0, 0, 0, 0, 16),
    Row(32, kIndex, kSingle, 0, 0, 0, 0, 0, 0, 32),
    Row(32, kIndex, kSingle, 0, 0, 0, 0, 0, 0, 16),
    Row(32, kIndex, kDouble, 0, 0, 0, 0, 0, 0, 32),
    Row(32, kIndex, kDouble, 0, 0, 0, 0, 0, 0, 16),
    Row(24, kRgba, kSingle, 8, 16, 8, 8, 8, 0, 32),
    Row(24, kRgba, kSingle, 8, 16, 8, 8, 8, 0, 16),
    Row(24, kRgba, kDouble, 8, 16, 8, 8, 8, 0, 32),
    Row(24, kRgba, kDouble, 8, 16, 8, 8, 8, 0, 16),
    Row(24, kIndex, kSingle, 0, 0, 0, 0, 0, 0, 32),
    Row(24, kIndex, kSingle, 0, 0, 0, 0, 0, 0, 16),
    Row(24, kIndex, kDouble, 0, 0, 0, 0, 0, 0, 32),
    Row(24, kIndex, kDouble, 0, 0, 0, 0, 0, 0, 16),
    Row(16, kRgba, kSingle, 0, 0, 0, 0, 0, 0, 32),
    Row(16, kRgba, kSingle, 0, 0, 0, 0, 0, 0, 16),
    Row(16, kRgba, kDouble, 0, 0, 0, 0, 0, 0, 32),
    Row(16, kRgba, kDouble, 0, 0, 0, 0, 0, 0, 16),
    Row(16, kIndex, kSingle, 0, 0, 0, 0, 0, 0, 32),
    Row(16, kIndex, kSingle, 0, 0, 0, 0, 0, 0, 16),
    Row(16, kIndex, kDouble, 0, 0, 0, 0, 0, 0, 32),
    Row(16, kIndex, kDouble, 0, 0, 0, 0, 0, 0, 16),
    Row( 8, kRgba, kSingle, 3, 5, 3, 2, 2, 0, 32),
    Row( 8, kRgba, kSingle, 3, 5, 3, 2, 2, 0, 16),
    Row( 8, kRgba, kDouble, 3, 5, 3, 2, 2, 0, 32),
    Row( 8, kRgba, kDouble, 3, 5, 3, 2, 2, 0, 16),
    Row( 8, kIndex, kSingle, 0, 0, 0, 0, 0, 0, 32),
    Row( 8, kIndex, kSingle, 0, 0, 0, 0, 0, 0, 16),
    Row( 8, kIndex, kDouble, 0, 0, 0, 0, 0, 0, 32),
    Row( 8, kIndex, kDouble, 0, 0, 0, 0, 0, 0, 16),
};
