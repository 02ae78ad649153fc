// Images for the end-to-end tests: the reference drawn by the core in a
// child process, pixels read back from the screen or a bitmap, and the
// comparison, all in the colour buffer's own pixel layout.
#pragma once

#include <gtest/gtest.h>
#include <stdint.h>

#include <string>
#include <vector>

#include "platform/gdi.h"
#include "tests/wgl/e2e/e2e_reference.h"

// The reference request for a pixel format on a window (or bitmap) of the
// given size and screen origin, drawn with the given viewport.
ReferenceRequest RequestFor(const PIXELFORMATDESCRIPTOR &pfd, int width, int height,
                            int viewportWidth, int viewportHeight, int originX, int originY,
                            bool yInverted, bool dither = true);

// Runs the reference program; false with the reason in *why. `generic`
// draws it along the generic triangle path.
bool DrawReference(const ReferenceRequest &request, std::vector<uint32_t> *pixels,
                   std::string *why, bool generic = false);

// The bits of a pixel that the pixel format's colour components use.
uint32_t ColorMask(const PIXELFORMATDESCRIPTOR &pfd);

// A pixel read back as 0xAARRGGBB, in the pixel format's layout: each
// component keeps its top bits, whatever widening the screen read applied.
uint32_t NativeFromArgb(uint32_t argb, const PIXELFORMATDESCRIPTOR &pfd);

// True when every pixel outside the skipped rectangles agrees in the masked
// bits; otherwise the count of differing pixels and the first few. With
// `oneUnit`, each colour component of that format may differ by one (the
// chip's undithered clears).
::testing::AssertionResult SameImage(const std::vector<uint32_t> &expected,
                                     const std::vector<uint32_t> &actual, int width, int height,
                                     uint32_t mask, const std::vector<RECT> &skipped = {},
                                     const PIXELFORMATDESCRIPTOR *oneUnit = nullptr);
