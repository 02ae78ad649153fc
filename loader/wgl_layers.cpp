// Layer planes: describing them, their palettes and swapping them. The loader
// checks the device context, the pixel format and the caller's buffers; the
// driver decides the rest.
#include "loader/pixel_formats.h"
#include "loader/wgl_checks.h"
#include "platform/kernel.h"

namespace {

bool PaletteRangeOk(int first, int count, const COLORREF *colors) {
  if (first >= 0 && count >= 0 && (count == 0 || colors != nullptr)) return true;
  SetLastError(ERROR_INVALID_PARAMETER);
  return false;
}

}  // namespace

PLATFORM_API BOOL WINAPI wglDescribeLayerPlane(HDC hdc, int pixelFormat, int layerPlane, UINT bytes,
                                               LPLAYERPLANEDESCRIPTOR descriptor) {
  const DriverEntries *driver = DriverForDC(hdc);
  if (driver == nullptr) return FALSE;
  if (descriptor == nullptr) return SetLastError(ERROR_INVALID_PARAMETER), FALSE;
  if (!PixelFormatKnown(*driver, hdc, pixelFormat)) return FALSE;
  return driver->DrvDescribeLayerPlane(hdc, pixelFormat, layerPlane, bytes, descriptor);
}

PLATFORM_API int WINAPI wglSetLayerPaletteEntries(HDC hdc, int layerPlane, int first, int count,
                                                  const COLORREF *colors) {
  const DriverEntries *driver = DriverForDC(hdc);
  if (driver == nullptr || !PaletteRangeOk(first, count, colors)) return 0;
  return driver->DrvSetLayerPaletteEntries(hdc, layerPlane, first, count, colors);
}

PLATFORM_API int WINAPI wglGetLayerPaletteEntries(HDC hdc, int layerPlane, int first, int count,
                                                  COLORREF *colors) {
  const DriverEntries *driver = DriverForDC(hdc);
  if (driver == nullptr || !PaletteRangeOk(first, count, colors)) return 0;
  return driver->DrvGetLayerPaletteEntries(hdc, layerPlane, first, count, colors);
}

PLATFORM_API BOOL WINAPI wglRealizeLayerPalette(HDC hdc, int layerPlane, BOOL realize) {
  const DriverEntries *driver = DriverForDC(hdc);
  if (driver == nullptr) return FALSE;
  return driver->DrvRealizeLayerPalette(hdc, layerPlane, realize);
}

PLATFORM_API BOOL WINAPI wglSwapLayerBuffers(HDC hdc, UINT planes) {
  const DriverEntries *driver = DriverForDC(hdc);
  if (driver == nullptr) return FALSE;
  return driver->DrvSwapLayerBuffers(hdc, planes);
}
