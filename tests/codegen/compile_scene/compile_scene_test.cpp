// Vertex-array and vertex-cache scenes drawn in one process per setting of
// the generated-code switches: each drawing process writes its images to
// the file VLX_SCENE_OUT, and the comparing process reads two such files
// and expects every pixel within one unit per channel. VLX_SCENE_ROAD says
// which compiles the drawing process must find in use.
#include <gtest/gtest.h>

#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "core/context.h"
#include "core/gl_api.h"
#include "geometry/s_varray_draw.h"
#include "geometry/s_varray_og.h"
#include "tests/raster/color/color_fixture.h"
#include "tests/raster/scene/scene_fixture.h"

namespace scene_test {
namespace {

struct Image {
  std::string name;
  uint32_t masks[4] = {};
  std::vector<uint32_t> pixels;
};

constexpr int kStrip = 80;

class CompileScene : public SceneTest {
 protected:
  std::vector<Image> images;
  std::vector<GLfloat> positions, normals, texcoords;
  std::vector<GLubyte> colors;

  void Snap(const std::string &name) {
    Image im;
    im.name = std::string(format.name) + ": " + name;
    if (format.rgba)
      memcpy(im.masks, format.masks, sizeof im.masks);
    else
      im.masks[0] = format.indexMask();
    for (int32_t y = 0; y < kHeight; ++y)
      for (int32_t x = 0; x < kWidth; ++x) im.pixels.push_back(colorMemory->Read(x, y));
    images.push_back(im);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << name;
  }

  void Clear() {
    glClearColor(0, 0, 0, 0);
    glClearIndex(0);
    glClearDepth(1.0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  }

  // A wavy band of kStrip vertices (a strip: pairs across the band), some
  // beyond the window's edges, in a perspective view.
  void Arrays() {
    positions.clear(), normals.clear(), colors.clear(), texcoords.clear();
    for (int i = 0; i < kStrip; i++) {
      const double u = -1.3 + 2.6 * (i / 2) / (kStrip / 2 - 1);
      const double v = i % 2 ? 0.5 : -0.6;
      const double z = -0.3 * sin(3 * u) + 0.2 * v;
      positions.insert(positions.end(), {GLfloat(u), GLfloat(v + 0.2 * sin(5 * u)), GLfloat(z)});
      const double nx = 0.9 * cos(3 * u), ny = -0.2, nz = 1.0;
      const double len = sqrt(nx * nx + ny * ny + nz * nz);
      normals.insert(normals.end(), {GLfloat(nx / len), GLfloat(ny / len), GLfloat(nz / len)});
      colors.insert(colors.end(), {GLubyte(i * 3), GLubyte(255 - i * 3), GLubyte(i * 7), 200});
    }
    glVertexPointer(3, GL_FLOAT, 0, positions.data());
    glNormalPointer(GL_FLOAT, 0, normals.data());
    glColorPointer(4, GL_UNSIGNED_BYTE, 0, colors.data());
    glEnableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_COLOR_ARRAY);
  }

  void View() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustum(-0.6, 0.6, -0.45, 0.45, 1.0, 5.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -2.0f);
    glRotatef(-20.0f, 1.0f, 0.0f, 0.0f);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glShadeModel(GL_SMOOTH);
  }

