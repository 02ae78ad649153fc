// The matrix commands through the API entries, against a double-precision
// model of the three stacks: every stack top and the composite after each
// sequence, within a relative tolerance of 1e-5 per element (|got - want| /
// (1 + |want|)): a handful of single-precision roundings per command.
#include <gtest/gtest.h>

#include <math.h>

#include <string>
#include <vector>

#include "core/context.h"
#include "core/gl_api.h"
#include "geometry/s_xform.h"
#include "tests/geometry/xform/matrix_reference.h"
#include "tests/geometry/xform/xform_fixture.h"

namespace {

const double kTolerance = 1e-5;

enum Kind {
  kMode, kIdentity, kLoad, kLoadD, kMult, kMultD, kRotate, kRotateD, kScale, kScaleD,
  kTranslate, kTranslateD, kFrustum, kOrtho, kPush, kPop, kLoadIdentityValues
};

struct Op {
  Kind kind;
  double a[6];
  GLenum mode;
};

Op Mode(GLenum m) { return {kMode, {}, m}; }
Op Identity() { return {kIdentity, {}, 0}; }
Op Rotate(double d, double x, double y, double z, Kind k = kRotate) {
  return {k, {d, x, y, z}, 0};
}
Op Scale(double x, double y, double z, Kind k = kScale) { return {k, {x, y, z}, 0}; }
Op Translate(double x, double y, double z, Kind k = kTranslate) { return {k, {x, y, z}, 0}; }
Op Frustum(double l, double r, double b, double t, double n, double f) {
  return {kFrustum, {l, r, b, t, n, f}, 0};
}
Op Ortho(double l, double r, double b, double t, double n, double f) {
  return {kOrtho, {l, r, b, t, n, f}, 0};
}
// Load or multiply a fixed general matrix, scaled by `s` so that sequences
// can use different ones.
Op Load(double s, Kind k = kLoad) { return {k, {s}, 0}; }
Op Mult(double s, Kind k = kMult) { return {k, {s}, 0}; }
Op LoadIdentityValues() { return {kLoadIdentityValues, {}, 0}; }
Op Push() { return {kPush, {}, 0}; }
Op Pop() { return {kPop, {}, 0}; }

Ref General(double s) {
  Ref m = {1.5, 0.25, -0.5, 0.125, -0.75, 2.0, 0.5, -0.25,
           0.5, -1.0, 1.25, 0.375, 3.0,   -2.0, 1.0, 1.0};
  for (double &e : m) e *= s;
  m[15] = 1;
  return m;
}

// The model: one stack of matrices per mode.
struct Model {
  std::vector<Ref> stacks[3] = {{RefIdentity()}, {RefIdentity()}, {RefIdentity()}};
  int mode = 0;
  Ref &top() { return stacks[mode].back(); }
  void apply(const Ref &operand) { top() = RefProduct(operand, top()); }  // current x operand
};

void Apply(const Op &op, Model &model) {
  const double *a = op.a;
  Ref g = General(a[0]);
  GLfloat gf[16];
  for (int i = 0; i < 16; ++i) gf[i] = GLfloat(g[i]);
  switch (op.kind) {
    case kMode:
      glMatrixMode(op.mode);
      model.mode = int(op.mode - GL_MODELVIEW);
      break;
    case kIdentity:
      glLoadIdentity();
      model.top() = RefIdentity();
      break;
    case kLoad:
      glLoadMatrixf(gf);
      model.top() = g;
      break;
    case kLoadD:
      glLoadMatrixd(g.data());
      model.top() = g;
      break;
    case kMult:
      glMultMatrixf(gf);
      model.apply(g);
      break;
    case kMultD:
      glMultMatrixd(g.data());
      model.apply(g);
      break;
    case kRotate:
      glRotatef(GLfloat(a[0]), GLfloat(a[1]), GLfloat(a[2]), GLfloat(a[3]));
      model.apply(RefRotate(a[0], a[1], a[2], a[3]));
      break;
    case kRotateD:
      glRotated(a[0], a[1], a[2], a[3]);
      model.apply(RefRotate(a[0], a[1], a[2], a[3]));
      break;
    case kScale:
      glScalef(GLfloat(a[0]), GLfloat(a[1]), GLfloat(a[2]));
      model.apply(RefScale(a[0], a[1], a[2]));
      break;
    case kScaleD:
      glScaled(a[0], a[1], a[2]);
      model.apply(RefScale(a[0], a[1], a[2]));
      break;
    case kTranslate:
      glTranslatef(GLfloat(a[0]), GLfloat(a[1]), GLfloat(a[2]));
      model.apply(RefTranslate(a[0], a[1], a[2]));
      break;
    case kTranslateD:
      glTranslated(a[0], a[1], a[2]);
      model.apply(RefTranslate(a[0], a[1], a[2]));
      break;
    case kFrustum:
      glFrustum(a[0], a[1], a[2], a[3], a[4], a[5]);
      model.apply(RefFrustum(a[0], a[1], a[2], a[3], a[4], a[5]));
      break;
    case kOrtho:
      glOrtho(a[0], a[1], a[2], a[3], a[4], a[5]);
      model.apply(RefOrtho(a[0], a[1], a[2], a[3], a[4], a[5]));
      break;
    case kLoadIdentityValues: {
      const GLfloat identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
      glLoadMatrixf(identity);
      model.top() = RefIdentity();
      break;
    }
    case kPush:
      glPushMatrix();
      model.stacks[model.mode].push_back(model.top());
      break;
    case kPop:
      glPopMatrix();
      model.stacks[model.mode].pop_back();
      break;
  }
}

struct SequenceCase {
  const char *name;
  std::vector<Op> ops;
  uint32_t modelViewType, projectionType, textureType, compositeType;
};

class MatrixSequence : public testing::TestWithParam<SequenceCase> {};

TEST_P(MatrixSequence, MatchesTheModelAndTypes) {
  const SequenceCase &c = GetParam();
  XformContext x;
  Model model;
  for (const Op &op : c.ops) {
    Apply(op, model);
    ASSERT_EQ(x.error(), GLenum(GL_NO_ERROR));
    // The composite is current after every command.
    Ref composite = RefProduct(model.stacks[0].back(), model.stacks[1].back());
    ASSERT_LE(RelativeError(x.tm().modelView->mvp, composite), kTolerance);
  }
  GlTransformMachine &tm = x.tm();
  EXPECT_LE(RelativeError(tm.modelView->matrix, model.stacks[0].back()), kTolerance);
  EXPECT_LE(RelativeError(tm.projection->matrix, model.stacks[1].back()), kTolerance);
  EXPECT_LE(RelativeError(tm.texture->matrix, model.stacks[2].back()), kTolerance);
  EXPECT_EQ(tm.modelView - tm.modelViewStack, ptrdiff_t(model.stacks[0].size() - 1));
  EXPECT_EQ(tm.projection - tm.projectionStack, ptrdiff_t(model.stacks[1].size() - 1));
  EXPECT_EQ(tm.texture - tm.textureStack, ptrdiff_t(model.stacks[2].size() - 1));

  EXPECT_EQ(tm.modelView->matrix.matrixType, c.modelViewType);
  EXPECT_EQ(tm.projection->matrix.matrixType, c.projectionType);
  EXPECT_EQ(tm.texture->matrix.matrixType, c.textureType);
  EXPECT_EQ(tm.modelView->mvp.matrixType, c.compositeType);
}

const GLenum MV = GL_MODELVIEW, P = GL_PROJECTION, T = GL_TEXTURE;

INSTANTIATE_TEST_SUITE_P(
    Cases, MatrixSequence,
    testing::Values(
        SequenceCase{"Initial", {}, 4, 4, 4, 4},
        SequenceCase{"IdentityLoadedAsAMatrixIsGeneral", {LoadIdentityValues()}, 0, 4, 4, 0},
        SequenceCase{"IdentityValuesInProjectionMakeGeneralComposite",
                     {Mode(P), LoadIdentityValues(), Mode(MV)}, 4, 0, 4, 0},
        SequenceCase{"LoadIdentity", {Load(1), Identity()}, 4, 4, 4, 4},
        SequenceCase{"LoadMatrixf", {Load(1)}, 0, 4, 4, 0},
        SequenceCase{"LoadMatrixd", {Load(2, kLoadD)}, 0, 4, 4, 0},
        SequenceCase{"MultMatrixfd", {Mult(1), Mult(-0.5, kMultD)}, 0, 4, 4, 0},
        SequenceCase{"RotateAboutZKeeps2D", {Rotate(30, 0, 0, 1)}, 2, 4, 4, 2},
        SequenceCase{"RotateAboutNoAxisIs2D", {Rotate(60, 0, 0, 0)}, 2, 4, 4, 2},
        SequenceCase{"RotateAboutX", {Rotate(45, 1, 0, 0)}, 1, 4, 4, 1},
        SequenceCase{"RotateAboutSkewAxis", {Rotate(-100, 1, 2, 3, kRotateD)}, 1, 4, 4, 1},
        SequenceCase{"ScaleIs2DNoRotation", {Scale(2, 3, 4)}, 3, 4, 4, 3},
        SequenceCase{"ScaledIs2DNoRotation", {Scale(-1, 0.5, 8, kScaleD)}, 3, 4, 4, 3},
        SequenceCase{"TranslateIs2DNoRotation", {Translate(1, -2, 3)}, 3, 4, 4, 3},
        SequenceCase{"TranslatedAfterRotate",
                     {Rotate(30, 0, 1, 0), Translate(1, 2, 3, kTranslateD)}, 1, 4, 4, 1},
        SequenceCase{"ScaleThenRotateZ", {Scale(2, 2, 1), Rotate(90, 0, 0, 1)}, 2, 4, 4, 2},
        SequenceCase{"RotateZThenScaleKeeps2D", {Rotate(90, 0, 0, 1), Scale(2, 2, 1)}, 2, 4, 4,
                     2},
        SequenceCase{"ScaleOfGeneralStaysGeneral", {Load(1), Scale(2, 3, 4)}, 0, 4, 4, 0},
        SequenceCase{"Frustum", {Mode(P), Frustum(-1, 1, -0.75, 0.75, 1, 100), Mode(MV)},
                     4, 0, 4, 0},
        SequenceCase{"FrustumWithAnyModelView",
                     {Mode(P), Frustum(-2, 1, -1, 3, 0.5, 10), Mode(MV), Scale(2, 2, 2),
                      Translate(0, 0, -5)},
                     3, 0, 4, 0},
        SequenceCase{"OrthoIs2DNoRotation", {Mode(P), Ortho(0, 640, 0, 480, -1, 1)}, 4, 3, 4, 3},
        SequenceCase{"OrthoWithNegativeNear", {Mode(P), Ortho(-1, 1, -1, 1, -10, -2)}, 4, 3, 4,
                     3},
        SequenceCase{"OrthoTimesRotateZ",
                     {Mode(P), Ortho(0, 640, 0, 480, -1, 1), Mode(MV), Rotate(10, 0, 0, 1)}, 2,
                     3, 4, 2},
        SequenceCase{"ProjectionMultiplied",
                     {Mode(P), Ortho(-1, 1, -1, 1, 1, 3), Translate(0.5, 0, 0), Rotate(5, 0, 0, 1)},
                     4, 2, 4, 2},
        SequenceCase{"ModelViewProductUpdatesComposite",
                     {Mode(P), Frustum(-1, 1, -1, 1, 1, 50), Mode(MV), Translate(0, 0, -10),
                      Rotate(33, 1, 1, 0), Mult(0.5), Scale(1, 2, 3)},
                     0, 0, 4, 0},
        SequenceCase{"TextureStackOnlyMovesTexture",
                     {Mode(T), Scale(2, 2, 2), Push(), Rotate(90, 0, 0, 1), Translate(1, 0, 0)},
                     4, 4, 2, 4},
        SequenceCase{"TexturePopRestores",
                     {Mode(T), Scale(2, 2, 2), Push(), Rotate(90, 1, 0, 0), Pop()}, 4, 4, 3, 4},
        SequenceCase{"ModelViewPushPop",
                     {Translate(1, 2, 3), Push(), Rotate(90, 1, 0, 0), Load(3), Pop()}, 3, 4, 4,
                     3},
        SequenceCase{"ProjectionPushChangePop",
                     {Mode(P), Ortho(-1, 1, -1, 1, -1, 1), Push(), Frustum(-1, 1, -1, 1, 1, 9),
                      Pop(), Mode(MV), Rotate(20, 0, 0, 1)},
                     2, 3, 4, 2},
        SequenceCase{"ModelViewPushedProjectionChangedPopped",
                     {Translate(0, 0, -5), Push(), Rotate(30, 0, 1, 0), Mode(P),
                      Frustum(-1, 1, -1, 1, 1, 20), Mode(MV), Pop()},
                     3, 0, 4, 0},
        SequenceCase{"BothPushedAndPoppedCrosswise",
                     {Scale(2, 2, 2), Push(), Mode(P), Push(), Ortho(-2, 2, -2, 2, -2, 2),
                      Mode(MV), Translate(1, 1, 1), Pop(), Mode(P), Pop(),
                      Frustum(-1, 1, -1, 1, 2, 4), Mode(MV), Push(), Rotate(15, 0, 0, 1)},
                     2, 0, 4, 0},
        SequenceCase{"DeepModelViewStack",
                     {Push(), Translate(1, 0, 0), Push(), Translate(1, 0, 0), Push(),
                      Rotate(90, 0, 0, 1), Push(), Scale(0.5, 0.5, 0.5), Pop(), Pop()},
                     3, 4, 4, 3}),
    [](const testing::TestParamInfo<SequenceCase> &info) { return std::string(info.param.name); });

// ---- Stack depths --------------------------------------------------------------------------

struct DepthCase {
  GLenum mode;
  int depth;
};

class StackDepth : public testing::TestWithParam<DepthCase> {};

TEST_P(StackDepth, OverflowsAtItsDepthAndUnderflowsAtTheBottom) {
  const DepthCase &c = GetParam();
  XformContext x;
  glMatrixMode(c.mode);
  for (int i = 1; i < c.depth; ++i) {
    glTranslatef(GLfloat(i), 0, 0);
    glPushMatrix();
    ASSERT_EQ(x.error(), GLenum(GL_NO_ERROR)) << "push " << i;
  }
  glScalef(3, 3, 3);
  glPushMatrix();
  EXPECT_EQ(x.error(), GLenum(GL_STACK_OVERFLOW));
  glPopMatrix();  // the failed push left the top where it was
  EXPECT_EQ(x.error(), GLenum(GL_NO_ERROR));
  for (int i = 2; i < c.depth; ++i) glPopMatrix();
  EXPECT_EQ(x.error(), GLenum(GL_NO_ERROR));
  glPopMatrix();
  EXPECT_EQ(x.error(), GLenum(GL_STACK_UNDERFLOW));
  // Back at the bottom, with what the first translation made.
  const GlTransform *top = c.mode == GL_MODELVIEW    ? x.tm().modelView
                           : c.mode == GL_PROJECTION ? x.tm().projection
                                                     : x.tm().texture;
  EXPECT_LE(RelativeError(top->matrix, RefTranslate(1, 0, 0)), kTolerance);
}

INSTANTIATE_TEST_SUITE_P(Stacks, StackDepth,
                         testing::Values(DepthCase{GL_MODELVIEW, 32}, DepthCase{GL_PROJECTION, 2},
                                         DepthCase{GL_TEXTURE, 10}));

// ---- Precision the commands promise --------------------------------------------------------

// Exact elements where the precision of a step shows: the rotation angle is
// a single (degrees times the single-precision constant), the perspective
// divides by differences rounded to single, the orthographic projection by
// differences kept in double.
struct ExactCase {
  const char *name;
  void (*command)();
  int index;
  float value;
  uint32_t type;
};

class ExactElement : public testing::TestWithParam<ExactCase> {};

TEST_P(ExactElement, ShowsThePrecisionOfEachStep) {
  const ExactCase &c = GetParam();
  XformContext x;
  c.command();
  EXPECT_EQ(x.error(), GLenum(GL_NO_ERROR));
  EXPECT_EQ(x.tm().modelView->matrix.matrix[c.index], c.value);
  EXPECT_EQ(x.tm().modelView->matrix.matrixType, c.type);
}

// 3.0000001 is 3 as a single.
const double kAlmostThree = 3.0000001;

INSTANTIATE_TEST_SUITE_P(
    Cases, ExactElement,
    testing::Values(
        // The cosine of the single nearest a quarter turn, not of pi / 2.
        ExactCase{"QuarterTurnCosine", [] { glRotatef(90, 0, 0, 1); }, 0, -0x1.777a5cp-25f, 2},
        ExactCase{"QuarterTurnSine", [] { glRotatef(90, 0, 0, 1); }, 1, 1, 2},
        ExactCase{"QuarterTurnMinusSine", [] { glRotatef(90, 0, 0, 1); }, 4, -1, 2},
        ExactCase{"QuarterTurnDouble", [] { glRotated(90, 0, 0, 1); }, 5, -0x1.777a5cp-25f, 2},
        ExactCase{"HalfTurnSine", [] { glRotatef(180, 1, 0, 0); }, 6, -0x1.777a5cp-24f, 1},
        ExactCase{"FrustumSingleWidth", [] { glFrustum(0, kAlmostThree, -1, 1, 1, 2); }, 0,
                  0x1.555556p-1f, 0},
        ExactCase{"OrthoDoubleWidth", [] { glOrtho(0, kAlmostThree, -1, 1, -1, 1); }, 0,
                  0x1.555554p-1f, 3},
        // A width that is zero only as a single is no error for glOrtho.
        ExactCase{"OrthoWidthZeroAsSingle", [] { glOrtho(0, 1e-50, -1, 1, -1, 1); }, 0,
                  INFINITY, 3}),
    [](const testing::TestParamInfo<ExactCase> &info) { return std::string(info.param.name); });

}  // namespace
