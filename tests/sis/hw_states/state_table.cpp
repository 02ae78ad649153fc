#include "tests/sis/hw_states/state_table.h"

#include <math.h>

#include <GL/gl.h>

#include "platform/control.h"
#include "platform/ddraw.h"

namespace hwstates {
namespace {

// The scene's frame: pixels as window coordinates, z in [-1, 1] with the
// eye at the origin looking down -z, so fog distance is -z.
void Begin(int32_t width, int32_t height, bool black = false) {
  glViewport(0, 0, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, width, 0, height, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glDisable(GL_DITHER);
  // Black clears alike on both paths; the other colour shows the 2D
  // engine's truncation.
  if (black) glClearColor(0, 0, 0, 1); else glClearColor(0.15f, 0.25f, 0.35f, 1);
  glClearDepth(1);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

struct Corner {
  float x, y, z;
  float r, g, b, a;
};

void Triangle(const Corner (&v)[3]) {
  glBegin(GL_TRIANGLES);
  for (const Corner &c : v) {
    glColor4f(c.r, c.g, c.b, c.a);
    glVertex3f(c.x, c.y, c.z);
  }
  glEnd();
}

// Two overlapping triangles off the pixel grid, sloped in depth so that
// they cross, with alpha running from low to high.
const Corner kFirst[3] = {{3.3f, 2.7f, -0.7f, 0.9f, 0.1f, 0.2f, 0.3f},
                          {36.6f, 8.2f, -0.2f, 0.1f, 0.8f, 0.3f, 0.6f},
                          {14.1f, 29.4f, -0.5f, 0.2f, 0.3f, 0.9f, 0.9f}};
const Corner kSecond[3] = {{30.2f, 28.9f, -0.1f, 0.9f, 0.9f, 0.2f, 0.1f},
                           {5.4f, 15.1f, -0.8f, 0.8f, 0.2f, 0.8f, 0.5f},
                           {37.7f, 3.3f, -0.6f, 0.2f, 0.9f, 0.9f, 0.8f}};
const Corner kProbe[3] = {{12.2f, 9.6f, -0.45f, 1, 1, 1, 1},
                          {28.9f, 12.3f, -0.45f, 1, 1, 1, 1},
                          {19.4f, 24.8f, -0.45f, 1, 1, 1, 1}};

// Colours whose channels are 0 or 1 and alphas of 0 or 1 at the corners
// reach both paths exactly: the chip receives colours truncated to 8 bits,
// and a one-unit difference would otherwise grow through an additive blend
// or a logic op, or move an interpolated alpha across the alpha test's
// reference, which no tolerance allows.
const Corner kPureFirst[3] = {{3.3f, 2.7f, -0.7f, 1, 0, 1, 0},
                              {36.6f, 8.2f, -0.2f, 0, 1, 1, 1},
                              {14.1f, 29.4f, -0.5f, 1, 1, 0, 1}};
const Corner kPureSecond[3] = {{30.2f, 28.9f, -0.1f, 0, 1, 0, 1},
                               {5.4f, 15.1f, -0.8f, 1, 0, 0, 0},
                               {37.7f, 3.3f, -0.6f, 0, 0, 1, 1}};

void Shading(const StateRow &row, int32_t w, int32_t h) {
  Begin(w, h);
  glShadeModel(row.a);
  Triangle(kFirst);
  Triangle(kSecond);
}

// The second triangle under the function and mask; then a probe with
// GL_LESS shows what the depth buffer holds.
void Depth(const StateRow &row, int32_t w, int32_t h) {
  Begin(w, h);
  glShadeModel(GL_SMOOTH);
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LESS);
  Triangle(kFirst);
  glDepthFunc(row.a);
  glDepthMask(GLboolean(row.b));
  Triangle(kSecond);
  glDepthMask(GL_TRUE);
  glDepthFunc(GL_LESS);
  Triangle(kProbe);
}

// An exact destination (black, a flat pure triangle) under a smooth source.
void Blend(const StateRow &row, int32_t w, int32_t h) {
  Begin(w, h, true);
  glShadeModel(GL_FLAT);
  Triangle(kPureFirst);
  glShadeModel(GL_SMOOTH);
  glEnable(GL_BLEND);
  glBlendFunc(row.a, row.b);
  Triangle(kSecond);
}

void AlphaTest(const StateRow &row, int32_t w, int32_t h) {
  Begin(w, h);
  glShadeModel(GL_SMOOTH);
  glEnable(GL_ALPHA_TEST);
  glAlphaFunc(row.a, 0.5f);
  Triangle(kPureFirst);
  Triangle(kPureSecond);
}

void LogicOp(const StateRow &row, int32_t w, int32_t h) {
  Begin(w, h, true);
  glShadeModel(GL_FLAT);
  Triangle(kPureFirst);
  glEnable(GL_COLOR_LOGIC_OP);
  glLogicOp(row.a);
  Triangle(kPureSecond);
}

void Dither(const StateRow &row, int32_t w, int32_t h) {
  Begin(w, h);
  if (row.a) glEnable(GL_DITHER);
  glShadeModel(GL_SMOOTH);
  Triangle(kFirst);
  Triangle(kSecond);
}

void Fog(const StateRow &row, int32_t w, int32_t h) {
  Begin(w, h);
  glShadeModel(row.b);
  glEnable(GL_FOG);
  glFogi(GL_FOG_MODE, GLint(row.a));
  const GLfloat colour[4] = {0.8f, 0.7f, 0.6f, 1};
  glFogfv(GL_FOG_COLOR, colour);
  glFogf(GL_FOG_START, 0.05f);
  glFogf(GL_FOG_END, 0.95f);
  glFogf(GL_FOG_DENSITY, 1.5f);
  Triangle(kFirst);
  Triangle(kSecond);
}

// Lines from near the centre in eight directions, one per octant, as
// separate segments. Downward rows start each at its upper end (the larger
// y here, the smaller row of the buffer): chips that want vertices
// top-first reverse the others.
void Lines(const StateRow &row, int32_t w, int32_t h) {
  Begin(w, h);
  glShadeModel(row.b ? GL_SMOOTH : GL_FLAT);
  if (row.a) {
    glEnable(GL_LINE_STIPPLE);
    glLineStipple(2, 0xF0F3);
  }
  const float cx = 20.3f, cy = 16.2f;
  glBegin(GL_LINES);
  for (int i = 0; i < 8; i++) {
    const float angle = (22.5f + 45.0f * float(i) + 7.0f) * 3.14159265f / 180.0f;
    const float x = cx + 14.2f * cosf(angle), y = cy + 13.1f * sinf(angle);
    float x0 = cx + 1.7f * cosf(angle), y0 = cy + 1.7f * sinf(angle), x1 = x, y1 = y;
    if (row.c && y1 > y0) {
      float t = x0;
      x0 = x1, x1 = t, t = y0, y0 = y1, y1 = t;
    }
    glColor3f(0.9f, 0.15f * float(i), 0.2f);
    glVertex3f(x0, y0, -0.3f);
    glColor3f(0.1f, 0.9f - 0.1f * float(i), 0.95f);
    glVertex3f(x1, y1, -0.6f);
  }
  glEnd();
}

void Points(const StateRow &, int32_t w, int32_t h) {
  Begin(w, h);
  glBegin(GL_POINTS);
  for (int i = 0; i < 40; i++) {
    glColor3f(float(i % 5) / 4, float(i % 7) / 6, float(i % 3) / 2);
    glVertex3f(1.3f + float(i) * 0.93f, 2.2f + float((i * 7) % 27) + 0.4f, -0.5f);
  }
  glEnd();
}

// Clears of each kind; depth clears are shown by a probe drawn with GL_LESS.
void Clears(const StateRow &row, int32_t w, int32_t h) {
  Begin(w, h);
  glShadeModel(GL_SMOOTH);
  glEnable(GL_DEPTH_TEST);
  Triangle(kFirst);
  glClearColor(0.6f, 0.33f, 0.81f, 1);
  glClearDepth(0.4);
  if (row.b) {
    glEnable(GL_SCISSOR_TEST);
    glScissor(7, 5, 21, 17);
  }
  glClear(row.a);
  glDisable(GL_SCISSOR_TEST);
  Triangle(kSecond);
}

// ---- Textures --------------------------------------------------------------------------------

enum TextureVariant : uint32_t {
  kNearestOneToOne,
  kLinear,
  kRepeat,
  kClamp,
  kPerspective,
  kAffine,
  kMipmap,  // + the filter's index in kMipmapFilters
};
const GLenum kMipmapFilters[] = {GL_NEAREST_MIPMAP_NEAREST, GL_LINEAR_MIPMAP_NEAREST,
                                 GL_NEAREST_MIPMAP_LINEAR, GL_LINEAR_MIPMAP_LINEAR};
constexpr uint32_t kNonLocal = 0x100;    // flags on the variant
constexpr uint32_t kBlackClear = 0x200;

TextureRoom g_room = TextureRoom::kAll;

// A 16 x 16 texture and its levels, each level's texels distinct from its
// neighbours' and alpha spread over the whole range.
void LoadLevels(GLenum internal, bool mipmaps) {
  for (int level = 0, size = 16; size >= 1; level++, size /= 2) {
    GLubyte texels[16 * 16 * 4];
    for (int y = 0; y < size; y++)
      for (int x = 0; x < size; x++) {
        GLubyte *t = texels + (y * size + x) * 4;
        t[0] = GLubyte(x * 255 / 15 ^ (level * 40));
        t[1] = GLubyte(y * 255 / 15 ^ (level * 90));
        t[2] = GLubyte(((x ^ y) & 7) * 36);
        t[3] = GLubyte(((x + 2 * y) * 11 + level * 60) & 0xFF);
      }
    glTexImage2D(GL_TEXTURE_2D, level, GLint(internal), size, size, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 texels);
    if (!mipmaps) break;
  }
}

void Quad(float x0, float y0, float x1, float y1, float s0, float t0, float s1, float t1,
          float z) {
  glBegin(GL_QUADS);
  glColor4f(0.9f, 0.6f, 0.3f, 0.7f);
  glTexCoord2f(s0, t0);
  glVertex3f(x0, y0, z);
  glColor4f(0.3f, 0.9f, 0.6f, 0.9f);
  glTexCoord2f(s1, t0);
  glVertex3f(x1, y0, z);
  glColor4f(0.6f, 0.3f, 0.9f, 0.5f);
  glTexCoord2f(s1, t1);
  glVertex3f(x1, y1, z);
  glColor4f(1, 1, 1, 1);
  glTexCoord2f(s0, t1);
  glVertex3f(x0, y1, z);
  glEnd();
}

// Where no room is left the texture's levels go to the non-local pool, or
// nowhere when it has none. Harmless where no device uses video memory.
void TakeAwayTextureRoom(bool nonLocal) {
  PlatformSetNonLocalVideoMemorySize(nonLocal ? 4u << 20 : 0);
  FillLocalVideoMemory();
}

void Texture(const StateRow &row, int32_t w, int32_t h) {
  const uint32_t variant = row.c & 0xFF;
  Begin(w, h, (row.c & kBlackClear) != 0);
  if ((row.c & kNonLocal) || g_room == TextureRoom::kNone)
    TakeAwayTextureRoom((row.c & kNonLocal) != 0);
  glShadeModel(GL_SMOOTH);
  const GLfloat envColour[4] = {0.2f, 0.7f, 0.4f, 0.6f};
  glTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, envColour);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GLint(row.b));
  const bool mipmaps = variant >= kMipmap;
  LoadLevels(row.a, mipmaps);
  GLenum minFilter = GL_LINEAR, magFilter = GL_LINEAR, wrap = GL_REPEAT;
  if (variant == kNearestOneToOne) minFilter = magFilter = GL_NEAREST;
  if (variant == kClamp) wrap = GL_CLAMP;
  if (mipmaps) minFilter = kMipmapFilters[variant - kMipmap];
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GLint(minFilter));
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GLint(magFilter));
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GLint(wrap));
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GLint(wrap));
  glEnable(GL_TEXTURE_2D);
  switch (variant) {
    case kNearestOneToOne:  // texel centres on pixel centres
      Quad(4, 4, 20, 20, 0, 0, 1, 1, -0.5f);
      Quad(22, 12, 38, 28, 0, 0, 1, 1, -0.5f);
      break;
    case kLinear:
      Quad(2.3f, 1.6f, 37.8f, 30.1f, 0.1f, 0.05f, 0.9f, 0.8f, -0.5f);
      break;
    case kRepeat:
    case kClamp:
      Quad(2.3f, 1.6f, 37.8f, 30.1f, -0.7f, -0.4f, 1.8f, 1.6f, -0.5f);
      break;
    default: {  // a floor running away from the eye
      glHint(GL_PERSPECTIVE_CORRECTION_HINT, variant == kAffine ? GL_FASTEST : GL_NICEST);
      glMatrixMode(GL_PROJECTION);
      glLoadIdentity();
      glFrustum(-1, 1, -0.8, 0.8, 1, 20);
      glMatrixMode(GL_MODELVIEW);
      const float repeat = mipmaps ? 6.0f : 1.0f;
      glBegin(GL_QUADS);
      glColor3f(1, 1, 1);
      glTexCoord2f(0, 0);
      glVertex3f(-1.6f, -0.7f, -1.2f);
      glTexCoord2f(repeat, 0);
      glVertex3f(1.7f, -0.75f, -1.3f);
      glColor3f(0.7f, 0.8f, 0.9f);
      glTexCoord2f(repeat, repeat);
      glVertex3f(1.5f, 0.3f, -15.0f);
      glTexCoord2f(0, repeat);
      glVertex3f(-1.4f, 0.35f, -14.0f);
      glEnd();
    }
  }
}

