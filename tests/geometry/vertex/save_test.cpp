// The save procedures and the picker's choice among them: which current
// values a new vertex takes, for every state the choice reads.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "geometry/s_vertex_pick.h"
#include "geometry/s_vertex_procs.h"
#include "tests/support/counting_imports.h"
#include "tests/geometry/vertex/vertex_fixture.h"

namespace vertex_test {
namespace {

typedef void (*SaveProc)(GlContext *, GlVertex *);

// What a save procedure copied into the vertex.
struct Saved {
  bool color, index, normal, texture;
  bool operator==(const Saved &) const = default;
};

std::ostream &operator<<(std::ostream &out, const Saved &s) {
  return out << (s.color ? "colour " : "") << (s.index ? "index " : "")
             << (s.normal ? "normal " : "") << (s.texture ? "texture" : "");
}

const GlColor kColor = {0.125f, 0.25f, 0.375f, 0.5f};
const GLfloat kIndex = 5;
const GLfloat kNormal[3] = {0.6f, 0.7f, 0.8f};
const GlCoord kTexture = {0.9f, 1.5f, 2.5f, 3.5f};
const GlColor kEarlierColor = {-1, -1, -1, -1};
const GlCoord kEarlierNormal = {-2, -2, -2, -2}, kEarlierTexture = {-3, -3, -3, -3};
const uint32_t kEarlierHas = __GL_HAS_SIZE3 | __GL_HAS_CLIP | __GL_CLIP_LEFT;

class SaveProcs : public VertexTest {
 protected:
  void SetCurrent() {
    GlCurrentState &c = gc->state.current;
    c.color = kColor;
    c.index = kIndex;
    for (int i = 0; i < 3; ++i) c.normal[i] = kNormal[i];
    c.texture = kTexture;
  }
  // Runs `save` on a vertex that still holds an earlier vertex's values.
  Saved Run(SaveProc save) {
    GlVertex *v = &gc->vertexBuffer.slots[3];
    v->colors[__GL_FRONTFACE] = kEarlierColor;
    v->colors[__GL_BACKFACE] = kEarlierColor;
    v->normal = kEarlierNormal;
    v->texture = kEarlierTexture;
    v->has = kEarlierHas;
    Handed().clear();
    TakeCalls();
    save(gc, v);
    EXPECT_EQ(TakeCalls(), std::vector<std::string>{"primVertex"}) << "handed on once";
    EXPECT_EQ(v->has, kEarlierHas) << "no validity bit changes";
    EXPECT_EQ(v->normal.w, -2.0f) << "the plane term's place is left alone";
    EXPECT_EQ(memcmp(&v->colors[__GL_BACKFACE], &kEarlierColor, sizeof kEarlierColor), 0);
    const GlColor &front = v->colors[__GL_FRONTFACE];
    Saved s{};
    s.color = memcmp(&front, &kColor, sizeof front) == 0;
    s.index = front.r == kIndex && front.g == -1 && front.b == -1 && front.a == -1;
    const bool normal =
        v->normal.x == kNormal[0] && v->normal.y == kNormal[1] && v->normal.z == kNormal[2];
    const bool earlierNormal = memcmp(&v->normal, &kEarlierNormal, sizeof kEarlierNormal) == 0;
    s.normal = normal;
    EXPECT_TRUE(normal || earlierNormal) << "all of the normal or nothing";
    s.texture = memcmp(&v->texture, &kTexture, sizeof kTexture) == 0;
    EXPECT_TRUE(s.texture || memcmp(&v->texture, &kEarlierTexture, sizeof kEarlierTexture) == 0);
    EXPECT_TRUE(s.color || s.index || memcmp(&front, &kEarlierColor, sizeof front) == 0);
    EXPECT_TRUE(!Handed().empty() && Handed().back().obj.x == v->obj.x);
    return s;
  }
};

struct SaveCase {
  const char *name;
  SaveProc save;
  Saved saved;
};

const SaveCase kSaveCases[] = {
    {"__glSaveN", __glSaveN, {false, false, true, false}},
    {"__glSaveC", __glSaveC, {true, false, false, false}},
    {"__glSaveCI", __glSaveCI, {false, true, false, false}},
    {"__glSaveT", __glSaveT, {false, false, false, true}},
    {"__glSaveNT", __glSaveNT, {false, false, true, true}},
    {"__glSaveCT", __glSaveCT, {true, false, false, true}},
    {"__glSaveCIT", __glSaveCIT, {false, true, false, true}},
    {"__glSaveCAll", __glSaveCAll, {true, false, true, true}},
    {"__glSaveCIAll", __glSaveCIAll, {false, true, true, true}},
};

TEST_F(SaveProcs, EachCopiesItsValuesAndHandsTheVertexOn) {
  SetCurrent();
  for (const SaveCase &c : kSaveCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Run(c.save), c.saved);
  }
}

// ---- The picker's choice ----

GlTextureObject gTexture;

struct PickState {
  bool rgba, lit, textured, sGen, sSphere, tGen, tSphere;
  GLenum renderMode;
};

// What OpenGL needs of a new vertex in that state: feedback reports
// everything; otherwise the colour unless lighting replaces it, the normal
// for lighting and sphere maps, the texture coordinates while a texture is
// in use.
Saved Needed(const PickState &s) {
  if (s.renderMode == GL_FEEDBACK) return {s.rgba, !s.rgba, true, true};
  const bool sphere = s.textured && ((s.sGen && s.sSphere) || (s.tGen && s.tSphere));
  return {!s.lit && s.rgba, !s.lit && !s.rgba, s.lit || sphere, s.textured};
}

TEST_F(SaveProcs, ThePickerSavesWhatTheStateNeedsInEveryState) {
  const GlModes kModes[] = {TestModes(), TestModes(false, true, 16, 8, false)};
  for (int m = 0; m < 2; ++m) {
    Use(kModes[m]);
    SetCurrent();
    for (uint32_t bits = 0; bits < 64; ++bits) {
      for (GLenum mode : {GL_RENDER, GL_FEEDBACK, GL_SELECT}) {
        const PickState s = {m == 0,          (bits & 1) != 0,  (bits & 2) != 0,  (bits & 4) != 0,
                             (bits & 8) != 0, (bits & 16) != 0, (bits & 32) != 0, mode};
        SCOPED_TRACE(testing::Message() << (s.rgba ? "RGBA" : "colour index") << ", state bits "
                                        << bits << ", render mode " << mode);
        GlEnableState &e = gc->state.enables;
        e.general = s.lit ? e.general | __GL_LIGHTING_ENABLE : e.general & ~__GL_LIGHTING_ENABLE;
        gc->texture.current = s.textured ? &gTexture : nullptr;
        e.texture =
            (s.sGen ? __GL_TEXTURE_GEN_S_ENABLE : 0) | (s.tGen ? __GL_TEXTURE_GEN_T_ENABLE : 0);
        gc->texture.texCoordGen[__GL_TEXGEN_S].mode = s.sSphere ? GL_SPHERE_MAP : GL_OBJECT_LINEAR;
        gc->texture.texCoordGen[__GL_TEXGEN_T].mode = s.tSphere ? GL_SPHERE_MAP : GL_EYE_LINEAR;
        gc->renderMode = mode;
        // A row without a procedure would end the process here.
        __glGenericPickVertexProcs(gc);
        ASSERT_NE(gc->procs.v, nullptr);
        EXPECT_EQ(Run(gc->procs.v), Needed(s));
      }
    }
    gc->texture.current = nullptr;
    gc->renderMode = GL_RENDER;
  }
}

}  // namespace
}  // namespace vertex_test
