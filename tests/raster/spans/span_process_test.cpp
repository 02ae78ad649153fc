// The span processors against recording stages: when the stippled list
// takes over, when `done` ends a span, the n / m split of the replicating
// processor, and the colours each buffer's tail starts from.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "raster/s_shader.h"
#include "raster/s_span.h"
#include "tests/core/services/service_context.h"

namespace {

// What each recording stage does: its result in the plain and in the
// stippled list, and whether it ends the span.
struct StageScript {
  GLbool8 plain = 0;
  GLbool8 stippled = 0;
  bool setsDone = false;
};

std::vector<std::string> gLog;
StageScript gScript[8];
GlColorBuffer gFront, gBack;

std::string BufferName(const GlContext *gc) {
  const GlColorBuffer *cfb = gc->polygon.shader.cfb;
  return cfb == &gFront ? "F" : cfb == &gBack ? "B" : "";
}

template <int I, bool kStippled>
GLbool8 Stage(GlContext *gc) {
  gLog.push_back(std::string(kStippled ? "S" : "P") + std::to_string(I) + BufferName(gc));
  if (gScript[I].setsDone) gc->polygon.shader.done = 1;
  return kStippled ? gScript[I].stippled : gScript[I].plain;
}

const GlSpanProc kPlain[] = {Stage<0, false>, Stage<1, false>, Stage<2, false>,
                             Stage<3, false>, Stage<4, false>};
const GlSpanProc kStippled[] = {Stage<0, true>, Stage<1, true>, Stage<2, true>,
                                Stage<3, true>, Stage<4, true>};

class SpanProcessor : public ::testing::Test {
 protected:
  void SetUp() override {
    gLog.clear();
    for (StageScript &s : gScript) s = StageScript{};
    gc()->front = &gFront;
    gc()->back = &gBack;
    GlShader &sh = gc()->polygon.shader;
    sh.spanColors = colors_;
    sh.length = 4;
    sh.cfb = nullptr;
    sh.done = 1;  // the processor must clear it
  }
  GlContext *gc() { return ctx_.gc(); }
  void Install(int32_t n, int32_t m) {
    GlSpanProcs &p = gc()->procs.span;
    for (int i = 0; i < m; ++i) {
      p.spanFuncs[i] = kPlain[i];
      p.stippledSpanFuncs[i] = kStippled[i];
    }
    p.n = n;
    p.m = m;
  }