struct Named {
  const char *name;
  GLenum value;
};

const Named kDepthFunctions[] = {{"never", GL_NEVER},   {"less", GL_LESS},
                                 {"equal", GL_EQUAL},   {"lequal", GL_LEQUAL},
                                 {"greater", GL_GREATER}, {"notequal", GL_NOTEQUAL},
                                 {"gequal", GL_GEQUAL}, {"always", GL_ALWAYS}};

const Named kLogicOps[] = {
    {"clear", GL_CLEAR},       {"and", GL_AND},           {"and_reverse", GL_AND_REVERSE},
    {"copy", GL_COPY},         {"and_inverted", GL_AND_INVERTED}, {"noop", GL_NOOP},
    {"xor", GL_XOR},           {"or", GL_OR},             {"nor", GL_NOR},
    {"equiv", GL_EQUIV},       {"invert", GL_INVERT},     {"or_reverse", GL_OR_REVERSE},
    {"copy_inverted", GL_COPY_INVERTED}, {"or_inverted", GL_OR_INVERTED},
    {"nand", GL_NAND},         {"set", GL_SET}};

struct BlendPair {
  const char *name;
  GLenum source, destination;
};
const BlendPair kBlendPairs[] = {
    {"one_zero", GL_ONE, GL_ZERO},
    {"srcalpha_invsrcalpha", GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA},
    {"one_one", GL_ONE, GL_ONE},
    {"saturate_one", GL_SRC_ALPHA_SATURATE, GL_ONE},
    {"zero_srccolour", GL_ZERO, GL_SRC_COLOR},
    {"dstcolour_zero", GL_DST_COLOR, GL_ZERO},
    {"invdstcolour_invsrccolour", GL_ONE_MINUS_DST_COLOR, GL_ONE_MINUS_SRC_COLOR},
    {"srcalpha_one", GL_SRC_ALPHA, GL_ONE},
};

