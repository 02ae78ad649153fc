// What the window-system layer hands every new context: the allocator and
// window-system callbacks (GlImports) and the pixel-format description
// (GlModes). The device's create operation copies both to the head of the
// context record, so the field order and sizes are fixed.
#pragma once

#include <stddef.h>
#include <stdint.h>

struct GlContext;
struct GlDrawable;

typedef struct GlImports {
  void *(*malloc)(GlContext *gc, size_t size);
  void *(*calloc)(GlContext *gc, size_t count, size_t size);
  void *(*realloc)(GlContext *gc, void *block, size_t size);
  void (*free)(GlContext *gc, void *block);
  void (*warning)(GlContext *gc, const char *text);
  void (*fatal)(GlContext *gc, const char *text);
  GlDrawable *(*getDrawablePrivate)(GlContext *gc);
  int (*getDrawableSize)(GlContext *gc, int32_t *x, int32_t *y, uint32_t *width,
                         uint32_t *height);
  void *other;  // the window-system context record being created
} GlImports;

typedef struct GlModes {
  uint8_t rgbMode;
  uint8_t colorIndexMode;
  uint8_t doubleBufferMode;
  uint8_t stereoMode;  // 0 or 2, the descriptor's bit as stored
  uint8_t haveAccumBuffer;
  uint8_t haveDepthBuffer;
  uint8_t haveStencilBuffer;
  uint32_t redBits, greenBits, blueBits, alphaBits;
  uint32_t redMask, greenMask, blueMask, alphaMask;
  uint32_t colorBits;
  uint32_t indexBits;
  uint32_t accumRedBits, accumGreenBits, accumBlueBits, accumAlphaBits;
  uint32_t depthBits;
  uint32_t stencilBits;
  uint32_t reserved[2];  // always 0
  uint32_t isBitmap;     // set only in a drawable's copy
} GlModes;

static_assert(sizeof(GlImports) == 9 * 4, "GlImports is nine words");
static_assert(sizeof(GlModes) == 21 * 4, "GlModes is 21 words");
static_assert(offsetof(GlModes, redBits) == 8, "bit counts follow the flag bytes");
