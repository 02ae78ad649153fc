// Feedback and selection with the cache on against the same blocks with it
// off: the same records (a polygon record's vertices up to a rotation), the
// same line-reset tokens, and the same hit records.
#include <gtest/gtest.h>

#include <math.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/geometry/vcache/vcache_fixture.h"
#include "tests/support/feedback_records.h"

namespace vcache_test {
namespace {

constexpr GLsizei kBufferSize = 1 << 15;
constexpr size_t kVertexSize = 12;  // GL_4D_COLOR_TEXTURE in RGBA

// The fixture's Record is its call log: feedback records take another name.
using FeedbackRecord = feedback_records::Record;
using feedback_records::Canonical;
using feedback_records::SameRecords;
using feedback_records::VertexSet;

// The outline of each triangle starts at the vertex its path began the
// triangle with: the same records in any order, and as many reset tokens.
testing::AssertionResult SameOutlines(const std::vector<FeedbackRecord> &want,
                                      const std::vector<FeedbackRecord> &got) {
  std::vector<std::string> w, g;
  int wantResets = 0, gotResets = 0;
  for (const FeedbackRecord &r : want) {
    w.push_back(Canonical(r));
    wantResets += r.token == GL_LINE_RESET_TOKEN;
  }
  for (const FeedbackRecord &r : got) {
    g.push_back(Canonical(r));
    gotResets += r.token == GL_LINE_RESET_TOKEN;
  }
  std::sort(w.begin(), w.end());
  std::sort(g.begin(), g.end());
  if (w != g) return testing::AssertionFailure() << g.size() << " records, want " << w.size();
  if (wantResets != gotResets)
    return testing::AssertionFailure() << gotResets << " reset tokens, want " << wantResets;
  return testing::AssertionSuccess();
}

class CacheFeedback : public VcacheTest {
 protected:
  std::vector<GLfloat> buffer = std::vector<GLfloat>(kBufferSize);

  std::vector<FeedbackRecord> Feedback(bool cache, const std::function<void()> &draw) {
    Cache(cache);
    std::fill(buffer.begin(), buffer.end(), -7.0f);
    glFeedbackBuffer(kBufferSize, GL_4D_COLOR_TEXTURE, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const GLint written = glRenderMode(GL_RENDER);
    EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));
    EXPECT_GT(written, 0);
    return feedback_records::Parse(buffer, written, kVertexSize);
  }
};

// Texturing is off, yet feedback reports each vertex's own texture
// coordinates: the cache must save them too.
TEST_F(CacheFeedback, EveryModeReportsTheSameRecords) {
  Attributes a;
  a.texture = true;
  a.normal = true;
  for (GLenum polygonMode : {GL_FILL, GL_LINE}) {
    glPolygonMode(GL_FRONT_AND_BACK, polygonMode);
    for (GLenum mode = GL_POINTS; mode <= GL_POLYGON; ++mode) {
      for (int count : {5, 36, 40, 80, 108}) {
        SCOPED_TRACE(testing::Message() << kModeNames[mode] << " " << count
                                        << (polygonMode == GL_LINE ? " outlined" : ""));
        auto draw = [&] { Block(mode, count, 0.8f, a); };
        const std::vector<FeedbackRecord> off = Feedback(false, draw);
        const std::vector<FeedbackRecord> on = Feedback(true, draw);
        if (polygonMode == GL_LINE && mode >= GL_TRIANGLES)
          EXPECT_TRUE(SameOutlines(off, on));
        else
          EXPECT_TRUE(SameRecords(off, on));
      }
    }
  }
}

// Lit colours, with material and colour-material changes inside the
// blocks: earlier vertices keep the old material.
TEST_F(CacheFeedback, LitBlocksReportTheSameColours) {
  glEnable(GL_LIGHTING);
  glEnable(GL_LIGHT0);
  glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
  Attributes a;
  a.normal = true;
  a.color = false;
  for (bool colorMaterial : {false, true}) {
    if (colorMaterial) glEnable(GL_COLOR_MATERIAL);
    for (GLenum mode = GL_POINTS; mode <= GL_POLYGON; ++mode) {
      for (int count : {9, 40, 75}) {
        SCOPED_TRACE(testing::Message() << kModeNames[mode] << " " << count
                                        << (colorMaterial ? " colour material" : " material"));
        auto draw = [&] { MaterialChangingBlock(mode, count, colorMaterial, a); };
        const std::vector<FeedbackRecord> off = Feedback(false, draw);
        const std::vector<FeedbackRecord> on = Feedback(true, draw);
        EXPECT_TRUE(SameRecords(off, on));
      }
    }
  }
}

// A strip whose first triangles all lie past the right plane: they are
// dropped unlit, and the vertices a full cache carries on may be such. A
// material change then must light them with the material they were given
// under, as the immediate road does. The change comes at each place around
// where the cache fills.
TEST_F(CacheFeedback, AMaterialChangeLightsDroppedCarriedVerticesWithTheOldMaterial) {
  glEnable(GL_LIGHTING);
  glEnable(GL_LIGHT0);
  for (int change = 30; change <= 46; ++change) {
    SCOPED_TRACE(testing::Message() << "change at " << change);
    auto draw = [&] {
      const GLfloat grey[] = {0.8f, 0.8f, 0.8f, 1.0f}, red[] = {1.0f, 0.1f, 0.1f, 1.0f};
      glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, grey);
      glBegin(GL_TRIANGLE_STRIP);
      for (int id = 0; id < 60; ++id) {
        if (id == change) glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, red);
        const double t = 2 * M_PI * id / 101.0;
        glNormal3f(GLfloat(cos(t)), GLfloat(sin(t)), 0.5f);
        // Outside until just before the change, then inside.
        const GLfloat x = id < change - 1 ? 1.5f + 0.01f * GLfloat(id) : -0.6f + 0.02f * GLfloat(id);
        glVertex3f(x, id % 2 ? 0.5f : -0.5f, 0.0f);
      }
      glEnd();
    };
    const std::vector<FeedbackRecord> off = Feedback(false, draw);
    // The clipped triangle's polygon is fanned from the vertex each road
    // starts it at: the vertices with their colours are compared.
    EXPECT_EQ(VertexSet(Feedback(true, draw)), VertexSet(Feedback(false, draw)));
  }
}

TEST_F(CacheFeedback, SelectionGivesTheSameHits) {
  for (GLenum mode = GL_POINTS; mode <= GL_POLYGON; ++mode) {
    SCOPED_TRACE(kModeNames[mode]);
    std::vector<GLuint> hits[2];
    GLint counts[2];
    for (bool cache : {false, true}) {
      Cache(cache);
      std::vector<GLuint> &h = hits[cache];
      h.assign(256, 0xDEADu);
      glSelectBuffer(GLsizei(h.size()), h.data());
      glRenderMode(GL_SELECT);
      glInitNames();
      glPushName(1);
      Block(mode, 40, 0.9f);
      glLoadName(2);
      Block(mode, 75, 0.5f);
      counts[cache] = glRenderMode(GL_RENDER);
      EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));
    }
    EXPECT_EQ(counts[0], 2);
    EXPECT_EQ(counts[1], counts[0]);
    EXPECT_EQ(hits[1], hits[0]);
  }
}

}  // namespace
}  // namespace vcache_test
