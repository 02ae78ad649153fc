// glTexEnv: the modes, the refused targets and names, and the colour kept in
// the drawn buffer's units on 5-6-5 and 8-8-8-8 buffers.
#include <limits>

#include "tests/pixels/tex_params/tex_param_fixture.h"

namespace tex_param_test {
namespace {

TEST_F(TexParamTest, EnvModesAreAcceptedOrRefused) {
  const struct {
    GLenum mode;
    bool accepted;
  } cases[] = {{GL_ADD, true},      {GL_BLEND, true},  {GL_REPLACE, true},
               {GL_DECAL, true},    {GL_MODULATE, true}, {GL_LINEAR, false},
               {GL_ADD + 1, false}, {0, false}};
  for (const auto &c : cases) {
    for (int form = 0; form < 4; ++form) {
      SCOPED_TRACE(testing::Message() << "mode 0x" << std::hex << c.mode << " form " << form);
      glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_DECAL);
      Settle();
      const GLfloat f = GLfloat(c.mode);
      const GLint i = GLint(c.mode);
      switch (form) {
        case 0: glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, f); break;
        case 1: glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, i); break;
        case 2: glTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &f); break;
        default: glTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &i); break;
      }
      EXPECT_EQ(Error(), c.accepted ? GLenum(GL_NO_ERROR) : GLenum(GL_INVALID_ENUM));
      EXPECT_EQ(Env().mode, c.accepted ? c.mode : GLenum(GL_DECAL));
      EXPECT_EQ(Marked(), c.accepted);
    }
  }
  glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GLfloat(GL_REPLACE) + 0.9f);
  EXPECT_EQ(Env().mode, GLenum(GL_REPLACE));
}

TEST_F(TexParamTest, EnvRefusesTargetsBeyondTheCountNamesAndScalarColour) {
  ASSERT_EQ(gc->constants.numberOfTextureEnvs, 1);
  const GLfloat color[4] = {1, 1, 1, 1};
  struct {
    const char *what;
    void (*call)(const GLfloat *);
    GLenum error;
  } cases[] = {
      {"target after the last environment",
       [](const GLfloat *) { glTexEnvi(GL_TEXTURE_ENV + 1, GL_TEXTURE_ENV_MODE, GL_DECAL); },
       GL_INVALID_ENUM},
      {"target below",
       [](const GLfloat *c) { glTexEnvfv(GL_TEXTURE_ENV - 1, GL_TEXTURE_ENV_COLOR, c); },
       GL_INVALID_ENUM},
      {"texture target",
       [](const GLfloat *) { glTexEnvi(GL_TEXTURE_2D, GL_TEXTURE_ENV_MODE, GL_DECAL); },
       GL_INVALID_ENUM},
      {"unknown name",
       [](const GLfloat *c) { glTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_GEN_MODE, c); },
       GL_INVALID_ENUM},
      {"colour through f",
       [](const GLfloat *) { glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, 1.0f); },
       GL_INVALID_ENUM},
      {"colour through i",
       [](const GLfloat *) { glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, 1); },
       GL_INVALID_ENUM},
      {"inside glBegin",
       [](const GLfloat *c) {
         glBegin(GL_POINTS);
         glTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, c);
         glEnd();
       },
       GL_INVALID_OPERATION},
  };
  for (const auto &c : cases) {
    c.call(color);
    EXPECT_EQ(Error(), c.error) << c.what;
    EXPECT_EQ(Env().mode, GLenum(GL_MODULATE)) << c.what;
    EXPECT_EQ(Env().color.r, 0.0f) << c.what;
  }
  glTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, nullptr);
  EXPECT_EQ(Error(), GLenum(GL_NO_ERROR));
}

// The stored colour is the clamped one times the buffer's maximum of each
// component, whatever the buffer: fragment colours come in those units.
TEST_F(TexParamTest, EnvColorIsStoredInBufferUnits) {
  const GLfloat nan = std::numeric_limits<GLfloat>::quiet_NaN();
  for (int bits : {16, 32}) {
    SCOPED_TRACE(bits);
    Reopen(bits);
    const GlColorBuffer *fb = gc->drawBuffer;
    ASSERT_NE(fb, nullptr);
    const GLfloat max[4] = {fb->redScale, fb->greenScale, fb->blueScale, fb->alphaScale};
    if (bits == 16) {
      EXPECT_EQ(max[0], 31.0f);
      EXPECT_EQ(max[1], 63.0f);
    } else {
      EXPECT_EQ(max[0], 255.0f);
    }
    const GLfloat in[4] = {0.5f, 2.0f, -1.0f, nan};
    const GLfloat clamped[4] = {0.5f, 1.0f, 0.0f, 0.0f};
    glTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, in);
    ASSERT_EQ(Error(), GLenum(GL_NO_ERROR));
    const GLfloat got[4] = {Env().color.r, Env().color.g, Env().color.b, Env().color.a};
    for (int i = 0; i < 4; ++i) EXPECT_FLOAT_EQ(got[i], clamped[i] * max[i]) << i;
    GLfloat back[4];
    glGetTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, back);
    for (int i = 0; i < 4; ++i) EXPECT_NEAR(back[i], clamped[i], 1e-6) << i;
    // The integer form: the largest integer is 1.
    const GLint iv[4] = {std::numeric_limits<GLint>::max(), 0, -1, std::numeric_limits<GLint>::max()};
    glTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, iv);
    EXPECT_FLOAT_EQ(Env().color.r, max[0]);
    EXPECT_NEAR(Env().color.g, 0.0f, 1e-6);
    EXPECT_EQ(Env().color.b, 0.0f);
    EXPECT_FLOAT_EQ(Env().color.a, max[3]);
  }
}

}  // namespace
}  // namespace tex_param_test