  void Light() {
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    const GLfloat dir[] = {0.3f, 0.5f, 1.0f, 0.0f}, white[] = {0.9f, 0.8f, 0.7f, 1.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, dir);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, white);
    glLightfv(GL_LIGHT0, GL_SPECULAR, white);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 16.0f);
    const GLfloat specular[] = {0.5f, 0.5f, 0.5f, 1.0f};
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, specular);
  }

  void ArrayScenes() {
    Arrays();
    View();
    if (format.rgba) {
      Clear();
      glEnableClientState(GL_COLOR_ARRAY);
      glDrawArrays(GL_TRIANGLE_STRIP, 0, kStrip);
      Snap("coloured strip");
      glDisableClientState(GL_COLOR_ARRAY);
    }

    Light();
    glEnableClientState(GL_NORMAL_ARRAY);
    Clear();
    glDrawArrays(GL_TRIANGLE_STRIP, 0, kStrip);
    Snap("lit strip");
    // Between two draws: the light made positional, then the local viewer.
    Clear();
    const GLfloat near[] = {0.2f, 0.6f, 1.0f, 1.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, near);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, kStrip);
    Snap("positional light");
    Clear();
    glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, GL_TRUE);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, kStrip);
    Snap("local viewer");
    glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, GL_FALSE);
    const GLfloat dir[] = {0.3f, 0.5f, 1.0f, 0.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, dir);

    // A locked range from element 6, drawn as a strip and as a list.
    Clear();
    glLockArraysVLX(6, 60);
    glDrawArrays(GL_TRIANGLE_STRIP, 6, 60);
    std::vector<GLuint> list;
    for (GLuint i = 6; i + 3 < 66; i += 3) list.insert(list.end(), {i, i + 3, i + 1});
    glTranslatef(0.0f, 0.2f, 0.1f);
    glDrawElements(GL_TRIANGLES, GLsizei(list.size()), GL_UNSIGNED_INT, list.data());
    glUnlockArraysVLX();
    Snap("locked range");

    // Element lists, two user planes, the cull-vertex test and face culling.
    Clear();
    const GLdouble p0[] = {1, 0.3, 0, 0.9}, p1[] = {-0.2, 1, 0, 0.35};
    glClipPlane(GL_CLIP_PLANE0, p0);
    glClipPlane(GL_CLIP_PLANE1, p1);
    glEnable(GL_CLIP_PLANE0);
    glEnable(GL_CLIP_PLANE1);
    std::vector<GLushort> tris;
    for (GLushort i = 0; i + 3 < kStrip; i += 2) tris.insert(tris.end(), {i, GLushort(i + 1), GLushort(i + 2)});
    glDrawElements(GL_TRIANGLES, GLsizei(tris.size()), GL_UNSIGNED_SHORT, tris.data());
    glDisable(GL_CLIP_PLANE0);
    glDisable(GL_CLIP_PLANE1);
    Snap("user planes");
    // The band winds clockwise: seen as front faces here, so that the
    // cull-vertex test takes the vertices whose normals turn away.
    Clear();
    View();
    glFrontFace(GL_CW);
    glEnable(GL_CULL_VERTEX_VLX);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glRotatef(50.0f, 0.0f, 1.0f, 0.0f);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, kStrip);
    glDrawElements(GL_TRIANGLES, GLsizei(tris.size()), GL_UNSIGNED_SHORT, tris.data());
    glDisable(GL_CULL_VERTEX_VLX);
    glDisable(GL_CULL_FACE);
    glFrontFace(GL_CCW);
    Snap("culled");
    glDisable(GL_LIGHTING);
    glDisableClientState(GL_NORMAL_ARRAY);
  }

  // The same band through glBegin / glEnd: the vertex cache.
  void CacheScenes() {
    Arrays();
    View();
    Light();
    Clear();
    glBegin(GL_TRIANGLE_STRIP);
    for (int i = 0; i < kStrip; i++) {
      glNormal3fv(&normals[size_t(3 * i)]);
      glVertex3fv(&positions[size_t(3 * i)]);
    }
    glEnd();
    Snap("cached lit strip");
    glDisable(GL_LIGHTING);
    Clear();
    glBegin(GL_TRIANGLES);
    for (int i = 0; i + 2 < kStrip; i++) {
      for (int k = 0; k < 3; k++) {
        const int e = i + k;
        if (format.rgba)
          glColor4ubv(&colors[size_t(4 * e)]);
        else
          glIndexi(e % 200);
        const GLfloat *p = &positions[size_t(3 * e)];
        if (e % 3 == 0)
          glVertex2f(p[0], p[1]);
        else if (e % 3 == 1)
          glVertex4f(p[0] * 1.5f, p[1] * 1.5f, p[2] * 1.5f, 1.5f);
        else
          glVertex3fv(p);
      }
    }
    glEnd();
    Snap("cached triangles");
  }

  void CheckRoad() {
    const char *road = getenv("VLX_SCENE_ROAD");
    ASSERT_NE(road, nullptr);
    const GlVertexArrayMachine &va = gc->vertexArray;
    const bool generated = strcmp(road, "generated") == 0;
    const bool c = strcmp(road, "c") == 0;
    if (generated) {
      EXPECT_NE(va.generatedCompile, nullptr) << "the generated compile ran";
      EXPECT_EQ(va.compileProc, CompileElementsVarrayWrapper);
    } else {
      EXPECT_NE(va.compileProc, CompileElementsVarrayWrapper);
    }
    const bool stripGenerated = va.drawVertexes[GL_TRIANGLE_STRIP] != __glDrawVertexes_Tstrip;
    EXPECT_EQ(stripGenerated, !c);
  }
};

