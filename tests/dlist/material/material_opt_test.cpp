// The material optimiser: which runs become FastMaterial ops and what they
// hold; lit colours from an optimised list against the same calls made
// immediately; the specular tables' references; failures while optimising.
#include <gtest/gtest.h>

#include <string.h>

#include <functional>
#include <vector>

#include "core/gl_api.h"
#include "dlist/dl_op.h"
#include "dlist/dl_opcodes.h"
#include "dlist/dl_optimize.h"
#include "geometry/s_lcache.h"
#include "tests/dlist/fixture/dlist_fixture.h"
#include "tests/support/counting_imports.h"

namespace dlist_test {
namespace {

struct ChainOp {
  int16_t opcode;
  std::vector<uint32_t> words;
};

std::vector<ChainOp> gChain;
std::function<void(GlContext *)> gBeforeOptimising;

// Runs the real optimiser, then keeps what the chain holds.
void CapturingOptimizer(GlContext *gc, GlDlistRecord *list) {
  if (gBeforeOptimising) gBeforeOptimising(gc);
  __glGenericDlistOptimizer(gc, list);
  gChain.clear();
  for (const GlDlistOp *op = list->first; op; op = op->next)
    gChain.push_back({op->opcode, std::vector<uint32_t>(op->data, op->data + op->size / 4)});
}

uint32_t Bits(GLfloat f) {
  uint32_t b;
  memcpy(&b, &f, 4);
  return b;
}

GlSpecLUT *CachedTable(GlContext *gc, GLfloat exponent) {
  const GlSpecLUTCache *cache = gc->light.lutCache;
  for (int32_t i = 0; cache && i < cache->count; ++i)
    if (cache->entries[i].exponent == exponent) return cache->entries[i].table;
  return nullptr;
}

class MaterialOptTest : public DlistTest {
 protected:
  void Bound() override {
    DlistTest::Bound();
    gc->dlist.optimizer = CapturingOptimizer;
  }
  void TearDown() override {
    gBeforeOptimising = nullptr;
    CountingImports::failAllocation(0);
    DlistTest::TearDown();
  }
  std::vector<ChainOp> Optimised(const std::function<void()> &calls, GLuint name = 1) {
    glNewList(name, GL_COMPILE);
    calls();
    glEndList();
    return gChain;
  }
};

const GLfloat kRed[4] = {1.0f, 0.0f, 0.0f, 1.0f};
const GLfloat kGrey[4] = {0.5f, 0.5f, 0.5f, 0.25f};

struct Shape {
  const char *what;
  std::function<void()> calls;
  std::vector<ChainOp> chain;
};

TEST_F(MaterialOptTest, RunsBecomeOneOpEach) {
  const uint32_t r[4] = {Bits(1), 0, 0, Bits(1)};
  const uint32_t g[4] = {Bits(0.5f), Bits(0.5f), Bits(0.5f), Bits(0.25f)};
  const Shape shapes[] = {
      {"both faces: a front and a back entry",
       [] { glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, kRed); },
       {{GL_DLOP_FastMaterial,
         {GL_FRONT, 0x2, r[0], r[1], r[2], r[3], GL_BACK, 0x2, r[0], r[1], r[2], r[3], 0}}}},
      {"ambient then diffuse: one entry of mask 0x3",
       [] {
         glMaterialfv(GL_FRONT, GL_AMBIENT, kRed);
         glMaterialfv(GL_FRONT, GL_DIFFUSE, kGrey);
       },
       {{GL_DLOP_FastMaterial,
         {GL_FRONT, 0x3, r[0], r[1], r[2], r[3], g[0], g[1], g[2], g[3], 0}}}},
      {"a later change of the same parameter wins; the back only",
       [] {
         glMaterialfv(GL_BACK, GL_EMISSION, kRed);
         glMaterialfv(GL_BACK, GL_EMISSION, kGrey);
       },
       {{GL_DLOP_FastMaterial, {GL_BACK, 0x8, g[0], g[1], g[2], g[3], 0}}}},
      {"colour indexes in the material's slots",
       [] {
         const GLfloat ci[3] = {1, 2, 3};
         glMaterialfv(GL_FRONT, GL_COLOR_INDEXES, ci);
       },
       {{GL_DLOP_FastMaterial, {GL_FRONT, 0x20, Bits(1), Bits(3), Bits(2), 0}}}},
      {"a vertex between runs: two ops",
       [] {
         glMaterialfv(GL_FRONT, GL_AMBIENT, kRed);
         glVertex2f(0, 0);
         glMaterialfv(GL_FRONT, GL_AMBIENT, kRed);
       },
       {{GL_DLOP_FastMaterial, {GL_FRONT, 0x1, r[0], r[1], r[2], r[3], 0}},
        {GL_DLOP_Vertex2fv, {0, 0}},
        {GL_DLOP_FastMaterial, {GL_FRONT, 0x1, r[0], r[1], r[2], r[3], 0}}}},
  };
  for (const Shape &s : shapes) {
    SCOPED_TRACE(s.what);
    const std::vector<ChainOp> chain = Optimised(s.calls);
    ASSERT_EQ(chain.size(), s.chain.size());
    for (size_t i = 0; i < chain.size(); ++i) {
      EXPECT_EQ(chain[i].opcode, s.chain[i].opcode);
      EXPECT_EQ(chain[i].words, s.chain[i].words);
    }
  }
}

TEST_F(MaterialOptTest, IntegerValuesAreConvertedAsGlMaterialivDoes) {
  const GLint v[4] = {0x7FFFFFFF, 0, -0x7FFFFFFF - 1, 0x40000000};
  glMaterialiv(GL_FRONT, GL_AMBIENT, v);
  GLfloat immediate[4];
  memcpy(immediate, &gc->state.light.front.ambient, sizeof immediate);
  const std::vector<ChainOp> chain = Optimised([&] { glMaterialiv(GL_FRONT, GL_AMBIENT, v); });
  ASSERT_EQ(chain.size(), 1u);
  ASSERT_EQ(chain[0].words.size(), 7u);
  EXPECT_EQ(memcmp(&chain[0].words[2], immediate, sizeof immediate), 0);
}

TEST_F(MaterialOptTest, AListWithoutTheMaterialFlagIsNotWalked) {
  const std::vector<ChainOp> chain = Optimised([this] {
    glMaterialfv(GL_FRONT, GL_AMBIENT, kRed);
    gc->dlist.listRec.contents &= ~0x100u;
  });
  ASSERT_EQ(chain.size(), 1u);
  EXPECT_EQ(chain[0].opcode, GL_DLOP_Materialfv);
}

TEST_F(MaterialOptTest, SpecularTableReferencesBalance) {
  const GLfloat exponent = 37.0f;
  ASSERT_EQ(CachedTable(gc, exponent), nullptr);
  Optimised([&] { glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, exponent); });
  GlSpecLUT *table = CachedTable(gc, exponent);
  ASSERT_NE(table, nullptr);
  ASSERT_EQ(gChain.size(), 1u);
  EXPECT_EQ(gChain[0].words[3], reinterpret_cast<uintptr_t>(table));  // front entry
  EXPECT_EQ(table->refcount, 3);  // the cache and the two entries
  glCallList(1);
  EXPECT_EQ(table->refcount, 5);  // and both faces' lighting records
  EXPECT_EQ(gc->light.materialCache[0].specLut, table);
  EXPECT_EQ(gc->state.light.back.specularExponent, exponent);
  glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 5.0f);
  EXPECT_EQ(table->refcount, 3);
  glDeleteLists(1, 1);
  EXPECT_EQ(table->refcount, 1);  // the cache alone
  EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));
}

