// glTexParameter: every name with its accepted and refused values, in the
// float, integer, scalar and vector forms; stored in the context's copy and
// the bound object (the priority only in the copy).
#include <limits>

#include "core/gl_get_enums.h"
#include "core/s_names.h"
#include "tests/pixels/tex_params/tex_param_fixture.h"

namespace tex_param_test {
namespace {

constexpr int k1D = __GL_TEXTURE_1D_INDEX, k2D = __GL_TEXTURE_2D_INDEX;

struct EnumCase {
  GLenum pname;
  GLenum value;
  bool accepted;
};

const EnumCase kEnumCases[] = {
    {GL_TEXTURE_WRAP_S, GL_CLAMP, true},
    {GL_TEXTURE_WRAP_S, GL_REPEAT, true},
    {GL_TEXTURE_WRAP_S, GL_LINEAR, false},
    {GL_TEXTURE_WRAP_T, GL_CLAMP, true},
    {GL_TEXTURE_WRAP_T, GL_NEAREST, false},
    {GL_TEXTURE_MAG_FILTER, GL_NEAREST, true},
    {GL_TEXTURE_MAG_FILTER, GL_LINEAR, true},
    {GL_TEXTURE_MAG_FILTER, GL_LINEAR_MIPMAP_LINEAR, false},
    {GL_TEXTURE_MAG_FILTER, GL_CLAMP, false},
    {GL_TEXTURE_MIN_FILTER, GL_NEAREST, true},
    {GL_TEXTURE_MIN_FILTER, GL_LINEAR, true},
    {GL_TEXTURE_MIN_FILTER, GL_NEAREST_MIPMAP_NEAREST, true},
    {GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST, true},
    {GL_TEXTURE_MIN_FILTER, GL_NEAREST_MIPMAP_LINEAR, true},
    {GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR, true},
    {GL_TEXTURE_MIN_FILTER, GL_REPEAT, false},
    {GL_TEXTURE_MIN_FILTER, 0, false},
};

GLenum Field(const GlTextureParams &p, GLenum pname) {
  switch (pname) {
    case GL_TEXTURE_WRAP_S: return p.wrapS;
    case GL_TEXTURE_WRAP_T: return p.wrapT;
    case GL_TEXTURE_MIN_FILTER: return p.minFilter;
    default: return p.magFilter;
  }
}
GLenum Field(const GlTextureObject &t, GLenum pname) {
  const GlTextureParams p = {t.wrapS, t.wrapT, t.minFilter, t.magFilter, {}};
  return Field(p, pname);
}

// The four forms: each sets `pname` to `value` on `target`.
using Setter = void (*)(GLenum target, GLenum pname, GLenum value);
const struct {
  const char *name;
  Setter set;
} kForms[] = {
    {"f", [](GLenum t, GLenum n, GLenum v) { glTexParameterf(t, n, GLfloat(v)); }},
    {"i", [](GLenum t, GLenum n, GLenum v) { glTexParameteri(t, n, GLint(v)); }},
    {"fv", [](GLenum t, GLenum n, GLenum v) {
       const GLfloat f = GLfloat(v);
       glTexParameterfv(t, n, &f);
     }},
    {"iv", [](GLenum t, GLenum n, GLenum v) {
       const GLint i = GLint(v);
       glTexParameteriv(t, n, &i);
     }},
};

TEST_F(TexParamTest, EnumValuesAreStoredInCopyAndObjectOrRefused) {
  for (const auto &form : kForms) {
    for (int index : {k1D, k2D}) {
      const GLenum target = index == k1D ? GL_TEXTURE_1D : GL_TEXTURE_2D;
      for (const EnumCase &c : kEnumCases) {
        SCOPED_TRACE(testing::Message() << form.name << " target " << index << " pname 0x"
                                        << std::hex << c.pname << " value 0x" << c.value);
        // Start from a value the case does not set, so that a store shows.
        const GLenum other = c.pname == GL_TEXTURE_WRAP_S || c.pname == GL_TEXTURE_WRAP_T
                                 ? (c.value == GL_CLAMP ? GL_REPEAT : GL_CLAMP)
                                 : (c.value == GL_NEAREST ? GL_LINEAR : GL_NEAREST);
        form.set(target, c.pname, other);
        ASSERT_EQ(Error(), GLenum(GL_NO_ERROR));
        Settle();
        form.set(target, c.pname, c.value);
        if (c.accepted) {
          EXPECT_EQ(Error(), GLenum(GL_NO_ERROR));
          EXPECT_EQ(Field(Params(index), c.pname), c.value);
          EXPECT_EQ(Field(*Bound(index), c.pname), c.value);
          EXPECT_TRUE(Marked());
        } else {
          EXPECT_EQ(Error(), GLenum(GL_INVALID_ENUM));
          EXPECT_EQ(Field(Params(index), c.pname), other);
          EXPECT_EQ(Field(*Bound(index), c.pname), other);
          EXPECT_FALSE(Marked());
        }
      }
    }
  }
}

TEST_F(TexParamTest, FloatEnumValuesTruncateTowardZero) {
  glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GLfloat(GL_LINEAR) + 0.75f);
  EXPECT_EQ(Error(), GLenum(GL_NO_ERROR));
  EXPECT_EQ(Params(k2D).minFilter, GLenum(GL_LINEAR));
  const GLfloat v = GLfloat(GL_CLAMP) + 0.5f;
  glTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &v);
  EXPECT_EQ(Params(k2D).wrapT, GLenum(GL_CLAMP));
  // A NaN or an infinity names no value.
  for (GLfloat bad : {std::numeric_limits<GLfloat>::quiet_NaN(),
                      std::numeric_limits<GLfloat>::infinity(), 1e30f}) {
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, bad);
    EXPECT_EQ(Error(), GLenum(GL_INVALID_ENUM)) << bad;
  }
}

