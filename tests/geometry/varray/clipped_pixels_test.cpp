// Clipped primitives drawn through glDrawArrays and glDrawElements against
// the same elements through glBegin / glArrayElement / glEnd, in pixels, in
// every colour format. The two paths cut the same triangles from different
// starting vertices, and the immediate path clips a polygon whole where the
// array path clips triangle by triangle, so they may differ by the rounding
// of the interpolated colours: one unit per channel (index) at most.
#include <gtest/gtest.h>

#include <math.h>
#include <stdlib.h>

#include <sstream>
#include <string>
#include <vector>

#include "core/gl_api.h"
#include "tests/raster/scene/scene_fixture.h"

namespace scene_test {
namespace {

// The ring is convex for every run of consecutive elements (points, lines,
// fans, quads, polygons); the zigzag alternates an outer and an inner
// radius for the strips. Both reach past the window's sides and past the
// near and far planes, so that every plane cuts something.
constexpr int kRing = 0, kZigzag = 40, kElements = 80;

struct ModeCase {
  GLenum mode;
  GLint first;
  GLsizei count;
};

const ModeCase kModes[] = {
    {GL_POINTS, kRing, 40},          {GL_LINES, kRing, 40},
    {GL_LINE_LOOP, kRing, 37},       {GL_LINE_STRIP, kRing, 38},
    {GL_TRIANGLES, kZigzag, 39},     {GL_TRIANGLES, kZigzag + 2, 36},
    {GL_TRIANGLE_STRIP, kZigzag, 40}, {GL_TRIANGLE_FAN, kRing, 40},
    {GL_QUADS, kRing, 40},           {GL_QUAD_STRIP, kZigzag + 1, 38},
    {GL_POLYGON, kRing, 40},         {GL_POLYGON, kRing + 3, 13},
    {GL_POLYGON, kRing, 36},         {GL_POLYGON, kRing, 37},
    {GL_POLYGON, kRing, 38},         {GL_POLYGON, kRing, 39},
};

class ClippedPixels : public SceneTest {
 protected:
  std::vector<GLfloat> position, color, index;

  void Arrays() {
    position.assign(3 * kElements, 0);
    color.assign(4 * kElements, 0);
    index.assign(kElements, 0);
    for (int i = 0; i < kElements; ++i) {
      const bool ring = i < kZigzag;
      const int k = ring ? i : i - kZigzag;
      const double a = 2 * M_PI * k / (ring ? 40.0 : 44.0) + 0.1;
      const double r = ring ? 26 : (k & 1 ? 9 : 34);
      position[3 * i] = GLfloat(32 + r * cos(a) * 1.25);
      position[3 * i + 1] = GLfloat(24 + r * sin(a));
      // Window z, a plane (so that a polygon clipped whole and one clipped
      // triangle by triangle cover the same pixels), runs from in front of
      // the near plane to past the far one.
      position[3 * i + 2] =
          GLfloat(0.5 + 0.025 * (position[3 * i] - 32) + 0.02 * (position[3 * i + 1] - 24));
      // Colours affine in x and y, as depth is: a polygon's colours then do
      // not depend on the triangles it is cut into.
      const double x = position[3 * i] - 32, y = position[3 * i + 1] - 24;
      for (int c = 0; c < 4; ++c)
        color[4 * i + c] = GLfloat(0.5 + (0.004 + 0.002 * c) * x + (0.008 - 0.005 * c) * y);
      index[i] = GLfloat(color[4 * i] * IndexRange(format));
    }
    glVertexPointer(3, GL_FLOAT, 0, position.data());
    glEnableClientState(GL_VERTEX_ARRAY);
    if (format.rgba) {
      glColorPointer(4, GL_FLOAT, 0, color.data());
      glEnableClientState(GL_COLOR_ARRAY);
    } else {
      glIndexPointer(GL_FLOAT, 0, index.data());
      glEnableClientState(GL_INDEX_ARRAY);
    }
    glPointSize(3);
  }

  std::vector<uint32_t> Pixels() {
    std::vector<uint32_t> out;
    for (int32_t row = 0; row < kHeight; ++row)
      for (int32_t x = 0; x < kWidth; ++x) out.push_back(colorMemory->Read(x, row));
    return out;
  }

  void Clear() {
    glClearColor(0.25f, 0.5f, 0.75f, 0.5f);
    glClearIndex(3);
    glClear(GL_COLOR_BUFFER_BIT);
  }

  // The largest difference of a channel (or of the index) between a and b.
  uint32_t Difference(uint32_t a, uint32_t b) const {
    if (!format.rgba) return uint32_t(abs(int64_t(a & format.indexMask()) - (b & format.indexMask())));
    uint32_t most = 0;
    for (uint32_t mask : format.masks) {
      if (!mask) continue;
      const uint32_t shift = uint32_t(__builtin_ctz(mask));
      const int64_t d = int64_t((a & mask) >> shift) - int64_t((b & mask) >> shift);
      most = std::max(most, uint32_t(llabs(d)));
    }
    return most;
  }