  ServiceContext ctx_;
  GlColor colors_[2048] = {};
};

struct ChainCase {
  const char *name;
  bool replicate;
  int32_t n, m;
  std::vector<std::pair<int, StageScript>> script;
  std::vector<std::string> expected;
};

TEST_F(SpanProcessor, RunsTheListsTheStageResultsChoose) {
  const StageScript kTrue{1, 0, false};
  const StageScript kTrueDone{1, 0, true};
  const StageScript kStippledTrue{0, 1, false};
  const StageScript kOtherTrueByte{2, 0, false};  // any non-zero byte is TRUE
  const ChainCase kCases[] = {
      {"all pass", false, 3, 3, {}, {"P0", "P1", "P2"}},
      {"stipple appears", false, 4, 4, {{1, kTrue}}, {"P0", "P1", "S2", "S3"}},
      {"non-one byte", false, 3, 3, {{0, kOtherTrueByte}}, {"P0", "S1", "S2"}},
      {"first stage leaves none", false, 3, 3, {{0, kTrueDone}}, {"P0"}},
      {"stippled stage leaves none", false, 4, 4, {{0, kTrue}, {2, kStippledTrue}},
       {"P0", "S1", "S2"}},
      {"true at the last stage", false, 3, 3, {{2, kTrue}}, {"P0", "P1", "P2"}},
      {"empty list", false, 0, 0, {}, {}},
      {"replicate all pass", true, 2, 4, {},
       {"P0", "P1", "P2F", "P3F", "P2B", "P3B"}},
      {"replicate stipple first", true, 2, 4, {{0, kTrue}},
       {"P0", "S1", "S2F", "S3F", "S2B", "S3B"}},
      {"replicate stipple at the split", true, 2, 4, {{1, kTrue}},
       {"P0", "P1", "S2F", "S3F", "S2B", "S3B"}},
      {"replicate stippled leaves none", true, 2, 4, {{0, kTrue}, {1, kStippledTrue}},
       {"P0", "S1"}},
      {"replicate done", true, 2, 4, {{1, kTrueDone}}, {"P0", "P1"}},
      // The tail's results are not read: it runs in full for each buffer.
      {"replicate tail result ignored", true, 2, 4, {{2, kTrue}, {3, kTrueDone}},
       {"P0", "P1", "P2F", "P3F", "P2B", "P3B"}},
      {"replicate only a store", true, 0, 1, {}, {"P0F", "P0B"}},
  };
  for (const ChainCase &c : kCases) {
    SCOPED_TRACE(c.name);
    SetUp();
    for (const auto &[i, s] : c.script) gScript[i] = s;
    Install(c.n, c.m);
    GLbool8 result = c.replicate ? __glProcessReplicateSpan(gc()) : __glProcessSpan(gc());
    EXPECT_EQ(result, 0);
    EXPECT_EQ(gLog, c.expected);
  }
}

TEST_F(SpanProcessor, ClearsDoneBeforeTheFirstStage) {
  Install(1, 1);
  __glProcessSpan(gc());
  EXPECT_EQ(gc()->polygon.shader.done, 0);
}

// The per-buffer tail as a blend (half source, half destination) and a
// store: the back buffer must be blended from the source colours, not from
// the front buffer's result.
struct BufferResult {
  GlColor front[4], back[4];
};
BufferResult gResult;
const GLfloat kDestFront = 100.0f, kDestBack = 200.0f;

GLbool8 BlendStage(GlContext *gc) {
  GlShader &sh = gc->polygon.shader;
  const GLfloat dest = sh.cfb == &gFront ? kDestFront : kDestBack;
  for (int k = 0; k < sh.length; ++k) {
    GlColor &c = sh.spanColors[k];
    c = GlColor{c.r * 0.5f + dest * 0.5f, c.g * 0.5f + dest * 0.5f, c.b * 0.5f + dest * 0.5f,
                c.a * 0.5f + dest * 0.5f};
  }
  return 0;
}

GLbool8 StoreStage(GlContext *gc) {
  GlShader &sh = gc->polygon.shader;
  GlColor *out = sh.cfb == &gFront ? gResult.front : gResult.back;
  for (int k = 0; k < sh.length; ++k) out[k] = sh.spanColors[k];
  return 0;
}

GLbool8 PassStage(GlContext *) { return 0; }
GLbool8 StippleAllStage(GlContext *gc) {
  gc->polygon.shader.stipplePat[0] = 0xFFFFFFFFu;
  return 1;
}

TEST_F(SpanProcessor, EachBufferStartsFromTheSourceColours) {
  struct Case {
    const char *name;
    bool rgba;
    bool stippled;
  } const kCases[] = {
      {"rgba", true, false},
      {"rgba stippled", true, true},
      {"colour index", false, false},
      {"colour index stippled", false, true},
  };
  uint32_t words[1] = {0};
  for (const Case &c : kCases) {
    SCOPED_TRACE(c.name);
    SetUp();
    GlShader &sh = gc()->polygon.shader;
    sh.stipplePat = words;
    sh.modeFlags = c.rgba ? __GL_SHADE_RGB : 0;
    const GlColor source[4] = {{8, 16, 24, 32}, {40, 48, 56, 64}, {1, 2, 3, 4}, {0, 0, 0, 0}};
    for (int k = 0; k < 4; ++k) colors_[k] = source[k];
    GlSpanProcs &p = gc()->procs.span;
    p.spanFuncs[0] = c.stippled ? StippleAllStage : PassStage;
    p.stippledSpanFuncs[0] = nullptr;
    p.spanFuncs[1] = p.stippledSpanFuncs[1] = BlendStage;
    p.spanFuncs[2] = p.stippledSpanFuncs[2] = StoreStage;
    p.n = 1;
    p.m = 3;
    gResult = {};
    __glProcessReplicateSpan(gc());
    for (int k = 0; k < 4; ++k) {
      const GLfloat *src = &source[k].r;
      const GLfloat *front = &gResult.front[k].r;
      const GLfloat *back = &gResult.back[k].r;
      for (int ch = 0; ch < 4; ++ch) {
        EXPECT_EQ(front[ch], src[ch] * 0.5f + kDestFront * 0.5f) << k << " " << ch;
        // A colour index restores only its first float: the others carry
        // the front pass's values into the back pass.
        const GLfloat backSource = (c.rgba || ch == 0) ? src[ch] : front[ch];
        EXPECT_EQ(back[ch], backSource * 0.5f + kDestBack * 0.5f) << k << " " << ch;
      }
    }
  }
}

// The saved-colour array holds the widest span.
TEST_F(SpanProcessor, ReplicatesTheWidestSpan) {
  std::vector<GlColor> colors(2048);
  for (int k = 0; k < 2048; ++k) colors[k] = GlColor{GLfloat(k), 1, 2, 3};
  GlShader &sh = gc()->polygon.shader;
  sh.spanColors = colors.data();
  sh.length = 2048;
  sh.modeFlags = __GL_SHADE_RGB;
  static std::vector<GLfloat> firstSeen;
  firstSeen.clear();
  GlSpanProcs &p = gc()->procs.span;
  p.spanFuncs[0] = p.stippledSpanFuncs[0] = [](GlContext *g) -> GLbool8 {
    GlShader &s = g->polygon.shader;
    firstSeen.push_back(s.spanColors[2047].r);
    for (int k = 0; k < s.length; ++k) s.spanColors[k].r = -1.0f;
    return 0;
  };
  p.n = 0;
  p.m = 1;
  __glProcessReplicateSpan(gc());
  EXPECT_EQ(firstSeen, (std::vector<GLfloat>{2047.0f, 2047.0f}));
}

}  // namespace
