// The span record of the generic rasterizer (`gc->polygon.shader`), the edge
// walker kept in front of it, the polygon face state the triangle picker
// sets, and the raster-mode flags word. Triangle setup and line set-up fill
// the shader for one span; every span procedure reads it. Generated code and
// the fast rasterizer read the mode flags by offset.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "core/gl_defs.h"
#include "geometry/s_vertex.h"

struct GlColorBuffer;

// Bits of the raster-mode flags word (`GlRasterModeFlags`), rebuilt by every
// validation pass that finds something dirty.
typedef uint32_t GlRasterModeFlags;
#define __GL_SHADE_RGB 0x1u               // RGBA context
#define __GL_SHADE_ITERATE_COLOR 0x2u     // colour iterated: smooth shading or fog
#define __GL_SHADE_DEPTH_TEST 0x4u        // depth test on, depth buffer present
#define __GL_SHADE_TEXTURE 0x8u
#define __GL_SHADE_STIPPLE 0x10u          // polygon stipple
#define __GL_SHADE_STENCIL_TEST 0x20u     // stencil test on, stencil buffer present
#define __GL_SHADE_DITHER 0x40u           // and the front buffer has < 3 bytes a pixel
#define __GL_SHADE_LOGIC_OP 0x80u
#define __GL_SHADE_BLEND 0x100u
#define __GL_SHADE_ALPHA_TEST 0x200u
#define __GL_SHADE_TWOSIDED 0x400u
#define __GL_SHADE_MASK 0x800u            // partial colour or index write mask
#define __GL_SHADE_FRAGMENT_FOG 0x1000u   // fog per fragment
#define __GL_SHADE_FOG 0x2000u
#define __GL_SHADE_DEPTH_ITER 0x4000u
#define __GL_SHADE_LINE_STIPPLE 0x8000u
#define __GL_SHADE_CULL_FACE 0x10000u
#define __GL_SHADE_SMOOTH_LIGHT 0x20000u  // smooth shading
#define __GL_SHADE_POLYGON_OFFSET 0x100000u
#define __GL_SHADE_INDEX_TEST 0x200000u
#define __GL_SHADE_FRONT_BUFFER 0x400000u  // draw buffer GL_FRONT or GL_FRONT_AND_BACK
#define __GL_SHADE_TEX_DIVIDED 0x800000u   // texture coordinates divided by w
#define __GL_SHADE_PERSPECTIVE 0x2000000u  // perspective-correct texturing
#define __GL_SHADE_MIPMAP 0x4000000u
#define __GL_SHADE_ALPHA 0x8000000u        // alpha iterated or needed

// One edge of the walker: x advances by `little` or `big` per row, the
// 31-bit fraction's carry choosing which.
typedef struct GlEdge {
  int32_t little, big;
  int32_t dfrac;
  int32_t x;
  int32_t frac;
} GlEdge;

typedef struct GlEdgeWalker {
  GlEdge left, right;
} GlEdgeWalker;

typedef struct GlShader {
  int32_t x, y;  // first pixel and row of the span, biased window coordinates
  uint32_t z;    // depth of the first pixel, depth-buffer units
  GLfloat r, g, b, a;  // colour of the first pixel; colour index in r
  GLfloat s, t, q, rho;
  GLfloat fog;
  int32_t length;
  GLfloat rLittle, gLittle, bLittle, aLittle;
  GLfloat rBig, gBig, bBig, aBig;
  GLfloat drdx, dgdx, dbdx, dadx;
  GLfloat drdy, dgdy, dbdy, dady;
  int32_t zLittle, zBig;
  int32_t dzdx;
  int32_t dzdxBig;  // dzdx times 32
  GLfloat dzdyFloat, dzdxFloat;
  GLfloat sLittle, tLittle, qLittle, rhoLittle;
  GLfloat sBig, tBig, qBig, rhoBig;
  GLfloat dsdx, dtdx, dqdx, drhodx;
  GLfloat dsdy, dtdy, dqdy, drhody;
  GLfloat fogLittle, fogBig;
  GLfloat dfdy, dfdx;
  GlRasterModeFlags modeFlags;
  void *zbuf;
  int32_t zbufBig, zbufLittle;
  uint8_t *sbuf;
  int32_t sbufBig, sbufLittle;
  GlColor *spanColors;
  GlColor *fbcolors;
  uint32_t *stipplePat;
  uint8_t done;
  GlColorBuffer *cfb;
  GLfloat offsetZ;
  uint32_t offsetClampLeft, offsetClampRight;
  GLfloat offsetRangeEnd, offsetRangeWidth;
  GLfloat offsetRangeEndBig, offsetRangeEndLittle;
  // The offset depth's row steps as values: a 16-bit buffer's step may pass
  // 2^31, where zLittle and zBig hold only the word's low bits.
  GLfloat offsetZLittle, offsetZBig;
} GlShader;

// The flags word sits after 55 words of start values and steps; the span
// generator and the fast rasterizer read it there.
static_assert(offsetof(GlShader, modeFlags) == 55 * 4, "mode flags are shader word 56");
static_assert(offsetof(GlShader, spanColors) == 62 * 4, "span interface after the buffer steps");

// Face indices.
#define __GL_FRONTFACE_INDEX 0
#define __GL_BACKFACE_INDEX 1
#define __GL_CULL_NONE 2

// Polygon modes reduced to their low four bits.
#define __GL_POLYGON_MODE_POINT 0
#define __GL_POLYGON_MODE_LINE 1
#define __GL_POLYGON_MODE_FILL 2

// Polygon and shader state of a context (`gc->polygon`).
typedef struct GlPolygonMachine {
  GlEdgeWalker edges;
  GlShader shader;
  // Face index of a triangle whose signed area has its sign bit set
  // (entry 0) or clear (entry 1).
  uint8_t facing[2];
  uint8_t cullFace;  // face index culled, or __GL_CULL_NONE
  uint8_t mode[2];   // front and back, __GL_POLYGON_MODE_*
  // The polygon stipple converted to one word per row, the first byte of a
  // row most significant.
  uint32_t stipple[32];
} GlPolygonMachine;
