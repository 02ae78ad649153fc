#include "tests/core/pickers/picker_fixture.h"

#include <algorithm>

#include "core/s_standin.h"
#include "raster/s_shader.h"

StandInLog *StandInLog::current_ = nullptr;

StandInLog::StandInLog() {
  current_ = this;
  __glStandInHook = Record;
}

StandInLog::~StandInLog() {
  __glStandInHook = nullptr;
  current_ = nullptr;
}

bool StandInLog::Saw(const std::string &name) const {
  return std::find(calls_.begin(), calls_.end(), name) != calls_.end();
}

void StandInLog::Record(const char *name) {
  if (current_) current_->calls_.push_back(name);
}

GLbool8 FrontStoreSpan(GlContext *) { return 0; }
GLbool8 FrontStoreStippledSpan(GlContext *) { return 0; }
GLbool8 BackStoreSpan(GlContext *) { return 0; }
GLbool8 BackStoreStippledSpan(GlContext *) { return 0; }
GLbool8 FetchSpan(GlContext *) { return 0; }
GLbool8 FetchStippledSpan(GlContext *) { return 0; }

RasterPickerContext::RasterPickerContext() {
  GlContext *g = gc();
  g->modes.rgbMode = 1;
  g->modes.colorBits = 16;
  g->front = &g->frontBuffer;
  g->drawBuffer = g->readBuffer = g->front;
  // As the buffer picker leaves it for GL_FRONT.
  g->drawBufferMask = __GL_FRONT_BUFFER_MASK;
  g->frontBuffer.storeSpan = FrontStoreSpan;
  g->frontBuffer.storeStippledSpan = FrontStoreStippledSpan;
  g->backBuffer.storeSpan = BackStoreSpan;
  g->backBuffer.storeStippledSpan = BackStoreStippledSpan;
  for (GlColorBuffer *cfb : {&g->frontBuffer, &g->backBuffer}) {
    cfb->fetchSpan[0] = FetchSpan;
    cfb->fetchSpan[1] = FetchStippledSpan;
  }
  g->transform.viewportInside = 1;
  GlState &s = g->state;
  s.raster.drawBuffer = GL_FRONT;
  s.raster.blendSrc = GL_ONE;
  s.raster.blendDst = GL_ZERO;
  s.depth.testFunc = GL_LESS;
  s.depth.writeEnable = 1;
  s.line.aliasedWidth = 1;
  s.point.aliasedSize = 1;
  s.polygon.frontMode = s.polygon.backMode = GL_FILL;
  s.polygon.frontFaceDirection = GL_CCW;
  s.polygon.cull = GL_BACK;
  s.light.shadingModel = GL_SMOOTH;
  s.fog.mode = GL_EXP;
  s.hints.fog = GL_DONT_CARE;
  g->pixel.readBuffer = GL_FRONT;
  SetFlags(__GL_SHADE_RGB);
}

void RasterPickerContext::SetColorIndex(uint32_t colorBits) {
  gc()->modes.rgbMode = 0;
  gc()->modes.colorIndexMode = 1;
  gc()->modes.colorBits = colorBits;
}

void RasterPickerContext::SetDoubleBuffered() {
  gc()->modes.doubleBufferMode = 1;
  gc()->back = &gc()->backBuffer;
}

void RasterPickerContext::DrawBoth() {
  SetDoubleBuffered();
  gc()->drawBuffer = gc()->back;
  gc()->drawBoth = 1;
  gc()->drawBufferMask = __GL_FRONT_BUFFER_MASK | __GL_BACK_BUFFER_MASK;
}
