// The states the triangle paths must agree on: a generated table over the
// frame-buffer formats, depth widths, row orientations and buffers, each
// target drawn in a list of state variants (shading, dither, stencil, blend
// pairs and logic ops, alpha and index tests, write masks, stipple, clipped
// viewports, textures). The CI form takes one value of each variant per
// target, turning through the variant's values from target to target; the
// long form takes every value with several scene seeds.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

#include "tests/raster/color/color_fixture.h"
#include "tests/raster/scene/scene_reference.h"

namespace agreement {

enum class Buffer { kBack, kFront, kFrontOverlapped };

struct TextureState {
  bool on = false;
  GLenum env = GL_MODULATE;
  GLenum base = GL_RGB;  // the internal format
  GLenum minFilter = GL_NEAREST, magFilter = GL_NEAREST;
};

struct AgreementCase {
  std::string name;
  ColorFormat format{};
  uint32_t depthBits = 16;
  bool yInverted = false;
  Buffer buffer = Buffer::kBack;
  bool clippedViewport = false;  // the viewport reaches past every window edge
  scene_test::SceneState state;
  bool dither = false;
  GLenum logicOp = 0;        // 0: off
  uint8_t colorMask = 0xF;   // red, green, blue, alpha in bits 0 to 3
  uint32_t indexMask = ~0u;
  bool indexTest = false;
  GLenum indexFunc = GL_ALWAYS;
  double indexRef = 0;
  TextureState texture;
  bool polygonSmooth = false;  // states the fast path declines
  bool fragmentFog = false;
  uint32_t seed = 1;

  // Whether the reference renderer draws the state itself; it knows
  // neither blending, logic ops, write masks, dithering, textures,
  // antialiasing, fog nor index tests. Other states are compared with the
  // generic image only (the reference still marks the near ties).
  bool Modeled() const;
};

std::vector<AgreementCase> AgreementCases(bool longForm);

// States the fast path declines, which must draw the generic image: the
// 24-bit depth buffer, GL_POLYGON_SMOOTH and per-fragment fog.
std::vector<AgreementCase> DeclinedCases();

// The frame-buffer formats of the table: RGB332, RGB555, RGB565, RGB8,
// XRGB8 and CI8.
const std::vector<ColorFormat> &AgreementFormats();

}  // namespace agreement
