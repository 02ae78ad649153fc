// Internal: the screen and the window model as the GDI, DirectDraw and DCI
// stand-ins share them. The screen's pixels are the DirectDraw primary
// surface: offset 0 of the one video-memory block.
//
// Owners: screen.cpp / the DirectDraw files implement the display-mode and
// video-memory half; the window-manager files implement the window half.
#pragma once

#include <stdint.h>

#include <algorithm>
#include <mutex>
#include <vector>

#include "platform/gdi.h"

namespace platform {

// ---- Display mode and video memory (DirectDraw side) --------------------------------
struct ScreenMode {
  int bitsPerPixel;   // 8, 15, 16, 24 or 32 (15 is the 5-5-5 mode)
  int width, height;  // pixels
  int bytesPerPixel;  // 1, 2, 2, 3, 4
  int pitch;          // bytes per row of the primary surface
};

// One lock guards the screen, the window list and the surfaces. Re-entrant so a
// call can reach the other half while holding it. Taken after the SiS 6326
// stand-in's ChipLock() (a fire draws into surfaces), never before it: a
// surface lock asks the chip's drawing model about unfired work through the
// model's own lock only.
std::recursive_mutex &ScreenLock();

ScreenMode CurrentScreenMode();
uint8_t *VideoMemoryBase();   // offset 0 is the primary surface's first pixel
uint32_t VideoMemorySize();   // the capacity

// Changes the mode and makes every surface lost. False (with a platform error
// code in *error) when the mode is not offered or the primary would not fit.
// Offered: 8, 15, 16, 24 and 32 bits per pixel, 1 to 4096 pixels each way.
// Errors: ERROR_INVALID_PARAMETER (not offered), ERROR_NOT_ENOUGH_MEMORY (too big).
bool SetScreenMode(int bitsPerPixel, int width, int height, uint32_t *error);

// The colour masks of a mode as the platform reports them: all 0 for 8 bits,
// 5-5-5 for 15 (reported as 16 bits per pixel), 5-6-5 for 16, 8-8-8 for 24 and 32.
void ScreenModeMasks(const ScreenMode &mode, uint32_t *red, uint32_t *green, uint32_t *blue);
// The bits per pixel the platform reports for a mode: 16 for the 15-bit mode.
int ReportedBitsPerPixel(const ScreenMode &mode);

// A selector whose base is VideoMemoryBase() and whose limit covers the
// capacity, for a DCI primary surface that hands out a selector
// (GetThreadSelectorEntry resolves it).
uint16_t ScreenSelector();

// ---- Window model (window-manager side) ----------------------------------------------
// The visible part of a window's client area, in screen coordinates, clipped to
// the screen and to the windows above it. Empty when the window is hidden, off
// the screen or not a window. Rectangles do not overlap; right and bottom are
// exclusive.
std::vector<RECT> WindowVisibleRects(HWND hwnd);
// The client rectangle in screen coordinates; false for a handle that is not a window.
bool WindowClientScreenRect(HWND hwnd, RECT *rect);
// Increases whenever any window moves, resizes, changes z-order, appears or
// goes, and at a display-mode change; clippers and WinWatch compare it.
uint32_t WindowClipGeneration();

// Rectangles keep right and bottom exclusive.
inline bool RectIsEmpty(const RECT &r) { return r.left >= r.right || r.top >= r.bottom; }
// What two rectangles share; empty (perhaps inside out) when nothing.
inline RECT RectIntersection(const RECT &a, const RECT &b) {
  return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
          std::min(a.bottom, b.bottom)};
}

// Clip lists as the clipper and WinWatch hand them out. The rectangles come
// in bands from top to bottom, each band's from left to right, as the
// platform's regions keep them.
// The rectangles cut to `limit` (none: all of them); empty ones are dropped.
std::vector<RECT> ClipRectsTo(const std::vector<RECT> &rects, const RECT *limit);
// Bytes of the RGNDATA holding `count` rectangles (32-byte header included).
DWORD RegionDataSize(size_t count);
// Writes the header (with the bounding rectangle) and the rectangles;
// `out` must hold RegionDataSize(rects.size()) bytes.
void WriteRegionData(const std::vector<RECT> &rects, RGNDATA *out);

}  // namespace platform
