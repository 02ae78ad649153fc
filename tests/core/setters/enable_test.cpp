// glEnable, glDisable and glIsEnabled over every capability: the bit it
// owns and no other, the exact dirty bits, the procedures called at once,
// and the client arrays reached through the dispatch.
#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

#include "core/context.h"
#include "core/gl_api.h"
#include "tests/core/setters/setters_fixture.h"

namespace setters_test {
namespace {

enum class Word { kGeneral, kTexture, kLights, kClipPlanes, kEval1, kEval2 };

struct CapCase {
  std::string name;
  GLenum cap;
  Word word;
  uint32_t bit;
  uint32_t dirty;
  std::vector<std::string> onCalls, offCalls;
  bool marksOnlyOnChange = false;
};

// The enables with one bit of one word changed.
GlEnableState With(GlEnableState e, Word word, uint32_t bit, bool on) {
  auto set = [on, bit](auto &w) { w = on ? w | bit : w & ~bit; };
  switch (word) {
    case Word::kGeneral: set(e.general); break;
    case Word::kTexture: set(e.texture); break;
    case Word::kLights: set(e.lights); break;
    case Word::kClipPlanes: set(e.clipPlanes); break;
    case Word::kEval1: set(e.eval1); break;
    case Word::kEval2: set(e.eval2); break;
  }
  return e;
}

bool Same(const GlEnableState &a, const GlEnableState &b) {
  return a.general == b.general && a.texture == b.texture && a.lights == b.lights &&
         a.clipPlanes == b.clipPlanes && a.eval1 == b.eval1 && a.eval2 == b.eval2;
}

const std::vector<std::string> kNone;
const std::vector<std::string> kColorMaterialCalls = {"pickColorMaterialProcs", "applyColor"};
const std::vector<std::string> kPickOnly = {"pickColorMaterialProcs"};
const std::vector<std::string> kScissorCalls = {"computeClipBox", "applyScissor"};

std::vector<CapCase> Capabilities() {
  const uint32_t g = __GL_DIRTY_GENERIC;
  std::vector<CapCase> rows = {
      {"AlphaTest", GL_ALPHA_TEST, Word::kGeneral, 0x1, g, kNone, kNone},
      {"Blend", GL_BLEND, Word::kGeneral, 0x2, g, kNone, kNone},
      {"IndexLogicOp", GL_INDEX_LOGIC_OP, Word::kGeneral, 0x4, g, kNone, kNone},
      {"Dither", GL_DITHER, Word::kGeneral, 0x8, g, kNone, kNone},
      {"DepthTest", GL_DEPTH_TEST, Word::kGeneral, 0x10, __GL_DIRTY_DEPTH | g, kNone, kNone},
      {"Fog", GL_FOG, Word::kGeneral, 0x20, g, kNone, kNone},
      {"Lighting", GL_LIGHTING, Word::kGeneral, 0x40, __GL_DIRTY_LIGHTING, kColorMaterialCalls,
       kColorMaterialCalls},
      {"ColorMaterial", GL_COLOR_MATERIAL, Word::kGeneral, 0x80, __GL_DIRTY_LIGHTING,
       kColorMaterialCalls, kPickOnly},
      {"LineStipple", GL_LINE_STIPPLE, Word::kGeneral, 0x100, __GL_DIRTY_LINE, kNone, kNone},
      {"LineSmooth", GL_LINE_SMOOTH, Word::kGeneral, 0x200, g, kNone, kNone},
      {"PointSmooth", GL_POINT_SMOOTH, Word::kGeneral, 0x400, g, kNone, kNone},
      {"PolygonSmooth", GL_POLYGON_SMOOTH, Word::kGeneral, 0x800, g, kNone, kNone},
      {"CullFace", GL_CULL_FACE, Word::kGeneral, 0x1000, __GL_DIRTY_POLYGON, kNone, kNone, true},
      {"PolygonStipple", GL_POLYGON_STIPPLE, Word::kGeneral, 0x2000, __GL_DIRTY_POLYGON, kNone,
       kNone},
      {"ScissorTest", GL_SCISSOR_TEST, Word::kGeneral, 0x4000, __GL_DIRTY_SCISSOR | g,
       kScissorCalls, kScissorCalls},
      {"StencilTest", GL_STENCIL_TEST, Word::kGeneral, 0x8000, g, kNone, kNone},
      {"Normalize", GL_NORMALIZE, Word::kGeneral, 0x10000, g, kNone, kNone},
      {"AutoNormal", GL_AUTO_NORMAL, Word::kGeneral, 0x20000, g, kNone, kNone},
      {"PolygonOffsetPoint", GL_POLYGON_OFFSET_POINT, Word::kGeneral, 0x40000,
       __GL_DIRTY_POINT | g, kNone, kNone},
      {"PolygonOffsetLine", GL_POLYGON_OFFSET_LINE, Word::kGeneral, 0x80000,
       __GL_DIRTY_LINE | g, kNone, kNone},
      {"PolygonOffsetFill", GL_POLYGON_OFFSET_FILL, Word::kGeneral, 0x100000,
       __GL_DIRTY_POLYGON | g, kNone, kNone},
      {"ColorLogicOp", GL_COLOR_LOGIC_OP, Word::kGeneral, 0x200000, g, kNone, kNone},
      {"IndexMaterial", GL_INDEX_MATERIAL_VLX, Word::kGeneral, 0x400000, g, kNone, kNone},
      {"IndexTest", GL_INDEX_TEST_VLX, Word::kGeneral, 0x800000, g, kNone, kNone},
      {"CullVertex", GL_CULL_VERTEX_VLX, Word::kGeneral, 0x1000000, g, kNone, kNone},
      {"Texture1D", GL_TEXTURE_1D, Word::kTexture, 0x1, g, kNone, kNone},
      {"Texture2D", GL_TEXTURE_2D, Word::kTexture, 0x2, g, kNone, kNone},
      {"TextureGenS", GL_TEXTURE_GEN_S, Word::kTexture, 0x4, g, kNone, kNone},
      {"TextureGenT", GL_TEXTURE_GEN_T, Word::kTexture, 0x8, g, kNone, kNone},
      {"TextureGenR", GL_TEXTURE_GEN_R, Word::kTexture, 0x10, g, kNone, kNone},
      {"TextureGenQ", GL_TEXTURE_GEN_Q, Word::kTexture, 0x20, g, kNone, kNone},
  };
  for (uint32_t i = 0; i < 8; i++)
    rows.push_back({"Light" + std::to_string(i), GL_LIGHT0 + i, Word::kLights, 1u << i,
                    __GL_DIRTY_LIGHTING, kNone, kNone});
  for (uint32_t i = 0; i < 6; i++)
    rows.push_back({"ClipPlane" + std::to_string(i), GL_CLIP_PLANE0 + i, Word::kClipPlanes,
                    1u << i, g, kNone, kNone});
  for (uint32_t i = 0; i < 9; i++) {
    rows.push_back({"Map1_" + std::to_string(i), GL_MAP1_COLOR_4 + i, Word::kEval1, 1u << i, g,
                    kNone, kNone});
    rows.push_back({"Map2_" + std::to_string(i), GL_MAP2_COLOR_4 + i, Word::kEval2, 1u << i, g,
                    kNone, kNone});
  }
  return rows;
}

class Capability : public SetterTest, public testing::WithParamInterface<CapCase> {
 protected:
  // One call from a settled context: its bit, marks and calls.
  void Expect(void(GLENTRY *command)(GLenum), const GlEnableState &before, bool on,
              uint32_t dirty, const std::vector<std::string> &calls) {
    const CapCase &c = GetParam();
    Settle();
    command(c.cap);
    EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));
    EXPECT_TRUE(Same(gc->state.enables, With(before, c.word, c.bit, on)));
    EXPECT_EQ(gc->dirtyMask, dirty);
    EXPECT_EQ(gc->tableDirtyMask, 0u);
    EXPECT_EQ(gc->beginMode, dirty ? __GL_VALIDATE_PENDING : __GL_NOT_IN_BEGIN);
    EXPECT_EQ(Calls(), calls);
    EXPECT_EQ(glIsEnabled(c.cap), on ? GL_TRUE : GL_FALSE);
    EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));
  }
};

