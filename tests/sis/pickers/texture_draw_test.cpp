// Textured drawing through a validated SiS context against the same
// drawing in software (an all-ones polygon stipple keeps the triangles off
// the chip and changes no pixel), compared within the drawing model's
// tolerances, with no violation recorded.
#include <gtest/gtest.h>

#include <string.h>

#include <vector>

#include "platform/sis6326_compare.h"
#include "tests/platform/chip_model/model_support.h"
#include "tests/platform/sis6326/sis6326_support.h"
#include "tests/sis/pickers/picker_fixture.h"

namespace picker_test {
namespace {

class TextureDraw : public PickerTest {
 protected:
  void SetUp() override {
    PickerTest::SetUp();
    PlatformSiS6326Reset();
    gl().Disable(GL_DITHER);
    gl().Viewport(0, 0, hwcompare::kWidth, hwcompare::kHeight);
    GLubyte solid[128];
    memset(solid, 0xFF, sizeof solid);
    gl().PolygonStipple(solid);
  }

  // The quad over most of the window, drawn on the chip or in software;
  // the frame it leaves on a grey background.
  std::vector<uint16_t> Frame(bool hardware, const std::function<void()> &quad) {
    if (hardware)
      gl().Disable(GL_POLYGON_STIPPLE);
    else
      gl().Enable(GL_POLYGON_STIPPLE);
    gl().ClearColor(0.5f, 0.5f, 0.5f, 1.0f);
    gl().Clear(GL_COLOR_BUFFER_BIT);
    Validate();
    EXPECT_EQ(sis()->triangleFallback, hardware ? 0u : 1u);
    sistest::TakeLog();
    quad();
    int primitives = 0;
    for (const SiS6326Event &e : sistest::TakeLog()) primitives += e.kind == SIS6326_EVENT_PRIMITIVE;
    EXPECT_EQ(primitives > 0, hardware);
    EXPECT_EQ(modeltest::Describe(modeltest::Violations()), "") << "the model recorded violations";
    std::vector<uint16_t> out(size_t(hwcompare::kWidth) * hwcompare::kHeight);
    DDSURFACEDESC locked;
    EXPECT_EQ(ddtest::Lock(colour, nullptr, &locked), DD_OK);
    for (int j = 0; j < hwcompare::kHeight; ++j)
      memcpy(&out[size_t(j) * hwcompare::kWidth],
             static_cast<uint8_t *>(locked.lpSurface) + j * locked.lPitch, hwcompare::kWidth * 2);
    ddtest::Unlock(colour, nullptr);
    return out;
  }

  void ExpectAgree(const std::function<void()> &quad) {
    const std::vector<uint16_t> hw = Frame(true, quad), sw = Frame(false, quad);
    const SiS6326Frame h{hw.data(), hwcompare::kWidth, hwcompare::kHeight, hwcompare::kWidth * 2, 0x11};
    const SiS6326Frame s{sw.data(), hwcompare::kWidth, hwcompare::kHeight, hwcompare::kWidth * 2, 0x11};
    SiS6326Comparison c;
    EXPECT_TRUE(PlatformSiS6326Compare(&h, &s, nullptr, nullptr, &c)) << hwcompare::Describe(c);
  }

  void Quad(GLfloat r, GLfloat g, GLfloat b, GLfloat a) {
    const GLfloat corners[4][2] = {{-0.8f, -0.8f}, {0.8f, -0.8f}, {0.8f, 0.8f}, {-0.8f, 0.8f}};
    const GLfloat st[4][2] = {{-0.25f, -0.5f}, {1.25f, -0.5f}, {1.25f, 1.5f}, {-0.25f, 1.5f}};
    gl().Begin(GL_QUADS);
    for (int i = 0; i < 4; ++i) {
      gl().Color4f(r, g, b, a);
      gl().TexCoord2f(st[i][0], st[i][1]);
      gl().Vertex2f(corners[i][0], corners[i][1]);
    }
    gl().End();
  }
};

// GL_REPLACE on a luminance texture keeps the fragment's alpha, which the
// blend below makes visible.
TEST_F(TextureDraw, LuminanceUnderReplaceKeepsTheFragmentsAlpha) {
  std::vector<GLubyte> texels;
  for (int t = 0; t < 8; ++t)
    for (int s = 0; s < 8; ++s) texels.push_back(GLubyte(s * 32 + t * 4));
  gl().BindTexture(GL_TEXTURE_2D, 1);
  gl().TexImage2D(GL_TEXTURE_2D, 0, GL_LUMINANCE, 8, 8, 0, GL_LUMINANCE, GL_UNSIGNED_BYTE,
                  texels.data());
  gl().TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  gl().TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  gl().TexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
  gl().Enable(GL_TEXTURE_2D);
  gl().Enable(GL_BLEND);
  gl().BlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  ExpectAgree([&] { Quad(0.2f, 0.9f, 0.4f, 0.25f); });
}

// OpenGL ignores t for a 1D texture: GL_CLAMP on t with a linear filter
// must not blend the row half-way into the border.
TEST_F(TextureDraw, AOneDimensionalTextureIgnoresItsTWrap) {
  std::vector<GLubyte> texels;
  for (int s = 0; s < 8; ++s) texels.insert(texels.end(), {GLubyte(s * 30), 200, GLubyte(250 - s * 30), 255});
  gl().BindTexture(GL_TEXTURE_1D, 1);
  gl().TexImage1D(GL_TEXTURE_1D, 0, GL_RGBA, 8, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
  gl().TexParameteri(GL_TEXTURE_1D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  gl().TexParameteri(GL_TEXTURE_1D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  gl().TexParameteri(GL_TEXTURE_1D, GL_TEXTURE_WRAP_S, GL_REPEAT);
  gl().TexParameteri(GL_TEXTURE_1D, GL_TEXTURE_WRAP_T, GL_CLAMP);
  gl().TexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
  gl().Enable(GL_TEXTURE_1D);
  ExpectAgree([&] { Quad(1, 1, 1, 1); });
}

}  // namespace
}  // namespace picker_test
