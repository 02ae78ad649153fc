#include "tests/vertex/vertex_fixture.h"

#include "geometry/s_clipcheck.h"
#include "tests/support/counting_imports.h"
#include "wgl/wgl_current.h"

namespace vertex_test {

std::vector<std::string> &Calls() {
  static std::vector<std::string> calls;
  return calls;
}

std::vector<std::string> TakeCalls() {
  std::vector<std::string> calls;
  calls.swap(Calls());
  return calls;
}

std::vector<GlVertex> &Handed() {
  static std::vector<GlVertex> vertices;
  return vertices;
}

namespace {

void KeepVertex(GlContext *, GlVertex *v) {
  Calls().push_back("primVertex");
  Handed().push_back(*v);
}

}  // namespace

void VertexTest::SetUp() {
  LifeTest::SetUp();
  window = std::make_unique<life_test::TestWindow>(64, 48);
  UseWindow(window.get());
  Use(TestModes());
}

void VertexTest::TearDown() {
  Drop();
  Calls().clear();
  Handed().clear();
  LifeTest::TearDown();
}

void VertexTest::Use(const GlModes &modes) {
  Drop();
  gc = Create(modes);
  ASSERT_NE(gc, nullptr);
  ASSERT_TRUE(life_test::Bind(gc));
  Ready();
}

void VertexTest::Validate() {
  if (gc->beginMode == __GL_VALIDATE_PENDING) {
    gc->procs.validate(gc);
    gc->beginMode = __GL_NOT_IN_BEGIN;
  }
}

void VertexTest::Ready() {
  Validate();
  for (auto &check : gc->procs.clipCheck) {
    if (check == __glI386ClipCheckFrustum || check == __glK3DClipCheckFrustum)
      check = __glClipCheckFrustum;
  }
  gc->procs.primVertex = KeepVertex;
  Calls().clear();
  Handed().clear();
}

void VertexTest::Drop() {
  if (!gc) return;
  if (__glGetTLSCXValue() == gc) {
    gc->renderMode = GL_RENDER;
    gc->beginMode = __GL_NOT_IN_BEGIN;
    EXPECT_TRUE(life_test::Release(gc));
  }
  Destroy(gc);
  gc = nullptr;
}

}  // namespace vertex_test
