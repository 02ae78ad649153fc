// Array drawing against glBegin / glArrayElement / glEnd through feedback:
// the same records, a polygon's vertices up to a rotation (the two paths
// start the same triangle at different vertices); clipped triangles by the
// vertices they report (the clipper's fan starts where the cut polygon
// does); outlines and corners in any order. Every attribute is reported,
// texture coordinates included while texturing is off, and those of
// clip-made vertices are interpolated like the rest.
#include <gtest/gtest.h>

#include <math.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "core/gl_api.h"
#include "tests/raster/scene/scene_fixture.h"
#include "tests/support/feedback_records.h"

namespace scene_test {
namespace {

using feedback_records::Canonical;
using feedback_records::Parse;
using feedback_records::Record;
using feedback_records::SameRecords;
using feedback_records::Text;
using feedback_records::VertexSet;

constexpr int kElements = 60;
constexpr GLsizei kBufferSize = 1 << 16;

// Every element's texture coordinates are (s, s + 1, s + 2, s + 3), and so
// are those of any vertex interpolated between elements.
testing::AssertionResult TexturesInterpolated(const std::vector<Record> &records,
                                              size_t textureAt) {
  for (const Record &r : records)
    for (const std::vector<GLfloat> &v : r.vertices) {
      const GLfloat *tex = &v[textureAt];
      for (int k = 1; k < 4; ++k)
        if (fabs(tex[k] - tex[0] - GLfloat(k)) > 1e-3f)
          return testing::AssertionFailure() << "texture (" << tex[0] << ", " << tex[1] << ", "
                                             << tex[2] << ", " << tex[3] << ") in " << Text(r);
    }
  return testing::AssertionSuccess();
}

std::vector<std::string> Sorted(std::vector<std::string> v) {
  std::sort(v.begin(), v.end());
  return v;
}

// The same records in any order: outlines and corners of triangles, which
// the two paths start at different vertices.
std::vector<std::string> RecordSet(const std::vector<Record> &records) {
  std::vector<std::string> out;
  for (const Record &r : records) out.push_back(Canonical(r));
  return Sorted(out);
}

enum class Match { kInOrder, kAnyOrder, kVertices };

testing::AssertionResult Matches(const std::vector<Record> &want, const std::vector<Record> &got,
                                 Match match) {
  switch (match) {
    case Match::kInOrder: return SameRecords(want, got);
    case Match::kAnyOrder:
      if (RecordSet(want) == RecordSet(got)) return testing::AssertionSuccess();
      break;
    case Match::kVertices:
      // A triangle clipped into a polygon is reported as a fan from the
      // polygon's first vertex, which the paths choose apart.
      if (VertexSet(want) == VertexSet(got)) return testing::AssertionSuccess();
      break;
  }
  return testing::AssertionFailure() << got.size() << " records, want " << want.size()
                                     << (got.empty() ? "" : ", first " + Text(got[0]))
                                     << (want.empty() ? "" : "\n  want first " + Text(want[0]));
}

class FeedbackCompare : public SceneTest {
 protected:
  std::vector<GLfloat> position, color, index, texture;
  std::vector<GLfloat> buffer = std::vector<GLfloat>(kBufferSize);
  size_t records = 0;  // the immediate path reported

  void Arrays(double radius) {
    position.assign(4 * kElements, 0);
    color.assign(4 * kElements, 0);
    index.assign(kElements, 0);
    texture.assign(4 * kElements, 0);
    for (int i = 0; i < kElements; ++i) {
      const double a = 2 * M_PI * i / kElements;
      const double r = radius * (i % 3 == 1 ? 0.6 : 1.0);
      position[4 * i] = GLfloat(32 + 1.3 * r * cos(a));
      position[4 * i + 1] = GLfloat(24 + r * sin(a));
      position[4 * i + 2] = GLfloat(0.5 + radius / 40 * sin(2 * a));  // past 0 and 1 at 28
      position[4 * i + 3] = 1;
      for (int c = 0; c < 4; ++c) {
        color[4 * i + c] = GLfloat(0.5 + 0.4 * sin(a * (c + 1)));
        texture[4 * i + c] = GLfloat(i * 0.25 + c);
      }
      index[i] = GLfloat(i % 200);
    }
    glVertexPointer(4, GL_FLOAT, 0, position.data());
    glColorPointer(4, GL_FLOAT, 0, color.data());
    glIndexPointer(GL_FLOAT, 0, index.data());
    glTexCoordPointer(4, GL_FLOAT, 0, texture.data());
    for (GLenum a : {GL_VERTEX_ARRAY, GL_COLOR_ARRAY, GL_INDEX_ARRAY, GL_TEXTURE_COORD_ARRAY})
      glEnableClientState(a);
  }

