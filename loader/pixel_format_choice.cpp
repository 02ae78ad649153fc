// ChoosePixelFormat: the driver's format that has every capability asked for
// and comes nearest to the buffer sizes asked for.
//
// A format qualifies when it has the pixel type, each of the capability bits
// asked for (drawing to a window or bitmap, GDI and OpenGL support), and
// double buffering and stereo when they are asked for. Among those, the
// winner has (in this order) the fewest bits missing from the sizes asked
// for (colour, alpha, accumulation, depth unless PFD_DEPTH_DONTCARE, stencil,
// auxiliary buffers), double buffering and stereo only when asked for (not
// minded under their don't-care bits), the fewest bits beyond the sizes, and
// the lowest number.
#include <stdint.h>

#include "loader/pixel_formats.h"
#include "loader/wgl_checks.h"
#include "platform/kernel.h"

namespace {

constexpr DWORD kCapabilities =
    PFD_DRAW_TO_WINDOW | PFD_DRAW_TO_BITMAP | PFD_SUPPORT_GDI | PFD_SUPPORT_OPENGL;

struct Fit {
  uint32_t missing;  // bits asked for that the format lacks
  uint32_t unasked;  // double buffering or stereo that was not asked for
  uint32_t surplus;  // bits beyond those asked for
};

bool Better(const Fit &a, const Fit &b) {
  if (a.missing != b.missing) return a.missing < b.missing;
  if (a.unasked != b.unasked) return a.unasked < b.unasked;
  return a.surplus < b.surplus;
}

void Compare(Fit &fit, unsigned asked, unsigned has) {
  if (has < asked)
    fit.missing += asked - has;
  else
    fit.surplus += has - asked;
}

// Whether the format qualifies for a mode bit: required when asked for,
// counted against it when present and not asked for.
bool ModeFits(Fit &fit, DWORD wanted, DWORD has, DWORD bit, DWORD dontCare) {
  if (wanted & dontCare) return true;
  if ((wanted & bit) && !(has & bit)) return false;
  if (!(wanted & bit) && (has & bit)) fit.unasked++;
  return true;
}

bool Qualifies(const PIXELFORMATDESCRIPTOR &wanted, const PIXELFORMATDESCRIPTOR &has, Fit &fit) {
  if (has.iPixelType != wanted.iPixelType) return false;
  if ((has.dwFlags & wanted.dwFlags & kCapabilities) != (wanted.dwFlags & kCapabilities))
    return false;
  if (!ModeFits(fit, wanted.dwFlags, has.dwFlags, PFD_DOUBLEBUFFER, PFD_DOUBLEBUFFER_DONTCARE))
    return false;
  if (!ModeFits(fit, wanted.dwFlags, has.dwFlags, PFD_STEREO, PFD_STEREO_DONTCARE)) return false;
  Compare(fit, wanted.cColorBits, has.cColorBits);
  Compare(fit, wanted.cAlphaBits, has.cAlphaBits);
  Compare(fit, wanted.cAccumBits, has.cAccumBits);
  if (!(wanted.dwFlags & PFD_DEPTH_DONTCARE)) Compare(fit, wanted.cDepthBits, has.cDepthBits);
  Compare(fit, wanted.cStencilBits, has.cStencilBits);
  Compare(fit, wanted.cAuxBuffers, has.cAuxBuffers);
  return true;
}

}  // namespace

PLATFORM_API int WINAPI ChoosePixelFormat(HDC hdc, const PIXELFORMATDESCRIPTOR *wanted) {
  const DriverEntries *driver = DriverForDC(hdc);
  if (driver == nullptr) return 0;
  if (wanted == nullptr || wanted->nSize != sizeof(PIXELFORMATDESCRIPTOR) || wanted->nVersion != 1)
    return SetLastError(ERROR_INVALID_PARAMETER), 0;
  int count = PixelFormatCount(*driver, hdc);
  if (count == 0) return 0;  // the driver's failure, with its last error
  int best = 0;
  Fit bestFit = {};
  bool unread = false;  // the driver failed to describe a format
  for (int number = 1; number <= count; ++number) {
    PIXELFORMATDESCRIPTOR has = {};
    if (driver->DrvDescribePixelFormat(hdc, number, sizeof has, &has) == 0) {
      unread = true;
      continue;
    }
    Fit fit = {};
    if (!Qualifies(*wanted, has, fit)) continue;
    if (best == 0 || Better(fit, bestFit)) best = number, bestFit = fit;
  }
  // When the driver failed, its last error says why nothing was chosen.
  if (best == 0 && !unread) SetLastError(ERROR_INVALID_PIXEL_FORMAT);
  return best;
}
