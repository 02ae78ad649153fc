// Comparing a frame the SiS 6326 drawing model drew (the hardware path) with
// the software path's frame of the same buffer format, by the tolerances of
// the model's rules (section T of platform/sis6326_model_rules.md): every
// differing pixel is classified by the tolerance that allows it, and a
// difference no tolerance allows fails. The model's record since its last
// reset tells where triangle edges and line steps lie and what each textured
// primitive sampled.
#pragma once

#include "platform/win_types.h"

// A frame: rows of `pitch` bytes from `pixels`; pixel (i, j) is pixel
// (i, j) of the buffer the model drew into.
typedef struct SiS6326Frame {
  const void *pixels;
  int width, height;
  int pitch;
  // A colour format code of register 0x8A14 (0x10, 0x11, 0x12, 0x13, 0x33,
  // 0x34) or one of the depth formats below.
  uint32_t format;
} SiS6326Frame;

#define SIS6326_FRAME_Z16 0x1010u
#define SIS6326_FRAME_Z32 0x1020u

// The tolerances a differing pixel may be allowed by, in the order they are
// tried.
enum SiS6326Tolerance : uint32_t {
  SIS6326_ALLOWED_BY_NONE = 0,
  SIS6326_ALLOWED_COLOUR,      // T2: each channel within one unit
  SIS6326_ALLOWED_DEPTH,       // T4: a stored depth within 1 (16 bits) or 2^12 (32 bits)
  SIS6326_ALLOWED_EDGE,        // T1: centre within 2^-10 pixel of a drawn triangle's edge
  SIS6326_ALLOWED_LINE_STEP,   // T3: a drawn line's exact minor coordinate within 2^-16
                               // of the boundary between this pixel and its neighbour
  SIS6326_ALLOWED_DEPTH_TIE,   // T4: the model's depth test here compared values within
                               // twice that, so the software's outcome may differ (only
                               // with depth frames given)
  // T5: a textured primitive covering the pixel took there a decision whose
  // sides sample differently, by the model's own values; a depth may differ
  // by it only where the texel's alpha was tested.
  SIS6326_ALLOWED_TEXEL_BOUNDARY,  // a nearest sample within 2^-8 texel of a texel boundary
  SIS6326_ALLOWED_LEVEL_SWITCH,    // a lambda within 2^-8 of where the level choice changes
  SIS6326_ALLOWED_SWITCH_OVER,     // a rho within a relative 2^-8 of the switch-over value
                                   // between magnification and minification
  SIS6326_TOLERANCES,
};

typedef struct SiS6326Comparison {
  uint32_t compared;   // pixels of the colour and depth frames
  uint32_t differing;
  uint32_t allowed[SIS6326_TOLERANCES];  // per tolerance; [0]: allowed by none
  uint32_t largestDifference;  // largest channel difference, in units of the format
  double meanDifference;       // over every channel of every pixel compared
  int firstFailedX, firstFailedY;  // -1 when none failed
} SiS6326Comparison;

// Compares the colour frames and, when both are given, the depth frames. TRUE when
// every differing pixel is allowed; FALSE also for frames of unlike size or
// format, or a format not listed.
PLATFORM_API BOOL PlatformSiS6326Compare(const SiS6326Frame *hardware,
                                         const SiS6326Frame *software,
                                         const SiS6326Frame *hardwareDepth,
                                         const SiS6326Frame *softwareDepth,
                                         SiS6326Comparison *result);
