#include "tests/raster/color/color_fixture.h"

#include <string.h>

const std::vector<ColorFormat> kRgbFormats = {
    {"3-3-2", true, 8, {3, 3, 2, 0}, {0xE0, 0x1C, 0x03, 0}},
    {"5-5-5", true, 16, {5, 5, 5, 0}, {0x7C00, 0x03E0, 0x001F, 0}},
    {"5-6-5", true, 16, {5, 6, 5, 0}, {0xF800, 0x07E0, 0x001F, 0}},
    {"1-5-5-5", true, 16, {5, 5, 5, 1}, {0x7C00, 0x03E0, 0x001F, 0x8000}},
    {"8-8-8", true, 24, {8, 8, 8, 0}, {0xFF0000, 0xFF00, 0xFF, 0}},
    {"X-8-8-8", true, 32, {8, 8, 8, 0}, {0xFF0000, 0xFF00, 0xFF, 0}},
    {"8-8-8-8", true, 32, {8, 8, 8, 8}, {0xFF0000, 0xFF00, 0xFF, 0xFF000000}},
};

const std::vector<ColorFormat> kIndexFormats = {
    {"index 8", false, 8, {8, 0, 0, 0}, {0, 0, 0, 0}},
    {"index 12", false, 16, {12, 0, 0, 0}, {0, 0, 0, 0}},
    {"index 16", false, 16, {16, 0, 0, 0}, {0, 0, 0, 0}},
    {"index 24", false, 24, {24, 0, 0, 0}, {0, 0, 0, 0}},
    {"index 32", false, 32, {32, 0, 0, 0}, {0, 0, 0, 0}},
};

std::vector<std::string> &EventLog() {
  static std::vector<std::string> log;
  return log;
}

namespace {

void LockDrawable(GlDrawable *, GlContext *) { EventLog().push_back("drawable lock"); }
void UnlockDrawable(GlDrawable *) { EventLog().push_back("drawable unlock"); }
void LockBuffer(GlDrawableBuffer *, GlDrawable *) { EventLog().push_back("buffer lock"); }
void UnlockBuffer(GlDrawableBuffer *, GlDrawable *) { EventLog().push_back("buffer unlock"); }
void LockDevice(GlContext *) { EventLog().push_back("device lock"); }
void UnlockDevice(GlContext *) { EventLog().push_back("device unlock"); }

}  // namespace

BoundColorBuffer::BoundColorBuffer(const ColorFormat &format, int32_t width, int32_t height,
                                   bool front)
    : format_(format), width_(width), height_(height) {
  GlContext *g = gc();
  GlModes &m = g->modes;
  m.rgbMode = format.rgba;
  m.colorIndexMode = !format.rgba;
  SetFormatModes(&m, format);
  g->constants.viewportXAdjust = g->constants.viewportYAdjust = kBias;
  g->front = &g->frontBuffer;
  if (!front) {
    m.doubleBufferMode = 1;
    g->back = &g->backBuffer;
  }
  for (GlColorBuffer *cfb : {g->front, g->back}) {
    if (!cfb) continue;
    if (format.rgba)
      __glInitRGB(cfb, g);
    else
      __glInitCI(cfb, g);
  }
  cfb_ = front ? g->front : g->back;

  memory_ = std::make_unique<PixelMemory>(width, height, format.colorBits, format.bytes());
  cfb_->buf.gc = g;
  cfb_->buf.drawableBuf = memory_->buffer();

  memset(&drawable_, 0, sizeof drawable_);
  drawable_.width = width, drawable_.height = height;
  drawable_.lock = LockDrawable;
  drawable_.unlock = UnlockDrawable;
  SetVisible({{0, 0, width, height}});
  g->drawablePrivate = &drawable_;
  SetClipBox(0, 0, width, height);

  GlRasterState &r = g->state.raster;
  r.drawBuffer = front ? GL_FRONT : GL_BACK;
  r.rMask = r.gMask = r.bMask = r.aMask = 1;
  r.writeMask = UINT32_MAX;
  r.logicOp = GL_COPY;
  g->polygon.shader.cfb = cfb_;
  cfb_->pick(g, cfb_);
}

void BoundColorBuffer::SetVisible(const std::vector<GlRect> &rects) {
  visible_ = rects;
  drawable_.clipRects = visible_.data();
  drawable_.clipCount = int32_t(visible_.size());
}

void BoundColorBuffer::SetClipBox(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
  int32_t *box = gc()->transform.clipBox;
  box[0] = x0 + kBias, box[1] = y0 + kBias, box[2] = x1 + kBias, box[3] = y1 + kBias;
}

void BoundColorBuffer::FillPattern(uint32_t seed) {
  TestRandom random(seed);
  GlDrawableBuffer *b = memory_->buffer();
  for (uint32_t i = 0; i < b->size; i++) b->base[i] = uint8_t(random.Next() >> 7);
}

std::vector<uint8_t> BoundColorBuffer::Bytes() const {
  const GlDrawableBuffer *b = memory_->buffer();
  return std::vector<uint8_t>(b->base, b->base + b->size);
}

void BoundColorBuffer::LogLocks() {
  memory_->buffer()->lock = LockBuffer;
  memory_->buffer()->unlock = UnlockBuffer;
  gc()->lockDevice = LockDevice;
  gc()->unlockDevice = UnlockDevice;
}