void Write(const std::vector<Image> &images, const char *path) {
  FILE *f = fopen(path, "wb");
  ASSERT_NE(f, nullptr) << path;
  for (const Image &im : images) {
    const uint32_t n = uint32_t(im.name.size()), count = uint32_t(im.pixels.size());
    fwrite(&n, 4, 1, f);
    fwrite(im.name.data(), 1, n, f);
    fwrite(im.masks, 4, 4, f);
    fwrite(&count, 4, 1, f);
    fwrite(im.pixels.data(), 4, count, f);
  }
  fclose(f);
}

std::vector<Image> Read(const char *path) {
  std::vector<Image> out;
  FILE *f = fopen(path, "rb");
  if (!f) return out;
  uint32_t n;
  while (fread(&n, 4, 1, f) == 1 && n < 1000) {
    Image im;
    im.name.resize(n);
    uint32_t count = 0;
    if (fread(&im.name[0], 1, n, f) != n || fread(im.masks, 4, 4, f) != 4 ||
        fread(&count, 4, 1, f) != 1 || count > 1u << 20)
      break;
    im.pixels.resize(count);
    if (fread(im.pixels.data(), 4, count, f) != count) break;
    out.push_back(im);
  }
  fclose(f);
  return out;
}

TEST_F(CompileScene, Draw) {
  const char *out = getenv("VLX_SCENE_OUT");
  if (!out) GTEST_SKIP() << "drawn only by the scene processes";
  for (const ColorFormat *f : {&kRgbFormats[2], &kRgbFormats[6], &kIndexFormats[0]}) {
    if (!Open(*f)) return;
    ArrayScenes();
    CacheScenes();
    CheckRoad();
    Close();
  }
  Write(images, out);
}

// Equal, or within one unit in every channel (or index).
bool Near(const Image &im, uint32_t a, uint32_t b) {
  if (a == b) return true;
  for (uint32_t mask : im.masks) {
    if (mask == 0) continue;
    const uint32_t low = mask & (~mask + 1);
    const int64_t d = int64_t((a & mask) / low) - int64_t((b & mask) / low);
    if (d > 1 || d < -1) return false;
  }
  return true;
}

TEST(CompileSceneImages, AreTheSameOnEveryRoad) {
  const char *a = getenv("VLX_SCENE_A"), *b = getenv("VLX_SCENE_B");
  if (!a || !b) GTEST_SKIP() << "compared only by the comparing process";
  const std::vector<Image> x = Read(a), y = Read(b);
  ASSERT_FALSE(x.empty()) << a;
  ASSERT_EQ(x.size(), y.size());
  for (size_t i = 0; i < x.size(); i++) {
    SCOPED_TRACE(x[i].name);
    ASSERT_EQ(x[i].name, y[i].name);
    ASSERT_EQ(x[i].pixels.size(), y[i].pixels.size());
    int differ = 0, first = -1, lit = 0;
    for (size_t p = 0; p < x[i].pixels.size(); p++) {
      lit += x[i].pixels[p] != 0;
      if (!Near(x[i], x[i].pixels[p], y[i].pixels[p])) differ++, first = first < 0 ? int(p) : first;
    }
    EXPECT_GT(lit, 200) << "the scene draws something";
    EXPECT_EQ(differ, 0) << "first at x " << first % kWidth << ", y " << first / kWidth << ": "
                         << std::hex << (first < 0 ? 0 : x[i].pixels[size_t(first)]) << " / "
                         << (first < 0 ? 0 : y[i].pixels[size_t(first)]);
  }
}

}  // namespace
}  // namespace scene_test
