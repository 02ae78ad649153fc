#include "tests/geometry/clip_window/window_fixture.h"

#include "geometry/s_pgclip.h"

namespace clip_window_test {
namespace {

std::vector<Drawn> &DrawnLog() {
  static std::vector<Drawn> log;
  return log;
}

std::vector<Validated> &ValidatedLog() {
  static std::vector<Validated> log;
  return log;
}

int &MadeCount() {
  static int made;
  return made;
}

void GLFASTCALL Record(GlContext *, GlVertex *a, GlVertex *b, GlVertex *c) {
  DrawnLog().push_back({{a, b, c}, {*a, *b, *c}});
}

template <int kSizeClass>
uint32_t LogValidate(GlContext *, GlVertex *v, uint32_t needs) {
  ValidatedLog().push_back({kSizeClass, v, needs});
  return v->has |= needs;
}

GLfloat Mix(GLfloat a, GLfloat b, GLfloat t) { return GLfloat((double(a) - b) * t + b); }

void MixColor(GlColor &d, const GlColor &a, const GlColor &b, GLfloat t) {
  d = {Mix(a.r, b.r, t), Mix(a.g, b.g, t), Mix(a.b, b.b, t), Mix(a.a, b.a, t)};
}

// The plain parameter clip: everything but s, t, q and fog, which the
// window clipper takes from window space itself.
void ClipParam(GlContext *, GlVertex *d, const GlVertex *a, const GlVertex *b, GLfloat t) {
  d->clip = {Mix(a->clip.x, b->clip.x, t), Mix(a->clip.y, b->clip.y, t),
             Mix(a->clip.z, b->clip.z, t), Mix(a->clip.w, b->clip.w, t)};
  d->window.w = 1.0f / d->clip.w;
  d->has = 0xFFFF0000u;
  MixColor(d->colors[__GL_FRONTFACE], a->colors[__GL_FRONTFACE], b->colors[__GL_FRONTFACE], t);
  MixColor(d->colors[__GL_BACKFACE], a->colors[__GL_BACKFACE], b->colors[__GL_BACKFACE], t);
  d->texture = {kNotInterpolated, kNotInterpolated, Mix(a->texture.z, b->texture.z, t),
                kNotInterpolated};
  d->fog = kNotInterpolated;
  ++MadeCount();
}

// Attribute values of the three corners, all different.
struct CornerValues {
  GLfloat z;
  GlColor front, back;
  GlCoord texture;
  GLfloat fog;
};
const CornerValues kCorners[3] = {
    {0.25f, {1, 0, 0.5f, 1}, {0.125f, 0.75f, 0, 0.5f}, {0, 0, 0.5f, 1}, 0.0f},
    {0.75f, {0, 1, 0.25f, 0.5f}, {1, 0.25f, 0.5f, 0}, {2, -1, 0.25f, 0.5f}, 1.0f},
    {0.5f, {0.5f, 0.125f, 1, 0}, {0.5f, 0.5f, 1, 1}, {-1, 3, 1, 2}, 0.5f},
};

}  // namespace

void WindowClipTest::Bound() {
  gc->procs.renderTriangle = __glClipAndRenderTriangle;
  gc->procs.renderClippedTriangle = Record;
  gc->procs.polygonClipParam = ClipParam;
  gc->procs.validateVertex[0] = LogValidate<0>;
  gc->procs.validateVertex[1] = LogValidate<1>;
  gc->procs.validateVertex[2] = LogValidate<2>;
  gc->procs.validateVertex[3] = LogValidate<3>;
  gc->vertexBuffer.frontNeeds = kFrontNeeds;
  gc->vertexBuffer.backNeeds = kBackNeeds;
  gc->transform.viewportInside = 0;
  xBias = gc->constants.fviewportXAdjust;
  yBias = gc->constants.fviewportYAdjust;
  DrawnLog().clear();
  ValidatedLog().clear();
  MadeCount() = 0;
}

void WindowClipTest::TearDown() {
  BoundContextTest::TearDown();
  DrawnLog().clear();
  ValidatedLog().clear();
}

GlVertex WindowClipTest::MakeVertex(Pt p, int index, bool boundary) const {
  const CornerValues &k = kCorners[index];
  GlVertex v{};
  v.window = {GLfloat(p.x) + xBias, GLfloat(p.y) + yBias, k.z, 1.0f};
  v.clip = {GLfloat(p.x), GLfloat(p.y), k.z, 1.0f};
  v.has = __GL_HAS_SIZE3 | __GL_HAS_CLIP | kFrontNeeds | kBackNeeds |
          (boundary ? __GL_HAS_EDGEFLAG_BOUNDARY : 0);
  v.colors[__GL_FRONTFACE] = k.front;
  v.colors[__GL_BACKFACE] = k.back;
  v.texture = k.texture;
  v.fog = k.fog;
  return v;
}

void WindowClipTest::MakeTriangle(const Triangle &t, GlVertex out[3]) const {
  out[0] = MakeVertex(t.a, 0, t.edges & 1);
  out[1] = MakeVertex(t.b, 1, t.edges & 2);
  out[2] = MakeVertex(t.c, 2, t.edges & 4);
  // Each copy's colour pointer into its own record.
  for (int i = 0; i < 3; ++i) out[i].color = &out[i].colors[__GL_FRONTFACE];
}

std::vector<Drawn> WindowClipTest::Draw(GlVertex *a, GlVertex *b, GlVertex *c) {
  DrawnLog().clear();
  gc->procs.renderTriangle(gc, a, b, c);
  std::vector<Drawn> drawn;
  drawn.swap(DrawnLog());
  return drawn;
}

std::vector<Validated> WindowClipTest::TakeValidated() {
  std::vector<Validated> v;
  v.swap(ValidatedLog());
  return v;
}

int WindowClipTest::TakeMade() {
  const int made = MadeCount();
  MadeCount() = 0;
  return made;
}

}  // namespace clip_window_test
