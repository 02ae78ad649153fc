// The level of detail of affine textured lines: for q = 1 it is
// ((ds x width)^2 + (dt x height)^2) / L^2 all along the line, from the
// change of s and t between the ends alone, so any offset added to s or t
// leaves it, and so the mipmap level each pixel shows, unchanged.
#include <gtest/gtest.h>

#include <math.h>

#include <vector>

#include "core/context.h"
#include "core/gl_api.h"
#include "tests/pixels/tex_draw/tex_draw_fixture.h"

namespace tex_draw_test {
namespace {

constexpr int32_t kWidth = 64, kHeight = 48, kSide = 64;

struct Line {
  const char *name;
  float x0, y0, x1, y1;  // window coordinates of the ends
  float ds, dt;          // change of s and t from the first end to the second
  int32_t level;         // what NEAREST_MIPMAP_NEAREST shows
};

// Lengths and changes chosen so that rho is a power of four: no level
// choice sits on a boundary.
const Line kLines[] = {
    {"horizontal, rho 16", 4.5f, 10.5f, 36.5f, 10.5f, 2, 0, 2},
    {"vertical, rho 64", 50.5f, 2.5f, 50.5f, 34.5f, 0, 4, 3},
    {"diagonal, rho 256", 3.5f, 20.5f, 23.5f, 40.5f, 5, 5, 4},
    {"backwards, rho 4", 40.5f, 44.5f, 8.5f, 44.5f, -1, 0, 1},
    {"magnified, rho 1/4", 30.5f, 30.5f, 62.5f, 30.5f, 0.25f, 0, 0},
};

const float kOffsets[] = {0, 0.375f, -5.25f, 37};

double ClosedForm(const Line &l) {
  const double dx = l.x1 - l.x0, dy = l.y1 - l.y0;
  const double su = double(l.ds) * kSide, tv = double(l.dt) * kSide;
  return (su * su + tv * tv) / (dx * dx + dy * dy);
}

// One solid colour a level.
ModelTexture Levels() {
  ModelTexture tex;
  tex.minFilter = GL_NEAREST_MIPMAP_NEAREST, tex.magFilter = GL_NEAREST;
  for (int32_t k = 0, side = kSide; side >= 1; k++, side /= 2)
    tex.levels.push_back(MakeLevel(side, side, [k](int32_t, int32_t) {
      return Texel{uint8_t(35 * k), uint8_t(255 - 35 * k), uint8_t(100 + 20 * k), 255};
    }));
  return tex;
}

void Send(const Line &l, float offset) {
  glBegin(GL_LINES);
  glTexCoord2f(offset, 0.5f - offset);
  glVertex2f(l.x0, l.y0);
  glTexCoord2f(offset + l.ds, 0.5f - offset + l.dt);
  glVertex2f(l.x1, l.y1);
  glEnd();
}

// What the line handed the sampler for each fragment.
std::vector<float> &SeenRho() {
  static std::vector<float> seen;
  return seen;
}
void Record(GlContext *, GlColor *, GLfloat, GLfloat, GLfloat rho) { SeenRho().push_back(rho); }

class LineLod : public TexDrawTest {
 protected:
  void SetUp() override {
    TexDrawTest::SetUp();
    ASSERT_TRUE(Open(kRgbFormats.back(), kWidth, kHeight));
    tex = Levels();
    Load(tex);
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
  }
  ModelTexture tex;
};

TEST_F(LineLod, EveryFragmentGetsTheClosedFormWhateverTheOffset) {
  for (const Line &l : kLines)
    for (float offset : kOffsets) {
      SCOPED_TRACE(testing::Message() << l.name << ", offset " << offset);
      Validate();
      const auto sampler = gc->procs.texture;
      ASSERT_NE(sampler, nullptr);
      gc->procs.texture = Record;
      SeenRho().clear();
      Send(l, offset);
      gc->procs.texture = sampler;
      ASSERT_EQ(glGetError(), GLenum(GL_NO_ERROR));
      EXPECT_GE(SeenRho().size(), 19u);  // one a step of the major axis
      const double want = ClosedForm(l);
      int wrong = 0;
      for (float rho : SeenRho())
        if (!(fabs(rho - want) <= want * 1e-4) && wrong++ < 3)
          ADD_FAILURE() << "rho " << rho << ", want " << want;
    }
}

TEST_F(LineLod, EveryPixelShowsTheLevelOfTheClosedForm) {
  for (const Line &l : kLines)
    for (float offset : kOffsets) {
      SCOPED_TRACE(testing::Message() << l.name << ", offset " << offset);
      Clear();
      Send(l, offset);
      ASSERT_EQ(glGetError(), GLenum(GL_NO_ERROR));
      const Channels want = Stored(tex.levels[size_t(l.level)].At(0, 0));
      int drawn = 0;
      for (int32_t y = 0; y < kHeight; y++)
        for (int32_t x = 0; x < kWidth; x++) {
          if (colorMemory->Read(x, y) == cleared) continue;
          drawn++;
          EXPECT_EQ(Show(Pixel(x, y)), Show(want)) << "pixel " << x << ", " << y;
        }
      EXPECT_GE(drawn, 20);
    }
}

}  // namespace
}  // namespace tex_draw_test
