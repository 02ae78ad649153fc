// Scenes drawn through the generic path and through the generated x86/x87
// raster routine outside spanlet mode (installed by hand on a context whose
// MMX flag is cleared), with the reference renderer beside them, and a
// model of the generated span's dither rules.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

#include "tests/fastraster/scene/fast_scene_fixture.h"

namespace span_test {

using scene_test::Image;
using scene_test::SceneReference;
using scene_test::SceneState;
using scene_test::SceneStep;
using scene_test::SceneVertex;

enum class Path { kGeneric, kGenerated };

// A value added to one word of the span record between the generated setup
// and the raster routine, to put the setup's results where rounding may
// put them: a little past the ends of the colour or depth range.
struct Nudge {
  size_t field;  // offset in FrSpan
  int32_t add;
};

class SpanSceneTest : public scene_test::FastSceneTest {
 protected:
  // Never used: these scenes take no chain.
  void ColorStage(const SceneState &, FrSpanletProc *colors, FrSpanletProc *last) override {
    scene_test::KernelStage(gc, scene_test::Tail::kStore, colors, last);
  }

  // Open with the MMX flag cleared, so the x86/x87 routine is generated.
  bool OpenPlain(const ColorFormat &f, uint32_t depthBits);
  // Open with the processor's MMX flag, which the MMX body needs.
  bool OpenMmx(const ColorFormat &f, uint32_t depthBits);
  // Clears, then draws every step through `path` (and into `ref` when
  // given). `depthOnly` masks every colour channel (and gives the generated
  // routine the masked-colour flag the picker would).
  Image DrawOn(Path path, const std::vector<SceneStep> &steps, SceneReference *ref = nullptr,
               bool depthOnly = false, const std::vector<Nudge> &nudges = {});
  // The generated image against the generic one: every channel within one
  // unit, depth within the drift (times `depthFactor`), untouched pixels
  // untouched.
  void ExpectNearGeneric(const Image &gen, const Image &generic, const std::string &what,
                         int64_t depthFactor = 1);
  // Every pixel the reference draws for the one triangle of `step`
  // (unclipped, no two vertices on one row) holds exactly the colour of the dither
  // model, except where the exact colour lies within the planes' error of a
  // rounding step; untouched pixels untouched. `flatFill` keys the dither
  // to memory columns instead of the walk.
  void ExpectDitherModel(const SceneReference &ref, const SceneStep &step, bool flatFill,
                         const std::string &what);
  void TearDown() override;
  // The modeFlags the last validation gave.
  uint32_t Flags() const { return gc->polygon.shader.modeFlags; }

 private:
  // Installs code between setup and raster routine that adds the nudges.
  void InstallNudges(const std::vector<Nudge> &nudges);
  uint8_t *nudgeCode_ = nullptr;
  void *raster_ = nullptr;  // where the nudge code goes on
};

// Whether the generated span walks this triangle right to left (the
// setup's rule on the vertices sorted by row).
bool RightToLeft(const SceneVertex v[3]);

// The depth states of the scene tables: no test, then every function with
// writes on and off.
struct DepthCase {
  bool test;
  GLenum func;
  bool write;
};

inline std::vector<DepthCase> DepthCases() {
  std::vector<DepthCase> cases = {{false, GL_LESS, true}};
  for (GLenum f : {GL_NEVER, GL_LESS, GL_EQUAL, GL_LEQUAL, GL_GREATER, GL_NOTEQUAL, GL_GEQUAL,
                   GL_ALWAYS})
    for (bool w : {true, false}) cases.push_back({true, GLenum(f), w});
  return cases;
}

// The scene state of a depth case, flat or smooth.
inline SceneState StateOf(const DepthCase &d, bool smooth) {
  SceneState s;
  s.smooth = smooth;
  s.depthTest = d.test;
  s.depthFunc = d.func;
  s.depthWrite = d.write;
  return s;
}

// A case's name in failure messages.
inline std::string CaseName(const ColorFormat &f, uint32_t depthBits, bool smooth, bool dith,
                            const DepthCase &d) {
  std::string s = std::string(f.name) + ", " + std::to_string(depthBits) + "-bit depth" +
                  (smooth ? ", smooth" : ", flat") + (dith ? ", dithered" : "");
  if (d.test) s += ", depth function 0x" + std::to_string(d.func) + (d.write ? "" : ", no writes");
  return s;
}

}  // namespace span_test
