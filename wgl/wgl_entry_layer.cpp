// Layer planes. No pixel format has any, so every question about one fails
// with an invalid pixel format rather than answering with unfilled data.
#include "wgl/wgl_entries.h"
#include "wgl/wgl_message.h"

extern "C" BOOL GLENTRY DrvDescribeLayerPlane(HDC, int, int, UINT, LAYERPLANEDESCRIPTOR *) {
  __wglSetSystemError("wglDescribeLayerPlane", ERROR_INVALID_PIXEL_FORMAT);
  return FALSE;
}

extern "C" int GLENTRY DrvGetLayerPaletteEntries(HDC, int, int, int, COLORREF *) {
  __wglSetSystemError("wglDescribeLayerPlane", ERROR_INVALID_PIXEL_FORMAT);
  return 0;
}

extern "C" int GLENTRY DrvSetLayerPaletteEntries(HDC, int, int, int, const COLORREF *) {
  __wglSetSystemError("wglDescribeLayerPlane", ERROR_INVALID_PIXEL_FORMAT);
  return 0;
}

extern "C" BOOL GLENTRY DrvRealizeLayerPalette(HDC, int, BOOL) {
  __wglSetSystemError("wglRealizeLayerPalette", ERROR_INVALID_PIXEL_FORMAT);
  return FALSE;
}
