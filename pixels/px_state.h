// Pixel-path and colour-table state of a context (`gc->pixel`): the pixel
// transfer modes, the pixel maps, the read buffer and what the pixel picker
// derives from them.
#pragma once

#include <stdint.h>

#include "core/gl_defs.h"
#include "geometry/s_vertex.h"

struct GlContext;

// glPixelTransfer state, in its fixed order.
typedef struct GlPixelTransferMode {
  GLfloat redScale, greenScale, blueScale, alphaScale, depthScale;
  GLfloat redBias, greenBias, blueBias, alphaBias, depthBias;
  GLfloat zoomX, zoomY;
  GLint indexShift, indexOffset;
  GLboolean mapColor, mapStencil;
} GlPixelTransferMode;

// One pixel map: `size` entries, integers in the two index maps and floats
// in [0, 1] in the others. A map whose table is missing (size 0) reads as
// the default map, one entry of 0.
typedef struct GlPixelMap {
  int32_t size;
  union {
    GLint *mapI;
    GLfloat *mapF;
  } base;
} GlPixelMap;

// Indices of pixelMap: the map's enumerant minus GL_PIXEL_MAP_I_TO_I.
#define __GL_PIXEL_MAP_FIRST 0x0C70
#define __GL_PIXEL_MAP_COUNT 10
#define __GL_PIXEL_MAP_I_TO_I 0
#define __GL_PIXEL_MAP_S_TO_S 1
#define __GL_PIXEL_MAP_I_TO_R 2
#define __GL_PIXEL_MAP_I_TO_G 3
#define __GL_PIXEL_MAP_I_TO_B 4
#define __GL_PIXEL_MAP_I_TO_A 5
#define __GL_PIXEL_MAP_R_TO_R 6
#define __GL_PIXEL_MAP_G_TO_G 7
#define __GL_PIXEL_MAP_B_TO_B 8
#define __GL_PIXEL_MAP_A_TO_A 9

// What the pixel picker derives from the transfer state for the span
// chains.
typedef struct GlPixelModifyState {
  uint8_t modifyRGBA;     // colours need scale, bias or the colour maps
  uint8_t modifyCI;       // indices need shift, offset or maps (always in RGBA)
  uint8_t modifyDepth;    // depth needs scale or bias
  uint8_t modifyStencil;  // stencil needs shift, offset or the stencil map
  uint8_t fastDraw;       // the fast draw paths may run
  // Opaque black after the colour transfer, at colour-buffer scale: what
  // components missing from a source format get.
  GlColor defaultColor;
  // Whether the lookup tables of the modify stages still hold for the
  // transfer state; the tables arrive with those stages.
  uint8_t rgbaValid;
  uint8_t itoiValid;
  uint8_t itoRgbaValid;
} GlPixelModifyState;

typedef struct GlPixelMachine {
  GlPixelTransferMode transferMode;
  GlPixelMap pixelMap[__GL_PIXEL_MAP_COUNT];
  // The buffer the read paths use (GL_FRONT, GL_BACK or an auxiliary
  // buffer) and the value as the application gave it.
  GLenum readBuffer;
  GLenum readBufferReturn;
  GlPixelModifyState modify;
} GlPixelMachine;

// The defaults of the soft reset, and their release at destruction. A map
// whose table cannot be allocated is left empty (size 0).
void __glInitPixelState(GlContext *gc);
void __glFreePixelState(GlContext *gc);
// Replaces `map` (GL_PIXEL_MAP_I_TO_I .. GL_PIXEL_MAP_A_TO_A) by the
// default map; GL_INVALID_ENUM for any other value.
void __glInitDefaultPixelMap(GlContext *gc, GLenum map);
void __glInitColorTables(GlContext *gc);
void __glFreeColorTables(GlContext *gc);
