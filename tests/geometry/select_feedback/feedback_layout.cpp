#include "tests/geometry/select_feedback/feedback_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

namespace sf_test {
namespace {

void AppendVertex(std::vector<GLfloat> &out, GLenum type, bool rgba, const In &v, const In &c) {
  out.push_back(v.x);
  out.push_back(v.y);
  if (type == GL_2D) return;
  out.push_back(GLfloat(SelectFeedbackTest::WindowZ(v.z)));
  if (type == GL_4D_COLOR_TEXTURE) out.push_back(1.0f);
  if (type == GL_3D) return;
  if (rgba)
    out.insert(out.end(), c.color, c.color + 4);
  else
    out.push_back(c.index);
  if (type == GL_3D_COLOR) return;
  out.insert(out.end(), v.tex, v.tex + 4);
}

}  // namespace

std::vector<GLfloat> Layout(GLenum type, bool rgba, const std::vector<In> &vertices,
                            const std::vector<Item> &items) {
  std::vector<GLfloat> out;
  for (const Item &item : items) {
    if (item.vertex < 0)
      out.push_back(item.token);
    else
      AppendVertex(out, type, rgba, vertices[item.vertex], vertices[item.colorOf]);
  }
  return out;
}

void ExpectValues(const std::vector<GLfloat> &got, const std::vector<GLfloat> &want,
                  const std::string &label) {
  ASSERT_EQ(got.size(), want.size()) << label;
  for (size_t i = 0; i < want.size(); ++i)
    EXPECT_NEAR(got[i], want[i], 1e-5 * std::fmax(1.0, std::fabs(want[i])))
        << label << ", value " << i;
}

namespace {

size_t VertexSize(GLenum type, bool rgba) {
  const size_t colour = rgba ? 4 : 1;
  switch (type) {
    case GL_2D: return 2;
    case GL_3D: return 3;
    case GL_3D_COLOR: return 3 + colour;
    case GL_3D_COLOR_TEXTURE: return 3 + colour + 4;
    default: return 4 + colour + 4;
  }
}

double Distance(const GLfloat *a, const GLfloat *b, size_t n) {
  double d = 0;
  for (size_t i = 0; i < n; ++i) d += std::fabs(double(a[i]) - double(b[i]));
  return d;
}

}  // namespace

std::vector<GLfloat> PolygonsTurnedLike(std::vector<GLfloat> got, const std::vector<GLfloat> &want,
                                        GLenum type, bool rgba) {
  const size_t vs = VertexSize(type, rgba);
  size_t i = 0;
  while (i < want.size() && i < got.size() && got[i] == want[i]) {
    const GLfloat token = want[i];
    if (token == kPass) {
      i += 2;
    } else if (token == kPoint) {
      i += 1 + vs;
    } else if (token == kLine || token == kReset) {
      i += 1 + 2 * vs;
    } else if (token == kPolygon && i + 1 < want.size() && got[i + 1] == want[i + 1]) {
      const size_t n = size_t(want[i + 1]), start = i + 2, len = n * vs;
      if (start + len > want.size() || start + len > got.size()) break;
      std::vector<GLfloat> best(got.begin() + start, got.begin() + start + len);
      double bestDistance = Distance(best.data(), &want[start], len);
      for (size_t r = 1; r < n; ++r) {
        std::vector<GLfloat> turned(len);
        for (size_t k = 0; k < n; ++k)
          std::copy_n(&got[start + ((k + r) % n) * vs], vs, &turned[k * vs]);
        const double d = Distance(turned.data(), &want[start], len);
        if (d < bestDistance) bestDistance = d, best = turned;
      }
      std::copy(best.begin(), best.end(), got.begin() + start);
      i = start + len;
    } else {
      break;  // unknown or mismatched: leave the rest to the plain comparison
    }
  }
  return got;
}

void ExpectSameRecords(const std::vector<GLfloat> &got, const std::vector<GLfloat> &want,
                       GLenum type, bool rgba, const std::string &label) {
  const size_t vs = VertexSize(type, rgba);
  // Splits into records; the first line token of a primitive may differ, so
  // reset and line tokens are taken as one.
  auto split = [vs](const std::vector<GLfloat> &in) {
    std::vector<std::vector<GLfloat>> records;
    size_t i = 0;
    while (i < in.size()) {
      const GLfloat token = in[i];
      const size_t n = token == kPoint ? vs : (token == kLine || token == kReset) ? 2 * vs : 0;
      if (n == 0 || i + 1 + n > in.size()) {
        records.push_back(std::vector<GLfloat>(in.begin() + i, in.end()));
        break;
      }
      std::vector<GLfloat> r(in.begin() + i, in.begin() + i + 1 + n);
      if (r[0] == kReset) r[0] = kLine;
      records.push_back(r);
      i += 1 + n;
    }
    std::sort(records.begin(), records.end());
    return records;
  };
  ASSERT_EQ(got.size(), want.size()) << label;
  if (!want.empty()) {
    EXPECT_EQ(got[0], want[0]) << label << ": the first token";
  }
  const std::vector<std::vector<GLfloat>> g = split(got), w = split(want);
  ASSERT_EQ(g.size(), w.size()) << label;
  for (size_t r = 0; r < w.size(); ++r) ExpectValues(g[r], w[r], label + ", record " + std::to_string(r));
}

void Feedback::SetVertexCache(bool on) {
  gc->vcache.enabled = on;
  gc->dirtyMask |= __GL_DIRTY_ALL;
  gc->beginMode = __GL_VALIDATE_PENDING;
  ValidatePending();
}

void Give(const In &v, bool rgba) {
  glEdgeFlag(v.edge ? GL_TRUE : GL_FALSE);
  if (rgba)
    glColor4f(v.color[0], v.color[1], v.color[2], v.color[3]);
  else
    glIndexf(v.index);
  glTexCoord4f(v.tex[0], v.tex[1], v.tex[2], v.tex[3]);
  glVertex3f(v.x, v.y, v.z);
}

std::vector<GLfloat> Feedback::Draw(GLenum type, GLenum primitive,
                                    const std::vector<In> &vertices, bool rgba) {
  std::vector<GLfloat> buffer(256, -12345.0f);
  glFeedbackBuffer(GLsizei(buffer.size()), type, buffer.data());
  glRenderMode(GL_FEEDBACK);
  glBegin(primitive);
  for (const In &v : vertices) Give(v, rgba);
  glEnd();
  const GLint written = glRenderMode(GL_RENDER);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  EXPECT_GE(written, 0);
  buffer.resize(written < 0 ? 0 : size_t(written));
  return buffer;
}

}  // namespace sf_test
