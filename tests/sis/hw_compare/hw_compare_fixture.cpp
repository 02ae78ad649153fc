#include "tests/sis/hw_compare/hw_compare_fixture.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "core/context.h"
#include "platform/dd326.h"
#include "platform/sis6326.h"
#include "raster/s_buffers.h"
#include "sis/sis_context.h"
#include "tests/platform/chip_model/model_support.h"
#include "tests/support/counting_imports.h"

namespace hwcompare {

namespace {

constexpr uint32_t kModeDither = 0x1, kModeZTest = 0x100000, kModeZWrite = 0x200000;
constexpr uint32_t kZLess = 1u << 16, kZ16 = 1u << 20;
constexpr uint32_t kFormat565 = 0x11u << 16, kCopy = 0xCu << 24;
constexpr uint16_t kClearDepth = 0xFFFF;

LPDIRECTDRAWSURFACE MakeSurface(const ddtest::DirectDraw &dd, DDSURFACEDESC d) {
  LPDIRECTDRAWSURFACE s = nullptr;
  EXPECT_EQ(ddtest::Create(dd, d, &s), DD_OK);
  return s;
}

// Points a drawable buffer at the surface's memory.
void Aim(GlDrawableBuffer *buffer, LPDIRECTDRAWSURFACE s) {
  DDSURFACEDESC locked;
  ASSERT_EQ(ddtest::Lock(s, nullptr, &locked), DD_OK);
  buffer->base = static_cast<uint8_t *>(locked.lpSurface);
  buffer->pitchBytes = int32_t(locked.lPitch);
  buffer->pitch = int32_t(locked.lPitch) / 2;
  ddtest::Unlock(s, nullptr);
}

void Fill(LPDIRECTDRAWSURFACE s, uint16_t value) {
  DDSURFACEDESC locked;
  ASSERT_EQ(ddtest::Lock(s, nullptr, &locked), DD_OK);
  for (DWORD j = 0; j < locked.dwHeight; ++j) {
    uint16_t *row = reinterpret_cast<uint16_t *>(static_cast<uint8_t *>(locked.lpSurface) +
                                                 j * DWORD(locked.lPitch));
    for (DWORD i = 0; i < locked.dwWidth; ++i) row[i] = value;
  }
  ddtest::Unlock(s, nullptr);
}

}  // namespace

GlVertex Vertex(const GlContext *gc, double x, double y, double z, GlColor color) {
  GlVertex v;
  memset(&v, 0, sizeof v);
  v.window = {GLfloat(x + gc->constants.viewportXAdjust), GLfloat(y + gc->constants.viewportYAdjust),
              GLfloat(z), 1.0f};
  v.colors[__GL_FRONTFACE] = color;
  v.colors[__GL_BACKFACE] = color;
  v.color = &v.colors[__GL_FRONTFACE];
  v.texture = {0, 0, 0, 1};
  v.has = __GL_HAS_FRONT_COLOR | __GL_HAS_BACK_COLOR | __GL_HAS_TEXTURE | __GL_HAS_NORMAL |
          __GL_HAS_EYE | __GL_HAS_CLIP | __GL_HAS_FOG | __GL_HAS_SIZE4;
  return v;
}

void HardwareAgainstSoftware::SetUp() {
  ddtest::ResetDisplay();
  SiSLifeTest::SetUp();
}

void HardwareAgainstSoftware::TearDown() {
  Close();
  SiSLifeTest::TearDown();
  PlatformSiS6326Reset();
  ddtest::ResetDisplay();
}

void HardwareAgainstSoftware::Close() {
  if (gc != nullptr) {
    EXPECT_TRUE(life_test::Release(gc));
    gc->exports.destroyContext(gc);
    gc = nullptr;
  }
  for (LPDIRECTDRAWSURFACE *s : {&colour, &depth, &primary})
    if (*s) ddtest::Release(*s), *s = nullptr;
  delete dd;
  dd = nullptr;
  UseWindow(nullptr);
  window.reset();
}

void HardwareAgainstSoftware::Open(BYTE rev, const GlModes *modes) {
  revision = rev;
  PlatformSiS6326SetChip(0x6326, revision);
  window = std::make_unique<life_test::TestWindow>(kWidth, kHeight);
  window->AttachMemory(&GlDrawable::front, 16, 2);
  window->AttachMemory(&GlDrawable::back, 16, 2);
  window->AttachMemory(&GlDrawable::depth, 16, 2);
  UseWindow(window.get());
  gc = CreateSiS(modes ? *modes : TestModes(true, true, 16, 0, false));
  ASSERT_NE(gc, nullptr);
  ASSERT_TRUE(life_test::Bind(gc));
  dd = new ddtest::DirectDraw;
  primary = ddtest::Primary(*dd);
  DDSURFACEDESC d = ddtest::Desc(DDSCAPS_OFFSCREENPLAIN | DDSCAPS_VIDEOMEMORY, kWidth, kHeight);
  d.dwFlags |= DDSD_PIXELFORMAT;
  d.ddpfPixelFormat = ddtest::Rgb(16, 0xF800, 0x7E0, 0x1F);
  colour = MakeSurface(*dd, d);
  depth = MakeSurface(*dd, ddtest::ZDesc(DDSCAPS_VIDEOMEMORY, kWidth, kHeight, 16));
  ASSERT_TRUE(colour && depth);
  Aim(gc->drawBuffer->buf.drawableBuf, colour);
  Aim(gc->depthBuffer.buf.drawableBuf, depth);
  // Chip addresses are relative to the primary surface.
  Tail(gc)->frameBufferBase = reinterpret_cast<uint8_t *>(uintptr_t(ddGetDispInfo()->frameBuffer));
}

void HardwareAgainstSoftware::UseState(bool smooth, bool depthTest, bool dither) {
  depthTest_ = depthTest;
  dither_ = dither;
  if (depthTest)
    gc->dispatch.Enable(GL_DEPTH_TEST);
  else
    gc->dispatch.Disable(GL_DEPTH_TEST);
  gc->dispatch.DepthFunc(GL_LESS);
  gc->dispatch.ShadeModel(smooth ? GL_SMOOTH : GL_FLAT);
  if (dither)
    gc->dispatch.Enable(GL_DITHER);
  else
    gc->dispatch.Disable(GL_DITHER);
  if (gc->beginMode == __GL_VALIDATE_PENDING) {
    gc->procs.validate(gc);
    gc->beginMode = __GL_NOT_IN_BEGIN;
  }
}

// The words validation will compute for this state.
void HardwareAgainstSoftware::ProgramChip() {
  GlSiSTail *s = Tail(gc);
  const int32_t *box = gc->transform.clipBox;
  const int32_t bx = gc->constants.viewportXAdjust, by = gc->constants.viewportYAdjust;
  s->work.mode = (depthTest_ ? kModeZTest | kModeZWrite : 0) | (dither_ ? kModeDither : 0);
  s->work.zPitch = (s->work.zPitch & 0x3FFF) | kZ16 | (depthTest_ ? kZLess : 0);
  s->work.colorPitch = (s->work.colorPitch & 0x3FFF) | kFormat565 | kCopy;
  s->work.clipRows = uint32_t(box[1] - by) << 13 | uint32_t(box[3] - by);
  s->work.clipColumns = uint32_t(box[0] - bx) << 13 | uint32_t(box[2] - bx);
  s->programmed.mode = s->work.mode;
  s->programmed.zPitch = s->work.zPitch;
  s->programmed.colorPitch = s->work.colorPitch;
  s->programmed.clipRows = s->work.clipRows;
  s->programmed.clipColumns = s->work.clipColumns;
  s->triangleFallback = s->lineFallback = s->pointFallback = 0;
}

void HardwareAgainstSoftware::LoadChip() {
  // A fresh model record for this scene; the chip as configured.
  PlatformSiS6326Reset();
  PlatformSiS6326SetChip(0x6326, revision);
  ProgramChip();
  Clear();
  // The first lock loads every register (the chip lost them), and the
  // unlock fires nothing.
  gc->lockDevice(gc);
  gc->unlockDevice(gc);
}

void HardwareAgainstSoftware::Clear() {
  Fill(colour, 0);
  Fill(depth, kClearDepth);
}

std::vector<uint16_t> HardwareAgainstSoftware::Read(LPDIRECTDRAWSURFACE s) {
  std::vector<uint16_t> out(size_t(kWidth) * kHeight);
  DDSURFACEDESC locked;
  EXPECT_EQ(ddtest::Lock(s, nullptr, &locked), DD_OK);
  for (int j = 0; j < kHeight; ++j)
    memcpy(&out[size_t(j) * kWidth], static_cast<uint8_t *>(locked.lpSurface) + j * locked.lPitch,
           kWidth * 2);
  ddtest::Unlock(s, nullptr);
  return out;
}

SiS6326Comparison HardwareAgainstSoftware::Compare(const std::function<void(bool)> &draw,
                                                   bool *ok) {
  LoadChip();
  gc->lockRenderBuffers(gc);
  draw(true);
  gc->unlockRenderBuffers(gc);
  const std::vector<uint16_t> hwColour = Read(colour), hwDepth = Read(depth);
  EXPECT_EQ(modeltest::Describe(modeltest::Violations()), "") << "the model recorded violations";
  Clear();
  gc->lockRenderBuffers(gc);
  draw(false);
  gc->unlockRenderBuffers(gc);
  const std::vector<uint16_t> swColour = Read(colour), swDepth = Read(depth);
  const SiS6326Frame hc{hwColour.data(), kWidth, kHeight, kWidth * 2, 0x11};
  const SiS6326Frame sc{swColour.data(), kWidth, kHeight, kWidth * 2, 0x11};
  const SiS6326Frame hz{hwDepth.data(), kWidth, kHeight, kWidth * 2, SIS6326_FRAME_Z16};
  const SiS6326Frame sz{swDepth.data(), kWidth, kHeight, kWidth * 2, SIS6326_FRAME_Z16};
  // With the model's dump on, the pixels that differ too.
  const char *dump = getenv("VLX_SIS_DUMP");
  if (dump != nullptr && dump[0] != '\0' && strcmp(dump, "0") != 0)
    for (int j = 0; j < kHeight; ++j)
      for (int i = 0; i < kWidth; ++i) {
        const size_t k = size_t(j) * kWidth + i;
        if (hwColour[k] != swColour[k] || (depthTest_ && hwDepth[k] != swDepth[k]))
          fprintf(stderr, "(%d, %d) hw %04X z %04X  sw %04X z %04X\n", i, j, hwColour[k], hwDepth[k],
                 swColour[k], swDepth[k]);
      }
  SiS6326Comparison c;
  *ok = PlatformSiS6326Compare(&hc, &sc, depthTest_ ? &hz : nullptr, depthTest_ ? &sz : nullptr, &c);
  // Something was drawn to compare.
  size_t lit = 0;
  for (uint16_t p : hwColour) lit += p != 0;
  EXPECT_GT(lit, 0u) << "the hardware path drew nothing";
  return c;
}

SiS6326Comparison OnEachChip::ExpectAgree(const char *name,
                                          const std::function<void(bool hardware)> &draw) {
  bool ok = false;
  const SiS6326Comparison c = Compare(draw, &ok);
  EXPECT_TRUE(ok) << Describe(c);
  RecordProperty(name, Describe(c));
  return c;
}

std::string ChipName(const ::testing::TestParamInfo<BYTE> &info) {
  return info.param == kRevisionPlain ? "Code23" : "Code26";
}

std::string Describe(const SiS6326Comparison &c) {
  static const char *const names[] = {"none",         "T2 colour",         "T4 depth",
                                      "T1 edge",      "T3 line step",      "T4 depth tie",
                                      "T5 texel boundary", "T5 level switch", "T5 switch-over"};
  static_assert(sizeof names / sizeof names[0] == SIS6326_TOLERANCES, "a name for every tolerance");
  std::string s = "differing " + std::to_string(c.differing) + " of " + std::to_string(c.compared);
  for (uint32_t t = 0; t < SIS6326_TOLERANCES; ++t)
    s += ", " + std::string(names[t]) + " " + std::to_string(c.allowed[t]);
  s += ", largest " + std::to_string(c.largestDifference) + ", mean " + std::to_string(c.meanDifference);
  if (c.firstFailedX >= 0)
    s += ", first failing pixel (" + std::to_string(c.firstFailedX) + ", " +
         std::to_string(c.firstFailedY) + ")";
  return s;
}

}  // namespace hwcompare
