// A colour buffer bound to test-owned pixel memory: a zeroed context with
// the visual of one colour format, the front (or back) record initialised
// by __glInitRGB or __glInitCI, a drawable with visible rectangles and
// lock procedures that log their calls, and the window bias of a real
// context.
#pragma once

#include <stdint.h>

#include <memory>
#include <string>
#include <vector>

#include "core/context.h"
#include "raster/s_shader.h"
#include "tests/core/services/service_context.h"
#include "tests/support/pixel_memory.h"
#include "wgl/wgl_drawable.h"

// A pixel format: RGBA channel masks, or an index of `bits[0]` bits.
struct ColorFormat {
  const char *name;
  bool rgba;
  uint32_t colorBits;  // bits a pixel takes
  uint32_t bits[4];    // red, green, blue, alpha; the index width in bits[0]
  uint32_t masks[4];
  uint32_t bytes() const {
    return colorBits <= 8 ? 1 : colorBits <= 16 ? 2 : colorBits <= 24 ? 3 : 4;
  }
  bool hasAlpha() const { return rgba && masks[3] != 0; }
  uint32_t indexMask() const { return bits[0] >= 32 ? UINT32_MAX : (1u << bits[0]) - 1; }
};

// Writes the format's pixel size and channel (or index) widths and masks
// into the visual.
inline void SetFormatModes(GlModes *m, const ColorFormat &f) {
  m->colorBits = f.colorBits;
  if (f.rgba) {
    m->redBits = f.bits[0], m->greenBits = f.bits[1], m->blueBits = f.bits[2];
    m->alphaBits = f.bits[3];
    m->redMask = f.masks[0], m->greenMask = f.masks[1], m->blueMask = f.masks[2];
    m->alphaMask = f.masks[3];
  } else {
    m->indexBits = f.bits[0];
  }
}

// 3-3-2, 5-5-5, 5-6-5, 1-5-5-5, 8-8-8, X-8-8-8, 8-8-8-8.
extern const std::vector<ColorFormat> kRgbFormats;
// 8-, 12-, 16-, 24- and 32-bit indexes.
extern const std::vector<ColorFormat> kIndexFormats;

constexpr int32_t kBias = 6144;  // the window bias of a real context

// What the test's lock procedures and hooks saw, in order.
std::vector<std::string> &EventLog();

class BoundColorBuffer {
 public:
  // A width x height buffer; `front` binds the front record, else the back.
  BoundColorBuffer(const ColorFormat &format, int32_t width = 11, int32_t height = 6,
                   bool front = true);
  BoundColorBuffer(const BoundColorBuffer &) = delete;
  BoundColorBuffer &operator=(const BoundColorBuffer &) = delete;

  GlContext *gc() const { return ctx_.gc(); }
  GlColorBuffer *cfb() const { return cfb_; }
  PixelMemory &memory() { return *memory_; }
  GlDrawable *drawable() { return &drawable_; }
  const ColorFormat &format() const { return format_; }
  int32_t width() const { return width_; }
  int32_t height() const { return height_; }

  // The raster-mode flags the stores read.
  void SetFlags(uint32_t flags) { gc()->polygon.shader.modeFlags = flags; }
  // The visible rectangles of the drawable (drawable coordinates).
  void SetVisible(const std::vector<GlRect> &rects);
  // The clip box in drawable coordinates (the bias is added).
  void SetClipBox(int32_t x0, int32_t y0, int32_t x1, int32_t y1);
  // Every byte of the buffer from a seeded pattern.
  void FillPattern(uint32_t seed);
  std::vector<uint8_t> Bytes() const;
  // Logs the drawable, drawable-buffer and device locks.
  void LogLocks();

 private:
  ColorFormat format_;
  int32_t width_, height_;
  ServiceContext ctx_;
  GlColorBuffer *cfb_;
  std::unique_ptr<PixelMemory> memory_;
  GlDrawable drawable_;
  std::vector<GlRect> visible_;
};

// A small deterministic generator, so that failures repeat.
class TestRandom {
 public:
  explicit TestRandom(uint32_t seed) : state_(seed * 2654435761u + 1) {}
  uint32_t Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
  }
  // A value of [0, max] on a grid of 1/64, offset by `shift` (1/128 keeps
  // every sum with a dither offset off the integers).
  GLfloat Component(uint32_t max, GLfloat shift = 0.0f) {
    const uint32_t steps = max * 64;
    GLfloat v = GLfloat(Next() % (steps + 1)) / 64.0f + shift;
    return v > GLfloat(max) ? GLfloat(max) - shift : v;
  }

 private:
  uint32_t state_;
};
