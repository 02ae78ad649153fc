// What the feedback tests draw and what they expect back: vertices as the
// application gives them, expected records as tokens and vertices, and the
// layout those take in each feedback type.
#pragma once

#include <string>
#include <vector>

#include "tests/geometry/select_feedback/sf_fixture.h"

namespace sf_test {

// A vertex as the application gives it.
struct In {
  GLfloat x, y, z;
  GLfloat color[4];
  GLfloat index;
  GLfloat tex[4];
  bool edge = true;
};

inline const In kRed = {10, 10, 0.5f, {1, 0, 0, 1}, 3, {0.125f, 0.25f, 0.375f, 1}};
inline const In kGreen = {30, 10, 0, {0, 1, 0, 0.5f}, 7, {0.5f, 0.75f, 0, 2}};
inline const In kBlue = {30, 30, -0.5f, {0, 0, 1, 1}, 11, {1, 0, 0.5f, 1}};
inline const In kGrey = {10, 30, -1, {0.5f, 0.5f, 0.5f, 0.25f}, 12, {0, 1, 1, 1}};

constexpr GLfloat kPass = GL_PASS_THROUGH_TOKEN, kPoint = GL_POINT_TOKEN,
                  kLine = GL_LINE_TOKEN, kPolygon = GL_POLYGON_TOKEN,
                  kReset = GL_LINE_RESET_TOKEN;

// One item of an expected record: a token, or a vertex given with the
// colour of another vertex (flat shading).
struct Item {
  GLfloat token;
  int vertex = -1;
  int colorOf = -1;
};
inline Item T(GLfloat token) { return {token}; }
inline Item Vx(int v, int colorOf = -1) { return {0, v, colorOf < 0 ? v : colorOf}; }

// The values the items write in the feedback type: window x and y are
// object x and y, window z in [0, 1], clip w 1.
std::vector<GLfloat> Layout(GLenum type, bool rgba, const std::vector<In> &vertices,
                            const std::vector<Item> &items);

void ExpectValues(const std::vector<GLfloat> &got, const std::vector<GLfloat> &want,
                  const std::string &label);

// `got` with each polygon record turned to the rotation of its vertices that
// matches `want`: the vertex cache may start a triangle at another vertex.
std::vector<GLfloat> PolygonsTurnedLike(std::vector<GLfloat> got, const std::vector<GLfloat> &want,
                                        GLenum type, bool rgba);

// The same point and line records, each with its token, in any order.
void ExpectSameRecords(const std::vector<GLfloat> &got, const std::vector<GLfloat> &want,
                       GLenum type, bool rgba, const std::string &label);

// Sends the vertex with its edge flag, colour or index and texture.
void Give(const In &v, bool rgba);

class Feedback : public SelectFeedbackTest {
 protected:
  // Draws the primitive in GL_FEEDBACK mode; the values written.
  // Turns the vertex cache on or off in this context and revalidates.
  void SetVertexCache(bool on);

  std::vector<GLfloat> Draw(GLenum type, GLenum primitive, const std::vector<In> &vertices,
                            bool rgba = true);
};

}  // namespace sf_test
