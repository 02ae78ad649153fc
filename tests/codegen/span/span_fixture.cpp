#include "tests/codegen/span/span_fixture.h"

#include <math.h>
#include <stdlib.h>

#include <algorithm>
#include <sstream>

#include "codegen/og.h"
#include "codegen/og_ns.h"
#include "codegen/og_ras.h"
#include "platform/kernel.h"
#include "core/s_constants.h"
#include "raster/s_shader.h"
#include "tests/raster/color/color_model.h"

namespace span_test {

using scene_test::kHeight;
using scene_test::kWidth;
using scene_test::RefPixel;

bool RightToLeft(const SceneVertex v[3]) {
  SceneVertex a = v[0], b = v[1], c = v[2];
  if (b.y < a.y) std::swap(a, b);
  if (c.y < a.y) std::swap(a, c);
  if (b.y < c.y) std::swap(b, c);
  const double area = (b.y - a.y) * (c.x - a.x) - (c.y - a.y) * (b.x - a.x);
  return area < 0;
}

bool SpanSceneTest::OpenPlain(const ColorFormat &f, uint32_t depthBits) {
  if (!Open(f, depthBits)) return false;
  gc->constants.cpuFlags &= ~GlCpuFlags(__GL_CPU_MMX);
  return true;
}

bool SpanSceneTest::OpenMmx(const ColorFormat &f, uint32_t depthBits) {
  if (!Open(f, depthBits)) return false;
  if (!(gc->constants.cpuFlags & __GL_CPU_MMX)) {
    ADD_FAILURE() << "the processor reports no MMX";
    return false;
  }
  return true;
}

void SpanSceneTest::TearDown() {
  FastSceneTest::TearDown();
  if (nudgeCode_) VirtualFree(nudgeCode_, 0, MEM_RELEASE);
  nudgeCode_ = nullptr;
}

void SpanSceneTest::InstallNudges(const std::vector<Nudge> &nudges) {
  if (!nudgeCode_)
    nudgeCode_ = static_cast<uint8_t *>(
        VirtualAlloc(nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_EXECUTE_READWRITE));
  ASSERT_NE(nudgeCode_, nullptr);
  raster_ = const_cast<void *>(gc->procs.fillTriangleSpans);
  og_warmup(gc);
  og_buffer(gc, nudgeCode_, nudgeCode_ + 4096);
  uint8_t *cb = nudgeCode_;
  // Entered by the setup's jump with esp at the span record.
  for (const Nudge &n : nudges) {
    const uint32_t place = __glNSWhereIs(gc->rasterNameSpace, uint32_t(n.field), 4);
    cb = emit_code(gc, cb, add(gc, mem2(gc, value(gc, int32_t(place)), esp), value(gc, n.add)));
  }
  cb = emit_code(gc, cb,
                 jmpi(gc, mem(gc, value(gc, int32_t(uintptr_t(&raster_))), nullptr, nullptr, 1)));
  ASSERT_FALSE(gc->ogs.failure);
  gc->procs.fillTriangleSpans = nudgeCode_;
}

Image SpanSceneTest::DrawOn(Path path, const std::vector<SceneStep> &steps, SceneReference *ref,
                            bool depthOnly, const std::vector<Nudge> &nudges) {
  SceneReference own(Target());
  if (!ref) ref = &own;
  dither ? glEnable(GL_DITHER) : glDisable(GL_DITHER);
  ClearAll(ref);
  for (const SceneStep &step : steps) {
    Apply(step.state);
    if (depthOnly) format.rgba ? glColorMask(0, 0, 0, 0) : glIndexMask(0);
    Validate();
    if (path == Path::kGenerated) {
      // The state the picker sends to the depth pass: no colour written.
      if (depthOnly) gc->polygon.shader.modeFlags |= __GL_SHADE_MASK;
      EXPECT_TRUE(__glForceGeneratedTriangle(gc, GL_FALSE));
      if (!nudges.empty()) InstallNudges(nudges);
    }
    Send(step.primitive);
    ref->Draw(step);
  }
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  glIndexMask(~0u);
  return Snapshot();
}

namespace {

// A pixel's channels (or its index) as integers.
void Channels(const ColorFormat &f, uint32_t pixel, int64_t out[3]) {
  if (!f.rgba) {
    out[0] = pixel & f.indexMask();
    out[1] = out[2] = 0;
    return;
  }
  for (int k = 0; k < 3; k++) out[k] = (pixel & f.masks[k]) >> __builtin_ctz(f.masks[k]);
}

}  // namespace

void SpanSceneTest::ExpectNearGeneric(const Image &gen, const Image &generic,
                                      const std::string &what, int64_t depthFactor) {
  const int64_t slack =
      depthFactor * (int64_t(scene_test::kDepthDrift) + int64_t(Target().depthMax >> 22));
  int differ = 0;
  for (size_t i = 0; i < gen.color.size(); i++) {
    int64_t a[3], b[3];
    Channels(format, gen.color[i], a);
    Channels(format, generic.color[i], b);
    bool near = true;
    for (int k = 0; k < 3; k++) near = near && llabs(a[k] - b[k]) <= 1;
    const int64_t dz = int64_t(gen.depth[i]) - int64_t(generic.depth[i]);
    if (near && dz <= slack && dz >= -slack) continue;
    if (++differ > 8) break;
    ADD_FAILURE() << what << ": pixel " << i % kWidth << ", " << i / kWidth << ": colour "
                  << std::hex << gen.color[i] << " (generic " << generic.color[i] << "), depth "
                  << std::dec << gen.depth[i] << " (" << generic.depth[i] << ")";
  }
}

void SpanSceneTest::ExpectDitherModel(const SceneReference &constRef,
                                      const SceneStep &step, bool flatFill,
                                      const std::string &what) {
  SceneReference &ref = const_cast<SceneReference &>(constRef);
  const GlColorBuffer *cfb = gc->drawBuffer;
  const uint32_t bytes = format.bytes();
  const int64_t max[3] = {format.rgba ? int64_t(cfb->redMax) : int64_t(format.indexMask()),
                          int64_t(cfb->greenMax), int64_t(cfb->blueMax)};
  int wrong = 0;
  std::ostringstream first;
  {
    const bool rtl = RightToLeft(step.primitive.v.data());
    for (int32_t row = 0; row < kHeight; row++)
      for (int32_t x = 0; x < kWidth; x++) {
        const RefPixel &p = ref.At(x, row);
        const uint32_t got = colorMemory->Read(x, row);
        if (!p.drawn) {
          if (got != p.initial && wrong++ < 8)
            first << "\n  pixel " << x << ", " << row << " written";
          continue;
        }
        if (p.ambiguous) continue;
        int32_t column = rtl ? -x : x;
        if (flatFill) column = int32_t(uintptr_t(colorMemory->At(x, row)) / bytes);
        // Buffers of 4 bytes a pixel never dither: they round.
        const double offset =
            Flags() & __GL_SHADE_DITHER ? (2.0 * ModelDither(column, row) + 1.0) / 32.0 : 0.5;
        int64_t have[3];
        Channels(format, got, have);
        for (int k = 0; k < (format.rgba ? 3 : 1); k++) {
          const double c = p.color[k], slack = scene_test::ColorSlack(c);
          const auto model = [&](double v) {
            const int64_t n = int64_t(floor(v + offset));
            if (!format.rgba) return n & max[0];
            return std::min(std::max(n, int64_t(0)), max[k]);
          };
          const int64_t lo = model(c - slack), hi = model(c + slack);
          if (have[k] == model(c) || have[k] == lo || have[k] == hi) continue;
          if (wrong++ < 8)
            first << "\n  pixel " << x << ", " << row << " channel " << k << ": " << have[k]
                  << ", model " << model(c) << " (" << c << (rtl ? ", right to left)" : ")");
        }
      }
  }
  if (wrong) ADD_FAILURE() << what << ": " << wrong << " pixels differ from the dither model" << first.str();
}

}  // namespace span_test