  template <typename Draw>
  std::vector<Record> Feedback(Draw draw) {
    std::fill(buffer.begin(), buffer.end(), -7.0f);
    glFeedbackBuffer(kBufferSize, GL_4D_COLOR_TEXTURE, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const GLint written = glRenderMode(GL_RENDER);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    EXPECT_GE(written, 0);
    return Parse(buffer, written, format.rgba ? 12 : 9);
  }

  void Compare(GLenum mode, GLint first, GLsizei count, Match match = Match::kInOrder) {
    SCOPED_TRACE(testing::Message() << format.name << ", mode " << mode << " first " << first
                                    << " count " << count);
    const std::vector<Record> want = Feedback([&] {
      glBegin(mode);
      for (GLint i = 0; i < count; ++i) glArrayElement(first + i);
      glEnd();
    });
    records += want.size();
    EXPECT_TRUE(TexturesInterpolated(want, format.rgba ? 8 : 5));
    EXPECT_TRUE(Matches(want, Feedback([&] { glDrawArrays(mode, first, count); }), match));
    std::vector<GLuint> list;
    for (GLint i = 0; i < count; ++i) list.push_back(GLuint(first + i));
    EXPECT_TRUE(Matches(
        want, Feedback([&] { glDrawElements(mode, count, GL_UNSIGNED_INT, list.data()); }),
        match));
  }
};

const GLsizei kCounts[] = {0, 1, 2, 3, 4, 5, 6, 7, 12, 37, 38, 39};

TEST_F(FeedbackCompare, ArraysReportWhatTheImmediateEntriesReport) {
  for (const ColorFormat &f : {kRgbFormats[6], kIndexFormats[0]}) {
    if (!Open(f)) continue;
    for (double radius : {20.0, 28.0}) {  // inside the window, and clipped
      Arrays(radius);
      for (GLenum shade : {GL_SMOOTH, GL_FLAT}) {
        glShadeModel(shade);
        for (GLenum mode = GL_POINTS; mode <= GL_POLYGON; ++mode) {
          // A clipped polygon is clipped whole by the immediate path and
          // triangle by triangle by the arrays: those compare in pixels.
          if (mode == GL_POLYGON && radius > 20) continue;
          const Match match =
              radius > 20 && mode >= GL_TRIANGLES ? Match::kVertices : Match::kInOrder;
          for (GLsizei count : kCounts) Compare(mode, 2, count, match);
        }
      }
    }
  }
  EXPECT_GT(records, 1000u);
}

// Selection: the same hits, with the same depth range, whether the
// primitives reach the clipper or not.
TEST_F(FeedbackCompare, ArraysSelectWhatTheImmediateEntriesSelect) {
  if (!Open(kRgbFormats[6])) return;
  auto hits = [&](auto draw) {
    std::vector<GLuint> h(256, 0xDEADu);
    glSelectBuffer(GLsizei(h.size()), h.data());
    glRenderMode(GL_SELECT);
    glInitNames();
    glPushName(7);
    draw();
    const GLint n = glRenderMode(GL_RENDER);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    h.resize(n > 0 ? size_t(4 * n) : 0);  // one name per hit
    return h;
  };
  for (double radius : {20.0, 28.0, 60.0}) {  // inside, clipped, mostly outside
    Arrays(radius);
    for (GLenum mode = GL_POINTS; mode <= GL_POLYGON; ++mode) {
      // The ring's polygon is not convex: clipped whole, what it covers is
      // not defined.
      if (mode == GL_POLYGON && radius > 20) continue;
      for (GLsizei count : {2, 3, 4, 12, 37}) {
        SCOPED_TRACE(testing::Message() << "radius " << radius << ", mode " << mode
                                        << ", count " << count);
        const std::vector<GLuint> want = hits([&] {
          glBegin(mode);
          for (GLint i = 0; i < count; ++i) glArrayElement(i);
          glEnd();
        });
        EXPECT_EQ(hits([&] { glDrawArrays(mode, 0, count); }), want);
        std::vector<GLuint> list;
        for (GLint i = 0; i < count; ++i) list.push_back(GLuint(i));
        EXPECT_EQ(hits([&] { glDrawElements(mode, count, GL_UNSIGNED_INT, list.data()); }),
                  want);
      }
    }
  }
}

TEST_F(FeedbackCompare, PolygonsAsLinesAndPointsReportTheSameEdges) {
  if (!Open(kRgbFormats[6])) return;
  Arrays(20);
  for (GLenum polygonMode : {GL_LINE, GL_POINT}) {
    glPolygonMode(GL_FRONT_AND_BACK, polygonMode);
    for (GLenum mode : {GL_TRIANGLES, GL_TRIANGLE_STRIP, GL_TRIANGLE_FAN, GL_QUADS,
                        GL_QUAD_STRIP, GL_POLYGON})
      Compare(mode, 0, 12, Match::kAnyOrder);
  }
}

}  // namespace
}  // namespace scene_test
