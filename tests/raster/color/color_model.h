// The reference model of the colour stores, written from the rules of the
// colour buffers (not from the driver's code): what a pixel holds after one
// fragment is stored into it.
#pragma once

#include <stdint.h>

#include <vector>

#include "core/gl_defs.h"
#include "geometry/s_vertex.h"
#include "tests/raster/color/color_fixture.h"
#include "wgl/wgl_drawable.h"

struct ModelState {
  bool front = false;   // drawing to the front buffer: hidden pixels are skipped
  bool none = false;    // draw buffer GL_NONE
  bool dither = false;  // dithering in force (RGB pixels of 4 bytes never dither)
  bool logicOp = false;
  GLenum op = GL_COPY;
  bool blend = false;                        // the test's blend: every component halved
  bool write[4] = {true, true, true, true};  // colour mask
  uint32_t indexWriteMask = UINT32_MAX;
  std::vector<GlRect> visible;  // drawable coordinates
};

// The ordered-dither matrix, row y & 3, column x & 3.
uint32_t ModelDither(int32_t x, int32_t y);
// The logic operation by its truth table: bit i of (op - GL_CLEAR) is the
// result for source bit s and destination bit d with i = 2 (1 - s) + (1 - d).
uint32_t ModelLogicOp(GLenum op, uint32_t s, uint32_t d);
// Whether window pixel (x, y) (biased) may be written.
bool ModelOwns(const ModelState &s, int32_t x, int32_t y);
// The pixel after storing `color` at window (x, y) over `current`.
uint32_t ModelRgbStore(const ColorFormat &f, const ModelState &s, int32_t x, int32_t y,
                       GlColor color, uint32_t current);
uint32_t ModelIndexStore(const ColorFormat &f, const ModelState &s, int32_t x, int32_t y,
                         GLfloat index, uint32_t current);
// The clear colour (components in [0, 1]) at the front buffer's scales.
GlColor ModelClearColor(const GlColor &clear, const GlColorBuffer *front);
// The colour a pixel value reads back as (alpha: `alphaScale` without an
// alpha channel).
GlColor ModelRgbFetch(const ColorFormat &f, uint32_t pixel, GLfloat alphaScale);

// Reads and writes pixel (col, row) of a byte image laid out like `memory`.
uint32_t ReadPixel(const std::vector<uint8_t> &bytes, const GlDrawableBuffer *b, int32_t col,
                   int32_t row);
void WritePixel(std::vector<uint8_t> &bytes, const GlDrawableBuffer *b, int32_t col, int32_t row,
                uint32_t value);
// The first byte where two images differ, as "pixel (col, row) byte k", or
// "" when they agree.
std::string FirstDifference(const std::vector<uint8_t> &want, const std::vector<uint8_t> &got,
                            const GlDrawableBuffer *b);
