#include "tests/geometry/select_feedback/feedback_layout.h"

#include <gtest/gtest.h>

#include <cmath>

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