TEST_F(TexParamTest, RefusedTargetsNamesAndCalls) {
  const GLfloat color[4] = {0.5f, 0.5f, 0.5f, 0.5f};
  struct {
    const char *what;
    void (*call)(const GLfloat *color);
    GLenum error;
  } cases[] = {
      {"proxy target",
       [](const GLfloat *) { glTexParameteri(GL_PROXY_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP); },
       GL_INVALID_ENUM},
      {"environment target",
       [](const GLfloat *) { glTexParameteri(GL_TEXTURE_ENV, GL_TEXTURE_WRAP_S, GL_CLAMP); },
       GL_INVALID_ENUM},
      {"unknown name",
       [](const GLfloat *) { glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_RESIDENT, 1); },
       GL_INVALID_ENUM},
      {"border colour through f",
       [](const GLfloat *) { glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_BORDER_COLOR, 1.0f); },
       GL_INVALID_ENUM},
      {"border colour through i",
       [](const GLfloat *) { glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_BORDER_COLOR, 1); },
       GL_INVALID_ENUM},
      {"border colour on a bad target",
       [](const GLfloat *c) { glTexParameterfv(GL_TEXTURE_ENV, GL_TEXTURE_BORDER_COLOR, c); },
       GL_INVALID_ENUM},
      {"inside glBegin",
       [](const GLfloat *c) {
         glBegin(GL_POINTS);
         glTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_BORDER_COLOR, c);
         glEnd();
       },
       GL_INVALID_OPERATION},
  };
  for (const auto &c : cases) {
    Settle();
    c.call(color);
    EXPECT_EQ(Error(), c.error) << c.what;
    EXPECT_EQ(Params(k2D).borderColor[0], 0.0f) << c.what;
    EXPECT_EQ(Params(k2D).wrapS, GLenum(GL_REPEAT)) << c.what;
  }
}

TEST_F(TexParamTest, NullVectorDoesNothing) {
  Settle();
  glTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_BORDER_COLOR, nullptr);
  glTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, nullptr);
  EXPECT_EQ(Error(), GLenum(GL_NO_ERROR));
  EXPECT_FALSE(Marked());
}

