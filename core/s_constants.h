// Limits and derived constants of a context (`gc->constants`). Creators store
// the fixed values; early initialisation and the soft reset derive the rest.
// Generated code reads several of these words by offset.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "core/gl_defs.h"

// No pixel format of this system has auxiliary buffers.
constexpr uint32_t __GL_AUX_BUFFERS = 0;

// Processor features of a context.
typedef uint32_t GlCpuFlags;
#define __GL_CPU_MMX 0x1u
#define __GL_CPU_K3D 0x2u  // 3DNow!

typedef struct GlConstants {
  GLfloat half, one;
  GLfloat uByteMax, oneOverUByteMax;
  GLfloat uShortMax, oneOverUShortMax;
  GLfloat uIntMax, oneOverUIntMax;
  const char *vendor, *renderer, *version, *extensions;
  int32_t numberOfLights;
  int32_t numberOfClipPlanes;
  int32_t numberOfTextures;
  int32_t numberOfTextureEnvs;
  int32_t maxViewportWidth, maxViewportHeight;
  // Window coordinates are biased by these so that drawables up to 2048
  // pixels lie in [4096, 8192), where float steps are even.
  int32_t viewportXAdjust, viewportYAdjust;
  GLfloat fviewportXAdjust, fviewportYAdjust;
  GLfloat viewportEpsilon;
  GLfloat viewportAlmostHalf;
  // Blue before green, here and in the three groups below.
  GLfloat redScale, blueScale, greenScale, alphaScale;
  GLfloat oneOverRedScale, oneOverBlueScale, oneOverGreenScale, oneOverAlphaScale;
  GLfloat redRescale, blueRescale, greenRescale, alphaRescale;
  GLfloat depthScale;
  GLfloat oneOverDepthScale;
  GLfloat depthMax;
  // Drawable size, kept by the frame-buffer code.
  int32_t width, height;
  int32_t alphaTestSize;
  GLfloat alphaTableConv;
  int32_t maxTextureSize;
  int32_t maxMipMapLevel;
  int32_t subpixelBits;
  GLfloat pointSizeMinimum, pointSizeMaximum, pointSizeGranularity;
  GLfloat lineWidthMinimum, lineWidthMaximum, lineWidthGranularity;
  int32_t maxEvalOrder;
  int32_t maxPixelMapTable;
  int32_t maxAttribStackDepth;
  int32_t maxClientAttribStackDepth;
  int32_t maxNameStackDepth;
  int32_t maxModelViewStackDepth;
  int32_t maxProjectionStackDepth;
  int32_t maxTextureStackDepth;
  GLfloat uByteToFloat[256];
  // Rows of the drawable run top-down; kept by the frame-buffer code.
  uint8_t yInverted;
  GlCpuFlags cpuFlags;
  // Sizes of the five run-time code caches: entries and bytes per entry.
  uint32_t textureReadCacheCount, textureReadCacheSize;
  uint32_t depthTestCacheCount, depthTestCacheSize;
  uint32_t triSetupCacheCount, triSetupCacheSize, triSetupDataSize;
  uint32_t triRasterCacheCount, triRasterCacheSize;
  uint32_t drawVertexesCacheCount, drawVertexesCacheSize;
} GlConstants;

static_assert(offsetof(GlConstants, redScale) + 4 == offsetof(GlConstants, blueScale),
              "blue scale follows red");
