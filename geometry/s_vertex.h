// The vertex record of the pipeline. Every vertex that enters between
// glBegin and glEnd, every clip-made vertex and the raster position live in
// one of these. Generated code and the x87 routines read it by offset.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "core/gl_defs.h"

#define __GL_FRONTFACE 0
#define __GL_BACKFACE 1

// Bits of the `has` word (the vertex-needs words use the same values).
#define __GL_HAS_FRONT_COLOR 0x1u
#define __GL_HAS_BACK_COLOR 0x2u
#define __GL_HAS_TEXTURE 0x4u
#define __GL_HAS_NORMAL 0x8u
#define __GL_HAS_EYE 0x10u
#define __GL_HAS_CLIP 0x20u
#define __GL_HAS_FOG 0x40u
#define __GL_HAS_EDGEFLAG_BOUNDARY 0x1000u
#define __GL_HAS_CULLED 0x2000u
#define __GL_HAS_SIZE_MASK 0xC000u
#define __GL_HAS_SIZE2 0x4000u
#define __GL_HAS_SIZE3 0x8000u
#define __GL_HAS_SIZE4 0xC000u
#define __GL_CLIP_LEFT 0x10000u
#define __GL_CLIP_RIGHT 0x20000u
#define __GL_CLIP_BOTTOM 0x40000u
#define __GL_CLIP_TOP 0x80000u
#define __GL_CLIP_NEAR 0x100000u
#define __GL_CLIP_FAR 0x200000u
#define __GL_CLIP_USER0 0x400000u

typedef struct GlCoord {
  GLfloat x, y, z, w;
} GlCoord;

typedef struct GlColor {
  GLfloat r, g, b, a;
} GlColor;

typedef struct GlVertex {
  GlCoord obj;     // as given; missing z is 0, missing w 1
  GlCoord normal;  // object space as saved, eye space once validated; w is the plane term
  GlCoord clip;
  uint32_t has;
  GlColor *color;  // the entry of `colors` for the face being drawn
  GLfloat fog;
  // The fields above add up to 60 bytes: one spare word here keeps `window`
  // and everything after it on 16-byte boundaries and makes the record 144.
  uint32_t spare;
  GlCoord window;  // x, y, z and 1/w
  GlCoord eye;
  GlCoord texture;
  GlColor colors[2];  // front, back; in colour-index mode r holds the index
} GlVertex;

static_assert(offsetof(GlVertex, normal) == 16, "vertex layout");
static_assert(offsetof(GlVertex, clip) == 32, "vertex layout");
static_assert(offsetof(GlVertex, has) == 48, "vertex layout");
static_assert(offsetof(GlVertex, color) == 52, "vertex layout");
static_assert(offsetof(GlVertex, fog) == 56, "vertex layout");
static_assert(offsetof(GlVertex, window) == 64, "vertex layout");
static_assert(offsetof(GlVertex, eye) == 80, "vertex layout");
static_assert(offsetof(GlVertex, texture) == 96, "vertex layout");
static_assert(offsetof(GlVertex, colors) == 112, "vertex layout");
static_assert(sizeof(GlVertex) == 144, "GlVertex is 144 bytes");

// The context's vertex buffer (`gc->vertexBuffer`): where the immediate-mode
// entries put vertices and primitive assembly keeps them.
typedef struct GlVertexBuffer {
  GlVertex *next;     // the slot the next vertex entry fills
  GlVertex *kept[3];  // kept by strips, fans, loops and quad strips; [0] most recent
  GlVertex slots[16];
  GlVertex *provoking;  // whose colour a flat-shaded polygon takes
  // What validation says a vertex needs: always, for each face, and besides
  // the base for smooth shading.
  uint32_t baseNeeds, frontNeeds, backNeeds, smoothNeeds;
} GlVertexBuffer;