  // The two drawings agree within one unit; returns the pixels drawn.
  int Agree(const std::vector<uint32_t> &want, const std::vector<uint32_t> &got,
            const std::vector<uint32_t> &background, const std::string &what) {
    int drawn = 0, wrong = 0;
    std::ostringstream first;
    for (size_t i = 0; i < want.size(); ++i) {
      drawn += want[i] != background[i];
      if (Difference(want[i], got[i]) > 1 && wrong++ < 6)
        first << "\n  pixel " << i % kWidth << ", " << i / kWidth << ": " << got[i] << ", want "
              << want[i];
    }
    EXPECT_EQ(wrong, 0) << what << first.str();
    return drawn;
  }

  void CompareDrawings(const ModeCase &m, GLenum polygonMode) {
    std::ostringstream what;
    what << format.name << ", mode " << m.mode << " from " << m.first << " count " << m.count
         << ", polygon mode " << polygonMode;
    SCOPED_TRACE(what.str());
    glPolygonMode(GL_FRONT_AND_BACK, polygonMode);
    Clear();
    const std::vector<uint32_t> background = Pixels();
    glBegin(m.mode);
    for (GLint i = 0; i < m.count; ++i) glArrayElement(m.first + i);
    glEnd();
    const std::vector<uint32_t> immediate = Pixels();
    ASSERT_EQ(glGetError(), GLenum(GL_NO_ERROR));

    Clear();
    glDrawArrays(m.mode, m.first, m.count);
    ASSERT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    const int drawn = Agree(immediate, Pixels(), background, what.str() + ", glDrawArrays");
    EXPECT_GT(drawn, 0) << "the scene draws something";

    // The same elements listed in reverse order of their storage.
    std::vector<GLushort> list;
    std::vector<GLfloat> reversed(position.size()), reversedColor(color.size()),
        reversedIndex(index.size());
    for (GLint i = 0; i < m.count; ++i) list.push_back(GLushort(kElements - 1 - (m.first + i)));
    for (int i = 0; i < kElements; ++i) {
      const int j = kElements - 1 - i;
      for (int k = 0; k < 3; ++k) reversed[3 * j + k] = position[3 * i + k];
      for (int k = 0; k < 4; ++k) reversedColor[4 * j + k] = color[4 * i + k];
      reversedIndex[j] = index[i];
    }
    glVertexPointer(3, GL_FLOAT, 0, reversed.data());
    glColorPointer(4, GL_FLOAT, 0, reversedColor.data());
    glIndexPointer(GL_FLOAT, 0, reversedIndex.data());
    Clear();
    glDrawElements(m.mode, GLsizei(list.size()), GL_UNSIGNED_SHORT, list.data());
    ASSERT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    Agree(immediate, Pixels(), background, what.str() + ", glDrawElements");
    glVertexPointer(3, GL_FLOAT, 0, position.data());
    glColorPointer(4, GL_FLOAT, 0, color.data());
    glIndexPointer(GL_FLOAT, 0, index.data());
  }
};

std::vector<ColorFormat> AllFormats() {
  std::vector<ColorFormat> all = kRgbFormats;
  all.insert(all.end(), kIndexFormats.begin(), kIndexFormats.end());
  return all;
}

TEST_F(ClippedPixels, ArraysDrawWhatTheImmediateEntriesDraw) {
  for (const ColorFormat &f : AllFormats())
    for (bool inverted : {false, true}) {
      if (!Open(f, 16, inverted)) continue;
      Arrays();
      for (GLenum shade : {GL_SMOOTH, GL_FLAT}) {
        glShadeModel(shade);
        for (const ModeCase &m : kModes) CompareDrawings(m, GL_FILL);
      }
    }
}

// Triangles, strips, fans and quads as outlines and corner points cover the
// same pixels on both paths. One colour: the paths draw a triangle's edges
// from different vertices, and where edges or points overlap the last one
// drawn decides the pixel. Polygons are left out: the edge that clipping
// makes along a plane takes the flag of the edge cut on leaving, which for
// a polygon cut triangle by triangle is often an inner diagonal.
TEST_F(ClippedPixels, OutlinedAndDottedTrianglesAndQuadsAgree) {
  for (const ColorFormat &f : {kRgbFormats[2], kRgbFormats[6], kIndexFormats[0]}) {
    if (!Open(f)) continue;
    Arrays();
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_INDEX_ARRAY);
    glColor4f(0.75f, 0.25f, 0.5f, 1.0f);
    glIndexi(200);
    for (GLenum polygonMode : {GL_LINE, GL_POINT})
      for (const ModeCase &m : kModes)
        if (m.mode >= GL_TRIANGLES && m.mode != GL_POLYGON) CompareDrawings(m, polygonMode);
  }
}

}  // namespace
}  // namespace scene_test