// The base formats the lookup stores, and sized ones it keeps in the
// chip's 16-bit texel formats.
const Named kTextureFormats[] = {
    {"alpha", GL_ALPHA},         {"luminance", GL_LUMINANCE},
    {"luminance_alpha", GL_LUMINANCE_ALPHA}, {"intensity", GL_INTENSITY},
    {"rgb", GL_RGB},             {"rgba", GL_RGBA},
};

const Named kEnvironments[] = {
    {"modulate", GL_MODULATE}, {"decal", GL_DECAL}, {"replace", GL_REPLACE}, {"blend", GL_BLEND}};

// The environments the chip takes for a format (the others stay in
// software and prove nothing here): GL_BLEND only with alpha textures,
// GL_DECAL only where it is defined.
bool ChipTakes(GLenum format, GLenum env) {
  if (env == GL_BLEND) return format == GL_ALPHA;
  if (env == GL_DECAL) return format == GL_RGB || format == GL_RGBA;
  return true;
}

std::vector<StateRow> Generate() {
  std::vector<StateRow> t;
  t.push_back({"flat", kTriangles, false, Shading, GL_FLAT, 0, 0, false});
  t.push_back({"smooth", kTriangles, false, Shading, GL_SMOOTH, 0, 0, false});
  for (const Named &f : kDepthFunctions)
    for (int mask = 1; mask >= 0; mask--)
      t.push_back({std::string("depth_") + f.name + (mask ? "" : "_nowrite"), kTriangles, true,
                   Depth, f.value, uint32_t(mask), 0, false});
  for (const BlendPair &p : kBlendPairs)
    t.push_back({std::string("blend_") + p.name, kTriangles, false, Blend, p.source,
                 p.destination, 0, false});
  for (const Named &f : kDepthFunctions)
    t.push_back({std::string("alpha_") + f.name, kTriangles, false, AlphaTest, f.value, 0, 0, false});
  for (const Named &op : kLogicOps)
    t.push_back({std::string("logic_") + op.name, kTriangles, false, LogicOp, op.value, 0, 0, false});
  t.push_back({"dither_on", kTriangles, false, Dither, 1, 0, 0, false});
  t.push_back({"dither_off", kTriangles, false, Dither, 0, 0, 0, false});
  for (GLenum mode : {GL_LINEAR, GL_EXP})
    for (GLenum shade : {GL_FLAT, GL_SMOOTH})
      t.push_back({std::string("fog_") + (mode == GL_LINEAR ? "linear" : "exp") +
                       (shade == GL_FLAT ? "_flat" : "_smooth"),
                   kTriangles, false, Fog, mode, shade, 0, false});
  for (int stipple = 0; stipple < 2; stipple++)
    for (int smooth = 0; smooth < 2; smooth++)
      for (int downward = 0; downward < 2; downward++)
        t.push_back({std::string("lines") + (stipple ? "_stippled" : "") +
                         (smooth ? "_smooth" : "_flat") + (downward ? "_downward" : "_octants"),
                     kLines, false, Lines, uint32_t(stipple), uint32_t(smooth),
                     uint32_t(downward), false});
  t.push_back({"points", kPoints, false, Points, 0, 0, 0, false});
  // The front buffer under an overlapping window: what stays in software
  // there must keep off the other window, so no kind is required.
  t.push_back({"front_smooth", 0, false, Shading, GL_SMOOTH, 0, 0, true});
  t.push_back({"front_lines", 0, false, Lines, 0, 1, 1, true});
  t.push_back({"front_points", 0, false, Points, 0, 0, 0, true});
  const struct {
    const char *name;
    uint32_t mask, scissor;
  } clears[] = {{"colour", GL_COLOR_BUFFER_BIT, 0},
                {"depth", GL_DEPTH_BUFFER_BIT, 0},
                {"colour_depth", GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT, 0},
                {"colour_depth_scissored", GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT, 1}};
  for (const auto &c : clears)
    t.push_back({std::string("clear_") + c.name, kFills | kTriangles, true, Clears, c.mask,
                 c.scissor, 0, false});
  // Every format under every environment the chip takes, at 1:1 nearest and
  // filtered linearly; the sampling variants with two formats.
  for (const Named &f : kTextureFormats)
    for (const Named &e : kEnvironments) {
      if (!ChipTakes(f.value, e.value)) continue;
      for (uint32_t v : {uint32_t(kNearestOneToOne), uint32_t(kLinear)})
        t.push_back({std::string("texture_") + f.name + "_" + e.name +
                         (v == kNearestOneToOne ? "_nearest_1to1" : "_linear"),
                     kTriangles, false, Texture, f.value, e.value, v, false});
    }
  const struct {
    const char *name;
    uint32_t variant;
  } variants[] = {{"repeat", kRepeat},
                  {"clamp", kClamp},
                  {"perspective", kPerspective},
                  {"affine", kAffine},
                  {"mipmap_nearest_nearest", kMipmap + 0},
                  {"mipmap_linear_nearest", kMipmap + 1},
                  {"mipmap_nearest_linear", kMipmap + 2},
                  {"mipmap_linear_linear", kMipmap + 3},
                  {"nonlocal", kLinear | kNonLocal},
                  {"nonlocal_mipmap", (kMipmap + 3) | kNonLocal},
                  {"linear_black", kLinear | kBlackClear}};
  for (GLenum format : {GL_RGBA, GL_LUMINANCE})
    for (const auto &v : variants)
      t.push_back({std::string("texture_") + (format == GL_RGBA ? "rgba" : "luminance") +
                       "_modulate_" + v.name,
                   kTriangles, false, Texture, format, GL_MODULATE, v.variant, false});
  return t;
}

}  // namespace

