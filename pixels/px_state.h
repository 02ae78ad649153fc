// Pixel-path and colour-table state of a context (`gc->pixel`): the pixel
// store and transfer modes, the pixel maps, the read buffer and what the
// pixel picker derives from them.
#pragma once

#include <stdint.h>

#include "core/calling.h"
#include "core/gl_defs.h"
#include "geometry/s_vertex.h"

struct GlContext;

// The pixel-store modes of one direction: the pack block (client memory
// written by glReadPixels and the like) or the unpack block (client memory
// read by glDrawPixels, the glTexImage entries, glPolygonStipple ...). The
// client attribute stack copies it whole.
typedef struct GlPixelStoreModes {
  GLboolean swapBytes;  // swap the bytes of multi-byte elements
  GLboolean lsbFirst;   // bitmaps: the first pixel in the least significant bit
  GLint rowLength;      // pixels per row in memory; below 1 the image's width
  GLint skipRows;
  GLint skipPixels;
  GLint alignment;      // 1, 2, 4 or 8: rows start on multiples of this many bytes
} GlPixelStoreModes;

// glPixelTransfer state, in its fixed order.
typedef struct GlPixelTransferMode {
  GLfloat redScale, greenScale, blueScale, alphaScale, depthScale;
  GLfloat redBias, greenBias, blueBias, alphaBias, depthBias;
  GLfloat zoomX, zoomY;
  GLint indexShift, indexOffset;
  GLboolean mapColor, mapStencil;
} GlPixelTransferMode;

// One pixel map: `size` entries, integers in the two index maps and floats
// in [0, 1] in the others. Once the context is created every map has a
// table and a size of at least 1; the index and index-to-colour maps have a
// power-of-two size.
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

// Index of the colour-scale tables, and of the four-table sets, by component.
#define __GL_PIXEL_TABLE_R 0
#define __GL_PIXEL_TABLE_G 1
#define __GL_PIXEL_TABLE_B 2
#define __GL_PIXEL_TABLE_A 3
#define __GL_PIXEL_TABLE_INDEX 4  // colour-scale tables only
#define __GL_PIXEL_TABLE_ENTRIES 256

// What the pixel picker derives from the transfer state for the span
// chains, with the 256-float lookup tables of the unsigned-byte shortcuts.
// The colour-scale tables are allocated when the context is created; the
// others on first use. __glFreePixelState frees every table that exists.
typedef struct GlPixelModifyState {
  uint8_t modifyRGBA;     // colours need scale, bias or the colour maps
  uint8_t modifyCI;       // indices need shift, offset or maps (always in RGBA)
  uint8_t modifyDepth;    // depth needs scale or bias
  uint8_t modifyStencil;  // stencil needs shift, offset or the stencil map
  uint8_t fastDraw;       // the fast draw paths may run
  // Opaque black after the colour transfer, at colour-buffer scale: what
  // components missing from a source format get.
  GlColor defaultColor;
  // i x (component scale / 255) for R, G, B, A, and i & index mask.
  GLfloat *colorScale[5];
  // The tables the unsigned-byte shortcut of the current chain reads.
  GLfloat *currentTables[4];
  // Each set of lookup tables follows its flag, which says whether it still
  // holds for the transfer state: R, G, B, A of unsigned-byte colours;
  // unsigned-byte indices drawn as indices; indices drawn as R, G, B, A.
  uint8_t rgbaValid;
  GLfloat *rgbaTables[4];
  uint8_t itoiValid;
  GLfloat *itoiTable;
  uint8_t itoRgbaValid;
  GLfloat *itoRgbaTables[4];
} GlPixelModifyState;

// The context's pixel state, in its fixed order.
typedef struct GlPixelMachine {
  GlPixelStoreModes packModes;
  GlPixelStoreModes unpackModes;
  GlPixelTransferMode transferMode;
  GlPixelMap pixelMap[__GL_PIXEL_MAP_COUNT];
  // The buffer the read paths use (GL_FRONT, GL_BACK or an auxiliary
  // buffer) and the value as the application gave it.
  GLenum readBuffer;
  GLenum readBufferReturn;
  GlPixelModifyState modify;
  // The single entry (0, or 0.0) of every default map. Default maps point
  // here, so installing one never allocates and never fails.
  GLint defaultMapEntry;
} GlPixelMachine;

// Creation: installs the default maps and allocates the colour-scale
// tables; false when an allocation fails (the creator then destroys the
// context, which frees what was made).
GLbool8 __glEarlyInitPixelState(GlContext *gc);
// The defaults of the soft reset; allocates nothing.
void __glInitPixelState(GlContext *gc);
// Frees every map table and lookup table the context owns.
void __glFreePixelState(GlContext *gc);
// Replaces `map` (GL_PIXEL_MAP_I_TO_I .. GL_PIXEL_MAP_A_TO_A) by the
// default map; GL_INVALID_ENUM for any other value.
void __glInitDefaultPixelMap(GlContext *gc, GLenum map);
// Whether a map's table is one of its own (allocated), not the shared
// default entry.
inline bool __glPixelMapOwnsTable(const GlPixelMachine *px, const GlPixelMap *map) {
  return map->base.mapI != nullptr && map->base.mapI != &px->defaultMapEntry;
}
// Fills the colour-scale tables from the draw buffer's scales and index
// mask, and marks the RGBA lookup tables stale (they depend on the scales).
void __glPixelSetColorScales(GlContext *gc);
void __glInitColorTables(GlContext *gc);
void __glFreeColorTables(GlContext *gc);
