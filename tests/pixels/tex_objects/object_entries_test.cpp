// The texture-object entries on a bound context: names reserved, objects
// made by binding, deleted in runs, prioritised and asked about, and the
// parameters each object keeps across bindings.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "core/s_pick.h"
#include "tests/pixels/tex_objects/tex_object_fixture.h"

// The name manager's range deletions, recorded on their way (the test links
// with the real one wrapped).
namespace {
std::vector<std::pair<GLuint, GLuint>> deletedRanges;
}
#define DELETE_RANGE _Z20__glNamesDeleteRangeP9GlContextP12GlNamesArrayjj
#define WRAP(x) WRAP_(__wrap_, x)
#define REAL(x) WRAP_(__real_, x)
#define WRAP_(p, x) WRAP__(p, x)
#define WRAP__(p, x) p##x
extern "C" void REAL(DELETE_RANGE)(GlContext *gc, GlNamesArray *array, GLuint first,
                                   GLuint count);
extern "C" void WRAP(DELETE_RANGE)(GlContext *gc, GlNamesArray *array, GLuint first,
                                   GLuint count) {
  deletedRanges.emplace_back(first, count);
  REAL(DELETE_RANGE)(gc, array, first, count);
}

namespace tex_object_entries_test {
namespace {

using TexObjects = TexObjectTest;

TEST_F(TexObjects, GenReservesNamesWithoutObjects) {
  GLuint names[3] = {0, 0, 0};
  glGenTextures(-1, names);
  EXPECT_EQ(Error(), GLenum(GL_INVALID_VALUE));
  EXPECT_EQ(names[0], 0u);
  glGenTextures(0, names);
  glGenTextures(3, nullptr);
  EXPECT_EQ(Error(), GLenum(GL_NO_ERROR));
  EXPECT_EQ(names[0], 0u);
  glGenTextures(3, names);
  EXPECT_EQ(Error(), GLenum(GL_NO_ERROR));
  for (GLuint name : names) {
    EXPECT_NE(name, 0u);
    EXPECT_TRUE(__glNamesIsName(gc, tx().shared, name));
    EXPECT_FALSE(glIsTexture(name));
  }
  EXPECT_NE(names[0], names[1]);
  EXPECT_NE(names[1], names[2]);
}

TEST_F(TexObjects, BindingANewNameMakesItsObject) {
  EXPECT_FALSE(glIsTexture(7));
  glBindTexture(GL_TEXTURE_2D, 7);
  EXPECT_EQ(Error(), GLenum(GL_NO_ERROR));
  EXPECT_TRUE(glIsTexture(7));
  GlTextureObject *tex = Object(7);
  ASSERT_NE(tex, nullptr);
  EXPECT_EQ(Bound(__GL_TEXTURE_2D_INDEX), tex);
  EXPECT_EQ(tex->refcount, 2);  // the name's and the binding's
  EXPECT_EQ(tex->targetIndex, __GL_TEXTURE_2D_INDEX);
  EXPECT_EQ(tex->dim, 2);
  EXPECT_EQ(tex->texobjs.name, 7u);
  EXPECT_EQ(tx().targets[__GL_TEXTURE_2D_INDEX].texobjs.name, 7u);
  EXPECT_EQ(gc->beginMode, __GL_VALIDATE_PENDING);
  EXPECT_NE(gc->dirtyMask & __GL_DIRTY_GENERIC, 0u);
  // Again: nothing more is counted.
  glBindTexture(GL_TEXTURE_2D, 7);
  EXPECT_EQ(tex->refcount, 2);
  glBindTexture(GL_TEXTURE_2D, 0);
  EXPECT_EQ(Bound(__GL_TEXTURE_2D_INDEX), tx().defaults[__GL_TEXTURE_2D_INDEX]);
  EXPECT_EQ(tex->refcount, 1);
  EXPECT_FALSE(glIsTexture(0));
}

TEST_F(TexObjects, BindingRefusesTheOtherDimensionAndOtherTargets) {
  glBindTexture(GL_TEXTURE_2D, 5);
  GlTextureObject *tex = Object(5);
  GlTextureObject *before1D = Bound(__GL_TEXTURE_1D_INDEX);
  glBindTexture(GL_TEXTURE_1D, 5);
  EXPECT_EQ(Error(), GLenum(GL_INVALID_OPERATION));
  EXPECT_EQ(Bound(__GL_TEXTURE_1D_INDEX), before1D);
  EXPECT_EQ(tex->refcount, 2);
  for (GLenum target : {GLenum(GL_PROXY_TEXTURE_2D), GLenum(GL_RGB), GLenum(0)}) {
    glBindTexture(target, 6);
    EXPECT_EQ(Error(), GLenum(GL_INVALID_ENUM));
  }
  EXPECT_FALSE(glIsTexture(6));
}

TEST_F(TexObjects, EntriesAreRefusedInsideBeginEnd) {
  glBindTexture(GL_TEXTURE_2D, 3);
  GLuint names[1] = {0};
  GLboolean bytes[1] = {7};
  const GLuint three = 3;
  const GLclampf half = 0.5f;
  GLboolean answer = GL_TRUE;
  // glGetError itself is refused inside: each entry gets a pair of its own.
  void (*const calls[])(GLuint *, GLboolean *, const GLuint *, const GLclampf *,
                        GLboolean *) = {
      [](GLuint *n, GLboolean *, const GLuint *, const GLclampf *, GLboolean *) {
        glGenTextures(1, n);
      },
      [](GLuint *, GLboolean *, const GLuint *, const GLclampf *, GLboolean *) {
        glBindTexture(GL_TEXTURE_2D, 0);
      },
      [](GLuint *, GLboolean *, const GLuint *t, const GLclampf *, GLboolean *) {
        glDeleteTextures(1, t);
      },
      [](GLuint *, GLboolean *, const GLuint *t, const GLclampf *p, GLboolean *) {
        glPrioritizeTextures(1, t, p);
      },
      [](GLuint *, GLboolean *b, const GLuint *t, const GLclampf *, GLboolean *a) {
        *a = glAreTexturesResident(1, t, b);
      },
      [](GLuint *, GLboolean *, const GLuint *, const GLclampf *, GLboolean *a) {
        *a = glIsTexture(3);
      },
  };
  for (auto call : calls) {
    ValidatePending();
    glBegin(GL_POINTS);
    call(names, bytes, &three, &half, &answer);
    glEnd();
    EXPECT_EQ(Error(), GLenum(GL_INVALID_OPERATION));
  }
  EXPECT_EQ(answer, GL_FALSE);
  EXPECT_EQ(names[0], 0u);
  EXPECT_EQ(bytes[0], 7);
  EXPECT_EQ(Bound(__GL_TEXTURE_2D_INDEX), Object(3));
  EXPECT_EQ(Object(3)->texobjs.priority, 1.0f);
}

TEST_F(TexObjects, DeletionGoesByRunsOfConsecutiveNames) {
  struct Case {
    std::vector<GLuint> names;
    std::vector<std::pair<GLuint, GLuint>> ranges;
  } cases[] = {
      {{3, 4, 5, 0, 9}, {{3, 3}, {9, 1}}},
      {{3, 4, 0, 5}, {{3, 2}, {5, 1}}},
      {{5, 4, 3}, {{5, 1}, {4, 1}, {3, 1}}},
      {{0, 0}, {}},
      {{8}, {{8, 1}}},
  };
  for (const Case &c : cases) {
    for (GLuint name = 1; name <= 10; ++name) glBindTexture(GL_TEXTURE_2D, name);
    glBindTexture(GL_TEXTURE_2D, 0);
    deletedRanges.clear();
    glDeleteTextures(GLsizei(c.names.size()), c.names.data());
    EXPECT_EQ(deletedRanges, c.ranges);
    for (GLuint name : c.names) {
      if (name != 0) {
        EXPECT_FALSE(glIsTexture(name)) << name;
      }
    }
    EXPECT_TRUE(glIsTexture(10));
  }
  deletedRanges.clear();
  const GLuint one = 1;
  glDeleteTextures(-1, &one);
  EXPECT_EQ(Error(), GLenum(GL_INVALID_VALUE));
  glDeleteTextures(4, nullptr);
  EXPECT_EQ(Error(), GLenum(GL_NO_ERROR));
  EXPECT_TRUE(deletedRanges.empty());
  EXPECT_TRUE(glIsTexture(1));
}

TEST_F(TexObjects, DeletingABoundTextureRevertsToTheDefault) {
  GlTextureParams &copy = tx().targets[__GL_TEXTURE_2D_INDEX].params;
  GlTextureObject *def = tx().defaults[__GL_TEXTURE_2D_INDEX];
  // The setters write both copies; the default gets its own parameters.
  copy.wrapS = def->wrapS = GL_CLAMP;
  glBindTexture(GL_TEXTURE_2D, 4);
  copy.wrapS = GL_REPEAT;
  copy.minFilter = GL_LINEAR;
  ValidatePending();
  const GLuint four = 4;
  glDeleteTextures(1, &four);
  EXPECT_EQ(Bound(__GL_TEXTURE_2D_INDEX), def);
  EXPECT_EQ(copy.wrapS, GLenum(GL_CLAMP));
  EXPECT_EQ(copy.minFilter, GLenum(GL_NEAREST_MIPMAP_LINEAR));
  EXPECT_EQ(tx().targets[__GL_TEXTURE_2D_INDEX].texobjs.name, 0u);
  EXPECT_EQ(gc->beginMode, __GL_VALIDATE_PENDING);
  EXPECT_FALSE(glIsTexture(4));
}

TEST_F(TexObjects, PrioritiesAreClampedAndFollowedByTheBoundCopy) {
  glBindTexture(GL_TEXTURE_2D, 1);
  glBindTexture(GL_TEXTURE_1D, 2);
  glBindTexture(GL_TEXTURE_1D, 0);
  const GLuint names[] = {1, 2, 0, 99};
  const GLclampf priorities[] = {2.5f, -1.0f, 0.5f, 0.5f};
  glPrioritizeTextures(4, names, priorities);
  EXPECT_EQ(Error(), GLenum(GL_NO_ERROR));
  EXPECT_EQ(Object(1)->texobjs.priority, 1.0f);
  EXPECT_EQ(tx().targets[__GL_TEXTURE_2D_INDEX].texobjs.priority, 1.0f);
  EXPECT_EQ(Object(2)->texobjs.priority, 0.0f);
  EXPECT_EQ(tx().targets[__GL_TEXTURE_1D_INDEX].texobjs.priority, 1.0f);  // the default's
  EXPECT_FALSE(glIsTexture(99));
  const GLclampf quarter = 0.25f;
  glPrioritizeTextures(1, names, &quarter);
  EXPECT_EQ(tx().targets[__GL_TEXTURE_2D_INDEX].texobjs.priority, 0.25f);
  glPrioritizeTextures(-1, names, priorities);
  EXPECT_EQ(Error(), GLenum(GL_INVALID_VALUE));
  glPrioritizeTextures(2, nullptr, priorities);
  glPrioritizeTextures(2, names, nullptr);
  EXPECT_EQ(Error(), GLenum(GL_NO_ERROR));
}

TEST_F(TexObjects, ResidencyBytesStopAtTheFirstBadName) {
  glBindTexture(GL_TEXTURE_2D, 1);
  tx().targets[__GL_TEXTURE_2D_INDEX].params.minFilter = GL_NEAREST;
  DefineLevel0();
  glBindTexture(GL_TEXTURE_2D, 2);  // no image: not resident
  glBindTexture(GL_TEXTURE_2D, 0);
  Object(1)->minFilter = GL_NEAREST;

  GLboolean bytes[4] = {9, 9, 9, 9};
  const GLuint good[] = {1, 1};
  EXPECT_TRUE(glAreTexturesResident(2, good, bytes));
  EXPECT_EQ(bytes[0], GL_TRUE);
  EXPECT_EQ(bytes[1], GL_TRUE);

  const GLuint mixed[] = {1, 2, 1};
  bytes[0] = bytes[1] = bytes[2] = 9;
  EXPECT_FALSE(glAreTexturesResident(3, mixed, bytes));
  EXPECT_EQ(Error(), GLenum(GL_NO_ERROR));
  EXPECT_EQ(bytes[0], GL_TRUE);
  EXPECT_EQ(bytes[1], GL_FALSE);
  EXPECT_EQ(bytes[2], GL_TRUE);

  for (GLuint bad : {GLuint(0), GLuint(77)}) {
    const GLuint names[] = {1, 2, bad, 1};
    bytes[0] = bytes[1] = bytes[2] = bytes[3] = 9;
    EXPECT_FALSE(glAreTexturesResident(4, names, bytes));
    EXPECT_EQ(Error(), GLenum(GL_INVALID_VALUE));
    EXPECT_EQ(bytes[0], GL_TRUE);
    EXPECT_EQ(bytes[1], GL_FALSE);
    EXPECT_EQ(bytes[2], 9);
    EXPECT_EQ(bytes[3], 9);
  }
  EXPECT_FALSE(glAreTexturesResident(-1, good, bytes));
  EXPECT_EQ(Error(), GLenum(GL_INVALID_VALUE));
  EXPECT_FALSE(glAreTexturesResident(0, good, bytes));
  EXPECT_FALSE(glAreTexturesResident(2, nullptr, bytes));
  EXPECT_EQ(Error(), GLenum(GL_NO_ERROR));
}

// Without mipmapping only level 0 needs an image; with it, every level down
// to 1 x 1.
TEST_F(TexObjects, ResidencyLooksAtTheLevelsTheFilterReads) {
  glBindTexture(GL_TEXTURE_2D, 1);
  GlTextureObject *tex = Bound(__GL_TEXTURE_2D_INDEX);
  DefineLevel0(__GL_TEXTURE_2D_INDEX, 4);
  for (GLenum filter : {GL_NEAREST, GL_LINEAR}) {
    tex->minFilter = filter;
    EXPECT_TRUE(IsTextureResident(gc, tex));
  }
  tex->minFilter = GL_LINEAR_MIPMAP_LINEAR;
  EXPECT_FALSE(IsTextureResident(gc, tex));
  ASSERT_NE(tex->createLevel(gc, tex, 1, GL_RGB, 2, 2, 1, 0, 2), nullptr);
  EXPECT_FALSE(IsTextureResident(gc, tex));
  ASSERT_NE(tex->createLevel(gc, tex, 2, GL_RGB, 1, 1, 1, 0, 2), nullptr);
  EXPECT_TRUE(IsTextureResident(gc, tex));
  tex->deleteLevel(gc, tex, 0);
  tex->minFilter = GL_NEAREST;
  EXPECT_FALSE(IsTextureResident(gc, tex));
}

// Parameters set while an object is bound stay with it while another is
// bound and validated, and come back with it.
TEST_F(TexObjects, ObjectsKeepTheirParametersAcrossBindings) {
  GlTextureParams &copy = tx().targets[__GL_TEXTURE_2D_INDEX].params;
  // What the parameter setters do: both copies.
  auto set = [&](const GlTextureParams &p) {
    copy = p;
    __glLoadTextureParams(Bound(__GL_TEXTURE_2D_INDEX), &p);
  };
  gc->state.enables.texture = __GL_TEXTURE_2D_ENABLE;
  glBindTexture(GL_TEXTURE_2D, 1);
  set({GL_CLAMP, GL_CLAMP, GL_NEAREST, GL_NEAREST, {0.5f, 0.25f, 1.0f, 0.0f}});
  DefineLevel0();
  glBindTexture(GL_TEXTURE_2D, 2);
  EXPECT_EQ(copy.wrapS, GLenum(GL_REPEAT));  // the new object's own
  set({GL_REPEAT, GL_REPEAT, GL_LINEAR, GL_NEAREST, {0.0f, 0.0f, 0.0f, 0.0f}});
  DefineLevel0();
  ValidatePending();
  EXPECT_EQ(tx().current, Object(2));
  glBindTexture(GL_TEXTURE_2D, 1);
  EXPECT_EQ(copy.wrapS, GLenum(GL_CLAMP));
  EXPECT_EQ(copy.wrapT, GLenum(GL_CLAMP));
  EXPECT_EQ(copy.minFilter, GLenum(GL_NEAREST));
  EXPECT_EQ(copy.borderColor[1], 0.25f);
  ValidatePending();
  EXPECT_EQ(tx().current, Object(1));
  EXPECT_EQ(Object(1)->wrapS, GLenum(GL_CLAMP));
  EXPECT_EQ(Object(1)->borderColor[0], 0.5f);
  EXPECT_EQ(Object(2)->minFilter, GLenum(GL_LINEAR));
  EXPECT_EQ(Object(2)->wrapS, GLenum(GL_REPEAT));
}

// The enables picker copies the target's copy into the current texture at
// every validation: a copy left stale by a binding would overwrite the
// parameters of the object bound next.
TEST_F(TexObjects, ValidationAfterABindingKeepsTheNewObjectsParameters) {
  gc->state.enables.texture = __GL_TEXTURE_2D_ENABLE;
  glBindTexture(GL_TEXTURE_2D, 1);
  DefineLevel0();
  GlTextureObject *one = Bound(__GL_TEXTURE_2D_INDEX);
  one->minFilter = tx().targets[__GL_TEXTURE_2D_INDEX].params.minFilter = GL_NEAREST;
  one->wrapS = tx().targets[__GL_TEXTURE_2D_INDEX].params.wrapS = GL_CLAMP;
  glBindTexture(GL_TEXTURE_2D, 2);
  DefineLevel0();
  GlTextureObject *two = Bound(__GL_TEXTURE_2D_INDEX);
  two->minFilter = tx().targets[__GL_TEXTURE_2D_INDEX].params.minFilter = GL_LINEAR;
  glBindTexture(GL_TEXTURE_2D, 1);
  ValidatePending();
  EXPECT_EQ(one->minFilter, GLenum(GL_NEAREST));
  EXPECT_EQ(one->wrapS, GLenum(GL_CLAMP));
  EXPECT_EQ(two->minFilter, GLenum(GL_LINEAR));
  EXPECT_EQ(two->wrapS, GLenum(GL_REPEAT));
}

}  // namespace
}  // namespace tex_object_entries_test
