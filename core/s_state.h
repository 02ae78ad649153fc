// The GL server state of a context (`gc->state`), in its attribute groups.
// Setters store here in API form; glPushAttrib copies whole groups, so each
// group is one record. Derived values live in the context's machines.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "core/gl_defs.h"
#include "geometry/s_eval.h"
#include "geometry/s_light.h"
#include "geometry/s_vertex.h"

// Bits of `enables.general`.
#define __GL_ALPHA_TEST_ENABLE 0x1u
#define __GL_BLEND_ENABLE 0x2u
#define __GL_INDEX_LOGIC_OP_ENABLE 0x4u
#define __GL_DITHER_ENABLE 0x8u
#define __GL_DEPTH_TEST_ENABLE 0x10u
#define __GL_FOG_ENABLE 0x20u
#define __GL_LIGHTING_ENABLE 0x40u
#define __GL_COLOR_MATERIAL_ENABLE 0x80u
#define __GL_LINE_STIPPLE_ENABLE 0x100u
#define __GL_LINE_SMOOTH_ENABLE 0x200u
#define __GL_POINT_SMOOTH_ENABLE 0x400u
#define __GL_POLYGON_SMOOTH_ENABLE 0x800u
#define __GL_CULL_FACE_ENABLE 0x1000u
#define __GL_POLYGON_STIPPLE_ENABLE 0x2000u
#define __GL_SCISSOR_TEST_ENABLE 0x4000u
#define __GL_STENCIL_TEST_ENABLE 0x8000u
#define __GL_NORMALIZE_ENABLE 0x10000u
#define __GL_AUTO_NORMAL_ENABLE 0x20000u
#define __GL_POLYGON_OFFSET_POINT_ENABLE 0x40000u
#define __GL_POLYGON_OFFSET_LINE_ENABLE 0x80000u
#define __GL_POLYGON_OFFSET_FILL_ENABLE 0x100000u
#define __GL_COLOR_LOGIC_OP_ENABLE 0x200000u
#define __GL_INDEX_MATERIAL_ENABLE 0x400000u
#define __GL_INDEX_TEST_ENABLE 0x800000u
#define __GL_CULL_VERTEX_ENABLE 0x1000000u

typedef struct GlCurrentState {
  GlColor color;   // scaled to the colour buffer by procs.applyColor
  GlColor userColor;  // as glColor gave it: not scaled, not clamped
  GLfloat index;
  GLfloat normal[3];
  GlCoord texture;
  uint32_t edgeFlag;  // __GL_HAS_EDGEFLAG_BOUNDARY when on, else 0
  // The raster position, kept as a whole vertex, and whether it is valid.
  GlVertex rasterPos;
  uint8_t validRasterPos;
} GlCurrentState;

typedef struct GlPointState {
  GLfloat requestedSize;
  GLfloat smoothSize;  // quantised
  int32_t aliasedSize;
} GlPointState;

typedef struct GlLineState {
  GLfloat requestedWidth;
  GLfloat smoothWidth;  // quantised
  int32_t aliasedWidth;
  uint16_t stipple;
  uint16_t stippleRepeat;
} GlLineState;

typedef struct GlPolygonState {
  GLenum frontMode, backMode;
  GLenum cull;
  GLenum frontFaceDirection;
  GLfloat factor, units;  // polygon offset
} GlPolygonState;

typedef struct GlPolygonStippleState {
  GLubyte stipple[128];
} GlPolygonStippleState;

typedef struct GlLightModelState {
  GlColor ambient;  // scaled
  uint8_t localViewer;
  uint8_t twoSided;
} GlLightModelState;

typedef struct GlLightState {
  GLenum colorMaterialFace, colorMaterialParam;
  GLenum indexMaterialFace, indexMaterialParam;
  GLenum shadingModel;
  GlLightModelState model;
  GlMaterial front, back;
  GlLight *source;  // numberOfLights of them
} GlLightState;

typedef struct GlFogState {
  GLenum mode;
  GlColor color;  // clamped and scaled
  GLfloat density, start, end;
  GLfloat index;
  uint8_t indexByte;
  GLfloat oneOverEMinusS;
  GLfloat scaledColor[3];  // by the red, green and blue colour scales
  uint8_t color8[3];
} GlFogState;

typedef struct GlDepthState {
  GLenum testFunc;
  uint8_t writeEnable;
  GLdouble clear;
} GlDepthState;

typedef struct GlAccumState {
  GlColor clear;
} GlAccumState;

typedef struct GlStencilState {
  GLenum testFunc;
  uint16_t reference;
  uint16_t mask;
  uint16_t writeMask;
  GLenum fail, depthFail, depthPass;
  uint16_t clear;
} GlStencilState;

// Viewport and depth range as given, and the scale and centre that map
// clip / w to window coordinates.
typedef struct GlViewport {
  int32_t x, y;
  int32_t width, height;  // clamped to the maximum viewport size
  GLdouble zNear, zFar;   // clamped to [0, 1]
  GLfloat xScale, xCenter;
  GLfloat yScale, yCenter;
  GLfloat zScale, zCenter;
} GlViewport;

typedef struct GlTransformState {
  GLenum matrixMode;
  GlCoord *eyeClipPlanes;  // numberOfClipPlanes of them, in eye space
} GlTransformState;

typedef struct GlEnableState {
  uint32_t general;
  uint32_t texture;     // 0x1 1D, 0x2 2D, 0x4 .. 0x20 generation of s, t, r, q
  uint32_t lights;      // bit i: GL_LIGHTi
  uint32_t clipPlanes;  // bit i: GL_CLIP_PLANEi
  uint16_t eval1, eval2;
} GlEnableState;

// The colour-buffer group.
typedef struct GlRasterState {
  GLenum alphaFunction;
  GLfloat alphaReference;
  GLenum blendSrc, blendDst;
  GLenum indexFunction;
  GLfloat indexReference;
  GLenum logicOp;
  GlColor clear;
  GLfloat clearIndex;
  uint8_t rMask, gMask, bMask, aMask;
  GLuint writeMask;  // colour-index write mask
  GLenum drawBuffer;        // in force
  GLenum drawBufferReturn;  // as requested
} GlRasterState;

typedef struct GlHintState {
  GLenum perspectiveCorrection;
  GLenum pointSmooth;
  GLenum lineSmooth;
  GLenum polygonSmooth;
  GLenum fog;
} GlHintState;

typedef struct GlScissor {
  int32_t x, y, width, height;
} GlScissor;

typedef struct GlListState {
  GLuint listBase;
} GlListState;

typedef struct GlState {
  GlCurrentState current;
  GlPointState point;
  GlLineState line;
  GlPolygonState polygon;
  GlPolygonStippleState polygonStipple;
  GlLightState light;
  GlFogState fog;
  GlDepthState depth;
  GlAccumState accum;
  GlStencilState stencil;
  GlViewport viewport;
  GlTransformState transform;
  GlEnableState enables;
  GlRasterState raster;
  GlHintState hints;
  GlScissor scissor;
  GlListState list;
  GlEvaluatorState evaluator;  // the grids
  // The pixel-mode and texture groups arrive with their subsystems.
} GlState;
