// DescribePixelFormat, GetPixelFormat, SetPixelFormat and SwapBuffers, and
// the pixel-format checks that the other calls share.
#include "loader/pixel_formats.h"

#include "loader/driver.h"
#include "loader/wgl_checks.h"
#include "platform/control.h"
#include "platform/kernel.h"

int PixelFormatCount(const DriverEntries &driver, HDC hdc) {
  LONG count = driver.DrvDescribePixelFormat(hdc, 1, 0, nullptr);
  return count > 0 ? static_cast<int>(count) : 0;
}

bool PixelFormatKnown(const DriverEntries &driver, HDC hdc, int pixelFormat) {
  int count = PixelFormatCount(driver, hdc);
  // No formats at all is the driver's failure, with its own last error.
  if (count == 0) return false;
  if (pixelFormat >= 1 && pixelFormat <= count) return true;
  SetLastError(ERROR_INVALID_PIXEL_FORMAT);
  return false;
}

PLATFORM_API int WINAPI DescribePixelFormat(HDC hdc, int pixelFormat, UINT bytes,
                                            LPPIXELFORMATDESCRIPTOR descriptor) {
  const DriverEntries *driver = DriverForDC(hdc);
  if (driver == nullptr) return 0;
  // Without a descriptor the answer is only the count, whatever the number.
  if (descriptor != nullptr && !PixelFormatKnown(*driver, hdc, pixelFormat)) return 0;
  return driver->DrvDescribePixelFormat(hdc, pixelFormat, bytes, descriptor);
}

PLATFORM_API int WINAPI GetPixelFormat(HDC hdc) {
  LoaderThreadEnter();
  return PlatformGetPixelFormatNumber(hdc);
}

PLATFORM_API BOOL WINAPI SetPixelFormat(HDC hdc, int pixelFormat,
                                        const PIXELFORMATDESCRIPTOR *descriptor) {
  const DriverEntries *driver = DriverForDC(hdc);
  if (driver == nullptr) return FALSE;
  // The whole screen keeps no pixel format.
  if (GetObjectType(hdc) == OBJ_DC && WindowFromDC(hdc) == nullptr)
    return SetLastError(ERROR_INVALID_PIXEL_FORMAT), FALSE;
  int kept = PlatformGetPixelFormatNumber(hdc);
  if (kept != 0) {
    if (kept == pixelFormat) return TRUE;
    return SetLastError(ERROR_INVALID_PIXEL_FORMAT), FALSE;
  }
  if (!PixelFormatKnown(*driver, hdc, pixelFormat)) return FALSE;
  if (!driver->DrvSetPixelFormat(hdc, pixelFormat)) return FALSE;
  return PlatformSetPixelFormatNumber(hdc, pixelFormat);
}

PLATFORM_API BOOL WINAPI wglSwapBuffers(HDC hdc) {
  const DriverEntries *driver = DriverForDC(hdc);
  if (driver == nullptr) return FALSE;
  return driver->DrvSwapBuffers(hdc);
}

PLATFORM_API BOOL WINAPI SwapBuffers(HDC hdc) { return wglSwapBuffers(hdc); }
