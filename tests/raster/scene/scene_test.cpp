// Frames drawn through glBegin / glEnd on the core device into window
// memory, against the reference renderer: a smooth-shaded, depth-tested
// scene of every primitive kind, and a table of states (shading, depth
// functions and writes, polygon offset, stipple, scissor, alpha and stencil
// tests) in every colour format, on bottom-up and top-down drawables.
//
// Tolerances: coverage is exact (but for centres within 2^-10 pixel of an
// edge, see Covers); a colour may differ from the rounding of the exact
// colour only where the exact colour lies within ColorSlack of a rounding
// boundary, colour indexes included (their indexes are not rounded, so
// that quads stay planar, see ForFormat); stored depth within kDepthDrift units (and 2^-22 of the
// range); pixels whose depth or alpha decision is a near tie are left out (see
// scene_reference.h).
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/gl_api.h"
#include "tests/raster/scene/scene_builders.h"
#include "tests/raster/scene/scene_fixture.h"

namespace scene_test {
namespace {

// Every primitive kind, overlapping and interpenetrating, with vertices on
// pixel centres, pixel corners and in between.
std::vector<ScenePrimitive> MixedScene() {
  std::vector<ScenePrimitive> scene;
  scene.push_back({GL_TRIANGLES,
                   {V(4, 4, 0.25, 1, 0, 0, 1), V(40, 8, 0.75, 0, 1, 0, 0.5),
                    V(20, 40, 0.5, 0, 0, 1, 0), V(10, 30, 0.8125, 1, 1, 0, 1),
                    V(60, 20, 0.1875, 0, 1, 1, 0.25), V(30, 2, 0.625, 1, 0, 1, 0.75),
                    V(2.5, 40.5, 0.125, 0.5, 0.25, 0.75), V(12.5, 40.5, 0.125, 0.25, 0.5, 1),
                    V(2.5, 46.5, 0.125, 1, 0.5, 0.25)}});
  scene.push_back({GL_TRIANGLE_STRIP,
                   {V(34, 30, 0.3, 1, 0, 0), V(36, 44, 0.4, 0, 1, 0), V(42, 31.5, 0.2, 0, 0, 1),
                    V(45, 43, 0.6, 1, 1, 0), V(50, 30.25, 0.35, 0, 1, 1),
                    V(55, 46, 0.45, 1, 0, 1), V(61, 32, 0.05, 0.5, 0.5, 0.5)}});
  scene.push_back({GL_TRIANGLE_FAN,
                   {V(16, 20, 0.1, 1, 1, 1), V(24, 20, 0.9, 1, 0, 0), V(22, 26, 0.7, 0, 1, 0),
                    V(16, 28, 0.5, 0, 0, 1), V(10, 25.0625, 0.3, 1, 1, 0),
                    V(9, 15, 0.7, 0, 1, 1), V(17, 12.5, 0.9, 1, 0, 1)}});
  const AffineField field{205 / 1024.0, 4 / 1024.0, 6 / 1024.0, {0.1, 0.9, 0.3, 1}, {0.01, -0.01, 0.005, -0.01},
                          {0.005, 0.004, 0.008, 0}};
  scene.push_back({GL_QUADS,
                   {field.At(44, 2), field.At(62, 4), field.At(60, 18), field.At(46, 14),
                    field.At(24, 30), field.At(33, 30), field.At(33, 47), field.At(24, 47)}});
  const AffineField strip{614 / 1024.0, -3 / 1024.0, 2 / 1024.0, {0.9, 0.2, 0.5, 0.5}, {-0.01, 0.012, 0, 0.01},
                          {0, -0.01, 0.015, 0}};
  scene.push_back({GL_QUAD_STRIP,
                   {strip.At(1, 2), strip.At(3, 12), strip.At(12, 1), strip.At(13, 11.5),
                    strip.At(22.5, 3), strip.At(23, 13), strip.At(31, 1.5), strip.At(30, 9)}});
  const AffineField poly{51 / 1024.0, 8 / 1024.0, 4 / 1024.0, {0.3, 0.3, 0.9, 1}, {0.008, 0.004, -0.006, 0},
                         {0.004, 0.008, -0.004, -0.01}};
  scene.push_back({GL_POLYGON,
                   {poly.At(40, 12), poly.At(52, 10.5), poly.At(58, 22), poly.At(52, 34),
                    poly.At(40, 33.5), poly.At(35.5, 23)}});
  SceneRandom random(11);
  ScenePrimitive loose{GL_TRIANGLES, {}};
  for (int i = 0; i < 24; i++) loose.v.push_back(random.Vertex(0, kWidth, 0, kHeight));
  scene.push_back(loose);
  return scene;
}

std::vector<SceneStep> SmoothDepthScene() {
  SceneState s;
  s.depthTest = true;
  std::vector<SceneStep> steps;
  for (const ScenePrimitive &p : MixedScene()) steps.push_back({s, p});
  return steps;
}

std::vector<ColorFormat> AllFormats() {
  std::vector<ColorFormat> all = kRgbFormats;
  all.insert(all.end(), kIndexFormats.begin(), kIndexFormats.end());
  return all;
}

TEST_F(SceneTest, ASmoothDepthTestedSceneEqualsTheReference) {
  struct Drawable {
    ColorFormat format;
    uint32_t depthBits;
  };
  std::vector<Drawable> targets;
  for (const ColorFormat &f : AllFormats()) targets.push_back({f, 16});
  targets.push_back({kRgbFormats[2], 24});
  targets.push_back({kRgbFormats[6], 32});
  for (const Drawable &t : targets)
    for (bool inverted : {false, true}) {
      const std::string what = std::string(t.format.name) + ", depth " +
                               std::to_string(t.depthBits) + (inverted ? ", top-down" : "");
      SCOPED_TRACE(what);
      if (!Open(t.format, t.depthBits, inverted)) continue;
      SceneReference ref(Target());
      ClearAll(&ref);
      Run(&ref, ForFormat(SmoothDepthScene(), t.format));
      const int ambiguous = Compare(ref, what);
      // The near ties are the lines where surfaces cut each other.
      EXPECT_LT(ambiguous, kWidth * kHeight / 20) << what;
    }
}

// Two layers over most of the window: A, a strip with an alpha ramp from
// left to right; B, a quad strip cutting through A in depth.
ScenePrimitive LayerA() {
  return {GL_TRIANGLE_STRIP,
          {V(2, 3, 0.3, 1, 0, 0, 0), V(6, 44, 0.5, 0, 1, 0, 0.0625), V(30, 5, 0.4, 0, 0, 1, 0.5),
           V(34, 46, 0.6, 1, 1, 0, 0.5625), V(61, 2.5, 0.35, 0, 1, 1, 1),
           V(62, 45.5, 0.45, 1, 0, 1, 0.9375)}};
}
ScenePrimitive LayerB() {
  const AffineField f{102 / 1024.0, 13 / 1024.0, 0.0, {0.2, 0.8, 0.4, 0.75}, {0.008, -0.01, 0.004, 0},
                      {0.004, 0, 0.004, -0.01}};
  return {GL_QUAD_STRIP,
          {f.At(0, 10), f.At(0, 38), f.At(20, 8), f.At(20, 40), f.At(44, 9), f.At(44, 41),
           f.At(64, 10), f.At(64, 38)}};
}

SceneState Depth(GLenum func, bool write = true) {
  SceneState s;
  s.depthTest = true;
  s.depthFunc = func;
  s.depthWrite = write;
  return s;
}

SceneState Offset(SceneState s, double factor, double units) {
  s.offset = true;
  s.factor = factor;
  s.units = units;
  return s;
}

SceneState Stippled(SceneState s, uint32_t seed) {
  s.stipple = true;
  SceneRandom random(seed);
  for (uint8_t &b : s.pattern) b = uint8_t(random.Next() >> 11);
  return s;
}

SceneState Alpha(GLenum func, double ref) {
  SceneState s;
  s.alphaTest = true;
  s.alphaFunc = func;
  s.alphaRef = ref;
  return s;
}

SceneState Stencil(SceneState s, GLenum func, uint32_t ref, GLenum fail, GLenum zfail,
                   GLenum zpass, uint32_t mask = 0xFF, uint32_t writeMask = 0xFF) {
  s.stencil = {true, func, ref, mask, fail, zfail, zpass, writeMask};
  return s;
}

SceneState Flat(SceneState s) {
  s.smooth = false;
  return s;
}

// Triangles whose corners lie at the ends of the depth range: the fill takes
// its depth at the first row's left end, which may lie outside the triangle
// (beside a sharp corner) where the plane runs past 0 or past the buffer's
// largest value; every later pixel is reached by steps from there, so the
// start must not be clamped.
std::vector<ScenePrimitive> DepthEnds() {
  std::vector<ScenePrimitive> out;
  for (double end : {0.0, 1.0}) {
    const double other = end == 0 ? 0.75 : 0.25;
    ScenePrimitive p{GL_TRIANGLES, {}};
    // Sharp corners at the bottom and at the top, opening either way.
    // Corners just below or above a row's centre leave that row empty.
    const double apexes[][6] = {
        {10.25, 1.4375, 2, 20, 16, 14.5},   {30.5, 1.25, 40, 18, 26, 20.5},
        {20.0625, 2.4375, 27, 14, 14, 12.5}, {50.125, 22.5, 44, 3, 62, 5.5},
        {8.5, 46.5625, 2, 26, 15, 30.25},    {33.75, 45.5, 40.5, 28, 24, 27},
        {21.25, 44.5625, 13, 33, 28, 31},    {56.25, 24.4375, 63, 44, 46, 42}};
    for (const double *a : apexes) {
      p.v.push_back(V(a[0], a[1], end, 1, 0, 0));
      p.v.push_back(V(a[2], a[3], other, 0, 1, 0));
      p.v.push_back(V(a[4], a[5], (end + other) / 2, 0, 0, 1));
    }
    out.push_back(p);
  }
  return out;
}

TEST_F(SceneTest, DepthsAtTheEndsOfTheRangeEqualTheReference) {
  for (uint32_t depthBits : {16u, 24u, 32u})
    for (bool inverted : {false, true})
      for (const ScenePrimitive &p : DepthEnds()) {
        const std::string what = "depth " + std::to_string(depthBits) + ", corners at " +
                                 (p.v[0].z == 0 ? "0" : "1") + (inverted ? ", top-down" : "");
        SCOPED_TRACE(what);
        if (!Open(kRgbFormats[6], depthBits, inverted)) continue;
        SceneReference ref(Target());
        ClearAll(&ref);
        // The clear depth 1.0 would hide the far end from GL_LESS.
        Run(&ref, {{Depth(GL_ALWAYS), p}});
        Compare(ref, what);
      }
}

struct StateCase {
  std::string name;
  uint32_t stencilClear;
  std::vector<SceneStep> steps;
  bool depthWidths;  // worth repeating with 24- and 32-bit depth
};

std::vector<StateCase> StateCases() {
  const ScenePrimitive a = LayerA(), b = LayerB();
  std::vector<StateCase> cases;
  cases.push_back({"smooth", 0, {{SceneState{}, a}, {SceneState{}, b}}, false});
  cases.push_back({"flat", 0, {{Flat({}), a}, {Flat({}), b}}, false});
  cases.push_back({"flat, depth tested", 0, {{Flat(Depth(GL_LESS)), a}, {Flat(Depth(GL_LESS)), b}},
                   true});
  for (GLenum func : {GL_NEVER, GL_LESS, GL_EQUAL, GL_LEQUAL, GL_GREATER, GL_NOTEQUAL, GL_GEQUAL,
                      GL_ALWAYS}) {
    cases.push_back({"depth function " + std::to_string(func - GL_NEVER), 0,
                     {{Depth(GL_ALWAYS), a}, {Depth(func), b}, {Depth(func), a}}, true});
    cases.push_back({"depth function " + std::to_string(func - GL_NEVER) + ", writes off", 0,
                     {{Depth(GL_ALWAYS), a}, {Depth(func, false), b}, {Depth(GL_LESS), b}}, true});
  }
  cases.push_back({"polygon offset toward the viewer", 0,
                   {{Depth(GL_LESS), b}, {Offset(Depth(GL_LESS), -1, -8), b}}, true});
  cases.push_back({"polygon offset away from the viewer", 0,
                   {{Depth(GL_LESS), b}, {Offset(Depth(GL_LEQUAL), 1, 8), b}}, true});
  cases.push_back({"polygon offset by units only", 0,
                   {{Depth(GL_LESS), b}, {Offset(Depth(GL_LESS), 0, -64), b}}, false});
  cases.push_back({"polygon offset past the far end clamps", 0,
                   {{Offset(Depth(GL_LESS), 80, 0), b}, {Offset(Depth(GL_LEQUAL), 80, 0), b}},
                   true});
  cases.push_back({"polygon offset past the near end clamps", 0,
                   {{Offset(Depth(GL_LESS), -80, 0), b}, {Depth(GL_LEQUAL), a}}, true});
  cases.push_back({"polygon offset leaving the range inside a span", 0,
                   {{Depth(GL_LESS), a}, {Offset(Depth(GL_LESS), 24, 0), b},
                    {Offset(Depth(GL_GREATER), -24, 0), b}},
                   true});
  cases.push_back({"stipple", 0, {{Stippled({}, 3), a}, {Stippled(Depth(GL_LESS), 4), b}}, false});
  {
    SceneState s;
    s.scissor = true;
    s.box[0] = 10, s.box[1] = 7, s.box[2] = 30, s.box[3] = 25;
    SceneState t = Depth(GL_LESS);
    t.scissor = true;
    t.box[0] = 0, t.box[1] = 20, t.box[2] = 41, t.box[3] = 100;
    cases.push_back({"scissor", 0, {{s, a}, {t, b}}, false});
  }
  for (GLenum func : {GL_NEVER, GL_LESS, GL_LEQUAL, GL_GREATER, GL_GEQUAL, GL_ALWAYS})
    cases.push_back({"alpha function " + std::to_string(func - GL_NEVER), 0,
                     {{Alpha(func, 0.5), a}, {Alpha(func, 0.25), b}}, false});
  cases.push_back({"stencil marks, then masks", 0,
                   {{Stencil({}, GL_ALWAYS, 1, GL_KEEP, GL_KEEP, GL_REPLACE), a},
                    {Stencil({}, GL_EQUAL, 1, GL_KEEP, GL_KEEP, GL_KEEP), b}},
                   false});
  cases.push_back({"stencil fail operation", 0x80,
                   {{Stencil({}, GL_LESS, 0x80, GL_INVERT, GL_KEEP, GL_ZERO), a},
                    {Stencil({}, GL_GEQUAL, 0x7F, GL_INCR, GL_KEEP, GL_DECR), b}},
                   false});
  cases.push_back({"stencil depth-fail and depth-pass operations", 0x80,
                   {{Stencil(Depth(GL_LESS), GL_ALWAYS, 0, GL_KEEP, GL_INCR, GL_DECR), a},
                    {Stencil(Depth(GL_LESS), GL_ALWAYS, 7, GL_KEEP, GL_INVERT, GL_REPLACE, 0xFF,
                             0x0F),
                     b},
                    {Stencil(Depth(GL_LEQUAL), GL_NOTEQUAL, 0x77, GL_ZERO, GL_INCR, GL_KEEP, 0xF0),
                     a}},
                   true});
  cases.push_back({"stencil at its ends: increment and decrement clamp", 0xFF,
                   {{Stencil({}, GL_ALWAYS, 0, GL_KEEP, GL_KEEP, GL_INCR), a},
                    {Stencil({}, GL_ALWAYS, 0, GL_KEEP, GL_KEEP, GL_ZERO), b},
                    {Stencil({}, GL_ALWAYS, 0, GL_KEEP, GL_KEEP, GL_DECR), a}},
                   false});
  cases.push_back({"stencil with depth off takes the depth-pass operation", 0x10,
                   {{Stencil({}, GL_GREATER, 0x20, GL_KEEP, GL_ZERO, GL_INCR), a},
                    {Stencil(Depth(GL_NEVER), GL_ALWAYS, 0, GL_KEEP, GL_INVERT, GL_ZERO), b}},
                   true});
  {
    SceneState all = Offset(Stippled(Alpha(GL_GEQUAL, 0.25), 9), -1, -4);
    all = Stencil(all, GL_EQUAL, 1, GL_INCR, GL_INVERT, GL_INCR);
    all.depthTest = true;
    all.scissor = true;
    all.box[0] = 5, all.box[1] = 3, all.box[2] = 50, all.box[3] = 40;
    cases.push_back({"every test at once, flat", 0,
                     {{Stencil(Depth(GL_LESS), GL_ALWAYS, 1, GL_KEEP, GL_KEEP, GL_REPLACE), a},
                      {Flat(all), b}},
                     true});
  }
  return cases;
}

TEST_F(SceneTest, StatesInEveryColourFormatEqualTheReference) {
  for (const StateCase &c : StateCases()) {
    std::vector<std::pair<ColorFormat, uint32_t>> targets;
    for (const ColorFormat &f : AllFormats()) targets.push_back({f, 16});
    if (c.depthWidths) {
      targets.push_back({kRgbFormats[2], 24});
      targets.push_back({kRgbFormats[6], 32});
      targets.push_back({kIndexFormats[0], 24});
    }
    for (const auto &[f, depthBits] : targets)
      for (bool inverted : {false, true}) {
        const std::string what = c.name + ", " + f.name + ", depth " + std::to_string(depthBits) +
                                 (inverted ? ", top-down" : "");
        SCOPED_TRACE(what);
        if (!Open(f, depthBits, inverted)) continue;
        SceneReference ref(Target());
        ClearAll(&ref, c.stencilClear);
        Run(&ref, ForFormat(c.steps, f));
        Compare(ref, what);
      }
  }
}

}  // namespace
}  // namespace scene_test
