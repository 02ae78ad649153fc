#include "tests/geometry/vertex/vertex_fixture.h"

#include "core/current.h"
#include "geometry/s_clipcheck.h"
#include "tests/support/counting_imports.h"

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

void VertexTest::TearDown() {
  BoundContextTest::TearDown();
  Calls().clear();
  Handed().clear();
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

}  // namespace vertex_test
