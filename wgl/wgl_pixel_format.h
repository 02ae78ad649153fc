// The pixel-format list: a table of raw descriptors edited against the
// display and kept until it is invalidated.
#pragma once

#include <stdint.h>

#include "platform/gdi.h"

#define WGL_RAW_PIXEL_FORMATS 32
extern PIXELFORMATDESCRIPTOR wglRawPixelFormats[WGL_RAW_PIXEL_FORMATS];

// Builds a list of row addresses from any raw table (the rows are edited in
// place). False, with nothing listed or edited, when the display cannot be
// described through the device context: a list built against depth 0 would
// lose rows and be kept until the next invalidation.
bool __wglUpdatePixelFormats(HDC hdc, PIXELFORMATDESCRIPTOR *rows, int32_t rowCount,
                             PIXELFORMATDESCRIPTOR **list, int32_t *count);
bool __wglPixelFormatSupported(PIXELFORMATDESCRIPTOR *row, uint32_t displayDepth,
                               uint32_t redMask, uint32_t greenMask, uint32_t blueMask,
                               uint32_t alphaMask);
void __wglDecodeColorMask(uint32_t mask, uint8_t *bits, uint8_t *shift);
// The display's bits per pixel (0 when unknown) and its colour masks.
uint32_t getDisplayMasks(HDC hdc, uint32_t *red, uint32_t *green, uint32_t *blue,
                         uint32_t *alpha);
// The GlDevice operations for the generic table: the count; the row copied
// (under the lock) when index lies in the list.
int __wglGetPixelFormat(HDC hdc, PIXELFORMATDESCRIPTOR *descriptor, int index);
void __wglInvalidatePixelFormatList(void);