void SetTextureRoom(TextureRoom room) { g_room = room; }

namespace {
LPDIRECTDRAW g_filler = nullptr;
}

void FillLocalVideoMemory() {
  if (g_filler == nullptr) {
    if (DirectDrawCreate(nullptr, &g_filler, nullptr) != DD_OK) return;
    g_filler->lpVtbl->SetCooperativeLevel(g_filler, nullptr, DDSCL_NORMAL);
  }
  // Large surfaces first, then ever smaller ones into what is left.
  const int kSizes[][2] = {{1024, 512}, {1024, 64}, {1024, 8}, {1024, 1}, {128, 1}, {16, 1}, {4, 1}};
  for (const auto &size : kSizes) {
    for (;;) {
      DDSURFACEDESC d = {};
      d.dwSize = sizeof d;
      d.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
      d.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_VIDEOMEMORY;
      d.dwWidth = DWORD(size[0]);
      d.dwHeight = DWORD(size[1]);
      LPDIRECTDRAWSURFACE surface = nullptr;
      if (g_filler->lpVtbl->CreateSurface(g_filler, &d, &surface, nullptr) != DD_OK) break;
    }
  }
}

void ReleaseVideoMemoryFiller() {
  // Releasing the object releases every surface made through it.
  if (g_filler) g_filler->lpVtbl->Release(g_filler);
  g_filler = nullptr;
}

bool IsNonLocal(const StateRow &row) { return row.draw == Texture && (row.c & kNonLocal); }

const std::vector<StateRow> &StateTable() {
  static const std::vector<StateRow> table = Generate();
  return table;
}

const StateRow *FindState(const std::string &name) {
  for (const StateRow &row : StateTable())
    if (row.name == name) return &row;
  return nullptr;
}

}  // namespace hwstates