TEST_P(Capability, RoundTrip) {
  const CapCase &c = GetParam();
  // Every other capability on, so that a bit that spills over shows.
  memset(&gc->state.enables, 0xFF, sizeof gc->state.enables);
  GlEnableState full = gc->state.enables;
  GlEnableState off = With(full, c.word, c.bit, false);
  gc->state.enables = off;
  Expect(glEnable, off, true, c.dirty, c.onCalls);
  // Again, with the bit already on.
  Expect(glEnable, off, true, c.marksOnlyOnChange ? 0 : c.dirty,
         c.marksOnlyOnChange ? kNone : c.onCalls);
  Expect(glDisable, off, false, c.dirty, c.offCalls);
  Expect(glDisable, off, false, c.marksOnlyOnChange ? 0 : c.dirty,
         c.marksOnlyOnChange ? kNone : c.offCalls);
}

TEST_P(Capability, RoundTripAmongCapabilitiesOff) {
  const CapCase &c = GetParam();
  gc->state.enables = GlEnableState{};
  Expect(glEnable, GlEnableState{}, true, c.dirty, c.onCalls);
  Expect(glDisable, GlEnableState{}, false, c.dirty, c.offCalls);
}

INSTANTIATE_TEST_SUITE_P(Every, Capability, testing::ValuesIn(Capabilities()),
                         CaseName<CapCase>);

// The scissor box takes effect at the enable, before any validation.
TEST_F(SetterTest, ScissorTestComputesTheClipBoxAtOnce) {
  glScissor(10, 20, 30, 40);
  Settle();
  const GlConstants &k = gc->constants;
  glEnable(GL_SCISSOR_TEST);
  const int32_t *box = gc->transform.clipBox;
  EXPECT_EQ(box[0], 10 + k.viewportXAdjust);
  EXPECT_EQ(box[1], 20 + k.viewportYAdjust);
  EXPECT_EQ(box[2], 40 + k.viewportXAdjust);
  EXPECT_EQ(box[3], 60 + k.viewportYAdjust);
  glDisable(GL_SCISSOR_TEST);
  EXPECT_EQ(box[0], k.viewportXAdjust);
  EXPECT_EQ(box[1], k.viewportYAdjust);
  EXPECT_EQ(box[2], 640 + k.viewportXAdjust);
  EXPECT_EQ(box[3], 480 + k.viewportYAdjust);
}