TEST_F(MaterialOptTest, AFailedOpAllocationLeavesThePlainOpsAndNoTable) {
  gBeforeOptimising = [](GlContext *gc) {
    gc->procs.arenaAlloc = [](GlArena *, size_t) -> void * { return nullptr; };
  };
  void *(*arenaAlloc)(GlArena *, size_t) = gc->procs.arenaAlloc;
  Optimised([] { glMaterialf(GL_FRONT, GL_SHININESS, 41.0f); });
  gc->procs.arenaAlloc = arenaAlloc;
  ASSERT_EQ(gChain.size(), 1u);
  EXPECT_EQ(gChain[0].opcode, GL_DLOP_Materialfv);
  EXPECT_EQ(CachedTable(gc, 41.0f), nullptr);
  EXPECT_EQ(TakeError(), GLenum(GL_OUT_OF_MEMORY));
  glCallList(1);  // the plain op still works
  EXPECT_EQ(gc->state.light.front.specularExponent, 41.0f);
}

TEST_F(MaterialOptTest, AFailedTableGivesBackTheTablesAlreadyBuilt) {
  glMaterialf(GL_FRONT, GL_SHININESS, 37.0f);  // cached: the front table costs nothing
  GlSpecLUT *front = CachedTable(gc, 37.0f);
  ASSERT_NE(front, nullptr);
  const int32_t held = front->refcount;
  gBeforeOptimising = [](GlContext *) { CountingImports::failAllocation(1); };
  Optimised([] {
    glMaterialf(GL_FRONT, GL_SHININESS, 37.0f);
    glMaterialf(GL_BACK, GL_SHININESS, 43.0f);
  });
  CountingImports::failAllocation(0);
  ASSERT_EQ(gChain.size(), 2u);
  EXPECT_EQ(gChain[0].opcode, GL_DLOP_Materialfv);
  EXPECT_EQ(gChain[1].opcode, GL_DLOP_Materialfv);
  EXPECT_EQ(front->refcount, held);
  EXPECT_EQ(CachedTable(gc, 43.0f), nullptr);
}

// ---- Lit colours through feedback: optimised list against immediate ----

struct Scene {
  const char *what;
  bool rgba;
  std::function<void()> setup;      // immediate, before either run
  std::function<void()> materials;  // compiled or immediate
};

