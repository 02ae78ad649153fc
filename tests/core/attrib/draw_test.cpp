// Drawing after a client pop: the restored arrays are read through their own
// converters, and a restored lock is in force, in pixels against the same
// triangle given through the immediate entries.
#include <gtest/gtest.h>

#include <vector>

#include "core/gl_api.h"
#include "geometry/s_varray.h"
#include "tests/core/context/life_fixture.h"
#include "tests/support/counting_imports.h"
#include "tests/raster/color/color_fixture.h"
#include "tests/raster/scene/scene_fixture.h"

namespace scene_test {
namespace {

// The arrays of the push: two-component shorts and byte colours.
const GLshort kShortVertices[] = {4, 4, 58, 10, 22, 44, 60, 40, 30, 2, 6, 30};
const GLubyte kByteColors[] = {255, 0, 0,   255, 0,   255, 64, 255, 16,  32, 255, 255,
                               90,  90, 200, 255, 200, 20, 20, 255, 0,   0,  0,   255};
// What the application points the arrays at meanwhile: three-component
// floats elsewhere in the window.
const GLfloat kFloatVertices[] = {40, 40, 0, 10, 40, 0, 25, 12, 0, 2, 2, 0, 12, 2, 0, 2, 12, 0};
const GLfloat kFloatColors[] = {1, 1, 1, 0, 0, 0, 0.5f, 0.5f, 0.5f,
                                1, 1, 0, 0, 1, 1, 1, 0, 1};

// Every pixel of the window's colour memory, row by row.
std::vector<uint32_t> Pixels(PixelMemory *memory) {
  std::vector<uint32_t> pixels;
  for (int32_t y = 0; y < kHeight; ++y)
    for (int32_t x = 0; x < kWidth; ++x) pixels.push_back(memory->Read(x, y));
  return pixels;
}

class ClientPopDraw : public SceneTest {
 protected:
  void SetUp() override {
    SceneTest::SetUp();
    ASSERT_TRUE(Open(kRgbFormats[2]));  // 5-6-5
    ASSERT_STREQ(format.name, "5-6-5");
  }
  std::vector<uint32_t> Frame() { return Pixels(colorMemory); }
  void Clear() {
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
  }
  // The two triangles of the short arrays through glColor / glVertex.
  std::vector<uint32_t> Reference() {
    Clear();
    glBegin(GL_TRIANGLES);
    for (int i = 0; i < 6; ++i) {
      glColor4ubv(&kByteColors[4 * i]);
      glVertex2sv(&kShortVertices[2 * i]);
    }
    glEnd();
    return Frame();
  }
  void ShortArrays() {
    glVertexPointer(2, GL_SHORT, 0, kShortVertices);
    glColorPointer(4, GL_UNSIGNED_BYTE, 0, kByteColors);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
  }
  void FloatArrays() {
    glVertexPointer(3, GL_FLOAT, 0, kFloatVertices);
    glColorPointer(3, GL_FLOAT, 0, kFloatColors);
  }
  void DrawFloats() {
    glDrawArrays(GL_TRIANGLES, 0, 6);
    const std::vector<uint32_t> drawn = Frame();
    EXPECT_NE(drawn, Reference()) << "the float arrays draw something else";
  }
};

TEST_F(ClientPopDraw, TheRestoredArraysDrawWithTheirOwnConverters) {
  const std::vector<uint32_t> want = Reference();
  ShortArrays();
  glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
  FloatArrays();
  Clear();
  DrawFloats();
  glPopClientAttrib();
  Clear();
  glDrawArrays(GL_TRIANGLES, 0, 6);
  EXPECT_EQ(Frame(), want) << "glDrawArrays";
  Clear();
  glBegin(GL_TRIANGLES);
  for (int i = 0; i < 6; ++i) glArrayElement(i);
  glEnd();
  EXPECT_EQ(Frame(), want) << "glArrayElement";
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

// Locked at the push, unlocked and re-pointed meanwhile: the pop brings the
// lock back over the short arrays, and drawing compiles them afresh.
TEST_F(ClientPopDraw, APopRestoresALockTakenBeforeThePush) {
  const std::vector<uint32_t> want = Reference();
  ShortArrays();
  glLockArraysVLX(0, 6);
  Clear();
  glDrawArrays(GL_TRIANGLES, 0, 6);
  ASSERT_EQ(Frame(), want);
  glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
  glUnlockArraysVLX();
  FloatArrays();
  Clear();
  DrawFloats();
  glPopClientAttrib();
  EXPECT_TRUE(gc->vertexArray.flags & __GL_VARRAY_LOCKED);
  Clear();
  glDrawArrays(GL_TRIANGLES, 0, 6);
  EXPECT_EQ(Frame(), want);
  glUnlockArraysVLX();
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << "the arrays were locked";
}

// Unlocked at the push, locked over other arrays meanwhile: the pop leaves
// no lock behind.
TEST_F(ClientPopDraw, APopDropsALockTakenAfterThePush) {
  const std::vector<uint32_t> want = Reference();
  ShortArrays();
  glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
  FloatArrays();
  glLockArraysVLX(0, 6);
  Clear();
  DrawFloats();
  glPopClientAttrib();
  EXPECT_FALSE(gc->vertexArray.flags & __GL_VARRAY_LOCKED);
  Clear();
  glDrawArrays(GL_TRIANGLES, 0, 6);
  EXPECT_EQ(Frame(), want);
  glUnlockArraysVLX();
  EXPECT_EQ(glGetError(), GLenum(GL_INVALID_OPERATION)) << "nothing was locked";
  glLockArraysVLX(0, 6);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

// Fog set in a 5-6-5 context and copied into an 8-8-8 one draws as fog set
// there directly: the copy's colour is made again for the destination's
// buffer, not kept in the source's units.
class FogCopy : public SceneTest {
 protected:
  static void SetFog() {
    glEnable(GL_FOG);
    glFogi(GL_FOG_MODE, GL_LINEAR);
    glFogf(GL_FOG_START, -1.0f);
    glFogf(GL_FOG_END, 1.0f);
    const GLfloat color[4] = {0.9f, 0.6f, 0.3f, 1.0f};
    glFogfv(GL_FOG_COLOR, color);
  }
  // The scene with fog set directly, then with the fog copied from a 5-6-5
  // context, in a new 8-8-8 context with this fog hint.
  void CopyFogAndDraw(GLenum hint) {
    ASSERT_TRUE(Open(kRgbFormats[4]));
    ASSERT_STREQ(format.name, "8-8-8");
    glHint(GL_FOG_HINT, hint);
    const std::vector<uint32_t> plain = Draw();
    SetFog();
    const std::vector<uint32_t> want = Draw();
    ASSERT_NE(want, plain) << "the fog shows";
    glDisable(GL_FOG);
    glFogi(GL_FOG_MODE, GL_EXP);
    const GLfloat black[4] = {0, 0, 0, 0};
    glFogfv(GL_FOG_COLOR, black);

    // The source: a 5-6-5 context on a window of its own, bound once.
    life_test::TestWindow other(16, 16);
    UseWindow(&other);
    GlContext *src = CreateBound(TestModes());
    ASSERT_NE(src, nullptr);
    ASSERT_EQ(src->modes.greenBits, 6u);
    SetFog();
    ASSERT_TRUE(life_test::Release(src));

    // The destination, bound before, is not current at the copy.
    UseWindow(window.get());
    ASSERT_TRUE(life_test::Bind(gc));
    ASSERT_TRUE(life_test::Release(gc));
    EXPECT_TRUE(gc->exports.copyContext(gc, src, GL_FOG_BIT));
    src->exports.destroyContext(src);
    ASSERT_TRUE(life_test::Bind(gc));
    EXPECT_EQ(Draw(), want);
  }
  std::vector<uint32_t> Draw() {
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    glBegin(GL_TRIANGLES);
    glColor3f(0.1f, 0.2f, 0.9f);
    glVertex3f(2, 2, 0.1f);
    glColor3f(0.8f, 0.1f, 0.1f);
    glVertex3f(62, 6, 0.5f);
    glColor3f(0.2f, 0.9f, 0.3f);
    glVertex3f(30, 46, 0.9f);
    glEnd();
    return Pixels(colorMemory);
  }
};

// Fog per vertex blends colours at the context's scale; per fragment
// (GL_NICEST) in the drawn buffer's units.
TEST_F(FogCopy, FogCopiedFromA565ContextDrawsAsFogSetDirectly) {
  for (GLenum hint : {GL_DONT_CARE, GL_NICEST}) {
    SCOPED_TRACE(hint);
    CopyFogAndDraw(hint);
    if (HasFatalFailure()) return;
  }
}

}  // namespace
}  // namespace scene_test