// ---- Client arrays ----

struct ArrayCase {
  const char *name;
  GLenum array;
  uint32_t fields, bit;
};

const ArrayCase kArrays[] = {
    {"Vertex", GL_VERTEX_ARRAY, 0xFF, 0x20},
    {"Normal", GL_NORMAL_ARRAY, 0xF00, 0x1},
    {"Color", GL_COLOR_ARRAY, 0xFF000, 0x2},
    {"Index", GL_INDEX_ARRAY, 0xF0000000u, 0x8},
    {"TextureCoord", GL_TEXTURE_COORD_ARRAY, 0x7F00000, 0x4},
    {"EdgeFlag", GL_EDGE_FLAG_ARRAY, 0x8000000, 0x10},
};

class ClientArray : public SetterTest, public testing::WithParamInterface<ArrayCase> {
 protected:
  void Expect(void(GLENTRY *command)(GLenum), uint32_t fields, uint32_t bits, bool on) {
    const ArrayCase &c = GetParam();
    Settle();
    GlEnableState enables = gc->state.enables;
    command(c.array);
    EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));
    EXPECT_EQ(gc->vertexArray.enableFields, on ? fields | c.fields : fields & ~c.fields);
    EXPECT_EQ(gc->vertexArray.enables, on ? bits | c.bit : bits & ~c.bit);
    EXPECT_EQ(gc->dirtyMask, __GL_DIRTY_VERTEX_ARRAY);
    EXPECT_EQ(gc->beginMode, __GL_VALIDATE_PENDING);
    EXPECT_TRUE(Same(gc->state.enables, enables));
    EXPECT_TRUE(Calls().empty());
    EXPECT_EQ(glIsEnabled(c.array), on ? GL_TRUE : GL_FALSE);
  }
};

TEST_P(ClientArray, ByTheClientStateEntries) {
  Expect(glEnableClientState, 0, 0, true);
  Expect(glDisableClientState, GetParam().fields, GetParam().bit, false);
}

TEST_P(ClientArray, ByEnableAndDisable) {
  Expect(glEnable, 0, 0, true);
  Expect(glDisable, GetParam().fields, GetParam().bit, false);
}

TEST_P(ClientArray, AmongTheOthersEnabled) {
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_NORMAL_ARRAY);
  glEnableClientState(GL_COLOR_ARRAY);
  glEnableClientState(GL_INDEX_ARRAY);
  glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  glEnableClientState(GL_EDGE_FLAG_ARRAY);
  ASSERT_EQ(gc->vertexArray.enableFields, 0xFFFFFFFFu);
  ASSERT_EQ(gc->vertexArray.enables, 0x3Fu);
  Expect(glDisableClientState, 0xFFFFFFFFu, 0x3Fu, false);
  Expect(glEnable, 0xFFFFFFFFu & ~GetParam().fields, 0x3Fu & ~GetParam().bit, true);
}

// Any field bit of the array counts as enabled.
TEST_P(ClientArray, IsEnabledByAnyFieldBit) {
  const ArrayCase &c = GetParam();
  gc->vertexArray.enableFields = c.fields & ~(c.fields - 1);  // the lowest bit only
  EXPECT_EQ(glIsEnabled(c.array), GL_TRUE);
  gc->vertexArray.enableFields = ~c.fields;
  EXPECT_EQ(glIsEnabled(c.array), GL_FALSE);
  EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));
}

INSTANTIATE_TEST_SUITE_P(Every, ClientArray, testing::ValuesIn(kArrays), CaseName<ArrayCase>);

// glEnable hands a client array to whatever the current dispatch holds.
std::vector<std::pair<char, GLenum>> gForwarded;

void GLENTRY ForwardedEnable(GLenum array) { gForwarded.push_back({'+', array}); }
void GLENTRY ForwardedDisable(GLenum array) { gForwarded.push_back({'-', array}); }

TEST_F(SetterTest, EnableForwardsClientArraysThroughTheDispatch) {
  gForwarded.clear();
  gc->dispatch.EnableClientState = ForwardedEnable;
  gc->dispatch.DisableClientState = ForwardedDisable;
  glEnable(GL_NORMAL_ARRAY);
  glDisable(GL_EDGE_FLAG_ARRAY);
  std::vector<std::pair<char, GLenum>> expected = {{'+', GL_NORMAL_ARRAY},
                                                   {'-', GL_EDGE_FLAG_ARRAY}};
  EXPECT_EQ(gForwarded, expected);
  EXPECT_EQ(gc->vertexArray.enableFields, 0u);
  EXPECT_EQ(gc->dirtyMask, 0u);
  memcpy(&gc->dispatch, &__glImmedState, sizeof gc->dispatch);
}

}  // namespace
}  // namespace setters_test
