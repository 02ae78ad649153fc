// Evaluator maps in lists: the points copied without their strides, doubles
// rounded to float, replayed through glMap1f and glMap2f, and the checks
// compiled as error ops.
#include <string.h>

#include <functional>
#include <vector>

#include "core/gl_api.h"
#include "core/gl_get_enums.h"
#include "dlist/dl_op.h"
#include "dlist/dl_opcodes.h"
#include "tests/dlist/fixture/dlist_fixture.h"
#include "tests/support/call_log.h"

namespace dlist_test {
namespace {

// Values that do not survive as floats unless rounded.
std::vector<GLdouble> Points(int n) {
  std::vector<GLdouble> p(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) p[size_t(i)] = 0.1 * (i + 1) + 1e-9 * i;
  return p;
}
std::vector<GLfloat> AsFloats(const std::vector<GLdouble> &d) {
  return std::vector<GLfloat>(d.begin(), d.end());
}

class MapOps : public DlistTest {
 protected:
  std::vector<GLfloat> Coefficients(GLenum target, size_t n) {
    std::vector<GLfloat> v(n, -1.0f);
    glGetMapfv(target, GL_COEFF, v.data());
    return v;
  }
  std::vector<GLfloat> Domain(GLenum target) {
    std::vector<GLfloat> v(4, -1.0f);
    glGetMapfv(target, GL_DOMAIN, v.data());
    return v;
  }
  void Reset(GLenum target) {
    const GLfloat zeros[64] = {};
    if (target == GL_MAP1_VERTEX_3)
      glMap1f(target, 0, 1, 3, 1, zeros);
    else
      glMap2f(target, 0, 1, 3, 1, 0, 1, 3, 1, zeros);
  }
};

// Each map defined immediately and from a list gives the same map; the
// strides of the client points play no part in the list.
TEST_F(MapOps, ListsDefineTheMapTheImmediateCallDefines) {
  // 1D: order 4, stride 5 (two values skipped); 2D: 3 x 2, u stride 13,
  // v stride 4.
  const std::vector<GLdouble> d = Points(64);
  const std::vector<GLfloat> f = AsFloats(d);
  struct Case {
    const char *what;
    GLenum target;
    size_t coefficients;
    std::function<void()> call;
  } cases[] = {
      {"glMap1d", GL_MAP1_VERTEX_3, 12, [&] { glMap1d(GL_MAP1_VERTEX_3, -1.5, 2.25, 5, 4, d.data()); }},
      {"glMap1f", GL_MAP1_VERTEX_3, 12, [&] { glMap1f(GL_MAP1_VERTEX_3, -1.5f, 2.25f, 5, 4, f.data()); }},
      {"glMap2d", GL_MAP2_VERTEX_3, 18,
       [&] { glMap2d(GL_MAP2_VERTEX_3, 0.1, 0.7, 13, 3, -2.0, 3.5, 4, 2, d.data()); }},
      {"glMap2f", GL_MAP2_VERTEX_3, 18,
       [&] { glMap2f(GL_MAP2_VERTEX_3, 0.1f, 0.7f, 13, 3, -2.0f, 3.5f, 4, 2, f.data()); }},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    c.call();
    ASSERT_EQ(TakeError(), GLenum(GL_NO_ERROR));
    const std::vector<GLfloat> immediate = Coefficients(c.target, c.coefficients);
    const std::vector<GLfloat> domain = Domain(c.target);
    Reset(c.target);
    glNewList(1, GL_COMPILE);
    c.call();
    glEndList();
    EXPECT_NE(Coefficients(c.target, c.coefficients), immediate) << "not while compiling";
    glCallList(1);
    EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));
    EXPECT_EQ(Coefficients(c.target, c.coefficients), immediate);
    EXPECT_EQ(Domain(c.target), domain);
  }
}

