#include "tests/raster/color/color_model.h"

#include <math.h>
#include <string.h>

#include <string>

namespace {

const uint32_t kDither[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};

uint32_t WidthMask(uint32_t bytes) { return bytes >= 4 ? UINT32_MAX : (1u << (8 * bytes)) - 1; }

uint32_t Shift(uint32_t mask) {
  uint32_t n = 0;
  while (mask && !(mask & (1u << n))) n++;
  return n;
}

// The integer part of c plus the offset, exactly.
uint32_t IntegerPart(GLfloat c, double offset) {
  return uint32_t(uint64_t(int64_t(floor(double(c) + offset))));
}

// RGB pixels of 4 bytes never dither; indexes of every width do.
double Offset(const ColorFormat &f, const ModelState &s, int32_t x, int32_t y) {
  if (s.dither && (f.bytes() < 4 || !f.rgba)) return (2.0 * ModelDither(x, y) + 1.0) / 32.0;
  return 0.5;
}

}  // namespace

uint32_t ModelDither(int32_t x, int32_t y) { return kDither[y & 3][x & 3]; }

uint32_t ModelLogicOp(GLenum op, uint32_t s, uint32_t d) {
  const uint32_t table = op - GL_CLEAR;
  uint32_t out = 0;
  for (int bit = 0; bit < 32; bit++) {
    const uint32_t sb = (s >> bit) & 1, db = (d >> bit) & 1;
    out |= ((table >> (2 * (1 - sb) + (1 - db))) & 1) << bit;
  }
  return out;
}

bool ModelOwns(const ModelState &s, int32_t x, int32_t y) {
  if (!s.front) return true;
  x -= kBias, y -= kBias;
  for (const GlRect &r : s.visible)
    if (x >= r.x0 && x < r.x1 && y >= r.y0 && y < r.y1) return true;
  return false;
}

uint32_t ModelRgbStore(const ColorFormat &f, const ModelState &s, int32_t x, int32_t y,
                       GlColor color, uint32_t current) {
  if (!ModelOwns(s, x, y)) return current;
  if (s.blend) color = {color.r * 0.5f, color.g * 0.5f, color.b * 0.5f, color.a * 0.5f};
  const double offset = Offset(f, s, x, y);
  const GLfloat c[4] = {color.r, color.g, color.b, color.a};
  uint32_t value = 0;
  for (int i = 0; i < 4; i++)
    if (f.masks[i]) value |= IntegerPart(c[i], offset) << Shift(f.masks[i]);
  if (s.logicOp) value = ModelLogicOp(s.op, value, current);
  value &= WidthMask(f.bytes());
  // Channel by channel: written channels take the new bits, masked ones
  // keep theirs; bits of no channel end up clear.
  uint32_t out = 0;
  for (int i = 0; i < 4; i++) out |= ((!s.none && s.write[i]) ? value : current) & f.masks[i];
  return out;
}

uint32_t ModelIndexStore(const ColorFormat &f, const ModelState &s, int32_t x, int32_t y,
                         GLfloat index, uint32_t current) {
  if (!ModelOwns(s, x, y)) return current;
  uint32_t value = IntegerPart(index, Offset(f, s, x, y));
  if (s.logicOp) value = ModelLogicOp(s.op, value, current);
  value &= WidthMask(f.bytes());
  const uint32_t written = s.none ? 0 : f.indexMask() & s.indexWriteMask;
  const uint32_t kept = s.none ? f.indexMask() : f.indexMask() & ~s.indexWriteMask;
  return (value & written) | (current & kept);
}

GlColor ModelClearColor(const GlColor &clear, const GlColorBuffer *front) {
  return {clear.r * front->redScale, clear.g * front->greenScale, clear.b * front->blueScale,
          clear.a * front->alphaScale};
}

GlColor ModelRgbFetch(const ColorFormat &f, uint32_t pixel, GLfloat alphaScale) {
  GLfloat c[4];
  for (int i = 0; i < 4; i++) c[i] = GLfloat((pixel & f.masks[i]) >> Shift(f.masks[i]));
  if (!f.masks[3]) c[3] = alphaScale;
  return {c[0], c[1], c[2], c[3]};
}

uint32_t ReadPixel(const std::vector<uint8_t> &bytes, const GlDrawableBuffer *b, int32_t col,
                   int32_t row) {
  uint32_t v = 0;
  memcpy(&v, bytes.data() + row * b->pitchBytes + col * int32_t(b->elementSize), b->elementSize);
  return v;
}

void WritePixel(std::vector<uint8_t> &bytes, const GlDrawableBuffer *b, int32_t col, int32_t row,
                uint32_t value) {
  memcpy(bytes.data() + row * b->pitchBytes + col * int32_t(b->elementSize), &value,
         b->elementSize);
}

std::string FirstDifference(const std::vector<uint8_t> &want, const std::vector<uint8_t> &got,
                            const GlDrawableBuffer *b) {
  if (want.size() != got.size()) return "sizes differ";
  for (size_t i = 0; i < want.size(); i++) {
    if (want[i] == got[i]) continue;
    const int32_t row = int32_t(i) / b->pitchBytes;
    const int32_t inRow = int32_t(i) % b->pitchBytes;
    return "pixel (" + std::to_string(inRow / int32_t(b->elementSize)) + ", " +
           std::to_string(row) + ") byte " + std::to_string(inRow % int32_t(b->elementSize)) +
           ": want " + std::to_string(want[i]) + " got " + std::to_string(got[i]);
  }
  return "";
}