TEST_F(TexParamTest, BorderColorIsClampedInBothForms) {
  const GLfloat f[4] = {-0.5f, 0.25f, 2.0f, std::numeric_limits<GLfloat>::quiet_NaN()};
  glTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_BORDER_COLOR, f);
  EXPECT_EQ(Error(), GLenum(GL_NO_ERROR));
  const GLfloat want[4] = {0.0f, 0.25f, 1.0f, 0.0f};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(Params(k2D).borderColor[i], want[i]) << i;
    EXPECT_EQ(Bound(k2D)->borderColor[i], want[i]) << i;
  }
  // Integers map the signed range onto [-1, 1] before the clamp.
  const GLint iv[4] = {std::numeric_limits<GLint>::max(), -5, 0, std::numeric_limits<GLint>::min()};
  glTexParameteriv(GL_TEXTURE_1D, GL_TEXTURE_BORDER_COLOR, iv);
  EXPECT_EQ(Error(), GLenum(GL_NO_ERROR));
  EXPECT_FLOAT_EQ(Params(k1D).borderColor[0], 1.0f);
  EXPECT_EQ(Params(k1D).borderColor[1], 0.0f);
  EXPECT_NEAR(Params(k1D).borderColor[2], 0.0f, 1e-9);
  EXPECT_EQ(Params(k1D).borderColor[3], 0.0f);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(Bound(k1D)->borderColor[i], Params(k1D).borderColor[i]);
  GLfloat back[4];
  glGetTexParameterfv(GL_TEXTURE_1D, GL_TEXTURE_BORDER_COLOR, back);
  EXPECT_FLOAT_EQ(back[0], 1.0f);
}

TEST_F(TexParamTest, PriorityIsClampedAndKeptInTheContextCopyOnly) {
  GlTextureObject *tex = Bound(k2D);
  const GLfloat before = tex->texobjs.priority;
  struct {
    GLfloat value;
    GLfloat want;
  } floats[] = {{0.25f, 0.25f}, {-1.0f, 0.0f}, {3.0f, 1.0f},
                {std::numeric_limits<GLfloat>::quiet_NaN(), 0.0f}};
  for (const auto &c : floats) {
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_PRIORITY, c.value);
    EXPECT_EQ(Error(), GLenum(GL_NO_ERROR));
    EXPECT_EQ(gc->texture.targets[k2D].texobjs.priority, c.want) << c.value;
    EXPECT_EQ(tex->texobjs.priority, before) << c.value;
  }
  struct {
    GLint value;
    GLfloat want;
  } ints[] = {{std::numeric_limits<GLint>::max(), 1.0f},
              {std::numeric_limits<GLint>::max() / 2, 0.5f},
              {-7, 0.0f}};
  for (const auto &c : ints) {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_PRIORITY, c.value);
    EXPECT_EQ(Error(), GLenum(GL_NO_ERROR));
    EXPECT_NEAR(gc->texture.targets[k2D].texobjs.priority, c.want, 1e-6) << c.value;
  }
  // Unbinding hands the copy's priority to the object.
  glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_PRIORITY, 0.75f);
  glBindTexture(GL_TEXTURE_2D, 5);
  glBindTexture(GL_TEXTURE_2D, 0);
  EXPECT_EQ(tex->texobjs.priority, 0.75f);
}

TEST_F(TexParamTest, ObjectHeldElsewhereIsRefused) {
  glBindTexture(GL_TEXTURE_2D, 3);
  GlTextureObject *tex = Bound(k2D);
  ASSERT_EQ(tex->refcount, 2);
  // A lock through the name manager holds it as a second context's binding would.
  ASSERT_EQ(__glNamesLockData(gc, gc->texture.shared, 3), tex);
  const GLfloat color[4] = {1, 1, 1, 1};
  glTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_BORDER_COLOR, color);
  EXPECT_EQ(Error(), GLenum(GL_INVALID_OPERATION));
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  EXPECT_EQ(Error(), GLenum(GL_INVALID_OPERATION));
  EXPECT_EQ(tex->borderColor[0], 0.0f);
  EXPECT_NE(tex->minFilter, GLenum(GL_LINEAR));
  __glNamesUnlockData(gc, gc->texture.shared, tex);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  EXPECT_EQ(Error(), GLenum(GL_NO_ERROR));
  EXPECT_EQ(tex->minFilter, GLenum(GL_LINEAR));
}

}  // namespace
}  // namespace tex_param_test
