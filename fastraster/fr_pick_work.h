// The fast-path picker's working record and its stages. The pick first
// decides everything into an FrPick without touching the context, so a
// decline leaves the procedures and the flag word as they were; only then
// does it install.
#pragma once

#include <stdint.h>

#include "core/calling.h"
#include "core/procs.h"

struct GlContext;

// The diagnostic switches, read once per process.
struct FrSwitches {
  uint8_t disableFastpath, nullTriangleRender, nullTriangleFill, nullSpanlets, disableOg,
      genericStore, genericSetup;
};
// Reads the environment the first time it is called (safe when two threads
// validate at once) and returns the switches.
const FrSwitches &checkEnvVars();

// Texture flags.
#define FR_TEX_PERSPECTIVE 0x10u
#define FR_TEX_FOUR_BYTES 0x40u
#define FR_TEX_ALPHA 0x200u

struct FrPick {
  uint32_t flags;  // the mode flags as the pick leaves them
  uint8_t type;    // the draw buffer's FrFbType
  bool rgba;
  bool combine, genericStore, genericSetup, spanletMode, nullStore, alphaNeeded;
  uint8_t colorKey, combineKey;
  // Texturing.
  bool textured, genericExtract;
  uint32_t texFlags;
  FrTexelFilterProc minFilter, magFilter;
  FrSpanletProc extract;
  uint8_t envColor[4];
};

// The state steps (formats, depth, offset, both buffers, keys, tests, masks,
// stencil, operations, dither, alpha planes): false declines.
bool FrPickState(GlContext *gc, const FrSwitches &sw, FrPick *pick);
// The texture section: filters, texture flags, the environment's colour key
// bits, the environment colour and the extraction spanlet; false declines.
bool FrPickTexture(GlContext *gc, FrPick *pick);
// Spanlet mode: the chain's procedures into their successor slots.
void FrBuildChain(GlContext *gc, const FrSwitches &sw, const FrPick &pick);