// A fixed starting material, so both runs begin alike.
void StartMaterial(bool rgba) {
  const GLfloat black[4] = {0, 0, 0, 1};
  glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, kGrey);
  glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, kGrey);
  glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, black);
  glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, black);
  glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 0.0f);
  if (!rgba) {
    const GLfloat ci[3] = {0, 0, 0};
    glMaterialfv(GL_FRONT_AND_BACK, GL_COLOR_INDEXES, ci);
  }
  glColor4f(0.2f, 0.4f, 0.6f, 0.8f);
  glIndexf(0);
}

void Triangles(const std::function<void()> &materials) {
  materials();
  glBegin(GL_TRIANGLES);
  glNormal3f(0.0f, 0.6f, 0.8f);
  glVertex3f(-0.5f, -0.5f, 0.0f);
  glVertex3f(0.5f, -0.5f, 0.0f);
  // A change between glBegin and glEnd lights the vertices given so far
  // with the material they were given under.
  const GLfloat blue[4] = {0.1f, 0.2f, 0.9f, 1.0f};
  glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, blue);
  glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 12.0f);
  glVertex3f(0.0f, 0.5f, 0.0f);
  // Clockwise: a back face.
  glVertex3f(-0.5f, 0.5f, 0.0f);
  glVertex3f(0.5f, 0.5f, 0.0f);
  glVertex3f(0.0f, -0.5f, 0.0f);
  glEnd();
}

class MaterialColoursTest : public MaterialOptTest {
 protected:
  std::vector<GLfloat> Feedback(const Scene &s, bool list) {
    StartMaterial(s.rgba);
    if (list) {
      glNewList(1, GL_COMPILE);
      Triangles(s.materials);
      glEndList();
    }
    std::vector<GLfloat> buffer(4096, -1.0f);
    glFeedbackBuffer(GLsizei(buffer.size()), GL_3D_COLOR, buffer.data());
    glRenderMode(GL_FEEDBACK);
    if (list)
      glCallList(1);
    else
      Triangles(s.materials);
    const GLint n = glRenderMode(GL_RENDER);
    EXPECT_GT(n, 0);
    buffer.resize(size_t(n > 0 ? n : 0));
    return buffer;
  }
};

TEST_F(MaterialColoursTest, OptimisedListsLightAsImmediateCalls) {
  const GLint ints[4] = {0x20000000, 0x40000000, 0x7FFFFFFF, 0x7FFFFFFF};
  const Scene scenes[] = {
      {"float and integer materials", true, [] {},
       [&] {
         glMaterialfv(GL_FRONT, GL_SPECULAR, kRed);
         glMaterialiv(GL_FRONT_AND_BACK, GL_AMBIENT, ints);
         glMaterialf(GL_FRONT, GL_SHININESS, 30.0f);
         glMaterialfv(GL_BACK, GL_EMISSION, kGrey);
       }},
      {"two-sided lighting", true,
       [] { glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, 1); },
       [&] {
         glMaterialfv(GL_BACK, GL_DIFFUSE, kRed);
         glMaterialf(GL_BACK, GL_SHININESS, 64.0f);
         glMaterialfv(GL_FRONT, GL_EMISSION, kGrey);
       }},
      {"colour material follows the colour", true,
       [] {
         glColorMaterial(GL_FRONT_AND_BACK, GL_DIFFUSE);
         glEnable(GL_COLOR_MATERIAL);
       },
       [&] {
         glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, kRed);
         glMaterialfv(GL_FRONT, GL_AMBIENT, kRed);
       }},
      {"colour indexes", false, [] {},
       [&] {
         const GLfloat ci[3] = {8, 40, 200};
         glMaterialfv(GL_FRONT_AND_BACK, GL_COLOR_INDEXES, ci);
         glMaterialf(GL_FRONT, GL_SHININESS, 20.0f);
       }},
  };
  for (const Scene &s : scenes) {
    SCOPED_TRACE(s.what);
    if (!s.rgba) Use(TestModes(false));
    const GLfloat white[4] = {1, 1, 1, 1};
    const GLfloat position[4] = {0.3f, 0.5f, 1.0f, 0.0f};
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glLightfv(GL_LIGHT0, GL_SPECULAR, white);
    glLightfv(GL_LIGHT0, GL_POSITION, position);
    s.setup();
    const std::vector<GLfloat> immediate = Feedback(s, false);
    const std::vector<GLfloat> listed = Feedback(s, true);
    ASSERT_EQ(listed.size(), immediate.size());
    EXPECT_EQ(memcmp(listed.data(), immediate.data(), 4 * listed.size()), 0);
    bool folded = false;
    for (const ChainOp &op : gChain) folded |= op.opcode == GL_DLOP_FastMaterial;
    EXPECT_TRUE(folded);
    EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));
    glDisable(GL_COLOR_MATERIAL);
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, 0);
  }
}

}  // namespace
}  // namespace dlist_test