TEST_F(MapOps, DoubleMapsReplayThroughTheFloatEntriesWithDensePoints) {
  const std::vector<GLdouble> d = Points(64);
  glNewList(1, GL_COMPILE);
  glMap1d(GL_MAP1_VERTEX_3, -1.5, 2.25, 5, 4, d.data());
  glMap2d(GL_MAP2_VERTEX_3, 0.1, 0.7, 13, 3, -2.0, 3.5, 4, 2, d.data());
  std::vector<int> codes;
  for (const GlDlistOp *op = gc->dlist.listRec.first; op; op = op->next) codes.push_back(op->opcode);
  EXPECT_EQ(codes, (std::vector<int>{GL_DLOP_Map1d, GL_DLOP_Map2d}));
  glEndList();

  const GlDispatchState saved = gc->dispatch;
  gc->dispatch = kLoggingDispatch;
  TheCallLog().clear();
  GlDlist *list = BoundList(gc, 1);
  list->execute(gc, list);
  gc->dispatch = saved;
  const std::vector<LoggedCall> calls = TheCallLog();
  ASSERT_EQ(calls.size(), 2u);

  EXPECT_EQ(calls[0].slot, GL_SLOT_Map1f);
  EXPECT_EQ(calls[0].bits[3], 3u) << "stride k";
  EXPECT_EQ(calls[0].bits[4], 4u);
  const GLfloat *p1 = reinterpret_cast<const GLfloat *>(uintptr_t(calls[0].bits[5]));
  for (int i = 0; i < 4; ++i)
    for (int c = 0; c < 3; ++c) EXPECT_EQ(p1[3 * i + c], GLfloat(d[size_t(5 * i + c)]));

  EXPECT_EQ(calls[1].slot, GL_SLOT_Map2f);
  EXPECT_EQ(calls[1].bits[3], 6u) << "u stride vorder x k";
  EXPECT_EQ(calls[1].bits[4], 3u);
  EXPECT_EQ(calls[1].bits[7], 3u) << "v stride k";
  EXPECT_EQ(calls[1].bits[8], 2u);
  const GLfloat *p2 = reinterpret_cast<const GLfloat *>(uintptr_t(calls[1].bits[9]));
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 2; ++j)
      for (int c = 0; c < 3; ++c)
        EXPECT_EQ(p2[(2 * i + j) * 3 + c], GLfloat(d[size_t(13 * i + 4 * j + c)]));
}

TEST_F(MapOps, RefusedArgumentsCompileErrorOps) {
  const std::vector<GLdouble> d = Points(64);
  const std::vector<GLfloat> f = AsFloats(d);
  const GLint max = gc->constants.maxEvalOrder;
  struct Case {
    const char *what;
    std::function<void()> call;
    int16_t op;
  } cases[] = {
      {"1D unknown target", [&] { glMap1f(0x1234, 0, 1, 3, 2, f.data()); }, GL_DLOP_InvalidEnum},
      {"1D equal ends", [&] { glMap1d(GL_MAP1_VERTEX_3, 2, 2, 3, 2, d.data()); }, GL_DLOP_InvalidValue},
      {"1D ends equal as floats",
       [&] { glMap1d(GL_MAP1_VERTEX_3, 1.0, 1.0 + 1e-12, 3, 2, d.data()); }, GL_DLOP_InvalidValue},
      {"1D stride below k", [&] { glMap1f(GL_MAP1_VERTEX_3, 0, 1, 2, 2, f.data()); }, GL_DLOP_InvalidValue},
      {"1D order 0", [&] { glMap1f(GL_MAP1_VERTEX_3, 0, 1, 3, 0, f.data()); }, GL_DLOP_InvalidValue},
      {"1D order past the limit",
       [&] { glMap1f(GL_MAP1_VERTEX_3, 0, 1, 3, max + 1, f.data()); }, GL_DLOP_InvalidValue},
      {"2D unknown target", [&] { glMap2f(0x1234, 0, 1, 3, 2, 0, 1, 3, 2, f.data()); }, GL_DLOP_InvalidEnum},
      {"2D equal u ends", [&] { glMap2f(GL_MAP2_VERTEX_3, 1, 1, 6, 2, 0, 1, 3, 2, f.data()); }, GL_DLOP_InvalidValue},
      {"2D equal v ends", [&] { glMap2d(GL_MAP2_VERTEX_3, 0, 1, 6, 2, 4, 4, 3, 2, d.data()); }, GL_DLOP_InvalidValue},
      {"2D u stride below k", [&] { glMap2f(GL_MAP2_VERTEX_3, 0, 1, 2, 2, 0, 1, 3, 2, f.data()); }, GL_DLOP_InvalidValue},
      {"2D v order past the limit",
       [&] { glMap2f(GL_MAP2_VERTEX_3, 0, 1, 6, 2, 0, 1, 3, max + 1, f.data()); }, GL_DLOP_InvalidValue},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    c.call();
    const GLenum immediate = TakeError();
    EXPECT_NE(immediate, GLenum(GL_NO_ERROR));
    glNewList(1, GL_COMPILE);
    c.call();
    ASSERT_NE(gc->dlist.listRec.first, nullptr);
    EXPECT_EQ(gc->dlist.listRec.first->opcode, c.op);
    glEndList();
    EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));
    glCallList(1);
    EXPECT_EQ(TakeError(), immediate);
  }
}

TEST_F(MapOps, NullPointsAreNotRead) {
  glNewList(1, GL_COMPILE);
  glMap1f(GL_MAP1_VERTEX_3, 0, 1, 3, 2, nullptr);
  glMap2d(GL_MAP2_VERTEX_3, 0, 1, 6, 2, 0, 1, 3, 2, nullptr);
  EXPECT_EQ(gc->dlist.listRec.first, nullptr);
  glEndList();
  EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));
}

}  // namespace
}  // namespace dlist_test
